#include <cmath>

#include "engine_fixture.h"

namespace {

namespace ac = alignment_calculations;

struct SunCase {
    int year, month, day;
    double clock;
    int daylight;
    double longitude;
    double declinationDegrees;
    double equationOfTimeMinutes;
};

// Reference values to five decimals; they cover all three branches of the quadrant rule.
// Source: the worked values that come with the method's formulas, calculated by hand
// independently of this code (not regression pins).
TEST_F(EngineTest, SunPositionReproducesReferenceValues) {
    const SunCase cases[] = {
        {2003, 9, 3, Clock(12, 0, 0), 0, -72.855, 7.52085, +0.59245},
        {1900, 1, 1, Clock(0, 0, 0), 0, 0, -23.06322, -3.43003},
        {2003, 11, 3, Clock(12, 0, 0), 0, 0, -15.02029, +16.42213},
        {2003, 6, 21, Clock(12, 0, 0), -1, 10, 23.43811, -1.66485},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.year << '-' << c.month << '-' << c.day);
        ac::ObsDate = Serial(c.year, c.month, c.day);
        ac::ClockTime[1] = c.clock;
        ac::Longitude = c.longitude;
        daylight = c.daylight;
        ac::SunPosition(1);
        EXPECT_NEAR(ac::SunTable[1][0] * ac::RadToDeg, c.declinationDegrees, 5e-6);
        EXPECT_NEAR(ac::SunTable[1][1], c.equationOfTimeMinutes, 5e-6);
        EXPECT_TRUE(messages.empty());
    }
}

TEST_F(EngineTest, SerialDatesFollowTheSpreadsheetCalendar) {
    EXPECT_EQ(Serial(1900, 1, 1), 2);
    EXPECT_EQ(Serial(2003, 9, 3), 37867);
    EXPECT_EQ(ac::CalendarDay(-1.25), -1);
    EXPECT_EQ(ac::TimeOfDay(-1.25), 0.25);
    EXPECT_EQ(ac::TimeOfDay(37867.75), 0.75);
}

TEST_F(EngineTest, SunPositionWritesOnlyItsOwnRow) {
    ac::ObsDate = Serial(2003, 9, 3);
    ac::ClockTime[2] = Clock(9, 30, 0);
    ac::SunPosition(2);
    EXPECT_NE(ac::SunTable[2][0], 0);
    for (int row : {0, 1, 3}) {
        EXPECT_EQ(ac::SunTable[row][0], 0);
        EXPECT_EQ(ac::SunTable[row][1], 0);
    }
}

// What must come out the same (or nearly so) whichever way an observation is written.
TEST_F(EngineTest, SunPositionDependsOnlyOnDateAndTimeOfDay) {
    auto sunAt = [&](double date, double clock, int dst) {
        ac::ObsDate = date;
        ac::ClockTime[1] = clock;
        daylight = dst;
        ac::SunPosition(1);
        return ac::SunTable[1];
    };
    ac::Longitude = -72.855;
    const double date = Serial(2003, 9, 3);
    const auto reference = sunAt(date, Clock(11, 0, 0), 0);

    // A date carrying a time of day counts by its calendar date alone.
    EXPECT_EQ(sunAt(date + 0.75, Clock(11, 0, 0), 0), reference);
    // A clock reading typed together with a date counts by its time of day alone.
    EXPECT_EQ(sunAt(date, date + Clock(11, 0, 0), 0), reference);
    // The same inputs give the same row, bit for bit.
    EXPECT_EQ(sunAt(date, Clock(11, 0, 0), 0), reference);
    // Daylight-saving time is standard time one hour on, up to rounding in the last bits.
    const auto daylightRow = sunAt(date, Clock(12, 0, 0), -1);
    EXPECT_NEAR(daylightRow[0], reference[0], 1e-12);
    EXPECT_NEAR(daylightRow[1], reference[1], 1e-9);
}

}  // namespace
