#include "utils/jsonread.h"

#include "utils/utils.h"

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

bool boolean(const QJsonValue &value)
{
    return Utils::parseBool(value);
}

} // namespace JsonRead
