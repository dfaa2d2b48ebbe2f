#include "billing.h"

#include "looseforms.h"
#include "machines.h"

#include <QJsonObject>

namespace demo::billing {

namespace {

struct Country {
    const char *name;
    double rate;
    bool eu;
};

const Country kCountries[] = {
    {"Austria", 20, true},       {"Belgium", 21, true},       {"Bulgaria", 20, true},
    {"Croatia", 25, true},       {"Cyprus", 19, true},        {"Czech Republic", 21, true},
    {"Denmark", 25, true},       {"Estonia", 22, true},       {"Finland", 24, true},
    {"France", 20, true},        {"Germany", 19, true},       {"Greece", 24, true},
    {"Hungary", 27, true},       {"Ireland", 23, true},       {"Italy", 22, true},
    {"Latvia", 21, true},        {"Lithuania", 21, true},     {"Luxembourg", 17, true},
    {"Malta", 18, true},         {"Netherlands", 21, true},   {"Poland", 23, true},
    {"Portugal", 23, true},      {"Romania", 19, true},       {"Slovakia", 20, true},
    {"Slovenia", 22, true},      {"Spain", 21, true},         {"Sweden", 25, true},
    {"UK", 20, false},           {"Switzerland", 8.1, false}, {"Norway", 25, false},
    {"United States", 0, false}, {"Canada", 5, false},        {"Australia", 10, false},
    {"Japan", 10, false},        {"India", 18, false},        {"Brazil", 17, false},
};

struct KnownVat {
    const char *number;
    const char *company;
    const char *address;
    const char *country;
};

const KnownVat kValidNumbers[] = {
    {"DE123456789", "Muster Software GmbH", "Hauptstrasse 1, 10115 Berlin", "Germany"},
    {"RO12345678", "Exemplu Cloud SRL", "Strada Lunga 12, Bucuresti", "Romania"},
    {"FR12345678901", "Exemple Informatique SARL", "1 Rue de la Paix, 75002 Paris", "France"},
    {"NL123456789B01", "Voorbeeld Digitaal B.V.", "Damrak 1, 1012 LG Amsterdam", "Netherlands"},
};

} // namespace

QJsonArray countryList()
{
    // The list comes before sign-in, so it cannot follow an account's forms: like the real service's, it
    // mixes them, every other rate as a text and the EU flags in each of the service's forms in turn.
    QJsonArray list;
    int index = 0;
    for (const Country &c : kCountries) {
        const QJsonValue rate = index % 2 ? QJsonValue(QString::number(c.rate)) : QJsonValue(c.rate);
        list.append(QJsonObject{{QStringLiteral("country_name"), QLatin1String(c.name)},
                                {QStringLiteral("tax_rate"), rate},
                                {QStringLiteral("is_eu_country"), loose::flag(c.eu, index)}});
        ++index;
    }
    return list;
}

bool isKnownCountry(const QString &name)
{
    for (const Country &c : kCountries) {
        if (name == QLatin1String(c.name))
            return true;
    }
    return false;
}

bool isEuCountry(const QString &name)
{
    for (const Country &c : kCountries) {
        if (name == QLatin1String(c.name))
            return c.eu;
    }
    return false;
}

double taxRate(const QString &country)
{
    for (const Country &c : kCountries) {
        if (country == QLatin1String(c.name))
            return c.rate;
    }
    return 0;
}

std::optional<Company> vatInfo(const QString &vatNumber)
{
    for (const KnownVat &v : kValidNumbers) {
        if (vatNumber == QLatin1String(v.number))
            return Company{QLatin1String(v.company), QLatin1String(v.address), QLatin1String(v.country)};
    }
    return std::nullopt;
}

double vatFor(const Account &account, double credits)
{
    const bool exempt = account.euResident && account.validVat &&
                        account.country.compare(QLatin1String("romania"), Qt::CaseInsensitive) != 0;
    return exempt ? 0.0 : credits * kSellerVatPercent / 100.0;
}

QJsonObject paymentRecord(const Payment &p)
{
    QJsonObject o;
    o.insert(QStringLiteral("payment_id"), p.id);
    o.insert(QStringLiteral("payment_name"), p.name);
    o.insert(QStringLiteral("paypal_payment_key"), p.key);
    o.insert(QStringLiteral("payment_status"), p.status);
    o.insert(QStringLiteral("payment_amount"), machines::money(p.amount, 2));
    o.insert(QStringLiteral("vat_amount"), machines::money(p.vat, 2));
    o.insert(QStringLiteral("payment_currency"), p.currency);
    o.insert(QStringLiteral("payment_date"), machines::formatUtc(p.dateSecs));
    if (p.status == QLatin1String("Pending"))
        o.insert(QStringLiteral("payment_link"), QString()); // filled in with the host by the caller
    o.insert(QStringLiteral("invoice_status"), p.invoiceStatus);
    return o;
}

} // namespace demo::billing
