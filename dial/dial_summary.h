#pragma once

#include <vector>

#include "dial/dial_layout.h"

// What a dial maker is told in one sentence: "A dial laid out for this wall reads within
// +-0.8 minutes from 8:00 to 16:00".
namespace kestramo::dial {

// A run of consecutive whole hours of local apparent time (12 at apparent noon) whose lines the
// dial has.
struct ReadingStretch {
    int firstHour = 0;  // 0 to 23
    // firstHour to firstHour + 24; above 23 when the stretch runs on through midnight (29 is
    // 5:00 the next morning); firstHour + 24 when the dial has every whole hour (0:00 to 24:00).
    int lastHour = 0;
    // The largest timeErrorMinutes of the lines from firstHour to lastHour, half hours between
    // included.
    double worstMinutes = 0;
};

// The dial's stretches in increasing firstHour; empty when the sun never reaches the face at a
// whole hour. Usually one; two for faces the sun reaches in the morning and evening only.
std::vector<ReadingStretch> ReadingStretches(const DialLayout& layout);

}  // namespace kestramo::dial
