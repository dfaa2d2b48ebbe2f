#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

// The CSV text of one page of log entries, and its atomic write to a file. Values holding a comma, a
// quote or a line break are quoted (inner quotes doubled), and a value that a spreadsheet would read as a
// formula (leading "=", "+", "-" or "@") gets a leading "'" so that opening the export runs nothing.
class CsvWriter {
public:
    // One CSV field.
    [[nodiscard]] static QString field(const QString &value);
    // One line per entry (a map, or anything QVariant converts to one) with the values of `columnKeys`
    // in order; a missing value is an empty field. Lines are joined by a line feed; no header, no final
    // line feed. An empty page gives an empty text.
    [[nodiscard]] static QString pageText(const QVariantList &entries, const QStringList &columnKeys);
    // Writes `text` as UTF-8 to `path` through a temporary file that replaces the target only when
    // everything was written. On failure `error` (when given) receives the reason.
    [[nodiscard]] static bool writeFile(const QString &path, const QString &text, QString *error = nullptr);
};
