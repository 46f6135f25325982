#include "report/report.h"

#include <QRegularExpression>
#include <QStringList>

#include <cmath>

#include "product/product.h"
#include "text/text_conversions.h"

namespace report {

namespace {

constexpr double kHeadingSize = 16;  // points
constexpr double kBodySize = 11;     // points
// Asked for by this name; fontconfig gives its metric twin where Arial itself is missing.
const QString kFace = QStringLiteral("Arial");
const QString kLineBreak = QStringLiteral("\r\n");

// Lays out items the way a line printer takes them: an item either stays on the current line
// or ends it, and a line break inside an item starts a new line. A line is printed in the font
// that was set when its first item arrived.
class LineWriter {
  public:
    void setFont(const QString& family, double pointSize) {
        family_ = family;
        pointSize_ = pointSize;
    }

    void print(const QString& item) { append(item); }

    void printLine(const QString& item) {
        append(item);
        endLine();
    }

    Report finish() && { return std::move(report_); }

  private:
    void append(const QString& item) {
        // Results carry CR LF; a lone CR or LF is taken as a break too rather than printed.
        static const QRegularExpression kBreak(QStringLiteral("\r\n|\r|\n"));
        const QStringList pieces = item.split(kBreak);
        for (qsizetype index = 0; index < pieces.size(); ++index) {
            if (index > 0) endLine();
            if (!open_) {
                report_.lines.append({family_, pointSize_, QString()});
                open_ = true;
            }
            report_.lines.last().text += pieces[index];
        }
    }

    void endLine() {
        if (!open_) report_.lines.append({family_, pointSize_, QString()});
        open_ = false;
    }

    Report report_;
    QString family_;
    double pointSize_ = 0;
    bool open_ = false;  // the last line may still take items
};

}  // namespace

QString Report::plainText() const {
    QStringList texts;
    for (const Line& line : lines) texts.append(line.text);
    return texts.join(QLatin1Char('\n'));
}

Report Build(const Inputs& inputs, const QLocale& locale) {
    namespace tc = text_conversions;
    LineWriter page;

    page.setFont(kFace, kHeadingSize);
    page.printLine(QLatin1String(product::kName) + kLineBreak + QLatin1String(product::kMaker) +
                   QStringLiteral(", ") + QLatin1String(product::kMakerAddress) + kLineBreak);

    page.setFont(kFace, kBodySize);
    page.print(QStringLiteral("Latitude ") + tc::NumberText(std::fabs(inputs.latitude), locale) +
               (inputs.latitude >= 0 ? QStringLiteral(" North, ") : QStringLiteral(" South, ")));
    page.print(QStringLiteral("Longitude ") + tc::NumberText(std::fabs(inputs.longitude), locale) +
               (inputs.west ? QStringLiteral(" West, ") : QStringLiteral(" East, ")));
    page.print(tc::DateTimeText(inputs.clockTime, locale));
    page.printLine(inputs.standard ? QStringLiteral(" Standard Time")
                                   : QStringLiteral(", Daylight Savings Time"));
    page.printLine(QStringLiteral("Height of square = ") + inputs.heightText +
                   QStringLiteral(", Length of Shadow = ") + inputs.lengthText +
                   QStringLiteral("."));
    page.printLine(kLineBreak + inputs.result);

    return std::move(page).finish();
}

}  // namespace report
