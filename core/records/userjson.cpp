// Reading the service's replies into the record: the sign-in "data" object and the user-data poll.
#include "records/user.h"

#include "logging.h"
#include "utils/jsonread.h"

namespace {

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
