#include "series/circle_search.h"

#include <algorithm>
#include <cmath>

#include "engine/angles.h"
#include "series/measurement.h"

namespace kestramo::series {
namespace {

constexpr int kScanSteps = 720;               // half a degree apart
constexpr std::size_t kAnswerSeedsUpTo = 40;  // readings whose own answers are tried as seeds
constexpr double kPromising = 50;             // chi^2 above the scan's least still refined
constexpr std::size_t kMostRefined = 12;
constexpr double kSameSeed = 0.5;      // degrees
constexpr double kSameBasin = 3;       // degrees: an earlier fit this near a seed serves for it
constexpr double kSameMinimum = 0.01;  // degrees

// chi^2 in the cosine: sum (u - P cos w - Q sin w)^2 / s^2 as six sums over the readings.
class CosineScan {
  public:
    CosineScan(const FitInput& input, const ReadingSet& use) {
        for (std::size_t i = 0; i < input.geometry.size(); ++i) {
            const ReadingGeometry& g = input.geometry[i];
            if (!use.Contains(i) || g.status == ReadingStatus::SunBelowHorizon) continue;
            const CosineTerms terms = ScanTerms(g, input.tolerances);
            uu_ += terms.uu;
            up_ += terms.up;
            uq_ += terms.uq;
            pp_ += terms.pp;
            pq_ += terms.pq;
            qq_ += terms.qq;
        }
    }

    double operator()(double declination) const {
        const double c = std::cos(declination * kDegToRad);
        const double s = std::sin(declination * kDegToRad);
        return uu_ - 2 * c * up_ - 2 * s * uq_ + c * c * pp_ + 2 * s * c * pq_ + s * s * qq_;
    }

  private:
    double uu_ = 0, up_ = 0, uq_ = 0, pp_ = 0, pq_ = 0, qq_ = 0;
};

}  // namespace

std::vector<WallFit> FitMinima(const FitInput& input, const ReadingSet& use,
                               std::span<const WallFit> starts) {
    const CosineScan scan(input, use);
    std::vector<double> candidates;
    for (const WallFit& start : starts) candidates.push_back(start.declination);
    std::vector<double> profile(kScanSteps);
    for (int k = 0; k < kScanSteps; ++k) profile[size_t(k)] = scan(-180 + 360.0 * k / kScanSteps);
    for (int k = 0; k < kScanSteps; ++k) {
        const double here = profile[size_t(k)];
        if (here <= profile[size_t((k + kScanSteps - 1) % kScanSteps)] &&
            here < profile[size_t((k + 1) % kScanSteps)]) {
            candidates.push_back(-180 + 360.0 * k / kScanSteps);
        }
    }
    std::size_t used = 0;
    for (std::size_t i = 0; i < input.geometry.size(); ++i) used += use.Contains(i) ? 1 : 0;
    if (used <= kAnswerSeedsUpTo) {
        for (std::size_t i = 0; i < input.geometry.size(); ++i) {
            if (!use.Contains(i) || !input.geometry[i].solved()) continue;
            for (double answer : {input.geometry[i].first, input.geometry[i].second}) {
                if (std::isfinite(answer)) candidates.push_back(answer);
            }
        }
    }
    if (candidates.empty()) return {};

    // The promising seeds, best first, each well apart from the ones before it.
    std::vector<std::pair<double, double>> ranked;
    for (double seed : candidates) ranked.emplace_back(scan(seed), WrapHalfTurn(seed));
    std::sort(ranked.begin(), ranked.end());
    const double least = ranked.front().first;
    std::vector<double> chosen;
    for (const auto& [chi, candidate] : ranked) {
        if (chi > least + kPromising + 0.1 * least || chosen.size() == kMostRefined) break;
        const double seed = candidate;
        const bool near = std::any_of(chosen.begin(), chosen.end(), [&](double other) {
            return std::fabs(AngleDifference(seed, other)) < kSameSeed;
        });
        if (!near) chosen.push_back(seed);
    }
    // The earlier fits are always refined, each from its whole state.
    std::vector<const WallFit*> from(chosen.size(), nullptr);
    for (const WallFit& start : starts) {
        const auto near = std::find_if(chosen.begin(), chosen.end(), [&](double seed) {
            return std::fabs(AngleDifference(seed, start.declination)) < kSameBasin;
        });
        if (near == chosen.end()) {
            chosen.push_back(WrapHalfTurn(start.declination));
            from.push_back(&start);
        } else {
            from[size_t(near - chosen.begin())] = &start;
        }
    }

    std::vector<WallFit> minima;
    for (std::size_t k = 0; k < chosen.size(); ++k) {
        WallFit fit = from[k] ? FitWall(input, use, *from[k]) : FitWall(input, use, chosen[k]);
        if (!fit.valid) continue;
        const auto same = std::find_if(minima.begin(), minima.end(), [&](const WallFit& other) {
            return std::fabs(AngleDifference(fit.declination, other.declination)) < kSameMinimum;
        });
        if (same == minima.end()) {
            minima.push_back(std::move(fit));
        } else if (fit.chiSquare < same->chiSquare) {
            *same = std::move(fit);
        }
    }
    std::sort(minima.begin(), minima.end(),
              [](const WallFit& a, const WallFit& b) { return a.chiSquare < b.chiSquare; });
    return minima;
}

}  // namespace kestramo::series
