// Sign-up, sign-in, password reset and the account's own data.
#include "api.h"

#include "billing.h"
#include "demostate.h"
#include "looseforms.h"

#include <QJsonObject>
#include <QRegularExpression>

namespace demo::api {

namespace {

const char *const kEmailKeys[] = {"credits_purchase", "credits_depleted", "low_credit",
                                  "machine_created",  "machine_started",  "machine_stopped",
                                  "machine_reset",    "machine_deleted",  "machine_running_for_x_hours"};

QString flagText(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

bool startsOrEndsWithSpace(const QString &text)
{
    return !text.isEmpty() && (text.front().isSpace() || text.back().isSpace());
}

// VAT numbers are stored as sent: one with spaces or lower-case letters is refused, not normalised.
QString checkVatForm(const QString &vatNumber)
{
    static const QRegularExpression form(QStringLiteral("^[A-Z0-9]*$"));
    if (!form.match(vatNumber).hasMatch())
        return QStringLiteral("The VAT number %1 must be written in capitals without spaces.").arg(vatNumber);
    return {};
}

// The fields shared by the sign-in record and the user-data poll, typed loosely like the real service.
void addAccountFields(QJsonObject &o, const Account &a)
{
    o.insert(QStringLiteral("user_credit"), QString::number(a.credits, 'f', 5));
    o.insert(QStringLiteral("low_credits_threshold"), QString::number(a.lowCreditsThreshold));
    o.insert(QStringLiteral("has_owned_credits"), flagText(a.hasOwnedCredits));
    o.insert(QStringLiteral("user_country"), a.country);
    o.insert(QStringLiteral("user_vat"), QString::number(billing::taxRate(a.country)));
    o.insert(QStringLiteral("eu_resident"), a.euResident ? QStringLiteral("true") : QStringLiteral("false"));
    o.insert(QStringLiteral("valid_vat"), flagText(a.validVat));
    o.insert(QStringLiteral("phone"), a.phone);
    o.insert(QStringLiteral("company_name"), a.companyName);
    o.insert(QStringLiteral("company_address"), a.companyAddress);
    if (a.runningHoursThreshold > 0)
        o.insert(QStringLiteral("machine_running_for_x_hours_value"),
                 QString::number(a.runningHoursThreshold));
    QJsonObject emails;
    for (int n = 1; n <= 9; ++n)
        emails.insert(QLatin1String(kEmailKeys[n - 1]), flagText(a.emailNotifications.contains(n)));
    o.insert(QStringLiteral("email_notifications"), emails);
}

QJsonObject signInRecord(const Account &a)
{
    QJsonObject o;
    o.insert(QStringLiteral("ID"), QString::number(a.id));
    o.insert(QStringLiteral("user_login"), a.login);
    o.insert(QStringLiteral("user_nicename"), a.login.toLower());
    o.insert(QStringLiteral("user_email"), a.email);
    o.insert(QStringLiteral("user_url"), QString());
    o.insert(QStringLiteral("user_registered"), machines::formatUtc(a.registeredSecs));
    o.insert(QStringLiteral("user_activation_key"), QString());
    o.insert(QStringLiteral("user_status"), QStringLiteral("0"));
    o.insert(QStringLiteral("display_name"), a.displayName);
    o.insert(QStringLiteral("first_name"), a.firstName);
    o.insert(QStringLiteral("last_name"), a.lastName);
    o.insert(QStringLiteral("vat_number"), a.vatNumber);
    addAccountFields(o, a);
    if (a.loose)
        loose::accountFields(o);
    return o;
}

HttpReply updateEmailNotifications(ApiCall &call, const QString &value)
{
    // An empty list is ignored; a list made only of commas switches every e-mail notification off.
    if (value.isEmpty())
        return HttpReply::success(QStringLiteral("No changes to your e-mail notifications."));
    QSet<int> chosen;
    for (const QString &piece : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int number = piece.toInt(&ok);
        if (!ok || number < 1 || number > 9)
            return HttpReply::error(QStringLiteral("Unknown e-mail notification: %1.").arg(piece));
        chosen.insert(number);
    }
    call.account->emailNotifications = chosen;
    call.state.addLog(call.account->id, 0, QStringLiteral("E-mail notification settings changed."));
    return HttpReply::success(QStringLiteral("Your e-mail notification settings have been saved."));
}

HttpReply updateRunningThreshold(ApiCall &call, const QString &value)
{
    bool ok = false;
    const double hours = value.toDouble(&ok);
    if (!ok || hours != double(int(hours)) || hours < 1 || hours > 99)
        return HttpReply::error(QStringLiteral("The number of hours must be a whole number from 1 to 99."));
    call.account->runningHoursThreshold = int(hours);
    call.state.addLog(call.account->id, 0,
                      QStringLiteral("Running-time notification set to %1 hours.").arg(int(hours)));
    return HttpReply::success(
        QStringLiteral("You will be notified when a machine runs for %1 hours.").arg(int(hours)));
}

HttpReply updateProfile(ApiCall &call)
{
    const QString firstName = call.text(QStringLiteral("first_name"));
    const QString lastName = call.text(QStringLiteral("last_name"));
    const bool euResident = call.flag(QStringLiteral("eu_resident"));
    const QString vatNumber = call.text(QStringLiteral("vat_number"));
    const bool validVat = call.flag(QStringLiteral("valid_vat"));
    const QString country = call.text(QStringLiteral("user_country"));
    const QString phone = call.text(QStringLiteral("phone"));
    const QString companyName = call.text(QStringLiteral("company_name"));
    const QString companyAddress = call.text(QStringLiteral("company_address"));
    if (call.failed())
        return call.failure();
    if (const QString problem = checkVatForm(vatNumber); !problem.isEmpty())
        return HttpReply::error(problem);
    if (!country.isEmpty() && !billing::isKnownCountry(country))
        return HttpReply::error(QStringLiteral("Unknown country: %1.").arg(country));
    if (validVat && !billing::vatInfo(vatNumber))
        return HttpReply::error(QStringLiteral("The VAT number %1 could not be validated.").arg(vatNumber));
    if (euResident && !validVat)
        return HttpReply::error(QStringLiteral("EU VAT exemption needs a validated VAT number."));
    Account &a = *call.account;
    a.firstName = firstName;
    a.lastName = lastName;
    a.euResident = euResident;
    a.vatNumber = vatNumber;
    a.validVat = validVat;
    if (!country.isEmpty())
        a.country = country;
    a.phone = phone;
    a.companyName = companyName;
    a.companyAddress = companyAddress;
    call.state.addLog(a.id, 0, QStringLiteral("Profile updated."));
    return HttpReply::success(QStringLiteral("Your account details have been updated."));
}

} // namespace

bool containsSpecial(const QString &text)
{
    static const QString special = QStringLiteral("!\"#$%&'()*+,-./:;<=>?@[\\]^_{|}");
    for (const QChar c : text) {
        if (special.contains(c))
            return true;
    }
    return false;
}

QString checkUserPassword(const QString &p)
{
    if (p.size() < 8)
        return QStringLiteral("Password must be at least eight characters long.");
    if (!containsSpecial(p))
        return QStringLiteral("Password must contain at least one special character.");
    if (!p.contains(QRegularExpression(QStringLiteral("[0-9]"))))
        return QStringLiteral("Password must contain at least one number.");
    if (startsOrEndsWithSpace(p))
        return QStringLiteral("Password cannot start or end with whitespace characters.");
    return {};
}

QString checkMachineName(const QString &name)
{
    if (name.size() < 3)
        return QStringLiteral("Machine name must be at least three characters long.");
    if (containsSpecial(name))
        return QStringLiteral("Machine name cannot contain special characters.");
    if (startsOrEndsWithSpace(name))
        return QStringLiteral("Machine name cannot start or end with whitespace characters.");
    return {};
}

QString checkWindowsPassword(const QString &p)
{
    if (p.size() < 8)
        return QStringLiteral("Password must be at least eight characters long.");
    if (!p.contains(QRegularExpression(QStringLiteral("[a-z]"))) ||
        !p.contains(QRegularExpression(QStringLiteral("[A-Z]"))) ||
        !p.contains(QRegularExpression(QStringLiteral("[0-9]"))) || !containsSpecial(p))
        return QStringLiteral(
            "Password must contain lower- and upper-case letters, a number and a special character.");
    if (startsOrEndsWithSpace(p))
        return QStringLiteral("Password cannot start or end with whitespace characters.");
    return {};
}

HttpReply registerUser(ApiCall &call)
{
    const QString login = call.nonEmpty(QStringLiteral("usr"));
    const QString password = call.text(QStringLiteral("pwd"));
    const QString email = call.nonEmpty(QStringLiteral("email"));
    const QString firstName = call.nonEmpty(QStringLiteral("first_name"));
    const QString lastName = call.nonEmpty(QStringLiteral("last_name"));
    const bool euResident = call.flag(QStringLiteral("eu_resident"));
    const bool validVat = call.flag(QStringLiteral("valid_vat"));
    const QString vatNumber = call.optional(QStringLiteral("vat_number"));
    const QString country = call.optional(QStringLiteral("country"));
    if (call.failed())
        return call.failure();
    if (const QString problem = checkVatForm(vatNumber); !problem.isEmpty())
        return HttpReply::error(problem);
    if (login.size() > 25)
        return HttpReply::error(QStringLiteral("Username cannot be more than 25 characters in length."));
    if (const QString problem = checkUserPassword(password); !problem.isEmpty())
        return HttpReply::error(problem);
    static const QRegularExpression emailPattern(QStringLiteral("^[^@\\s]+@[^@\\s]+\\.[^@\\s]+$"));
    if (!emailPattern.match(email).hasMatch())
        return HttpReply::error(QStringLiteral("Please enter a valid e-mail address."));
    if (call.state.accountByEmail(email))
        return HttpReply::error(QStringLiteral("An account with this e-mail address already exists."));
    if (call.state.accountByLoginOrEmail(login))
        return HttpReply::error(QStringLiteral("This username is already taken."));
    if (!country.isEmpty() && !billing::isKnownCountry(country))
        return HttpReply::error(QStringLiteral("Unknown country: %1.").arg(country));
    if (euResident && (!validVat || !billing::vatInfo(vatNumber)))
        return HttpReply::error(QStringLiteral("EU VAT exemption needs a validated VAT number."));
    Account &a = call.state.addAccount(login, email, password);
    a.firstName = firstName;
    a.lastName = lastName;
    a.euResident = euResident;
    a.validVat = validVat && billing::vatInfo(vatNumber);
    a.vatNumber = vatNumber;
    if (!country.isEmpty())
        a.country = country;
    a.companyName = call.optional(QStringLiteral("company_name"));
    a.companyAddress = call.optional(QStringLiteral("company_address"));
    const QString key = call.state.newActivationKey(a);
    call.state.addLog(a.id, 0, QStringLiteral("Account created."));
    call.state.sendEmail(
        email, QStringLiteral("Activate your account"),
        QStringLiteral("Open %1/activate/%2 to activate your account.").arg(call.baseUrl, key));
    QJsonObject reply{{QStringLiteral("success"), QStringLiteral("Account created.")},
                      {QStringLiteral("user_email"), email}};
    return HttpReply::json(reply);
}

HttpReply loginUser(ApiCall &call)
{
    const QString id = call.nonEmpty(QStringLiteral("usr"));
    const QString password = call.text(QStringLiteral("pwd"));
    if (call.failed())
        return call.failure();
    Account *a = call.state.accountByLoginOrEmail(id);
    if (!a || !DemoState::checkPassword(*a, password))
        return HttpReply::error(QStringLiteral("Incorrect username or password."));
    if (a->deactivated)
        return HttpReply::error(QStringLiteral("This account has been closed."));
    if (!a->activated)
        return HttpReply::error(QStringLiteral(
            "Your account is not activated yet. Please use the link in the activation e-mail."));
    call.state.addLog(a->id, 0, QStringLiteral("Signed in."));
    return HttpReply::json(QJsonObject{{QStringLiteral("login"), QStringLiteral("success")},
                                       {QStringLiteral("data"), signInRecord(*a)}});
}

HttpReply getResetPassToken(ApiCall &call)
{
    const QString id = call.nonEmpty(QStringLiteral("user_email"));
    if (call.failed())
        return call.failure();
    Account *a = call.state.accountByLoginOrEmail(id);
    if (a && a->activated && !a->deactivated) {
        const QString code = call.state.newResetCode(*a);
        call.state.sendEmail(a->email, QStringLiteral("Password reset"),
                             QStringLiteral("Your password reset code is %1. Or open %2/reset-password/%1")
                                 .arg(code, call.baseUrl));
    }
    // The same answer whether or not the account exists, so that accounts cannot be probed.
    return HttpReply::success(QStringLiteral("If a matching account exists, a reset code has been sent."));
}

HttpReply resetPass(ApiCall &call)
{
    const QString password = call.text(QStringLiteral("newpass"));
    const QString token = call.nonEmpty(QStringLiteral("token"));
    if (call.failed())
        return call.failure();
    if (const QString problem = checkUserPassword(password); !problem.isEmpty())
        return HttpReply::error(problem);
    Account *a = call.state.takeResetCode(token);
    if (!a)
        return HttpReply::error(QStringLiteral("The password reset code is invalid or has expired."));
    call.state.setPassword(*a, password);
    call.state.addLog(a->id, 0, QStringLiteral("Password changed with a reset code."));
    return HttpReply::success(QStringLiteral("Your password has been changed."));
}

HttpReply getUserData(ApiCall &call)
{
    QJsonObject data;
    addAccountFields(data, *call.account);
    if (call.account->loose)
        loose::accountFields(data);
    return HttpReply::json(QJsonObject{{QStringLiteral("user_data"), data}});
}

HttpReply updateUserData(ApiCall &call)
{
    if (call.params.contains(QStringLiteral("email_notifications")))
        return updateEmailNotifications(call, call.params.value(QStringLiteral("email_notifications")));
    if (call.params.contains(QStringLiteral("machine_running_for_x_hours_value")))
        return updateRunningThreshold(call,
                                      call.params.value(QStringLiteral("machine_running_for_x_hours_value")));
    return updateProfile(call);
}

} // namespace demo::api
