#include "series/wall_fit.h"

#include <Eigen/Dense>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

#include "engine/angles.h"
#include "series/measurement.h"

namespace kestramo::series {
namespace {

constexpr int kMaxIterations = 60;
constexpr int kMaxRetries = 24;
// Beyond this many dates or squares in the dense block, that group's errors are counted as the
// readings' own (independent), which keeps a fit of many thousands of readings fast.
constexpr int kMaxKeptGroups = 256;
constexpr double kLeanLimit = 45;   // degrees: beyond it a "wall" is a roof
constexpr double kStepDone = 1e-4;  // degrees: a ten-thousandth of a degree is settled

double Square(double x) { return x * x; }

// A measurement's rows in standard deviations: residuals and rates multiplied by the inverse of
// the Cholesky factor of its covariance, so that its rows count as independent.
struct Whitened {
    int rows = 1;
    std::array<double, 2> residual{};
    std::array<std::array<double, kUnknownsPerRow>, 2> rate{};
    std::array<std::array<double, 3>, 2> perPlacement{};
};

Whitened Whiten(const Measurement& m) {
    Whitened w;
    w.rows = m.rows;
    const double l00 = std::sqrt(std::max(m.covariance[0], 1e-300));
    w.residual[0] = m.residual[0] / l00;
    for (int k = 0; k < kUnknownsPerRow; ++k) w.rate[0][size_t(k)] = m.rate[0][size_t(k)] / l00;
    for (int k = 0; k < 3; ++k) w.perPlacement[0][size_t(k)] = m.perPlacement[0][size_t(k)] / l00;
    if (m.rows < 2) return w;
    const double l10 = m.covariance[1] / l00;
    const double l11 = std::sqrt(std::max(m.covariance[2] - l10 * l10, 1e-300));
    w.residual[1] = (m.residual[1] - l10 * w.residual[0]) / l11;
    for (int k = 0; k < kUnknownsPerRow; ++k) {
        w.rate[1][size_t(k)] = (m.rate[1][size_t(k)] - l10 * w.rate[0][size_t(k)]) / l11;
    }
    for (int k = 0; k < 3; ++k) {
        w.perPlacement[1][size_t(k)] =
            (m.perPlacement[1][size_t(k)] - l10 * w.perPlacement[0][size_t(k)]) / l11;
    }
    return w;
}

// Adds sigma^2 j j^T, j a column of the measurement's rates, to its covariance.
void AddShared(Measurement& m, int unknown, double sigma) {
    const double j0 = m.rate[0][size_t(unknown)], j1 = m.rate[1][size_t(unknown)];
    m.covariance[0] += Square(j0 * sigma);
    if (m.rows < 2) return;
    m.covariance[1] += j0 * j1 * sigma * sigma;
    m.covariance[2] += Square(j1 * sigma);
}

}  // namespace

FitInput MakeFitInput(std::span<const Reading> readings, std::vector<ReadingGeometry> geometry,
                      const Tolerances& tolerances) {
    FitInput input;
    input.tolerances = Admissible(tolerances);
    input.geometry = std::move(geometry);
    std::map<double, int> dates;
    std::map<std::pair<Method, double>, int> squares;
    for (const Reading& reading : readings) {
        const double day = std::trunc(reading.observation.date);
        const auto date = dates.try_emplace(day, int(dates.size())).first->second;
        const auto square =
            squares.try_emplace(std::pair(reading.method, reading.height), int(squares.size()))
                .first->second;
        input.dateGroup.push_back(date);
        input.squareGroup.push_back(square);
        input.heights.push_back(reading.height);
    }
    input.dates = int(dates.size());
    input.squares = int(squares.size());
    std::map<std::string, int> boards;
    for (const Reading& reading : readings) {
        if (reading.method == Method::Board && !reading.placement.empty()) {
            ++boards[reading.placement];
        }
    }
    std::map<std::string, int> placements;
    for (const Reading& reading : readings) {
        const bool shared = reading.method == Method::Board && !reading.placement.empty() &&
                            boards[reading.placement] > 1;
        input.placementGroup.push_back(
            shared ? placements.try_emplace(reading.placement, int(placements.size())).first->second
                   : -1);
    }
    input.placements = int(placements.size());
    return input;
}

double FitCovariance::Entry(int keptA, int elimA, int keptB, int elimB) const {
    const auto kk = [&](int a, int b) { return keptCovariance_[size_t(a) * size_t(kept_) + b]; };
    // cov(E_e, K_b) = -(gain_e . C[:, b]); cov(E_e, E_f) = [e == f] / d_e + gain_e C gain_f.
    const auto gainTimes = [&](int e, int b) {
        double sum = 0;
        for (int c = 0; c < kept_; ++c) sum += gain_[size_t(e) * size_t(kept_) + c] * kk(c, b);
        return sum;
    };
    if (keptA >= 0 && keptB >= 0) return kk(keptA, keptB);
    if (elimA >= 0 && keptB >= 0) return -gainTimes(elimA, keptB);
    if (keptA >= 0 && elimB >= 0) return -gainTimes(elimB, keptA);
    if (elimA >= 0 && elimB >= 0) {
        double sum = elimA == elimB ? 1 / diagonal_[size_t(elimA)] : 0;
        for (int c = 0; c < kept_; ++c) {
            sum += gainTimes(elimA, c) * gain_[size_t(elimB) * size_t(kept_) + c];
        }
        return sum;
    }
    return 0;
}

std::array<double, 16> FitCovariance::Block(int date, int square) const {
    std::array<double, 16> block{};
    if (kept_ == 0) return block;
    const auto at = [](const std::vector<int>& v, int i) {
        return i >= 0 && i < int(v.size()) ? v[size_t(i)] : -1;
    };
    const int kept[4] = {0, lean_, at(keptDate_, date), at(keptSquare_, square)};
    const int elim[4] = {-1, -1, at(eliminatedDate_, date), at(eliminatedSquare_, square)};
    for (int a = 0; a < 4; ++a) {
        for (int b = 0; b < 4; ++b) {
            block[size_t(a * 4 + b)] = Entry(kept[a], elim[a], kept[b], elim[b]);
        }
    }
    return block;
}

bool FitCovariance::HasDate(int date) const {
    return (date >= 0 && date < int(keptDate_.size()) && keptDate_[size_t(date)] >= 0) ||
           (date >= 0 && date < int(eliminatedDate_.size()) && eliminatedDate_[size_t(date)] >= 0);
}

bool FitCovariance::HasSquare(int square) const {
    return (square >= 0 && square < int(keptSquare_.size()) && keptSquare_[size_t(square)] >= 0) ||
           (square >= 0 && square < int(eliminatedSquare_.size()) &&
            eliminatedSquare_[size_t(square)] >= 0);
}

// The unknowns' layout for one set of readings, and the Gauss-Newton steps over it.
class WallFitter {
  public:
    WallFitter(const FitInput& input, const ReadingSet& use) : in_(input), t_(input.tolerances) {
        for (size_t i = 0; i < in_.geometry.size(); ++i) {
            if (use.Contains(i) && in_.geometry[i].status != ReadingStatus::SunBelowHorizon) {
                used_.push_back(int(i));
            }
        }
        std::vector<char> dateUsed(size_t(in_.dates)), squareUsed(size_t(in_.squares));
        for (int i : used_) {
            dateUsed[size_t(in_.dateGroup[size_t(i)])] = 1;
            squareUsed[size_t(in_.squareGroup[size_t(i)])] = 1;
        }
        const bool clock = t_.clockSeconds > 0;
        const bool height = t_.heightPercent > 0;
        const int dates = clock ? int(std::count(dateUsed.begin(), dateUsed.end(), 1)) : 0;
        const int squares = height ? int(std::count(squareUsed.begin(), squareUsed.end(), 1)) : 0;
        // The larger group goes into the diagonal block; the smaller one stays dense unless it
        // is too large, and then its errors count as the readings' own.
        eliminateDates_ = dates >= squares;
        const int keptGroups = eliminateDates_ ? squares : dates;
        foldKept_ = keptGroups > kMaxKeptGroups;

        FitCovariance& c = layout_;
        c.lean_ = t_.leanErrorDegrees > 0 ? 1 : -1;
        int kept = c.lean_ >= 0 ? 2 : 1;
        int eliminated = 0;
        c.keptDate_.assign(size_t(in_.dates), -1);
        c.eliminatedDate_.assign(size_t(in_.dates), -1);
        c.keptSquare_.assign(size_t(in_.squares), -1);
        c.eliminatedSquare_.assign(size_t(in_.squares), -1);
        if (clock) {
            for (int d = 0; d < in_.dates; ++d) {
                if (!dateUsed[size_t(d)]) continue;
                if (eliminateDates_) {
                    c.eliminatedDate_[size_t(d)] = eliminated++;
                } else if (!foldKept_) {
                    c.keptDate_[size_t(d)] = kept++;
                }
            }
        }
        if (height) {
            for (int s = 0; s < in_.squares; ++s) {
                if (!squareUsed[size_t(s)]) continue;
                if (!eliminateDates_) {
                    c.eliminatedSquare_[size_t(s)] = eliminated++;
                } else if (!foldKept_) {
                    c.keptSquare_[size_t(s)] = kept++;
                }
            }
        }
        // A board left in place shares its level and its pin's tilt; beyond a few placements
        // they count as each reading's own.
        c.keptPlacement_.assign(size_t(in_.placements), -1);
        if (3 * in_.placements <= kMaxKeptGroups) {
            for (int i : used_) {
                const int g = PlacementGroupOf(i);
                if (g >= 0 && c.keptPlacement_[size_t(g)] < 0) {
                    c.keptPlacement_[size_t(g)] = kept;
                    kept += 3;
                }
            }
        }
        c.kept_ = kept;
        eliminated_ = eliminated;
        foldClock_ = clock && !eliminateDates_ && foldKept_;
        foldHeight_ = height && eliminateDates_ && foldKept_;
    }

    WallFit Run(double declination, double lean, std::vector<double> clock,
                std::vector<double> height, std::vector<double> placement = {}) {
        WallFit fit;
        if (used_.empty()) return fit;
        State x{WrapHalfTurn(declination), layout_.lean_ >= 0 ? lean : t_.leanDegrees,
                std::move(clock), std::move(height), std::move(placement)};
        x.clock.resize(size_t(in_.dates));
        x.height.resize(size_t(in_.squares));
        x.placement.resize(size_t(3 * in_.placements));
        // Each step holds the readings' variances where the last one left them (they change
        // with the wall only through the rate of the sun's motion), so that the fit settles
        // where the weighted residuals balance rather than where the variances are largest.
        double lambda = 1e-3;
        double chi = Linearize(x);
        for (int iteration = 0; iteration < kMaxIterations; ++iteration) {
            bool improved = false;
            double stepSize = 0;
            for (int retry = 0; retry < kMaxRetries && !improved; ++retry) {
                State trial = Step(x, lambda);
                const double trialChi = ChiSquare(trial);
                if (trialChi <= chi) {
                    stepSize =
                        std::max(std::fabs(AngleDifference(trial.declination, x.declination)),
                                 std::fabs(trial.lean - x.lean));
                    x = std::move(trial);
                    chi = trialChi;
                    lambda = std::max(lambda / 3, 1e-9);
                    improved = true;
                } else {
                    lambda *= 4;
                }
            }
            // A step this small leaves the linearisation as good as new: it serves the
            // covariance too.
            if (!improved || stepSize < kStepDone) break;
            chi = Linearize(x);
        }
        Covariance(fit.covariance);
        fit.valid = true;
        fit.declination = x.declination;
        fit.lean = x.lean;
        fit.clockOffset = x.clock;
        fit.heightError = x.height;
        fit.placement = x.placement;
        fit.chiSquare = chi;
        fit.used = int(used_.size());
        int rows = 0;
        for (int i : used_) rows += RowsOf(in_.geometry[size_t(i)]);
        fit.degreesOfFreedom = rows - 1;
        const auto block = fit.covariance.Block(-1, -1);
        fit.declinationSigma = std::sqrt(std::max(block[0], 0.0));
        fit.leanSigma = std::sqrt(std::max(block[5], 0.0));
        fit.correlation = fit.declinationSigma > 0 && fit.leanSigma > 0
                              ? block[1] / (fit.declinationSigma * fit.leanSigma)
                              : 0;
        return fit;
    }

  private:
    struct State {
        double declination = 0;
        double lean = 0;
        std::vector<double> clock;      // per date, seconds
        std::vector<double> height;     // per square, fraction
        std::vector<double> placement;  // per placement, three: degrees
    };

    // The reading's shared placement, or -1.
    int PlacementGroupOf(int i) const {
        return size_t(i) < in_.placementGroup.size() ? in_.placementGroup[size_t(i)] : -1;
    }
    // The placement the reading's board takes from the state, or none when its level and tilt
    // are its own.
    const Placement* PlacementAt(const State& x, int i, Placement& values) const {
        const int g = PlacementGroupOf(i);
        if (g < 0 || layout_.keptPlacement_[size_t(g)] < 0) return nullptr;
        values = {x.placement[size_t(3 * g)], x.placement[size_t(3 * g + 1)],
                  x.placement[size_t(3 * g + 2)]};
        return &values;
    }
    // The prior of a placement's k-th unknown, degrees: the level's, then the tilt's twice.
    double PlacementSigma(int k) const {
        return std::max(k == 0 ? t_.levelDegrees : t_.tiltDegrees, 1e-4);
    }

    // Linearises the fit at x in one pass over the readings: their variances (and their
    // shadows' rates with the square's height) frozen there, the normal equations, and chi^2.
    double Linearize(const State& x) {
        const int k = layout_.kept_;
        a_ = Eigen::MatrixXd::Zero(k, k);
        bKept_ = Eigen::VectorXd::Zero(k);
        diagonal_.assign(size_t(eliminated_), 0);
        cross_.assign(size_t(eliminated_) * size_t(k), 0);
        bEliminated_.assign(size_t(eliminated_), 0);
        frozen_.resize(in_.geometry.size());
        const WallPose pose = WallPose::Of(x.declination, x.lean);
        double chi = 0;
        for (int i : used_) {
            const ReadingGeometry& g = in_.geometry[size_t(i)];
            const int d = in_.dateGroup[size_t(i)];
            const int s = in_.squareGroup[size_t(i)];
            Placement placed;
            const Placement* onBoard = PlacementAt(x, i, placed);
            Measurement m =
                Measure(g, pose, x.clock[size_t(d)], x.height[size_t(s)], t_, nullptr, onBoard);
            const int shared =
                onBoard ? layout_.keptPlacement_[size_t(in_.placementGroup[size_t(i)])] : -1;
            if (foldClock_) AddShared(m, 2, t_.clockSeconds);
            if (foldHeight_) AddShared(m, 3, t_.heightPercent / 100);
            frozen_[size_t(i)] = {m.covariance, m.rate[0][3]};
            const Whitened w = Whiten(m);
            for (int row = 0; row < w.rows; ++row) {
                const double residual = w.residual[size_t(row)];
                const auto& rate = w.rate[size_t(row)];
                chi += residual * residual;
                // The residual's rates: at most seven non-zero, one of them maybe eliminated.
                int index[7];
                double value[7];
                int count = 0;
                const auto add = [&](int at, double r) {
                    if (at >= 0) {
                        index[count] = at;
                        value[count++] = r;
                    }
                };
                add(0, rate[0]);
                add(layout_.lean_, rate[1]);
                add(layout_.keptDate_[size_t(d)], rate[2]);
                add(layout_.keptSquare_[size_t(s)], rate[3]);
                for (int k = 0; k < 3 && shared >= 0; ++k) {
                    add(shared + k, w.perPlacement[size_t(row)][size_t(k)]);
                }
                for (int a = 0; a < count; ++a) {
                    bKept_[index[a]] += value[a] * residual;
                    for (int b = 0; b < count; ++b) a_(index[a], index[b]) += value[a] * value[b];
                }
                int e = layout_.eliminatedDate_[size_t(d)];
                double je = rate[2];
                if (e < 0) {
                    e = layout_.eliminatedSquare_[size_t(s)];
                    je = rate[3];
                }
                if (e >= 0) {
                    diagonal_[size_t(e)] += je * je;
                    bEliminated_[size_t(e)] += je * residual;
                    for (int a = 0; a < count; ++a) {
                        cross_[size_t(e) * size_t(k) + size_t(index[a])] += je * value[a];
                    }
                }
            }
        }
        // The priors: a term (unknown - mean) / sigma each.
        const auto prior = [](double& diagonal, double& b, double offset, double sigma) {
            diagonal += 1 / (sigma * sigma);
            b += offset / (sigma * sigma);
        };
        if (layout_.lean_ >= 0) {
            prior(a_(layout_.lean_, layout_.lean_), bKept_[layout_.lean_], x.lean - t_.leanDegrees,
                  t_.leanErrorDegrees);
        }
        for (int d = 0; d < in_.dates; ++d) {
            const double offset = x.clock[size_t(d)];
            if (layout_.keptDate_[size_t(d)] >= 0) {
                const int p = layout_.keptDate_[size_t(d)];
                prior(a_(p, p), bKept_[p], offset, t_.clockSeconds);
            } else if (layout_.eliminatedDate_[size_t(d)] >= 0) {
                const size_t e = size_t(layout_.eliminatedDate_[size_t(d)]);
                prior(diagonal_[e], bEliminated_[e], offset, t_.clockSeconds);
            }
        }
        for (int s = 0; s < in_.squares; ++s) {
            const double error = x.height[size_t(s)];
            const double sigma = t_.heightPercent / 100;
            if (layout_.keptSquare_[size_t(s)] >= 0) {
                const int p = layout_.keptSquare_[size_t(s)];
                prior(a_(p, p), bKept_[p], error, sigma);
            } else if (layout_.eliminatedSquare_[size_t(s)] >= 0) {
                const size_t e = size_t(layout_.eliminatedSquare_[size_t(s)]);
                prior(diagonal_[e], bEliminated_[e], error, sigma);
            }
        }
        for (int g = 0; g < in_.placements; ++g) {
            const int first = layout_.keptPlacement_[size_t(g)];
            for (int k = 0; k < 3 && first >= 0; ++k) {
                prior(a_(first + k, first + k), bKept_[first + k], x.placement[size_t(3 * g + k)],
                      PlacementSigma(k));
            }
        }
        return chi + Prior(x);
    }

    // chi^2 at x with the variances frozen by the last Linearize.
    double ChiSquare(const State& x) const {
        const WallPose pose = WallPose::Of(x.declination, x.lean);
        double chi = 0;
        for (int i : used_) {
            Placement placed;
            const Measurement m =
                Measure(in_.geometry[size_t(i)], pose, x.clock[size_t(in_.dateGroup[size_t(i)])],
                        x.height[size_t(in_.squareGroup[size_t(i)])], t_, &frozen_[size_t(i)],
                        PlacementAt(x, i, placed));
            chi += ChiSquareOf(m);
        }
        return chi + Prior(x);
    }

    double Prior(const State& x) const {
        double chi = 0;
        if (layout_.lean_ >= 0) chi += Square((x.lean - t_.leanDegrees) / t_.leanErrorDegrees);
        for (int d = 0; d < in_.dates; ++d) {
            if (layout_.HasDate(d)) chi += Square(x.clock[size_t(d)] / t_.clockSeconds);
        }
        for (int s = 0; s < in_.squares; ++s) {
            if (layout_.HasSquare(s)) chi += Square(x.height[size_t(s)] / (t_.heightPercent / 100));
        }
        for (int g = 0; g < in_.placements; ++g) {
            for (int k = 0; k < 3 && layout_.keptPlacement_[size_t(g)] >= 0; ++k) {
                chi += Square(x.placement[size_t(3 * g + k)] / PlacementSigma(k));
            }
        }
        return chi;
    }

    // The reduced normal matrix A - C^T D^-1 C (with Marquardt's damping on both diagonals).
    Eigen::MatrixXd Reduced(double lambda, Eigen::VectorXd* rhs) const {
        const int k = layout_.kept_;
        Eigen::MatrixXd m = a_;
        for (int p = 0; p < k; ++p) m(p, p) = a_(p, p) * (1 + lambda) + 1e-12;
        if (rhs) *rhs = bKept_;
        for (int e = 0; e < eliminated_; ++e) {
            const double d = diagonal_[size_t(e)] * (1 + lambda);
            const double* c = &cross_[size_t(e) * size_t(k)];
            for (int p = 0; p < k; ++p) {
                if (c[p] == 0) continue;
                if (rhs) (*rhs)[p] -= c[p] * bEliminated_[size_t(e)] / d;
                for (int q = 0; q < k; ++q) m(p, q) -= c[p] * c[q] / d;
            }
        }
        return m;
    }

    State Step(const State& x, double lambda) const {
        Eigen::VectorXd rhs;
        const Eigen::MatrixXd m = Reduced(lambda, &rhs);
        const Eigen::VectorXd step = m.ldlt().solve(-rhs);
        State next = x;
        if (!step.allFinite()) return next;
        next.declination = WrapHalfTurn(x.declination + step[0]);
        if (layout_.lean_ >= 0) {
            next.lean = std::clamp(x.lean + step[layout_.lean_], -kLeanLimit, kLeanLimit);
        }
        const int k = layout_.kept_;
        for (int d = 0; d < in_.dates; ++d) {
            if (layout_.keptDate_[size_t(d)] >= 0)
                next.clock[size_t(d)] += step[layout_.keptDate_[size_t(d)]];
        }
        for (int s = 0; s < in_.squares; ++s) {
            if (layout_.keptSquare_[size_t(s)] >= 0)
                next.height[size_t(s)] += step[layout_.keptSquare_[size_t(s)]];
        }
        for (int g = 0; g < in_.placements; ++g) {
            const int first = layout_.keptPlacement_[size_t(g)];
            for (int k = 0; k < 3 && first >= 0; ++k) {
                next.placement[size_t(3 * g + k)] += step[first + k];
            }
        }
        const auto eliminatedStep = [&](int e) {
            const double d = diagonal_[size_t(e)] * (1 + lambda);
            double sum = -bEliminated_[size_t(e)];
            for (int p = 0; p < k; ++p) sum -= cross_[size_t(e) * size_t(k) + p] * step[p];
            return sum / d;
        };
        for (int d = 0; d < in_.dates; ++d) {
            if (layout_.eliminatedDate_[size_t(d)] >= 0) {
                next.clock[size_t(d)] += eliminatedStep(layout_.eliminatedDate_[size_t(d)]);
            }
        }
        for (int s = 0; s < in_.squares; ++s) {
            if (layout_.eliminatedSquare_[size_t(s)] >= 0) {
                next.height[size_t(s)] += eliminatedStep(layout_.eliminatedSquare_[size_t(s)]);
            }
        }
        return next;
    }

    void Covariance(FitCovariance& out) const {
        out = layout_;
        const int k = layout_.kept_;
        const Eigen::MatrixXd m = Reduced(0, nullptr);
        Eigen::MatrixXd inverse = m.ldlt().solve(Eigen::MatrixXd::Identity(k, k));
        if (!inverse.allFinite()) inverse = Eigen::MatrixXd::Zero(k, k);
        out.keptCovariance_.assign(size_t(k) * size_t(k), 0);
        for (int p = 0; p < k; ++p) {
            for (int q = 0; q < k; ++q)
                out.keptCovariance_[size_t(p) * size_t(k) + q] = inverse(p, q);
        }
        out.diagonal_ = diagonal_;
        out.gain_.assign(cross_.size(), 0);
        for (int e = 0; e < eliminated_; ++e) {
            for (int p = 0; p < k; ++p) {
                out.gain_[size_t(e) * size_t(k) + p] =
                    cross_[size_t(e) * size_t(k) + p] / diagonal_[size_t(e)];
            }
        }
    }

    const FitInput& in_;
    const Tolerances t_;
    std::vector<int> used_;
    FitCovariance layout_;
    int eliminated_ = 0;
    bool eliminateDates_ = true;
    bool foldKept_ = false;
    bool foldClock_ = false;
    bool foldHeight_ = false;
    Eigen::MatrixXd a_;
    Eigen::VectorXd bKept_;
    std::vector<double> diagonal_, cross_, bEliminated_;
    // Per reading, as the last Linearize left it: its covariance and a square's rate with its
    // height.
    std::vector<Frozen> frozen_;
};

WallFit FitWall(const FitInput& input, const ReadingSet& use, double declination) {
    return WallFitter(input, use).Run(declination, input.tolerances.leanDegrees, {}, {});
}

WallFit FitWall(const FitInput& input, const ReadingSet& use, const WallFit& start) {
    if (!start.valid) return FitWall(input, use, start.declination);
    return WallFitter(input, use)
        .Run(start.declination, start.lean, start.clockOffset, start.heightError, start.placement);
}

ReadingResidual ResidualAt(const FitInput& input, const WallFit& fit, int reading) {
    return ResidualOf(input, fit, input.geometry[size_t(reading)], input.dateGroup[size_t(reading)],
                      input.squareGroup[size_t(reading)]);
}

double Standardized(const ReadingResidual& r, bool inFit) {
    if (r.rows < 2) {
        const double variance = inFit
                                    ? std::max(r.variance - r.predictionVariance, 1e-3 * r.variance)
                                    : r.variance + r.predictionVariance;
        return r.residual / std::sqrt(variance);
    }
    const double sign = inFit ? -1 : 1;
    std::array<double, 3> m;
    for (std::size_t k = 0; k < 3; ++k) m[k] = r.covariance[k] + sign * r.prediction[k];
    const double floor0 = 1e-3 * r.covariance[0], floor2 = 1e-3 * r.covariance[2];
    if (m[0] < floor0 || m[2] < floor2 || m[0] * m[2] - m[1] * m[1] < floor0 * floor2) {
        m = {floor0, 0, floor2};
    }
    const double det = m[0] * m[2] - m[1] * m[1];
    const double chi = (Square(r.residuals[0]) * m[2] - 2 * r.residuals[0] * r.residuals[1] * m[1] +
                        Square(r.residuals[1]) * m[0]) /
                       det;
    return std::sqrt(std::max(OneRowEquivalent(chi, 2), 0.0));
}

std::vector<ReadingResidual> ResidualsAt(const FitInput& input, const WallFit& fit) {
    std::map<std::pair<int, int>, std::array<double, 16>> blocks;
    const WallPose pose = WallPose::Of(fit.declination, fit.lean);
    std::vector<ReadingResidual> residuals;
    residuals.reserve(input.geometry.size());
    for (std::size_t i = 0; i < input.geometry.size(); ++i) {
        const int d = input.dateGroup[i];
        const int s = input.squareGroup[i];
        auto found = blocks.find({d, s});
        if (found == blocks.end())
            found = blocks.emplace(std::pair(d, s), fit.covariance.Block(d, s)).first;
        residuals.push_back(ResidualOf(input, fit, input.geometry[i], d, s, &found->second, &pose));
    }
    return residuals;
}

ReadingResidual ResidualOf(const FitInput& input, const WallFit& fit, const ReadingGeometry& g,
                           int d, int s, const std::array<double, 16>* given,
                           const WallPose* pose) {
    const Tolerances& t = input.tolerances;
    const double clock = d >= 0 && d < int(fit.clockOffset.size()) ? fit.clockOffset[size_t(d)] : 0;
    const double height =
        s >= 0 && s < int(fit.heightError.size()) ? fit.heightError[size_t(s)] : 0;
    const Measurement m =
        Measure(g, pose ? *pose : WallPose::Of(fit.declination, fit.lean), clock, height, t);
    const std::array<double, 16> c = given ? *given : fit.covariance.Block(d, s);
    // The prediction's covariance over the rows: J C J^T, with the whole prior of a date or a
    // square that the fit did not estimate.
    const auto predictionCovariance = [&](int row, int other) {
        const auto& ja = m.rate[size_t(row)];
        const auto& jb = m.rate[size_t(other)];
        double v = 0;
        for (int a = 0; a < 4; ++a) {
            for (int b = 0; b < 4; ++b) v += ja[size_t(a)] * c[size_t(a * 4 + b)] * jb[size_t(b)];
        }
        if (!fit.covariance.HasDate(d)) v += ja[2] * jb[2] * Square(t.clockSeconds);
        if (!fit.covariance.HasSquare(s)) v += ja[3] * jb[3] * Square(t.heightPercent / 100);
        return v;
    };
    ReadingResidual r;
    r.predicted = m.predicted;
    r.rows = m.rows;
    r.residuals = m.residual;
    r.covariance = m.covariance;
    r.prediction[0] = std::max(predictionCovariance(0, 0), 0.0);
    if (m.rows > 1) {
        r.prediction[1] = predictionCovariance(0, 1);
        r.prediction[2] = std::max(predictionCovariance(1, 1), 0.0);
    }
    r.residual = m.residual[0];
    r.variance = m.covariance[0];
    r.predictionVariance = r.prediction[0];
    return r;
}

}  // namespace kestramo::series
