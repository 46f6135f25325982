#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What the fuzz targets share: the locales they try and the way they report a broken promise.
namespace fuzz_support {

// The three locales whose conventions differ the most for this window: month/day order,
// day/month order with a period, and a decimal comma. Chosen by any byte.
inline QLocale LocaleFor(std::uint8_t choice) {
    switch (choice % 3) {
        case 0:
            return QLocale(QLocale::English, QLocale::UnitedStates);
        case 1:
            return QLocale(QLocale::English, QLocale::UnitedKingdom);
        default:
            return QLocale(QLocale::German, QLocale::Germany);
    }
}

// Fuzz input bytes as a person's text: UTF-8, with broken sequences as replacement characters.
inline QString TextOf(const std::uint8_t* data, std::size_t size) {
    return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

inline bool HoldsNanOrInf(const QString& text) {
    return text.contains(QLatin1String("nan"), Qt::CaseInsensitive) ||
           text.contains(QLatin1String("inf"), Qt::CaseInsensitive);
}

// Ends the run the way libFuzzer records as a crash, after saying what went wrong and for
// which text, so that the saved crash file comes with its reason.
[[noreturn]] inline void Fail(const char* what, const QString& input, const QString& output) {
    std::fprintf(stderr, "\n*** %s\n*** input:  \"%s\"\n*** output: \"%s\"\n", what,
                 input.toUtf8().constData(), output.toUtf8().constData());
    std::abort();
}

}  // namespace fuzz_support
