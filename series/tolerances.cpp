#include "series/tolerances.h"

#include <algorithm>
#include <cmath>

namespace kestramo::series {
namespace {

double NonNegative(double value) { return std::isfinite(value) && value > 0 ? value : 0; }

}  // namespace

Tolerances Admissible(const Tolerances& t) {
    Tolerances a = t;
    for (double* value : {&a.clockSeconds, &a.timingSeconds, &a.lengthPercent, &a.blurFraction,
                          &a.heightPercent, &a.tiltDegrees, &a.leanErrorDegrees}) {
        *value = NonNegative(*value);
    }
    a.leanDegrees = std::isfinite(t.leanDegrees) ? std::clamp(t.leanDegrees, -45.0, 45.0) : 0;
    a.longestShadow = std::isfinite(t.longestShadow) ? std::max(1.0, t.longestShadow) : 4;
    return a;
}

}  // namespace kestramo::series
