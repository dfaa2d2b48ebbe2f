#include "session/creditforecast.h"

#include <algorithm>
#include <cmath>

namespace CreditForecast {

std::optional<double> hoursLeft(double balance, double ratePerHour)
{
    if (!std::isfinite(ratePerHour) || !(ratePerHour > 0) || !std::isfinite(balance))
        return std::nullopt;
    if (balance <= 0)
        return 0.0;
    // A rate so small against the balance that the quotient overflows: no forecast, as with no rate.
    const double hours = balance / ratePerHour;
    return std::isfinite(hours) ? std::optional<double>(hours) : std::nullopt;
}

QString durationText(double hours)
{
    // Whole minutes, rounded down: the line never promises more time than there is. Held to a million
    // hours (over a century), so that a loose value from the service cannot overflow the count.
    constexpr double kLongestHours = 1.0e6;
    const qint64 minutes = hours > 0 ? qint64(std::floor(std::min(hours, kLongestHours) * 60)) : 0;
    if (minutes >= 48 * 60) {
        const qint64 days = minutes / (24 * 60);
        const qint64 restHours = (minutes % (24 * 60)) / 60;
        return QStringLiteral("%1 days %2 h").arg(days).arg(restHours);
    }
    if (minutes < 60)
        return QStringLiteral("%1 min").arg(minutes);
    return QStringLiteral("%1 h %2 min").arg(minutes / 60).arg(minutes % 60);
}

QString hoursLeftText(std::optional<double> hours)
{
    if (!hours)
        return QString();
    return QStringLiteral("\u2248 ") + durationText(*hours) + QStringLiteral(" left");
}

QString rateText(double ratePerHour)
{
    QString text = QString::number(ratePerHour, 'f', 3);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

QString guardText(double hours, double ratePerHour)
{
    return QStringLiteral("Credits for about ") + durationText(hours) + QStringLiteral(" left at ") +
           rateText(ratePerHour) +
           QStringLiteral(" credits/h. Running computers are stopped when credits run out.");
}

GuardStep guardStep(bool armed, std::optional<double> hours, double thresholdHours)
{
    if (!(thresholdHours > 0) || !hours || *hours >= thresholdHours)
        return {false, true};
    return {armed, false};
}

} // namespace CreditForecast
