#include "readings_window/day_plot_layout.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QLocale>

#include <algorithm>

#include "readings/angle_text.h"
#include "series/next_reading.h"

namespace rd = kestramo::series;

namespace day_plot_layout {
namespace {

QString tr(const char* text) { return QCoreApplication::translate("DayPlot", text); }

std::vector<LegendEntry> Entries(const std::vector<rd::DayPlan>& plans) {
    const double longest = plans.empty() ? 4 : plans.front().longestShadow;
    const QString low = angle_text::Degrees(rd::kMinimumAltitude, 0, QLocale());
    std::vector<LegendEntry> entries = {
        {Swatch::Lit,
         false,
         plans.size() > 1 ? tr("sun on the face of the %1 wall, at least %2 high")
                                .arg(angle_text::Declination(plans.front().wall), low)
                          : tr("sun on the face, at least %1 high").arg(low),
         {}},
        {Swatch::Best, false, tr("the best stretch"), {}},
        {Swatch::TooLow, false, tr("sun on the face, under %1 high").arg(low), {}},
        {Swatch::TooLong,
         false,
         tr("shadow longer than you can measure (%1 square heights)")
             .arg(QLocale().toString(longest, 'g', 3)),
         {}},
        {Swatch::Dark, false, tr("sun behind the wall or down"), {}},
    };
    for (std::size_t i = 0; i < plans.size(); ++i) {
        const bool several = plans.size() > 1;
        const QString wall = angle_text::Declination(plans[i].wall);
        entries.push_back(
            {Swatch::Uncertainty,
             i > 0,
             several ? tr("uncertainty with a reading then, if the wall faces %1").arg(wall)
                     : tr("the wall's uncertainty with a reading then"),
             {}});
        entries.push_back(
            {Swatch::Shadow,
             i > 0,
             several ? tr("shadow, if the wall faces %1").arg(wall) : tr("the shadow's length"),
             {}});
    }
    return entries;
}

}  // namespace

Swatch ShadeOf(const rd::PlanSample& sample) {
    if (sample.inBestWindow) return Swatch::Best;
    if (!sample.sunOnFace) return Swatch::Dark;
    if (!sample.highEnough) return Swatch::TooLow;
    if (sample.tooLong) return Swatch::TooLong;
    return Swatch::Lit;
}

double SampleWidth(const QFontMetricsF& metrics) { return metrics.height() * 1.8; }

Layout LayOut(const QRectF& area, const std::vector<rd::DayPlan>& plans,
              const QFontMetricsF& metrics, const QString& clock) {
    Layout layout;
    const double row = metrics.height();
    const double gap = row * 0.4;
    layout.timeText = clock.isEmpty() ? tr("Clock time") : tr("Clock time (%1)").arg(clock);
    layout.uncertaintyText = tr("Wall's uncertainty then (\u00b0)");
    layout.shadowText = tr("Shadow (square heights)");

    // The legend flows in rows along the bottom, each entry as wide as its text; one wider than
    // the picture wraps.
    layout.legend = Entries(plans);
    const double sample = SampleWidth(metrics);
    double x = area.left();
    double y = 0;
    double rowHeight = row;
    std::vector<QPointF> places;
    for (LegendEntry& entry : layout.legend) {
        const double room = area.width() - sample - row / 3;
        const double textWidth = std::min(room, metrics.horizontalAdvance(entry.text) + 2);
        const double height = std::max(
            row, metrics.boundingRect(QRectF(0, 0, textWidth, 1e6), Qt::TextWordWrap, entry.text)
                     .height());
        const double width = sample + row / 3 + textWidth;
        if (x > area.left() && x + width > area.right()) {
            x = area.left();
            y += rowHeight;
            rowHeight = row;
        }
        places.push_back(QPointF(x - area.left(), y));
        entry.rect = QRectF(0, 0, width, height);
        rowHeight = std::max(rowHeight, height);
        x += width + row;
    }
    const double legendHeight = y + rowHeight;
    layout.legendArea =
        QRectF(area.left(), area.bottom() - legendHeight, area.width(), legendHeight);
    for (std::size_t i = 0; i < layout.legend.size(); ++i) {
        layout.legend[i].rect.moveTopLeft(layout.legendArea.topLeft() + places[i]);
    }

    const double leftLabels = metrics.horizontalAdvance(QStringLiteral("0.00\u00b0"));
    const double rightLabels = metrics.horizontalAdvance(QStringLiteral("0.00"));
    const double bottom = layout.legendArea.top() - gap;
    layout.timeTitle = QRectF(area.left(), bottom - row, area.width(), row);
    layout.plot = QRectF(QPointF(area.left() + row + gap + leftLabels + gap, area.top() + row / 2),
                         QPointF(area.right() - row - gap - rightLabels - gap,
                                 layout.timeTitle.top() - row - gap / 2));
    layout.uncertaintyTitle = QRectF(area.left(), layout.plot.top(), row, layout.plot.height());
    layout.shadowTitle = QRectF(area.right() - row, layout.plot.top(), row, layout.plot.height());
    return layout;
}

}  // namespace day_plot_layout
