#include "apipolicy.h"

#include <QHash>

namespace {

using P = ApiPolicy;

QString text(const char *t)
{
    return QString::fromUtf8(t);
}

P interactive()
{
    P p;
    p.notJsonText = text(ApiTexts::kInvalidJson);
    return p;
}

P polling()
{
    P p;
    p.errorMessage = P::ErrorMessage::Log;
    return p;
}

P preSignIn(P::Neither neither)
{
    P p = interactive();
    p.unauthorized = P::Unauthorized::SignOutPreSignIn;
    p.neither = neither;
    return p;
}

// Start, stop, reboot, delete, rename, password reset and preview of a computer.
P computerAction(P::Neither neither)
{
    P p = interactive();
    p.emptyBody = P::EmptyBody::InvalidResponse;
    p.neither = neither;
    return p;
}

QHash<QString, P> buildTable()
{
    QHash<QString, P> table;

    P p = preSignIn(P::Neither::Log);
    p.success = P::Success::AnyJson; // any reply without "error_message" is the confirmation
    table.insert(QStringLiteral("register_user"), p);

    p = preSignIn(P::Neither::Error);
    p.success = P::Success::KeyEquals;
    p.successKey = QStringLiteral("login");
    p.successValue = QStringLiteral("success");
    table.insert(QStringLiteral("login_user"), p);

    table.insert(QStringLiteral("get_reset_pass_token"), preSignIn(P::Neither::Warning));
    table.insert(QStringLiteral("reset_pass"), preSignIn(P::Neither::Warning));

    p = interactive();
    p.unauthorized = P::Unauthorized::Ignore;
    p.unauthorizedText = text(ApiTexts::kVatRatesUnauthorized);
    p.success = P::Success::Array;
    p.neither = P::Neither::Warning;
    table.insert(QStringLiteral("get_vatsense_rates"), p);

    p = interactive();
    p.unauthorized = P::Unauthorized::Ignore;
    p.notJson = P::NotJson::DeliverFalse;
    p.errorMessage = P::ErrorMessage::Ignore;
    p.success = P::Success::AnyJson;
    p.logReply = true;
    table.insert(QStringLiteral("get_vat_info"), p);

    p = polling();
    p.successKey = QStringLiteral("user_data");
    table.insert(QStringLiteral("get_user_data"), p);

    table.insert(QStringLiteral("update_user_data"), interactive());

    p = polling();
    p.emptyBody = P::EmptyBody::Ignore;
    p.success = P::Success::Collection;
    table.insert(QStringLiteral("list_user_vm_instances"), p);

    p = polling();
    p.success = P::Success::Collection;
    table.insert(QStringLiteral("list_user_payments"), p);

    p = interactive();
    p.emptyBody = P::EmptyBody::InvalidResponse;
    p.notJsonText = text(ApiTexts::kInvalidJsonTemplates);
    p.success = P::Success::Collection;
    table.insert(QStringLiteral("list_available_vm_templates"), p);

    p = interactive();
    p.emptyBody = P::EmptyBody::InvalidResponse;
    p.notJsonText.clear(); // a malformed creation reply is only logged
    p.successKey = QStringLiteral("vm_id");
    p.logReply = true;
    p.timeoutFactor = P::kOnceOnlyTimeoutFactor;
    table.insert(QStringLiteral("insert_vm_instance"), p);

    for (const char *action : {"start_user_vm_instance", "stop_user_vm_instance", "reset_user_vm_instance",
                               "delete_user_vm_instance"})
        table.insert(QString::fromLatin1(action), computerAction(P::Neither::Warning));

    p = interactive();
    p.neither = P::Neither::Warning;
    p.logReply = true;
    table.insert(QStringLiteral("set_favourite_vm_instance"), p);

    p = computerAction(P::Neither::Error);
    p.errorMessage = P::ErrorMessage::Ignore; // any reply without "success" is unexpected
    table.insert(QStringLiteral("edit_user_vm_instance"), p);

    table.insert(QStringLiteral("reset_win_password_user_vm_instance"), computerAction(P::Neither::Error));

    p = computerAction(P::Neither::Error);
    p.errorMessage = P::ErrorMessage::Log;
    p.replySizeFactor = P::kScreenshotReplySizeFactor;
    table.insert(QStringLiteral("get_vm_screenshot"), p);

    p = interactive();
    p.neither = P::Neither::Error;
    table.insert(QStringLiteral("get_user_logs"), p);

    p = interactive();
    p.notJsonText = text(ApiTexts::kInvalidJsonContactSupport);
    p.errorMessage = P::ErrorMessage::Ignore;
    p.successKey = QStringLiteral("banners");
    p.neither = P::Neither::Silent; // a reply without banners changes nothing
    table.insert(QStringLiteral("get_vantorix_banners"), p);

    p = interactive();
    p.notJsonText = text(ApiTexts::kInvalidJsonContactSupport);
    p.successKey = QStringLiteral("paypal_payment_link");
    p.timeoutFactor = P::kOnceOnlyTimeoutFactor;
    table.insert(QStringLiteral("initiate_payment"), p);

    p = interactive();
    p.unauthorized = P::Unauthorized::Ignore;
    p.notJsonText = text(ApiTexts::kInvalidJsonContactSupport);
    p.successKey = QStringLiteral("vat_tax_rate_ro");
    table.insert(QStringLiteral("get_vatsense_tax_rate_ro"), p);

    p = interactive();
    p.success = P::Success::StatusOnly;
    p.statusOnlySuccessText = text(ApiTexts::kInvoiceRequested);
    p.statusOnlyFailureText = text(ApiTexts::kInvoiceFailed);
    table.insert(QStringLiteral("request-invoice"), p);

    return table;
}

} // namespace

ApiPolicy ApiPolicy::forAction(const QString &action)
{
    static const QHash<QString, ApiPolicy> table = buildTable();
    return table.value(action, interactive());
}

ApiPolicy ApiPolicy::withMode(Mode mode) const
{
    ApiPolicy p = *this;
    switch (mode) {
    case Mode::Default:
        break;
    case Mode::Interactive:
        if (p.notJsonText.isEmpty())
            p.notJsonText = invalidJsonText();
        if (p.errorMessage == ErrorMessage::Log)
            p.errorMessage = ErrorMessage::Notify;
        break;
    case Mode::Polling:
        p.unauthorizedText.clear();
        p.notJsonText.clear();
        p.statusOnlySuccessText.clear();
        p.statusOnlyFailureText.clear();
        if (p.emptyBody == EmptyBody::InvalidResponse)
            p.emptyBody = EmptyBody::AsNotJson;
        if (p.errorMessage == ErrorMessage::Notify)
            p.errorMessage = ErrorMessage::Log;
        if (p.neither == Neither::Warning || p.neither == Neither::Error)
            p.neither = Neither::Log;
        break;
    }
    return p;
}

QString ApiPolicy::invalidJsonText()
{
    return text(ApiTexts::kInvalidJson);
}
