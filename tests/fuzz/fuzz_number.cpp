// Any text in each of the fuzzed locales: what the number conversion accepts is finite.

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/fuzz_support.h"
#include "text/text_conversions.h"

namespace tc = text_conversions;
namespace fs = fuzz_support;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = fs::TextOf(data, size);
    for (int choice = 0; choice < fs::kLocaleChoices; ++choice) {
        const QLocale locale = fs::LocaleFor(static_cast<std::uint8_t>(choice));
        const std::optional<double> value = tc::ParseNumber(text, locale);
        if (value && !std::isfinite(*value)) {
            fs::Fail(
                qPrintable(QStringLiteral("accepted number is not finite in ") + locale.name()),
                text, QString::number(*value));
        }
    }
    return 0;
}
