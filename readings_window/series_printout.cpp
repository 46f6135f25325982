#include "readings_window/series_printout.h"

#include <QDate>
#include <QFontMetricsF>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRegularExpression>

#include <algorithm>

#include "product/product.h"
#include "readings/angle_text.h"
#include "readings/series_words.h"
#include "readings/wall_conventions.h"
#include "readings_window/day_plot_painter.h"
#include "readings_window/dial_printout.h"
#include "readings_window/plan_view_painter.h"
#include "readings_window/readings_list.h"
#include "readings_window/readings_table_model.h"
#include "series/plan_view.h"

namespace rd = kestramo::series;

namespace {

// The columns the printout keeps: the window's, less the check box, which prints as the
// reading's number; the kind and its values only when some reading is not a square's.
std::vector<int> PrintedColumns(const ReadingsList& list) {
    using M = ReadingsTableModel;
    const bool squaresOnly = !list.holdsOtherKinds();
    std::vector<int> columns;
    for (int column = M::Use; column < M::ColumnCount; ++column) {
        if (squaresOnly && (column == M::Kind || column == M::Values)) continue;
        columns.push_back(column);
    }
    return columns;
}

QFont Face(double points, bool bold = false) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// Draws wrapped text at the top of `area` and returns the height used.
double DrawParagraph(QPainter& painter, const QRectF& area, const QString& text,
                     const QFont& font) {
    if (text.isEmpty()) return 0;
    painter.setFont(font);
    const QRectF used = painter.boundingRect(area, Qt::TextWordWrap, text);
    painter.drawText(area, Qt::TextWordWrap, text);
    return used.height();
}

// Labelled values in one paragraph: "Label: value; label: value."
QString Joined(const std::vector<std::pair<QString, QString>>& rows) {
    QStringList parts;
    for (const auto& [label, value] : rows) parts << label + QStringLiteral(": ") + value;
    return parts.join(QStringLiteral("; ")) + QLatin1Char('.');
}

}  // namespace

bool PrintSeries(QPagedPaintDevice& device, const ReadingsList& list,
                 const ReadingsTableModel& model, const std::vector<rd::DayPlan>& plans,
                 const QString& bestTime) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const QRectF page(0, 0, device.width(), device.height());
    const double scale = device.logicalDpiY() / 72.0;  // device units per point
    const double gap = 6 * scale;
    double y = page.top();

    const rd::SeriesResult& result = list.series().result;
    y += DrawParagraph(painter, page.adjusted(0, y, 0, 0),
                       QObject::tr("%1 \u2013 wall declination from the readings of a series")
                           .arg(QLatin1String(product::kName)),
                       Face(16, true)) +
         gap;
    y += DrawParagraph(painter, page.adjusted(0, y, 0, 0), series_words::Answer(result),
                       Face(13, true)) +
         gap / 2;
    const QString lean = series_words::LeanBrief(result, list.tolerances());
    QStringList notes{series_words::Lean(result, list.tolerances()),
                      series_words::Agreement(result),
                      series_words::Advice(result, list.series().geometry, list.tolerances())};
    if (result.decided()) {
        notes << QObject::tr("In the conventions of dial programs: %1")
                     .arg(Joined(wall_conventions::Conventions(*result.declination, result.lean)));
    }
    notes << series_words::TolerancesText(list.tolerances());
    y +=
        DrawParagraph(painter, page.adjusted(0, y, 0, 0),
                      notes.filter(QRegularExpression(QStringLiteral("."))).join(u'\n'), Face(10)) +
        gap;

    // The plan view, the day's plot and the dial's face side by side; the plot's legend and the
    // pictures' keys are part of each.
    const std::optional<kestramo::dial::DialLayout> dial =
        wall_conventions::DialFor(result, list.readings());
    const double pictureHeight = std::min(page.height() * (dial ? 0.27 : 0.36), page.width() * 0.5);
    const double planWidth = page.width() * 0.4;
    const double dayWidth = page.width() * 0.57;
    const QRectF plan(page.left(), y, planWidth, pictureHeight);
    const QRectF day(plan.right() + gap * 2, y, dayWidth, pictureHeight * 0.85);
    painter.setFont(Face(7));
    PaintPlanView(painter, plan, rd::MakePlanView(list.series().geometry, result), lean);
    const int latest = list.latestRow();
    PaintDayPlot(painter, day, plans,
                 latest >= 0 ? series_words::ClockName(list.reading(latest)) : QString());
    DrawParagraph(painter, QRectF(day.left(), day.bottom() + gap / 2, day.width(), pictureHeight),
                  bestTime, Face(9));
    y += pictureHeight + gap * 2;
    if (dial) y += PrintDial(painter, page.adjusted(0, y, 0, 0), scale, *dial) + gap;

    // The table: a column as wide as its widest text, all scaled down together to fit the page.
    QFont cellFont = Face(7);
    QFont headFont = Face(7, true);
    const QFontMetricsF metrics(cellFont, &device);
    const QFontMetricsF headMetrics(headFont, &device);
    std::vector<double> widths;
    const std::vector<int> columns = PrintedColumns(list);
    for (int column : columns) {
        double width =
            headMetrics.horizontalAdvance(model.headerData(column, Qt::Horizontal).toString());
        for (int row = 0; row < list.size(); ++row) {
            width = std::max(width, metrics.horizontalAdvance(model.cellText(row, column)));
        }
        widths.push_back(width + metrics.averageCharWidth() * 1.5);
    }
    double total = 0;
    for (double width : widths) total += width;
    // A table wider than the page is set in a smaller type, its columns narrower alike.
    const double shrink = std::min(1.0, page.width() / total);
    cellFont.setPointSizeF(cellFont.pointSizeF() * shrink);
    headFont.setPointSizeF(headFont.pointSizeF() * shrink);
    const double rowHeight = metrics.height() * 1.25;

    auto drawRow = [&](double top, auto textOf, const QFont& font) {
        painter.setFont(font);
        double x = page.left();
        for (size_t index = 0; index < widths.size(); ++index) {
            const double width = widths[index] * shrink;
            painter.drawText(QRectF(x, top, width, rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                             textOf(columns[index]));
            x += width;
        }
    };
    auto drawHeader = [&] {
        drawRow(
            y, [&](int column) { return model.headerData(column, Qt::Horizontal).toString(); },
            headFont);
        y += rowHeight;
        painter.drawLine(QPointF(page.left(), y), QPointF(page.right(), y));
    };
    drawHeader();
    for (int row = 0; row < list.size(); ++row) {
        if (y + rowHeight > page.bottom()) {
            if (!device.newPage()) return false;
            y = page.top();
            drawHeader();
        }
        drawRow(
            y, [&](int column) { return model.cellText(row, column); }, cellFont);
        y += rowHeight;
    }
    const QString footer = QObject::tr("Printed %1 by %2")
                               .arg(QLocale().toString(QDate::currentDate(), QLocale::LongFormat),
                                    QLatin1String(product::kName));
    DrawParagraph(painter,
                  QRectF(page.left(), std::min(y + gap, page.bottom() - rowHeight * 2),
                         page.width(), rowHeight * 2),
                  footer, Face(7));
    return painter.end();
}
