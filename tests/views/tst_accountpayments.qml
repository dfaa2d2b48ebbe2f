import QtQuick
import QtQuick.Controls
import QtTest
import Vantorix
import Vantorix.Core

// The Payments tab against the demo service: the amount field, the VAT line, the purchase that opens
// the payment page and comes back over the local command channel, the history as a table or blocks,
// the row buttons, the invoice request and the empty state.
TestCase {
    id: testCase
    name: "AccountPayments"
    when: windowShown
    visible: true
    width: 1300
    height: 720

    property var root: null
    readonly property var frame: root ? root.signedInFrame.item : null
    readonly property var session: frame ? frame.main : null
    readonly property var view: frame && frame.page && frame.page.paymentsTab !== undefined ? frame.page : null
    readonly property var tab: view ? view.paymentsTab : null

    // Signs in and opens the Payments tab; `beforeSignIn` may plan service faults.
    function openPayments(w, userId, beforeSignIn) {
        testKit.control("reset")
        testKit.clearSettings()
        context.reset()
        testHost.reset()
        if (beforeSignIn)
            beforeSignIn()
        testCase.width = w
        const component = Qt.createComponent("qrc:/Vantorix/main.qml")
        compare(component.status, Component.Ready, component.errorString())
        root = createTemporaryObject(component, testCase)
        root.width = w
        root.height = 720
        tryVerify(() => testKit.pendingRequests() === 0, 5000)
        root.authView.loginForm.userIdField.text = userId === undefined ? "demo" : userId
        root.authView.loginForm.passwordField.text = "Demo-Pass1!"
        mouseClick(root.authView.loginForm.loginButton)
        tryVerify(() => frame !== null && frame.completed, 10000)
        tryVerify(() => !session.loadingComputers, 10000)
        tryVerify(() => testKit.pendingRequests() === 0, 5000)
        session.myAccountPageIndex = MyAccountView.PaymentHistoryPage
        session.pageIndex = MainContext.Account
        tryVerify(() => tab !== null && tab.visible, 5000)
        // Let the sidebar and the frame's margins finish their animations before anything is clicked.
        tryVerify(() => frame.sidebar.x === (frame.sidebar.open ? 0 : -frame.sidebar.width), 3000)
        wait(350)
    }

    function param(path, key) {
        const query = path.substring(path.indexOf("?") + 1)
        for (const part of query.split("&")) {
            const eq = part.indexOf("=")
            if (part.substring(0, eq) === key)
                return decodeURIComponent(part.substring(eq + 1).replace(/\+/g, " "))
        }
        return undefined
    }

    function typeText(text) {
        for (const ch of text)
            keyClick(ch)
    }

    function reveal(item) {
        const flick = frame.flickable
        const y = item.mapToItem(flick.contentItem, 0, 0).y
        flick.contentY = Math.max(0, Math.min(y - 150, flick.contentHeight - flick.height))
        wait(50)
        return item
    }

    function notificationTexts() {
        const texts = []
        const container = root.notificationsContainer
        for (let i = 0; i < container.children.length; ++i) {
            if (container.children[i].text !== undefined)
                texts.push(container.children[i].text)
        }
        return texts
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

    function post(url) {
        const request = new XMLHttpRequest()
        let done = false
        request.onreadystatechange = () => {
            if (request.readyState === XMLHttpRequest.DONE)
                done = true
        }
        request.open("POST", url)
        request.send()
        tryVerify(() => done, 5000)
        return request
    }

    function cleanup() {
        // Nothing of this test may still be on its way when the next one starts (or the run ends).
        if (root)
            tryVerify(() => testKit.pendingRequests() === 0, 5000)
        root = null
    }

    function test_amountField() {
        openPayments(1300)
        const field = tab.amountField
        compare(field.text, "10")
        verify(tab.makePaymentButton.enabled)
        field.forceActiveFocus()
        field.selectAll()
        typeText("1")
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
        testKit.control("fault/clear")
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
        const popup = root.confirmPopup
        tryVerify(() => popup.opened, 3000)
        compare(popup.title, "Request Invoice")
        compare(popup.message, "You want to request an invoice for this payment?\nIf you need a company invoice, make sure your company info is written corectly in the Account Info page before proceeding.")
        mouseClick(findChild(popup.contentItem, "confirmCancel"))
        tryVerify(() => !popup.visible)
        compare(testKit.requestCount("request-invoice"), 0)
        mouseClick(reveal(rowButtons()[index]))
        tryVerify(() => popup.opened, 3000)
        mouseClick(findChild(popup.contentItem, "confirmOk"))
        tryVerify(() => rowButtons()[index].text === "Invoice Requested", 5000)
        verify(!rowButtons()[index].enabled)
        tryVerify(() => notificationTexts().indexOf("Requested invoice.") >= 0, 3000)
        compare(param(testKit.lastRequest("request-invoice"), "email"), session.user.email)
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

    // Buying credits end to end: the payment page opens in the browser, paying there completes the
    // payment and tells the program over the local command port, the history shows the completed
    // payment, and its invoice can be requested.
    function test_purchaseEndToEnd() {
        openPayments(1300)
        tryVerify(() => tab.rows.length === 6, 5000)
        const field = tab.amountField
        field.forceActiveFocus()
        field.selectAll()
        typeText("25")
        mouseClick(reveal(tab.makePaymentButton))
        tryVerify(() => notificationTexts().indexOf("Opening payment in web browser. Please check your browser if no window pops up automatically.") >= 0, 3000)
        tryVerify(() => context.openedUrls.length === 1, 5000)
        compare(param(testKit.lastRequest("initiate_payment"), "amount"), "25")
        const link = context.openedUrls[0]
        verify(link.indexOf(testKit.serviceUrl + "/pay/") === 0, link)

        // The browser's part: the page's "Pay" completes the payment and sends its message to the app.
        const credits = session.user.credits
        const reply = post(link + "/complete")
        compare(reply.status, 200)
        testKit.sendCommand(JSON.stringify({ "payment_status": "Payment completed." }))
        tryVerify(() => notificationTexts().indexOf("Payment completed.") >= 0, 3000)

        // The next refreshes bring the completed payment and the new balance.
        session.refreshRate = Math.log10(1000)
        // The new payment is the newest, listed first.
        tryVerify(() => tab.rows.length === 7 && tab.rows[1].status === "Completed", 8000)
        fuzzyCompare(tab.rows[1].amount, 25 * 1.19, 0.001)
        tryVerify(() => session.user.credits >= credits + 25 - 0.01, 8000)
        const buttons = rowButtons()
        compare(buttons.length, 6)
        compare(buttons[0].text, "Request Invoice")
        mouseClick(reveal(buttons[0]))
        const popup = root.confirmPopup
        tryVerify(() => popup.opened, 3000)
        mouseClick(findChild(popup.contentItem, "confirmOk"))
        tryVerify(() => rowButtons()[0].text === "Invoice Requested", 5000)
    }
}
