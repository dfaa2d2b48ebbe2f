#pragma once

#include <QString>
#include <optional>

// The VAT the client adds to a credit purchase, the line that tells the user about it, and the rules of
// the purchase amount field. The seller is a Romanian company: `rate` is the Romanian VAT multiplier
// (1.19 for 19 %), or -1 while it has not been received.
namespace VatRules {

inline constexpr double kRateUnknown = -1;

// Who buys, as far as VAT is concerned.
struct Buyer {
    bool euResident = false;
    bool validVat = false; // a validated EU VAT number
    QString country;
};

// Romania, in any case.
[[nodiscard]] bool isRomania(const QString &country);

// What the user pays for `amount` credits, VAT included: nothing added for an EU company with a
// validated VAT number outside Romania; amount x rate for everyone else. Meaningless while the rate is
// unknown.
[[nodiscard]] double modifiedAmount(double amount, double rate, const Buyer &buyer);

// The line under the purchase field, in one of its five forms.
[[nodiscard]] QString line(double rate, double amount, const Buyer &buyer);

// The amount field enables the purchase while it holds two or more characters, all digits.
[[nodiscard]] bool isValidAmountText(const QString &text);
// The whole number of credits in the field; none when the text is not a valid amount or too large.
[[nodiscard]] std::optional<qint64> amountFromText(const QString &text);

} // namespace VatRules
