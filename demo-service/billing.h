#pragma once

#include "records.h"

#include <QJsonArray>
#include <optional>

namespace demo {

// Countries, VAT rates, VAT-number look-ups and payment records.
namespace billing {

struct Company {
    QString name;
    QString address;
    QString country;
};

inline constexpr double kSellerVatPercent = 19.0; // the seller's own country (Romania)

[[nodiscard]] QJsonArray countryList();
[[nodiscard]] bool isKnownCountry(const QString &name);
[[nodiscard]] bool isEuCountry(const QString &name);
[[nodiscard]] double taxRate(const QString &country);
// Company data for a known valid VAT number (upper case, no spaces).
[[nodiscard]] std::optional<Company> vatInfo(const QString &vatNumber);
// VAT due on a purchase: none for a validated EU business outside the seller's country.
[[nodiscard]] double vatFor(const Account &account, double credits);
[[nodiscard]] QJsonObject paymentRecord(const Payment &payment);

} // namespace billing
} // namespace demo
