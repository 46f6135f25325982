// The series' calibration in one picture: series of 3, 5 and 10 readings simulated from known
// walls all round the circle, every error drawn from the default tolerances, fitted; the
// distribution of (fitted - true) / stated sigma of the decided ones against the normal curve,
// and the share within 1 and 2 sigma. Writes the PNG named on the command line and prints the
// figures.
//   calibration_plot docs/calibration.png

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>
#include <vector>

#include "engine/angles.h"
#include "series/series.h"
#include "synthetic.h"

namespace {

namespace ks = kestramo::series;

struct Pulls {
    std::vector<double> declination;
    std::vector<double> lean;
};

Pulls Simulate(int readings, int series, std::uint64_t seed) {
    const ks::Tolerances tolerances;
    synthetic::Surveyor surveyor(seed, tolerances);
    Pulls pulls;
    for (int k = 0; k < series; ++k) {
        const synthetic::Site site = surveyor.AnySite();
        const synthetic::Wall wall{surveyor.Uniform(-180, 180),
                                   surveyor.Normal() * tolerances.leanErrorDegrees};
        const std::vector<ks::Reading> taken = surveyor.Survey(site, wall, readings);
        if (taken.empty()) continue;
        const ks::SeriesResult r = ks::SolveSeries(taken, tolerances).result;
        if (!r.decided()) continue;
        pulls.declination.push_back(kestramo::AngleDifference(*r.declination, wall.declination) /
                                    r.uncertainty);
        pulls.lean.push_back((r.lean - wall.lean) / r.leanUncertainty);
    }
    return pulls;
}

double Share(const std::vector<double>& pulls, double within) {
    int inside = 0;
    for (double p : pulls) inside += std::fabs(p) < within ? 1 : 0;
    return pulls.empty() ? 0 : double(inside) / double(pulls.size());
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: calibration_plot OUT.png\n", stderr);
        return 2;
    }
    Pulls all;
    for (int readings : {3, 5, 10}) {
        const Pulls pulls = Simulate(readings, 1500, 1000 + std::uint64_t(readings));
        std::printf(
            "%2d readings: %zu decided, within 1 sigma %.1f %%, within 2 sigma %.1f %%, "
            "lean within 2 sigma %.1f %%\n",
            readings, pulls.declination.size(), 100 * Share(pulls.declination, 1),
            100 * Share(pulls.declination, 2), 100 * Share(pulls.lean, 2));
        all.declination.insert(all.declination.end(), pulls.declination.begin(),
                               pulls.declination.end());
    }

    constexpr int kWidth = 720, kHeight = 420;
    constexpr double kRange = 4;  // sigmas either side
    constexpr int kBins = 32;
    std::vector<int> bins(kBins, 0);
    for (double p : all.declination) {
        const int bin = int(std::floor((p + kRange) / (2 * kRange) * kBins));
        if (bin >= 0 && bin < kBins) ++bins[size_t(bin)];
    }
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(14);
    painter.setFont(font);
    const QRectF plot(60, 40, kWidth - 90, kHeight - 100);
    const double binWidth = 2 * kRange / kBins;
    const double density = double(all.declination.size()) * binWidth;  // counts per unit density
    const double top = 0.45;  // the normal curve peaks at 0.399
    const auto x = [&](double sigma) {
        return plot.left() + (sigma + kRange) / (2 * kRange) * plot.width();
    };
    const auto y = [&](double value) { return plot.bottom() - value / top * plot.height(); };
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x9c, 0xb8, 0xe0));
    for (int b = 0; b < kBins; ++b) {
        const double from = -kRange + b * binWidth;
        painter.drawRect(QRectF(QPointF(x(from) + 0.5, y(bins[size_t(b)] / density)),
                                QPointF(x(from + binWidth) - 0.5, plot.bottom())));
    }
    QPainterPath normal;
    for (int k = 0; k <= 400; ++k) {
        const double s = -kRange + 2 * kRange * k / 400;
        const QPointF point(x(s), y(std::exp(-s * s / 2) / std::sqrt(2 * kestramo::kPi)));
        k == 0 ? normal.moveTo(point) : normal.lineTo(point);
    }
    painter.setPen(QPen(QColor(0xb0, 0x30, 0x20), 2.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(normal);
    painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
    painter.drawLine(plot.bottomLeft(), plot.bottomRight());
    for (int s = -4; s <= 4; ++s) {
        painter.drawLine(QPointF(x(s), plot.bottom()), QPointF(x(s), plot.bottom() + 5));
        painter.drawText(QRectF(x(s) - 20, plot.bottom() + 6, 40, 20), Qt::AlignCenter,
                         QString::number(s));
    }
    painter.drawText(QRectF(plot.left(), plot.bottom() + 28, plot.width(), 20), Qt::AlignCenter,
                     QStringLiteral("(fitted declination \u2212 true) / stated uncertainty"));
    painter.drawText(QRectF(0, 8, kWidth, 24), Qt::AlignCenter,
                     QStringLiteral("%1 decided series of 3, 5 and 10 readings: within 1\u03c3 "
                                    "%2 %, within 2\u03c3 %3 %")
                         .arg(all.declination.size())
                         .arg(100 * Share(all.declination, 1), 0, 'f', 1)
                         .arg(100 * Share(all.declination, 2), 0, 'f', 1));
    painter.setPen(QColor(0xb0, 0x30, 0x20));
    painter.drawText(QRectF(x(1.3), y(0.33), 260, 20), Qt::AlignLeft,
                     QStringLiteral("\u2014 the normal distribution"));
    painter.setPen(QColor(0x50, 0x70, 0xa0));
    painter.drawText(QRectF(x(1.3), y(0.29), 260, 20), Qt::AlignLeft,
                     QStringLiteral("\u25a0 the simulated series"));
    painter.end();
    return image.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
