#include <cmath>

#include "engine/wall_solution.h"
#include "engine_fixture.h"

namespace {

namespace ac = alignment_calculations;

// Every observation the window admits must give finite answers inside one half turn, with
// no range error on the way.
TEST_F(EngineTest, SweepOfAdmissibleObservationsGivesFiniteAnswers) {
    long solvable = 0;
    long total = 0;
    ForEachSweptObservation(20, [&](const kestramo::Observation&) {
        for (double ratio = 1e-3; ratio <= 1e3 && !HasFatalFailure(); ratio *= 10) {
            const auto s = ac::SolveShadowMeasurement(ratio, 1);
            ++total;
            ASSERT_TRUE(std::isfinite(s.SunAltitude));
            ASSERT_TRUE(std::isfinite(s.SunAzimuth));
            ASSERT_LE(std::fabs(s.SunAzimuth), 180);
            if (!s.Solvable) continue;
            ++solvable;
            ASSERT_TRUE(std::isfinite(s.FirstAnswer));
            ASSERT_TRUE(std::isfinite(s.SecondAnswer));
            ASSERT_LE(std::fabs(s.FirstAnswer), 180);
            ASSERT_LE(std::fabs(s.SecondAnswer), 180);
        }
    });
    EXPECT_TRUE(messages.empty()) << messages.size() << " range errors, first: " << messages[0];
    EXPECT_GT(solvable, total / 10);
}

}  // namespace
