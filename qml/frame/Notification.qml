import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import Vantorix.Core

// One in-app message: a small elevated pane with a coloured background, a bold text and a close button.
// It removes itself after its lifespan (0 or less: it stays until closed).
Pane {
    id: notification

    enum Level {
        Info,
        Warning,
        Error
    }
    enum Align {
        Left,
        Center,
        Right
    }

    property string text: ""
    // A colour, or undefined for the theme's own pane background.
    property var backgroundColor: undefined
    property int alignment: Notification.Align.Left
    property int lifespan: 10000
    readonly property int disapearDuration: 200
    // How long it waits before it starts to disappear (0: until closed).
    readonly property int removalDelay: NotificationPolicy.waitBeforeRemoval(lifespan)
    readonly property bool removing: disappear.running || __removed
    property bool __removed: false

    // Starts the disappearance, as the close button does.
    function remove() {
        if (removing)
            return
        lifespanTimer.stop()
        disappear.start()
    }

    // Named by its text without markup for assistive tools (the Pane keeps its own role: Qt 6.4 sets a
    // control's role over the one given here).
    Accessible.name: text.replace(/<[^>]*>/g, "")
    Material.elevation: 20
    Material.background: backgroundColor
    // Near-white text in both themes: the dark theme's light grey foreground measured 2.1:1 on the warning colour.
    Material.foreground: Material.color(Material.Grey, Material.Shade50)
    topPadding: 3
    bottomPadding: 3
    clip: true

    width: parent ? Math.min(implicitWidth, parent.width) : implicitWidth
    anchors.left: parent && alignment === Notification.Align.Left ? parent.left : undefined
    anchors.horizontalCenter: parent && alignment === Notification.Align.Center ? parent.horizontalCenter : undefined
    anchors.right: parent && alignment === Notification.Align.Right ? parent.right : undefined

    RowLayout {
        width: notification.availableWidth
        spacing: 0

        Label {
            id: messageLabel
            objectName: "notificationText"
            Layout.fillWidth: true
            text: NotificationPolicy.displayText(notification.text)
            font.pointSize: 12
            font.bold: true
            wrapMode: Text.Wrap
            textFormat: Text.AutoText
            // Links underlined in the text's colour: the accent would vanish on the Info level's accent background.
            linkColor: color
            onLinkActivated: link => {
                if (NotificationPolicy.isOpenableLink(link))
                    context.openUrl(link)
                else
                    console.warn("Link not opened from a notification:", link)
            }

            MouseArea {
                anchors.fill: parent
                acceptedButtons: Qt.NoButton
                cursorShape: messageLabel.hoveredLink !== "" ? Qt.PointingHandCursor : Qt.ArrowCursor
            }
        }
        ToolButton {
            objectName: "notificationClose"
            Accessible.name: "Close notice"
            flat: true
            icon.source: "qrc:///assets/icons/close-black-18dp.svg"
            Layout.preferredWidth: 38
            Layout.minimumWidth: 38
            Layout.maximumWidth: 38
            onClicked: notification.remove()
        }
    }

    readonly property alias waiting: lifespanTimer.running

    Timer {
        id: lifespanTimer
        repeat: false
        onTriggered: notification.remove()
    }

    ParallelAnimation {
        id: disappear
        NumberAnimation {
            target: notification
            property: "height"
            to: 0
            duration: notification.disapearDuration
            easing.type: Easing.InOutQuad
        }
        NumberAnimation {
            target: notification
            property: "opacity"
            to: 0
            duration: notification.disapearDuration
            easing.type: Easing.InOutQuad
        }
        onFinished: {
            notification.__removed = true
            notification.destroy()
        }
    }

    Component.onCompleted: {
        if (removalDelay > 0) {
            lifespanTimer.interval = removalDelay
            lifespanTimer.start()
        }
    }
}
