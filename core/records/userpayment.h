#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// One payment of the account's billing history, as the service lists it.
class UserPayment : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(int identifier READ identifier WRITE setIdentifier NOTIFY identifierChanged)
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(QString key READ key WRITE setKey NOTIFY keyChanged)
    Q_PROPERTY(QString status READ status WRITE setStatus NOTIFY statusChanged)
    Q_PROPERTY(double amount READ amount WRITE setAmount NOTIFY amountChanged)
    Q_PROPERTY(double vat READ vat WRITE setVat NOTIFY vatChanged)
    Q_PROPERTY(QString currency READ currency WRITE setCurrency NOTIFY currencyChanged)
    Q_PROPERTY(QString date READ date WRITE setDate NOTIFY dateChanged)
    Q_PROPERTY(QString paymentLink READ paymentLink WRITE setPaymentLink NOTIFY paymentLinkChanged)
    Q_PROPERTY(QString invoiceStatus READ invoiceStatus WRITE setInvoiceStatus NOTIFY invoiceStatusChanged)
    // Still awaiting payment on the provider's page: status "pending" in any case.
    Q_PROPERTY(bool isPending READ isPending NOTIFY statusChanged)
    // An invoice may be requested: status "Completed" (any case) and invoice status "NOT REQUESTED".
    Q_PROPERTY(bool canRequestInvoice READ canRequestInvoice NOTIFY canRequestInvoiceChanged)

public:
    explicit UserPayment(QObject *parent = nullptr);

    // Builds a payment from one entry of the payment list. Texts are read leniently ("" when missing or
    // null), amounts by decimal parse (0 when they do not parse). Refuses with a warning, returning
    // nullptr, when "payment_id" is missing or not a number: an invoice request needs it.
    [[nodiscard]] static UserPayment *fromJson(const QJsonObject &entry, QObject *parent = nullptr);
    // Builds the payments of a reply list in order, skipping (with a warning) entries that are refused or
    // not objects.
    [[nodiscard]] static QList<UserPayment *> listFromJson(const QJsonArray &entries,
                                                           QObject *parent = nullptr);

    [[nodiscard]] bool isPending() const;
    [[nodiscard]] bool canRequestInvoice() const;
    [[nodiscard]] int identifier() const { return m_identifier; }
    [[nodiscard]] QString name() const { return m_name; }
    [[nodiscard]] QString key() const { return m_key; }
    [[nodiscard]] QString status() const { return m_status; }
    [[nodiscard]] double amount() const { return m_amount; }
    [[nodiscard]] double vat() const { return m_vat; }
    [[nodiscard]] QString currency() const { return m_currency; }
    [[nodiscard]] QString date() const { return m_date; }
    [[nodiscard]] QString paymentLink() const { return m_paymentLink; }
    [[nodiscard]] QString invoiceStatus() const { return m_invoiceStatus; }

    void setIdentifier(int value);
    void setName(const QString &value);
    void setKey(const QString &value);
    void setStatus(const QString &value);
    void setAmount(double value);
    void setVat(double value);
    void setCurrency(const QString &value);
    void setDate(const QString &value);
    void setPaymentLink(const QString &value);
    void setInvoiceStatus(const QString &value);

Q_SIGNALS:
    void identifierChanged();
    void nameChanged();
    void keyChanged();
    void statusChanged();
    void amountChanged();
    void vatChanged();
    void currencyChanged();
    void dateChanged();
    void paymentLinkChanged();
    void invoiceStatusChanged();
    void canRequestInvoiceChanged();

private:
    int m_identifier = -1;
    QString m_name;
    QString m_key;
    QString m_status;
    double m_amount = 0;
    double m_vat = 0;
    QString m_currency;
    QString m_date;
    QString m_paymentLink;
    QString m_invoiceStatus;
};
