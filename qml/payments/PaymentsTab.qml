import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import Vantorix
import Vantorix.Core

// The Payments tab: buying credits (the amount, the VAT line, "Make payment", which opens the payment
// provider's page in the browser) and the payment history, as a table while every column fits and as
// one block per payment otherwise. The amount rules, the VAT line and the buttons' rules are the
// session's payments controller's.
Column {
    id: tab

    required property MainContext main
    readonly property PaymentsController payments: main.payments
    readonly property var rows: payments.historyRows
    readonly property bool hasPayments: rows.length > 1
    readonly property bool tableFits: table.contentWidthNeeded <= historyColumn.width
    readonly property alias amountField: amountField
    readonly property alias makePaymentButton: makePaymentButton
    readonly property alias vatLineLabel: vatLineLabel
    readonly property alias table: table
    readonly property alias blocks: blocks
    readonly property alias emptyState: emptyState

    spacing: 20

    Column {
        id: purchase
        width: tab.width
        spacing: 5

        Row {
            spacing: 3
            Label {
                anchors.baseline: amountField.baseline
                text: "€"
                font.pointSize: 16
            }
            TextField {
                id: amountField
                objectName: "amountField"
                width: 120
                font.pointSize: 16
                text: "10"
                placeholderText: " enter >10"
                inputMethodHints: Qt.ImhDigitsOnly
                validator: RegularExpressionValidator { regularExpression: /[0-9]*/ }
                selectByMouse: true
                onTextChanged: tab.payments.purchaseAmountText = text
                Component.onCompleted: tab.payments.purchaseAmountText = text
            }
            Button {
                id: makePaymentButton
                objectName: "makePaymentButton"
                anchors.verticalCenter: amountField.verticalCenter
                text: "Make payment"
                font.pointSize: 16
                highlighted: true
                icon.source: "qrc:///assets/icons/PayPal_Logo_Icon_2014.svg"
                icon.color: "transparent"
                enabled: tab.payments.canPurchase
                onClicked: tab.payments.makePayment()
            }
            HelpButton {
                anchors.verticalCenter: amountField.verticalCenter
                tipBelow: true
                toolTipText: "1 Credit = 1 Euro (10 Credits minimum purchase)\nAfter pushing the button you will be redirected to PayPal to complete the payment."
            }
        }
        Label {
            id: vatLineLabel
            objectName: "vatLine"
            width: tab.width
            leftPadding: 10
            bottomPadding: 20
            wrapMode: Text.Wrap
            text: tab.payments.vatLine
            // Grey 500 reads on the dark page only (2:1 on the light one).
            color: Material.color(Material.Grey, Utils.styles.isLightTheme ? Material.Shade700 : Material.Shade500)
            font.pointSize: 10
        }
    }

    Rectangle {
        width: tab.width
        height: 1
        color: Utils.styles.sidebarSeparatorColor
    }

    Pane {
        id: historyPane
        width: tab.width
        padding: 0
        Material.elevation: 2

        Column {
            id: historyColumn
            width: historyPane.availableWidth
            spacing: 20

            // Inset like the table's cells (20 from the pane's edge), not on the edge of the pane. Grey 500 reads
            // on the dark pane only (2:1 on the light one), so the light theme takes the palette's Grey 700.
            Label {
                objectName: "paymentHistoryTitle"
                leftPadding: 20
                topPadding: 10
                text: "Payment History"
                color: Material.color(Material.Grey, Utils.styles.isLightTheme ? Material.Shade700 : Material.Shade500)
                font.pointSize: 14
            }

            PaymentHistoryTable {
                id: table
                objectName: "paymentTable"
                main: tab.main
                rows: tab.rows
                width: historyColumn.width
                visible: tab.hasPayments && tab.tableFits
            }

            PaymentHistoryBlocks {
                id: blocks
                objectName: "paymentBlocks"
                main: tab.main
                rows: tab.rows
                width: historyColumn.width
                visible: tab.hasPayments && !tab.tableFits
            }

            Column {
                id: emptyState
                objectName: "paymentsEmptyState"
                anchors.horizontalCenter: parent.horizontalCenter
                visible: !tab.hasPayments
                spacing: 10
                bottomPadding: 20
                Label {
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: "No payments found"
                }
                Button {
                    objectName: "reloadPaymentsButton"
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: "Reload payment history"
                    highlighted: true
                    onClicked: tab.main.listUserPayments()
                }
            }
        }
    }
}
