#pragma once

#include <QJSValue>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

#include <functional>

class ApiClient;
class Shell;

// The country list with VAT rates and the VAT-number check, for the forms that ask for a country or a
// company's VAT number. The root document owns one and publishes its list and busy flag.
class CountryService : public QObject {
    Q_OBJECT
    QML_ELEMENT
    // Country records ("country_name", "tax_rate", "is_eu_country"); two built-in ones until the service
    // has answered.
    Q_PROPERTY(QVariantList countries READ countries NOTIFY countriesChanged)
    Q_PROPERTY(bool gettingVATInfo READ gettingVATInfo NOTIFY gettingVATInfoChanged)

public:
    // client, shell: not owned; null takes the process-wide ones (UiServices).
    explicit CountryService(QObject *parent = nullptr);
    CountryService(ApiClient *client, Shell *shell, QObject *parent);

    [[nodiscard]] QVariantList countries() const { return m_countries; }
    [[nodiscard]] bool gettingVATInfo() const { return m_vatChecks > 0; }
    [[nodiscard]] static QVariantList builtInCountries();

    Q_INVOKABLE void loadCountriesList();
    // Asks the service about a VAT number. `callback` gets the parsed reply, or false when the reply is
    // not JSON; it is not called when the request fails at the HTTP or network level.
    Q_INVOKABLE void getVATInfo(const QString &vatNumber, const QJSValue &callback);
    void getVATInfo(const QString &vatNumber, std::function<void(const QVariant &)> callback);

    // The names a country box offers: every country, or only the EU ones.
    Q_INVOKABLE [[nodiscard]] QStringList countryNames(bool euOnly) const;
    // The entry a country box selects when its entries change: the previous choice when still offered,
    // else the first entry (-1 when there is none).
    Q_INVOKABLE [[nodiscard]] static int keptSelection(const QStringList &names, const QString &previous);

    // What the sign-up and profile forms make of a VAT check's answer: {validated, message, companyName,
    // companyAddress, countryName}. Not JSON: not validated, "Invalid EU VAT number". An object with
    // "error_message": not validated, that text. Any other object: validated, with its company data.
    Q_INVOKABLE [[nodiscard]] static QVariantMap interpretVatInfo(const QVariant &answer);

Q_SIGNALS:
    void countriesChanged();
    void gettingVATInfoChanged();
    // The service refused the country list with a message of its own; the signed-out window shows it in
    // its own notification area.
    void countriesErrorMessage(const QString &message);

private:
    void setCountries(const QVariantList &countries);

    ApiClient *m_client = nullptr;
    Shell *m_shell = nullptr;
    QVariantList m_countries;
    int m_vatChecks = 0;
};
