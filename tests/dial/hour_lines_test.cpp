// The dial's style and hour lines against the classical formulas of gnomonics and against the
// construction of construction.h.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "construction.h"
#include "dial/dial_layout.h"
#include "engine/angles.h"

namespace {

namespace kd = kestramo::dial;
using construction::kRad;
using construction::Vector3;

kd::DialLayout Layout(double latitude, double w, double e, kd::WallCovariance c = {}) {
    return kd::LayOutDial({latitude, {w, e}, c});
}
double Gap(double a, double b) { return std::fabs(kestramo::WrapHalfTurn(a - b)); }

// The style height (signed: positive when the style points to the north pole) and the
// substyle's hour angle of a plane of declination d and zenith distance i of its normal, after
// F. J. de Vries, "Computation of flat sundials" (De Zonnewijzerkring):
// sin v = sin phi cos i - cos d cos phi sin i; tan ts = sin i sin d / (cos phi cos i + sin phi
// sin i cos d), the quadrant from the signs of numerator and denominator.
struct StyleTriangle {
    double height, substyleHourAngle;
};
StyleTriangle DeVries(double latitude, double w, double e) {
    const double phi = latitude * kRad, d = w * kRad, i = (90 - e) * kRad;
    return {
        std::asin(std::sin(phi) * std::cos(i) - std::cos(d) * std::cos(phi) * std::sin(i)) / kRad,
        std::atan2(std::sin(i) * std::sin(d),
                   std::cos(phi) * std::cos(i) + std::sin(phi) * std::sin(i) * std::cos(d)) /
            kRad};
}

struct Site {
    double latitude, w, e;
};

// A vertical declining dial (Waugh, "Sundials: their theory and construction", ch. 10, with the
// declination D west positive): sin SH = cos phi cos D, tan SD = sin D / tan phi, and the hour
// line tan X = cos phi / (cot h cos D + sin phi sin D), all from the noon line. Walls facing
// away from the equator carry the style toward the other pole, which turns the figure by 180.
TEST(HourLines, VerticalDecliningDialsFollowTheClassicalFormulas) {
    const Site walls[] = {{40.655, 11.42, 0}, {52, -35, 0},   {30, 60, 0},  {60, 0, 0},
                          {-34, 170, 0},      {-34, -150, 0}, {-34, 20, 0}, {15, -100, 0}};
    for (const Site& s : walls) {
        SCOPED_TRACE(testing::Message() << s.latitude << " " << s.w);
        const double phi = s.latitude * kRad, w = s.w * kRad;
        const double k = std::cos(w) > 0 ? 1 : -1;
        const kd::DialLayout dial = Layout(s.latitude, s.w, s.e);
        EXPECT_NEAR(dial.styleHeight, std::asin(std::cos(phi) * std::fabs(std::cos(w))) / kRad,
                    1e-9);
        EXPECT_LT(Gap(dial.substyleAngle,
                      std::atan2(k * std::cos(phi) * std::sin(w), k * std::sin(phi)) / kRad),
                  1e-9);
        EXPECT_LT(Gap(dial.substyleHourAngle, DeVries(s.latitude, s.w, s.e).substyleHourAngle),
                  1e-9);
        ASSERT_FALSE(dial.hourLines.empty());
        for (const kd::HourLine& line : dial.hourLines) {
            const double h = line.hourAngle * kRad;
            const double x = std::atan2(
                k * std::cos(phi) * std::sin(h),
                k * (std::cos(h) * std::cos(w) + std::sin(phi) * std::sin(w) * std::sin(h)));
            EXPECT_LT(Gap(line.angle, x / kRad), 1e-9) << line.hourAngle;
        }
    }
}

// A plane through the east-west line is a horizontal dial of latitude |v|: tan X = sin|v| tan h,
// the noon line down the face when the style points to the pole on the face's lower side (the
// south pole on a face toward the south), up it otherwise.
TEST(HourLines, FacesThroughTheEastWestLineAreHorizontalDialsOfAnotherLatitude) {
    const Site faces[] = {{40, 0, 90},  {52, 0, 60},  {52, 0, 30},    {40, 0, -20}, {-30, 0, 45},
                          {-30, 0, 90}, {60, 0, -45}, {-40, 180, 30}, {35, 180, 80}};
    for (const Site& s : faces) {
        SCOPED_TRACE(testing::Message() << s.latitude << " " << s.w << " " << s.e);
        const double v = DeVries(s.latitude, s.w, s.e).height;
        const kd::DialLayout dial = Layout(s.latitude, s.w, s.e);
        EXPECT_NEAR(dial.styleHeight, std::fabs(v), 1e-9);
        ASSERT_FALSE(dial.hourLines.empty());
        // Facing north, the afternoon is on the left: the figure is mirrored.
        const double hand = s.w == 0 ? 1 : -1;
        for (const kd::HourLine& line : dial.hourLines) {
            const double h = line.hourAngle * kRad;
            const double x =
                std::atan2(hand * std::sin(std::fabs(v) * kRad) * std::sin(h), std::cos(h)) / kRad;
            EXPECT_LT(Gap(line.angle, (v < 0) == (s.w == 0) ? x : 180 - x), 1e-9) << line.hourAngle;
        }
    }
}

// Any face: each hour line is where the shadow of a nodus on a polar style falls, on every day the
// sun is on the face at that hour, and no such hour is missing.
TEST(HourLines, DecliningLeaningDialsMatchTheShadowConstruction) {
    const Site faces[] = {{40.655, 11.42, 0.4}, {52, -35, 20}, {52, 140, -25}, {-33, 160, 15},
                          {-33, -60, -40},      {10, 100, 70}, {65, -170, 5},  {40, 30, 89.9999},
                          {-20, 75, -50},       {0, 180, 10}};
    for (const Site& s : faces) {
        SCOPED_TRACE(testing::Message() << s.latitude << " " << s.w << " " << s.e);
        const kd::DialLayout dial = Layout(s.latitude, s.w, s.e);
        const construction::Plane plane(s.w, s.e);
        const Vector3 pole{0, std::cos(s.latitude * kRad), std::sin(s.latitude * kRad)};
        EXPECT_NEAR(dial.styleHeight, std::fabs(DeVries(s.latitude, s.w, s.e).height), 1e-9);
        EXPECT_LT(Gap(dial.substyleHourAngle, DeVries(s.latitude, s.w, s.e).substyleHourAngle),
                  1e-9);
        EXPECT_LT(
            Gap(dial.substyleAngle, plane.AngleOf(Dot(pole, plane.normal) > 0 ? pole : -pole)),
            1e-9);
        int checked = 0;
        for (int i = -23; i <= 24; ++i) {
            const double h = 7.5 * i;
            const kd::HourLine* line = nullptr;
            for (const kd::HourLine& l : dial.hourLines) {
                line = l.hourAngle == h ? &l : line;
            }
            for (double d : {-23.4, -16.0, -8.0, 0.0, 8.0, 16.0, 23.4}) {
                const auto shadow = construction::ShadowLine(s.latitude, plane,
                                                             construction::Sun(s.latitude, h, d));
                if (!shadow) {
                    continue;
                }
                ASSERT_NE(line, nullptr) << "no line for the lit hour angle " << h;
                EXPECT_LT(Gap(line->angle, shadow->angle), 1e-8) << h << " " << d;
                EXPECT_NEAR(line->distance, shadow->distance,
                            1e-8 * (1 + std::fabs(shadow->distance)));
                ++checked;
            }
        }
        EXPECT_GT(checked, 10);
    }
}

// Faces whose plane holds the polar axis carry parallel hour lines, each tan(h - hs) style heights
// from the substyle (Waugh, ch. 8, east and west dials). Faces a hair away from it are ordinary
// dials whose root is far off: their lines near the nodus are all but the polar ones.
TEST(HourLines, PolarAndNearPolarDialsHaveParallelLines) {
    struct Polar {
        Site site;
        double firstHour, lastHour;  // apparent time of the first and last lines
    };
    const Polar faces[] = {{{40, -90, 0}, 5, 11.5},    {{40, 90, 0}, 12.5, 19},
                           {{40, 0, 50}, 6.5, 17.5},   {{90, 30, 0}, 8.5, 19.5},
                           {{0, 0, 90}, 6.5, 17.5},    {{-30, -90, 0}, 5.5, 11.5},
                           {{-30, 180, 60}, 6.5, 17.5}};
    for (const Polar& p : faces) {
        const Site& s = p.site;
        SCOPED_TRACE(testing::Message() << s.latitude << " " << s.w << " " << s.e);
        const kd::DialLayout dial = Layout(s.latitude, s.w, s.e);
        ASSERT_EQ(dial.kind, kd::DialKind::Polar);
        EXPECT_EQ(dial.styleHeight, 0);
        EXPECT_FALSE(dial.rootDistance.has_value());
        const Vector3 pole{0, std::cos(s.latitude * kRad), std::sin(s.latitude * kRad)};
        EXPECT_LT(Gap(dial.substyleAngle,
                      construction::Plane(s.w, s.e).AngleOf(s.latitude >= 0 ? pole : -pole)),
                  1e-9);
        EXPECT_LT(Gap(dial.substyleHourAngle, DeVries(s.latitude, s.w, s.e).substyleHourAngle),
                  1e-9);
        ASSERT_FALSE(dial.hourLines.empty());
        EXPECT_EQ(12 + dial.hourLines.front().hourAngle / 15, p.firstHour);
        EXPECT_EQ(12 + dial.hourLines.back().hourAngle / 15, p.lastHour);
        const double side = s.latitude >= 0 ? -1 : 1;
        for (const kd::HourLine& line : dial.hourLines) {
            EXPECT_EQ(line.angle, dial.substyleAngle);
            EXPECT_NEAR(line.distance,
                        side * std::tan((line.hourAngle - dial.substyleHourAngle) * kRad),
                        1e-9 * (1 + std::fabs(line.distance)));
        }
        for (double nudge : {1e-6, -1e-6, 1e-9, 1e-13}) {
            const kd::DialLayout near = Layout(s.latitude, s.w + nudge, s.e + nudge);
            // A face a hair off the polar one may see the sun graze it at one more hour.
            ASSERT_LE(near.hourLines.size() - dial.hourLines.size(), 1u) << nudge;
            for (const kd::HourLine& b : dial.hourLines) {
                const auto match =
                    std::find_if(near.hourLines.begin(), near.hourLines.end(),
                                 [&](const kd::HourLine& l) { return l.hourAngle == b.hourAngle; });
                ASSERT_NE(match, near.hourLines.end()) << nudge << " " << b.hourAngle;
                const kd::HourLine& a = *match;
                // The same line whichever way it is counted: parallel, at the same place.
                const double turn = std::cos((a.angle - b.angle) * kRad);
                EXPECT_NEAR(std::fabs(turn), 1, 1e-6) << nudge << " " << b.hourAngle;
                EXPECT_NEAR(turn * a.distance, b.distance, 1e-3 * (1 + std::fabs(b.distance)));
            }
        }
    }
}

// The faces that meet a clear answer: the plumb wall facing the equator, the equatorial dial,
// the horizontal dial, faces the sun never reaches. First and last lines are in apparent time.
TEST(HourLines, SpecialFaces) {
    struct Special {
        Site site;
        kd::DialKind kind;
        double styleHeight, noonAngle;
        size_t lines;
        double firstHour, lastHour;
    };
    const Special faces[] = {
        {{40, 0, 0}, kd::DialKind::Ordinary, 50, 0, 23, 6.5, 17.5},
        {{-35, 180, 0}, kd::DialKind::Ordinary, 55, 0, 23, 6.5, 17.5},
        {{0, 0, 0}, kd::DialKind::Equatorial, 90, 0, 23, 6.5, 17.5},
        {{40, 0, -40}, kd::DialKind::Equatorial, 90, 0, 23, 6.5, 17.5},
        {{90, 0, 90}, kd::DialKind::Equatorial, 90, 180, 48, 0.5, 24},
        {{40, 0, 90}, kd::DialKind::Ordinary, 40, 180, 29, 5, 19},
        {{-40, 0, 90}, kd::DialKind::Ordinary, 40, 0, 29, 5, 19},
        {{60, 0, -90}, kd::DialKind::Ordinary, 60, 0, 0, 0, 0},
        {{-35, 30, -90}, kd::DialKind::Ordinary, 35, 0, 0, 0, 0},
    };
    for (const Special& f : faces) {
        const Site& s = f.site;
        SCOPED_TRACE(testing::Message() << s.latitude << " " << s.w << " " << s.e);
        const kd::DialLayout dial = Layout(s.latitude, s.w, s.e);
        EXPECT_EQ(dial.kind, f.kind);
        EXPECT_NEAR(dial.styleHeight, f.styleHeight, 1e-9);
        ASSERT_EQ(dial.hourLines.size(), f.lines);
        if (f.lines == 0) {
            continue;
        }
        EXPECT_EQ(12 + dial.hourLines.front().hourAngle / 15, f.firstHour);
        EXPECT_EQ(12 + dial.hourLines.back().hourAngle / 15, f.lastHour);
        for (const kd::HourLine& line : dial.hourLines) {
            if (line.hourAngle == 0) {
                EXPECT_LT(Gap(line.angle, f.noonAngle), 1e-9);
            } else if (s.w == 0 && line.hourAngle > 0 && line.hourAngle < 180) {
                EXPECT_GT(line.angle, 0) << line.hourAngle;
            }
        }
    }
}

// Mirror images: east and west swapped (w to -w) mirror the face and the hours; north and south
// swapped (latitude to -latitude, w to 180 - w) mirror the face alone. The time errors follow.
TEST(HourLines, MirroredWallsGiveMirroredDials) {
    const Site walls[] = {{40.655, 11.42, 0.4}, {52, -35, 20}, {-33, 160, -15}, {65, 100, 70}};
    const kd::WallCovariance c{0.04, 0.09, 0};
    for (const Site& s : walls) {
        SCOPED_TRACE(testing::Message() << s.latitude << " " << s.w << " " << s.e);
        const kd::DialLayout dial = Layout(s.latitude, s.w, s.e, c);
        const kd::DialLayout eastWest = Layout(s.latitude, -s.w, s.e, c);
        const kd::DialLayout northSouth = Layout(-s.latitude, 180 - s.w, s.e, c);
        ASSERT_EQ(eastWest.hourLines.size(), dial.hourLines.size());
        ASSERT_EQ(northSouth.hourLines.size(), dial.hourLines.size());
        const size_t n = dial.hourLines.size();
        for (size_t i = 0; i < n; ++i) {
            const kd::HourLine& line = dial.hourLines[i];
            const kd::HourLine& mirror = eastWest.hourLines[n - 1 - i];
            if (line.hourAngle != 180) {
                EXPECT_EQ(mirror.hourAngle, -line.hourAngle);
            }
            EXPECT_LT(Gap(mirror.angle, -line.angle), 1e-9);
            EXPECT_NEAR(mirror.timeErrorMinutes, line.timeErrorMinutes, 1e-6);
            const kd::HourLine& flipped = northSouth.hourLines[i];
            EXPECT_EQ(flipped.hourAngle, line.hourAngle);
            EXPECT_LT(Gap(flipped.angle, -line.angle), 1e-9);
            EXPECT_NEAR(flipped.timeErrorMinutes, line.timeErrorMinutes, 1e-6);
        }
    }
}

// Every latitude and orientation, the poles, the equator and the edges of the ranges included,
// gives finite numbers in their ranges.
TEST(HourLines, EveryFaceGivesFiniteNumbersInRange) {
    const kd::WallCovariance c{0.04, 0.09, -0.02};
    for (double latitude : {-90.0, -89.999, -66.5, -23.44, -0.0, 0.0, 1e-9, 45.0, 89.999, 90.0}) {
        for (double w : {-180.0, -179.9, -90.0, -45.0, 0.0, 30.0, 90.0, 135.0, 180.0}) {
            for (double e : {-90.0, -60.0, -10.0, 0.0, 10.0, 45.0, 89.9, 90.0}) {
                SCOPED_TRACE(testing::Message() << latitude << " " << w << " " << e);
                const kd::DialLayout dial = Layout(latitude, w, e, c);
                EXPECT_GE(dial.styleHeight, 0);
                EXPECT_LE(dial.styleHeight, 90);
                EXPECT_TRUE(std::isfinite(dial.substyleAngle));
                EXPECT_TRUE(std::isfinite(dial.substyleHourAngle));
                EXPECT_TRUE(std::isfinite(dial.rootDistance.value_or(0)));
                double previous = -180;
                for (const kd::HourLine& line : dial.hourLines) {
                    EXPECT_GT(line.hourAngle, previous);
                    previous = line.hourAngle;
                    EXPECT_EQ(std::fmod(line.hourAngle, 7.5), 0);
                    EXPECT_GT(line.angle, -180);
                    EXPECT_LE(line.angle, 180);
                    EXPECT_TRUE(std::isfinite(line.distance));
                    EXPECT_TRUE(std::isfinite(line.timeErrorMinutes));
                    EXPECT_GE(line.timeErrorMinutes, 0);
                }
            }
        }
    }
    EXPECT_TRUE(Layout(NAN, 0, 0).hourLines.empty());
    EXPECT_TRUE(Layout(40, INFINITY, 0).hourLines.empty());
}

}  // namespace
