import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Dialogs
import QtQuick.Layouts
import Vantorix.Core

// The paged table of the service's log entries (activity logs), with its page controls, the
// no-entries area, the loading cover and the export menu (CSV of the shown page, or all entries by
// e-mail). It never talks to the service itself.
//
// Interface (for the hosts: the account activity tab and the computer details popup):
//   main                 MainContext, required: the session.
//   controller           LogsController or null. The usual way: pass the session's controller
//                        (`main.createAccountLogs(host)` / `main.createComputerLogs(host)`) and nothing
//                        else; the view then shows the controller's entries, texts, count and busy flag,
//                        sends every request through it and exports its page. With a controller the
//                        page state (page, perPage, maxPage) is the controller's, and the requests are
//                        sent by the controller: getLogs() is not emitted.
//   logs                 list of entry objects of the shown page (default: the controller's).
//   loadingLogs          bool, a request is in flight (default: the controller's).
//   noLogsFoundText, reloadLogsText, loadingText: the host's texts (default: the controller's).
//   totalLogEntries      int, entries on all pages (default: the controller's, else 0).
//   column0Key, column1Key, column2Key: the entry fields of the three columns
//                        ("timezone", "operation_datetime", "details").
//   page                 int, the shown page from 0; perPage: 10, 15 (initial), 25, 50 or 200.
//   maxPage              int, read-only: the last page that holds entries.
//   headerTabBarWidth, headerTabBarBreakWidth: the host's header tab bar width and its break width;
//                        the "page" and "per page" labels show while the first is at least the second.
//   signal getLogs(page, perPage, sendLogsEmail): without a controller, the host answers it by sending
//                        the request and writing logs/loadingLogs/totalLogEntries. Emitted for the first
//                        page on creation, on every page or per-page change (including the drop to
//                        maxPage), for the reload and Refresh buttons, and as (-1, -1, true) for the
//                        e-mail export.
//   signal refresh():    asks for the shown page again.
//   exportTo(url):       writes the shown page as CSV to a file URL (what the save dialog does).
Item {
    id: view

    required property MainContext main
    property LogsController controller: null

    property var logs: controller ? controller.logs : []
    property bool loadingLogs: controller ? controller.loadingLogs : false
    property string noLogsFoundText: controller ? controller.noLogsFoundText : ""
    property string reloadLogsText: controller ? controller.reloadLogsText : ""
    property string loadingText: controller ? controller.loadingText : ""
    property int totalLogEntries: controller ? controller.totalLogEntries : 0
    property string column0Key: "timezone"
    property string column1Key: "operation_datetime"
    property string column2Key: "details"
    property int page: controller ? controller.page : 0
    property int perPage: controller ? controller.perPage : 15
    // Without a controller: the last page that holds entries (31 entries at 15: pages 0 to 2; none: 0),
    // the same rule as the controller's.
    readonly property int maxPage: controller ? controller.maxPage : maxPageFor(totalLogEntries, perPage)
    readonly property var perPageChoices: [10, 15, 25, 50, 200]

    property real headerTabBarWidth: 0
    property real headerTabBarBreakWidth: 0

    readonly property bool oneRowControls: width > 600
    readonly property bool tableShown: !loadingLogs && logs && logs.length > 0
    readonly property alias pageControls: pageControls
    readonly property alias pageSpinBox: pageSpinBox
    readonly property alias perPageBox: perPageBox
    readonly property alias refreshButton: refreshButton
    readonly property alias exportButton: exportButton
    readonly property alias exportMenu: exportMenu
    readonly property alias table: table
    readonly property alias rows: rows
    readonly property alias noLogsArea: noLogsArea
    readonly property alias loadingCover: loadingCover
    readonly property alias saveDialog: saveDialog

    signal getLogs(int page, int perPage, bool sendLogsEmail)
    signal refresh

    function maxPageFor(total, size) {
        return Math.max(0, Math.ceil(total / Math.max(1, size)) - 1)
    }

    function requestShownPage() {
        if (controller)
            controller.refresh()
        else
            getLogs(page, perPage, false)
    }

    function setPage(value) {
        if (controller) {
            controller.page = value
            return
        }
        value = Math.max(0, Math.min(value, maxPage))
        if (value === page)
            return
        page = value
        getLogs(page, perPage, false)
    }

    function setPerPage(value) {
        if (controller) {
            controller.perPage = value
            return
        }
        if (value === perPage)
            return
        // The page first, so that the new size asks only once.
        page = Math.min(page, maxPageFor(totalLogEntries, value))
        perPage = value
        getLogs(page, perPage, false)
    }

    function requestLogsEmail() {
        if (controller)
            controller.requestLogsEmail()
        else
            getLogs(-1, -1, true)
    }

    function exportTo(fileUrl) {
        if (!controller) {
            console.warn("LogsView: the CSV export needs a LogsController; nothing written")
            return false
        }
        return controller.exportCsv(fileUrl)
    }

    function fieldText(entry, key) {
        if (!entry || entry[key] === undefined || entry[key] === null)
            return ""
        return String(entry[key])
    }

    onRefresh: requestShownPage()
    // Fewer entries than the shown page needs: show the last page that has some.
    onMaxPageChanged: {
        if (!controller && page > maxPage) {
            page = maxPage
            getLogs(page, perPage, false)
        }
    }
    Component.onCompleted: {
        // The controller asks for its first page by itself.
        if (!controller)
            getLogs(page, perPage, false)
    }

    // The table's natural height counts its margin above the page controls, so that at this height it
    // shows every row without a scroll bar.
    implicitHeight: (tableShown ? rows.height + table.anchors.bottomMargin : noLogsArea.height)
                    + pageControls.height

    Flickable {
        id: table
        objectName: "logsTable"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: pageControls.top
        anchors.bottomMargin: 10
        visible: view.tableShown
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        contentWidth: width
        contentHeight: rows.height
        ScrollBar.vertical: ScrollBar {
            policy: table.contentHeight > table.height ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
        }

        Column {
            id: rows
            objectName: "logsRows"
            x: 20
            width: table.width - 40
            topPadding: 20
            bottomPadding: 20
            spacing: 20

            Repeater {
                model: view.tableShown ? view.logs : []

                delegate: LogsViewRow {
                    required property var modelData
                    width: rows.width
                    column0Text: view.fieldText(modelData, view.column0Key)
                    column1Text: view.fieldText(modelData, view.column1Key)
                    column2Text: view.fieldText(modelData, view.column2Key)
                }
            }
        }
    }

    Item {
        id: noLogsArea
        objectName: "noLogsArea"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        height: noLogsColumn.height + 100
        visible: !view.loadingLogs && !view.tableShown

        Column {
            id: noLogsColumn
            anchors.centerIn: parent
            spacing: 10
            Label {
                objectName: "noLogsLabel"
                anchors.horizontalCenter: parent.horizontalCenter
                text: view.noLogsFoundText
            }
            Button {
                objectName: "reloadLogsButton"
                anchors.horizontalCenter: parent.horizontalCenter
                text: view.reloadLogsText
                highlighted: true
                onClicked: view.requestShownPage()
            }
        }
    }

    GridLayout {
        id: pageControls
        objectName: "pageControls"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.leftMargin: 20
        columns: view.oneRowControls ? 2 : 1
        rowSpacing: 10
        readonly property bool labelsShown: view.headerTabBarWidth >= view.headerTabBarBreakWidth

        RowLayout {
            spacing: 10
            Label {
                objectName: "pageLabel"
                text: "page"
                visible: pageControls.labelsShown
            }
            SpinBox {
                id: pageSpinBox
                objectName: "pageSpinBox"
                Layout.maximumWidth: 150
                from: 0
                to: view.maxPage
                value: view.page
                editable: true
                onValueModified: view.setPage(value)
            }
            Label {
                objectName: "perPageLabel"
                text: "per page"
                visible: pageControls.labelsShown
            }
            ComboBox {
                id: perPageBox
                objectName: "perPageBox"
                Layout.maximumWidth: 75
                model: view.perPageChoices
                currentIndex: Math.max(0, view.perPageChoices.indexOf(view.perPage))
                onActivated: index => view.setPerPage(view.perPageChoices[index])
            }
            Button {
                id: refreshButton
                objectName: "refreshButton"
                text: view.oneRowControls ? "Refresh" : ""
                display: view.oneRowControls ? AbstractButton.TextOnly : AbstractButton.IconOnly
                icon.source: view.oneRowControls ? "" : "qrc:///assets/icons/settings_backup_restore_black_24dp.svg"
                onClicked: view.refresh()
            }
        }

        Button {
            id: exportButton
            objectName: "exportButton"
            Layout.alignment: view.oneRowControls ? Qt.AlignRight : Qt.AlignLeft
            Layout.rightMargin: view.oneRowControls ? 20 : 0
            text: "Export"
            onClicked: exportMenu.visible ? exportMenu.close() : exportMenu.open()

            Menu {
                id: exportMenu
                objectName: "exportMenu"
                y: exportButton.height
                MenuItem {
                    objectName: "exportCsvItem"
                    text: "Export current page as CSV"
                    onTriggered: saveDialog.open()
                }
                MenuItem {
                    objectName: "exportEmailItem"
                    text: "Export all pages via email"
                    onTriggered: view.requestLogsEmail()
                }
            }
        }
    }

    FileDialog {
        id: saveDialog
        title: "Save logs"
        fileMode: FileDialog.SaveFile
        defaultSuffix: "csv"
        currentFolder: view.controller ? view.controller.exportFolder : ""
        onAccepted: view.exportTo(selectedFile)
    }

    Pane {
        id: loadingCover
        objectName: "logsLoadingCover"
        anchors.fill: parent
        Material.elevation: 1
        opacity: view.loadingLogs ? 1 : 0
        visible: opacity !== 0

        Behavior on opacity { NumberAnimation { duration: 300; easing.type: Easing.InOutCubic } }

        Column {
            anchors.centerIn: parent
            spacing: 10
            Label {
                objectName: "logsLoadingLabel"
                anchors.horizontalCenter: parent.horizontalCenter
                text: view.loadingText
            }
            BusyIndicator {
                anchors.horizontalCenter: parent.horizontalCenter
                running: loadingCover.visible
            }
        }
    }
}
