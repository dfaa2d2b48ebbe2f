#include "apirequests.h"

#include <algorithm>

namespace ApiRequests {

namespace {

const QString kPostLabel = QStringLiteral("post");

ApiRequest make(const char *action, ApiRequest::Method method, const QString &logLabel = {})
{
    ApiRequest request;
    request.action = QString::fromLatin1(action);
    request.method = method;
    request.logLabel = logLabel;
    return request;
}

ApiRequest post(const char *action, const QString &logLabel = {})
{
    return make(action, ApiRequest::Method::Post, logLabel);
}

ApiRequest get(const char *action)
{
    return make(action, ApiRequest::Method::Get);
}

QString boolText(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

QString number(qint64 value)
{
    return QString::number(value);
}

void addIfSet(ApiRequest &request, const QString &key, const QString &value)
{
    if (!value.isEmpty())
        request.add(key, value);
}

// A session request that carries nothing but the account's e-mail.
ApiRequest withEmail(ApiRequest request, const QString &email)
{
    request.add(QStringLiteral("email"), email);
    return request;
}

ApiRequest forComputer(const char *action, const QString &email, qint64 vmId)
{
    return withEmail(post(action), email).add(QStringLiteral("vm_id"), number(vmId));
}

} // namespace

ApiRequest registerUser(const RegistrationData &data)
{
    ApiRequest request = post("register_user", kPostLabel);
    request.add(QStringLiteral("usr"), data.username)
        .add(QStringLiteral("pwd"), data.password)
        .add(QStringLiteral("email"), data.email)
        .add(QStringLiteral("first_name"), data.firstName)
        .add(QStringLiteral("last_name"), data.lastName)
        .add(QStringLiteral("eu_resident"), boolText(data.euResident));
    addIfSet(request, QStringLiteral("vat_number"), data.vatNumber);
    request.add(QStringLiteral("valid_vat"), boolText(data.validVat));
    addIfSet(request, QStringLiteral("country"), data.country);
    addIfSet(request, QStringLiteral("company_name"), data.companyName);
    addIfSet(request, QStringLiteral("company_address"), data.companyAddress);
    return request;
}

ApiRequest loginUser(const QString &usr, const QString &pwd)
{
    return post("login_user", kPostLabel).add(QStringLiteral("usr"), usr).add(QStringLiteral("pwd"), pwd);
}

ApiRequest getResetPassToken(const QString &userEmail)
{
    return post("get_reset_pass_token", kPostLabel).add(QStringLiteral("user_email"), userEmail);
}

ApiRequest resetPass(const QString &newPass, const QString &token)
{
    return post("reset_pass", kPostLabel)
        .add(QStringLiteral("newpass"), newPass)
        .add(QStringLiteral("token"), token);
}

ApiRequest getVatsenseRates()
{
    return get("get_vatsense_rates");
}

ApiRequest getVatInfo(const QString &vatNumber)
{
    return post("get_vat_info", kPostLabel).add(QStringLiteral("vat_no"), vatNumber);
}

ApiRequest getUserData(const QString &email)
{
    return withEmail(get("get_user_data"), email);
}

ApiRequest updateUserProfile(const QString &email, const ProfileData &profile)
{
    return withEmail(post("update_user_data", QStringLiteral("endpoint:")), email)
        .add(QStringLiteral("first_name"), profile.firstName)
        .add(QStringLiteral("last_name"), profile.lastName)
        .add(QStringLiteral("eu_resident"), boolText(profile.euResident))
        .add(QStringLiteral("vat_number"), profile.vatNumber)
        .add(QStringLiteral("valid_vat"), boolText(profile.validVat))
        .add(QStringLiteral("user_country"), profile.userCountry)
        .add(QStringLiteral("phone"), profile.phone)
        .add(QStringLiteral("company_name"), profile.companyName)
        .add(QStringLiteral("company_address"), profile.companyAddress);
}

ApiRequest updateEmailNotifications(const QString &email, QList<int> on)
{
    on.erase(std::remove_if(on.begin(), on.end(), [](int n) { return n < 1 || n > 9; }), on.end());
    std::sort(on.begin(), on.end());
    on.erase(std::unique(on.begin(), on.end()), on.end());
    QStringList numbers;
    for (int n : on)
        numbers.append(QString::number(n));
    // The service ignores an empty list, so "nothing on" is said with a lone comma.
    const QString list = numbers.isEmpty() ? QStringLiteral(",") : numbers.join(QLatin1Char(','));
    return withEmail(post("update_user_data", kPostLabel), email)
        .add(QStringLiteral("email_notifications"), list);
}

ApiRequest setAllEmailNotifications(const QString &email, bool on)
{
    const QString list = on ? QStringLiteral(",1,2,3,4,5,6,7,8,9") : QStringLiteral(",,");
    return withEmail(post("update_user_data", kPostLabel), email)
        .add(QStringLiteral("email_notifications"), list);
}

ApiRequest updateRunningThreshold(const QString &email, const QString &hoursText)
{
    return withEmail(post("update_user_data", kPostLabel), email)
        .add(QStringLiteral("machine_running_for_x_hours_value"), hoursText);
}

ApiRequest getUserLogs(const QString &email, const LogScope &scope, std::optional<int> page,
                       std::optional<int> perPage, bool sendLogsEmail)
{
    ApiRequest request = withEmail(get("get_user_logs"), email);
    if (scope.isMachine) {
        request.add(QStringLiteral("resource_type"), QStringLiteral("machine"))
            .add(QStringLiteral("resource_id"), number(scope.vmId));
    }
    if (page && *page >= 0)
        request.add(QStringLiteral("page"), QString::number(*page));
    // The computer log passes its per-page count on as given (-1 asks for everything).
    if (perPage && (scope.isMachine || *perPage >= 0))
        request.add(QStringLiteral("per_page"), QString::number(*perPage));
    if (sendLogsEmail)
        request.add(QStringLiteral("send_logs_email"), QStringLiteral("true"));
    return request;
}

ApiRequest getBanners(const QString &email)
{
    return withEmail(get("get_vantorix_banners"), email);
}

ApiRequest listUserVmInstances(const QString &email)
{
    return withEmail(post("list_user_vm_instances"), email);
}

ApiRequest listAvailableVmTemplates(const QString &email)
{
    return withEmail(post("list_available_vm_templates", kPostLabel), email);
}

ApiRequest insertVmInstance(const QString &email, const QString &name, qint64 templateId,
                            const QString &winUsername, const QString &winPassword)
{
    return withEmail(post("insert_vm_instance", kPostLabel), email)
        .add(QStringLiteral("vm_user_instance_name"), name)
        .add(QStringLiteral("template_id"), number(templateId))
        .add(QStringLiteral("win_username"), winUsername)
        .add(QStringLiteral("win_password"), winPassword);
}

ApiRequest powerOperation(PowerOperation operation, const QString &email, qint64 vmId)
{
    switch (operation) {
    case PowerOperation::Start:
        return forComputer("start_user_vm_instance", email, vmId);
    case PowerOperation::Stop:
        return forComputer("stop_user_vm_instance", email, vmId);
    case PowerOperation::Reset:
        return forComputer("reset_user_vm_instance", email, vmId);
    case PowerOperation::Delete:
        break;
    }
    return forComputer("delete_user_vm_instance", email, vmId);
}

ApiRequest startUserVmInstance(const QString &email, qint64 vmId)
{
    return powerOperation(PowerOperation::Start, email, vmId);
}

ApiRequest stopUserVmInstance(const QString &email, qint64 vmId)
{
    return powerOperation(PowerOperation::Stop, email, vmId);
}

ApiRequest resetUserVmInstance(const QString &email, qint64 vmId)
{
    return powerOperation(PowerOperation::Reset, email, vmId);
}

ApiRequest deleteUserVmInstance(const QString &email, qint64 vmId)
{
    return powerOperation(PowerOperation::Delete, email, vmId);
}

ApiRequest setFavouriteVmInstance(const QString &email, qint64 vmId, bool favourite)
{
    return forComputer("set_favourite_vm_instance", email, vmId)
        .add(QStringLiteral("favourite"), boolText(favourite));
}

ApiRequest editUserVmInstance(const QString &email, qint64 vmId, const QString &newName)
{
    return forComputer("edit_user_vm_instance", email, vmId)
        .add(QStringLiteral("vm_user_instance_name"), newName);
}

ApiRequest resetWinPassword(const QString &email, qint64 vmId, const QString &winPassword)
{
    return forComputer("reset_win_password_user_vm_instance", email, vmId)
        .add(QStringLiteral("win_password"), winPassword);
}

ApiRequest getVmScreenshot(const QString &email, qint64 vmId)
{
    return forComputer("get_vm_screenshot", email, vmId);
}

ApiRequest listUserPayments(const QString &email)
{
    return withEmail(post("list_user_payments"), email);
}

ApiRequest initiatePayment(const QString &email, qint64 credits)
{
    return withEmail(post("initiate_payment", kPostLabel), email)
        .add(QStringLiteral("amount"), number(credits));
}

ApiRequest getVatsenseTaxRateRo(const QString &email)
{
    return withEmail(post("get_vatsense_tax_rate_ro"), email);
}

ApiRequest requestInvoice(const QString &email, qint64 paymentId)
{
    return withEmail(post("request-invoice", kPostLabel), email)
        .add(QStringLiteral("payment_id"), number(paymentId));
}

} // namespace ApiRequests
