#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <vector>

// Splitting comma-separated text into records and fields. Internal to the readings file.
namespace kestramo::readings::csv {

struct Record {
    int line = 0;        // the line the record starts on, counting from 1
    QStringList fields;  // unquoted field texts
};

// Records of UTF-8 text (a leading byte-order mark is skipped). Quoted fields may hold commas,
// doubled quotes and line breaks; LF, CRLF and lone CR end a record.
std::vector<Record> SplitRecords(QByteArrayView bytes);

// A field as it must be written: quoted when it holds a comma, a quote or a line break.
QString Quoted(const QString& field);

}  // namespace kestramo::readings::csv
