// The log export: values cut from the input (fields by 0x1f, entries by 0x1e) are written as CSV and read
// back with a strict reader. Every value must come back as it was (a formula-like value with its
// protecting "'"), in its own field and line.
#include "fuzzsupport.h"
#include "logs/csvwriter.h"

#include <QStringList>
#include <QVariantMap>

namespace {

// RFC 4180 reading of `text`: lines separated by "\n" outside quotes. Returns false on malformed quoting.
bool readCsv(const QString &text, QList<QStringList> *rows)
{
    QStringList row;
    QString field;
    bool quoted = false;
    bool wasQuoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
            continue;
        }
        if (c == QLatin1Char('"')) {
            if (!field.isEmpty() || wasQuoted)
                return false; // a quote inside an unquoted field
            quoted = wasQuoted = true;
        } else if (c == QLatin1Char(',')) {
            row.append(field);
            field.clear();
            wasQuoted = false;
        } else if (c == QLatin1Char('\n')) {
            row.append(field);
            rows->append(row);
            row.clear();
            field.clear();
            wasQuoted = false;
        } else {
            if (wasQuoted)
                return false; // text after a closing quote
            if (c == QLatin1Char('\r'))
                return false; // a bare carriage return outside quotes
            field += c;
        }
    }
    if (quoted)
        return false;
    row.append(field);
    rows->append(row);
    return true;
}

QString expected(const QString &value)
{
    if (!value.isEmpty() && QStringLiteral("=+-@").contains(value.front()))
        return QLatin1Char('\'') + value;
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = QString::fromUtf8(fuzzsupport::bytes(data, size));
    const QStringList keys{QStringLiteral("timezone"), QStringLiteral("operation_datetime"),
                           QStringLiteral("details")};
    QVariantList entries;
    QList<QStringList> values;
    for (const QString &line : input.split(QChar(0x1e))) {
        const QStringList parts = line.split(QChar(0x1f));
        QVariantMap entry;
        QStringList row;
        for (int k = 0; k < keys.size(); ++k) {
            const QString value = parts.value(k);
            entry.insert(keys.at(k), value);
            row.append(expected(value));
        }
        entries.append(entry);
        values.append(row);
    }
    const QString text = CsvWriter::pageText(entries, keys);
    QList<QStringList> rows;
    if (!readCsv(text, &rows))
        __builtin_trap(); // the writer produced text a CSV reader rejects
    if (rows != values)
        __builtin_trap(); // a value changed, or moved to another field or line
    return 0;
}
