#include "readings_window/day_plot_painter.h"

#include <QCoreApplication>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "engine/serial_time.h"

namespace rd = kestramo::series;

namespace {

const QColor kLit(0xff, 0xf4, 0xc8);
const QColor kBest(0xc8, 0xee, 0xc8);
const QColor kUncertainty(0x1f, 0x4e, 0xa0);
const QColor kShadow(0x90, 0x90, 0x90);

// A scale that ends on a round number of degrees above the largest value worth showing.
double UncertaintyScale(const std::vector<rd::DayPlan>& plans) {
    double least = INFINITY;
    for (const rd::DayPlan& plan : plans) {
        for (const rd::PlanSample& sample : plan.samples) {
            if (sample.practical && std::isfinite(sample.uncertainty)) {
                least = std::min(least, sample.uncertainty);
            }
        }
    }
    if (!std::isfinite(least)) return 1;
    const double top = std::max(0.5, least * 4);
    return std::ceil(top * 2) / 2;
}

}  // namespace

void PaintDayPlot(QPainter& painter, const QRectF& area, const std::vector<rd::DayPlan>& plans) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(painter.font());
    const double margin = metrics.height() * 0.4;
    const QRectF plot = area.adjusted(
        metrics.horizontalAdvance(QStringLiteral("0.00\u00b0")) + margin, margin,
        -metrics.horizontalAdvance(QStringLiteral("4H")) - margin, -metrics.height() - margin);
    const double scale = UncertaintyScale(plans);
    const double longest = plans.empty() ? 4 : plans.front().longestShadow;
    auto x = [&](double seconds) {
        return plot.left() + plot.width() * seconds / kestramo::kSecondsPerDay;
    };
    auto yUncertainty = [&](double degrees) {
        return plot.bottom() - plot.height() * std::min(degrees, scale) / scale;
    };
    auto yShadow = [&](double heights) {
        return plot.bottom() - plot.height() * std::min(heights, longest) / longest;
    };

    if (!plans.empty()) {
        // Runs of samples alike, each filled as one band so that no seams show between them.
        const rd::DayPlan& plan = plans.front();
        const double step = plan.samples.size() > 1
                                ? plan.samples[1].clockSeconds - plan.samples[0].clockSeconds
                                : 300;
        auto shade = [](const rd::PlanSample& sample) {
            if (sample.inBestWindow) return kBest;
            if (sample.sunOnFace && sample.highEnough) return kLit;
            return QColor(Qt::transparent);
        };
        painter.setRenderHint(QPainter::Antialiasing, false);
        size_t start = 0;
        for (size_t index = 1; index <= plan.samples.size(); ++index) {
            if (index < plan.samples.size() &&
                shade(plan.samples[index]) == shade(plan.samples[start])) {
                continue;
            }
            const double from = std::max(0.0, plan.samples[start].clockSeconds - step / 2);
            const double to =
                std::min(kestramo::kSecondsPerDay, plan.samples[index - 1].clockSeconds + step / 2);
            painter.fillRect(QRectF(QPointF(x(from), plot.top()), QPointF(x(to), plot.bottom())),
                             shade(plan.samples[start]));
            start = index;
        }
        painter.setRenderHint(QPainter::Antialiasing);
    }

    painter.setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);
    for (int hour = 0; hour <= 24; hour += 3) {
        const double at = x(hour * 3600.0);
        painter.drawLine(QPointF(at, plot.bottom()), QPointF(at, plot.bottom() + margin / 2));
        const QString label = QString::number(hour);
        painter.drawText(QRectF(at - 20, plot.bottom() + margin / 2, 40, metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, label);
    }
    const QLocale locale;
    for (double degrees : {0.0, scale / 2, scale}) {
        painter.drawText(QRectF(area.left(), yUncertainty(degrees) - metrics.height() / 2,
                                plot.left() - area.left() - margin / 2, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter,
                         locale.toString(degrees, 'g', 3) + QStringLiteral("\u00b0"));
    }
    for (double heights : {0.0, longest / 2, longest}) {
        painter.drawText(QRectF(plot.right() + margin / 2, yShadow(heights) - metrics.height() / 2,
                                area.right() - plot.right(), metrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         QLocale().toString(heights, 'g', 3) + QStringLiteral("H"));
    }

    for (size_t index = 0; index < plans.size(); ++index) {
        const Qt::PenStyle style = index == 0 ? Qt::SolidLine : Qt::DashLine;
        // The uncertainty is drawn strong where a reading is practical and faint where the
        // shadow would be too long to measure.
        QPainterPath practical;
        QPainterPath impractical;
        QPainterPath shadow;
        QPainterPath* drawing = nullptr;
        bool inShadow = false;
        for (const rd::PlanSample& sample : plans[index].samples) {
            const bool reading = sample.sunOnFace && sample.highEnough;
            if (reading && std::isfinite(sample.uncertainty)) {
                QPainterPath* path = sample.practical ? &practical : &impractical;
                const QPointF point(x(sample.clockSeconds), yUncertainty(sample.uncertainty));
                if (drawing != path) {
                    // A change of kind joins the two pieces at the previous point.
                    if (drawing != nullptr)
                        path->moveTo(drawing->currentPosition());
                    else
                        path->moveTo(point);
                }
                path->lineTo(point);
                drawing = path;
            } else {
                drawing = nullptr;
            }
            if (reading && std::isfinite(sample.shadowHeights)) {
                const double heights = sample.shadowHeights;
                const QPointF point(x(sample.clockSeconds), yShadow(heights));
                inShadow ? shadow.lineTo(point) : shadow.moveTo(point);
                inShadow = true;
            } else {
                inShadow = false;
            }
        }
        painter.setPen(QPen(kShadow, 1.2, style == Qt::SolidLine ? Qt::DotLine : Qt::DashDotLine));
        painter.drawPath(shadow);
        painter.setPen(QPen(kUncertainty.lighter(170), 1.2, style));
        painter.drawPath(impractical);
        painter.setPen(QPen(kUncertainty, 2, style));
        painter.drawPath(practical);
    }
    // What the lines are, along the top of the plot.
    painter.setPen(kUncertainty);
    const QString uncertaintyKey = QObject::tr("\u2014 uncertainty of a reading then");
    painter.drawText(plot.adjusted(margin, margin / 2, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                     uncertaintyKey);
    painter.setPen(kShadow.darker(130));
    painter.drawText(plot.adjusted(margin, margin / 2 + metrics.height(), 0, 0),
                     Qt::AlignLeft | Qt::AlignTop,
                     QObject::tr("\u00b7\u00b7\u00b7 shadow in square heights"));
    painter.restore();
}
