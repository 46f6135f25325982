// The day's measuring plan, the clock texts and the plan view's data.

#include <gtest/gtest.h>

#include <cmath>

#include "engine/angles.h"
#include "series/day_plan.h"
#include "series/plan_view.h"
#include "series/series.h"
#include "synthetic.h"

namespace {

namespace ks = kestramo::series;
using kestramo::AngleDifference;

ks::Tolerances MiddleAndPlumb() {
    ks::Tolerances t;
    t.edge = ks::ShadowEdge::Middle;
    t.leanErrorDegrees = 0;
    return t;
}

// The plan of a series' best wall, from its latest reading.
ks::DayPlan PlanOf(const std::vector<ks::Reading>& readings, const ks::Tolerances& tolerances) {
    const ks::SeriesResult r = ks::SolveSeries(readings, tolerances).result;
    EXPECT_FALSE(r.fits.empty());
    return ks::PlanDay(readings[size_t(r.latest)], r.fits.front(), r.latestDate, r.latestSquare,
                       tolerances);
}

struct PlanCase {
    const char* name;
    synthetic::Site site;
    double wall;
};

class DayPlan : public ::testing::TestWithParam<PlanCase> {};

// The best window is one stretch of practical samples, the shadow a reading then would cast
// gives the wall back through the engine, and no reading leaves the wall less certain.
TEST_P(DayPlan, BestWindowIsPracticalAndTheForwardModelHolds) {
    const PlanCase& c = GetParam();
    const std::vector<ks::Reading> readings = synthetic::DayOfReadings(c.site, {c.wall}, 3);
    ASSERT_EQ(readings.size(), 3u);
    const ks::DayPlan plan = PlanOf(readings, MiddleAndPlumb());
    ASSERT_EQ(plan.samples.size(), 24u * 12);
    ASSERT_TRUE(plan.best.has_value());
    double least = 1e9;
    for (const ks::PlanSample& s : plan.samples) {
        if (!s.practical) {
            if (s.sunAltitude < 0) {
                EXPECT_FALSE(s.sunOnFace);
            }
            continue;
        }
        least = std::min(least, s.uncertainty);
        EXPECT_TRUE(s.sunOnFace && s.highEnough);
        EXPECT_LE(s.shadowHeights, plan.longestShadow);
        EXPECT_LE(s.uncertainty, plan.uncertainty + 1e-12);
        ks::Reading proposed = readings.back();
        proposed.observation.clockTime = s.clockSeconds / 86400;
        proposed.length = s.shadowHeights * proposed.height;
        const ks::ReadingGeometry solved = ks::Examine(proposed);
        ASSERT_TRUE(solved.solved());
        EXPECT_LT(std::min(std::fabs(AngleDifference(solved.first, plan.wall)),
                           std::fabs(AngleDifference(solved.second, plan.wall))),
                  1e-6);
    }
    EXPECT_DOUBLE_EQ(plan.best->uncertainty, least);
    bool inside = false;
    int stretches = 0;
    for (const ks::PlanSample& s : plan.samples) {
        if (s.inBestWindow) {
            EXPECT_TRUE(s.practical);
            stretches += inside ? 0 : 1;
        }
        inside = s.inBestWindow;
    }
    EXPECT_EQ(stretches, 1);
    EXPECT_LE(plan.best->startSeconds, plan.best->endSeconds);
}

INSTANTIATE_TEST_SUITE_P(Walls, DayPlan,
                         ::testing::Values(PlanCase{"WorkedExample", synthetic::kLongIsland, 11.42},
                                           PlanCase{"East", synthetic::kLongIsland, -80},
                                           PlanCase{"NorthSouthernSite", synthetic::kSydneyWinter,
                                                    -178}),
                         [](const auto& info) { return std::string(info.param.name); });

// With the lean unknown, afternoon readings of a south wall leave the lean and the declination
// tangled; a morning reading tells them apart, and the plan offers it.
TEST(DayPlanOffers, AMorningReadingAfterAnAfternoon) {
    std::vector<ks::Reading> readings;
    for (double hour : {14.0, 15.0, 16.0}) {
        readings.push_back(*synthetic::FromWall(synthetic::kLongIsland, {0}, hour * 3600));
    }
    ks::Tolerances tolerances;
    tolerances.edge = ks::ShadowEdge::Middle;
    const ks::DayPlan plan = PlanOf(readings, tolerances);
    ASSERT_TRUE(plan.best.has_value());
    EXPECT_LT(plan.best->endSeconds, 12.5 * 3600);
}

// The longest shadow the user can measure bounds what the plan offers.
TEST(DayPlanOffers, NoShadowLongerThanTheUserCanMeasure) {
    const std::vector<ks::Reading> readings =
        synthetic::DayOfReadings(synthetic::kLongIsland, {40}, 3);
    for (double longest : {1.5, 4.0, 8.0}) {
        ks::Tolerances tolerances = MiddleAndPlumb();
        tolerances.longestShadow = longest;
        const ks::DayPlan plan = PlanOf(readings, tolerances);
        for (const ks::PlanSample& s : plan.samples) {
            if (s.practical) {
                EXPECT_LE(s.shadowHeights, longest);
            }
            if (s.tooLong) {
                EXPECT_GT(s.shadowHeights, longest);
            }
        }
    }
}

TEST(DayPlanText, NorthWallInSummerHasNoBestWindow) {
    // A wall facing due north at 40 N in early September gets no sun worth measuring.
    const std::vector<ks::Reading> readings = {
        synthetic::At(synthetic::kLongIsland, 11 * 3600, 10, 25)};
    const ks::SeriesResult r = ks::SolveSeries(readings, MiddleAndPlumb()).result;
    ks::WallFit north = r.fits.front();
    north.declination = 180;
    const ks::DayPlan plan = ks::PlanDay(readings[0], north, r.latestDate, r.latestSquare, {});
    EXPECT_FALSE(plan.best.has_value());
}

TEST(ClockText, MinutesSecondsAndSecondsWhenAny) {
    struct Row {
        double seconds;
        ks::ClockPrecision precision;
        const char* text;
    } const rows[] = {
        {15 * 3600 + 40 * 60 + 20, ks::ClockPrecision::Minutes, "15:40"},
        {15 * 3600 + 40 * 60 + 40, ks::ClockPrecision::Minutes, "15:41"},
        {15 * 3600 + 40 * 60 + 20, ks::ClockPrecision::Seconds, "15:40:20"},
        {11 * 3600, ks::ClockPrecision::SecondsWhenAny, "11:00"},
        {11 * 3600 + 5, ks::ClockPrecision::SecondsWhenAny, "11:00:05"},
        {86399.7, ks::ClockPrecision::Seconds, "00:00:00"},
    };
    for (const Row& row : rows) EXPECT_EQ(ks::ClockText(row.seconds, row.precision), row.text);
    EXPECT_EQ(ks::DateText({2003, 9, 3}), "2003-09-03");
}

TEST(PlanView, DeclinationsBecomeBearingsFromNorth) {
    struct Case {
        double declination, bearing;
    };
    for (const Case& c : {Case{0, 180}, Case{90, 270}, Case{-90, 90}, Case{180, 0}, Case{-179, 1},
                          Case{11.42, 191.42}}) {
        const ks::PlanDirection d = ks::DirectionOfDeclination(c.declination);
        EXPECT_NEAR(d.bearing, c.bearing, 1e-9) << c.declination;
        EXPECT_NEAR(d.east, std::sin(c.bearing * kestramo::kDegToRad), 1e-12);
        EXPECT_NEAR(d.north, std::cos(c.bearing * kestramo::kDegToRad), 1e-12);
    }
}

TEST(PlanView, DrawsTheWallTheAnswersTheSunAndTheWallsStillOpen) {
    const std::vector<ks::Reading> readings = {
        synthetic::At(synthetic::kLongIsland, 11 * 3600, 10, 25),
        synthetic::At(synthetic::kLongIsland, 15 * 3600, 10, 15.46),
        synthetic::At(synthetic::kLongIsland, 16.5 * 3600, 10, 21.07)};
    const ks::SolvedSeries solved = ks::SolveSeries(readings, MiddleAndPlumb());
    const ks::PlanView view = ks::MakePlanView(solved.geometry, solved.result);
    ASSERT_TRUE(view.normal && view.wallLine);
    EXPECT_TRUE(view.alternatives.empty());
    EXPECT_NEAR(view.normal->bearing, 191.42, 0.01);
    EXPECT_NEAR(view.normal->east * view.wallLine->east + view.normal->north * view.wallLine->north,
                0, 1e-12);
    ASSERT_EQ(view.readings.size(), 3u);
    EXPECT_EQ(view.readings[0].chosen, ks::Candidate::Second);
    EXPECT_NEAR(view.readings[0].second.bearing, 191.42, 0.01);
    EXPECT_NEAR(view.readings[0].sun.bearing, 180 + solved.geometry[0].sunAzimuth, 1e-9);

    const ks::SolvedSeries one = ks::SolveSeries(std::vector{readings[0]}, MiddleAndPlumb());
    const ks::PlanView open = ks::MakePlanView(one.geometry, one.result);
    EXPECT_FALSE(open.normal.has_value());
    ASSERT_EQ(open.alternatives.size(), 2u);
}

}  // namespace
