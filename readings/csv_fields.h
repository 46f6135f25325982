#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Splitting comma- or tab-separated text into records and fields. Internal to the readings file.
namespace kestramo::readings::csv {

struct Record {
    int line = 0;        // the line the record starts on, counting from 1
    QStringList fields;  // unquoted field texts
};

// The text of a file: UTF-16 of either byte order or UTF-8 when a byte-order mark says so (the
// mark is dropped), else UTF-8. None when the text holds a NUL character, as binary files do.
std::optional<QString> DecodeText(QByteArrayView bytes);

// What separates the fields of the text: a comma, or a tab when the first line holds tabs and no
// comma (a spreadsheet's "Unicode text"), or a semicolon when it holds semicolons and neither
// (a spreadsheet's CSV where the decimal sign is a comma).
QChar Separator(const QString& text);

// Records of the text, its fields split at `Separator(text)`. Quoted fields may hold separators,
// doubled quotes and line breaks; LF, CRLF and lone CR end a record.
std::vector<Record> SplitRecords(const QString& text);

// A field as it must be written: quoted when it holds a comma, a quote or a line break.
QString Quoted(const QString& field);

}  // namespace kestramo::readings::csv
