// The day's measuring plan and the plan view's data.

#include <gtest/gtest.h>

#include "readings/circular.h"
#include "readings/day_plan.h"
#include "readings/plan_view.h"
#include "readings/series.h"
#include "synthetic.h"

namespace {

namespace kr = kestramo::readings;

const kr::Tolerances kDefaults{};

struct PlanCase {
    const char* name;
    synthetic::Site site;
    double wall;
};

class DayPlan : public ::testing::TestWithParam<PlanCase> {};

// The best window is a contiguous stretch of practical samples within 1.25 times the day's least
// uncertainty, and a reading the plan proposes gives the wall back.
TEST_P(DayPlan, BestWindowIsPracticalAndTheForwardModelHolds) {
    const PlanCase& c = GetParam();
    const kr::Reading last = synthetic::At(c.site, 12 * 3600, 10, 10);
    const kr::DayPlan plan = kr::PlanDay(last, c.wall, kDefaults);
    ASSERT_EQ(plan.samples.size(), 24u * 12);
    ASSERT_TRUE(plan.best.has_value());
    double least = 1e9;
    for (const kr::PlanSample& s : plan.samples) {
        if (s.practical) {
            least = std::min(least, s.uncertainty);
            EXPECT_TRUE(s.sunOnFace && s.highEnough);
            EXPECT_LE(s.shadowLength, 4 * last.height);
            kr::Reading proposed = last;
            proposed.clockSeconds = s.clockSeconds;
            proposed.length = s.shadowLength;
            const kr::ReadingSolution solved = kr::SolveReading(proposed);
            ASSERT_TRUE(solved.solved());
            EXPECT_LT(std::min(std::fabs(kr::AngleDifference(solved.first, c.wall)),
                               std::fabs(kr::AngleDifference(solved.second, c.wall))),
                      1e-6);
        }
        if (s.sunAltitude < 0) {
            EXPECT_FALSE(s.practical);
        }
    }
    EXPECT_DOUBLE_EQ(plan.best->uncertainty, least);
    bool inside = false;
    int stretches = 0;
    for (const kr::PlanSample& s : plan.samples) {
        if (s.inBestWindow) {
            EXPECT_TRUE(s.practical);
            EXPECT_LE(s.uncertainty, 1.25 * least);
            stretches += inside ? 0 : 1;
        }
        inside = s.inBestWindow;
    }
    EXPECT_EQ(stretches, 1);
    EXPECT_LT(plan.best->startSeconds, plan.best->endSeconds + 1);
}

INSTANTIATE_TEST_SUITE_P(Walls, DayPlan,
                         ::testing::Values(PlanCase{"WorkedExample", synthetic::kLongIsland, 11.42},
                                           PlanCase{"East", synthetic::kLongIsland, -80},
                                           PlanCase{"NorthSouthernSite", synthetic::kSydneyWinter,
                                                    -178}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DayPlanText, NorthWallInSummerHasNoBestWindow) {
    const kr::Reading last = synthetic::At(synthetic::kLongIsland, 11 * 3600, 10, 25);
    // A wall facing due north at 40 N in early September gets no sun worth measuring.
    const kr::DayPlan north = kr::PlanDay(last, 180, kDefaults);
    EXPECT_FALSE(north.best.has_value());
    EXPECT_EQ(kr::ClockText(15 * 3600 + 40 * 60 + 20), "15:40");
}

struct BearingCase {
    double declination;
    double bearing;
};

TEST(PlanView, DeclinationsBecomeBearingsFromNorth) {
    for (const BearingCase& c :
         {BearingCase{0, 180}, BearingCase{90, 270}, BearingCase{-90, 90}, BearingCase{180, 0},
          BearingCase{-179, 1}, BearingCase{11.42, 191.42}}) {
        const kr::PlanDirection d = kr::DirectionOfDeclination(c.declination);
        EXPECT_NEAR(d.bearing, c.bearing, 1e-9) << c.declination;
        EXPECT_NEAR(d.east, std::sin(c.bearing * std::numbers::pi / 180), 1e-12);
        EXPECT_NEAR(d.north, std::cos(c.bearing * std::numbers::pi / 180), 1e-12);
    }
}

TEST(PlanView, DrawsTheWallTheCandidatesAndTheSun) {
    const std::vector<kr::Reading> readings = {
        synthetic::At(synthetic::kLongIsland, 11 * 3600, 10, 25),
        synthetic::At(synthetic::kLongIsland, 15 * 3600, 10, 15.46),
        synthetic::At(synthetic::kLongIsland, 16.5 * 3600, 10, 21.07)};
    const kr::SolvedSeries solved = kr::SolveSeries(readings, kDefaults);
    const kr::PlanView view = kr::MakePlanView(solved.evaluated, solved.result);
    ASSERT_TRUE(view.normal && view.wallLine);
    EXPECT_NEAR(view.normal->bearing, 191.42, 0.01);
    EXPECT_NEAR(view.normal->east * view.wallLine->east + view.normal->north * view.wallLine->north,
                0, 1e-12);
    ASSERT_EQ(view.readings.size(), 3u);
    EXPECT_EQ(view.readings[0].chosen, kr::Candidate::Second);
    EXPECT_NEAR(view.readings[0].second.bearing, 191.42, 0.01);
    EXPECT_NEAR(view.readings[0].sun.bearing, 180 + solved.evaluated[0].solution.sunAzimuth, 1e-9);
}

}  // namespace
