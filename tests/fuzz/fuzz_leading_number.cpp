// Any text: the number at its start may be infinite when too large, but is never NaN.

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/fuzz_support.h"
#include "text/text_conversions.h"

namespace fs = fuzz_support;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = fs::TextOf(data, size);
    const double value = text_conversions::LeadingNumber(text);
    if (std::isnan(value)) fs::Fail("leading number is NaN", text, QString::number(value));
    return 0;
}
