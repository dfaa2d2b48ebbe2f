#pragma once

#include <QString>

// The figures and number formats of a computer's billing page. Pure functions of plain values, so that
// they do not depend on where the computer's fields come from.
namespace BillingFigures {

// A number the way the page writes one without a fixed precision: the shortest text that reads back as
// the same number, never in exponent form for ordinary amounts ("0.05", "1", "0.00001").
[[nodiscard]] QString plainNumber(double value);
// A number with a fixed count of decimals ("12.34000").
[[nodiscard]] QString fixed(double value, int decimals);

// What the running session has cost: (sessionRunTime / 60) x powerOnRate (minutes, credits per hour).
[[nodiscard]] double sessionCost(double sessionRunTimeMinutes, double powerOnRatePerHour);
// "<cost with five decimals> credits".
[[nodiscard]] QString creditsText(double credits);
// "approx. <duration> at <rate with three decimals> credits/h", under the session cost.
[[nodiscard]] QString sessionDetailText(double sessionRunTimeMinutes, double powerOnRatePerHour);
// "approx. <duration>", under the running and idle totals.
[[nodiscard]] QString approxText(double minutes);

// The current price period (shown for every computer that is not deleted).
// "Between (<lastDatePs>) - ( present time ) UTC"
[[nodiscard]] QString currentPeriodTitle(const QString &lastDatePs);
// "<cost> credits | "
[[nodiscard]] QString periodCostText(double costPs);
// "approx. <duration> @ <rate> credits/hour"
[[nodiscard]] QString periodDetailText(double minutesPs, double ratePerHour);

// Which parts of the page show.
[[nodiscard]] inline bool showsSessionRow(bool isPoweredOn)
{
    return isPoweredOn;
}
[[nodiscard]] inline bool showsCurrentPeriod(bool isDeleted)
{
    return !isDeleted;
}
[[nodiscard]] inline bool showsPriceHistory(const QString &priceHistoryStr)
{
    return !priceHistoryStr.isEmpty();
}

} // namespace BillingFigures
