#pragma once

#include <QString>

#include <optional>

// How long the balance lasts at the current burn rate, and the rule of the credit-exhaustion guard.
// Pure functions, so the arithmetic can be tested without a session.
namespace CreditForecast {

// Hours left at `ratePerHour`: none when nothing burns (rate 0 or less, or not a number); 0 for a balance
// of 0 or less.
[[nodiscard]] std::optional<double> hoursLeft(double balance, double ratePerHour);

// A duration in whole minutes: "40 min", "14 h 20 min", and from 48 h on "3 days 4 h".
[[nodiscard]] QString durationText(double hours);
// The sidebar's and the tray's line: "≈ 14 h 20 min left"; empty when nothing burns.
[[nodiscard]] QString hoursLeftText(std::optional<double> hours);
// A rate as the user reads it: up to three decimals, no trailing zeros ("1.9", "0.125", "2").
[[nodiscard]] QString rateText(double ratePerHour);
// The guard's notice: "Credits for about 1 h 40 min left at 1.9 credits/h. Running computers are stopped
// when credits run out."
[[nodiscard]] QString guardText(double hours, double ratePerHour);

// The guard fires once per crossing: when the hours left fall below the threshold while it is armed. It
// is armed again once the hours left are at or above the threshold, or nothing burns any more. A threshold
// of 0 or less turns it off (and leaves it armed).
struct GuardStep {
    bool fire = false;
    bool armed = true;
};
[[nodiscard]] GuardStep guardStep(bool armed, std::optional<double> hours, double thresholdHours);

} // namespace CreditForecast
