#include "readings_window/day_plot_painter.h"

#include <QLocale>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "engine/serial_time.h"
#include "readings_window/day_plot_layout.h"
#include "readings_window/picture_widgets.h"

namespace rd = kestramo::series;
using day_plot_layout::Swatch;

namespace {

const QColor kLit(0xff, 0xf4, 0xc8);
const QColor kBest(0xb8, 0xe8, 0xb8);
const QColor kTooLow(0xa0, 0xa0, 0xa0);
const QColor kTooLong(0xd0, 0x80, 0x40);
const QColor kUncertainty(0x1f, 0x4e, 0xa0);
const QColor kShadow(0x80, 0x80, 0x80);
const QColor kFrame(0x60, 0x60, 0x60);

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

// A hatching as dense on paper as on the screen.
QBrush Hatch(const QColor& colour, Qt::BrushStyle style, double pixel) {
    QBrush brush(colour, style);
    brush.setTransform(QTransform::fromScale(pixel, pixel));
    return brush;
}

void Fill(QPainter& painter, const QRectF& rect, Swatch swatch) {
    const double pixel = PixelScale(painter);
    switch (swatch) {
        case Swatch::Lit:
            painter.fillRect(rect, kLit);
            break;
        case Swatch::Best:
            painter.fillRect(rect, kBest);
            break;
        case Swatch::TooLow:
            painter.fillRect(rect, Hatch(kTooLow, Qt::BDiagPattern, pixel));
            break;
        case Swatch::TooLong:
            painter.fillRect(rect, kLit);
            painter.fillRect(rect, Hatch(kTooLong, Qt::FDiagPattern, pixel));
            break;
        default:
            break;
    }
}

QPen CurvePen(Swatch swatch, bool dashed, double pixel) {
    if (swatch == Swatch::Shadow)
        return QPen(kShadow, 1.3 * pixel, dashed ? Qt::DashDotLine : Qt::DotLine);
    return QPen(kUncertainty, 2 * pixel, dashed ? Qt::DashLine : Qt::SolidLine);
}

void DrawUpward(QPainter& painter, const QRectF& rect, const QString& text) {
    painter.save();
    painter.translate(rect.center());
    painter.rotate(-90);
    const QFontMetricsF metrics(painter.font());
    const QRectF turned(-rect.height() / 2, -rect.width() / 2, rect.height(), rect.width());
    painter.drawText(turned, Qt::AlignCenter,
                     metrics.elidedText(text, Qt::ElideRight, rect.height()));
    painter.restore();
}

void DrawLegend(QPainter& painter, const day_plot_layout::Layout& layout) {
    const QFontMetricsF metrics(painter.font());
    const double sample = day_plot_layout::SampleWidth(metrics);
    for (const day_plot_layout::LegendEntry& entry : layout.legend) {
        const double row = metrics.height();
        const QRectF swatch(entry.rect.left(), entry.rect.top() + row * 0.15, sample, row * 0.7);
        if (entry.swatch == Swatch::Uncertainty || entry.swatch == Swatch::Shadow) {
            painter.setPen(CurvePen(entry.swatch, entry.dashed, PixelScale(painter)));
            painter.drawLine(QPointF(swatch.left(), swatch.center().y()),
                             QPointF(swatch.right(), swatch.center().y()));
        } else {
            Fill(painter, swatch, entry.swatch);
            painter.setPen(QPen(kFrame, 0.5 * PixelScale(painter)));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(swatch);
        }
        const QRectF text = entry.rect.adjusted(sample + metrics.height() / 3, 0, 0, 0);
        painter.setPen(QColor(0x30, 0x30, 0x30));
        painter.drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, entry.text);
    }
}

}  // namespace

void PaintDayPlot(QPainter& painter, const QRectF& area, const std::vector<rd::DayPlan>& plans,
                  const QString& clock) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(painter.font());
    const day_plot_layout::Layout layout = day_plot_layout::LayOut(area, plans, metrics, clock);
    const QRectF& plot = layout.plot;
    const double tick = metrics.height() * 0.2;
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

    if (!plans.empty() && !plans.front().samples.empty()) {
        // Runs of samples alike, each filled as one band so that no seams show between them.
        const rd::DayPlan& plan = plans.front();
        const double step = plan.samples.size() > 1
                                ? plan.samples[1].clockSeconds - plan.samples[0].clockSeconds
                                : 300;
        painter.setRenderHint(QPainter::Antialiasing, false);
        size_t start = 0;
        for (size_t index = 1; index <= plan.samples.size(); ++index) {
            const Swatch shade = day_plot_layout::ShadeOf(plan.samples[start]);
            if (index < plan.samples.size() &&
                day_plot_layout::ShadeOf(plan.samples[index]) == shade) {
                continue;
            }
            const double from = std::max(0.0, plan.samples[start].clockSeconds - step / 2);
            const double to =
                std::min(kestramo::kSecondsPerDay, plan.samples[index - 1].clockSeconds + step / 2);
            Fill(painter, QRectF(QPointF(x(from), plot.top()), QPointF(x(to), plot.bottom())),
                 shade);
            start = index;
        }
        painter.setRenderHint(QPainter::Antialiasing);
    }

    const double pixel = PixelScale(painter);
    painter.setPen(QPen(kFrame, pixel));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);
    const QLocale locale;
    const double hourWidth = metrics.horizontalAdvance(QStringLiteral("0000"));
    for (int hour = 0; hour <= 24; hour += 3) {
        const double at = x(hour * 3600.0);
        painter.drawLine(QPointF(at, plot.bottom()), QPointF(at, plot.bottom() + tick));
        painter.drawText(
            QRectF(at - hourWidth / 2, plot.bottom() + tick, hourWidth, metrics.height()),
            Qt::AlignHCenter | Qt::AlignTop, QString::number(hour));
    }
    const double gap = metrics.height() * 0.4;
    for (double degrees : {0.0, scale / 2, scale}) {
        painter.drawText(
            QRectF(layout.uncertaintyTitle.right(), yUncertainty(degrees) - metrics.height() / 2,
                   plot.left() - layout.uncertaintyTitle.right() - gap / 2, metrics.height()),
            Qt::AlignRight | Qt::AlignVCenter,
            locale.toString(degrees, 'g', 3) + QStringLiteral("\u00b0"));
    }
    for (double heights : {0.0, longest / 2, longest}) {
        painter.drawText(
            QRectF(plot.right() + gap / 2, yShadow(heights) - metrics.height() / 2,
                   layout.shadowTitle.left() - plot.right() - gap / 2, metrics.height()),
            Qt::AlignLeft | Qt::AlignVCenter, locale.toString(heights, 'g', 3));
    }
    painter.setPen(QColor(0x30, 0x30, 0x30));
    painter.drawText(layout.timeTitle, Qt::AlignCenter,
                     metrics.elidedText(layout.timeText, Qt::ElideRight, layout.timeTitle.width()));
    painter.setPen(kUncertainty);
    DrawUpward(painter, layout.uncertaintyTitle, layout.uncertaintyText);
    painter.setPen(kShadow.darker(130));
    DrawUpward(painter, layout.shadowTitle, layout.shadowText);

    painter.save();
    painter.setClipRect(plot.adjusted(-2 * pixel, -2 * pixel, 2 * pixel, 2 * pixel));
    for (size_t index = 0; index < plans.size(); ++index) {
        const bool dashed = index > 0;
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
                const QPointF point(x(sample.clockSeconds), yShadow(sample.shadowHeights));
                inShadow ? shadow.lineTo(point) : shadow.moveTo(point);
                inShadow = true;
            } else {
                inShadow = false;
            }
        }
        painter.setPen(CurvePen(Swatch::Shadow, dashed, pixel));
        painter.drawPath(shadow);
        QPen faint = CurvePen(Swatch::Uncertainty, dashed, pixel);
        faint.setColor(kUncertainty.lighter(170));
        faint.setWidthF(1.2 * pixel);
        painter.setPen(faint);
        painter.drawPath(impractical);
        painter.setPen(CurvePen(Swatch::Uncertainty, dashed, pixel));
        painter.drawPath(practical);
    }
    painter.restore();
    DrawLegend(painter, layout);
    painter.restore();
}
