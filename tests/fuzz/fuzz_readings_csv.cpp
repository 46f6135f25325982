// Any bytes as a readings file: the reader never crashes, every reading it accepts is within
// the ranges the window admits, and each rejected line is named.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "readings/readings_csv.h"
#include "series/series.h"

namespace kr = kestramo::readings;
namespace ks = kestramo::series;

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
    if (read.readings.size() != read.inclusion.size() ||
        read.readings.size() != read.geometry.size()) {
        Fail("readings and what is said of them differ in count");
    }
    for (const ks::Reading& r : read.readings) {
        const kestramo::Observation& o = r.observation;
        const double offset = ks::UtcOffsetHoursOf(r);
        const double clock = ks::ClockSecondsOf(r);
        if (!(std::fabs(o.latitude) <= 90) || !(std::fabs(o.longitude) <= 180) || !(r.height > 0) ||
            !std::isfinite(r.height) || !(r.length > 0) || !std::isfinite(r.length) ||
            !(offset >= -12 && offset <= 14) || !(clock >= 0 && clock < 86400) ||
            !kestramo::IsValidDate(ks::DateOf(r))) {
            Fail("an accepted reading is out of range");
        }
    }
    for (const kr::CsvProblem& problem : read.problems) {
        if (problem.message.isEmpty()) {
            Fail("a problem without a message");
        }
    }
    // What was read must combine and write without trouble too.
    const ks::Tolerances used = read.tolerances.value_or(tolerances);
    const ks::SolvedSeries series =
        ks::SolveSeries(read.readings, read.geometry, used, read.inclusion);
    if (series.result.declination && !std::isfinite(*series.result.declination)) {
        Fail("the combined declination is not finite");
    }
    const QByteArray written = kr::WriteReadingsCsv(read.readings, read.inclusion, series, used,
                                                    kr::CsvContent::WithSeries);
    const kr::CsvReadResult again = kr::ReadReadingsCsv(written, tolerances);
    if (again.readings.size() != read.readings.size() || again.inclusion != read.inclusion) {
        Fail("written readings do not read back");
    }
    return 0;
}
