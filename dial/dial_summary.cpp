#include "dial/dial_summary.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kestramo::dial {

namespace {

constexpr int kHours = 24;

// The line's hour of apparent time: 0 at midnight, in [0, 24).
double ApparentHour(const HourLine& line) {
    const double hour = 12 + line.hourAngle / 15;
    return hour >= kHours ? hour - kHours : hour;
}

}  // namespace

std::vector<ReadingStretch> ReadingStretches(const DialLayout& layout) {
    std::array<bool, kHours> lit{};
    for (const HourLine& line : layout.hourLines) {
        const double hour = ApparentHour(line);
        if (hour == std::floor(hour)) {
            lit[static_cast<int>(hour)] = true;
        }
    }
    std::vector<ReadingStretch> stretches;
    if (std::all_of(lit.begin(), lit.end(), [](bool b) { return b; })) {
        stretches.push_back({0, kHours, 0});
    } else {
        for (int first = 0; first < kHours; ++first) {
            if (!lit[first] || lit[(first + kHours - 1) % kHours]) {
                continue;
            }
            int last = first;
            while (lit[(last + 1) % kHours]) {
                ++last;
            }
            stretches.push_back({first, last, 0});
        }
    }
    for (ReadingStretch& stretch : stretches) {
        for (const HourLine& line : layout.hourLines) {
            const double fromFirst =
                std::fmod(ApparentHour(line) - stretch.firstHour + kHours, kHours);
            if (fromFirst <= stretch.lastHour - stretch.firstHour) {
                stretch.worstMinutes = std::max(stretch.worstMinutes, line.timeErrorMinutes);
            }
        }
    }
    return stretches;
}

}  // namespace kestramo::dial
