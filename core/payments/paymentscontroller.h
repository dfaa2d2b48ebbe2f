#pragma once

#include "records/userpayment.h"
#include "vatrules.h"

#include <QJsonValue>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantList>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

class ApiClient;
class HostServices;
class Shell;
class User;

// The account's payments: the payment history kept current by polling, invoice requests, the credit
// purchase (completed on the payment provider's page in the browser) and the VAT the purchase carries.
// The billing view binds to its properties and calls its functions; the session owns it.
//
// The history is replaced only when something the view shows changed (the number of payments, or a
// payment's status or invoice status), because replacing it rebuilds the billing table. A payment that
// turned "Completed" raises paymentCompleted() once per refresh; the session turns it into its
// credits-purchased notice under its own notification switches.
class PaymentsController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("PaymentsController is provided by the session")
    Q_PROPERTY(QList<UserPayment *> userPayments READ userPayments NOTIFY userPaymentsChanged)
    // The history as rows for the table and the blocks: a header row, then one row per payment. Rebuilt
    // when the list or a field of one of its payments changes.
    Q_PROPERTY(QVariantList historyRows READ historyRows NOTIFY historyRowsChanged)
    Q_PROPERTY(bool loadingPayments READ loadingPayments NOTIFY loadingPaymentsChanged)
    // The VAT multiplier of the seller's country (1.19 for 19 %); -1 until received.
    Q_PROPERTY(double romainianVatRate READ romainianVatRate NOTIFY romainianVatRateChanged)
    // The purchase field's text, as typed; the two properties below follow it.
    Q_PROPERTY(QString purchaseAmountText READ purchaseAmountText WRITE setPurchaseAmountText NOTIFY
                   purchaseAmountTextChanged)
    Q_PROPERTY(bool canPurchase READ canPurchase NOTIFY purchaseAmountTextChanged)
    Q_PROPERTY(QString vatLine READ vatLine NOTIFY vatLineChanged)

public:
    // None of the collaborators is owned; `api` and `user` must outlive this object or be destroyed with
    // it (a vanished user stops the requests). `shell` and `host` may be null (tests).
    PaymentsController(ApiClient *api, Shell *shell, const HostServices *host, User *user,
                       QObject *parent = nullptr);

    [[nodiscard]] QList<UserPayment *> userPayments() const { return m_payments; }
    [[nodiscard]] QVariantList historyRows() const { return m_rows; }
    [[nodiscard]] bool loadingPayments() const { return m_loadingPayments; }
    [[nodiscard]] double romainianVatRate() const { return m_vatRate; }
    [[nodiscard]] QString purchaseAmountText() const { return m_amountText; }
    [[nodiscard]] bool canPurchase() const;
    [[nodiscard]] QString vatLine() const { return m_vatLine; }
    void setPurchaseAmountText(const QString &text);

    // Refreshes the history ("list_user_payments"); silent on failure, skipped while one is in flight.
    Q_INVOKABLE void listUserPayments();
    // Asks the service for an invoice ("request-invoice"); on success the payment shows "REQUESTED".
    Q_INVOKABLE void requestInvoice(int paymentId);
    // Asks the user first, then requests the invoice.
    Q_INVOKABLE void confirmRequestInvoice(int paymentId);
    // Opens a payment for a whole number of credits and the provider's page in the browser.
    Q_INVOKABLE void purchaseCredits(qint64 amount);
    // "Make payment": tells the user the browser opens and buys the amount of the purchase field.
    // False (nothing sent) while the field does not hold a valid amount.
    Q_INVOKABLE bool makePayment();
    // Opens a pending payment's link in the browser (http and https only).
    Q_INVOKABLE void openPaymentLink(const QString &link);
    // Fetches romainianVatRate ("get_vatsense_tax_rate_ro").
    Q_INVOKABLE void updateRomainianVatRate();
    // What the user pays for `amount` credits, VAT included (meaningless while the rate is -1).
    Q_INVOKABLE [[nodiscard]] double getVatModifiedAmount(double amount) const;
    // The VAT line for an amount, with the current rate and the user's VAT standing.
    Q_INVOKABLE [[nodiscard]] QString vatLineFor(double amount) const;
    // A history row's button for these payment values (see PaymentHistory::invoiceButtonMap).
    Q_INVOKABLE [[nodiscard]] static QVariantMap
    invoiceButton(const QString &status, const QString &invoiceStatus, const QString &paymentLink);
    Q_INVOKABLE [[nodiscard]] static bool isValidAmountText(const QString &text);

    // Applies one payment-list reply (an array, or an object keyed by payment) with the change rule.
    void applyPaymentList(const QJsonValue &collection);

Q_SIGNALS:
    void userPaymentsChanged();
    void historyRowsChanged();
    void loadingPaymentsChanged();
    void romainianVatRateChanged();
    void purchaseAmountTextChanged();
    void vatLineChanged();
    // A payment turned "Completed" since the last refresh ("Payment completed.").
    void paymentCompleted();

private:
    [[nodiscard]] QString email() const;
    [[nodiscard]] VatRules::Buyer buyer() const;
    void setLoadingPayments(bool loading);
    void rebuildRows();
    void updateVatLine();
    void watch(UserPayment *payment);

    ApiClient *m_api;
    Shell *m_shell;
    const HostServices *m_host;
    QPointer<User> m_user;
    QList<UserPayment *> m_payments;
    QVariantList m_rows;
    bool m_loadingPayments = false;
    double m_vatRate = VatRules::kRateUnknown;
    QString m_amountText = QStringLiteral("10");
    QString m_vatLine;
};
