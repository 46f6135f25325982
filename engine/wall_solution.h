#pragma once

namespace alignment_calculations {

// The walls that fit one shadow measurement. Declinations are the azimuth of the wall's
// outward normal, in degrees from due south, west positive and east negative.
struct WallSolution {
    bool Solvable;        // false when no vertical wall gives this shadow
    double FirstAnswer;   // degrees in [-180, 180], west positive: sun's azimuth less the offset
    double SecondAnswer;  // degrees in [-180, 180], west positive: sun's azimuth plus the offset
    double
        SunAltitude;  // degrees, the sun's altitude at the measurement (negative below the horizon)
    double SunAzimuth;  // degrees from south, west positive
};

// Solves the measurement of a square of height H, held straight out from the wall, that throws
// a shadow of length L on it (H, L > 0 in one unit), for the observation held in the shared
// state. Rewrites row 1 of SunTable. Never returns NaN or infinity for inputs the window admits.
WallSolution SolveShadowMeasurement(double H, double L);

}  // namespace alignment_calculations
