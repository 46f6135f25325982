// Any text in any of the fuzzed locales, read as a date box and as a time box reads it: what
// is accepted is a finite serial that
// the long date and the date-time texts can write, without "nan" or "inf" in them.

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/fuzz_support.h"
#include "text/text_conversions.h"

namespace tc = text_conversions;
namespace fs = fuzz_support;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const QLocale locale = fs::LocaleFor(data[0]);
    const QString text = fs::TextOf(data + 1, size - 1);

    for (const std::optional<tc::Serial> serial :
         {tc::ParseDateTime(text, locale), tc::ParseClockTime(text, locale)}) {
        if (!serial) continue;
        if (!std::isfinite(*serial)) {
            fs::Fail("accepted date is not finite", text, QString::number(*serial));
        }
        for (const QString& written :
             {tc::LongDateText(*serial, locale), tc::DateTimeText(*serial, locale)}) {
            if (written.isEmpty() || fs::HoldsNanOrInf(written)) {
                fs::Fail("accepted date is written badly", text, written);
            }
        }
    }
    return 0;
}
