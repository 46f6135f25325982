// Feeds observations to the real engine and prints what it computes, one line per request, so
// that tools/accuracy/accuracy_report.py can hold the engine against a high-accuracy ephemeris.
//
// Requests on stdin, one per line, numbers in C locale:
//   sun  DATE CLOCK DAYLIGHT LONGITUDE
//     -> declination_degrees equation_of_time_minutes
//   wall DATE CLOCK DAYLIGHT LATITUDE LONGITUDE ZONE_MERIDIAN H L
//     -> solvable first_answer second_answer sun_altitude sun_azimuth   (degrees)
// DATE is a serial day (day 0 is 30 December 1899), CLOCK the clock reading as a fraction of a
// day, DAYLIGHT -1 when the clock shows daylight-saving time and 0 when not; angles in degrees,
// east and north positive. A malformed line is answered with "error" so that the caller's
// line count stays in step.

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>

#include "engine/Trig_Functions.h"
#include "engine/angles.h"
#include "engine/shadow_solution.h"
#include "engine/sun_ephemeris.h"

namespace {

long rangeErrors = 0;

bool AnswerSun(std::istringstream& in) {
    kestramo::Observation observation;
    int daylight = 0;
    if (!(in >> observation.date >> observation.clockTime >> daylight >> observation.longitude)) {
        return false;
    }
    observation.daylightSaving = daylight != 0;
    const kestramo::SunEphemeris sun = kestramo::SunAt(observation);
    std::printf("%.17g %.17g\n", sun.declination * kestramo::kRadToDeg, sun.equationOfTime);
    return true;
}

bool AnswerWall(std::istringstream& in) {
    kestramo::Observation observation;
    int daylight = 0;
    double H = 0, L = 0;
    if (!(in >> observation.date >> observation.clockTime >> daylight >> observation.latitude >>
          observation.longitude >> observation.zoneMeridian >> H >> L)) {
        return false;
    }
    observation.daylightSaving = daylight != 0;
    const kestramo::WallSolution s = kestramo::SolveWall(observation, H, L);
    std::printf("%d %.17g %.17g %.17g %.17g\n", s.Solvable ? 1 : 0, s.FirstAnswer, s.SecondAnswer,
                s.SunAltitude, s.SunAzimuth);
    return true;
}

}  // namespace

int main() {
    // A range error is counted, not shown: the caller learns of it from the count at the end.
    Trig_Functions::SetRangeErrorHandler([](const std::string&) { ++rangeErrors; });
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream in(line);
        std::string request;
        in >> request;
        const bool answered =
            (request == "sun" && AnswerSun(in)) || (request == "wall" && AnswerWall(in));
        if (!answered) std::printf("error\n");
    }
    std::fprintf(stderr, "range errors: %ld\n", rangeErrors);
    return 0;
}
