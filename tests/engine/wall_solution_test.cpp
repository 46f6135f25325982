#include <cmath>

#include "engine/wall_solution.h"
#include "engine_fixture.h"

namespace {

namespace ac = alignment_calculations;

class WallSolutionTest : public EngineTest {
  protected:
    // A site on Long Island: 40.655 N, 72.855 W, clocks on US Eastern time.
    void AtLongIsland(int year, int month, int day, double clock, int dst) {
        ac::Latitude = 40.655;
        ac::Longitude = -72.855;
        ac::ZoneMeridian = -75;
        ac::ObsDate = Serial(year, month, day);
        ac::ClockTime[1] = clock;
        daylight = dst;
    }
};

struct WorkedCase {
    const char* name;
    int year, month, day;
    double clock;
    double height, length;
    bool solvable;
    double altitude, azimuth;  // degrees; NAN: not checked
    double first, second;      // degrees
};

// Source: the method's worked measurements, calculated independently of this code step by step
// (shadow angle, sun, hour angle, altitude, azimuth, offset); the first is the example the
// instructions walk through.
TEST_F(WallSolutionTest, ReproducesWorkedMeasurements) {
    const WorkedCase cases[] = {
        {"morning", 2003, 9, 3, Clock(11, 0, 0), 10, 25, true, 48.7126, -44.3219, -100.0686,
         11.4248},
        {"afternoon, shadow too long", 2003, 9, 3, Clock(15, 0, 0), 10, 7, false, 46.1133, NAN, 0,
         0},
        {"first answer wraps", 2003, 6, 21, Clock(6, 30, 0), 10, 40, true, NAN, -111.6242, 172.6755,
         -35.9240},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AtLongIsland(c.year, c.month, c.day, c.clock, -1);
        const ac::WallSolution solution = ac::SolveShadowMeasurement(c.height, c.length);
        ASSERT_EQ(solution.Solvable, c.solvable);
        if (!std::isnan(c.altitude)) {
            EXPECT_NEAR(solution.SunAltitude, c.altitude, 5e-5);
        }
        if (!std::isnan(c.azimuth)) {
            EXPECT_NEAR(solution.SunAzimuth, c.azimuth, 5e-5);
        }
        if (c.solvable) {
            EXPECT_NEAR(solution.FirstAnswer, c.first, 5e-5);
            EXPECT_NEAR(solution.SecondAnswer, c.second, 5e-5);
        }
        EXPECT_TRUE(messages.empty());
    }
}

// Source: the declination and equation of time of the worked morning measurement.
TEST_F(WallSolutionTest, MorningCaseRewritesTheSunRow) {
    AtLongIsland(2003, 9, 3, Clock(11, 0, 0), -1);
    ac::SolveShadowMeasurement(10, 25);
    EXPECT_NEAR(ac::SunTable[1][0] * ac::RadToDeg, 7.5514, 5e-5);
    EXPECT_NEAR(ac::SunTable[1][1], 0.5653, 5e-5);
}

// A shadow exactly as long as the sun allows: both answers are the sun's azimuth.
TEST_F(WallSolutionTest, RatioOfOneGivesTwoEqualAnswers) {
    AtLongIsland(2003, 9, 3, Clock(11, 0, 0), -1);
    const double altitude = ac::SolveShadowMeasurement(10, 25).SunAltitude * ac::DegToRad;
    // tan(s) = H / L with sin(s) = cos(a): L / H = tan(a).
    const auto solution = ac::SolveShadowMeasurement(1, std::tan(altitude));
    ASSERT_TRUE(solution.Solvable);
    EXPECT_NEAR(solution.FirstAnswer, solution.SunAzimuth, 1e-4);
    EXPECT_NEAR(solution.SecondAnswer, solution.SunAzimuth, 1e-4);
}

// A time typed together with a date must count by its time of day alone.
TEST_F(WallSolutionTest, ClockReadingWithDateCountsByTimeOfDay) {
    AtLongIsland(2003, 9, 3, Clock(11, 0, 0), -1);
    const auto plain = ac::SolveShadowMeasurement(10, 25);
    ac::ClockTime[1] = Serial(2003, 9, 3) + Clock(11, 0, 0);
    const auto dated = ac::SolveShadowMeasurement(10, 25);
    // The serial holds the time to about a microsecond once the date is in it.
    EXPECT_NEAR(dated.FirstAnswer, plain.FirstAnswer, 1e-6);
    EXPECT_NEAR(dated.SecondAnswer, plain.SecondAnswer, 1e-6);
}

// Across the date line the same instant is written with two dates: the clock of a zone east of
// the line shows the next day. Written either way, a reading must give the same sun and the same
// walls; at the line itself the hour angle must also be brought into one turn, so that the sun
// stays on its side.
TEST_F(WallSolutionTest, TheSameInstantEitherSideOfTheDateLineGivesTheSameWalls) {
    struct Row {
        const char* site;
        double latitude, longitude;
        int westDay;      // the date of September 2010 west of the line
        double westZone;  // degrees, the zone meridian west of the line
        double eastZone;  // degrees, the zone meridian east of the line
    } const rows[] = {
        {"date line, GMT-12 and GMT+12", -15, -179, 1, -180, 180},
        {"Apia, GMT-11 and GMT+13", -13.83, -171.75, 14, -165, 195},
        {"Kiritimati, GMT-10 and GMT+14", 1.87, -157.4, 20, -150, 210},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.site);
        ac::Latitude = row.latitude;
        ac::Longitude = row.longitude;
        ac::ClockTime[1] = Clock(14, 10, 0);
        ac::ObsDate = Serial(2010, 9, row.westDay);
        ac::ZoneMeridian = row.westZone;
        const auto west = ac::SolveShadowMeasurement(1, 3);
        // The same instant on the east side's clock: the zones differ by a whole day.
        ac::ObsDate = Serial(2010, 9, row.westDay + 1);
        ac::ZoneMeridian = row.eastZone;
        const auto east = ac::SolveShadowMeasurement(1, 3);
        ASSERT_TRUE(west.Solvable);
        ASSERT_EQ(east.Solvable, west.Solvable);
        EXPECT_NEAR(east.SunAltitude, west.SunAltitude, 1e-6);
        EXPECT_NEAR(east.SunAzimuth, west.SunAzimuth, 1e-6);
        EXPECT_NEAR(east.FirstAnswer, west.FirstAnswer, 1e-6);
        EXPECT_NEAR(east.SecondAnswer, west.SecondAnswer, 1e-6);
    }
}

// A reading at apparent noon to the last bit leaves the sun on the meridian, with no side.
TEST_F(WallSolutionTest, SunExactlyOnTheMeridianGivesFiniteAnswers) {
    AtLongIsland(2003, 9, 3, 0.5, 0);
    ac::Longitude = ac::ZoneMeridian = -75;
    // Find a clock reading whose local apparent time comes out at noon to the last bit.
    double nearNoon = 0.5;
    for (int i = 0; i < 5; ++i) {  // the equation of time itself moves with the clock
        ac::ClockTime[1] = nearNoon;
        ac::SunPosition(1);
        nearNoon = 0.5 - ac::SunTable[1][1] / 60 / 24;
    }
    bool atNoon = false;
    double clock = nearNoon;
    for (int step = 0; step < 200 && !atNoon; ++step) {
        clock = nearNoon + (step % 2 ? 1 : -1) * (step / 2) * 0x1p-54;
        ac::ClockTime[1] = clock;
        ac::SunPosition(1);
        const double solar = (0.0 / 24 + clock) + ac::SunTable[1][1] / 60 / 24;
        atNoon = solar - 0.5 == 0;
    }
    ASSERT_TRUE(atNoon);
    const auto solution = ac::SolveShadowMeasurement(1, 3);
    ASSERT_TRUE(solution.Solvable);
    EXPECT_TRUE(std::isfinite(solution.FirstAnswer));
    EXPECT_TRUE(std::isfinite(solution.SecondAnswer));
    EXPECT_NEAR(std::fabs(solution.SunAzimuth), 0, 1e-9);  // the sun stands due south
}

// Close to apparent noon the azimuth cosine can round past -1 (it does in mid-May at 20 and
// 30 degrees north). The sun must stay south of these sites and no range error may be raised.
TEST_F(WallSolutionTest, SunNearTheMeridianStaysSouth) {
    for (double latitude : {20.0, 30.0}) {
        SCOPED_TRACE(latitude);
        ac::Latitude = latitude;
        ac::Longitude = ac::ZoneMeridian = -75;
        ac::ObsDate = Serial(2003, 5, 14);
        ac::ClockTime[1] = 0.5;
        ac::SunPosition(1);
        const double noon = 0.5 - ac::SunTable[1][1] / 60 / 24;
        for (int step = -300; step <= 300; ++step) {
            ac::ClockTime[1] = noon + step * 1e-11;
            const double azimuth = ac::SolveShadowMeasurement(1, 1).SunAzimuth;
            ASSERT_LT(std::fabs(azimuth), 1) << "step " << step;
        }
    }
    EXPECT_TRUE(messages.empty());
}

}  // namespace
