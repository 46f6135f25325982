#pragma once

#include "series/reading.h"

// One measurement as validation passed it, the one value that the calculation, the result, the
// report and the readings take, so that nothing reads the boxes or the shared state again.
struct CheckedInputs {
    // The observation as validation stored it in the shared state (the date and the clock
    // reading as typed, of which only the calendar date and the time of day count), the
    // square's height and the shadow's length as numbers and as typed.
    kestramo::series::Reading reading;
    bool west = false;  // the west option was chosen, which the report words
};
