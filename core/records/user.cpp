#include "records/user.h"

#include "logging.h"
#include "records/assign.h"
#include "utils/jsonread.h"

#include <array>

namespace {

struct EmailChoice {
    User::EmailNotification number;
    const char *key;
    bool (User::*get)() const;
    void (User::*set)(bool);
};

// Note the singular "low_credit" beside the plural "credits_..." keys: that is the service's spelling.
const std::array<EmailChoice, 9> kEmailChoices{{
    {User::CreditsPurchase, "credits_purchase", &User::notificationCreditsPurchase,
     &User::setNotificationCreditsPurchase},
    {User::CreditsDepleted, "credits_depleted", &User::notificationCreditsDepleted,
     &User::setNotificationCreditsDepleted},
    {User::LowCredits, "low_credit", &User::notificationLowCredits, &User::setNotificationLowCredits},
    {User::MachineCreated, "machine_created", &User::notificationMachineCreated,
     &User::setNotificationMachineCreated},
    {User::MachineStarted, "machine_started", &User::notificationMachineStarted,
     &User::setNotificationMachineStarted},
    {User::MachineStopped, "machine_stopped", &User::notificationMachineStopped,
     &User::setNotificationMachineStopped},
    {User::MachineReset, "machine_reset", &User::notificationMachineReset,
     &User::setNotificationMachineReset},
    {User::MachineDeleted, "machine_deleted", &User::notificationMachineDeleted,
     &User::setNotificationMachineDeleted},
    {User::MachineRunningForXHours, "machine_running_for_x_hours", &User::notificationMachineRunningForXHours,
     &User::setNotificationMachineRunningForXHours},
}};

const EmailChoice *emailChoice(int number)
{
    for (const EmailChoice &choice : kEmailChoices) {
        if (choice.number == number)
            return &choice;
    }
    return nullptr;
}

QString readCountry(const QJsonValue &value)
{
    return JsonRead::text(value, QStringLiteral("NA"));
}

double readCredits(const QJsonValue &value)
{
    return JsonRead::real(value, 0);
}

double readLowCreditsThreshold(const QJsonValue &value)
{
    return JsonRead::real(value, Utils::defaultLowCreditsThreshold);
}

int readOwnedCreditsFlag(const QJsonValue &value)
{
    return JsonRead::boolean(value) ? 1 : 0;
}

} // namespace

QString User::emailNotificationKey(int number)
{
    const EmailChoice *choice = emailChoice(number);
    return choice ? QString::fromLatin1(choice->key) : QString();
}

User::User(QObject *parent) : QObject(parent)
{
}

User *User::fromLoginData(const QJsonObject &data, const QString &password, QObject *parent)
{
    const QString email = JsonRead::text(data.value(QLatin1String("user_email")));
    if (email.trimmed().isEmpty()) {
        qCWarning(lcCore) << "Sign-in data has no \"user_email\"; the user cannot be signed in";
        return nullptr;
    }

    auto *user = new User(parent);
    user->m_id = JsonRead::text(data.value(QLatin1String("ID")));
    user->m_login = JsonRead::text(data.value(QLatin1String("user_login")));
    user->m_name = JsonRead::text(data.value(QLatin1String("user_nicename")));
    user->m_email = email;
    user->m_password = password;
    user->m_url = JsonRead::text(data.value(QLatin1String("user_url")));
    user->m_registered = JsonRead::text(data.value(QLatin1String("user_registered")));
    user->m_activationKey = JsonRead::text(data.value(QLatin1String("user_activation_key")));
    user->m_status = JsonRead::text(data.value(QLatin1String("user_status")));
    user->m_displayName = JsonRead::text(data.value(QLatin1String("display_name")));
    user->m_firstName = JsonRead::text(data.value(QLatin1String("first_name")));
    user->m_lastName = JsonRead::text(data.value(QLatin1String("last_name")));
    user->m_vatNumber = JsonRead::text(data.value(QLatin1String("vat_number")));
    // The fields the poll refreshes are read by the same rules at sign-in, all of them required here.
    user->applyUserData(data, false);
    return user;
}

void User::updateFromUserData(const QJsonObject &userData)
{
    applyUserData(userData, true);
}

void User::applyUserData(const QJsonObject &data, bool onlyPresent)
{
    auto has = [&](const char *key) { return !onlyPresent || data.contains(QLatin1String(key)); };
    // In a poll, a number or flag sent as null carries no value, like one left out: the last known value
    // stays (null credits must not read as 0 credits and announce that they are depleted).
    auto hasValue = [&](const char *key) {
        return has(key) && !(onlyPresent && data.value(QLatin1String(key)).isNull());
    };
    auto at = [&](const char *key) { return data.value(QLatin1String(key)); };

    if (hasValue("user_credit"))
        setCredits(readCredits(at("user_credit")));
    if (hasValue("low_credits_threshold"))
        setLowCreditsThreshold(readLowCreditsThreshold(at("low_credits_threshold")));
    if (hasValue("has_owned_credits"))
        setHasOwnedCredits(readOwnedCreditsFlag(at("has_owned_credits")));
    if (has("user_country"))
        setCountry(readCountry(at("user_country")));
    if (hasValue("user_vat"))
        setVat(JsonRead::real(at("user_vat"), 0));
    if (hasValue("eu_resident"))
        setIsEuResident(JsonRead::boolean(at("eu_resident")));
    if (hasValue("valid_vat"))
        setValidVat(JsonRead::boolean(at("valid_vat")));
    if (has("phone"))
        setPhoneNumber(JsonRead::text(at("phone")));
    if (has("company_name"))
        setCompanyName(JsonRead::text(at("company_name")));
    if (has("company_address"))
        setCompanyAddress(JsonRead::text(at("company_address")));
    setMachineRunningForXHours(JsonRead::integer(at("machine_running_for_x_hours_value"), -1));
    applyEmailNotifications(at("email_notifications"));
}

std::optional<double> User::creditsIn(const QJsonObject &userData)
{
    const auto it = userData.constFind(QLatin1String("user_credit"));
    if (it == userData.constEnd() || it.value().isNull())
        return std::nullopt;
    return readCredits(it.value());
}

void User::applyEmailNotifications(const QJsonValue &emailNotifications)
{
    const QJsonObject choices = emailNotifications.toObject();
    for (const EmailChoice &choice : kEmailChoices)
        (this->*choice.set)(JsonRead::boolean(choices.value(QLatin1String(choice.key))));
}

bool User::emailNotification(int number) const
{
    const EmailChoice *choice = emailChoice(number);
    return choice && (this->*choice->get)();
}

void User::setEmailNotification(int number, bool enabled)
{
    if (const EmailChoice *choice = emailChoice(number))
        (this->*choice->set)(enabled);
}

void User::setId(const QString &value)
{
    Records::assign(this, m_id, value, &User::idChanged);
}

void User::setLogin(const QString &value)
{
    Records::assign(this, m_login, value, &User::loginChanged);
}

void User::setName(const QString &value)
{
    Records::assign(this, m_name, value, &User::nameChanged);
}

void User::setEmail(const QString &value)
{
    Records::assign(this, m_email, value, &User::emailChanged);
}

void User::setPassword(const QString &value)
{
    Records::assign(this, m_password, value, &User::passwordChanged);
}

void User::setUrl(const QString &value)
{
    Records::assign(this, m_url, value, &User::urlChanged);
}

void User::setRegistered(const QString &value)
{
    Records::assign(this, m_registered, value, &User::registeredChanged);
}

void User::setActivationKey(const QString &value)
{
    Records::assign(this, m_activationKey, value, &User::activationKeyChanged);
}

void User::setStatus(const QString &value)
{
    Records::assign(this, m_status, value, &User::statusChanged);
}

void User::setDisplayName(const QString &value)
{
    Records::assign(this, m_displayName, value, &User::displayNameChanged);
}

void User::setCredits(double value)
{
    Records::assign(this, m_credits, value, &User::creditsChanged);
}

void User::setLowCreditsThreshold(double value)
{
    Records::assign(this, m_lowCreditsThreshold, value, &User::lowCreditsThresholdChanged);
}

void User::setHasOwnedCredits(int value)
{
    Records::assign(this, m_hasOwnedCredits, value, &User::hasOwnedCreditsChanged);
}

void User::setCountry(const QString &value)
{
    Records::assign(this, m_country, value, &User::countryChanged);
}

void User::setVat(double value)
{
    Records::assign(this, m_vat, value, &User::vatChanged);
}

void User::setIsEuResident(bool value)
{
    Records::assign(this, m_isEuResident, value, &User::isEuResidentChanged);
}

void User::setValidVat(bool value)
{
    Records::assign(this, m_validVat, value, &User::validVatChanged);
}

void User::setFirstName(const QString &value)
{
    Records::assign(this, m_firstName, value, &User::firstNameChanged);
}

void User::setLastName(const QString &value)
{
    Records::assign(this, m_lastName, value, &User::lastNameChanged);
}

void User::setPhoneNumber(const QString &value)
{
    Records::assign(this, m_phoneNumber, value, &User::phoneNumberChanged);
}

void User::setCompanyName(const QString &value)
{
    Records::assign(this, m_companyName, value, &User::companyNameChanged);
}

void User::setCompanyAddress(const QString &value)
{
    Records::assign(this, m_companyAddress, value, &User::companyAddressChanged);
}

void User::setVatNumber(const QString &value)
{
    Records::assign(this, m_vatNumber, value, &User::vatNumberChanged);
}

void User::setMachineRunningForXHours(int value)
{
    Records::assign(this, m_machineRunningForXHours, value, &User::machineRunningForXHoursChanged);
}

void User::setNotificationCreditsPurchase(bool value)
{
    Records::assign(this, m_notificationCreditsPurchase, value, &User::notificationCreditsPurchaseChanged);
}

void User::setNotificationCreditsDepleted(bool value)
{
    Records::assign(this, m_notificationCreditsDepleted, value, &User::notificationCreditsDepletedChanged);
}

void User::setNotificationLowCredits(bool value)
{
    Records::assign(this, m_notificationLowCredits, value, &User::notificationLowCreditsChanged);
}

void User::setNotificationMachineCreated(bool value)
{
    Records::assign(this, m_notificationMachineCreated, value, &User::notificationMachineCreatedChanged);
}

void User::setNotificationMachineStarted(bool value)
{
    Records::assign(this, m_notificationMachineStarted, value, &User::notificationMachineStartedChanged);
}

void User::setNotificationMachineStopped(bool value)
{
    Records::assign(this, m_notificationMachineStopped, value, &User::notificationMachineStoppedChanged);
}

void User::setNotificationMachineReset(bool value)
{
    Records::assign(this, m_notificationMachineReset, value, &User::notificationMachineResetChanged);
}

void User::setNotificationMachineDeleted(bool value)
{
    Records::assign(this, m_notificationMachineDeleted, value, &User::notificationMachineDeletedChanged);
}

void User::setNotificationMachineRunningForXHours(bool value)
{
    Records::assign(this, m_notificationMachineRunningForXHours, value,
                    &User::notificationMachineRunningForXHoursChanged);
}
