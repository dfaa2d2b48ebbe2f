pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import Vantorix
import Vantorix.Core

// The account page: a tab bar (Account, Payments, Activity, Notifications, Settings) that pins itself to
// the top of the frame when scrolled past, and the five tab contents, which all live as long as the
// page. The current tab is shared with the session's myAccountPageIndex, so the sidebar can open the
// page on a given tab. While the page exists the payment history is refreshed at the polling interval.
Item {
    id: view

    enum Page {
        AccountInfoPage,
        PaymentHistoryPage,
        AccountActivity,
        EmailSettingsPage,
        AppSettingsPage
    }

    required property MainContext main
    required property Flickable flickable
    required property Item flickableContent
    required property int breakWidth
    // The frame (found from the scroll area when not given): its sidebar and the root window.
    readonly property Item frame: {
        let item = flickable
        while (item && item.sidebar === undefined)
            item = item.parent
        return item
    }
    property Item sidebar: frame ? frame.sidebar : null
    property var window: frame && frame.window !== undefined ? frame.window : null
    property string logoSource: window && window.vantorixLogo !== undefined ? window.vantorixLogo : ""
    // The bridge for the settings tab; the program's `context` unless a test gives another.
    property var bridge: context

    // The current tab; starts at the session's.
    property int pageIndex: main.myAccountPageIndex
    readonly property alias extraControlsRow: toolbar
    readonly property ProfileEditor profileEditor: main.createProfileEditor(view)
    readonly property LogsController accountLogs: main.createAccountLogs(view)
    // Where the page sits in the frame's content column, and how far that is scrolled.
    readonly property real pageY: parent ? parent.y : 0
    readonly property real scrolled: flickable.contentY

    readonly property alias tabBar: tabBar
    readonly property alias accountTab: accountTab
    readonly property alias paymentsTab: paymentsTab
    readonly property alias activityTab: activityTab
    readonly property alias notificationsTab: notificationsTab
    readonly property alias settingsTab: settingsTab
    readonly property alias updatePane: updatePane
    readonly property alias updateButton: updateButton
    readonly property alias paymentsRefreshTimer: paymentsRefreshTimer

    implicitHeight: column.height

    onPageIndexChanged: {
        if (main.myAccountPageIndex !== pageIndex)
            main.myAccountPageIndex = pageIndex
    }

    Connections {
        target: view.main
        function onMyAccountPageIndexChanged() {
            view.pageIndex = view.main.myAccountPageIndex
        }
    }

    // The payment history stays current while the page is open, whichever tab shows.
    Timer {
        id: paymentsRefreshTimer
        interval: view.main.refreshInterval
        repeat: true
        running: true
        onTriggered: view.main.listUserPayments()
    }

    Column {
        id: column
        width: parent.width
        spacing: 20

        // The toolbar's docking slot; the toolbar itself floats over it.
        Item {
            id: toolbarSlot
            width: parent.width
            height: toolbar.height
        }
        Rectangle {
            width: parent.width
            height: 1
            color: Utils.styles.sidebarSeparatorColor
        }
        Item {
            id: tabArea
            width: parent.width
            height: [accountTab, paymentsTab, activityTab, notificationsTab, settingsTab][view.pageIndex] !== undefined
                    ? [accountTab, paymentsTab, activityTab, notificationsTab, settingsTab][view.pageIndex].implicitHeight
                    : 0

            AccountInfoTab {
                id: accountTab
                width: parent.width
                height: implicitHeight
                visible: view.pageIndex === MyAccountView.AccountInfoPage
                main: view.main
                editor: view.profileEditor
                window: view.window
            }
            PaymentsTab {
                id: paymentsTab
                width: parent.width
                visible: view.pageIndex === MyAccountView.PaymentHistoryPage
                main: view.main
            }
            ActivityTab {
                id: activityTab
                width: parent.width
                visible: view.pageIndex === MyAccountView.AccountActivity
                main: view.main
                logs: view.accountLogs
                tabBar: tabBar
                tabBarBreakWidth: toolbar.tabBreakWidth
            }
            NotificationsTab {
                id: notificationsTab
                width: parent.width
                visible: view.pageIndex === MyAccountView.EmailSettingsPage
                main: view.main
            }
            AppSettings {
                id: settingsTab
                width: parent.width
                visible: view.pageIndex === MyAccountView.AppSettingsPage
                main: view.main
                bridge: view.bridge
            }
        }
        Item {
            id: bottomMargin
            width: parent.width
            height: 100
        }
    }

    // The toolbar: docked in its slot, held at the top of the visible area once scrolled past it.
    Item {
        id: toolbar
        objectName: "accountToolbar"

        readonly property real slotYInContent: view.pageY + toolbarSlot.y
        readonly property bool floating: view.scrolled > slotYInContent
        readonly property bool sidebarControlsShown: floating && view.sidebar !== null && !view.sidebar.open
        readonly property int tabBreakWidth: sidebarControlsShown ? 1000 : 800
        readonly property bool tabTextsShown: view.width >= tabBreakWidth
        readonly property real contentLeftMargin: view.flickableContent.anchors.leftMargin
        property color paneColor: floating ? Utils.styles.sidebarBackgroundColor : Utils.styles.appBackgroundColor
        property real paneElevation: floating ? 5 : 0

        Behavior on paneColor { ColorAnimation { duration: 200; easing.type: Easing.InOutSine } }
        Behavior on paneElevation { NumberAnimation { duration: 200; easing.type: Easing.InOutSine } }

        x: floating ? -contentLeftMargin : 0
        y: toolbarSlot.y + Math.max(view.scrolled - slotYInContent, 0)
        z: 2
        width: floating ? view.flickable.width : view.width
        height: toolbarRow.implicitHeight

        Pane {
            objectName: "accountToolbarPane"
            anchors.fill: parent
            padding: 0
            Material.background: toolbar.paneColor
            Material.elevation: Math.round(toolbar.paneElevation)
        }

        // Placed by bindings, not by a positioner: a positioner lays out only at the next polish, and
        // until then the tab bar would lie over a toggle that has just appeared and take its click.
        Item {
            id: toolbarRow
            readonly property int spacing: 10
            readonly property real tabBarX: (toolbarToggle.visible ? toolbarToggle.width + spacing : 0)
                                            + (toolbarLogo.visible ? toolbarLogo.width + spacing : 0)
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.leftMargin: toolbar.floating ? toolbar.contentLeftMargin : 0
            anchors.rightMargin: toolbar.floating ? toolbar.width - view.width - toolbar.contentLeftMargin : 0
            implicitHeight: Math.max(tabBar.implicitHeight, toolbarToggle.visible ? toolbarToggle.height : 0,
                                     toolbarLogo.visible ? toolbarLogo.height : 0)
            height: implicitHeight

            SidebarToggleBtn {
                id: toolbarToggle
                objectName: "accountToolbarToggle"
                anchors.verticalCenter: parent.verticalCenter
                visible: toolbar.sidebarControlsShown
                sidebar: view.sidebar ? view.sidebar : toolbar
            }
            Image {
                id: toolbarLogo
                x: toolbarToggle.visible ? toolbarToggle.width + toolbarRow.spacing : 0
                anchors.verticalCenter: parent.verticalCenter
                visible: toolbar.sidebarControlsShown && view.width > 600 && view.logoSource !== ""
                height: toolbarToggle.height * 0.8
                width: Math.min(200, height * 4)
                fillMode: Image.PreserveAspectCrop
                source: view.logoSource
                sourceSize.height: 120
                asynchronous: true
            }
            TabBar {
                id: tabBar
                objectName: "accountTabBar"
                // The selected tab's text is in the accent colour: the one that reads on this theme's background.
                Material.accent: Utils.styles.accentTextColor
                x: toolbarRow.tabBarX
                anchors.verticalCenter: parent.verticalCenter
                width: toolbarRow.width - toolbarRow.tabBarX
                currentIndex: view.pageIndex
                background: null
                onCurrentIndexChanged: view.pageIndex = currentIndex

                Repeater {
                    model: [
                        { "text": "Account", "icon": "qrc:///assets/icons/account_circle_black_18dp.svg" },
                        { "text": "Payments", "icon": "qrc:///assets/icons/payments_black_18dp.svg" },
                        { "text": "Activity", "icon": "qrc:///assets/icons/history_edu_black_18dp.svg" },
                        { "text": "Notifications", "icon": "qrc:///assets/icons/mail_outline_black_18dp.svg" },
                        { "text": "Settings", "icon": "qrc:///assets/icons/settings_black_18dp.svg" }
                    ]
                    delegate: TabButton {
                        required property var modelData
                        objectName: "tab" + modelData.text
                        width: toolbar.tabTextsShown ? Math.max(implicitWidth, tabBar.width / 5) : 60
                        text: toolbar.tabTextsShown ? modelData.text : ""
                        icon.source: modelData.icon
                        font.capitalization: Font.MixedCase
                    }
                }
            }
        }
    }

    // "Update Changes": under the profile form, held above the bottom of the visible area until the end
    // of the tab content scrolls into view.
    Pane {
        id: updatePane
        objectName: "updatePane"

        readonly property real dockY: bottomMargin.y
        readonly property real floatingY: view.scrolled + view.flickable.height - view.pageY - 20 - height
        readonly property bool docked: floatingY >= dockY
        property color paneColor: docked ? Utils.styles.appBackgroundColor : Utils.styles.updateUserDataPaneBackgroundColor

        Behavior on paneColor { ColorAnimation { duration: 200; easing.type: Easing.InOutSine } }

        visible: view.pageIndex === MyAccountView.AccountInfoPage
        x: 20
        y: Math.min(dockY, floatingY)
        z: 1
        width: view.width - 40
        height: 50
        padding: 0
        Material.background: paneColor

        Button {
            id: updateButton
            objectName: "updateButton"
            anchors.right: parent.right
            anchors.rightMargin: 10
            anchors.verticalCenter: parent.verticalCenter
            text: "Update Changes"
            highlighted: true
            enabled: view.profileEditor.canUpdate
            onClicked: view.profileEditor.save()
        }
    }
}
