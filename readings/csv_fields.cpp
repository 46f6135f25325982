#include "readings/csv_fields.h"

#include <QRegularExpression>
#include <QStringDecoder>

namespace kestramo::readings::csv {

std::optional<QString> DecodeText(QByteArrayView bytes) {
    const QStringConverter::Encoding encoding =
        QStringConverter::encodingForData(bytes).value_or(QStringConverter::Utf8);
    QStringDecoder decoder(encoding);
    const QString text = decoder.decode(bytes);
    if (text.contains(QChar(u'\0'))) {
        return std::nullopt;
    }
    return text;
}

QChar Separator(const QString& text) {
    const QString firstLine = text.section(QRegularExpression(QStringLiteral("[\r\n]")), 0, 0);
    if (firstLine.contains(u',')) return u',';
    if (firstLine.contains(u'\t')) return u'\t';
    return firstLine.contains(u';') ? u';' : u',';
}

std::vector<Record> SplitRecords(const QString& text) {
    const QChar separator = Separator(text);
    std::vector<Record> records;
    Record record{1, {}};
    QString field;
    bool quoted = false;
    bool any = false;  // the record has content (a field or a separator)
    int line = 1;
    const auto endRecord = [&] {
        if (any) {
            record.fields.append(field);
            records.push_back(record);
        }
        record = Record{line, {}};
        field.clear();
        any = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text[i + 1] == u'"') {
                    field.append(u'"');
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n' || (c == u'\r' && !(i + 1 < text.size() && text[i + 1] == u'\n'))) {
                    ++line;
                }
                field.append(c);
            }
            continue;
        }
        if (c == u'"') {
            quoted = true;
            any = true;
        } else if (c == separator) {
            record.fields.append(field);
            field.clear();
            any = true;
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
                ++i;
            }
            ++line;
            endRecord();
        } else {
            field.append(c);
            any = any || !c.isSpace();
        }
    }
    endRecord();
    return records;
}

QString Quoted(const QString& field) {
    if (!field.contains(u',') && !field.contains(u'"') && !field.contains(u'\n') &&
        !field.contains(u'\r')) {
        return field;
    }
    QString doubled = field;
    doubled.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + doubled + u'"';
}

}  // namespace kestramo::readings::csv
