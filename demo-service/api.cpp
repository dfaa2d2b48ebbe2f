#include "api.h"

#include "demostate.h"

#include <QJsonObject>

namespace demo {

namespace {

using Handler = HttpReply (*)(ApiCall &);

struct Action {
    const char *name;
    const char *method;
    bool session; // identifies the account by the `email` parameter
    Handler handler;
};

const Action kActions[] = {
    {"register_user", "POST", false, api::registerUser},
    {"login_user", "POST", false, api::loginUser},
    {"get_reset_pass_token", "POST", false, api::getResetPassToken},
    {"reset_pass", "POST", false, api::resetPass},
    {"get_vatsense_rates", "GET", false, api::getVatsenseRates},
    {"get_vat_info", "POST", false, api::getVatInfo},
    {"get_user_data", "GET", true, api::getUserData},
    {"update_user_data", "POST", true, api::updateUserData},
    {"list_user_vm_instances", "POST", true, api::listInstances},
    {"list_available_vm_templates", "POST", true, api::listTemplates},
    {"insert_vm_instance", "POST", true, api::insertInstance},
    {"start_user_vm_instance", "POST", true, api::startInstance},
    {"stop_user_vm_instance", "POST", true, api::stopInstance},
    {"reset_user_vm_instance", "POST", true, api::resetInstance},
    {"delete_user_vm_instance", "POST", true, api::deleteInstance},
    {"set_favourite_vm_instance", "POST", true, api::setFavourite},
    {"edit_user_vm_instance", "POST", true, api::editInstance},
    {"reset_win_password_user_vm_instance", "POST", true, api::resetWinPassword},
    {"get_vm_screenshot", "POST", true, api::screenshot},
    {"get_user_logs", "GET", true, api::getUserLogs},
    {"get_vantorix_banners", "GET", true, api::getBanners},
    {"list_user_payments", "POST", true, api::listPayments},
    {"initiate_payment", "POST", true, api::initiatePayment},
    {"get_vatsense_tax_rate_ro", "POST", true, api::vatRateRo},
    {"request-invoice", "POST", true, api::requestInvoice},
};

} // namespace

ApiCall::ApiCall(DemoState &s, const QueryParams &p, const QString &base) : state(s), params(p), baseUrl(base)
{
}

void ApiCall::fail(const QString &message)
{
    if (m_failure.isEmpty())
        m_failure = message;
}

QString ApiCall::text(const QString &key)
{
    if (!params.contains(key)) {
        fail(QStringLiteral("Missing parameter: %1.").arg(key));
        return {};
    }
    return params.value(key);
}

QString ApiCall::nonEmpty(const QString &key)
{
    const QString value = text(key);
    if (!failed() && value.isEmpty())
        fail(QStringLiteral("Parameter %1 must not be empty.").arg(key));
    return value;
}

QString ApiCall::optional(const QString &key) const
{
    return params.value(key);
}

qint64 ApiCall::integer(const QString &key)
{
    const QString value = text(key);
    if (failed())
        return 0;
    bool ok = false;
    const qint64 number = value.toLongLong(&ok);
    if (!ok || value.trimmed() != value)
        fail(QStringLiteral("Parameter %1 must be a whole number.").arg(key));
    return number;
}

bool ApiCall::flag(const QString &key)
{
    const QString value = text(key);
    if (failed())
        return false;
    if (value != QLatin1String("true") && value != QLatin1String("false"))
        fail(QStringLiteral("Parameter %1 must be true or false.").arg(key));
    return value == QLatin1String("true");
}

QString actionOf(const QByteArray &rawQuery)
{
    return QueryParams(rawQuery).value(QStringLiteral("action"));
}

HttpReply handleApi(DemoState &state, const QString &method, const QByteArray &rawQuery,
                    const QString &baseUrl)
{
    const QueryParams params(rawQuery);
    const QString name = params.value(QStringLiteral("action"));
    if (name.isEmpty())
        return HttpReply::error(QStringLiteral("No action given."));
    const Action *action = nullptr;
    for (const Action &candidate : kActions) {
        if (name == QLatin1String(candidate.name))
            action = &candidate;
    }
    if (!action)
        return HttpReply::error(QStringLiteral("Unknown action: %1.").arg(name));
    if (method != QLatin1String(action->method)) {
        return HttpReply::error(
            QStringLiteral("The action %1 must be sent with %2.").arg(name, QLatin1String(action->method)));
    }
    state.advance();
    ApiCall call(state, params, baseUrl);
    if (action->session) {
        const QString email = call.nonEmpty(QStringLiteral("email"));
        if (call.failed())
            return call.failure();
        call.account = state.accountByEmail(email);
        // An e-mail address without an account is answered like a closed account's session.
        if (!call.account) {
            HttpReply reply =
                HttpReply::error(QStringLiteral("No account found for the e-mail address %1.").arg(email));
            reply.status = 401;
            return reply;
        }
        if (call.account->deactivated) {
            HttpReply reply = HttpReply::error(QStringLiteral("This account has been closed."));
            reply.status = 401;
            return reply;
        }
        if (!call.account->activated)
            return HttpReply::error(QStringLiteral("This account has not been activated yet."));
    }
    return action->handler(call);
}

} // namespace demo
