import QtQuick
import QtQuick.Controls
import Vantorix.Core

// A payment's button in the history: its text and whether it can be pressed follow the payment's
// status and invoice status; it requests an invoice (after asking) or opens a pending payment's link.
Button {
    id: button

    required property MainContext main
    // A row of PaymentsController.historyRows.
    required property var row
    readonly property var rule: main.payments.invoiceButton(row.status !== undefined ? String(row.status) : "",
                                                                row.invoiceStatus !== undefined ? String(row.invoiceStatus) : "",
                                                                row.paymentLink !== undefined ? String(row.paymentLink) : "")

    height: 38
    topInset: 0
    bottomInset: 0
    font.capitalization: Font.MixedCase
    text: rule.text
    enabled: rule.enabled
    onClicked: {
        if (rule.requestsInvoice)
            main.payments.confirmRequestInvoice(Number(row.identifier))
        else if (rule.opensPaymentLink)
            main.payments.openPaymentLink(String(row.paymentLink))
    }
}
