#pragma once

#include <span>
#include <vector>

#include "series/wall_fit.h"

// The whole circle of declinations searched for the fit's local minima.
//
// A lone reading's two answers are the two minima of the fit; more readings leave the true wall
// deepest and, while the sun has not moved far enough, its mirror image nearly as deep. The
// search scans chi^2 over the circle with the lean at its prior and the shared errors at zero,
// in the cosine of the angle, where chi^2 is a trigonometric polynomial whose sums over the
// readings are taken once; it then refines every promising dip with the whole fit.
namespace kestramo::series {

// The distinct local minima over the readings in `use`, least chi^2 first. `starts` are
// earlier fits to refine from as well, such as those of the series before its latest change:
// a fit that starts from one converges in a step or two.
std::vector<WallFit> FitMinima(const FitInput& input, const ReadingSet& use,
                               std::span<const WallFit> starts = {});

}  // namespace kestramo::series
