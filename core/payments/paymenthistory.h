#pragma once

#include <QString>
#include <QVariantList>
#include <QVariantMap>

class UserPayment;

// The rules of the billing history: the rows of the table (a header row, then one row per payment), and
// the button each payment gets. Pure functions; the view lays the rows out as a table or as blocks.
namespace PaymentHistory {

// What a payment's button does when pressed.
enum class ButtonAction { None, RequestInvoice, OpenPaymentLink };

struct InvoiceButton {
    QString text;
    bool enabled = false;
    ButtonAction action = ButtonAction::None;
};

// The button of a payment with these values ("pending" and "completed" are compared in any case).
[[nodiscard]] InvoiceButton invoiceButton(const QString &status, const QString &invoiceStatus,
                                          const QString &paymentLink);
// The same as a map for QML: "text", "enabled", "requestsInvoice", "opensPaymentLink".
[[nodiscard]] QVariantMap invoiceButtonMap(const QString &status, const QString &invoiceStatus,
                                           const QString &paymentLink);

// The column keys in display order.
[[nodiscard]] const QStringList &columns();
// The header row: a map of column key to header text ("invoice" has none).
[[nodiscard]] QVariantMap headerRow();
// One payment's row: the texts of the columns (credits = amount - vat), plus "identifier", "isPending",
// "paymentLink", "status" and "invoiceStatus" for its button.
[[nodiscard]] QVariantMap paymentRow(const UserPayment &payment);
// The header row followed by one row per payment.
[[nodiscard]] QVariantList rows(const QList<UserPayment *> &payments);

} // namespace PaymentHistory
