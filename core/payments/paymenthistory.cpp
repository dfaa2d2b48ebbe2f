#include "paymenthistory.h"

#include "userpayment.h"

#include <QStringList>
#include <cmath>

namespace PaymentHistory {

namespace {

double orZero(double value)
{
    return std::isfinite(value) ? value : 0.0;
}

QString padded(const char *text, int blanks)
{
    return QString::fromLatin1(text) + QString(blanks, QLatin1Char(' '));
}

} // namespace

InvoiceButton invoiceButton(const QString &status, const QString &invoiceStatus, const QString &paymentLink)
{
    const bool pending = status.toLower() == QLatin1String("pending");
    if (pending) {
        if (!paymentLink.isEmpty())
            return {QStringLiteral("Open payment link"), true, ButtonAction::OpenPaymentLink};
        return {QStringLiteral("Invoice Unavailable"), false, ButtonAction::None};
    }
    if (invoiceStatus == QLatin1String("REQUESTED"))
        return {QStringLiteral("Invoice Requested"), false, ButtonAction::None};
    if (invoiceStatus == QLatin1String("SENT"))
        return {QStringLiteral("Invoice Sent"), false, ButtonAction::None};
    if (status.toLower() == QLatin1String("completed") && invoiceStatus == QLatin1String("NOT REQUESTED"))
        return {QStringLiteral("Request Invoice"), true, ButtonAction::RequestInvoice};
    return {QStringLiteral("Invoice Unavailable"), false, ButtonAction::None};
}

QVariantMap invoiceButtonMap(const QString &status, const QString &invoiceStatus, const QString &paymentLink)
{
    const InvoiceButton b = invoiceButton(status, invoiceStatus, paymentLink);
    return {{QStringLiteral("text"), b.text},
            {QStringLiteral("enabled"), b.enabled},
            {QStringLiteral("requestsInvoice"), b.action == ButtonAction::RequestInvoice},
            {QStringLiteral("opensPaymentLink"), b.action == ButtonAction::OpenPaymentLink}};
}

const QStringList &columns()
{
    static const QStringList keys{
        QStringLiteral("date"), QStringLiteral("name"),   QStringLiteral("credits"),
        QStringLiteral("vat"),  QStringLiteral("amount"), QStringLiteral("currency"),
        QStringLiteral("key"),  QStringLiteral("status"), QStringLiteral("invoice")};
    return keys;
}

QVariantMap headerRow()
{
    return {{QStringLiteral("date"), padded("Date", 21)},
            {QStringLiteral("name"), padded("Type", 21)},
            {QStringLiteral("credits"), QStringLiteral("Credits")},
            {QStringLiteral("vat"), QStringLiteral("VAT")},
            {QStringLiteral("amount"), QStringLiteral("Total")},
            {QStringLiteral("currency"), QStringLiteral("Currency")},
            {QStringLiteral("key"), padded("Payment Key", 15)},
            {QStringLiteral("status"), QStringLiteral("Payment Status")},
            {QStringLiteral("isHeader"), true}};
}

QVariantMap paymentRow(const UserPayment &p)
{
    const double amount = orZero(p.amount());
    const double vat = orZero(p.vat());
    return {{QStringLiteral("date"), p.date()},
            {QStringLiteral("name"), p.name()},
            {QStringLiteral("credits"), amount - vat},
            {QStringLiteral("vat"), vat},
            {QStringLiteral("amount"), amount},
            {QStringLiteral("currency"), p.currency()},
            {QStringLiteral("key"), p.key()},
            {QStringLiteral("status"), p.status()},
            {QStringLiteral("identifier"), p.identifier()},
            {QStringLiteral("isPending"), p.isPending()},
            {QStringLiteral("paymentLink"), p.paymentLink()},
            {QStringLiteral("invoiceStatus"), p.invoiceStatus()},
            {QStringLiteral("isHeader"), false}};
}

QVariantList rows(const QList<UserPayment *> &payments)
{
    QVariantList list{headerRow()};
    for (const UserPayment *p : payments) {
        if (p)
            list.append(paymentRow(*p));
    }
    return list;
}

} // namespace PaymentHistory
