#include "engine/alignment_calculations.h"

#include <cmath>
#include <utility>

#include "engine/serial_time.h"
#include "engine/sun_ephemeris.h"

namespace alignment_calculations {
namespace {

std::function<int()>& DaylightSource() {
    static std::function<int()> source;
    return source;
}

}  // namespace

void InitConstants() {
    Pi = 4 * std::atan(1.0);
    DegToRad = Pi / 180;
    RadToDeg = 180 / Pi;
    ClockTime[0] = 0.5;
}

void SetDaylightOptionSource(std::function<int()> source) { DaylightSource() = std::move(source); }

int DaylightOption() {
    const auto& source = DaylightSource();
    return source ? source() : 0;
}

double CalendarDay(DateTime value) { return kestramo::CalendarDay(value); }

double TimeOfDay(DateTime value) { return kestramo::TimeOfDay(value); }

kestramo::Observation CurrentObservation(std::int16_t slot) {
    return {
        .date = ObsDate,
        .clockTime = ClockTime[slot],
        .latitude = Latitude,
        .longitude = Longitude,
        .zoneMeridian = ZoneMeridian,
        .daylightSaving = DaylightOption() != 0,
    };
}

void SunPosition(std::int16_t slot) {
    const kestramo::SunEphemeris sun = kestramo::SunAt(CurrentObservation(slot));
    SunTable[slot][0] = sun.declination;
    SunTable[slot][1] = sun.equationOfTime;
}

}  // namespace alignment_calculations
