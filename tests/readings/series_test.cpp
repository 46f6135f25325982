// Readings of known walls combined: the wall comes back, the mirrors are rejected once the sun
// has moved, outliers are flagged, and sets that cannot decide say so.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "readings/circular.h"
#include "readings/day_plan.h"
#include "readings/plan_view.h"
#include "readings/series.h"
#include "synthetic.h"

namespace {

namespace kr = kestramo::readings;

const kr::Tolerances kDefaults{};

struct WallCase {
    const char* name;
    synthetic::Site site;
    double wall;  // degrees from south, west positive
};

class KnownWall : public ::testing::TestWithParam<WallCase> {};

// Readings through the day with 1 % noise on the shadow: the wall within three standard
// deviations, every reading's chosen answer the true one, the mirrors rejected.
TEST_P(KnownWall, GivesTheWallBackAndRejectsTheMirrors) {
    const WallCase& c = GetParam();
    std::vector<kr::Reading> readings = synthetic::DayOfReadings(c.site, c.wall, 6);
    ASSERT_EQ(readings.size(), 6u);
    std::mt19937_64 random(7);
    std::normal_distribution<double> noise(0, 0.01);
    std::vector<double> exact;
    for (kr::Reading& reading : readings) {
        const kr::ReadingSolution clean = kr::SolveReading(reading);
        exact.push_back(std::fabs(kr::AngleDifference(clean.first, c.wall)) <
                                std::fabs(kr::AngleDifference(clean.second, c.wall))
                            ? 1
                            : 2);
        reading.length *= 1 + noise(random);
    }
    const kr::SolvedSeries solved = kr::SolveSeries(readings, kDefaults);
    const kr::SeriesResult& result = solved.result;
    ASSERT_TRUE(result.decided);
    ASSERT_TRUE(result.declination.has_value());
    EXPECT_GT(*result.declination, -180);
    EXPECT_LE(*result.declination, 180);
    EXPECT_LT(std::fabs(kr::AngleDifference(*result.declination, c.wall)), 3 * result.uncertainty)
        << *result.declination << " +- " << result.uncertainty;
    EXPECT_LT(result.uncertainty, 1.5);
    EXPECT_EQ(result.readingsUsed, 6);
    for (std::size_t i = 0; i < readings.size(); ++i) {
        EXPECT_EQ(static_cast<int>(result.readings[i].chosen), exact[i]) << "reading " << i;
        EXPECT_FALSE(result.readings[i].outlier);
    }
}

INSTANTIATE_TEST_SUITE_P(
    AllAroundTheCircle, KnownWall,
    ::testing::Values(WallCase{"South", synthetic::kLongIsland, 0},
                      WallCase{"WorkedExampleWall", synthetic::kLongIsland, 11.42},
                      WallCase{"SouthEast", synthetic::kLongIsland, -45},
                      WallCase{"SouthWest", synthetic::kLongIsland, 60},
                      WallCase{"NorthOfWestInSummer", synthetic::kOsloSummer, 115},
                      WallCase{"NorthOfEastInSummer", synthetic::kOsloSummer, -120},
                      WallCase{"NorthOfEastSouthernSite", synthetic::kSydneyWinter, -100},
                      WallCase{"NorthOfWestSouthernSite", synthetic::kSydneyWinter, 135},
                      WallCase{"NorthAcrossTheSeam", synthetic::kSydneyWinter, 180},
                      WallCase{"JustWestOfNorth", synthetic::kSydneyWinter, 178},
                      WallCase{"JustEastOfNorth", synthetic::kSydneyWinter, -176}),
    [](const auto& info) { return std::string(info.param.name); });

std::vector<kr::Reading> WorkedExample() {
    return {synthetic::At(synthetic::kLongIsland, 11 * 3600, 10, 25),
            synthetic::At(synthetic::kLongIsland, 15 * 3600, 10, 15.46),
            synthetic::At(synthetic::kLongIsland, 16.5 * 3600, 10, 21.07)};
}

TEST(Series, WorkedExampleIsElevenDegreesWest) {
    const kr::SolvedSeries solved = kr::SolveSeries(WorkedExample(), kDefaults);
    const kr::SeriesResult& r = solved.result;
    EXPECT_NEAR(solved.evaluated[0].solution.first, -100.0686, 1e-4);
    EXPECT_NEAR(solved.evaluated[0].solution.second, 11.4248, 1e-4);
    ASSERT_TRUE(r.decided);
    EXPECT_NEAR(*r.declination, 11.42, 0.01);
    EXPECT_GT(r.uncertainty, 0.1);
    EXPECT_LT(r.uncertainty, 1);
    EXPECT_EQ(r.readingsUsed, 3);
    EXPECT_EQ(r.readings[0].chosen, kr::Candidate::Second);
    EXPECT_EQ(r.readings[1].chosen, kr::Candidate::First);
    EXPECT_EQ(r.readings[2].chosen, kr::Candidate::First);
    EXPECT_FALSE(r.minutesToDecide.has_value());
}

// A reading with a shadow measured 15 % too long is flagged and left out; forced back in it
// counts again, and the caller may exclude any reading.
TEST(Series, OutlierFlaggedLeftOutAndCanBeForcedBack) {
    std::vector<kr::Reading> readings = synthetic::DayOfReadings(synthetic::kLongIsland, 20, 6);
    readings[3].length *= 1.15;
    const kr::SeriesResult automatic = kr::SolveSeries(readings, kDefaults).result;
    ASSERT_TRUE(automatic.decided);
    EXPECT_TRUE(automatic.readings[3].outlier);
    EXPECT_FALSE(automatic.readings[3].used);
    EXPECT_GT(automatic.readings[3].residualSigma, 3);
    EXPECT_EQ(automatic.readingsUsed, 5);
    EXPECT_NEAR(*automatic.declination, 20, 0.05);
    for (int i : {0, 1, 2, 4, 5}) {
        EXPECT_FALSE(automatic.readings[i].outlier) << i;
        EXPECT_LT(automatic.readings[i].residualSigma, 3) << i;
    }

    std::vector<kr::Inclusion> say(readings.size(), kr::Inclusion::Automatic);
    say[3] = kr::Inclusion::ForcedIn;
    const kr::SeriesResult forced = kr::SolveSeries(readings, kDefaults, say).result;
    EXPECT_FALSE(forced.readings[3].outlier);
    EXPECT_TRUE(forced.readings[3].used);
    EXPECT_EQ(forced.readingsUsed, 6);
    EXPECT_GT(forced.birgeRatio, 1);

    say[3] = kr::Inclusion::Automatic;
    readings[0].excluded = true;
    const kr::SeriesResult excluded = kr::SolveSeries(readings, kDefaults, say).result;
    EXPECT_FALSE(excluded.readings[0].used);
    EXPECT_FALSE(excluded.readings[0].outlier);
    EXPECT_NE(excluded.readings[0].chosen, kr::Candidate::None);
    EXPECT_EQ(excluded.readingsUsed, 4);
}

// Scatter beyond what the tolerances predict inflates the uncertainty by the Birge ratio.
TEST(Series, LargeScatterInflatesTheUncertainty) {
    std::vector<kr::Reading> readings = synthetic::DayOfReadings(synthetic::kLongIsland, -30, 8);
    const double stretch[] = {1.04, 0.96, 1.03, 0.97, 1.04, 0.96, 1.03, 0.97};
    for (std::size_t i = 0; i < readings.size(); ++i) {
        readings[i].length *= stretch[i];
    }
    std::vector<kr::Inclusion> say(readings.size(), kr::Inclusion::ForcedIn);
    const kr::SolvedSeries solved = kr::SolveSeries(readings, kDefaults, say);
    double weight = 0;
    for (std::size_t i = 0; i < readings.size(); ++i) {
        const double sigma =
            kr::UncertaintyOf(solved.evaluated[i].uncertainty, solved.result.readings[i].chosen);
        weight += 1 / (sigma * sigma);
    }
    ASSERT_GT(solved.result.birgeRatio, 1.5);
    EXPECT_NEAR(solved.result.uncertainty, solved.result.birgeRatio / std::sqrt(weight), 1e-9);
}

struct UndecidedCase {
    const char* name;
    std::vector<double> clockSeconds;
    kr::Decision decision;
};

class Undecided : public ::testing::TestWithParam<UndecidedCase> {};

// Readings too close in time cannot tell the wall from its mirror: both candidates are given,
// the true wall among them, and a later reading that would decide is that many minutes away.
TEST_P(Undecided, SaysSoAndGivesBothCandidatesAndTheWait) {
    const UndecidedCase& c = GetParam();
    constexpr double kWall = 11.42;
    std::vector<kr::Reading> readings;
    for (double clock : c.clockSeconds) {
        readings.push_back(*synthetic::FromWall(synthetic::kLongIsland, kWall, clock));
    }
    const kr::SeriesResult r = kr::SolveSeries(readings, kDefaults).result;
    EXPECT_FALSE(r.decided);
    EXPECT_EQ(r.decision, c.decision);
    EXPECT_FALSE(r.declination.has_value());
    ASSERT_EQ(r.candidates.size(), 2u);
    const double nearest =
        std::min(std::fabs(kr::AngleDifference(r.candidates[0].declination, kWall)),
                 std::fabs(kr::AngleDifference(r.candidates[1].declination, kWall)));
    EXPECT_LT(nearest, 0.05);
    for (const kr::ReadingVerdict& verdict : r.readings) {
        EXPECT_EQ(verdict.chosen, kr::Candidate::None);
        EXPECT_NE(verdict.leaning, kr::Candidate::None);
    }
    ASSERT_TRUE(r.minutesToDecide.has_value());
    EXPECT_GE(*r.minutesToDecide, 1);
    EXPECT_LE(*r.minutesToDecide, 60);

    // A reading that much later decides; the sun's azimuth moved enough.
    readings.push_back(*synthetic::FromWall(
        synthetic::kLongIsland, kWall, c.clockSeconds.back() + 60.0 * (*r.minutesToDecide + 1)));
    const kr::SeriesResult later = kr::SolveSeries(readings, kDefaults).result;
    ASSERT_TRUE(later.decided);
    EXPECT_NEAR(*later.declination, kWall, 0.05);
}

INSTANTIATE_TEST_SUITE_P(
    Readings, Undecided,
    ::testing::Values(
        UndecidedCase{"OneReading", {11 * 3600}, kr::Decision::OneReading},
        UndecidedCase{"TwoAMinuteApart", {11 * 3600, 11 * 3600 + 60}, kr::Decision::SunTooClose},
        UndecidedCase{"ThreeWithinTwoMinutes",
                      {14 * 3600, 14 * 3600 + 60, 14 * 3600 + 120},
                      kr::Decision::SunTooClose}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Series, NothingUsableIsNoReadings) {
    std::vector<kr::Reading> readings = {synthetic::At(synthetic::kLongIsland, 2 * 3600)};
    EXPECT_EQ(kr::SolveSeries(readings, kDefaults).result.decision, kr::Decision::NoReadings);
    readings = WorkedExample();
    std::vector<kr::Inclusion> out(3, kr::Inclusion::ForcedOut);
    const kr::SeriesResult r = kr::SolveSeries(readings, kDefaults, out).result;
    EXPECT_EQ(r.decision, kr::Decision::NoReadings);
    EXPECT_EQ(r.readingsUsed, 0);
    EXPECT_TRUE(r.candidates.empty());
    EXPECT_EQ(kr::SolveSeries({}, kDefaults).result.decision, kr::Decision::NoReadings);
}

// The window drops a reading whose inputs it already has; texts and the flag do not count.
TEST(Reading, SameInputsIgnoresTextsAndTheExcludedFlag) {
    kr::Reading a = synthetic::At(synthetic::kLongIsland, 11 * 3600, 10, 25);
    kr::Reading b = a;
    b.lengthText = "25.0";
    b.excluded = true;
    EXPECT_TRUE(kr::SameInputs(a, b));
    EXPECT_FALSE(a == b);
    b.length = 25.01;
    EXPECT_FALSE(kr::SameInputs(a, b));
    b = a;
    b.daylight = false;
    EXPECT_FALSE(kr::SameInputs(a, b));
}

// Whatever the window lets through (any finite number above zero, any site and zone), a series
// is solved, combined, planned and drawn without a fault: every number it gives is a number or
// says plainly that there is none.
TEST(Series, ExtremeInputsGiveAnswersOrSayThereAreNone) {
    struct Row {
        const char* name;
        double height, length, latitude, longitude, utcOffset, clockSeconds;
    } const rows[] = {
        {"huge square", 1e308, 1, 40, -73, -5, 40000},
        {"tiny shadow", 1, 1e-308, 40, -73, -5, 40000},
        {"huge shadow", 1e-3, 1e300, 40, -73, -5, 40000},
        {"pole at noon", 10, 25, 90, 0, 0, 43200},
        {"south pole at midnight", 10, 25, -90, 180, 12, 0},
        {"date line", 10, 25, -15, -179.9, 14, 86399.999},
        {"last instant of the day", 10, 25, 0, 180, -12, 86399.999},
    };
    std::vector<kr::Reading> readings;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        kr::Reading reading =
            synthetic::At(synthetic::kLongIsland, row.clockSeconds, row.height, row.length);
        reading.latitude = row.latitude;
        reading.longitude = row.longitude;
        reading.utcOffsetHours = row.utcOffset;
        const kr::EvaluatedReading evaluated = kr::EvaluateReading(reading, {});
        EXPECT_TRUE(std::isfinite(evaluated.solution.sunAltitude));
        EXPECT_TRUE(std::isfinite(evaluated.solution.sunAzimuth));
        if (evaluated.solution.solved()) {
            EXPECT_TRUE(std::isfinite(evaluated.solution.first));
            EXPECT_TRUE(std::isfinite(evaluated.solution.second));
            EXPECT_FALSE(std::isnan(evaluated.uncertainty.first));
            EXPECT_FALSE(std::isnan(evaluated.uncertainty.second));
        }
        readings.push_back(reading);
        const kr::SolvedSeries series = kr::SolveSeries(readings, {});
        const kr::PlanView view = kr::MakePlanView(series.evaluated, series.result);
        EXPECT_EQ(view.readings.size(), readings.size());
        if (series.result.declination) {
            EXPECT_TRUE(std::isfinite(*series.result.declination));
        }
        const kr::DayPlan plan = kr::PlanDay(reading, 0, {});
        EXPECT_EQ(plan.samples.size(), 24u * 12);
    }
}

}  // namespace
