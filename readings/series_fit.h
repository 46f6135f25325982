#pragma once

#include <array>
#include <vector>

// The choice of candidates behind CombineReadings, on bare numbers. Internal to the series; the
// public interface is readings/series.h.
namespace kestramo::readings::fit {

// One usable reading: its two answers (degrees from south, west positive) and their 1-sigma
// uncertainties (degrees, finite and > 0).
struct Item {
    std::array<double, 2> answer{};
    std::array<double, 2> sigma{};
    double sunAzimuth = 0;           // degrees from south, west positive
    bool forcedIn = false;           // never flagged as an outlier
    std::array<double, 2> sine{};    // sin of each answer, filled by Prepare
    std::array<double, 2> cosine{};  // cos of each answer, filled by Prepare
};

// Fills the item's sines and cosines; every item must pass through it before fitting.
void Prepare(Item& item);

// One consistent choice: for each item the answer picked (0 or 1) and whether it counts.
struct Fit {
    std::vector<int> pick;      // 0 or 1 per item
    std::vector<bool> outlier;  // per item
    double mean = 0;            // weighted circular mean of the picked answers of the non-outliers
    double weight = 0;          // sum of 1/sigma^2 of those
    double chiSquare = 0;       // sum of squared residuals over sigma^2 of those
    int used = 0;               // non-outliers
};

// Directions where the answers crowd: the highest peaks of a smoothed circular histogram of all
// answers, best first, at most `count`.
std::vector<double> Seeds(const std::vector<Item>& items, int count);

// From a starting direction: picks each item's answer nearest the mean and recomputes the
// weighted mean until the picks settle; then flags the items that lie more than `limit` standard
// deviations from the mean of the others, re-picking after each pass: the farthest one at a time
// in small series, all beyond the limit at once in large ones (above 50 items), where leaving
// one out barely moves the mean. Never a forced-in item, never leaving fewer than two, never
// half the items or more.
Fit FitFrom(const std::vector<Item>& items, double seed, double limit);

// The best of the fits from every seed: settled without outliers, the one under which the most
// answers lie within `limit` standard deviations of the mean (then the least chi-square) is
// fitted again with outliers flagged.
Fit BestFit(const std::vector<Item>& items, double limit);

// The weighted circular mean, weight and chi-square of the items' answers in `pick`, counting
// the items where `counted` is true.
struct Moments {
    double mean = 0;
    double weight = 0;
    double chiSquare = 0;
    int count = 0;
};
Moments MomentsOf(const std::vector<Item>& items, const std::vector<int>& pick,
                  const std::vector<bool>& counted);

}  // namespace kestramo::readings::fit
