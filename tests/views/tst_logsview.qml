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

    // What the views asked for: (page, per page, send by e-mail).
    property var asked: []

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
            onGetLogs: (page, perPage, sendLogsEmail) => testCase.asked.push([page, perPage, sendLogsEmail])
        }
    }

    function makeView(properties) {
        asked = []
        return createTemporaryObject(viewComponent, testCase, properties || {})
    }

    function test_firstPageAskedOnCreation() {
        makeView()
        compare(asked, [[0, 15, false]])
    }

    // What each control asks for, from a given total and page; a page that no longer exists drops to the
    // last one.
    function test_requests_data() {
        const spinTo = page => view => {
            view.pageSpinBox.value = page
            view.pageSpinBox.valueModified()
        }
        const fiftyPerPage = view => view.perPageBox.activated(3)
        return [
            { tag: "spin box", total: 31, page: 0, act: spinTo(2), asked: [2, 15, false], now: 2 },
            { tag: "50 per page, page gone", total: 31, page: 2, act: fiftyPerPage, asked: [0, 50, false], now: 0 },
            { tag: "50 per page, page kept", total: 100, page: 1, act: fiftyPerPage, asked: [1, 50, false], now: 1 },
            { tag: "total shrinks", total: 64, page: 4, act: view => view.totalLogEntries = 20, asked: [1, 15, false],
              now: 1 },
            { tag: "refresh", total: 40, page: 2, act: view => mouseClick(view.refreshButton), asked: [2, 15, false],
              now: 2 },
            { tag: "e-mail export", total: 40, page: 2, asked: [-1, -1, true], now: 2,
              act: view => {
                  view.exportButton.clicked()
                  verify(view.exportMenu.visible)
                  findChild(view.exportMenu.contentItem, "exportEmailItem").triggered()
              } },
            // The reload button of the empty area asks for the shown page.
            { tag: "reload", total: 40, page: 2, act: view => mouseClick(findChild(view, "reloadLogsButton")),
              asked: [2, 15, false], now: 2 },
        ]
    }
    function test_requests(data) {
        const view = makeView({ "totalLogEntries": data.total })
        if (data.page > 0)
            view.setPage(data.page)
        asked = []
        data.act(view)
        compare(asked, [data.asked])
        compare(view.page, data.now)
        compare(view.pageSpinBox.value, data.now)
        compare(view.pageSpinBox.to, view.maxPage)
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
        view.logs = [{ "timezone": "UTC", "operation_datetime": "2024-01-01", "details": "one" },
                     { "timezone": "UTC", "operation_datetime": "2024-01-02", "details": "two" }]
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
