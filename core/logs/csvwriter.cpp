#include "csvwriter.h"

#include <QSaveFile>
#include <QVariantMap>

QString CsvWriter::field(const QString &value)
{
    QString text = value;
    if (!text.isEmpty()) {
        const QChar first = text.front();
        if (first == QLatin1Char('=') || first == QLatin1Char('+') || first == QLatin1Char('-') ||
            first == QLatin1Char('@'))
            text.prepend(QLatin1Char('\''));
    }
    const bool needsQuotes = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
                             text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
    if (!needsQuotes)
        return text;
    text.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString CsvWriter::pageText(const QVariantList &entries, const QStringList &columnKeys)
{
    QStringList lines;
    lines.reserve(entries.size());
    for (const QVariant &entry : entries) {
        const QVariantMap values = entry.toMap();
        QStringList fields;
        fields.reserve(columnKeys.size());
        for (const QString &key : columnKeys) {
            const QVariant value = values.value(key);
            // Null and missing show as empty text; numbers and booleans as their text.
            fields.append(field(value.isNull() ? QString() : value.toString()));
        }
        lines.append(fields.join(QLatin1Char(',')));
    }
    return lines.join(QLatin1Char('\n'));
}

bool CsvWriter::writeFile(const QString &path, const QString &text, QString *error)
{
    QSaveFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = path.isEmpty() ? QStringLiteral("no local file path") : file.errorString();
        return false;
    }
    const QByteArray data = text.toUtf8();
    if (file.write(data) != data.size()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
