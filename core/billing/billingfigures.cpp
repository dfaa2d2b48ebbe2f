#include "billingfigures.h"

#include "utils/utils.h"

#include <QLocale>
#include <cmath>

namespace BillingFigures {

QString plainNumber(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity");
    if (value == 0)
        return QStringLiteral("0"); // also for -0
    const double magnitude = std::fabs(value);
    // Very large or very small numbers keep the exponent form instead of a wall of zeros.
    if (magnitude >= 1e21 || magnitude < 1e-6)
        return QString::number(value, 'g', QLocale::FloatingPointShortest);
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

QString fixed(double value, int decimals)
{
    if (!std::isfinite(value))
        return plainNumber(value);
    return QString::number(value, 'f', decimals);
}

double sessionCost(double sessionRunTimeMinutes, double powerOnRatePerHour)
{
    return sessionRunTimeMinutes / 60.0 * powerOnRatePerHour;
}

QString creditsText(double credits)
{
    return fixed(credits, 5) + QStringLiteral(" credits");
}

QString sessionDetailText(double sessionRunTimeMinutes, double powerOnRatePerHour)
{
    return QStringLiteral("approx. ") + Utils::formatMinutes(sessionRunTimeMinutes) + QStringLiteral(" at ") +
           fixed(powerOnRatePerHour, 3) + QStringLiteral(" credits/h");
}

QString approxText(double minutes)
{
    return QStringLiteral("approx. ") + Utils::formatMinutes(minutes);
}

QString currentPeriodTitle(const QString &lastDatePs)
{
    return QStringLiteral("Between (") + lastDatePs + QStringLiteral(") - ( present time ) UTC");
}

QString periodCostText(double costPs)
{
    return plainNumber(costPs) + QStringLiteral(" credits | ");
}

QString periodDetailText(double minutesPs, double ratePerHour)
{
    return QStringLiteral("approx. ") + Utils::formatMinutes(minutesPs) + QStringLiteral(" @ ") +
           plainNumber(ratePerHour) + QStringLiteral(" credits/hour");
}

} // namespace BillingFigures
