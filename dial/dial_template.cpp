#include "dial/dial_template.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "dial/sky.h"
#include "dial/sun_on_face.h"
#include "engine/angles.h"
#include "engine/sun_ephemeris.h"

namespace kestramo::dial {

namespace {

// How far, as a cosine, the sun must stand clear of the horizon and of the face to cast a
// shadow worth drawing.
constexpr double kClear = 1e-9;
constexpr double kDefaultReach = 3;     // nodus heights around the nodus's foot
constexpr double kRootReach = 10;       // beyond this many nodus heights the plate leaves the root
constexpr double kPlateRounding = 5;    // millimetres the default plate's edges round out to
constexpr double kDateLineStep = 0.25;  // degrees of hour angle between a date line's samples
constexpr int kRefinements = 6;         // halvings of a date line's step where it runs fast
constexpr double kSmooth = 2;           // millimetres: a chord longer than this is halved

// The template's geometry in the horizon frame of sky.h: the root at the origin.
struct Space {
    double latitude = 0;
    WallFrame frame;
    Vector3 style;  // unit, out of the face toward the pole in front of it
    double sinStyleHeight = 0;
    Vector3 nodus;  // from the root, millimetres
    double height = 0;

    TemplatePoint OnFace(Vector3 v) const { return {Dot(v, frame.right), -Dot(v, frame.down)}; }
    // The sun's direction when it is above the horizon and in front of the face.
    std::optional<Vector3> SunOnTheFace(double hourAngle, double declination) const {
        const Vector3 sun = SunDirection(latitude, hourAngle, declination);
        if (sun.z <= kClear || Dot(sun, frame.normal) <= kClear) return std::nullopt;
        return sun;
    }
    // Where the nodus's shadow falls for a sun in front of the face.
    TemplatePoint Shadow(Vector3 sun) const {
        return OnFace(nodus - (height / Dot(sun, frame.normal)) * sun);
    }
    // The shadow at an hour angle and declination, when the sun is on the face then.
    std::optional<TemplatePoint> ShadowAt(double hourAngle, double declination) const {
        const std::optional<Vector3> sun = SunOnTheFace(hourAngle, declination);
        if (!sun) return std::nullopt;
        return Shadow(*sun);
    }
    // The unit direction from the root of the line on which the style's shadow falls at an hour
    // angle: the hour circle's plane cut by the face, written in the circle's own axes, the
    // style and the equator's point.
    TemplatePoint HourLineDirection(double hourAngle) const {
        const Vector3 equator = EquatorAt(latitude, hourAngle);
        const TemplatePoint d =
            OnFace(Dot(equator, frame.normal) * style - sinStyleHeight * equator);
        const double length = std::hypot(d.x, d.y);
        return {d.x / length, d.y / length};
    }
};

double Distance(TemplatePoint a, TemplatePoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

// Paths through points, each run of visible points clipped to the plate; a point that is not
// visible ends the run.
class PathBuilder {
  public:
    explicit PathBuilder(const PlateRect& plate) : plate_(plate) {}
    void Add(std::optional<TemplatePoint> point) {
        if (point && last_) AddSegment(*last_, *point);
        if (!point) open_ = false;
        last_ = point;
    }
    std::vector<TemplatePath> Take() { return std::move(paths_); }

  private:
    void AddSegment(TemplatePoint a, TemplatePoint b) {
        const auto clipped = ClipSegment(a, b, plate_);
        if (!clipped) {
            open_ = false;
            return;
        }
        const bool continues = open_ && Distance(clipped->first, a) == 0;
        if (!continues) paths_.push_back({clipped->first});
        paths_.back().push_back(clipped->second);
        open_ = Distance(clipped->second, b) == 0;
    }
    PlateRect plate_;
    std::vector<TemplatePath> paths_;
    std::optional<TemplatePoint> last_;
    bool open_ = false;
};

std::vector<TemplatePath> Ray(TemplatePoint direction, const PlateRect& plate) {
    const double reach =
        2 * (std::hypot(plate.left, plate.top) + std::hypot(plate.right, plate.bottom) +
             plate.Width() + plate.Height());
    const auto clipped = ClipSegment({0, 0}, {reach * direction.x, reach * direction.y}, plate);
    if (!clipped) return {};
    return {{clipped->first, clipped->second}};
}

// The sun's declination (degrees) and the equation of time (minutes) at a clock time of the
// zone's standard time on a day.
struct SunOfDay {
    double declination = 0;
    double equationOfTime = 0;
};
SunOfDay SunOn(const TemplateRequest& request, SerialDay day, int minuteOfDay) {
    Observation observation;
    observation.date = day;
    observation.clockTime = minuteOfDay / 1440.0;
    observation.latitude = request.latitude;
    observation.longitude = request.longitude;
    observation.zoneMeridian = request.zoneOffset * 15;
    const SunEphemeris sun = SunAt(observation);
    return {sun.declination * kRadToDeg, sun.equationOfTime};
}

// The sun's apparent hour angle at a time of the zone's standard time, the equation of time
// aside: the hour from noon and the site's longitude from the zone's meridian.
double StandardHourAngle(const TemplateRequest& request, int minuteOfDay) {
    return WrapHalfTurn(15 * (minuteOfDay / 60.0 - 12) +
                        (request.longitude - 15 * request.zoneOffset));
}

PlateRect DefaultPlate(TemplatePoint foot, double height) {
    const double reach = kDefaultReach * height;
    PlateRect plate{foot.x - reach, foot.y - reach, foot.x + reach, foot.y + reach};
    if (std::hypot(foot.x, foot.y) <= kRootReach * height) {
        plate.left = std::min(plate.left, 0.0);
        plate.right = std::max(plate.right, 0.0);
        plate.bottom = std::min(plate.bottom, 0.0);
        plate.top = std::max(plate.top, 0.0);
    }
    const auto down = [](double v) { return std::floor(v / kPlateRounding) * kPlateRounding; };
    const auto up = [](double v) { return std::ceil(v / kPlateRounding) * kPlateRounding; };
    return {down(plate.left), down(plate.bottom), up(plate.right), up(plate.top)};
}

PlateRect PlateOf(const TemplateRequest& request, TemplatePoint foot, double height) {
    const PlateRect fallback = DefaultPlate(foot, height);
    if (!request.plateSize) return fallback;
    const double width = request.plateSize->x;
    const double plateHeight = request.plateSize->y;
    TemplatePoint corner;  // the root from the top-left corner, right and down
    if (request.rootFromCorner) {
        corner = *request.rootFromCorner;
    } else {  // the default plate's middle at the new plate's middle
        corner = {width / 2 - (fallback.left + fallback.right) / 2,
                  plateHeight / 2 + (fallback.bottom + fallback.top) / 2};
    }
    return {-corner.x, corner.y - plateHeight, width - corner.x, corner.y};
}

// The straight line of one time: its hour angle and the hour angles one standard deviation
// either side.
void DrawStraight(const Space& space, const TemplateRequest& request, const PlateRect& plate,
                  TemplateHourLine& line, double hourAngle, const DeclinationRange& days) {
    line.hourAngle = hourAngle;
    line.pieces = Ray(space.HourLineDirection(hourAngle), plate);
    line.timeErrorMinutes =
        WorstTimeError(space.latitude, request.wall, request.covariance, hourAngle, days);
    if (!std::isfinite(line.timeErrorMinutes)) return;
    const double shift = line.timeErrorMinutes / kMinutesPerDegree;
    line.earlyPieces = Ray(space.HourLineDirection(hourAngle - shift), plate);
    line.latePieces = Ray(space.HourLineDirection(hourAngle + shift), plate);
}

// The curve of one time of the zone's standard time through the year, from 1 January to 1
// January, and beside it the curves one standard deviation early and late.
bool DrawMean(const Space& space, const TemplateRequest& request, const PlateRect& plate,
              TemplateHourLine& line) {
    const SerialDay first = SerialDayOf(request.year, 1, 1);
    const int days = int(SerialDayOf(request.year + 1, 1, 1) - first);
    PathBuilder curve(plate), early(plate), late(plate);
    bool seen = false;
    line.timeErrorMinutes = 0;
    for (int i = 0; i <= days; ++i) {
        const SunOfDay sun = SunOn(request, first + i, line.minuteOfDay);
        const double hourAngle =
            StandardHourAngle(request, line.minuteOfDay) + sun.equationOfTime / kMinutesPerDegree;
        const std::optional<Vector3> direction = space.SunOnTheFace(hourAngle, sun.declination);
        if (!direction) {
            for (PathBuilder* builder : {&curve, &early, &late}) builder->Add(std::nullopt);
            continue;
        }
        seen = true;
        curve.Add(space.Shadow(*direction));
        const double sigma = TimeErrorSigma(
            SlopesAt(space.latitude, request.wall, hourAngle, sun.declination), request.covariance);
        if (!std::isfinite(sigma)) continue;
        line.timeErrorMinutes = std::max(line.timeErrorMinutes, sigma);
        const double shift = sigma / kMinutesPerDegree;
        early.Add(space.ShadowAt(hourAngle - shift, sun.declination));
        late.Add(space.ShadowAt(hourAngle + shift, sun.declination));
    }
    line.pieces = curve.Take();
    line.earlyPieces = early.Take();
    line.latePieces = late.Take();
    return seen;
}

std::vector<TemplateHourLine> HourLines(const Space& space, const TemplateRequest& request,
                                        const PlateRect& plate) {
    std::vector<TemplateHourLine> lines;
    const int step = request.minutes == 60 || request.minutes == 15 ? request.minutes : 30;
    for (int minute = 0; minute < 1440; minute += step) {
        TemplateHourLine line;
        line.minuteOfDay = minute;
        if (request.hours == TemplateHours::Mean) {
            if (!DrawMean(space, request, plate, line)) continue;
        } else {
            const double hourAngle = request.hours == TemplateHours::Apparent
                                         ? WrapHalfTurn(15 * (minute / 60.0 - 12))
                                         : StandardHourAngle(request, minute);
            const std::optional<DeclinationRange> days =
                SunOnFace(space.latitude, space.frame, hourAngle);
            if (!days) continue;
            DrawStraight(space, request, plate, line, hourAngle, *days);
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

// Halves the step between two hour angles of a date line while its chord is long near the
// plate, so that the curve drawn stays on the shadow's path.
void AddRefined(const Space& space, double declination, PathBuilder& builder, const PlateRect& near,
                double from, std::optional<TemplatePoint> a, double to, int depth) {
    const auto at = [&](double hourAngle) { return space.ShadowAt(hourAngle, declination); };
    const std::optional<TemplatePoint> b = at(to);
    if (depth < kRefinements && a && b && Distance(*a, *b) > kSmooth && ClipSegment(*a, *b, near)) {
        const double middle = (from + to) / 2;
        AddRefined(space, declination, builder, near, from, a, middle, depth + 1);
        AddRefined(space, declination, builder, near, middle, at(middle), to, depth + 1);
        return;
    }
    builder.Add(b);
}

std::vector<std::string> DatesOf(const TemplateRequest& request, double declination) {
    static constexpr std::array<const char*, 12> kMonths = {
        "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const SerialDay first = SerialDayOf(request.year, 1, 1);
    const int days = int(SerialDayOf(request.year + 1, 1, 1) - first);
    std::vector<double> sun(std::size_t(days + 1));
    for (int i = 0; i <= days; ++i)
        sun[std::size_t(i)] = SunOn(request, first + i, 720).declination;
    // The days nearest the sun's crossing of the declination; at a solstice's declination, the
    // day it turns back.
    std::vector<int> found;
    const bool extreme = std::fabs(declination) >= kObliquity - 0.05;
    for (int i = 0; i < days; ++i) {
        const double here = sun[std::size_t(i)], next = sun[std::size_t(i + 1)];
        if (extreme) {
            const double before = i > 0 ? sun[std::size_t(i - 1)] : here;
            const double sign = declination > 0 ? 1 : -1;
            if (i > 0 && sign * (here - before) >= 0 && sign * (here - next) > 0)
                found.push_back(i);
        } else if ((here - declination) * (next - declination) <= 0 && here != next) {
            found.push_back(std::fabs(here - declination) <= std::fabs(next - declination) ? i
                                                                                           : i + 1);
        }
    }
    std::vector<std::string> dates;
    for (int i : found) {
        const CalendarDate date = CalendarDateOf(first + i);
        char text[16];
        std::snprintf(text, sizeof text, "%d %s", date.day, kMonths[std::size_t(date.month - 1)]);
        if (dates.empty() || dates.back() != text) dates.emplace_back(text);
    }
    return dates;
}

std::vector<TemplateDateLine> DateLines(const Space& space, const TemplateRequest& request,
                                        const PlateRect& plate) {
    const double margin = plate.Width() + plate.Height();
    const PlateRect near{plate.left - margin, plate.bottom - margin, plate.right + margin,
                         plate.top + margin};
    std::vector<TemplateDateLine> lines;
    for (double declination : DateLineDeclinations(request.dateLines)) {
        TemplateDateLine line;
        line.declination = declination;
        PathBuilder builder(plate);
        double from = -180;
        std::optional<TemplatePoint> a = space.ShadowAt(from, declination);
        builder.Add(a);
        for (double to = from + kDateLineStep; to <= 180 + 1e-9; to += kDateLineStep) {
            AddRefined(space, declination, builder, near, from, a, to, 0);
            a = space.ShadowAt(to, declination);
            from = to;
        }
        line.pieces = builder.Take();
        if (line.pieces.empty()) continue;
        line.dates = DatesOf(request, declination);
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace

std::string ClockLabel(int minuteOfDay) {
    const int wrapped = ((minuteOfDay % 1440) + 1440) % 1440;
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", wrapped / 60, wrapped % 60);
    return text;
}

std::vector<double> DateLineDeclinations(TemplateDateLines kind) {
    switch (kind) {
        case TemplateDateLines::None:
            return {};
        case TemplateDateLines::Solstices:
            return {kObliquity, 0, -kObliquity};
        case TemplateDateLines::Signs:
            return {kObliquity, 20.15, 11.47, 0, -11.47, -20.15, -kObliquity};
    }
    return {};
}

std::optional<std::pair<TemplatePoint, TemplatePoint>> ClipSegment(TemplatePoint a, TemplatePoint b,
                                                                   const PlateRect& rect) {
    // Liang and Barsky: the segment a + t (b - a), t in [0, 1], against each edge in turn.
    const double dx = b.x - a.x, dy = b.y - a.y;
    double low = 0, high = 1;
    const std::array<std::pair<double, double>, 4> edges = {
        std::pair{-dx, a.x - rect.left}, std::pair{dx, rect.right - a.x},
        std::pair{-dy, a.y - rect.bottom}, std::pair{dy, rect.top - a.y}};
    for (const auto& [p, q] : edges) {
        if (p == 0) {
            if (q < 0) return std::nullopt;
            continue;
        }
        const double t = q / p;
        if (p < 0) {
            low = std::max(low, t);
        } else {
            high = std::min(high, t);
        }
    }
    if (!(low <= high)) return std::nullopt;
    const auto at = [&](double t) {
        return t == 0 ? a : t == 1 ? b : TemplatePoint{a.x + t * dx, a.y + t * dy};
    };
    return std::pair{at(low), at(high)};
}

DialTemplate MakeDialTemplate(const TemplateRequest& request) {
    DialTemplate result;
    result.request = request;
    result.layout = LayOutDial({request.latitude, request.wall, request.covariance});
    const double height = request.nodusHeight;
    if (result.layout.kind == DialKind::Polar || !(height > 0) || !std::isfinite(height) ||
        !std::isfinite(request.longitude) || !std::isfinite(request.zoneOffset) ||
        result.layout.hourLines.empty()) {
        return result;
    }
    Space space;
    space.latitude = std::clamp(request.latitude, -90.0, 90.0);
    space.frame = FrameOf(
        {WrapHalfTurn(request.wall.declination), std::clamp(request.wall.lean, -90.0, 90.0)});
    const Vector3 pole = NorthPole(space.latitude);
    space.style = Dot(pole, space.frame.normal) > 0 ? pole : -pole;
    space.sinStyleHeight = Dot(space.style, space.frame.normal);
    space.height = height;
    space.nodus = (height / space.sinStyleHeight) * space.style;

    const Vector3 foot = space.nodus - height * space.frame.normal;
    result.nodusFoot = space.OnFace(foot);
    result.plate = PlateOf(request, result.nodusFoot, height);
    result.styleLength = height / space.sinStyleHeight;
    const double base = std::hypot(result.nodusFoot.x, result.nodusFoot.y);
    result.gnomon = {{0, 0}, {base, 0}, {base, height}};
    if (base > 0) {
        result.substyle = Ray({result.nodusFoot.x / base, result.nodusFoot.y / base}, result.plate);
    }
    result.hourLines = HourLines(space, request, result.plate);
    result.dateLines = DateLines(space, request, result.plate);
    return result;
}

}  // namespace kestramo::dial
