#pragma once

#include <array>
#include <cmath>
#include <span>
#include <vector>

#include "synthetic.h"

// Board, declinometer and bearing readings that a known wall would give, built with vectors in
// (south, west, up) coordinates: the wall's normal n, the level r to the right of a person
// facing it and u up its face, the sun's unit vector s from the engine's altitude and azimuth.
// A pin's tip at G p (p its direction, tilted from n) casts its shadow where the ray through it
// along -s meets the board's plane: G p - (G p.n / s.n) s.
namespace synthetic {

using Vector = std::array<double, 3>;

inline double Dot(const Vector& a, const Vector& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

struct WallFrame {
    Vector n, r, u;
};

inline WallFrame FrameOf(const Wall& wall) {
    const double w = wall.declination * kestramo::kDegToRad;
    const double e = wall.lean * kestramo::kDegToRad;
    return {{std::cos(e) * std::cos(w), std::cos(e) * std::sin(w), std::sin(e)},
            {std::sin(w), -std::cos(w), 0},
            {-std::sin(e) * std::cos(w), -std::sin(e) * std::sin(w), std::cos(e)}};
}

inline Vector SunVector(double altitude, double azimuth) {
    const double a = altitude * kestramo::kDegToRad, z = azimuth * kestramo::kDegToRad;
    return {std::cos(a) * std::cos(z), std::cos(a) * std::sin(z), std::sin(a)};
}

// The tip's shadow (x right, y up the face) of a pin of height `g` tilted `tiltRight`,
// `tiltUp` radians from square, with no other error.
inline std::array<double, 2> TipShadow(const Vector& s, const WallFrame& f, double g,
                                       double tiltRight = 0, double tiltUp = 0) {
    Vector tip;
    for (int k = 0; k < 3; ++k) {
        tip[size_t(k)] =
            g * (f.n[size_t(k)] + tiltRight * f.r[size_t(k)] + tiltUp * f.u[size_t(k)]);
    }
    const double along = Dot(tip, f.n) / Dot(s, f.n);
    Vector shadow;
    for (int k = 0; k < 3; ++k) shadow[size_t(k)] = tip[size_t(k)] - along * s[size_t(k)];
    return {Dot(shadow, f.r), Dot(shadow, f.u)};
}

// Readings of every kind as a user takes them, each error drawn from its tolerance.
class KindSurveyor {
  public:
    KindSurveyor(std::uint64_t seed, const ks::Tolerances& tolerances)
        : base_(seed, tolerances), t_(ks::Admissible(tolerances)) {}

    Surveyor& Base() { return base_; }

    // Every board reading of a Survey taken with the board left in one place: its level and
    // its pin's tilt drawn once for them all.
    void OnePlacement(bool one) { onePlacement_ = one; }

    // One reading of each kind in `kinds`, in order of time, one watch for the day and one pin
    // and one square, each truly off its typed 10 by its drawn error (drawn anew unless
    // `sameInstruments`); a bearing with `bearingError`. Empty when the day has too few moments.
    std::vector<ks::Reading> Survey(const Site& site, const Wall& wall,
                                    std::span<const ks::Method> kinds, double bearingError = 1,
                                    bool sameInstruments = false) {
        const std::vector<double> moments = base_.Moments(site, wall, int(kinds.size()));
        if (moments.size() != kinds.size()) return {};
        const double watch = base_.Normal() * t_.clockSeconds;
        placed_ = false;
        if (!sameInstruments || square_ == 0) {
            square_ = 10 / (1 + base_.Normal() * t_.heightPercent / 100);
            pin_ = 10 / (1 + base_.Normal() * t_.heightPercent / 100);
        }
        const double square = square_, pin = pin_;
        std::vector<ks::Reading> readings;
        for (std::size_t i = 0; i < kinds.size(); ++i) {
            switch (kinds[i]) {
                case ks::Method::Square:
                    readings.push_back(base_.Take(site, wall, moments[i], watch, 10, square));
                    break;
                case ks::Method::Board:
                    readings.push_back(Board(site, wall, moments[i], watch, 10, pin));
                    break;
                case ks::Method::Declinometer:
                    readings.push_back(Declinometer(site, wall, moments[i], watch));
                    break;
                case ks::Method::Bearing:
                    readings.push_back(Bearing(site, wall, bearingError));
                    break;
            }
        }
        return readings;
    }

    ks::Reading Board(const Site& site, const Wall& wall, double time, double watch, double height,
                      double trueHeight) {
        const ks::ReadingGeometry sun = ks::Examine(At(site, time));
        const Vector s = SunVector(sun.sunAltitude, sun.sunAzimuth);
        const double tilt = t_.tiltDegrees * kestramo::kDegToRad;
        if (!onePlacement_ || !placed_) {
            placement_ = {base_.Normal() * tilt, base_.Normal() * tilt,
                          base_.Normal() * t_.levelDegrees * kestramo::kDegToRad};
            placed_ = true;
        }
        auto [x, y] = TipShadow(s, FrameOf(wall), trueHeight, placement_[0], placement_[1]);
        // The end read along the shadow's line: the outer edge of the blur, or its middle.
        const double reach = std::hypot(x, y);
        const double theta = std::atan2(reach, trueHeight) * kestramo::kRadToDeg;
        const double edge = t_.edge == ks::ShadowEdge::Outer ? ks::kSunRadius : 0;
        const double read = theta + edge + base_.Normal() * t_.blurFraction * 2 * ks::kSunRadius;
        const double readReach = trueHeight * std::tan(read * kestramo::kDegToRad);
        if (reach > 0) {
            x *= readReach / reach;
            y *= readReach / reach;
        }
        // The board's edge off level turns its axes.
        const double level = placement_[2];
        const double bx = x * std::cos(level) + y * std::sin(level);
        const double by = -x * std::sin(level) + y * std::cos(level);
        const double mark = t_.tipPercent / 100 * height;
        ks::Reading reading = Noted(site, time, watch);
        reading.method = ks::Method::Board;
        reading.height = height;
        reading.tipX = bx + base_.Normal() * mark;
        reading.tipY = by + base_.Normal() * mark;
        return reading;
    }

    ks::Reading Declinometer(const Site& site, const Wall& wall, double time, double watch) {
        const ks::ReadingGeometry sun = ks::Examine(At(site, time));
        ks::Reading reading = Noted(site, time, watch);
        reading.method = ks::Method::Declinometer;
        reading.angle = kestramo::WrapHalfTurn(sun.sunAzimuth - wall.declination +
                                               base_.Normal() * t_.angleDegrees);
        return reading;
    }

    ks::Reading Bearing(const Site& site, const Wall& wall, double error) {
        ks::Reading reading = At(site, 12 * 3600, 1, 1);
        reading.method = ks::Method::Bearing;
        reading.bearing = kestramo::WrapHalfTurn(wall.declination + base_.Normal() * error);
        reading.bearingError = error;
        return reading;
    }

  private:
    ks::Reading Noted(const Site& site, double time, double watch) {
        // The kinds other than the square leave its height and length at their defaults.
        return At(site, std::clamp(time - watch + base_.Normal() * t_.timingSeconds, 0.0, 86399.0),
                  1, 1);
    }

    Surveyor base_;
    ks::Tolerances t_;
    double square_ = 0, pin_ = 0;  // the true heights of the square and the pin typed as 10
    bool onePlacement_ = false, placed_ = false;
    std::array<double, 3> placement_{};  // the pin's tilt right and up, the level; radians
};

}  // namespace synthetic
