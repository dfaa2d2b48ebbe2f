import QtQuick
import QtQuick.Controls
import QtTest
import Vantorix
import Vantorix.Core

// The paged log view on its own (a host that answers getLogs itself): page arithmetic, the requests it
// emits, the table, the no-entries area, the loading cover and the control layout by width.
TestCase {
    id: testCase
    name: "LogsView"
    when: windowShown
    visible: true
    width: 900
    height: 600

    Component {
        id: viewComponent
        LogsView {
            width: 800
            height: 500
            main: null
            noLogsFoundText: "No activity found"
            reloadLogsText: "Reload machine activity"
            loadingText: "Loading machine activity."
            totalLogEntries: 0
        }
    }

    SignalSpy {
        id: requests
        signalName: "getLogs"
    }

    function entries(n) {
        const list = []
        for (let i = 0; i < n; ++i)
            list.push({ "timezone": "UTC", "operation_datetime": "2024-01-0" + (i % 9 + 1), "details": "entry " + i })
        return list
    }

    function makeView(properties) {
        const view = createTemporaryObject(viewComponent, testCase, properties || {})
        verify(view)
        requests.clear()
        requests.target = view
        return view
    }

    function lastRequest() {
        return Array.from(requests.signalArguments[requests.count - 1])
    }

    Component {
        id: hostComponent
        Item {
            property var asked: []
            LogsView {
                main: null
                noLogsFoundText: "No activity found"
                reloadLogsText: "Reload account activity"
                loadingText: "Loading account activity."
                totalLogEntries: 0
                onGetLogs: (page, perPage, sendLogsEmail) => parent.asked.push([page, perPage, sendLogsEmail])
            }
        }
    }

    function test_firstPageAskedOnCreation() {
        const host = createTemporaryObject(hostComponent, testCase)
        compare(host.asked.length, 1)
        compare(host.asked[0], [0, 15, false])
    }

    function test_maxPage_data() {
        return [
            { tag: "no entries", total: 0, perPage: 15, maxPage: 0 },
            { tag: "31 at 15", total: 31, perPage: 15, maxPage: 2 },
            { tag: "30 at 15", total: 30, perPage: 15, maxPage: 1 },
            { tag: "31 at 50", total: 31, perPage: 50, maxPage: 0 },
            { tag: "200 at 10", total: 200, perPage: 10, maxPage: 19 },
        ]
    }
    function test_maxPage(data) {
        const view = makeView({ "totalLogEntries": data.total })
        if (data.perPage !== 15)
            view.setPerPage(data.perPage)
        compare(view.maxPage, data.maxPage)
        compare(view.pageSpinBox.to, data.maxPage)
        compare(view.pageSpinBox.from, 0)
    }

    function test_pageAndPerPageRequests() {
        const view = makeView({ "totalLogEntries": 31 })
        view.logs = entries(15)
        // The spin box moves to page 2: asked at once.
        view.pageSpinBox.value = 2
        view.pageSpinBox.valueModified()
        compare(requests.count, 1)
        compare(lastRequest(), [2, 15, false])
        // 15 -> 50 per page: the current page number no longer exists and drops to the last one.
        view.perPageBox.activated(3)
        compare(view.perPage, 50)
        compare(view.page, 0)
        compare(requests.count, 2)
        compare(lastRequest(), [0, 50, false])
        compare(view.pageSpinBox.value, 0)
    }

    function test_perPageChangeKeepsPageWhenItExists() {
        const view = makeView({ "totalLogEntries": 100 })
        view.setPage(1)
        requests.clear()
        view.perPageBox.activated(3) // 50 per page: page 1 still exists
        compare(requests.count, 1)
        compare(lastRequest(), [1, 50, false])
    }

    function test_dropToMaxPageWhenTotalShrinks() {
        const view = makeView({ "totalLogEntries": 64 })
        view.setPage(4)
        compare(lastRequest(), [4, 15, false])
        requests.clear()
        view.totalLogEntries = 20 // pages 0 and 1
        compare(view.page, 1)
        compare(requests.count, 1)
        compare(lastRequest(), [1, 15, false])
    }

    function test_refreshReloadAndEmail() {
        const view = makeView({ "totalLogEntries": 40 })
        view.setPage(2)
        requests.clear()
        mouseClick(view.refreshButton)
        compare(lastRequest(), [2, 15, false])
        view.exportButton.clicked()
        verify(view.exportMenu.visible)
        const emailItem = findChild(view.exportMenu.contentItem, "exportEmailItem") || view.exportMenu.itemAt(1)
        emailItem.triggered()
        compare(lastRequest(), [-1, -1, true])
        // The reload button of the empty area asks for the shown page.
        verify(view.noLogsArea.visible)
        mouseClick(findChild(view, "reloadLogsButton"))
        compare(lastRequest(), [2, 15, false])
    }

    function test_tableAndEmptyArea() {
        const view = makeView({ "totalLogEntries": 3 })
        verify(view.noLogsArea.visible)
        verify(!view.table.visible)
        compare(findChild(view, "noLogsLabel").text, "No activity found")
        compare(findChild(view, "reloadLogsButton").text, "Reload machine activity")

        view.logs = [{ "timezone": "UTC", "operation_datetime": "2024-05-01 10:00", "details": "Machine started" },
                     { "operation_datetime": "2024-05-01 11:00", "details": "Machine, \"stopped\"" },
                     { "timezone": "CET", "operation_datetime": null }]
        verify(view.table.visible)
        verify(!view.noLogsArea.visible)
        tryVerify(() => view.rows.children.length === 4) // three rows and the repeater
        const row0 = view.rows.children[0]
        compare(findChild(row0, "logColumn0").text, "UTC")
        compare(findChild(row0, "logColumn1").text, "2024-05-01 10:00")
        compare(findChild(row0, "logColumn2").text, "Machine started")
        compare(findChild(row0, "logColumn0").width, 50)
        compare(findChild(row0, "logColumn1").width, 150)
        // Missing and null fields show as empty text.
        compare(findChild(view.rows.children[1], "logColumn0").text, "")
        compare(findChild(view.rows.children[2], "logColumn1").text, "")
        compare(findChild(view.rows.children[2], "logColumn2").text, "")
        // At its natural height (the account's Activity tab) the whole table shows, without a scroll bar.
        view.height = view.implicitHeight
        compare(view.table.height, view.table.contentHeight)
        compare(view.table.ScrollBar.vertical.policy, ScrollBar.AlwaysOff)
    }

    function test_loadingCover() {
        const view = makeView({ "totalLogEntries": 0 })
        view.logs = entries(2)
        verify(!view.loadingCover.visible)
        view.loadingLogs = true
        tryVerify(() => view.loadingCover.visible)
        compare(findChild(view, "logsLoadingLabel").text, "Loading machine activity.")
        verify(!view.table.visible)
        view.loadingLogs = false
        tryCompare(view.loadingCover, "visible", false, 2000)
        verify(view.table.visible)
    }

    function test_controlsLayoutByWidth_data() {
        return [
            { tag: "wide", width: 800, columns: 2, refreshText: "Refresh" },
            { tag: "600", width: 600, columns: 1, refreshText: "" },
            { tag: "narrow", width: 400, columns: 1, refreshText: "" },
        ]
    }
    function test_controlsLayoutByWidth(data) {
        const view = makeView({ "width": data.width, "headerTabBarWidth": 500, "headerTabBarBreakWidth": 450 })
        compare(view.pageControls.columns, data.columns)
        compare(view.refreshButton.text, data.refreshText)
        verify(findChild(view, "pageLabel").visible)
        view.headerTabBarWidth = 449
        verify(!findChild(view, "pageLabel").visible)
        verify(!findChild(view, "perPageLabel").visible)
    }

    function test_exportWithoutControllerWritesNothing() {
        const view = makeView()
        ignoreWarning(/the CSV export needs a LogsController/)
        verify(!view.exportTo("file:///tmp/never-written.csv"))
    }
}
