#pragma once

#include <cmath>
#include <numbers>

// Angles on the circle, in degrees. Declinations run from due south, west positive; the helpers
// do not care where zero is, only that a turn is 360 degrees.
namespace kestramo::readings {

// The same direction in (-180, 180].
inline double WrapHalfTurn(double degrees) {
    double wrapped = std::fmod(degrees, 360.0);
    if (wrapped <= -180) {
        wrapped += 360;
    } else if (wrapped > 180) {
        wrapped -= 360;
    }
    return wrapped;
}

// The signed turn from `to` to `from`, in (-180, 180]: how far `from` lies west (positive) of
// `to` when both are declinations.
inline double AngleDifference(double from, double to) { return WrapHalfTurn(from - to); }

// Sums for a weighted circular mean: add angles with weights, read the mean direction.
struct CircularSum {
    double sine = 0;    // sum of weight * sin(angle)
    double cosine = 0;  // sum of weight * cos(angle)
    double weight = 0;  // sum of weights

    void add(double degrees, double w) {
        const double radians = degrees * (std::numbers::pi / 180);
        sine += w * std::sin(radians);
        cosine += w * std::cos(radians);
        weight += w;
    }
    void remove(double degrees, double w) { add(degrees, -w); }
    // The mean direction in (-180, 180]; 0 when nothing was added or the angles cancel.
    double mean() const {
        if (sine == 0 && cosine == 0) {
            return 0;
        }
        return WrapHalfTurn(std::atan2(sine, cosine) * (180 / std::numbers::pi));
    }
};

}  // namespace kestramo::readings
