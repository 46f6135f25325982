#include <cmath>
#include <limits>

#include "engine_fixture.h"

namespace {

using Trig_Functions::ArcCos;
using Trig_Functions::ArcSin;
using Trig_Functions::ArcTan;
constexpr double kPi = 3.141592653589793;

// Source: IEEE 754 doubles nearest to pi, pi / 180 and 180 / pi.
TEST_F(EngineTest, InitConstantsSetsConstantsAndNoonOnly) {
    alignment_calculations::InitConstants();  // a second run changes nothing
    EXPECT_EQ(alignment_calculations::Pi, 3.141592653589793);
    EXPECT_EQ(alignment_calculations::DegToRad, 0.017453292519943295);
    EXPECT_EQ(alignment_calculations::RadToDeg, 57.29577951308232);
    EXPECT_EQ(alignment_calculations::ClockTime[0], 0.5);
    EXPECT_EQ(alignment_calculations::ClockTime[1], 0);
    EXPECT_EQ(alignment_calculations::ClockTime[2], 0);
    EXPECT_EQ(alignment_calculations::ClockTime[3], 0);
    for (const auto& row : alignment_calculations::SunTable) {
        EXPECT_EQ(row[0], 0);
        EXPECT_EQ(row[1], 0);
    }
}

struct InverseCase {
    const char* name;
    double (*function)(double);
    double argument;
    double expected;
    const char* message;  // nullptr: no message
};

TEST_F(EngineTest, InverseFunctionsFollowTheirRangeRules) {
    const double justAboveOne = 1 + std::pow(2.0, -52);
    const InverseCase cases[] = {
        {"ArcSin(0.5)", ArcSin, 0.5, kPi / 6, nullptr},
        {"ArcSin(1)", ArcSin, 1, kPi / 2, nullptr},
        {"ArcSin(-1)", ArcSin, -1, -kPi / 2, nullptr},
        {"ArcSin inside slack", ArcSin, 1.000000000005, 1.000000000005 * kPi / 2, nullptr},
        {"ArcSin at slack", ArcSin, 1.00000000001, 0, "Input out of ArcSine range"},
        {"ArcSin(-2)", ArcSin, -2, 0, "Input out of ArcSine range"},
        {"ArcSin(NaN)", ArcSin, std::nan(""), 0, "Input out of ArcSine range"},
        {"ArcCos(1)", ArcCos, 1, 0, nullptr},
        {"ArcCos(-1)", ArcCos, -1, kPi, nullptr},
        {"ArcCos(0)", ArcCos, 0, kPi / 2, nullptr},
        {"ArcCos(0.5)", ArcCos, 0.5, kPi / 3, nullptr},
        {"ArcCos just above 1", ArcCos, justAboveOne, 0, "Input out of ArcCos range"},
        {"ArcCos just below -1", ArcCos, -justAboveOne, 0, "Input out of ArcCos range"},
        {"ArcTan(1)", ArcTan, 1, kPi / 4, nullptr},
        {"ArcTan(1e300)", ArcTan, 1e300, kPi / 2, nullptr},
        {"ArcTan(-inf)", ArcTan, -std::numeric_limits<double>::infinity(), -kPi / 2, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        EXPECT_NEAR(c.function(c.argument), c.expected, 1e-15);
        if (c.message) {
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_EQ(messages[0], c.message);
        } else {
            EXPECT_TRUE(messages.empty());
        }
    }
}

}  // namespace
