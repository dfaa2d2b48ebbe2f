#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

// Lenient readers for values in the service's replies, which may arrive as numbers, texts, null or not
// at all. Each reader falls back to the given default instead of failing.
namespace JsonRead {

// A text as received. A number becomes its decimal text (an id sent as 42 reads "42"); null, booleans,
// objects, lists and a missing key give the fallback, never the text "null".
[[nodiscard]] QString text(const QJsonValue &value, const QString &fallback = QString());

// A decimal number from a number or a text ("12.5", " 3 "); anything that does not parse to a finite
// number gives the fallback.
[[nodiscard]] double real(const QJsonValue &value, double fallback);

// A whole number from a number or a text; a fractional part is dropped ("3.7" reads 3). Anything that
// does not parse, or lies outside the int range, gives the fallback.
[[nodiscard]] int integer(const QJsonValue &value, int fallback);

// The same for identifiers, which may exceed the int range: a text is read exactly as a 64-bit whole
// number, a JSON number as far as a double holds it.
[[nodiscard]] qint64 integer64(const QJsonValue &value, qint64 fallback);

// Utils::parseBool on the value (missing and null are false).
[[nodiscard]] bool boolean(const QJsonValue &value);

// The records of a collection that the service sends either as a list (kept in its order) or as an object
// keyed by identifier. An object's records come in the order of their keys as numbers when every key is
// a whole number ("9" before "10"; a JSON object itself keeps its keys in text order), otherwise in text
// order. Anything else gives no records and sets *ok to false.
[[nodiscard]] QJsonArray entries(const QJsonValue &collection, bool *ok = nullptr);

} // namespace JsonRead
