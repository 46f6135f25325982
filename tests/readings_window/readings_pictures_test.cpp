// The readings window's pictures as a newcomer reads them: in the plan view no line crosses a
// label at any declination, whatever walls are still open, and the key names every mark drawn;
// in the day plot the legend sits outside the plot, with one entry per curve of every wall still
// open, and every reason an hour is not offered has its own shading.

#include <QFont>
#include <QFontMetricsF>
#include <QtTest>

#include <cmath>

#include "readings_window/day_plot_layout.h"
#include "readings_window/plan_view_layout.h"
#include "series/day_plan.h"
#include "series/plan_view.h"
#include "series/series.h"

namespace ks = kestramo::series;
namespace pl = plan_view_layout;
namespace dl = day_plot_layout;

namespace {

// A reading whose chosen answer lies `off` degrees from the wall, its mirror `mirror` degrees
// the other way, the sun between them.
ks::PlanViewReading Reading(double wall, double off, double mirror, ks::ReadingState state) {
    ks::PlanViewReading reading;
    reading.solved = true;
    reading.first = ks::DirectionOfDeclination(wall + off);
    reading.second = ks::DirectionOfDeclination(wall + mirror);
    reading.sun = ks::DirectionOfDeclination(wall + (off + mirror) / 2);
    reading.chosen = ks::Candidate::First;
    reading.state = state;
    return reading;
}

// Where a line passes through a rectangle, found by walking along it, so that the check does
// not share the layout's own geometry.
bool Crossed(const QLineF& line, const QRectF& rect) {
    constexpr int kSteps = 400;
    for (int i = 0; i <= kSteps; ++i) {
        if (rect.contains(line.pointAt(double(i) / kSteps))) return true;
    }
    return false;
}

QString Where(double wall, const QRectF& area, const QString& what) {
    return QStringLiteral("wall %1, area %2 x %3: %4")
        .arg(wall)
        .arg(area.width())
        .arg(area.height())
        .arg(what);
}

}  // namespace

class ReadingsPicturesTest : public QObject {
    Q_OBJECT

  private slots:
    // Every declination in steps of 5 degrees, decided or with other walls still open at
    // several angles from it, in every size the window and the printout give it.
    void noLineCrossesALabel_data() {
        QTest::addColumn<QList<double>>("others");  // walls still open beside it, from it
        QTest::newRow("decided") << QList<double>{};
        QTest::newRow("mirror 30 degrees away") << QList<double>{30};
        QTest::newRow("mirror square to it") << QList<double>{90};
        QTest::newRow("mirror 150 degrees away") << QList<double>{-150};
        QTest::newRow("the wall's back") << QList<double>{180};
        QTest::newRow("three walls") << QList<double>{70, -120};
    }

    void noLineCrossesALabel() {
        QFETCH(QList<double>, others);
        const QFontMetricsF metrics(QFont(QStringLiteral("Arial"), 9));
        // The window's, its least (the plan view's minimum size less its margins), the
        // printout's in font heights, and a wide one.
        const QRectF areas[] = {QRectF(0, 0, 250, 350), QRectF(10, 20, 212, 292),
                                QRectF(0, 0, 375, 420), QRectF(0, 0, 480, 300)};
        for (double wall = -180; wall < 180; wall += 5) {
            ks::PlanView view;
            if (others.isEmpty()) {
                view.normal = ks::DirectionOfDeclination(wall);
            } else {
                view.alternatives.push_back(ks::DirectionOfDeclination(wall));
                for (double other : others) {
                    view.alternatives.push_back(ks::DirectionOfDeclination(wall + other));
                }
            }
            view.readings = {Reading(wall, 1, 60, ks::ReadingState::Used),
                             Reading(wall, -2, -95, ks::ReadingState::Used),
                             Reading(wall, 12, 140, ks::ReadingState::Outlier)};
            if (!others.isEmpty()) {
                for (ks::PlanViewReading& reading : view.readings) {
                    reading.chosen = ks::Candidate::None;
                }
            }
            for (const QRectF& area : areas) {
                const pl::Layout layout =
                    pl::LayOut(area, view, metrics, QStringLiteral("The wall stands plumb."));
                const int walls = int(others.size()) + 1;
                QCOMPARE(int(layout.labels.size()), 4 + walls);
                for (std::size_t i = 0; i < layout.labels.size(); ++i) {
                    const pl::Label& label = layout.labels[i];
                    QVERIFY2(area.contains(label.rect), qPrintable(Where(wall, area, label.text)));
                    for (const pl::Line& line : layout.lines) {
                        QVERIFY2(!Crossed(line.line, label.rect),
                                 qPrintable(Where(wall, area, label.text)));
                    }
                    for (std::size_t j = i + 1; j < layout.labels.size(); ++j) {
                        QVERIFY2(!label.rect.intersects(layout.labels[j].rect),
                                 qPrintable(Where(wall, area, label.text)));
                    }
                    // The circle itself: a letter outside it, a wall's label inside or out.
                    const double far =
                        std::max({QLineF(layout.centre, label.rect.topLeft()).length(),
                                  QLineF(layout.centre, label.rect.topRight()).length(),
                                  QLineF(layout.centre, label.rect.bottomLeft()).length(),
                                  QLineF(layout.centre, label.rect.bottomRight()).length()});
                    const QPointF nearest(
                        std::clamp(layout.centre.x(), label.rect.left(), label.rect.right()),
                        std::clamp(layout.centre.y(), label.rect.top(), label.rect.bottom()));
                    const double near = QLineF(layout.centre, nearest).length();
                    QVERIFY2(label.compassPoint ? near > layout.radius
                                                : far < layout.radius || near > layout.radius,
                             qPrintable(Where(wall, area, label.text)));
                }
                if (!layout.keyArea.isEmpty()) {
                    for (const pl::Label& label : layout.labels) {
                        QVERIFY2(!label.rect.intersects(layout.keyArea),
                                 qPrintable(Where(wall, area, label.text)));
                    }
                    QVERIFY(area.contains(layout.keyArea));
                }
            }
        }
    }

    // The key names each kind of mark the view draws, and only those.
    void theKeyNamesWhatIsDrawn_data() {
        QTest::addColumn<bool>("decided");
        QTest::addColumn<int>("state");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("decided, all used")
            << true << int(ks::ReadingState::Used)
            << QStringList{"the wall, seen from above", "the way its face looks",
                           "a reading's answer that fits the wall",
                           "its other answer, a mirror image",
                           "the sun's direction at each reading"};
        QTest::newRow("decided, one left out by the series")
            << true << int(ks::ReadingState::Outlier)
            << QStringList{"the wall, seen from above",
                           "the way its face looks",
                           "a reading's answer that fits the wall",
                           "its other answer, a mirror image",
                           "a reading left out: it does not fit",
                           "the sun's direction at each reading"};
        QTest::newRow("decided, one left out by the user")
            << true << int(ks::ReadingState::LeftOutByUser)
            << QStringList{"the wall, seen from above",
                           "the way its face looks",
                           "a reading's answer that fits the wall",
                           "its other answer, a mirror image",
                           "a reading you left out",
                           "the sun's direction at each reading"};
        QTest::newRow("undecided")
            << false << int(ks::ReadingState::Used)
            << QStringList{"a wall the readings still allow", "the way its face would look",
                           "each reading's two answers", "the sun's direction at each reading"};
    }

    void theKeyNamesWhatIsDrawn() {
        QFETCH(bool, decided);
        QFETCH(int, state);
        QFETCH(QStringList, entries);
        ks::PlanView view;
        view.readings = {Reading(10, 1, 70, ks::ReadingState::Used),
                         Reading(10, -1, -80, ks::ReadingState(state))};
        if (decided) {
            view.normal = ks::DirectionOfDeclination(10);
        } else {
            view.alternatives = {ks::DirectionOfDeclination(10), ks::DirectionOfDeclination(80)};
            for (ks::PlanViewReading& reading : view.readings) reading.chosen = ks::Candidate::None;
        }
        QStringList key;
        for (const pl::KeyEntry& entry : pl::KeyOf(view)) key << entry.text;
        QCOMPARE(key, entries);
        const pl::Layout layout = pl::LayOut(QRectF(0, 0, 260, 340), view,
                                             QFontMetricsF(QFont(QStringLiteral("Arial"), 9)),
                                             QStringLiteral("The wall leans back 0.4° ± 0.3°."));
        QVERIFY(layout.caption.endsWith(QStringLiteral("The wall leans back 0.4° ± 0.3°.")));
    }

    // A board and a declinometer draw one answer each, marked by their kind; a bearing draws its
    // spread along the circle and no sun; the key names each kind drawn.
    void otherKindsAreMarkedByTheirKind() {
        ks::PlanView view;
        view.normal = ks::DirectionOfDeclination(10);
        view.readings = {Reading(10, 1, 70, ks::ReadingState::Used)};
        for (ks::Method method :
             {ks::Method::Board, ks::Method::Declinometer, ks::Method::Bearing}) {
            ks::PlanViewReading one = Reading(10, 0.5, 10.5, ks::ReadingState::Used);
            one.method = method;
            one.chosen = ks::Candidate::None;
            if (method == ks::Method::Bearing) one.spread = 3;
            view.readings.push_back(one);
        }
        const pl::Layout layout = pl::LayOut(QRectF(0, 0, 260, 340), view,
                                             QFontMetricsF(QFont(QStringLiteral("Arial"), 9)), {});
        QCOMPARE(layout.sunDots.size(), size_t(3));
        QCOMPARE(layout.kindMarks.size(), size_t(2));
        QCOMPARE(layout.spreads.size(), size_t(1));
        // 180 + 10.5 degrees of bearing, less and more its 3.
        QCOMPARE(layout.spreads[0].from, 187.5);
        QCOMPARE(layout.spreads[0].span, 6.0);
        for (const pl::KindMark& mark : layout.kindMarks) {
            QCOMPARE(int(mark.stroke), int(pl::Stroke::Chosen));
        }
        QStringList key;
        for (const pl::KeyEntry& entry : layout.key) key << entry.text;
        QVERIFY(key.contains(QStringLiteral("a board reading's answer")));
        QVERIFY(key.contains(QStringLiteral("a declinometer reading's answer")));
        QVERIFY(key.contains(QStringLiteral("a bearing, with its spread")));
    }

    // The legend below the plot, in the window's size, the printout's and a narrow one; one
    // uncertainty and one shadow entry for each wall still open, each naming its wall.
    void theLegendKeepsOutOfThePlot_data() {
        QTest::addColumn<QList<double>>("walls");
        QTest::newRow("decided") << QList<double>{11.4};
        QTest::newRow("two walls open") << QList<double>{11.4, -100.1};
        QTest::newRow("three walls open") << QList<double>{11.4, -100.1, 60};
    }

    void theLegendKeepsOutOfThePlot() {
        QFETCH(QList<double>, walls);
        const ks::Reading morning =
            ks::MakeReading({2003, 9, 3}, 11 * 3600, -5, true, 40.655, -72.855, 10, 25);
        const ks::SeriesResult series = ks::SolveSeries({&morning, 1}, {}).result;
        std::vector<ks::DayPlan> plans;
        for (double wall : walls) {
            ks::WallFit fit = series.fits.front();
            fit.declination = wall;
            plans.push_back(ks::PlanDay(morning, fit, series.latestDate, series.latestSquare, {}));
        }
        const QFontMetricsF metrics(QFont(QStringLiteral("Arial"), 9));
        for (const QRectF& area :
             {QRectF(0, 0, 380, 300), QRectF(50, 400, 700, 260), QRectF(0, 0, 220, 320)}) {
            const dl::Layout layout =
                dl::LayOut(area, plans, metrics, QStringLiteral("UTC\u22125, daylight time"));
            QVERIFY(layout.plot.width() > area.width() / 3);
            QVERIFY(layout.plot.height() > 20);
            QVERIFY(area.contains(layout.legendArea));
            QVERIFY(layout.legendArea.top() > layout.timeTitle.bottom());
            QVERIFY(layout.timeTitle.top() > layout.plot.bottom());
            QVERIFY(layout.timeText.contains(QStringLiteral("UTC\u22125, daylight time")));
            for (const QRectF& title : {layout.uncertaintyTitle, layout.shadowTitle}) {
                QVERIFY(!title.intersects(layout.plot) && area.contains(title));
            }
            int uncertainties = 0;
            for (const dl::LegendEntry& entry : layout.legend) {
                QVERIFY2(layout.legendArea.contains(entry.rect), qPrintable(entry.text));
                QVERIFY2(!entry.rect.intersects(layout.plot), qPrintable(entry.text));
                for (const dl::LegendEntry& other : layout.legend) {
                    QVERIFY(&other == &entry || !other.rect.intersects(entry.rect));
                }
                if (entry.swatch == dl::Swatch::Uncertainty) ++uncertainties;
            }
            QCOMPARE(uncertainties, int(walls.size()));
            if (walls.size() > 1) {
                // Its two curves each, and the shading, which is the likeliest wall's.
                for (const ks::DayPlan& plan : plans) {
                    const QString wall = QString::number(std::fabs(plan.wall), 'f', 1);
                    const int entries = &plan == &plans.front() ? 3 : 2;
                    QVERIFY2(std::count_if(layout.legend.begin(), layout.legend.end(),
                                           [&](const dl::LegendEntry& e) {
                                               return e.text.contains(wall);
                                           }) == entries,
                             qPrintable(wall));
                }
            }
        }
    }

    // Each reason an hour is not offered shades differently, and the best stretch shows over
    // the rest.
    void everyHourIsShadedForItsReason_data() {
        QTest::addColumn<bool>("onFace");
        QTest::addColumn<bool>("high");
        QTest::addColumn<bool>("tooLong");
        QTest::addColumn<bool>("best");
        QTest::addColumn<int>("swatch");
        QTest::newRow("behind the wall")
            << false << true << false << false << int(dl::Swatch::Dark);
        QTest::newRow("down") << false << false << false << false << int(dl::Swatch::Dark);
        QTest::newRow("too low") << true << false << false << false << int(dl::Swatch::TooLow);
        QTest::newRow("too long") << true << true << true << false << int(dl::Swatch::TooLong);
        QTest::newRow("a reading") << true << true << false << false << int(dl::Swatch::Lit);
        QTest::newRow("the best") << true << true << false << true << int(dl::Swatch::Best);
    }

    void everyHourIsShadedForItsReason() {
        QFETCH(bool, onFace);
        QFETCH(bool, high);
        QFETCH(bool, tooLong);
        QFETCH(bool, best);
        QFETCH(int, swatch);
        ks::PlanSample sample;
        sample.sunOnFace = onFace;
        sample.highEnough = high;
        sample.tooLong = tooLong;
        sample.inBestWindow = best;
        QCOMPARE(int(dl::ShadeOf(sample)), swatch);
        // Each shading has its legend entry.
        const dl::Layout layout = dl::LayOut(QRectF(0, 0, 380, 300), {},
                                             QFontMetricsF(QFont(QStringLiteral("Arial"), 9)), {});
        QVERIFY(std::any_of(layout.legend.begin(), layout.legend.end(),
                            [&](const dl::LegendEntry& e) { return int(e.swatch) == swatch; }));
    }
};

QTEST_MAIN(ReadingsPicturesTest)
#include "readings_pictures_test.moc"
