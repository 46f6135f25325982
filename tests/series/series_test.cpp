// Readings of known walls combined: the wall comes back, the mirrors are ruled out once the sun
// has moved, readings the others do not predict are left out and named, and series that cannot
// decide, or whose readings disagree, say so.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "engine/angles.h"
#include "series/circle_search.h"
#include "series/day_plan.h"
#include "series/plan_view.h"
#include "series/series.h"
#include "synthetic.h"

namespace {

namespace ks = kestramo::series;
using kestramo::AngleDifference;

const ks::Tolerances kDefaults{};

// The tolerances of readings read to the middle of the blur on a wall known to be plumb.
ks::Tolerances MiddleAndPlumb() {
    ks::Tolerances t;
    t.edge = ks::ShadowEdge::Middle;
    t.leanErrorDegrees = 0;
    return t;
}

struct WallCase {
    const char* name;
    synthetic::Site site;
    double wall;  // degrees from south, west positive
};

class KnownWall : public ::testing::TestWithParam<WallCase> {};

// Six readings through the day with their errors drawn: the wall within three standard
// deviations, every reading's chosen answer the true one, nothing left out.
TEST_P(KnownWall, GivesTheWallBackAndRulesOutTheMirrors) {
    const WallCase& c = GetParam();
    std::vector<ks::Reading> readings = synthetic::DayOfReadings(c.site, {c.wall}, 6);
    ASSERT_EQ(readings.size(), 6u);
    std::mt19937_64 random(7);
    std::normal_distribution<double> noise(0, 0.005);
    std::vector<int> exact;
    for (ks::Reading& reading : readings) {
        const ks::ReadingGeometry clean = ks::Examine(reading);
        exact.push_back(std::fabs(AngleDifference(clean.first, c.wall)) <
                                std::fabs(AngleDifference(clean.second, c.wall))
                            ? 1
                            : 2);
        reading.length *= 1 + noise(random);
    }
    const ks::SeriesResult result = ks::SolveSeries(readings, MiddleAndPlumb()).result;
    ASSERT_TRUE(result.decided()) << int(result.verdict);
    EXPECT_GT(*result.declination, -180);
    EXPECT_LE(*result.declination, 180);
    EXPECT_LT(std::fabs(AngleDifference(*result.declination, c.wall)), 3 * result.uncertainty)
        << *result.declination << " +- " << result.uncertainty;
    EXPECT_LT(result.uncertainty, 1.5);
    EXPECT_EQ(result.readingsUsed, 6);
    EXPECT_TRUE(result.alternatives.empty());
    for (std::size_t i = 0; i < readings.size(); ++i) {
        EXPECT_EQ(int(result.readings[i].chosen), exact[i]) << "reading " << i;
        EXPECT_TRUE(result.readings[i].used());
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

std::vector<ks::Reading> WorkedExample() {
    return {synthetic::At(synthetic::kLongIsland, 11 * 3600, 10, 25),
            synthetic::At(synthetic::kLongIsland, 15 * 3600, 10, 15.46),
            synthetic::At(synthetic::kLongIsland, 16.5 * 3600, 10, 21.07)};
}

// Files of readings as people took them, each read with the tolerances it was made with.
struct FileCase {
    const char* name;
    std::vector<ks::Reading> readings;
    ks::Tolerances tolerances;
    double wall;               // the wall the readings were taken of
    std::vector<int> flagged;  // readings (from 0) the series must leave out
    ks::Blunder blunder;       // what explains the first of them
};

ks::Reading Sydney(int hour, int minute, double length) {
    return ks::MakeReading({2024, 12, 1}, hour * 3600 + minute * 60, 10, true, -33.87, 151.21, 10,
                           length);
}

ks::Tolerances SydneyTolerances() {
    ks::Tolerances t;
    t.clockSeconds = 10;
    t.timingSeconds = 10;
    t.lengthPercent = 1;
    t.blurFraction = 0;
    t.heightPercent = 0.5;
    t.tiltDegrees = 0.5;
    t.leanDegrees = 0;
    t.leanErrorDegrees = 0;
    t.edge = ks::ShadowEdge::Middle;
    return t;
}

class ReadingsFile : public ::testing::TestWithParam<FileCase> {};

TEST_P(ReadingsFile, GivesTheWallAndNamesTheSlip) {
    const FileCase& c = GetParam();
    const ks::SolvedSeries solved = ks::SolveSeries(c.readings, c.tolerances);
    const ks::SeriesResult& r = solved.result;
    ASSERT_TRUE(r.decided()) << int(r.verdict);
    EXPECT_TRUE(r.consistent);
    EXPECT_LT(std::fabs(AngleDifference(*r.declination, c.wall)), r.uncertainty)
        << *r.declination << " +- " << r.uncertainty;
    for (std::size_t i = 0; i < c.readings.size(); ++i) {
        const bool flagged =
            std::find(c.flagged.begin(), c.flagged.end(), int(i)) != c.flagged.end();
        EXPECT_EQ(r.readings[i].state == ks::ReadingState::Outlier, flagged) << "reading " << i;
        if (!flagged) {
            EXPECT_LT(std::fabs(r.readings[i].residualSigma), 3.5) << "reading " << i;
        }
    }
    if (!c.flagged.empty()) {
        const ks::ReadingVerdict& slip = r.readings[size_t(c.flagged.front())];
        EXPECT_EQ(slip.blunder, c.blunder);
        // Measured against the fit without it, a reading left out lies beyond the rule.
        EXPECT_GT(std::fabs(slip.residualSigma), 3);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Series, ReadingsFile,
    ::testing::Values(
        // The worked example read to the middle of the blur on a plumb wall.
        FileCase{"WorkedExample", WorkedExample(), MiddleAndPlumb(), 11.42, {}, ks::Blunder::None},
        // Sydney, a wall facing 60 degrees east, the 07:48 reading's clock an hour slow.
        FileCase{"SydneyWithTheClockOfOneReadingAnHourSlow",
                 {Sydney(6, 40, 2.54), Sydney(7, 48, 10.03), Sydney(9, 11, 11.91),
                  Sydney(10, 6, 19.21), Sydney(11, 14, 43.8)},
                 SydneyTolerances(),
                 -60,
                 {1},
                 ks::Blunder::ClockHourSlow}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Series, WorkedExampleReadsTheEngineAnswersAndTheWall) {
    const ks::SolvedSeries solved = ks::SolveSeries(WorkedExample(), MiddleAndPlumb());
    const ks::SeriesResult& r = solved.result;
    EXPECT_NEAR(solved.geometry[0].first, -100.0686, 1e-4);
    EXPECT_NEAR(solved.geometry[0].second, 11.4248, 1e-4);
    ASSERT_TRUE(r.decided());
    EXPECT_NEAR(*r.declination, 11.42, 0.01);
    EXPECT_GT(r.uncertainty, 0.1);
    EXPECT_LT(r.uncertainty, 0.5);
    EXPECT_EQ(r.readingsUsed, 3);
    EXPECT_EQ(r.degreesOfFreedom, 2);
    EXPECT_EQ(r.readings[0].chosen, ks::Candidate::Second);
    EXPECT_EQ(r.readings[1].chosen, ks::Candidate::First);
    EXPECT_EQ(r.readings[2].chosen, ks::Candidate::First);
    EXPECT_FALSE(r.minutesToDecide.has_value());
    // Read to the faint outer edge, as the method says, the morning reading's shadow is half a
    // blur longer than the sun's centre casts it: its wall lies 0.44 degrees away.
    ks::Tolerances outer = MiddleAndPlumb();
    outer.edge = ks::ShadowEdge::Outer;
    const std::vector<ks::Reading> morning = {WorkedExample().front()};
    const ks::SeriesResult middle = ks::SolveSeries(morning, MiddleAndPlumb()).result;
    const ks::SeriesResult edge = ks::SolveSeries(morning, outer).result;
    ASSERT_EQ(middle.alternatives.size(), 2u);
    ASSERT_EQ(edge.alternatives.size(), 2u);
    for (const ks::WallCandidate& wall : edge.alternatives) {
        if (std::fabs(AngleDifference(wall.declination, 11.42)) > 5) continue;
        EXPECT_NEAR(std::fabs(AngleDifference(wall.declination, 11.4248)), 0.44, 0.03);
    }
}

// A reading with a shadow measured 15 % too long is left out; forced back in it counts again,
// and the series says that something is wrong: no widening hides it.
TEST(Series, OutlierLeftOutCanBeForcedBackAndThenTheSeriesDisagrees) {
    std::vector<ks::Reading> readings = synthetic::DayOfReadings(synthetic::kLongIsland, {20}, 6);
    readings[3].length *= 1.15;
    const ks::SeriesResult automatic = ks::SolveSeries(readings, MiddleAndPlumb()).result;
    ASSERT_TRUE(automatic.decided());
    EXPECT_EQ(automatic.readings[3].state, ks::ReadingState::Outlier);
    EXPECT_GT(std::fabs(automatic.readings[3].residualSigma), 3);
    EXPECT_EQ(automatic.readingsUsed, 5);
    EXPECT_NEAR(*automatic.declination, 20, 0.05);

    std::vector<ks::Inclusion> say(readings.size(), ks::Inclusion::Automatic);
    say[3] = ks::Inclusion::ForcedIn;
    const ks::SeriesResult forced = ks::SolveSeries(readings, MiddleAndPlumb(), say).result;
    EXPECT_TRUE(forced.readings[3].used());
    int others = 0;
    for (const ks::ReadingVerdict& verdict : forced.readings) {
        others += verdict.state == ks::ReadingState::Outlier ? 1 : 0;
    }
    EXPECT_TRUE(forced.verdict == ks::Verdict::Inconsistent || others > 0);
    if (forced.verdict == ks::Verdict::Inconsistent) {
        EXPECT_FALSE(forced.declination.has_value());
    }

    say[3] = ks::Inclusion::Automatic;
    say[0] = ks::Inclusion::ForcedOut;
    const ks::SeriesResult excluded = ks::SolveSeries(readings, MiddleAndPlumb(), say).result;
    EXPECT_EQ(excluded.readings[0].state, ks::ReadingState::LeftOutByUser);
    EXPECT_NE(excluded.readings[0].chosen, ks::Candidate::None);
    EXPECT_EQ(excluded.readingsUsed, 4);
}

struct UndecidedCase {
    const char* name;
    std::vector<double> clockSeconds;
};

class Undecided : public ::testing::TestWithParam<UndecidedCase> {};

// Readings too close in time cannot tell the wall from its mirror: both walls are given, the
// true one among them, and a reading that many minutes later decides.
TEST_P(Undecided, SaysSoAndGivesBothWallsAndTheWait) {
    const UndecidedCase& c = GetParam();
    constexpr double kWall = 11.42;
    std::vector<ks::Reading> readings;
    for (double clock : c.clockSeconds) {
        readings.push_back(*synthetic::FromWall(synthetic::kLongIsland, {kWall}, clock));
    }
    const ks::SolvedSeries solved = ks::SolveSeries(readings, MiddleAndPlumb());
    const ks::SeriesResult& r = solved.result;
    EXPECT_EQ(r.verdict, ks::Verdict::Undecided);
    EXPECT_FALSE(r.declination.has_value());
    ASSERT_EQ(r.alternatives.size(), 2u);
    const double nearest =
        std::min(std::fabs(AngleDifference(r.alternatives[0].declination, kWall)),
                 std::fabs(AngleDifference(r.alternatives[1].declination, kWall)));
    EXPECT_LT(nearest, 0.05);
    if (readings.size() == 1) {
        // A lone reading's two answers are the two walls of the fit.
        for (const ks::WallCandidate& wall : r.alternatives) {
            EXPECT_LT(
                std::min(std::fabs(AngleDifference(wall.declination, solved.geometry[0].first)),
                         std::fabs(AngleDifference(wall.declination, solved.geometry[0].second))),
                1e-3);
        }
    }
    for (const ks::ReadingVerdict& verdict : r.readings)
        EXPECT_EQ(verdict.chosen, ks::Candidate::None);
    ASSERT_TRUE(r.minutesToDecide.has_value());
    EXPECT_GE(*r.minutesToDecide, 1);
    EXPECT_LE(*r.minutesToDecide, 90);

    readings.push_back(*synthetic::FromWall(synthetic::kLongIsland, {kWall},
                                            c.clockSeconds.back() + 60.0 * *r.minutesToDecide));
    const ks::SeriesResult later = ks::SolveSeries(readings, MiddleAndPlumb()).result;
    ASSERT_TRUE(later.decided());
    EXPECT_NEAR(*later.declination, kWall, 0.05);

    // The wait counts from the latest reading, whatever the order of the list.
    std::vector<ks::Reading> reversed(readings.rbegin() + 1, readings.rend());
    EXPECT_EQ(ks::SolveSeries(reversed, MiddleAndPlumb()).result.minutesToDecide,
              r.minutesToDecide);
}

INSTANTIATE_TEST_SUITE_P(
    Readings, Undecided,
    ::testing::Values(UndecidedCase{"OneReading", {11 * 3600}},
                      UndecidedCase{"TwoAMinuteApart", {11 * 3600, 11 * 3600 + 60}},
                      UndecidedCase{"ThreeWithinTwoMinutes",
                                    {14 * 3600, 14 * 3600 + 60, 14 * 3600 + 120}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Series, NothingUsableIsNoReadings) {
    std::vector<ks::Reading> readings = {synthetic::At(synthetic::kLongIsland, 2 * 3600)};
    EXPECT_EQ(ks::SolveSeries(readings, kDefaults).result.verdict, ks::Verdict::NoReadings);
    readings = WorkedExample();
    std::vector<ks::Inclusion> out(3, ks::Inclusion::ForcedOut);
    const ks::SeriesResult r = ks::SolveSeries(readings, kDefaults, out).result;
    EXPECT_EQ(r.verdict, ks::Verdict::NoReadings);
    EXPECT_EQ(r.readingsUsed, 0);
    EXPECT_TRUE(r.alternatives.empty());
    EXPECT_EQ(ks::SolveSeries({}, kDefaults).result.verdict, ks::Verdict::NoReadings);
}

// A shadow too short for any vertical wall: alone it gives no wall at all, not a "decided" one
// with no degrees of freedom left to doubt it; a second such shadow agrees no better.
TEST(Series, AShadowNoWallCanCastDecidesNothing) {
    std::vector<ks::Reading> readings = {synthetic::At(synthetic::kLongIsland, 13 * 3600, 10, 0.1)};
    ASSERT_FALSE(ks::Examine(readings[0]).solved());
    ks::SeriesResult r = ks::SolveSeries(readings, kDefaults).result;
    EXPECT_FALSE(r.decided());
    EXPECT_FALSE(r.consistent);
    EXPECT_FALSE(r.readings[0].disagreesMost);
    readings.push_back(synthetic::At(synthetic::kLongIsland, 13 * 3600 + 600, 10, 0.1));
    r = ks::SolveSeries(readings, kDefaults).result;
    EXPECT_FALSE(r.decided());
}

// A slip of the hand (a length of 1e308, or 20 nines) is listed as such and left out; the
// other readings keep their answer, and the user may take it in.
TEST(Series, ReadingsNoOneCouldHaveMeasuredAreLeftOut) {
    for (const double slip : {1e308, 99999999999999999999999.0, 1000.0}) {
        SCOPED_TRACE(slip);
        std::vector<ks::Reading> readings = WorkedExample();
        readings.insert(readings.begin() + 1,
                        synthetic::At(synthetic::kLongIsland, 13 * 3600, 10, slip));
        const ks::SeriesResult r = ks::SolveSeries(readings, MiddleAndPlumb()).result;
        EXPECT_EQ(r.readings[1].state, ks::ReadingState::Implausible);
        ASSERT_TRUE(r.decided());
        EXPECT_NEAR(*r.declination, 11.42, 0.01);
        std::vector<ks::Inclusion> say(readings.size(), ks::Inclusion::Automatic);
        say[1] = ks::Inclusion::ForcedIn;
        const ks::SeriesResult taken = ks::SolveSeries(readings, MiddleAndPlumb(), say).result;
        EXPECT_TRUE(taken.readings[1].used());
        EXPECT_NE(taken.verdict, ks::Verdict::Decided);
    }
}

// Daylight-saving time chosen wrongly for a whole day shifts all its readings by an hour; the
// series names that day and the wall it gives on the other clock kind.
TEST(Series, AWholeDayOnTheWrongClockIsNamed) {
    constexpr double kWall = -20;
    synthetic::Site later = synthetic::kLongIsland;
    later.date.day = 10;
    std::vector<ks::Reading> readings =
        synthetic::DayOfReadings(synthetic::kLongIsland, {kWall}, 3);
    for (ks::Reading reading : synthetic::DayOfReadings(later, {kWall}, 3)) {
        reading.observation.daylightSaving = false;  // the clock showed daylight time
        readings.push_back(reading);
    }
    const ks::SeriesResult r = ks::SolveSeries(readings, MiddleAndPlumb()).result;
    ASSERT_TRUE(r.explanation.has_value());
    EXPECT_EQ(r.explanation->cause, ks::Cause::Daylight);
    EXPECT_EQ(r.explanation->date, later.date);
    EXPECT_FALSE(r.explanation->daylightWasChosen);
    EXPECT_NEAR(r.explanation->declination, kWall, 0.05);
    EXPECT_TRUE(r.explanation->decisive);
}

// A wall leaning 3 degrees back, measured morning and afternoon, is far beyond "looks plumb":
// the series says the lean is the likely cause instead of leaving readings out.
TEST(Series, ALeanFarBeyondItsToleranceIsNamed) {
    const synthetic::Wall wall{-10, 3};
    std::vector<ks::Reading> readings;
    for (double hour : {8.0, 9.5, 10.5, 13.0, 15.5}) {
        const auto reading = synthetic::FromWall(synthetic::kLongIsland, wall, hour * 3600);
        ASSERT_TRUE(reading.has_value()) << hour << " h";
        readings.push_back(*reading);
    }
    ks::Tolerances plumb;
    plumb.edge = ks::ShadowEdge::Middle;
    const ks::SeriesResult r = ks::SolveSeries(readings, plumb).result;
    ASSERT_TRUE(r.explanation.has_value());
    EXPECT_EQ(r.explanation->cause, ks::Cause::Lean);
    EXPECT_NEAR(r.explanation->value, 3, 0.1);
    EXPECT_NEAR(r.explanation->declination, -10, 0.1);
    // Told the lean, the series decides on the wall and fits the lean.
    plumb.leanDegrees = 3;
    const ks::SeriesResult told = ks::SolveSeries(readings, plumb).result;
    ASSERT_TRUE(told.decided());
    EXPECT_NEAR(*told.declination, -10, 0.05);
    EXPECT_NEAR(told.lean, 3, 0.05);
}

// The window drops a reading whose inputs it already has; the typed texts do not count.
TEST(Reading, SameInputsIgnoresTheTypedTexts) {
    ks::Reading a = synthetic::At(synthetic::kLongIsland, 11 * 3600, 10, 25);
    ks::Reading b = a;
    b.lengthText = "25.0";
    EXPECT_TRUE(ks::SameInputs(a, b));
    EXPECT_FALSE(a == b);
    b.length = 25.01;
    EXPECT_FALSE(ks::SameInputs(a, b));
    b = a;
    b.observation.daylightSaving = false;
    EXPECT_FALSE(ks::SameInputs(a, b));
    // A clock reading written to the second and back is the same reading.
    b = a;
    b.observation.clockTime = 39600.0004 / 86400;
    EXPECT_TRUE(ks::SameInputs(a, b));
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
    std::vector<ks::Reading> readings;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ks::Reading reading =
            ks::MakeReading(synthetic::kLongIsland.date, row.clockSeconds, row.utcOffset, true,
                            row.latitude, row.longitude, row.height, row.length);
        const ks::ReadingGeometry geometry = ks::Examine(reading);
        EXPECT_TRUE(std::isfinite(geometry.sunAltitude));
        EXPECT_TRUE(std::isfinite(geometry.sunAzimuth));
        if (geometry.solved()) {
            EXPECT_TRUE(std::isfinite(geometry.first));
            EXPECT_TRUE(std::isfinite(geometry.second));
            const ks::AnswerUncertainty u = ks::SingleReadingUncertainty(geometry, kDefaults);
            EXPECT_FALSE(std::isnan(u.first));
            EXPECT_FALSE(std::isnan(u.second));
        }
        readings.push_back(reading);
        const ks::SolvedSeries series = ks::SolveSeries(readings, kDefaults);
        const ks::PlanView view = ks::MakePlanView(series.geometry, series.result);
        EXPECT_EQ(view.readings.size(), readings.size());
        if (series.result.declination) {
            EXPECT_TRUE(std::isfinite(*series.result.declination));
        }
        for (const ks::ReadingVerdict& verdict : series.result.readings) {
            EXPECT_FALSE(std::isinf(verdict.residualSigma));
        }
        for (std::size_t k = 0; k < series.result.fits.size(); ++k) {
            const ks::DayPlan plan =
                ks::PlanDay(readings[size_t(series.result.latest)], series.result.fits[k],
                            series.result.latestDate, series.result.latestSquare, kDefaults);
            EXPECT_EQ(plan.samples.size(), 24u * 12);
        }
    }
}

}  // namespace
