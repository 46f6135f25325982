#include "report/paper_size.h"

#include <algorithm>
#include <iterator>

namespace report {

QPageSize::PageSizeId PaperFor(const QLocale& locale) {
    // The countries CLDR lists as using US Letter.
    static constexpr QLocale::Territory kLetterTerritories[] = {
        QLocale::Belize,       QLocale::Canada,     QLocale::Chile,       QLocale::Colombia,
        QLocale::CostaRica,    QLocale::ElSalvador, QLocale::Guatemala,   QLocale::Mexico,
        QLocale::Nicaragua,    QLocale::Panama,     QLocale::Philippines, QLocale::PuertoRico,
        QLocale::UnitedStates, QLocale::Venezuela,
    };
    const bool letter = std::find(std::begin(kLetterTerritories), std::end(kLetterTerritories),
                                  locale.territory()) != std::end(kLetterTerritories);
    return letter ? QPageSize::Letter : QPageSize::A4;
}

}  // namespace report
