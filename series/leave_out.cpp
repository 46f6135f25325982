#include "series/leave_out.h"

#include <boost/math/distributions/normal.hpp>

#include <algorithm>
#include <functional>
#include <set>

#include "series/measurement.h"

namespace kestramo::series {
namespace {

// Up to this many readings in the fit, each candidate is refitted without it; beyond, the
// deleted residual of the linearised fit ranks them and only the best few are refitted.
constexpr int kRefitEachUpTo = 30;
constexpr std::size_t kRefittedBeyond = 3;

// Readings this far beyond the price leave a large fit together, without a refit each; those
// whose linearised drop comes this near the price are refitted one by one.
constexpr double kClearlyBeyond = 4;
constexpr double kNearThePrice = 0.8;

}  // namespace

double OutlierPrice(int readings) {
    constexpr double kThreeSigmaTails = 0.0027;
    const double z = boost::math::quantile(boost::math::normal(),
                                           1 - kThreeSigmaTails / (2 * std::max(readings, 1)));
    return z * z;
}

LeaveOutChoice LeaveOut(const FitInput& input, const ReadingSet& usable, const ReadingSet& forcedIn,
                        const WallFit& start, std::span<const int> leftOut) {
    const int n = int(input.geometry.size());
    LeaveOutChoice choice;
    choice.use = ReadingSet(size_t(n));
    for (int i = 0; i < n; ++i) choice.use.Set(size_t(i), usable.Contains(i));
    const int count = choice.use.Count();
    const std::size_t cap = count > 0 ? std::size_t((count - 1) / 2) : 0;
    const double price = OutlierPrice(count);
    const auto forced = [&](int i) { return forcedIn.Contains(i); };
    for (int i : leftOut) {
        if (choice.use.Contains(i) && !forced(i) && choice.leftOut.size() < cap) {
            choice.use.Remove(size_t(i));
            choice.leftOut.push_back(i);
        }
    }
    // A fit of these very readings needs no refit.
    const bool settled = start.valid && choice.leftOut.empty() && start.used == count;
    choice.fit = settled ? start : FitWall(input, choice.use, start);
    std::set<ReadingSet> visited{choice.use};

    for (int step = 0; step < 2 * n + 2 && choice.fit.valid; ++step) {
        std::vector<ReadingResidual> residuals = ResidualsAt(input, choice.fit);
        // A reading left out that the fit now predicts comes back first.
        int back = -1;
        double backZ = price;
        for (int j : choice.leftOut) {
            const double z = Standardized(residuals[size_t(j)], false);
            if (z * z < backZ) {
                backZ = z * z;
                back = j;
            }
        }
        if (back >= 0) {
            const ReadingSet use = choice.use.With(size_t(back));
            if (visited.insert(use).second) {
                choice.use = use;
                choice.leftOut.erase(std::find(choice.leftOut.begin(), choice.leftOut.end(), back));
                choice.fit = FitWall(input, choice.use, choice.fit);
                continue;
            }
        }
        if (choice.leftOut.size() >= cap) break;

        // The reading whose leaving lowers chi^2 the most: how much is estimated from the fit
        // with it, its squared residual over the variance of a residual of the fit (V - P).
        std::vector<std::pair<double, int>> ranked;
        const int inFit = choice.fit.used;
        for (int i = 0; i < n; ++i) {
            if (!choice.use.Contains(i) || forced(i)) continue;
            const double z = Standardized(residuals[size_t(i)], true);
            ranked.emplace_back(z * z, i);
        }
        if (ranked.empty()) break;
        // The largest few first; beyond them the order does not matter.
        const std::size_t top =
            std::min(ranked.size(), inFit <= kRefitEachUpTo ? ranked.size() : cap + 1);
        std::partial_sort(ranked.begin(), ranked.begin() + long(top), ranked.end(),
                          std::greater<>());
        if (inFit > kRefitEachUpTo && ranked.front().first > kClearlyBeyond * price) {
            ReadingSet use = choice.use;
            std::vector<int> going;
            for (const auto& [drop, i] : ranked) {
                if (drop <= kClearlyBeyond * price || choice.leftOut.size() + going.size() >= cap)
                    break;
                use.Remove(size_t(i));
                going.push_back(i);
            }
            if (!visited.insert(use).second) break;
            choice.use = use;
            choice.leftOut.insert(choice.leftOut.end(), going.begin(), going.end());
            choice.fit = FitWall(input, choice.use, choice.fit);
            continue;
        }
        // Beyond a few readings the linearised drop ranks them well and hardly errs: only those
        // it puts near the price are refitted.
        std::size_t refits = ranked.size();
        if (inFit > kRefitEachUpTo) {
            refits = 0;
            while (refits < std::min(ranked.size(), kRefittedBeyond) &&
                   ranked[refits].first > kNearThePrice * price) {
                ++refits;
            }
        }
        double bestDrop = price;
        int leave = -1;
        WallFit leaveFit;
        for (std::size_t k = 0; k < refits; ++k) {
            const int i = ranked[k].second;
            WallFit without = FitWall(input, choice.use.Without(size_t(i)), choice.fit);
            // A board's two rows drop chi^2 by a chi^2 of two degrees of freedom.
            const double drop = OneRowEquivalent(choice.fit.chiSquare - without.chiSquare,
                                                 RowsOf(input.geometry[size_t(i)]));
            if (without.valid && drop > bestDrop) {
                bestDrop = drop;
                leave = i;
                leaveFit = std::move(without);
            }
        }
        if (leave < 0) {
            choice.residuals = std::move(residuals);
            break;
        }
        const ReadingSet use = choice.use.Without(size_t(leave));
        if (!visited.insert(use).second) break;
        choice.use = use;
        choice.leftOut.push_back(leave);
        choice.fit = std::move(leaveFit);
    }
    choice.score = choice.fit.chiSquare + price * double(choice.leftOut.size());
    return choice;
}

}  // namespace kestramo::series
