// The pages that report back to the desktop app: payment, account activation and password reset.
#include "pages.h"

#include "billing.h"
#include "demostate.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace demo::pages {

namespace {

QString messageText(const QJsonObject &message)
{
    return QString::fromUtf8(QJsonDocument(message).toJson(QJsonDocument::Compact));
}

HttpReply notValid(const QString &title, const QString &text)
{
    return HttpReply::html(
        layout(title,
               QStringLiteral("<h1>%1</h1><p>%2</p>").arg(title.toHtmlEscaped(), text.toHtmlEscaped())),
        404);
}

HttpReply paymentPage(DemoState &state, const Payment &p)
{
    const quint16 port = state.config().commandPort;
    const QString message =
        messageText(QJsonObject{{QStringLiteral("payment_status"), QStringLiteral("Payment completed.")}});
    QString body = QStringLiteral("<h1>Pay for your credits</h1><table>"
                                  "<tr><td>Credits</td><td>%1</td></tr><tr><td>VAT</td><td>%2 %4</td></tr>"
                                  "<tr><td>Total</td><td><b>%3 %4</b></td></tr></table><p></p>")
                       .arg(machines::money(p.credits, 2), machines::money(p.vat, 2),
                            machines::money(p.amount, 2), p.currency.toHtmlEscaped());
    const bool pending = p.status == QLatin1String("Pending");
    if (pending) {
        body += QStringLiteral("<p><button id=\"pay\" onclick=\"pay()\">Pay</button></p>");
    } else {
        body += QStringLiteral("<p>This payment is %1.</p>").arg(p.status.toLower().toHtmlEscaped());
    }
    body += QStringLiteral("<p id=\"app-status\" class=\"note\"></p>");
    QString script = sendToAppScript(port, message);
    script +=
        QStringLiteral("function pay() {\n"
                       "  var button = document.getElementById('pay');\n"
                       "  button.disabled = true;\n"
                       "  fetch('/pay/%1/complete', { method: 'POST' })\n"
                       "    .then(function (r) { return r.json(); })\n"
                       "    .then(function (reply) {\n"
                       "      if (reply.completed) { button.textContent = 'Paid'; sendToApp(appMessage); }\n"
                       "      else { button.disabled = false; "
                       "document.getElementById('app-status').textContent = reply.error_message; }\n"
                       "    });\n"
                       "}\n")
            .arg(p.token);
    return HttpReply::html(layout(QStringLiteral("Payment"), body, script));
}

} // namespace

std::optional<HttpReply> loopPage(DemoState &state, const QString &method, const QString &path)
{
    const quint16 port = state.config().commandPort;
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.size() == 2 && parts.at(0) == QLatin1String("pay") && method == QLatin1String("GET")) {
        state.advance();
        const Payment *p = state.paymentByToken(parts.at(1));
        if (!p)
            return notValid(QStringLiteral("Payment not found"),
                            QStringLiteral("This payment link is not valid."));
        return paymentPage(state, *p);
    }
    if (parts.size() == 3 && parts.at(0) == QLatin1String("pay") &&
        parts.at(2) == QLatin1String("complete") && method == QLatin1String("POST")) {
        state.advance();
        Payment *p = state.paymentByToken(parts.at(1));
        if (!p)
            return HttpReply::error(QStringLiteral("This payment link is not valid."));
        if (!state.completePayment(*p))
            return HttpReply::error(QStringLiteral("This payment is %1.").arg(p->status.toLower()));
        return HttpReply::json(QJsonObject{{QStringLiteral("completed"), true}});
    }
    if (parts.size() == 2 && parts.at(0) == QLatin1String("activate") && method == QLatin1String("GET")) {
        const Account *a = state.activate(parts.at(1));
        if (!a)
            return notValid(QStringLiteral("Activation failed"),
                            QStringLiteral("This activation link is not valid."));
        const QString body =
            QStringLiteral("<h1>Your account is active</h1><p>Welcome, %1. You can now sign in "
                           "with the desktop app.</p><p id=\"app-status\" class=\"note\"></p>")
                .arg(a->login.toHtmlEscaped());
        const QString script =
            sendToAppScript(port, messageText(QJsonObject{{QStringLiteral("triggerLogin"), true}})) +
            QStringLiteral("sendToApp(appMessage);\n");
        return HttpReply::html(layout(QStringLiteral("Account activated"), body, script));
    }
    if (parts.size() == 2 && parts.at(0) == QLatin1String("reset-password") &&
        method == QLatin1String("GET")) {
        const QString code = parts.at(1);
        if (!state.resetCodeValid(code))
            return notValid(QStringLiteral("Password reset"),
                            QStringLiteral("This password reset link is not valid or has expired."));
        const QString body = QStringLiteral("<h1>Reset your password</h1><p>Your reset code is <b>%1</b>. "
                                            "The desktop app has been asked to fill it in; choose your new "
                                            "password there.</p><p id=\"app-status\" class=\"note\"></p>")
                                 .arg(code.toHtmlEscaped());
        const QString script =
            sendToAppScript(port, messageText(QJsonObject{{QStringLiteral("setPasswordResetToken"), code}})) +
            QStringLiteral("sendToApp(appMessage);\n");
        return HttpReply::html(layout(QStringLiteral("Password reset"), body, script));
    }
    return std::nullopt;
}

} // namespace demo::pages
