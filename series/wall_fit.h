#pragma once

#include <array>
#include <span>
#include <vector>

#include "series/reading.h"
#include "series/reading_set.h"
#include "series/shadow_model.h"
#include "series/tolerances.h"

// One fit of a wall to every reading of a series at once.
//
// The unknowns are the wall's declination w and lean e, one watch offset for each date (one
// watch serves every reading of a day), one height error for each square (the readings whose
// typed height is the same) and, for a board left in place for several readings, its level and
// its pin's tilt. Each shared unknown and the lean have a Gaussian prior from the
// tolerances; the fit minimises
//     chi^2 = sum over readings (measured angle + height error - predicted angle)^2 / variance
//           + sum over dates offset^2 / clock^2 + sum over squares error^2 / height^2
//           + (e - measured lean)^2 / lean tolerance^2
// by Gauss-Newton steps with Levenberg's damping. The normal equations keep the watch offsets
// (or the height errors, whichever are more) as a diagonal block eliminated in closed form, so
// that a fit costs time in proportion to the readings.
namespace kestramo::series {

// The readings of a series as the fit sees them.
struct FitInput {
    std::vector<ReadingGeometry> geometry;  // one per reading
    std::vector<double> heights;            // the square's typed height, per reading
    std::vector<int> dateGroup;             // per reading: its date, 0 to dates - 1
    std::vector<int> squareGroup;           // per reading: its square or pin, 0 to squares - 1
    // Per reading: its board's placement, shared with other readings of the series, 0 to
    // placements - 1; -1 for a reading not on a shared board.
    std::vector<int> placementGroup;
    int dates = 0;
    int squares = 0;
    int placements = 0;
    Tolerances tolerances;
};

// Groups the readings by calendar date and by typed height, a board's pins apart from the
// squares, and the boards by the placements that more than one of them share.
FitInput MakeFitInput(std::span<const Reading> readings, std::vector<ReadingGeometry> geometry,
                      const Tolerances& tolerances);

// The covariance of the fitted unknowns, read in blocks.
class FitCovariance {
  public:
    // Row-major 4 x 4 over (declination in degrees, lean in degrees, the watch offset of
    // `date` in seconds, the height error of `square` as a fraction). An unknown that the fit
    // holds fixed (a zero tolerance, or a date or square with no reading used) has zero rows.
    std::array<double, 16> Block(int date, int square) const;
    // Whether the fit estimated the watch offset of `date` or the height error of `square`.
    bool HasDate(int date) const;
    bool HasSquare(int square) const;

  private:
    friend class WallFitter;
    // Index of each unknown in the kept (dense) block, or -1; the eliminated block's unknowns
    // are diagonal in the normal equations and carry their row of the cross block.
    int lean_ = -1;
    std::vector<int> keptDate_, keptSquare_;
    std::vector<int> keptPlacement_;  // per placement, the first of its three, or -1
    std::vector<int> eliminatedDate_, eliminatedSquare_;
    int kept_ = 0;
    std::vector<double> keptCovariance_;  // kept x kept
    std::vector<double> diagonal_;        // per eliminated unknown: its normal diagonal
    std::vector<double> gain_;            // per eliminated unknown: cross row / diagonal (kept)

    double Entry(int keptA, int elimA, int keptB, int elimB) const;
};

// A local minimum of chi^2.
struct WallFit {
    bool valid = false;               // false: no reading to fit
    double declination = 0;           // degrees from south, west positive, (-180, 180]
    double lean = 0;                  // degrees from vertical, positive leaning back
    std::vector<double> clockOffset;  // seconds per date: the watch behind true time
    std::vector<double> heightError;  // per square, fraction: the square taller than typed
    std::vector<double> placement;    // per placement, three: its Placement, degrees
    double chiSquare = 0;
    int used = 0;  // readings in the fit
    // The rows of the readings used (a board's two) less 1: the priors add as many terms as
    // unknowns.
    int degreesOfFreedom = 0;
    double declinationSigma = 0;  // degrees, 1 sigma
    double leanSigma = 0;         // degrees, 1 sigma (0 when the lean is held)
    double correlation = 0;       // of declination and lean
    FitCovariance covariance;
};

// The fit's view of one reading at a fit.
struct ReadingResidual {
    double residual = 0;  // measured less predicted angle, degrees
    double variance = 0;  // degrees squared: the reading's own sources
    // The variance of the prediction from the fitted unknowns' uncertainty, degrees squared.
    double predictionVariance = 0;
    PredictedAngle predicted;
    // All the reading's rows (a board has two; `residual`, `variance` and `predictionVariance`
    // are row 0's): residuals, then covariances over the rows as (0 0, 0 1, 1 1).
    int rows = 1;
    std::array<double, 2> residuals{};
    std::array<double, 3> covariance{};
    std::array<double, 3> prediction{};
};
ReadingResidual ResidualAt(const FitInput& input, const WallFit& fit, int reading);
// The same for every reading at once (used or not), the covariance blocks worked out once for
// each date and square: time in proportion to the readings.
std::vector<ReadingResidual> ResidualsAt(const FitInput& input, const WallFit& fit);
// The same for a reading's geometry given apart from the input (a reading taken with its
// clock shifted, say), as a reading of `date` and `square` (groups of the input).
ReadingResidual ResidualOf(const FitInput& input, const WallFit& fit,
                           const ReadingGeometry& geometry, int date, int square,
                           const std::array<double, 16>* block = nullptr,
                           const WallPose* pose = nullptr);
// The residual in standard deviations of itself: for a reading in the fit the prediction
// followed it, so its residual varies less than the reading (V - P); for one left out the
// prediction's own uncertainty adds (V + P). A reading of two rows gives the normal deviate as
// unlikely as its chi^2 of two degrees of freedom, without a sign.
double Standardized(const ReadingResidual& residual, bool inFit);

// The fit from a starting declination (lean from its prior, shared errors zero), over the
// readings in `use`. Converges to the nearest local minimum.
WallFit FitWall(const FitInput& input, const ReadingSet& use, double declination);
// The same from an earlier fit, to follow it as readings come and go.
WallFit FitWall(const FitInput& input, const ReadingSet& use, const WallFit& start);

}  // namespace kestramo::series
