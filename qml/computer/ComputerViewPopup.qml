import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import Vantorix
import Vantorix.Core

// One computer's money and history in a large modal popup: "Machine Billing" and "Machine Activity".
// The computers page owns one; a card's menu sets `pageIndex` and calls `show(computer)`. Closing keeps
// the computer, the page and the loaded log page for the next opening. The activity's request logic is
// the session's log controller for one computer; its notices show in the popup's own area.
Popup {
    id: popup

    enum Page {
        BillingHistory,
        ActivityPage
    }

    required property MainContext main
    // Until the first show(): a placeholder with empty texts and zero figures (identifier 0, so the
    // activity log asks for nothing).
    property Computer computer: placeholder
    property int pageIndex: ComputerViewPopup.Page.BillingHistory

    readonly property LogsController logsController: main.createComputerLogs(popup)
    readonly property real windowWidth: parent ? parent.width : 0
    readonly property real windowHeight: parent ? parent.height : 0
    readonly property bool shortTabTexts: width < 800
    readonly property bool nameAboveTabs: width < 500
    readonly property alias header: header
    readonly property alias tabBar: tabBar
    readonly property alias nameLabel: nameLabel
    readonly property alias billingPage: billingPage
    readonly property alias activityPage: activityPage
    readonly property alias notificationArea: notificationArea

    // Makes `newComputer` the shown computer and opens the popup; callers set pageIndex first.
    function show(newComputer) {
        if (!newComputer)
            return
        computer = newComputer
        open()
    }

    // A notice in the popup's own area, centred, so that it shows above the popup.
    function notify(message, level) {
        if (main.disableAllNotifications || !message)
            return null
        return noticeComponent.createObject(notificationArea, {
            "text": String(message),
            "alignment": Notification.Align.Center,
            "backgroundColor": NotificationPolicy.levelColor(level, Material.accent)
        })
    }

    parent: Overlay.overlay
    x: Math.round((windowWidth - width) / 2)
    y: Math.round((windowHeight - height) / 2)
    width: windowWidth > 500 ? windowWidth - 100 : windowWidth
    height: windowWidth > 500 ? windowHeight - 100 : windowHeight
    modal: true
    dim: true
    closePolicy: Popup.CloseOnEscape
    padding: 0

    Computer {
        id: placeholder
    }

    Binding {
        target: popup.logsController
        property: "machineId"
        value: popup.computer ? popup.computer.identifier : 0
    }
    Connections {
        target: popup.logsController
        function onNotificationRequested(message, level) {
            popup.notify(message, level)
        }
    }
    Component.onCompleted: logsController.notifyInView = true
    onPageIndexChanged: tabBar.currentIndex = pageIndex

    Component {
        id: noticeComponent
        Notification {}
    }

    Pane {
        id: header
        objectName: "popupHeader"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        z: 2
        padding: 0
        height: Math.max(headerLayout.implicitHeight, closeButton.implicitHeight) + 10
        Material.elevation: 5

        GridLayout {
            id: headerLayout
            anchors.left: parent.left
            anchors.verticalCenter: parent.verticalCenter
            columns: popup.nameAboveTabs ? 1 : 2
            rowSpacing: 0
            columnSpacing: 0

            Label {
                id: nameLabel
                objectName: "popupComputerName"
                Layout.leftMargin: 20
                Layout.rightMargin: 20
                Layout.maximumWidth: 200
                text: popup.computer ? popup.computer.userInstanceName : ""
                font.pointSize: 16
                elide: Text.ElideRight
            }
            TabBar {
                id: tabBar
                objectName: "popupTabBar"
                // The selected tab's text is in the accent colour: the one that reads on this theme's background.
                Material.accent: Utils.styles.accentTextColor
                Layout.preferredWidth: Math.min(800, header.width - closeButton.width - 10
                                                - (popup.nameAboveTabs ? 0 : nameLabel.width + 40))
                currentIndex: popup.pageIndex
                onCurrentIndexChanged: popup.pageIndex = currentIndex

                TabButton {
                    objectName: "billingTab"
                    text: popup.shortTabTexts ? "Billing" : "Machine Billing"
                    icon.source: "qrc:///assets/icons/paid_black_18dp.svg"
                    font.capitalization: Font.MixedCase
                    width: implicitWidth + 50
                }
                TabButton {
                    objectName: "activityTab"
                    text: popup.shortTabTexts ? "Activity" : "Machine Activity"
                    icon.source: "qrc:///assets/icons/history_edu_black_18dp.svg"
                    font.capitalization: Font.MixedCase
                    width: implicitWidth + 50
                }
            }
        }
        ToolButton {
            id: closeButton
            objectName: "popupCloseButton"
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            flat: true
            icon.source: "qrc:///assets/icons/close-black-18dp.svg"
            onClicked: popup.close()
        }
    }

    StackLayout {
        id: pages
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: header.bottom
        anchors.bottom: footer.top
        currentIndex: popup.pageIndex

        ComputerBillingPage {
            id: billingPage
            objectName: "billingPage"
            computer: popup.computer
        }
        LogsView {
            id: activityPage
            objectName: "activityPage"
            main: popup.main
            controller: popup.logsController
            headerTabBarWidth: tabBar.width
            headerTabBarBreakWidth: 450
        }
    }

    Pane {
        id: footer
        objectName: "popupFooter"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 50
        z: 2
        padding: 0
        Material.elevation: 5

        Button {
            objectName: "popupFooterClose"
            anchors.right: parent.right
            anchors.rightMargin: 10
            anchors.verticalCenter: parent.verticalCenter
            text: "Close"
            onClicked: popup.close()
        }
    }

    Column {
        id: notificationArea
        objectName: "popupNotificationArea"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: 40
        z: 10
        spacing: Utils.styles.notificationSpacing
        Material.theme: Material.Dark
    }
}
