import QtQuick
import QtQuick.Controls
import QtTest
import Vantorix
import Vantorix.Core

// The Payments tab against the demo service: the amount field, the VAT line, the purchase that opens
// the payment page and comes back over the local command channel, the history as a table or blocks,
// the row buttons, the invoice request and the empty state.
ViewsCase {
    name: "AccountPayments"

    readonly property var view: page && page.paymentsTab !== undefined ? page : null
    readonly property var tab: view ? view.paymentsTab : null

    // Signs in and opens the Payments tab; `prepare` may plan service faults.
    function openPayments(w, userId, prepare) {
        signIn(w, userId, prepare)
        openPage(MainContext.Account, "paymentsTab", MyAccountView.PaymentHistoryPage)
    }

    // The row buttons of the shown history (table or blocks), in payment order.
    function rowButtons() {
        const buttons = []
        if (tab.table.visible) {
            for (let i = 1; i < tab.table.rowRepeater.count; ++i)
                buttons.push(findChild(tab.table.rowRepeater.itemAt(i), "paymentButton"))
        } else {
            for (let i = 0; i < tab.blocks.blockRepeater.count; ++i)
                buttons.push(findChild(tab.blocks.blockRepeater.itemAt(i), "paymentButton"))
        }
        return buttons
    }

    function test_amountField() {
        openPayments(1300)
        const field = tab.amountField
        compare(field.text, "10")
        verify(tab.makePaymentButton.enabled)
        retype(field, "1")
        compare(field.text, "1")
        verify(!tab.makePaymentButton.enabled)
        typeText("a.-")
        compare(field.text, "1")
        typeText("5")
        verify(tab.makePaymentButton.enabled)
        field.selectAll()
        keyClick(Qt.Key_Delete)
        compare(field.text, "")
        verify(!tab.makePaymentButton.enabled)
        typeText("99")
        verify(tab.makePaymentButton.enabled)
    }

    function test_vatLine_data() {
        return [
            { tag: "no valid VAT", eu: false, valid: false, country: "Germany", amount: "10",
              line: "Total (including VAT 19.0%) = €11.90" },
            { tag: "EU company in Romania", eu: true, valid: true, country: "ROMANIA", amount: "100",
              line: "Total (including VAT 19.00%) = €119.00\n\nNOTE: Valid RO/EU VAT provided || VAT 19.00% will be charged because vantorix is a Romanian company, under RO fiscal regulations." },
            { tag: "EU company elsewhere", eu: true, valid: true, country: "Germany", amount: "100",
              line: "Valid EU VAT provided || VAT will not be added to your purchase" },
            { tag: "valid VAT, not EU resident", eu: false, valid: true, country: "Germany", amount: "20",
              line: "Total (including VAT 19.00%) = €23.80\n\nNOTE: Valid EU VAT provided || VAT 19.00% will be charged because the EU Resident checkbox is unchecked. Please enable the EU Resident checkbox if you don't want to be charged VAT." },
        ]
    }
    function test_vatLine(data) {
        openPayments(1300)
        tryCompare(session, "romainianVatRate", 1.19, 5000)
        session.user.isEuResident = data.eu
        session.user.validVat = data.valid
        session.user.country = data.country
        tab.amountField.text = data.amount
        compare(tab.vatLineLabel.text, data.line)
    }

    function test_vatLineBeforeTheRateArrives() {
        openPayments(1300, "demo", () => testKit.control("fault", "action=get_vatsense_tax_rate_ro&kind=missing_key"))
        compare(session.romainianVatRate, -1)
        compare(tab.vatLineLabel.text, "VAT will be applied when making the payment.")
    }

    function test_rowButtons_data() {
        return [
            { tag: "table", width: 1700, table: true },
            { tag: "blocks", width: 700, table: false },
        ]
    }
    function test_rowButtons(data) {
        openPayments(data.width)
        tryVerify(() => tab.rows.length === 6, 5000)
        compare(tab.table.visible, data.table)
        compare(tab.blocks.visible, !data.table)
        verify(!tab.emptyState.visible)
        const buttons = rowButtons()
        compare(buttons.length, 5)
        // The service lists the newest first: pending, cancelled, completed without invoice, refunded,
        // completed with the invoice sent.
        const expected = { "Pending": "Open payment link", "Cancelled": "Invoice Unavailable",
                           "Refunded": "Invoice Unavailable", "Completed": "" }
        let pendingButton = null
        for (let i = 0; i < 5; ++i) {
            const row = tab.rows[i + 1]
            let text = expected[row.status]
            if (row.status === "Completed")
                text = row.invoiceStatus === "SENT" ? "Invoice Sent" : "Request Invoice"
            compare(buttons[i].text, text, "payment " + i)
            compare(buttons[i].enabled, text === "Open payment link" || text === "Request Invoice", "payment " + i)
            if (row.status === "Pending")
                pendingButton = buttons[i]
        }
        verify(pendingButton !== null)
        // A pending payment's link opens the payment page.
        mouseClick(reveal(pendingButton))
        const opened = context.openedUrls[context.openedUrls.length - 1]
        verify(opened.indexOf(testKit.serviceUrl + "/pay/") === 0, opened)
    }

    function test_narrowingSwitchesToBlocks() {
        openPayments(1700)
        tryVerify(() => tab.rows.length === 6, 5000)
        verify(tab.table.visible)
        root.width = 800
        tryVerify(() => tab.blocks.visible, 2000)
        verify(!tab.table.visible)
        compare(tab.blocks.blockRepeater.count, 5)
        root.width = 1700
        tryVerify(() => tab.table.visible, 2000)
    }

    function test_invoiceRequest() {
        openPayments(1300)
        tryVerify(() => tab.rows.length === 6, 5000)
        const index = rowButtons().findIndex(b => b.text === "Request Invoice")
        verify(index >= 0)
        mouseClick(reveal(rowButtons()[index]))
        answer(false, "Request Invoice", "You want to request an invoice for this payment?\nIf you need a company invoice, make sure your company info is written corectly in the Account Info page before proceeding.")
        compare(testKit.requestCount("request-invoice"), 0)
        mouseClick(reveal(rowButtons()[index]))
        answer(true)
        tryVerify(() => rowButtons()[index].text === "Invoice Requested", 5000)
        verify(!rowButtons()[index].enabled)
        waitNote("Requested invoice.")
        compare(sent("request-invoice", "email"), session.user.email)
    }

    function test_emptyHistory() {
        openPayments(1300, "plususer")
        tryVerify(() => testKit.requestCount("list_user_payments") > 0, 5000)
        verify(tab.emptyState.visible)
        verify(!tab.table.visible)
        verify(!tab.blocks.visible)
        const before = testKit.requestCount("list_user_payments")
        mouseClick(reveal(findChild(tab, "reloadPaymentsButton")))
        tryVerify(() => testKit.requestCount("list_user_payments") === before + 1, 5000)
    }

    function test_historyRefreshedAtThePollingInterval() {
        openPayments(1300)
        compare(view.paymentsRefreshTimer.interval, session.refreshInterval)
        verify(view.paymentsRefreshTimer.running)
        session.refreshRate = Math.log10(1000)
        compare(view.paymentsRefreshTimer.interval, 1000)
        const before = testKit.requestCount("list_user_payments")
        tryVerify(() => testKit.requestCount("list_user_payments") >= before + 2, 6000)
    }
}
