#include "paymentscontroller.h"

#include "api/apiclient.h"
#include "api/apirequests.h"
#include "hostservices.h"
#include "logging.h"
#include "paymenthistory.h"
#include "records/user.h"
#include "shell.h"
#include "utils/jsonread.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QUrl>
#include <cmath>

PaymentsController::PaymentsController(ApiClient *api, Shell *shell, const HostServices *host, User *user,
                                       QObject *parent)
    : QObject(parent), m_api(api), m_shell(shell), m_host(host), m_user(user)
{
    if (user) {
        for (auto signal : {&User::isEuResidentChanged, &User::validVatChanged, &User::countryChanged})
            connect(user, signal, this, &PaymentsController::updateVatLine);
    }
    m_rows = PaymentHistory::rows(m_payments);
    m_vatLine = vatLineFor(0);
    updateVatLine();
}

QString PaymentsController::email() const
{
    return m_user ? m_user->email() : QString();
}

VatRules::Buyer PaymentsController::buyer() const
{
    if (!m_user)
        return {};
    return {m_user->isEuResident(), m_user->validVat(), m_user->country()};
}

bool PaymentsController::canPurchase() const
{
    return VatRules::isValidAmountText(m_amountText);
}

void PaymentsController::setPurchaseAmountText(const QString &text)
{
    if (text == m_amountText)
        return;
    m_amountText = text;
    Q_EMIT purchaseAmountTextChanged();
    updateVatLine();
}

void PaymentsController::updateVatLine()
{
    // A field that holds no number counts as 0 credits rather than printing "NaN" as the total.
    bool ok = false;
    const qint64 amount = m_amountText.toLongLong(&ok);
    const QString line = vatLineFor(ok ? double(amount) : 0.0);
    if (line == m_vatLine)
        return;
    m_vatLine = line;
    Q_EMIT vatLineChanged();
}

double PaymentsController::getVatModifiedAmount(double amount) const
{
    return VatRules::modifiedAmount(amount, m_vatRate, buyer());
}

QString PaymentsController::vatLineFor(double amount) const
{
    return VatRules::line(m_vatRate, amount, buyer());
}

QVariantMap PaymentsController::invoiceButton(const QString &status, const QString &invoiceStatus,
                                              const QString &paymentLink)
{
    return PaymentHistory::invoiceButtonMap(status, invoiceStatus, paymentLink);
}

bool PaymentsController::isValidAmountText(const QString &text)
{
    return VatRules::isValidAmountText(text);
}

void PaymentsController::setLoadingPayments(bool loading)
{
    if (loading == m_loadingPayments)
        return;
    m_loadingPayments = loading;
    Q_EMIT loadingPaymentsChanged();
}

void PaymentsController::listUserPayments()
{
    if (m_loadingPayments)
        return; // the poll in flight brings the list
    const QString address = email();
    if (!m_api || address.isEmpty())
        return;
    setLoadingPayments(true);
    ApiHandlers h;
    h.context = this;
    h.notifyThrough(m_shell);
    h.mode = ApiPolicy::Mode::Polling;
    h.finished = [guard = QPointer<PaymentsController>(this)] {
        if (guard)
            guard->setLoadingPayments(false);
    };
    h.success = [this](const ApiReply &reply) { applyPaymentList(reply.value); };
    m_api->send(ApiRequests::listUserPayments(address), h);
}

void PaymentsController::applyPaymentList(const QJsonValue &collection)
{
    bool isCollection = false;
    const QJsonArray entries = JsonRead::entries(collection, &isCollection);
    if (!isCollection) {
        qCWarning(lcCore) << "payments: the payment list is neither a list nor an object; ignored";
        return;
    }
    const QList<UserPayment *> fresh = UserPayment::listFromJson(entries, this);

    bool changed = fresh.size() != m_payments.size();
    bool completed = false;
    for (qsizetype i = 0; !changed && i < fresh.size(); ++i) {
        const UserPayment *now = fresh.at(i);
        const UserPayment *before = m_payments.at(i);
        const bool statusDiffers = now->status() != before->status();
        if (statusDiffers || now->invoiceStatus() != before->invoiceStatus()) {
            changed = true;
            // Only the first changed payment can raise the notice.
            completed = statusDiffers && now->status() == QLatin1String("Completed");
        }
    }

    if (!changed) {
        qDeleteAll(fresh); // keep the current list: the billing table is not rebuilt
        return;
    }
    const QList<UserPayment *> old = m_payments;
    m_payments = fresh;
    for (UserPayment *p : m_payments)
        watch(p);
    Q_EMIT userPaymentsChanged();
    rebuildRows();
    for (UserPayment *p : old) {
        p->disconnect(this);
        p->deleteLater(); // views may still hold it until they have redrawn
    }
    if (completed)
        Q_EMIT paymentCompleted();
}

void PaymentsController::watch(UserPayment *payment)
{
    for (auto signal :
         {&UserPayment::statusChanged, &UserPayment::invoiceStatusChanged, &UserPayment::paymentLinkChanged,
          &UserPayment::amountChanged, &UserPayment::vatChanged})
        connect(payment, signal, this, &PaymentsController::rebuildRows);
}

void PaymentsController::rebuildRows()
{
    m_rows = PaymentHistory::rows(m_payments);
    Q_EMIT historyRowsChanged();
}

void PaymentsController::requestInvoice(int paymentId)
{
    const QString address = email();
    if (!m_api || address.isEmpty())
        return;
    ApiHandlers h;
    h.context = this;
    h.notifyThrough(m_shell);
    // The reply body is not read: a 200 (or 0) is the service's acceptance.
    h.success = [this, paymentId](const ApiReply &) {
        for (UserPayment *p : std::as_const(m_payments)) {
            if (p->identifier() == paymentId && p->invoiceStatus() == QLatin1String("NOT REQUESTED")) {
                p->setInvoiceStatus(QStringLiteral("REQUESTED")); // until the next refresh says otherwise
                break;
            }
        }
    };
    m_api->send(ApiRequests::requestInvoice(address, paymentId), h);
}

void PaymentsController::confirmRequestInvoice(int paymentId)
{
    if (!m_shell) {
        qCWarning(lcCore) << "payments: no shell to confirm the invoice request; nothing sent";
        return;
    }
    m_shell->confirm(QStringLiteral("Request Invoice"),
                     QStringLiteral("You want to request an invoice for this payment?\nIf you need a company "
                                    "invoice, make sure your company info is written corectly in the Account "
                                    "Info page before proceeding."),
                     QStringLiteral("Yes"), QStringLiteral("Cancel"),
                     [guard = QPointer<PaymentsController>(this), paymentId] {
                         if (guard)
                             guard->requestInvoice(paymentId);
                     },
                     {});
}

void PaymentsController::purchaseCredits(qint64 amount)
{
    const QString address = email();
    if (!m_api || address.isEmpty())
        return;
    ApiHandlers h;
    h.context = this;
    h.notifyThrough(m_shell);
    h.success = [this](const ApiReply &reply) { openPaymentLink(reply.value.toString()); };
    // The payment may have been started even though no answer came: never retry blindly.
    h.timedOut = [this](const QString &error) {
        qCWarning(lcCore).noquote() << "initiate_payment:" << error << "; the outcome is unknown";
        if (m_shell)
            m_shell->notify(QStringLiteral("No answer from the service about the payment: it may still have "
                                           "been started. Check the payment history before you try again."),
                            Shell::Level::Warning);
        listUserPayments();
    };
    m_api->send(ApiRequests::initiatePayment(address, amount), h);
}

bool PaymentsController::makePayment()
{
    const auto amount = VatRules::amountFromText(m_amountText);
    if (!amount)
        return false;
    if (m_shell)
        m_shell->notify(
            QStringLiteral("Opening payment in web browser. Please check your browser if no window "
                           "pops up automatically."),
            Shell::Level::Info);
    purchaseCredits(*amount);
    return true;
}

void PaymentsController::openPaymentLink(const QString &link)
{
    const QUrl url(link, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("https") && scheme != QLatin1String("http"))) {
        qCWarning(lcCore).noquote() << "payments: not opening a payment link that is not a web address:"
                                    << link.left(200);
        return;
    }
    if (m_host)
        m_host->openUrl(url);
}

void PaymentsController::updateRomainianVatRate()
{
    const QString address = email();
    if (!m_api || address.isEmpty())
        return;
    ApiHandlers h;
    h.context = this;
    h.notifyThrough(m_shell);
    h.success = [this](const ApiReply &reply) {
        const double percent = JsonRead::real(reply.value, std::nan(""));
        if (!std::isfinite(percent)) {
            qCWarning(lcCore) << "payments: the VAT rate is not a number:" << reply.value;
            return;
        }
        const double rate = 1 + percent / 100;
        if (rate == m_vatRate)
            return;
        m_vatRate = rate;
        Q_EMIT romainianVatRateChanged();
        updateVatLine();
    };
    m_api->send(ApiRequests::getVatsenseTaxRateRo(address), h);
}
