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
#include "engine/alignment_calculations.h"
#include "engine/wall_solution.h"

namespace ac = alignment_calculations;

namespace {

int daylightOption = 0;  // -1 or 0, what the window's option button would report
long rangeErrors = 0;

bool AnswerSun(std::istringstream& in) {
    double date = 0, clock = 0, longitude = 0;
    if (!(in >> date >> clock >> daylightOption >> longitude)) return false;
    ac::ObsDate = date;
    ac::ClockTime[1] = clock;
    ac::Longitude = longitude;
    ac::SunPosition(1);
    std::printf("%.17g %.17g\n", ac::SunTable[1][0] * ac::RadToDeg, ac::SunTable[1][1]);
    return true;
}

bool AnswerWall(std::istringstream& in) {
    double date = 0, clock = 0, latitude = 0, longitude = 0, zoneMeridian = 0, H = 0, L = 0;
    if (!(in >> date >> clock >> daylightOption >> latitude >> longitude >> zoneMeridian >> H >>
          L)) {
        return false;
    }
    ac::ObsDate = date;
    ac::ClockTime[1] = clock;
    ac::Latitude = latitude;
    ac::Longitude = longitude;
    ac::ZoneMeridian = zoneMeridian;
    const ac::WallSolution s = ac::SolveShadowMeasurement(H, L);
    std::printf("%d %.17g %.17g %.17g %.17g\n", s.Solvable ? 1 : 0, s.FirstAnswer, s.SecondAnswer,
                s.SunAltitude, s.SunAzimuth);
    return true;
}

}  // namespace

int main() {
    ac::InitConstants();
    ac::SetDaylightOptionSource([] { return daylightOption; });
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
