#pragma once

#include <span>
#include <vector>

#include "series/wall_fit.h"

// Readings left out of a fit because the others do not predict them.
//
// A reading is left out when leaving it out lowers chi^2 by more than OutlierPrice, that is when
// it lies farther from what the readings that remain predict than a good reading would lie once
// in 370 series: three standard deviations for a lone reading, more for more readings, since the
// worst of many good readings lies farther out.
// Which one goes is chosen by the chi^2 of the readings that remain, not by its own residual,
// so that a precise wrong reading does not push a good one out; after every change each reading
// left out is tried again against the new fit and taken back when it fits. Fewer than half the
// readings are ever left out.
namespace kestramo::series {

// The chi^2 a reading must lower to be left out of a series of `readings` usable readings: z^2
// with z the normal quantile of 1 - 0.0027 / (2 readings); 9 for one reading, 11.9 for five.
double OutlierPrice(int readings);

struct LeaveOutChoice {
    ReadingSet use;            // the readings the fit keeps
    std::vector<int> leftOut;  // those it left out, in the order they went
    WallFit fit;               // the fit of the readings kept
    // chi^2 of the readings kept plus OutlierPrice for each reading left out: the price that
    // makes choices with different numbers of readings left out comparable.
    double score = 0;
    // Every reading measured against `fit`, when the choice worked them out for it; empty
    // otherwise.
    std::vector<ReadingResidual> residuals;
};

// Starting from `start` (a fit of all `usable` readings, or any fit near the wall to try) with
// the readings of `leftOut` out (those the series left out before its latest change), leaves
// readings out and takes them back until no change pays. `forcedIn` readings are never left
// out. Up to 30 readings in the fit, each candidate is refitted without it; beyond, where one
// reading barely moves the fit, every reading far beyond the price goes at once and only those
// near it are refitted one by one.
LeaveOutChoice LeaveOut(const FitInput& input, const ReadingSet& usable, const ReadingSet& forcedIn,
                        const WallFit& start, std::span<const int> leftOut = {});

}  // namespace kestramo::series
