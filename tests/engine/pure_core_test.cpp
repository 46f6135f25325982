// The shared-state calls are wrappers over the pure core: over the whole sweep of admissible
// observations they must give the core's results to the bit.

#include <cmath>
#include <cstring>
#include <numbers>

#include "engine/alignment_calculations.h"
#include "engine/shadow_solution.h"
#include "engine/wall_solution.h"
#include "engine_fixture.h"

namespace {

namespace ac = alignment_calculations;

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST_F(EngineTest, SharedStateCallsGiveTheCoreResultsToTheBit) {
    long compared = 0;
    ForEachSweptObservation(40, [&](const kestramo::Observation& observation) {
        const kestramo::SunEphemeris sun = kestramo::SunAt(observation);
        for (double ratio = 1e-3; ratio <= 1e3 && !HasFatalFailure(); ratio *= 10) {
            const ac::WallSolution wrapped = ac::SolveShadowMeasurement(ratio, 1);
            ASSERT_TRUE(SameBits(ac::SunTable[1][0], sun.declination));
            ASSERT_TRUE(SameBits(ac::SunTable[1][1], sun.equationOfTime));
            const ac::WallSolution core = kestramo::SolveWall(observation, ratio, 1);
            ASSERT_EQ(wrapped.Solvable, core.Solvable);
            ASSERT_TRUE(SameBits(wrapped.SunAltitude, core.SunAltitude));
            ASSERT_TRUE(SameBits(wrapped.SunAzimuth, core.SunAzimuth));
            if (core.Solvable) {
                ASSERT_TRUE(SameBits(wrapped.FirstAnswer, core.FirstAnswer));
                ASSERT_TRUE(SameBits(wrapped.SecondAnswer, core.SecondAnswer));
            }
            ++compared;
        }
    });
    EXPECT_GT(compared, 100000);
}

// The angle constants do not wait for InitConstants: the arcsine of 1 is a right angle from the
// first call on.
TEST(TrigFunctionsWithoutInit, ArcSinOfOneIsARightAngle) {
    EXPECT_DOUBLE_EQ(Trig_Functions::ArcSin(1), std::numbers::pi / 2);
    EXPECT_DOUBLE_EQ(Trig_Functions::ArcSin(1 + 1e-12), std::numbers::pi / 2 * (1 + 1e-12));
}

// Calendar dates to serial days: the epochs the engine and the window rely on.
TEST(SerialDayOf, KnownDates) {
    struct Row {
        int year, month, day;
        double serial;
    } const rows[] = {
        {1899, 12, 30, 0},    {1900, 1, 1, 2},       {1970, 1, 1, 25569},     {2003, 9, 3, 37867},
        {2000, 2, 29, 36585}, {1600, 3, 1, -109511}, {9999, 12, 31, 2958465},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(kestramo::SerialDayOf(row.year, row.month, row.day), row.serial)
            << row.year << "-" << row.month << "-" << row.day;
    }
}

}  // namespace
