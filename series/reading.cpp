#include "series/reading.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "engine/serial_time.h"

namespace kestramo::series {
namespace {

constexpr double kDegreesPerHour = 15;

}  // namespace

CalendarDate DateOf(const Reading& reading) { return CalendarDateOf(reading.observation.date); }

double ClockSecondsOf(const Reading& reading) {
    return TimeOfDay(reading.observation.clockTime) * kSecondsPerDay;
}

double UtcOffsetHoursOf(const Reading& reading) {
    return reading.observation.zoneMeridian / kDegreesPerHour;
}

Reading MakeReading(const CalendarDate& date, double clockSeconds, double utcOffsetHours,
                    bool daylight, double latitude, double longitude, double height,
                    double length) {
    Reading reading;
    reading.observation = {
        .date = SerialDayOf(date),
        .clockTime = clockSeconds / kSecondsPerDay,
        .latitude = latitude,
        .longitude = longitude,
        .zoneMeridian = utcOffsetHours * kDegreesPerHour,
        .daylightSaving = daylight,
    };
    reading.height = height;
    reading.length = length;
    return reading;
}

bool SameInputs(const Reading& a, const Reading& b) {
    const Observation& x = a.observation;
    const Observation& y = b.observation;
    const auto millisecond = [](const Reading& r) {
        return std::llround(ClockSecondsOf(r) * 1000);
    };
    // A bearing's moment means nothing: its file leaves it empty.
    const bool moment = Timed(a.method) || Timed(b.method);
    return (!moment ||
            (CalendarDay(x.date) == CalendarDay(y.date) && millisecond(a) == millisecond(b) &&
             x.zoneMeridian == y.zoneMeridian && x.daylightSaving == y.daylightSaving)) &&
           x.latitude == y.latitude && x.longitude == y.longitude && a.method == b.method &&
           a.height == b.height && a.length == b.length && a.tipX == b.tipX && a.tipY == b.tipY &&
           a.placement == b.placement && a.angle == b.angle && a.bearing == b.bearing &&
           a.bearingError == b.bearingError;
}

namespace {

constexpr std::pair<Method, const char*> kMethodWords[] = {
    {Method::Square, "square"},
    {Method::Board, "board"},
    {Method::Declinometer, "declinometer"},
    {Method::Bearing, "bearing"},
};

}  // namespace

const char* MethodWord(Method method) {
    for (const auto& [m, word] : kMethodWords) {
        if (m == method) return word;
    }
    return "square";
}

std::optional<Method> MethodOfWord(std::string_view word) {
    if (word.empty()) return Method::Square;
    for (const auto& [m, w] : kMethodWords) {
        if (word == w) return m;
    }
    return std::nullopt;
}

int RowsOf(Method method) { return method == Method::Board ? 2 : 1; }

bool Timed(Method method) { return method != Method::Bearing; }

Reading ShiftedClock(const Reading& reading, double seconds) {
    Reading shifted = reading;
    double clock = std::fmod(ClockSecondsOf(reading) + seconds, kSecondsPerDay);
    if (clock < 0) {
        clock += kSecondsPerDay;
    }
    shifted.observation.clockTime = (clock >= kSecondsPerDay ? 0 : clock) / kSecondsPerDay;
    return shifted;
}

std::string ClockText(double seconds, ClockPrecision precision) {
    const bool withSeconds = precision != ClockPrecision::Minutes;
    const long unit = withSeconds ? 1 : 60;
    const long whole = std::lround(seconds / unit) * unit % static_cast<long>(kSecondsPerDay);
    char text[16];
    if (precision == ClockPrecision::Seconds ||
        (precision == ClockPrecision::SecondsWhenAny && whole % 60 != 0)) {
        std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", whole / 3600, whole / 60 % 60,
                      whole % 60);
    } else {
        std::snprintf(text, sizeof text, "%02ld:%02ld", whole / 3600, whole / 60 % 60);
    }
    return text;
}

std::string DateText(const CalendarDate& date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year % 10000, date.month % 100,
                  date.day % 100);
    return text;
}

}  // namespace kestramo::series
