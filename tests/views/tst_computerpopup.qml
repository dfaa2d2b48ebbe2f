import QtQuick
import QtQuick.Controls
import QtQuick.Window
import QtTest
import Vantorix
import Vantorix.Core

// The computer details popup of the computers page against the demo service: frame by width, billing
// figures for running, stopped and deleted computers, price history, the activity requests, the e-mail
// export, notices in the popup's own area, the CSV export and a popup that goes while a request runs.
ViewsCase {
    name: "ComputerPopup"

    readonly property var popup: page && page.detailsPopupLoader ? page.detailsPopupLoader.item : null

    function showPopup(w) {
        signIn(w)
        tryVerify(() => popup !== null, 5000)
    }
    // Shows a computer's details on a page of the popup.
    function showOn(pageIndex, computer) {
        popup.pageIndex = pageIndex
        popup.show(computer)
        tryVerify(() => popup.opened)
        if (pageIndex === ComputerViewPopup.Page.ActivityPage)
            tryVerify(() => testKit.requestCount("get_user_logs") >= 1 && !popup.activityPage.loadingLogs, 5000)
    }

    function computerNamed(name) {
        const found = session.computers.filter(c => c.userInstanceName === name)
        verify(found.length === 1, "no computer named " + name)
        return found[0]
    }
    function computerWithStatus(status) {
        const found = session.computers.filter(c => c.status === status)
        verify(found.length > 0, "no computer with status " + status)
        return found[0]
    }
    function test_placeholderAndFrame() {
        showPopup(1200)
        compare(popup.computer.identifier, 0)
        compare(testKit.requestCount("get_user_logs"), 0) // nothing asked for the placeholder
        popup.show(null)
        verify(!popup.opened)
        showOn(ComputerViewPopup.Page.BillingHistory, computerWithStatus(Computer.Running))
        compare(popup.height, root.Window.height - 100)
        compare(popup.tabBar.currentIndex, 0)
        // The tab bar and pageIndex follow each other.
        mouseClick(findChild(popup.header, "activityTab"))
        compare(popup.pageIndex, ComputerViewPopup.Page.ActivityPage)
        popup.pageIndex = 0
        compare(popup.tabBar.currentIndex, 0)
        // Escape closes it; the computer stays.
        const shown = popup.computer
        keyClick(Qt.Key_Escape)
        tryVerify(() => !popup.visible)
        compare(popup.computer, shown)
    }

    function test_tabsAndNameByWidth_data() {
        return [
            { tag: "wide", width: 1000, popupWidth: 900, billing: "Machine Billing", activity: "Machine Activity", above: false },
            { tag: "799", width: 899, popupWidth: 799, billing: "Billing", activity: "Activity", above: false },
            { tag: "499 fills the window", width: 499, popupWidth: 499, billing: "Billing", activity: "Activity", above: true },
        ]
    }
    function test_tabsAndNameByWidth(data) {
        showPopup(data.width)
        showOn(0, computerWithStatus(Computer.Running))
        compare(popup.width, data.popupWidth)
        compare(findChild(popup.header, "billingTab").text, data.billing)
        compare(findChild(popup.header, "activityTab").text, data.activity)
        compare(popup.nameAboveTabs, data.above)
        if (data.above)
            verify(popup.tabBar.y > popup.nameLabel.y)
        else
            verify(popup.tabBar.x > popup.nameLabel.x)
        verify(popup.tabBar.width <= 800)
    }

    function test_billingRunningComputer() {
        showPopup(1200)
        const c = computerWithStatus(Computer.Running)
        showOn(0, c)
        const billing = popup.billingPage
        verify(billing.sessionRow.visible)
        compare(billing.sessionRow.valueLabel.text, BillingFormat.sessionCostText(c.sessionRunTime, c.computerPowerOnRate))
        compare(billing.sessionRow.detailLabel.text,
                "approx. " + Utils.formatMinutes(c.sessionRunTime) + " at " + c.computerPowerOnRate.toFixed(3) + " credits/h")
        compare(billing.runningRow.valueLabel.text, c.computerPowerOnCost.toFixed(5) + " credits")
        compare(billing.runningRow.detailLabel.text, "approx. " + Utils.formatMinutes(c.computerPowerOnTime))
        compare(billing.idleRow.valueLabel.text, c.computerIdleCost.toFixed(5) + " credits")
        compare(billing.totalRow.valueLabel.text, c.computerTotalCost.toFixed(5) + " credits")
        verify(billing.currentPeriod.visible)
        compare(findChild(billing.currentPeriod, "periodTitle").text,
                "Between (" + c.computerLastDatePs + ") - ( present time ) UTC")
        // The figures follow the polling.
        c.computerTotalCost = 12.5
        compare(billing.totalRow.valueLabel.text, "12.50000 credits")
    }

    function test_billingStoppedAndDeleted_data() {
        return [
            { tag: "stopped", status: Computer.Terminated, period: true },
            { tag: "deleted", status: Computer.Deleted, period: false },
        ]
    }
    function test_billingStoppedAndDeleted(data) {
        showPopup(1200)
        const c = computerWithStatus(data.status)
        showOn(0, c)
        const billing = popup.billingPage
        verify(!billing.sessionRow.visible)
        verify(billing.runningRow.visible)
        verify(billing.totalRow.visible)
        compare(billing.currentPeriod.visible, data.period)
        // A deleted computer still shows its price history.
        c.priceHistoryStr = "Running Cost (2024-01-01 - 2024-02-01) = 1.5 credits (90 minutes @ 1 credits/h) ** Idle Cost (2024-01-01 - 2024-02-01) = 0.2 credits (600 minutes @ 0.02 credits/h)"
        verify(billing.historyTitle.visible)
        compare(billing.pastPeriods.count, 1)
        c.priceHistoryStr = ""
        verify(!billing.historyTitle.visible)
        compare(billing.pastPeriods.count, 0)
    }

    function test_priceHistoryNewestFirstAndMalformedPiece() {
        showPopup(1200)
        const c = computerNamed("Design Station")
        showOn(0, c)
        const billing = popup.billingPage
        const rows = BillingFormat.priceHistoryRows(c.priceHistoryStr)
        compare(rows.length, 3)
        compare(billing.pastPeriods.count, 3)
        compare(findChild(billing.pastPeriods.itemAt(0), "periodTitle").text, rows[0].title)
        compare(findChild(billing.pastPeriods.itemAt(2), "periodTitle").text, rows[2].title)
        // The service lists the oldest first; the page the newest.
        const pieces = c.priceHistoryStr.split("|| ").filter(p => p.length > 0)
        verify(pieces[pieces.length - 1].indexOf(rows[0].title.substring(8, rows[0].title.length - 4)) >= 0)

        // A piece that does not follow the form is left out; the others still show.
        c.priceHistoryStr = c.priceHistoryStr + "|| garbage without the parts"
        compare(billing.pastPeriods.count, 3)
        verify(billing.historyTitle.visible)
    }

    function test_activityRequests() {
        showPopup(1200)
        const running = computerWithStatus(Computer.Running)
        const stopped = computerWithStatus(Computer.Terminated)
        showOn(ComputerViewPopup.Page.ActivityPage, running)
        compare(testKit.requestCount("get_user_logs"), 1)
        const first = testKit.lastRequest("get_user_logs")
        verify(first.indexOf("email=demo%40vantorix.example&resource_type=machine&resource_id=" + running.identifier
                             + "&page=0&per_page=15") >= 0, first)
        verify(first.indexOf("send_logs_email") < 0)

        popup.close()
        popup.show(stopped)
        // Another computer: its own logs are asked for (a late answer for the first is dropped on the way).
        tryVerify(() => testKit.lastRequest("get_user_logs").indexOf("resource_id=" + stopped.identifier + "&") >= 0,
                  5000)
        tryVerify(() => !popup.activityPage.loadingLogs, 5000)
        const asked = testKit.requestCount("get_user_logs")
        // The same computer again: nothing new.
        popup.close()
        popup.show(stopped)
        wait(200)
        compare(testKit.requestCount("get_user_logs"), asked)
        // Until the user reloads.
        popup.activityPage.refreshButton.clicked()
        tryVerify(() => testKit.requestCount("get_user_logs") === asked + 1, 5000)
    }

    function test_emailExport() {
        showPopup(1200)
        const c = computerWithStatus(Computer.Running)
        showOn(ComputerViewPopup.Page.ActivityPage, c)
        const logs = popup.activityPage
        compare(testKit.requestCount("get_user_logs"), 1)
        const shown = logs.logs
        testKit.control("fault", "action=get_user_logs&kind=delay&delay_ms=400&count=1")
        logs.requestLogsEmail()
        tryVerify(() => logs.loadingCover.visible, 2000)
        compare(findChild(logs, "logsLoadingLabel").text, "Requesting logs email")
        tryVerify(() => testKit.requestCount("get_user_logs") === 2, 5000)
        const request = testKit.lastRequest("get_user_logs")
        verify(request.indexOf("resource_id=" + c.identifier + "&per_page=-1&send_logs_email=true") >= 0, request)
        verify(request.indexOf("page=-1&per_page") < 0 && request.indexOf("&page=") < 0, request)
        answer(true, "Email Logs Request", "Your machine logs will be emailed to your account email address shortly.")
        compare(logs.logs, shown)
        compare(findChild(logs, "logsLoadingLabel").text, "Loading machine activity.")
    }

    function test_errorsInPopupArea_data() {
        return [
            { tag: "error message", fault: "kind=error_message&message=Logs%20unavailable", text: "Logs unavailable" },
            { tag: "not json", fault: "kind=not_json", text: "Invalid JSON API response" },
            { tag: "missing key", fault: "kind=missing_key", text: "Unexpected API response" },
        ]
    }
    function test_errorsInPopupArea(data) {
        showPopup(1200)
        testKit.control("fault", "action=get_user_logs&" + data.fault)
        showOn(ComputerViewPopup.Page.ActivityPage, computerWithStatus(Computer.Running))
        waitNote(data.text, popup.notificationArea)
        compare(popup.notificationArea.children[0].alignment, Notification.Align.Center)
    }

    function test_csvExportNotice() {
        showPopup(1200)
        showOn(ComputerViewPopup.Page.ActivityPage, computerWithStatus(Computer.Running))
        verify(popup.activityPage.exportTo("file:///nonexistent-vantorix-folder/logs.csv") === false)
        tryVerify(() => texts(popup.notificationArea).indexOf("Unable to save logs to '/nonexistent-vantorix-folder/logs.csv'") >= 0, 2000)
    }

    function test_popupGoneWhileRequestRuns() {
        showPopup(1200)
        testKit.control("fault", "action=get_user_logs&kind=delay&delay_ms=500")
        popup.pageIndex = 1
        popup.show(computerWithStatus(Computer.Running))
        tryVerify(() => popup.activityPage.loadingLogs, 2000)
        // Leaving the computers page destroys it and its popup before the answer arrives.
        session.pageIndex = MainContext.Account
        tryVerify(() => testKit.pendingRequests() === 0, 5000)
        wait(600)
        session.pageIndex = MainContext.Computers
        tryVerify(() => popup !== null, 5000)
        compare(popup.computer.identifier, 0)
    }
}
