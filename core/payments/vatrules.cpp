#include "vatrules.h"

namespace VatRules {

namespace {

QString fixed(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

} // namespace

bool isRomania(const QString &country)
{
    return country.toLower() == QLatin1String("romania");
}

double modifiedAmount(double amount, double rate, const Buyer &buyer)
{
    if (buyer.euResident && buyer.validVat && !isRomania(buyer.country))
        return amount;
    return amount * rate;
}

QString line(double rate, double amount, const Buyer &buyer)
{
    if (rate == kRateUnknown)
        return QStringLiteral("VAT will be applied when making the payment.");
    const double percent = 100 * (rate - 1);
    const QString p2 = fixed(percent, 2);
    const QString total = fixed(modifiedAmount(amount, rate, buyer), 2);
    if (buyer.euResident && buyer.validVat) {
        if (isRomania(buyer.country))
            return QStringLiteral("Total (including VAT ") + p2 + QStringLiteral("%) = €") + total +
                   QStringLiteral("\n\nNOTE: Valid RO/EU VAT provided || VAT ") + p2 +
                   QStringLiteral("% will be charged because vantorix is a Romanian company, under RO fiscal "
                                  "regulations.");
        return QStringLiteral("Valid EU VAT provided || VAT will not be added to your purchase");
    }
    if (buyer.validVat)
        return QStringLiteral("Total (including VAT ") + p2 + QStringLiteral("%) = €") + total +
               QStringLiteral("\n\nNOTE: Valid EU VAT provided || VAT ") + p2 +
               QStringLiteral(
                   "% will be charged because the EU Resident checkbox is unchecked. Please enable "
                   "the EU Resident checkbox if you don't want to be charged VAT.");
    return QStringLiteral("Total (including VAT ") + fixed(percent, 1) + QStringLiteral("%) = €") + total;
}

bool isValidAmountText(const QString &text)
{
    if (text.size() < 2)
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

std::optional<qint64> amountFromText(const QString &text)
{
    if (!isValidAmountText(text))
        return std::nullopt;
    bool ok = false;
    const qint64 amount = text.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return amount;
}

} // namespace VatRules
