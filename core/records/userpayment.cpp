#include "records/userpayment.h"

#include "logging.h"
#include "records/assign.h"
#include "utils/jsonread.h"

UserPayment::UserPayment(QObject *parent) : QObject(parent)
{
    connect(this, &UserPayment::statusChanged, this, &UserPayment::canRequestInvoiceChanged);
    connect(this, &UserPayment::invoiceStatusChanged, this, &UserPayment::canRequestInvoiceChanged);
}

UserPayment *UserPayment::fromJson(const QJsonObject &entry, QObject *parent)
{
    const int identifier = JsonRead::integer(entry.value(QLatin1String("payment_id")), -1);
    if (identifier < 0) {
        qCWarning(lcCore) << "Payment without a usable \"payment_id\" skipped:"
                          << JsonRead::text(entry.value(QLatin1String("payment_name")));
        return nullptr;
    }
    auto text = [&entry](const char *key) { return JsonRead::text(entry.value(QLatin1String(key))); };

    auto *result = new UserPayment(parent);
    result->m_identifier = identifier;
    result->m_name = text("payment_name");
    result->m_key = text("paypal_payment_key");
    result->m_status = text("payment_status");
    result->m_amount = JsonRead::real(entry.value(QLatin1String("payment_amount")), 0);
    result->m_vat = JsonRead::real(entry.value(QLatin1String("vat_amount")), 0);
    result->m_currency = text("payment_currency");
    result->m_date = text("payment_date");
    result->m_paymentLink = text("payment_link");
    result->m_invoiceStatus = text("invoice_status");
    return result;
}

QList<UserPayment *> UserPayment::listFromJson(const QJsonArray &entries, QObject *parent)
{
    QList<UserPayment *> result;
    for (const QJsonValue &entry : entries) {
        if (!entry.isObject()) {
            qCWarning(lcCore) << "Payment entry that is not an object skipped:" << entry;
            continue;
        }
        if (UserPayment *item = fromJson(entry.toObject(), parent))
            result.append(item);
    }
    return result;
}

bool UserPayment::isPending() const
{
    return m_status.compare(QLatin1String("pending"), Qt::CaseInsensitive) == 0;
}

bool UserPayment::canRequestInvoice() const
{
    return m_status.compare(QLatin1String("Completed"), Qt::CaseInsensitive) == 0 &&
           m_invoiceStatus == QLatin1String("NOT REQUESTED");
}

void UserPayment::setIdentifier(int value)
{
    Records::assign(this, m_identifier, value, &UserPayment::identifierChanged);
}

void UserPayment::setName(const QString &value)
{
    Records::assign(this, m_name, value, &UserPayment::nameChanged);
}

void UserPayment::setKey(const QString &value)
{
    Records::assign(this, m_key, value, &UserPayment::keyChanged);
}

void UserPayment::setStatus(const QString &value)
{
    Records::assign(this, m_status, value, &UserPayment::statusChanged);
}

void UserPayment::setAmount(double value)
{
    Records::assign(this, m_amount, value, &UserPayment::amountChanged);
}

void UserPayment::setVat(double value)
{
    Records::assign(this, m_vat, value, &UserPayment::vatChanged);
}

void UserPayment::setCurrency(const QString &value)
{
    Records::assign(this, m_currency, value, &UserPayment::currencyChanged);
}

void UserPayment::setDate(const QString &value)
{
    Records::assign(this, m_date, value, &UserPayment::dateChanged);
}

void UserPayment::setPaymentLink(const QString &value)
{
    Records::assign(this, m_paymentLink, value, &UserPayment::paymentLinkChanged);
}

void UserPayment::setInvoiceStatus(const QString &value)
{
    Records::assign(this, m_invoiceStatus, value, &UserPayment::invoiceStatusChanged);
}
