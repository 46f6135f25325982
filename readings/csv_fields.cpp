#include "readings/csv_fields.h"

namespace kestramo::readings::csv {

std::vector<Record> SplitRecords(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes = bytes.sliced(3);
    }
    const QString text = QString::fromUtf8(bytes);
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
        } else if (c == u',') {
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
