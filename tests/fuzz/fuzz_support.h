#pragma once

#include <QByteArray>
#include <QLocale>
#include <QRegularExpression>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What the fuzz targets share: the locales they try and the way they report a broken promise.
namespace fuzz_support {

// Locales whose conventions differ the most for this window: month/day order, day/month
// order with a period, a decimal comma, year first with words between the fields, designators
// before the time and other scripts' digits. Chosen by any byte: '0' en_US, '1' en_GB,
// '2' de_DE, '3' ja_JP, '4' fr_FR, '5' ar_EG, '6' hi_IN, '7' C, '8' fa_IR, '9' es_ES,
// ':' it_IT, ';' fi_FI.
inline constexpr int kLocaleChoices = 12;

inline QLocale LocaleFor(std::uint8_t choice) {
    static const QLocale locales[kLocaleChoices] = {
        QLocale(QLocale::English, QLocale::UnitedStates),
        QLocale(QLocale::English, QLocale::UnitedKingdom),
        QLocale(QLocale::German, QLocale::Germany),
        QLocale(QLocale::Japanese, QLocale::Japan),
        QLocale(QLocale::French, QLocale::France),
        QLocale(QLocale::Arabic, QLocale::Egypt),
        QLocale(QLocale::Hindi, QLocale::India),
        QLocale::c(),
        QLocale(QLocale::Persian, QLocale::Iran),
        QLocale(QLocale::Spanish, QLocale::Spain),
        QLocale(QLocale::Italian, QLocale::Italy),
        QLocale(QLocale::Finnish, QLocale::Finland),
    };
    return locales[choice % kLocaleChoices];
}

// Fuzz input bytes as a person's text: UTF-8, with broken sequences as replacement characters.
inline QString TextOf(const std::uint8_t* data, std::size_t size) {
    return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// "nan" or "inf" as words of their own: inside a word they are only letters, as in the
// Finnish "maanantaina".
inline bool HoldsNanOrInf(const QString& text) {
    static const QRegularExpression kNanOrInf(QStringLiteral("\\b(nan|inf|infinity)\\b"),
                                              QRegularExpression::CaseInsensitiveOption);
    return text.contains(kNanOrInf);
}

// Ends the run the way libFuzzer records as a crash, after saying what went wrong and for
// which text, so that the saved crash file comes with its reason.
[[noreturn]] inline void Fail(const char* what, const QString& input, const QString& output) {
    std::fprintf(stderr, "\n*** %s\n*** input:  \"%s\"\n*** output: \"%s\"\n", what,
                 input.toUtf8().constData(), output.toUtf8().constData());
    std::abort();
}

}  // namespace fuzz_support
