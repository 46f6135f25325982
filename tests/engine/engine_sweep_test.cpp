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
    for (int year = 1800; year <= 2200; year += 20) {
        for (int month : {1, 3, 6, 9, 12}) {
            ac::ObsDate = Serial(year, month, 15);
            for (double latitude = -90; latitude <= 90; latitude += 15) {
                ac::Latitude = latitude;
                for (double longitude = -180; longitude <= 180; longitude += 30) {
                    ac::Longitude = longitude;
                    for (int zone : {0, 6, 11, 17, 23}) {
                        ac::ZoneMeridian = (zone - 11) * 15.0;
                        for (int dst : {0, -1}) {
                            daylight = dst;
                            for (double clock = 0; clock < 1; clock += 0.125) {
                                ac::ClockTime[1] = clock;
                                for (double ratio = 1e-3; ratio <= 1e3; ratio *= 10) {
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
                            }
                        }
                    }
                }
            }
        }
    }
    EXPECT_TRUE(messages.empty()) << messages.size() << " range errors, first: " << messages[0];
    EXPECT_GT(solvable, total / 10);
}

}  // namespace
