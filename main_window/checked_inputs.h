#pragma once

#include <QString>

// The inputs of one measurement as validation passed them: what the calculation, the report and
// the readings take, so that nothing has to read the boxes again.
struct CheckedInputs {
    double date = 0;              // serial date as typed; only its calendar date counts
    double clockTime = 0;         // serial clock reading as typed; only its time of day counts
    double latitude = 0;          // degrees, north positive
    double longitude = 0;         // degrees, east positive, west negative
    bool west = false;            // the west option was chosen
    double zoneMeridian = 0;      // degrees, east positive: the zone's offset in hours * 15
    bool daylightSaving = false;  // clock readings are daylight-saving time
    double height = 0;            // the square's height, > 0
    double length = 0;            // the shadow's length, > 0, in the height's unit
    QString heightText;           // the height exactly as typed
    QString lengthText;           // the length exactly as typed
};
