import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import Qt5Compat.GraphicalEffects
import Vantorix.Core

// A card's 16:9 preview: the status colour and picture, the desktop screenshot while running, the
// hover veil, selection clicks, the cost tip and the action buttons.
Rectangle {
    id: preview

    required property Item card
    readonly property Computer computer: card.computer
    readonly property MainContext main: card.main
    readonly property int status: card.status
    readonly property bool deleted: card.deleted
    // Anywhere over the preview, its buttons included. (Hover handlers are avoided: with Qt 6.4 every visible
    // one is recorded again at each animated frame while the mouse rests over the window, and that record only
    // empties on the next real mouse event.)
    readonly property bool hovered: !deleted && (clickArea.containsMouse || powerOnButton.hovered
                                                 || connectButton.hovered || buttons.hovered)
    readonly property bool powerOnShown: hovered && computer !== null && !computer.statusChanging
                                         && (status === Computer.Terminated || status === Computer.Suspended)
    readonly property bool connectShown: hovered && !card.loading && !powerOnShown
    readonly property bool screenshotShown: status === Computer.Running && main !== null && main.enableDesktopPreviews
    readonly property color fillColor: {
        switch (status) {
        case Computer.PendingProvisioning:
        case Computer.Provisioning:
            return Material.color(Material.Indigo)
        case Computer.Staging:
            return Material.color(Material.Amber)
        case Computer.Running:
            return Material.color(Material.Green, Material.Shade400)
        case Computer.Stopping:
            return Material.color(Material.Red)
        case Computer.Suspending:
            return Material.color(Material.DeepOrange)
        case Computer.Suspended:
            return Material.color(Material.Yellow)
        case Computer.Repairing:
            return Material.color(Material.Purple)
        case Computer.Deleted:
            return Material.color(Material.Grey, Material.Shade200)
        }
        return Material.color(Material.Grey, Material.Shade300)
    }
    readonly property alias powerOnButton: powerOnButton
    readonly property alias connectButton: connectButton
    readonly property alias favouriteButton: buttons.favouriteButton
    readonly property alias selectBox: buttons.selectBox
    readonly property alias startButton: buttons.startButton
    readonly property alias stopButton: buttons.stopButton
    readonly property alias rebootButton: buttons.rebootButton
    readonly property alias deleteButton: buttons.deleteButton
    readonly property alias statusLabel: statusLabel
    readonly property alias busyIndicator: busy
    readonly property alias clickArea: clickArea
    readonly property alias screenshotLoader: screenshotLoader

    radius: 3
    color: fillColor
    border.width: 4
    border.color: card.selected ? card.Material.accent : fillColor

    Behavior on color { ColorAnimation { duration: 200; easing.type: Easing.InOutCubic } }
    Behavior on border.color { ColorAnimation { duration: 200; easing.type: Easing.InOutCubic } }

    Item {
        id: picture
        objectName: "previewPicture"
        // Qt Quick's software back-end draws no shader effects: there a deleted computer's picture is only
        // faded further instead of desaturated.
        readonly property bool plain: GraphicsInfo.api === GraphicsInfo.Software
        anchors.fill: parent
        // Not drawn while a screenshot covers it (it lies wholly inside the screenshot's area).
        visible: !screenshotLoader.covering
        opacity: preview.deleted ? (plain ? 0.3 : 0.5) : 1
        layer.enabled: preview.deleted && !plain
        layer.effect: Desaturate {
            desaturation: 1
        }

        Behavior on opacity { NumberAnimation { duration: 300; easing.type: Easing.InOutSine } }

        Image {
            id: screenImage
            anchors.fill: parent
            anchors.margins: 6
            source: "qrc:///assets/icons/vantorix_screen.svg"
            sourceSize.height: 256
            fillMode: Image.PreserveAspectFit
        }
        // The screen area of the painted picture.
        Item {
            id: screenArea
            width: screenImage.paintedWidth * 0.7
            height: screenImage.paintedHeight * 0.52
            x: (preview.width - width) / 2
            y: preview.height * 0.18

            Label {
                id: statusLabel
                objectName: "statusLabel"
                width: parent.width
                height: parent.height * 0.2
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
                // From the status property, so that the text follows every change of status.
                text: preview.computer ? Utils.statusLabel(preview.status).toUpperCase() : ""
                font.pixelSize: Math.max(1, parent.height * 0.2)
                fontSizeMode: Text.HorizontalFit
                minimumPixelSize: 6
                color: preview.status === Computer.Terminated || preview.status === Computer.Deleted
                       ? Material.color(Material.Grey, Material.Shade400) : Material.color(Material.Grey, Material.Shade50)
                Behavior on color { ColorAnimation { duration: 200 } }
            }
            BusyIndicator {
                id: busy
                objectName: "cardBusy"
                anchors.horizontalCenter: parent.horizontalCenter
                y: statusLabel.height + parent.height * 0.03
                width: parent.height / 2
                height: preview.card.loading ? Math.min(width, 50) : 1
                visible: height > 1
                running: visible
                Material.accent: preview.card.cardAccent
                Behavior on height { NumberAnimation { duration: 300; easing.type: Easing.InOutSine } }
            }
        }
    }

    // Two buffers: the newest screenshot goes on top only once it has decoded.
    Loader {
        id: screenshotLoader
        // True while a decoded screenshot hides the picture under it.
        readonly property bool covering: item !== null && item.covering
        anchors.fill: parent
        anchors.margins: preview.border.width
        active: preview.screenshotShown
        sourceComponent: Item {
            // Once the upper buffer has decoded, the lower one is hidden under it: every drawn layer is a
            // pass of the rasteriser at each frame of the window.
            readonly property bool covering: buffer1.decoded || buffer2.decoded

            Image {
                id: buffer1
                objectName: "screenshotBuffer1"
                readonly property bool decoded: status === Image.Ready
                readonly property bool onTop: preview.computer !== null && preview.computer.screenShotUseBuffer1
                anchors.fill: parent
                z: onTop ? 1 : 0
                source: preview.computer && preview.computer.b64ScreenshotBuffer1 !== ""
                        ? "data:image/png;base64," + preview.computer.b64ScreenshotBuffer1 : ""
                visible: decoded && (onTop || !buffer2.decoded)
                asynchronous: true
                cache: false
                // Decoded at the size it is shown, not at the desktop's full resolution.
                sourceSize: Qt.size(Math.ceil(width), Math.ceil(height))
            }
            Image {
                id: buffer2
                objectName: "screenshotBuffer2"
                readonly property bool decoded: status === Image.Ready
                readonly property bool onTop: !buffer1.onTop
                anchors.fill: parent
                z: onTop ? 1 : 0
                source: preview.computer && preview.computer.b64ScreenshotBuffer2 !== ""
                        ? "data:image/png;base64," + preview.computer.b64ScreenshotBuffer2 : ""
                visible: decoded && (onTop || !buffer1.decoded)
                asynchronous: true
                cache: false
                // Decoded at the size it is shown, not at the desktop's full resolution.
                sourceSize: Qt.size(Math.ceil(width), Math.ceil(height))
            }
        }
    }

    Connections {
        target: preview.main.refreshInstancesTimer
        enabled: preview.screenshotShown && preview.card.inView
        function onTimeout() {
            preview.computer.updateScreenshot(preview.main)
        }
    }

    Rectangle {
        anchors.fill: parent
        radius: preview.radius
        color: Material.color(Material.Grey, Material.Shade100)
        opacity: preview.hovered ? 0.75 : 0
        visible: opacity > 0
        Behavior on opacity { NumberAnimation { duration: 200 } }
    }

    MouseArea {
        id: clickArea
        anchors.fill: parent
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        hoverEnabled: true
        onClicked: mouse => {
            if (mouse.button === Qt.RightButton) {
                const p = mapToItem(preview.card, mouse.x, mouse.y)
                preview.card.toggleMenu(p.x, p.y, false)
            } else if (!preview.deleted) {
                preview.card.select((mouse.modifiers & Qt.ShiftModifier) !== 0)
            }
        }
    }

    Loader {
        active: clickArea.containsMouse
        sourceComponent: ToolTip {
            parent: preview
            x: clickArea.mouseX + 5
            y: clickArea.mouseY + 5
            delay: 250
            visible: clickArea.containsMouse
            font.pointSize: 11
            text: "Current cost: " + (preview.computer ? preview.computer.currentBurnRate.toFixed(3) : "0.000")
                  + " credits /h"
        }
    }

    Button {
        id: powerOnButton
        objectName: "powerOnButton"
        anchors.centerIn: parent
        visible: preview.powerOnShown
        highlighted: true
        text: "Power ON"
        Material.accent: preview.card.cardAccent
        onClicked: preview.main.startInstances([preview.computer])
        MouseArea { anchors.fill: parent; acceptedButtons: Qt.NoButton; cursorShape: Qt.PointingHandCursor }
    }
    Button {
        id: connectButton
        objectName: "connectButton"
        anchors.centerIn: parent
        visible: preview.connectShown
        enabled: preview.status === Computer.Running
        highlighted: true
        text: "Connect"
        Material.accent: preview.card.cardAccent
        onClicked: preview.card.connect()
        MouseArea { anchors.fill: parent; acceptedButtons: Qt.NoButton; cursorShape: Qt.PointingHandCursor }
    }

    ComputerCardButtons {
        id: buttons
        anchors.fill: parent
        preview: preview
    }
}
