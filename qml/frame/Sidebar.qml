import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import Vantorix.Core

// The slide-in menu of the signed-in frame: logo, greeting, credit balance, burn rate, the menu with
// sign-out, and the left banner that leads to the create-computer view.
Rectangle {
    id: sidebar

    required property MainContext main
    property string logoSource: ""
    property real logoAspectRatio: 4
    property bool open: true
    // The account view's tabs that the menu selects (its Page enumeration).
    readonly property int accountInfoPage: 0
    readonly property int paymentHistoryPage: 1
    readonly property bool lightTheme: Material.theme === Material.Light
    readonly property User user: main ? main.user : null
    readonly property double burnRate: main ? (main.selectedComputers.length > 0 ? main.selectedBurnRate
                                                                                 : main.currentBurnRate) : 0
    readonly property alias creditsLabel: creditsLabel
    readonly property alias burnRateLabel: burnRateLabel
    readonly property alias hoursLeftLabel: hoursLeftLabel
    readonly property alias paymentsButton: paymentsButton
    readonly property alias newMachineButton: newMachineButton
    readonly property alias myMachinesButton: myMachinesButton
    readonly property alias myAccountButton: myAccountButton
    readonly property alias signOutButton: signOutButton
    readonly property alias leftBannerArea: leftBannerArea

    signal closed

    function askSignOut() {
        main.confirm("Sign out", "Are you sure you want to sign out?", "Yes", "No", () => sidebar.main.signOut())
    }

    onOpenChanged: {
        if (!open)
            closed()
    }

    width: 300
    color: Utils.styles.sidebarBackgroundColor
    x: open ? 0 : -width

    Behavior on x { NumberAnimation { duration: 300; easing.type: Easing.InOutCubic } }

    component Separator: Rectangle {
        Layout.fillWidth: true
        implicitHeight: 1
        color: Utils.styles.sidebarSeparatorColor
    }
    component Greeting: Label {
        Layout.alignment: Qt.AlignHCenter
        font.pointSize: 12
        color: Utils.styles.sidebarGreetingsColor
    }

    Pane {
        id: header
        width: parent.width
        padding: 0
        background: Item {
            Rectangle {
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                height: 1
                color: Utils.styles.sidebarSeparatorColor
            }
        }

        ColumnLayout {
            id: menuColumn
            width: parent.width
            spacing: 0

            RowLayout {
                Layout.fillWidth: true
                Layout.maximumHeight: 33
                Layout.preferredHeight: 33
                Layout.topMargin: 6
                spacing: 0

                ToolButton {
                    objectName: "sidebarMenuButton"
                    flat: true
                    icon.source: "qrc:///assets/icons/menu-black-18dp.svg"
                    Layout.preferredHeight: 40
                    onClicked: sidebar.open = !sidebar.open
                }
                Item {
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    Layout.rightMargin: 20

                    Image {
                        id: logo
                        anchors.verticalCenter: parent.verticalCenter
                        width: parent.width
                        height: Math.min(parent.height, width / sidebar.logoAspectRatio)
                        fillMode: Image.PreserveAspectCrop
                        source: sidebar.logoSource
                        sourceSize.height: 120
                        asynchronous: true
                    }
                    BusyIndicator {
                        anchors.centerIn: parent
                        height: parent.height
                        width: height
                        running: logo.status === Image.Loading
                        visible: running
                    }
                    Rectangle {
                        anchors.fill: parent
                        visible: logo.status === Image.Error
                        color: "grey"
                        opacity: 0.3
                        Label {
                            anchors.centerIn: parent
                            text: "failed to load image"
                        }
                    }
                }
            }

            Separator {
                Layout.topMargin: 30
            }
            Greeting {
                objectName: "greetingLabel"
                Layout.topMargin: 10
                text: "Hi " + (sidebar.user ? sidebar.user.firstName : "") + "!"
            }
            Greeting {
                text: "You have"
            }
            Label {
                id: creditsLabel
                objectName: "creditsLabel"
                readonly property double credits: sidebar.user ? sidebar.user.credits : 0
                Layout.fillWidth: true
                Layout.leftMargin: 10
                Layout.rightMargin: 10
                horizontalAlignment: Text.AlignHCenter
                text: credits.toFixed(2)
                font.pointSize: 20
                fontSizeMode: Text.HorizontalFit
                minimumPointSize: 8
                color: credits < 0 ? "red" : Utils.styles.sidebarCreditsColor
            }
            Greeting {
                text: "(credits)"
                Layout.topMargin: -10
            }
            Rectangle {
                Layout.alignment: Qt.AlignHCenter
                Layout.topMargin: 10
                Layout.bottomMargin: 15
                implicitWidth: burnRateLabel.implicitWidth + 30
                implicitHeight: burnRateLabel.implicitHeight + 15
                color: "transparent"
                radius: 2
                border.width: 1
                border.color: "grey"

                Label {
                    id: burnRateLabel
                    objectName: "burnRateLabel"
                    anchors.centerIn: parent
                    text: "Using " + sidebar.burnRate.toFixed(3) + " credits /h"
                    font.pointSize: 8
                    color: Utils.styles.sidebarGreetingsColor
                }
            }
            Label {
                id: hoursLeftLabel
                objectName: "hoursLeftLabel"
                Layout.alignment: Qt.AlignHCenter
                Layout.topMargin: -8
                Layout.bottomMargin: 12
                visible: text !== ""
                text: sidebar.main ? sidebar.main.hoursLeftText : ""
                font.pointSize: 9
                color: Utils.styles.sidebarGreetingsColor
            }
            MenuBuyCreditsButton {
                id: paymentsButton
                objectName: "paymentsButton"
                Layout.alignment: Qt.AlignHCenter
                Layout.topMargin: -10
                Layout.bottomMargin: -10
                text: "Payments"
                icon.source: "qrc:///assets/icons/payments_black_18dp.svg"
                activeMenuItem: sidebar.main.pageIndex === MainContext.Account
                                && sidebar.main.myAccountPageIndex === sidebar.paymentHistoryPage
                onClicked: {
                    sidebar.main.myAccountPageIndex = sidebar.paymentHistoryPage
                    sidebar.main.pageIndex = MainContext.Account
                }
            }
            Separator {
                Layout.topMargin: 10
            }
            MenuBarButton {
                id: newMachineButton
                objectName: "newMachineButton"
                Layout.fillWidth: true
                text: "Start New Machine"
                icon.source: "qrc:///assets/icons/desktop_windows_black_24dp.svg"
                activeMenuItem: sidebar.main.pageIndex === MainContext.CreateInstance
                onClicked: sidebar.main.pageIndex = MainContext.CreateInstance
            }
            Separator {}
            MenuBarButton {
                id: myMachinesButton
                objectName: "myMachinesButton"
                Layout.fillWidth: true
                text: "My Machines"
                icon.source: "qrc:///assets/icons/computers-network-interface.svg"
                activeMenuItem: sidebar.main.pageIndex === MainContext.Computers
                onClicked: sidebar.main.pageIndex = MainContext.Computers
            }
            Separator {}
            MenuBarButton {
                id: myAccountButton
                objectName: "myAccountButton"
                Layout.fillWidth: true
                text: "My Account"
                icon.source: "qrc:///assets/icons/account_circle_black_18dp.svg"
                activeMenuItem: sidebar.main.pageIndex === MainContext.Account
                                && sidebar.main.myAccountPageIndex !== sidebar.paymentHistoryPage
                onClicked: {
                    sidebar.main.myAccountPageIndex = sidebar.accountInfoPage
                    sidebar.main.pageIndex = MainContext.Account
                }
            }
            Separator {}
            MenuBarButton {
                id: signOutButton
                objectName: "signOutButton"
                Layout.fillWidth: true
                text: "Sign out"
                icon.source: "qrc:///assets/icons/logout_black_18dp.svg"
                onClicked: sidebar.askSignOut()
            }
            Separator {}
        }
    }

    Item {
        id: leftBannerArea
        objectName: "leftBannerArea"
        anchors.top: header.bottom
        anchors.bottom: parent.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        clip: true

        AnimatedImage {
            id: leftBanner
            readonly property Banner banner: sidebar.main ? (sidebar.lightTheme ? sidebar.main.leftBannerLight
                                                                                : sidebar.main.leftBannerDark) : null
            anchors.fill: parent
            fillMode: Image.PreserveAspectFit
            source: banner ? banner.source : ""
            // Animated only while the window can be seen: a window closed to the tray costs nothing.
            playing: status === AnimatedImage.Ready && Window.visibility !== Window.Hidden
                     && Window.visibility !== Window.Minimized
            asynchronous: true
        }
        BusyIndicator {
            anchors.centerIn: parent
            running: leftBanner.status !== AnimatedImage.Ready
            visible: running
        }
        MouseArea {
            anchors.fill: parent
            cursorShape: Qt.PointingHandCursor
            onClicked: sidebar.main.pageIndex = MainContext.CreateInstance
        }
    }
}
