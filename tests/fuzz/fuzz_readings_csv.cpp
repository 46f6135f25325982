// Any bytes as a readings file: the reader never crashes, every reading it accepts is within
// the ranges the window admits, and each rejected line is named.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "readings/readings_csv.h"
#include "readings/series.h"

namespace kr = kestramo::readings;

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "\n*** %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kr::Tolerances tolerances;
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const kr::CsvReadResult read = kr::ReadReadingsCsv(bytes, tolerances);
    if (read.readings.size() != read.lines.size()) {
        Fail("readings and their line numbers differ in count");
    }
    for (const kr::Reading& r : read.readings) {
        if (!(std::fabs(r.latitude) <= 90) || !(std::fabs(r.longitude) <= 180) || !(r.height > 0) ||
            !std::isfinite(r.height) || !(r.length > 0) || !std::isfinite(r.length) ||
            !(r.utcOffsetHours >= -12 && r.utcOffsetHours <= 14) ||
            !(r.clockSeconds >= 0 && r.clockSeconds < 86400) || !kr::IsValidDate(r.date)) {
            Fail("an accepted reading is out of range");
        }
    }
    for (const kr::CsvProblem& problem : read.problems) {
        if (problem.message.isEmpty()) {
            Fail("a problem without a message");
        }
    }
    // What was read must combine and write without trouble too.
    const kr::SolvedSeries series = kr::SolveSeries(read.readings, tolerances);
    if (series.result.declination && !std::isfinite(*series.result.declination)) {
        Fail("the combined declination is not finite");
    }
    const QByteArray written = kr::WriteReadingsCsv(read.readings, tolerances);
    if (kr::ReadReadingsCsv(written, tolerances).readings.size() != read.readings.size()) {
        Fail("written readings do not read back");
    }
    return 0;
}
