#include "engine/Trig_Functions.h"

#include <cmath>
#include <iostream>
#include <numbers>
#include <utility>

namespace Trig_Functions {
namespace {

// Tolerance that ArcSin grants to arguments a rounding step has carried just past +-1.
constexpr double kArcSinSlack = 1.00000000001;

std::function<void(const std::string&)>& RangeErrorHandler() {
    static std::function<void(const std::string&)> handler;
    return handler;
}

void ReportRangeError(const std::string& message) {
    if (const auto& handler = RangeErrorHandler()) {
        handler(message);
    } else {
        std::cerr << message << '\n';
    }
}

}  // namespace

void SetRangeErrorHandler(std::function<void(const std::string& message)> handler) {
    RangeErrorHandler() = std::move(handler);
}

double ArcTan(double x) { return std::atan(x); }

double ArcSin(double x) {
    const double magnitude = std::fabs(x);
    if (magnitude < 1) {
        return std::atan(x / std::sqrt(1 - x * x));
    }
    if (magnitude < kArcSinSlack) {
        return (std::numbers::pi / 2) * x;
    }
    ReportRangeError("Input out of ArcSine range");
    return 0;
}

double ArcCos(double x) {
    const double magnitude = std::fabs(x);
    if (magnitude < 1) {
        return std::atan(-x / std::sqrt(1 - x * x)) + 2 * std::atan(1.0);
    }
    if (magnitude == 1) {
        return 2 * std::atan(1.0) - 2 * x * std::atan(1.0);
    }
    ReportRangeError("Input out of ArcCos range");
    return 0;
}

}  // namespace Trig_Functions
