#include "utils/jsonread.h"

#include "utils/utils.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace JsonRead {

QString text(const QJsonValue &value, const QString &fallback)
{
    switch (value.type()) {
    case QJsonValue::String:
        return value.toString();
    case QJsonValue::Double:
        // The variant keeps integers integral, so 42 does not turn into "42.0" or "4.2e+01".
        return value.toVariant().toString();
    default:
        return fallback;
    }
}

double real(const QJsonValue &value, double fallback)
{
    double result = fallback;
    bool ok = false;
    if (value.isDouble()) {
        result = value.toDouble();
        ok = true;
    } else if (value.isString()) {
        result = value.toString().trimmed().toDouble(&ok);
    }
    return ok && std::isfinite(result) ? result : fallback;
}

int integer(const QJsonValue &value, int fallback)
{
    const double number = real(value, std::numeric_limits<double>::quiet_NaN());
    if (std::isnan(number))
        return fallback;
    const double whole = std::trunc(number);
    if (whole < std::numeric_limits<int>::min() || whole > std::numeric_limits<int>::max())
        return fallback;
    return int(whole);
}

qint64 integer64(const QJsonValue &value, qint64 fallback)
{
    if (value.isString()) {
        bool ok = false;
        const qint64 exact = value.toString().trimmed().toLongLong(&ok);
        if (ok)
            return exact;
    }
    const double number = real(value, std::numeric_limits<double>::quiet_NaN());
    if (std::isnan(number))
        return fallback;
    const double whole = std::trunc(number);
    // 2^63 is exactly representable as a double; anything from there on does not fit.
    constexpr double kLimit = 9223372036854775808.0;
    if (whole < -kLimit || whole >= kLimit)
        return fallback;
    return qint64(whole);
}

bool boolean(const QJsonValue &value)
{
    return Utils::parseBool(value);
}

QJsonArray entries(const QJsonValue &collection, bool *ok)
{
    if (ok)
        *ok = collection.isArray() || collection.isObject();
    if (collection.isArray())
        return collection.toArray();
    const QJsonObject object = collection.toObject();
    QList<std::pair<qlonglong, QJsonValue>> numbered;
    numbered.reserve(object.size());
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        bool whole = false;
        const qlonglong key = it.key().toLongLong(&whole);
        if (!whole)
            break;
        numbered.append({key, it.value()});
    }
    QJsonArray result;
    if (numbered.size() == object.size()) {
        std::stable_sort(numbered.begin(), numbered.end(),
                         [](const auto &a, const auto &b) { return a.first < b.first; });
        for (const auto &entry : std::as_const(numbered))
            result.append(entry.second);
    } else {
        for (auto it = object.constBegin(); it != object.constEnd(); ++it)
            result.append(it.value());
    }
    return result;
}

} // namespace JsonRead
