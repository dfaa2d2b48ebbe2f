// Countries and VAT, payments and invoices, activity logs and banners.
#include "api.h"

#include "billing.h"
#include "demostate.h"
#include "looseforms.h"

#include <QJsonArray>
#include <QJsonObject>

namespace demo::api {

namespace {

constexpr int kMinimumPurchase = 10;
constexpr int kMaximumPurchase = 10000;
constexpr qint64 kInvoiceDelaySecs = 120;

QJsonObject logRecord(const LogEntry &e)
{
    return QJsonObject{{QStringLiteral("timezone"), QStringLiteral("UTC")},
                       {QStringLiteral("operation_datetime"), machines::formatUtc(e.secs)},
                       {QStringLiteral("details"), e.details}};
}

} // namespace

HttpReply getVatsenseRates(ApiCall &)
{
    return HttpReply::json(billing::countryList());
}

HttpReply getVatInfo(ApiCall &call)
{
    const QString number = call.nonEmpty(QStringLiteral("vat_no")); // looked up exactly as sent
    if (call.failed())
        return call.failure();
    const auto company = billing::vatInfo(number);
    if (!company) // The look-up service answers an unknown number with a plain-text page.
        return HttpReply::text("Invalid VAT number: the number is not registered in VIES.");
    return HttpReply::json(QJsonObject{{QStringLiteral("vat_number"), number},
                                       {QStringLiteral("valid"), true},
                                       {QStringLiteral("company_name"), company->name},
                                       {QStringLiteral("company_address"), company->address},
                                       {QStringLiteral("country_name"), company->country}});
}

HttpReply listPayments(ApiCall &call)
{
    QJsonArray list;
    QJsonObject keyed; // a loose account's payments come keyed by identifier
    for (const Payment *p : call.state.paymentsOf(call.account->id)) {
        QJsonObject o = billing::paymentRecord(*p);
        if (o.contains(QStringLiteral("payment_link")))
            o.insert(QStringLiteral("payment_link"), call.baseUrl + QStringLiteral("/pay/") + p->token);
        if (call.account->loose) {
            loose::paymentRecord(o, int(keyed.size()));
            keyed.insert(QString::number(p->id), o);
        } else {
            list.append(o);
        }
    }
    return call.account->loose ? HttpReply::json(keyed) : HttpReply::json(list);
}

HttpReply initiatePayment(ApiCall &call)
{
    const qint64 amount = call.integer(QStringLiteral("amount"));
    if (call.failed())
        return call.failure();
    if (amount < kMinimumPurchase)
        return HttpReply::error(QStringLiteral("The minimum purchase is %1 credits.").arg(kMinimumPurchase));
    if (amount > kMaximumPurchase)
        return HttpReply::error(QStringLiteral("The maximum purchase is %1 credits.").arg(kMaximumPurchase));
    Payment &p = call.state.addPayment(call.account->id);
    p.name = QStringLiteral("Credits purchase");
    p.status = QStringLiteral("Pending");
    p.invoiceStatus = QStringLiteral("UNAVAILABLE");
    p.credits = double(amount);
    p.vat = billing::vatFor(*call.account, p.credits);
    p.amount = p.credits + p.vat;
    call.state.addLog(call.account->id, 0,
                      QStringLiteral("Payment %1 of %2 credits started.").arg(p.id).arg(amount));
    return HttpReply::json(QJsonObject{
        {QStringLiteral("paypal_payment_link"), call.baseUrl + QStringLiteral("/pay/") + p.token}});
}

HttpReply vatRateRo(ApiCall &call)
{
    const QJsonValue rate = call.account->loose ? QJsonValue(billing::kSellerVatPercent)
                                                : QJsonValue(QString::number(billing::kSellerVatPercent));
    return HttpReply::json(QJsonObject{{QStringLiteral("vat_tax_rate_ro"), rate}});
}

HttpReply requestInvoice(ApiCall &call)
{
    // The invoice service answers a refusal with an HTTP error status (the body is the usual message).
    const auto refuse = [](HttpReply reply, int status) {
        reply.status = status;
        return reply;
    };
    const qint64 id = call.integer(QStringLiteral("payment_id"));
    if (call.failed())
        return refuse(call.failure(), 400);
    Payment *p = call.state.payment(call.account->id, int(id));
    if (!p)
        return refuse(HttpReply::error(QStringLiteral("Payment %1 does not belong to this account.").arg(id)),
                      404);
    if (p->status != QLatin1String("Completed"))
        return refuse(HttpReply::error(QStringLiteral("Invoices are only available for completed payments.")),
                      409);
    if (p->invoiceStatus != QLatin1String("NOT REQUESTED"))
        return refuse(
            HttpReply::error(QStringLiteral("An invoice has already been requested for this payment.")), 409);
    p->invoiceStatus = QStringLiteral("REQUESTED");
    p->invoiceSentAt = call.state.now() + kInvoiceDelaySecs;
    call.state.addLog(call.account->id, 0, QStringLiteral("Invoice requested for payment %1.").arg(p->id));
    return HttpReply::success(QStringLiteral("Invoice requested."));
}

HttpReply getUserLogs(ApiCall &call)
{
    int machineId = 0;
    if (call.params.contains(QStringLiteral("resource_type"))) {
        if (call.params.value(QStringLiteral("resource_type")) != QLatin1String("machine"))
            return HttpReply::error(QStringLiteral("Unknown resource type."));
        const qint64 id = call.integer(QStringLiteral("resource_id"));
        if (call.failed())
            return call.failure();
        if (!call.state.machine(call.account->id, int(id)))
            return HttpReply::error(QStringLiteral("Machine %1 does not belong to this account.").arg(id));
        machineId = int(id);
    }
    const bool byEmail = call.params.contains(QStringLiteral("send_logs_email"));
    if (byEmail && call.params.value(QStringLiteral("send_logs_email")) != QLatin1String("true"))
        return HttpReply::error(QStringLiteral("Parameter send_logs_email must be true."));
    // Paging is the caller's: a page request without page and per_page is refused, not defaulted.
    const qint64 page =
        byEmail && !call.params.contains(QStringLiteral("page")) ? 0 : call.integer(QStringLiteral("page"));
    const qint64 perPage = byEmail && !call.params.contains(QStringLiteral("per_page"))
                               ? 0
                               : call.integer(QStringLiteral("per_page"));
    if (call.failed())
        return call.failure();
    const QList<const LogEntry *> entries = call.state.logsOf(call.account->id, machineId);
    if (byEmail) {
        QStringList lines;
        for (const LogEntry *e : entries)
            lines.append(machines::formatUtc(e->secs) + QStringLiteral(" UTC ") + e->details);
        call.state.sendEmail(
            call.account->email, QStringLiteral("Your activity logs"),
            QStringLiteral("%1 log entries: %2").arg(entries.size()).arg(lines.join(QStringLiteral("; "))));
        return HttpReply::success(
            QStringLiteral("The logs will be e-mailed to %1 shortly.").arg(call.account->email));
    }
    if (page < 0)
        return HttpReply::error(QStringLiteral("Parameter page must not be negative."));
    if (perPage < 1 || perPage > 500)
        return HttpReply::error(QStringLiteral("Parameter per_page must be between 1 and 500."));
    QJsonArray list;
    for (qint64 i = page * perPage; i < qMin<qint64>(entries.size(), (page + 1) * perPage); ++i)
        list.append(logRecord(*entries.at(i)));
    const QJsonValue total =
        call.account->loose ? QJsonValue(QString::number(entries.size())) : QJsonValue(entries.size());
    return HttpReply::json(
        QJsonObject{{QStringLiteral("success"), list}, {QStringLiteral("total_log_entries"), total}});
}

HttpReply getBanners(ApiCall &call)
{
    const auto banner = [&call](const char *position, const char *link, const char *image) {
        return QJsonObject{{QStringLiteral("position"), QLatin1String(position)},
                           {QStringLiteral("link"), link[0] ? call.baseUrl + QLatin1String(link) : QString()},
                           {QStringLiteral("image"), call.baseUrl + QLatin1String(image)}};
    };
    const QJsonArray banners{banner("top_light", "/pricing", "/banners/top-light.gif"),
                             banner("top_dark", "/pricing", "/banners/top-dark.gif"),
                             banner("left_light", "", "/banners/left-light.png"),
                             banner("left_dark", "", "/banners/left-dark.png")};
    return HttpReply::json(QJsonObject{{QStringLiteral("banners"), banners}});
}

} // namespace demo::api
