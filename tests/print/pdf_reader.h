#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

// Reads a PDF back with poppler's tools, the way a person checking the printout would: how
// many pages it has, its text line by line, and the fonts it embeds.
namespace pdf_reader {

inline QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// 0 when the file is not a readable PDF.
inline int Pages(const QString& file) {
    static const QRegularExpression kPages(QStringLiteral("^Pages:\\s+(\\d+)"),
                                           QRegularExpression::MultilineOption);
    return kPages.match(Run(QStringLiteral("pdfinfo"), {file})).captured(1).toInt();
}

// The text lines in reading order, each with its blanks collapsed, empty lines left out: a
// layout extractor places words by position, so spacing and blank lines are approximate.
inline QStringList TextLines(const QString& file) {
    QStringList lines;
    const QString text =
        Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString simple = line.simplified();
        if (!simple.isEmpty()) lines << simple;
    }
    return lines;
}

// The paper of the first page as pdfinfo names it: "letter", "A4"; empty when it has no name.
inline QString PaperName(const QString& file) {
    static const QRegularExpression kPaper(QStringLiteral("^Page size:.*\\((\\w+)\\)"),
                                           QRegularExpression::MultilineOption);
    return kPaper.match(Run(QStringLiteral("pdfinfo"), {file})).captured(1);
}

// The base names of the embedded fonts without their subset tags: "LiberationSans".
inline QStringList Fonts(const QString& file) {
    QStringList fonts;
    const QStringList rows = Run(QStringLiteral("pdffonts"), {file}).split(QLatin1Char('\n'));
    // Two heading rows, then one row a font, its name first.
    for (const QString& row : rows.mid(2)) {
        QString name = row.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty);
        if (name.isEmpty()) continue;
        if (name.size() > 7 && name[6] == QLatin1Char('+')) name = name.mid(7);
        fonts << name;
    }
    return fonts;
}

}  // namespace pdf_reader
