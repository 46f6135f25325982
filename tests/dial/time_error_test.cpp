// The time error of a dial laid out for the fitted wall and mounted on a wall that faces a little
// differently, against the dial built, mounted and read by construction.

#include <gtest/gtest.h>

#include <cmath>

#include "construction.h"
#include "dial/dial_layout.h"
#include "dial/dial_summary.h"
#include "dial/time_error.h"

namespace {

namespace kd = kestramo::dial;
using construction::kRad;
using construction::Vector3;

struct Site {
    double latitude, w, e;
};

// The hour angle read on a dial laid out for `site` and mounted rigidly, its own down, right
// and normal on those of the wall (w + dw, e + de), at the sun (h, d): the nodus's shadow on the
// mounted face, in the dial's own axes, lies on the line of the hour read, found by bisection.
double ReadByShadow(const Site& site, double dw, double de, double h, double d) {
    const construction::Plane mounted(site.w + dw, site.e + de);
    const Vector3 sun = construction::Sun(site.latitude, h, d);
    const Vector3 shadow = mounted.normal - (1 / Dot(sun, mounted.normal)) * sun;
    const double x = Dot(shadow, mounted.down), y = Dot(shadow, mounted.right);
    const construction::Plane designed(site.w, site.e);
    const auto offLine = [&](double hour) {
        const auto line = construction::ShadowLine(site.latitude, designed,
                                                   construction::Sun(site.latitude, hour, d));
        const double a = line->angle * kRad;
        return -x * std::sin(a) + y * std::cos(a) - line->distance;
    };
    double low = h - 2, high = h + 2;
    EXPECT_LT(offLine(low) * offLine(high), 0) << "no reading near " << h;
    for (int i = 0; i < 60; ++i) {
        const double middle = (low + high) / 2;
        (offLine(low) * offLine(middle) <= 0 ? high : low) = middle;
    }
    return (low + high) / 2;
}

const Site kWalls[] = {{40.655, 11.42, 0}, {40.655, 11.42, 0.4}, {52, -35, 20}, {-33, 160, -15},
                       {40, -80, 0},       {40, 0, 89.5},        {10, 100, 70}, {-50, 0, 10}};

// The slopes, with the covariance and its correlation, give the spread of the readings of dials
// mounted at the sigma points of that covariance (exact for an error linear in the mounting).
TEST(TimeError, SpreadMatchesDialsMountedAtTheSigmaPoints) {
    const double a = 0.01, b = 0.015;  // degrees, standard deviations of w and e
    for (const Site& s : kWalls) {
        SCOPED_TRACE(testing::Message() << s.latitude << " " << s.w << " " << s.e);
        const construction::Plane plane(s.w, s.e);
        int checked = 0;
        for (double h = -150; h <= 150; h += 7.5) {
            for (double d : {-20.0, -5.0, 0.0, 12.0, 23.0}) {
                const Vector3 sun = construction::Sun(s.latitude, h, d);
                // Clear of the face's edge, so that the designed lines near h are lit too.
                if (sun.z < 0.05 || Dot(sun, plane.normal) < 0.1) {
                    continue;
                }
                const kd::TimeErrorSlopes slopes = kd::SlopesAt(s.latitude, {s.w, s.e}, h, d);
                for (double rho : {-0.9, 0.0, 0.7}) {
                    const kd::WallCovariance c{a * a, b * b, rho * a * b};
                    // Columns of the covariance's Cholesky factor.
                    const double points[2][2] = {{a, rho * b}, {0, b * std::sqrt(1 - rho * rho)}};
                    double variance = 0;
                    for (const auto& p : points) {
                        const double spread = (ReadByShadow(s, p[0], p[1], h, d) -
                                               ReadByShadow(s, -p[0], -p[1], h, d)) /
                                              2;
                        variance += std::pow(spread * kd::kMinutesPerDegree, 2);
                    }
                    const double sigma = kd::TimeErrorSigma(slopes, c);
                    EXPECT_NEAR(sigma, std::sqrt(variance), 1e-3 * sigma + 1e-7) << h << " " << d;
                    ++checked;
                }
            }
        }
        EXPECT_GT(checked, 20);
    }
}

// Each line's time error is the worst over the days the sun is on the face at its hour; the
// covariance scales it by its square root, and an exact wall has none.
TEST(TimeError, HourLinesCarryTheYearsWorstError) {
    const kd::WallCovariance c{0.09, 0.04, 0.02};
    for (const Site& s : kWalls) {
        SCOPED_TRACE(testing::Message() << s.latitude << " " << s.w << " " << s.e);
        const kd::DialLayout dial = kd::LayOutDial({s.latitude, {s.w, s.e}, c});
        const kd::DialLayout wider = kd::LayOutDial({s.latitude, {s.w, s.e}, {0.36, 0.16, 0.08}});
        const kd::DialLayout exact = kd::LayOutDial({s.latitude, {s.w, s.e}, {}});
        const construction::Plane plane(s.w, s.e);
        for (size_t i = 0; i < dial.hourLines.size(); ++i) {
            const kd::HourLine& line = dial.hourLines[i];
            double worst = 0;
            for (double d = -23.44; d <= 23.44; d += 0.1) {
                const Vector3 sun = construction::Sun(s.latitude, line.hourAngle, d);
                if (sun.z > 0 && Dot(sun, plane.normal) > 0) {
                    worst = std::max(
                        worst, kd::TimeErrorSigma(
                                   kd::SlopesAt(s.latitude, {s.w, s.e}, line.hourAngle, d), c));
                }
            }
            EXPECT_NEAR(line.timeErrorMinutes, worst, 0.02 * worst + 1e-9) << line.hourAngle;
            EXPECT_NEAR(wider.hourLines[i].timeErrorMinutes, 2 * line.timeErrorMinutes, 1e-9);
            EXPECT_EQ(exact.hourLines[i].timeErrorMinutes, 0);
        }
    }
}

// The sentence's hours: runs of whole hours of apparent time, through midnight where the sun
// stays up, two where the sun reaches the face only in the morning and evening.
TEST(TimeError, ReadingStretches) {
    struct Case {
        Site site;
        std::vector<std::pair<int, int>> stretches;
    };
    const Case cases[] = {
        {{40.655, 11.42, 0}, {{7, 18}}},    {{40, 0, 90}, {{5, 19}}}, {{70, 180, 0}, {{18, 30}}},
        {{50, 180, 0}, {{4, 7}, {17, 20}}}, {{89, 0, 90}, {{0, 24}}}, {{60, 0, -90}, {}},
    };
    const kd::WallCovariance c{0.09, 0.04, 0};
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.site.latitude << " " << k.site.w << " " << k.site.e);
        const kd::DialLayout dial = kd::LayOutDial({k.site.latitude, {k.site.w, k.site.e}, c});
        const std::vector<kd::ReadingStretch> stretches = kd::ReadingStretches(dial);
        ASSERT_EQ(stretches.size(), k.stretches.size());
        for (size_t i = 0; i < stretches.size(); ++i) {
            EXPECT_EQ(stretches[i].firstHour, k.stretches[i].first);
            EXPECT_EQ(stretches[i].lastHour, k.stretches[i].second);
            double worst = 0;
            for (const kd::HourLine& line : dial.hourLines) {
                const double hour =
                    std::fmod(12 + line.hourAngle / 15 - stretches[i].firstHour + 24, 24);
                if (hour <= stretches[i].lastHour - stretches[i].firstHour) {
                    worst = std::max(worst, line.timeErrorMinutes);
                }
            }
            EXPECT_GT(worst, 0);
            EXPECT_EQ(stretches[i].worstMinutes, worst);
        }
    }
}

}  // namespace
