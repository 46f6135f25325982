// The template's millimetres against a published worked example and against the nodus's shadow
// constructed point by point (construction.h), and its standard and mean lines against the
// longitude and the equation of time.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "construction.h"
#include "dial/dial_template.h"
#include "engine/angles.h"

namespace {

namespace kd = kestramo::dial;
using construction::kRad;
using construction::Vector3;

// The nearest distance from a point to any of a set of paths.
double DistanceTo(const std::vector<kd::TemplatePath>& paths, kd::TemplatePoint p) {
    double best = std::numeric_limits<double>::infinity();
    for (const kd::TemplatePath& path : paths) {
        for (std::size_t i = 1; i < path.size(); ++i) {
            const kd::TemplatePoint a = path[i - 1], b = path[i];
            const double dx = b.x - a.x, dy = b.y - a.y;
            const double length2 = dx * dx + dy * dy;
            const double t =
                length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0)
                            : 0;
            best = std::min(best, std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y));
        }
    }
    return best;
}

const kd::TemplateHourLine* LineAt(const kd::DialTemplate& t, int minuteOfDay) {
    for (const kd::TemplateHourLine& line : t.hourLines) {
        if (line.minuteOfDay == minuteOfDay) return &line;
    }
    return nullptr;
}
const kd::TemplateDateLine* DateLineAt(const kd::DialTemplate& t, double declination) {
    for (const kd::TemplateDateLine& line : t.dateLines) {
        if (line.declination == declination) return &line;
    }
    return nullptr;
}

// The nodus's shadow by construction: the wall's normal and axes from construction::Plane, the
// nodus `height` out along the normal from its foot, the root where the polar axis through the
// nodus meets the face; template coordinates from the root, y up the face.
kd::TemplatePoint Constructed(double latitude, double w, double e, double height,
                              const Vector3& sun) {
    const construction::Plane plane(w, e);
    const Vector3 pole{0, std::cos(latitude * kRad), std::sin(latitude * kRad)};
    const Vector3 style = Dot(pole, plane.normal) > 0 ? pole : -pole;
    const Vector3 nodus = height * plane.normal;
    const Vector3 root = nodus - (height / Dot(style, plane.normal)) * style;
    const Vector3 shadow = nodus - (height / Dot(sun, plane.normal)) * sun;
    return {Dot(shadow - root, plane.right), -Dot(shadow - root, plane.down)};
}

kd::TemplateRequest Request(double latitude, double w, double e, double height) {
    kd::TemplateRequest request;
    request.latitude = latitude;
    request.wall = {w, e};
    request.nodusHeight = height;
    request.dateLines = kd::TemplateDateLines::Signs;
    request.minutes = 15;
    return request;
}

// Meeus, Astronomical Algorithms (2nd ed.), Example 58.a: latitude +40, a plane declining 70
// degrees west whose perpendicular stylus of length 1 points 50 degrees from the zenith (the
// face leans back 40). The polar style rises 12.2672 from the plane, its root lies at (+3.3880,
// -3.1102) from the stylus's foot and the tip's shadow at 11h with the sun at -11.47 falls at
// (-2.0007, -1.1069) from the foot, x to the right, y up.
TEST(DialTemplate, MeeusExample58a) {
    kd::TemplateRequest request = Request(40, 70, 40, 1);
    request.plateSize = kd::TemplatePoint{20, 20};
    request.rootFromCorner = kd::TemplatePoint{10, 10};
    const kd::DialTemplate t = kd::MakeDialTemplate(request);
    EXPECT_NEAR(t.layout.styleHeight, 12.2672, 1e-4);
    EXPECT_NEAR(std::atan2(t.gnomon.nodus.y, t.gnomon.nodus.x) / kRad, 12.2672, 1e-4);
    EXPECT_NEAR(t.gnomon.nodus.y, 1, 1e-12);
    EXPECT_NEAR(t.nodusFoot.x, -3.3880, 1e-4);
    EXPECT_NEAR(t.nodusFoot.y, 3.1102, 1e-4);
    const kd::TemplatePoint shadow{-2.0007 - 3.3880, -1.1069 + 3.1102};
    const kd::TemplateHourLine* eleven = LineAt(t, 11 * 60);
    ASSERT_NE(eleven, nullptr);
    EXPECT_LT(DistanceTo(eleven->pieces, shadow), 2e-4);
    const kd::TemplateDateLine* sign = DateLineAt(t, -11.47);
    ASSERT_NE(sign, nullptr);
    EXPECT_LT(DistanceTo(sign->pieces, shadow), 2e-4);
    EXPECT_NEAR(t.styleLength, std::hypot(3.3880, 3.1102, 1), 1e-3);
}

// Every date line runs through the nodus's shadow constructed at each hour the sun is on the
// face, and the hour line of that hour through the same point: vertical declining walls, leaning
// walls, both hemispheres, a 100 mm nodus on a plate a metre across.
TEST(DialTemplate, LinesRunThroughTheNodussShadowConstructedPointByPoint) {
    struct Wall {
        double latitude, w, e;
    };
    const Wall walls[] = {{40.655, 11.42, 0}, {52, -35, 0},  {-34, 160, 0},
                          {40, 70, 40},       {48, 20, -15}, {-27, -40, 25}};
    int checked = 0;
    for (const Wall& wall : walls) {
        SCOPED_TRACE(testing::Message() << wall.latitude << " " << wall.w << " " << wall.e);
        kd::TemplateRequest request = Request(wall.latitude, wall.w, wall.e, 100);
        request.plateSize = kd::TemplatePoint{1000, 1000};
        const kd::DialTemplate t = kd::MakeDialTemplate(request);
        ASSERT_EQ(t.dateLines.size(), 7u);
        for (int minute = 0; minute < 1440; minute += 15) {
            const double h = 15 * (minute / 60.0 - 12);
            for (const kd::TemplateDateLine& dates : t.dateLines) {
                const Vector3 sun = construction::Sun(wall.latitude, h, dates.declination);
                const construction::Plane plane(wall.w, wall.e);
                if (sun.z < 0.02 || Dot(sun, plane.normal) < 0.02) continue;
                const kd::TemplatePoint p = Constructed(wall.latitude, wall.w, wall.e, 100, sun);
                const kd::PlateRect& r = t.plate;
                if (p.x < r.left + 1 || p.x > r.right - 1 || p.y < r.bottom + 1 ||
                    p.y > r.top - 1) {
                    continue;
                }
                EXPECT_LT(DistanceTo(dates.pieces, p), 0.05) << minute << " " << dates.declination;
                const kd::TemplateHourLine* line = LineAt(t, minute);
                ASSERT_NE(line, nullptr) << minute;
                EXPECT_LT(DistanceTo(line->pieces, p), 1e-6) << minute;
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 300);
}

// The clock-time lines of sites east and west of their zone's meridian, in both hemispheres.
// The standard line of clock noon lies at the hour angle of the longitude's difference from the
// zone's meridian (worked by hand). On 3 November the equation of time is +16.4 minutes (the
// sun fast), so the mean curve of clock noon passes where the shadow falls 16.4 minutes of
// apparent time, 4.1 degrees, later than on the standard line.
TEST(DialTemplate, StandardAndMeanLinesFollowTheLongitudeAndTheEquationOfTime) {
    struct Site {
        double latitude, longitude, zone, w, noonHourAngle;
    };
    const Site sites[] = {
        {40.655, -72.855, -5, 11.42, 2.145},  // New York: east of 75 W
        {-33.87, 151.21, 10, 175, 1.21},      // Sydney: east of 150 E, a wall facing north
        {52.37, 4.90, 1, -20, -10.10},        // Amsterdam: west of 15 E
        {-34.60, -58.38, -3, 170, -13.38},    // Buenos Aires: west of 45 W
    };
    for (const Site& site : sites) {
        SCOPED_TRACE(testing::Message() << site.latitude << " " << site.longitude);
        kd::TemplateRequest request = Request(site.latitude, site.w, 0, 100);
        request.longitude = site.longitude;
        request.zoneOffset = site.zone;
        request.year = 2003;
        request.hours = kd::TemplateHours::Standard;
        request.plateSize = kd::TemplatePoint{2000, 2000};
        const kd::DialTemplate standard = kd::MakeDialTemplate(request);
        const kd::TemplateHourLine* noon = LineAt(standard, 720);
        ASSERT_NE(noon, nullptr);
        ASSERT_TRUE(noon->hourAngle);
        EXPECT_NEAR(*noon->hourAngle, site.noonHourAngle, 0.005);

        request.hours = kd::TemplateHours::Mean;
        const kd::DialTemplate mean = kd::MakeDialTemplate(request);
        const kd::TemplateHourLine* clockNoon = LineAt(mean, 720);
        ASSERT_NE(clockNoon, nullptr);
        EXPECT_FALSE(clockNoon->hourAngle);
        // The sun of 3 November 2003 at clock noon: declination -15.0 (almanac) and the
        // equation of time +16.4 minutes.
        const Vector3 sun = construction::Sun(site.latitude, site.noonHourAngle + 16.43 / 4, -15.0);
        const kd::TemplatePoint p = Constructed(site.latitude, site.w, 0, 100, sun);
        EXPECT_LT(DistanceTo(clockNoon->pieces, p), 0.5);
    }
}

// The default plate holds the root and three nodus heights around the nodus's foot; a plate
// given by size and root's place is that rectangle, and every line stops at its edge.
TEST(DialTemplate, PlatesHoldWhatTheyShouldAndLinesStopAtTheirEdges) {
    const kd::DialTemplate fitted = kd::MakeDialTemplate(Request(40.655, 11.42, 0, 100));
    const kd::PlateRect& p = fitted.plate;
    EXPECT_LE(p.left, std::min(0.0, fitted.nodusFoot.x - 300));
    EXPECT_GE(p.right, std::max(0.0, fitted.nodusFoot.x + 300));
    EXPECT_LE(p.bottom, std::min(0.0, fitted.nodusFoot.y - 300));
    EXPECT_GE(p.top, std::max(0.0, fitted.nodusFoot.y + 300));
    EXPECT_LT(p.Width(), 600 + 2 * std::fabs(fitted.nodusFoot.x) + 10);

    kd::TemplateRequest request = Request(40.655, 11.42, 0, 100);
    request.plateSize = kd::TemplatePoint{400, 300};
    request.rootFromCorner = kd::TemplatePoint{250, 20};
    const kd::DialTemplate t = kd::MakeDialTemplate(request);
    EXPECT_DOUBLE_EQ(t.plate.left, -250);
    EXPECT_DOUBLE_EQ(t.plate.right, 150);
    EXPECT_DOUBLE_EQ(t.plate.top, 20);
    EXPECT_DOUBLE_EQ(t.plate.bottom, -280);
    const auto inside = [&](const std::vector<kd::TemplatePath>& paths) {
        for (const kd::TemplatePath& path : paths) {
            for (const kd::TemplatePoint& q : path) {
                if (q.x < -250 - 1e-9 || q.x > 150 + 1e-9 || q.y < -280 - 1e-9 || q.y > 20 + 1e-9)
                    return false;
            }
        }
        return true;
    };
    for (const kd::TemplateHourLine& line : t.hourLines) {
        EXPECT_TRUE(inside(line.pieces) && inside(line.earlyPieces) && inside(line.latePieces));
    }
    for (const kd::TemplateDateLine& line : t.dateLines) EXPECT_TRUE(inside(line.pieces));
}

}  // namespace

// The lines one standard deviation early and late run beside their hour line, on straight lines
// and on mean time's curves alike: never a chord across the plate from where the sun leaves the
// face.
TEST(DialTemplate, ErrorLinesRunBesideTheirHourLine) {
    for (const kd::TemplateHours hours : {kd::TemplateHours::Apparent, kd::TemplateHours::Mean}) {
        kd::TemplateRequest request = Request(40.655, 11.42, 0, 100);
        request.longitude = -72.855;
        request.zoneOffset = -5;
        request.hours = hours;
        request.minutes = 60;
        request.covariance = {0.04, 0.25, 0.02};
        const kd::DialTemplate t = kd::MakeDialTemplate(request);
        ASSERT_GT(t.hourLines.size(), 8u);
        for (const kd::TemplateHourLine& line : t.hourLines) {
            SCOPED_TRACE(kd::ClockLabel(line.minuteOfDay));
            EXPECT_GT(line.timeErrorMinutes, 0);
            if (line.hourAngle) {
                EXPECT_FALSE(line.earlyPieces.empty() || line.latePieces.empty());
            }
            for (const auto* pieces : {&line.earlyPieces, &line.latePieces}) {
                for (const kd::TemplatePath& piece : *pieces) {
                    for (const kd::TemplatePoint& p : piece) {
                        EXPECT_LT(DistanceTo(line.pieces, p), 10);
                    }
                }
            }
        }
    }
}
