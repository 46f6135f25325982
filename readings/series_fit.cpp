#include "readings/series_fit.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

#include "readings/circular.h"

namespace kestramo::readings::fit {
namespace {

constexpr int kBins = 360;               // one-degree bins of the histogram of answers
constexpr int kMaxIterations = 50;       // picks settle in two or three passes in practice
constexpr std::size_t kOneAtATime = 50;  // up to this many items, outliers go one per pass

double WeightOf(double sigma) { return 1 / (sigma * sigma); }

// Each item's answer nearest `mean` (the one with the larger cosine of its angle to it);
// returns true when any pick changed.
bool PickNearest(const std::vector<Item>& items, double mean, std::vector<int>& pick) {
    const double radians = mean * (std::numbers::pi / 180);
    const double sine = std::sin(radians);
    const double cosine = std::cos(radians);
    bool changed = false;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Item& item = items[i];
        const double near0 = item.cosine[0] * cosine + item.sine[0] * sine;
        const double near1 = item.cosine[1] * cosine + item.sine[1] * sine;
        const int nearest = near1 > near0 ? 1 : 0;
        changed = changed || pick[i] != nearest;
        pick[i] = nearest;
    }
    return changed;
}

std::vector<bool> Counted(const std::vector<bool>& outlier) {
    std::vector<bool> counted(outlier.size());
    for (std::size_t i = 0; i < outlier.size(); ++i) {
        counted[i] = !outlier[i];
    }
    return counted;
}

// The weighted sums of the picked answers of the counted items, and how many were counted.
CircularSum SumOf(const std::vector<Item>& items, const std::vector<int>& pick,
                  const std::vector<bool>& counted, int* count = nullptr) {
    CircularSum sum;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (counted[i]) {
            const int k = pick[i];
            const double w = WeightOf(items[i].sigma[k]);
            sum.sine += w * items[i].sine[k];
            sum.cosine += w * items[i].cosine[k];
            sum.weight += w;
            if (count != nullptr) ++*count;
        }
    }
    return sum;
}

// The weighted circular mean of the picked answers of the counted items, without chi-square.
double MeanOf(const std::vector<Item>& items, const std::vector<int>& pick,
              const std::vector<bool>& counted) {
    return SumOf(items, pick, counted).mean();
}

// Picks and mean settled together, for the items not flagged.
void Settle(const std::vector<Item>& items, Fit& fit) {
    const std::vector<bool> counted = Counted(fit.outlier);
    for (int pass = 0; pass < kMaxIterations; ++pass) {
        fit.mean = MeanOf(items, fit.pick, counted);
        if (!PickNearest(items, fit.mean, fit.pick)) {
            break;
        }
    }
    const Moments moments = MomentsOf(items, fit.pick, counted);
    fit.mean = moments.mean;
    fit.weight = moments.weight;
    fit.chiSquare = moments.chiSquare;
    fit.used = moments.count;
}

}  // namespace

void Prepare(Item& item) {
    for (int k = 0; k < 2; ++k) {
        const double radians = item.answer[k] * (std::numbers::pi / 180);
        item.sine[k] = std::sin(radians);
        item.cosine[k] = std::cos(radians);
    }
}

Moments MomentsOf(const std::vector<Item>& items, const std::vector<int>& pick,
                  const std::vector<bool>& counted) {
    Moments moments;
    const CircularSum sum = SumOf(items, pick, counted, &moments.count);
    moments.mean = sum.mean();
    moments.weight = sum.weight;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (counted[i]) {
            const double r = AngleDifference(items[i].answer[pick[i]], moments.mean);
            moments.chiSquare += r * r * WeightOf(items[i].sigma[pick[i]]);
        }
    }
    return moments;
}

std::vector<double> Seeds(const std::vector<Item>& items, int count) {
    std::vector<double> histogram(kBins, 0.0);
    std::vector<double> sigmas;
    sigmas.reserve(items.size() * 2);
    for (const Item& item : items) {
        for (int k = 0; k < 2; ++k) {
            const int bin = static_cast<int>(std::floor(item.answer[k] + 180)) % kBins;
            histogram[(bin + kBins) % kBins] += 1;
            sigmas.push_back(item.sigma[k]);
        }
    }
    if (items.empty()) {
        return {};
    }
    // Smooth with a Gaussian as wide as a typical answer's uncertainty (1 to 15 degrees).
    std::nth_element(sigmas.begin(), sigmas.begin() + sigmas.size() / 2, sigmas.end());
    const double width = std::clamp(sigmas[sigmas.size() / 2], 1.0, 15.0);
    const int reach = static_cast<int>(std::ceil(3 * width));
    std::vector<double> kernel(reach + 1);
    for (int d = 0; d <= reach; ++d) {
        kernel[d] = std::exp(-0.5 * (d / width) * (d / width));
    }
    std::vector<double> smooth(kBins, 0.0);
    for (int b = 0; b < kBins; ++b) {
        if (histogram[b] == 0) {
            continue;
        }
        for (int d = -reach; d <= reach; ++d) {
            smooth[((b + d) % kBins + kBins) % kBins] += histogram[b] * kernel[std::abs(d)];
        }
    }
    std::vector<std::pair<double, int>> peaks;
    for (int b = 0; b < kBins; ++b) {
        const double left = smooth[(b + kBins - 1) % kBins];
        const double right = smooth[(b + 1) % kBins];
        if (smooth[b] > 0 && smooth[b] >= left && smooth[b] > right) {
            peaks.emplace_back(smooth[b], b);
        }
    }
    std::stable_sort(peaks.begin(), peaks.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<double> seeds;
    for (const auto& [height, bin] : peaks) {
        if (static_cast<int>(seeds.size()) == count) {
            break;
        }
        seeds.push_back(WrapHalfTurn(bin - 180 + 0.5));
    }
    return seeds;
}

Fit FitFrom(const std::vector<Item>& items, double seed, double limit) {
    Fit fit;
    fit.pick.assign(items.size(), 0);
    fit.outlier.assign(items.size(), false);
    PickNearest(items, seed, fit.pick);
    Settle(items, fit);

    const int cap = (static_cast<int>(items.size()) - 1) / 2;  // fewer than half
    const bool oneAtATime = items.size() <= kOneAtATime;
    int flagged = 0;
    std::vector<std::pair<double, std::size_t>> beyond;
    while (fit.used > 2 && flagged < cap) {
        // Each item against the weighted mean of the others, from the sums of all.
        CircularSum all;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (!fit.outlier[i]) {
                const int k = fit.pick[i];
                const double w = WeightOf(items[i].sigma[k]);
                all.sine += w * items[i].sine[k];
                all.cosine += w * items[i].cosine[k];
                all.weight += w;
            }
        }
        beyond.clear();
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (fit.outlier[i] || items[i].forcedIn) {
                continue;
            }
            const int k = fit.pick[i];
            const double sigma = items[i].sigma[k];
            const double w = WeightOf(sigma);
            CircularSum others = all;
            others.sine -= w * items[i].sine[k];
            others.cosine -= w * items[i].cosine[k];
            others.weight -= w;
            if (!(others.weight > 0)) {
                continue;
            }
            const double z = std::fabs(AngleDifference(items[i].answer[k], others.mean())) /
                             std::sqrt(sigma * sigma + 1 / others.weight);
            if (z > limit) {
                beyond.emplace_back(z, i);
            }
        }
        if (beyond.empty()) {
            break;
        }
        std::sort(beyond.begin(), beyond.end(), std::greater<>());
        const std::size_t room = std::min<std::size_t>({oneAtATime ? 1 : beyond.size(),
                                                        static_cast<std::size_t>(cap - flagged),
                                                        static_cast<std::size_t>(fit.used - 2)});
        for (std::size_t j = 0; j < room; ++j) {
            fit.outlier[beyond[j].second] = true;
            ++flagged;
        }
        Settle(items, fit);
    }
    return fit;
}

Fit BestFit(const std::vector<Item>& items, double limit) {
    // Settle every seed, keep the one under which the most answers lie within `limit` standard
    // deviations of the mean (then the least chi-square), and flag outliers only for that one.
    Fit best;
    int bestConsistent = -1;
    for (double seed : Seeds(items, 4)) {
        Fit fit;
        fit.pick.assign(items.size(), 0);
        fit.outlier.assign(items.size(), false);
        PickNearest(items, seed, fit.pick);
        Settle(items, fit);
        int consistent = 0;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const int k = fit.pick[i];
            consistent += std::fabs(AngleDifference(items[i].answer[k], fit.mean)) <=
                                  limit * items[i].sigma[k]
                              ? 1
                              : 0;
        }
        if (consistent > bestConsistent ||
            (consistent == bestConsistent && fit.chiSquare < best.chiSquare * (1 - 1e-9))) {
            best = std::move(fit);
            bestConsistent = consistent;
        }
    }
    if (bestConsistent < 0) {
        return best;
    }
    return FitFrom(items, best.mean, limit);
}

}  // namespace kestramo::readings::fit
