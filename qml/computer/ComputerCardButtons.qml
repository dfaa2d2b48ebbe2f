import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import Vantorix.Core

// The buttons on a card's preview: the favourite toggle and the selection box in the top corners and
// the four power and deletion buttons along the bottom. None of them is shown for a deleted computer.
Item {
    id: buttons

    required property Item preview
    readonly property Item card: preview.card
    readonly property Computer computer: preview.computer
    readonly property MainContext main: preview.main
    readonly property bool shown: !preview.deleted && computer !== null
    readonly property alias favouriteButton: favouriteButton
    readonly property alias selectBox: selectBox
    readonly property alias startButton: startButton
    readonly property alias stopButton: stopButton
    readonly property alias rebootButton: rebootButton
    readonly property alias deleteButton: deleteButton
    // The mouse is over one of the buttons (they take the hover from the preview's area beneath them).
    readonly property bool hovered: favouriteButton.hovered || selectBox.hovered || startButton.hovered
                                    || stopButton.hovered || rebootButton.hovered || deleteButton.hovered

    component TipButton: ToolButton {
        id: tipButton
        property string tip: ""
        highlighted: true
        visible: buttons.shown
        Material.accent: buttons.card.cardAccent
        ToolTip.text: tip
        ToolTip.delay: 250
        ToolTip.visible: hovered && tip !== ""
        MouseArea { anchors.fill: parent; acceptedButtons: Qt.NoButton; cursorShape: Qt.PointingHandCursor }
    }

    ToolButton {
        id: favouriteButton
        objectName: "favouriteButton"
        readonly property bool favourite: buttons.computer !== null && buttons.computer.isFavourite
        readonly property bool spinning: buttons.computer !== null && buttons.computer.favouriteStatusChanging
        x: 4
        y: 4
        visible: buttons.shown
        flat: true
        enabled: !spinning
        Material.theme: Material.Light
        icon.source: favourite ? "qrc:///assets/icons/star_black_18dp.svg"
                               : "qrc:///assets/icons/star_border_black_18dp.svg"
        ToolTip.text: favourite ? "Remove from favorites" : "Add to favorites"
        ToolTip.delay: 250
        ToolTip.visible: hovered
        onClicked: buttons.computer.setFavouriteStatus(!favourite, buttons.main)
        onSpinningChanged: rotation = 0
        MouseArea { anchors.fill: parent; acceptedButtons: Qt.NoButton; cursorShape: Qt.PointingHandCursor }

        RotationAnimation on rotation {
            running: favouriteButton.spinning
            loops: Animation.Infinite
            from: 0
            to: 360
            duration: 1200
            direction: RotationAnimation.Clockwise
        }
    }

    CheckBox {
        id: selectBox
        objectName: "selectBox"
        anchors.right: parent.right
        anchors.rightMargin: 4
        y: 4
        visible: buttons.shown
        checked: buttons.card.selected
        Material.theme: Material.Light
        Material.accent: buttons.card.status === Computer.Provisioning
                         ? Material.color(Material.Grey, Material.Shade900) : buttons.card.Material.accent
        ToolTip.text: "Add to selection"
        ToolTip.delay: 250
        ToolTip.visible: hovered
        // The box always adds or removes just this computer, then follows the selection again.
        onToggled: {
            buttons.card.select(true)
            checked = Qt.binding(() => buttons.card.selected)
        }
        MouseArea { anchors.fill: parent; acceptedButtons: Qt.NoButton; cursorShape: Qt.PointingHandCursor }
    }

    // The first button at the left edge, the last at the right, the two others at equal gaps.
    Item {
        id: bottomRow
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: 4
        height: startButton.height
        readonly property real gap: (width - startButton.width - stopButton.width - rebootButton.width
                                     - deleteButton.width) / 3
        readonly property bool extrasShown: buttons.preview.hovered || buttons.card.selected

        TipButton {
            id: startButton
            objectName: "startButton"
            tip: "Power ON"
            icon.source: "qrc:///assets/icons/play_circle_black_24dp.svg"
            enabled: buttons.computer !== null && buttons.computer.canStart
            onClicked: buttons.main.startInstances([buttons.computer])
        }
        TipButton {
            id: stopButton
            objectName: "stopButton"
            x: startButton.width + bottomRow.gap
            tip: "Power OFF"
            icon.source: "qrc:///assets/icons/stop_black_24dp.svg"
            enabled: buttons.computer !== null && buttons.computer.canStop
            opacity: bottomRow.extrasShown ? 1 : 0
            visible: buttons.shown && opacity > 0
            onClicked: buttons.main.stopInstances([buttons.computer])
            Behavior on opacity { NumberAnimation { duration: 200 } }
        }
        TipButton {
            id: rebootButton
            objectName: "rebootButton"
            x: stopButton.x + stopButton.width + bottomRow.gap
            tip: "REBOOT Machine"
            icon.source: "qrc:///assets/icons/settings_backup_restore_black_24dp.svg"
            enabled: buttons.computer !== null && buttons.computer.canStop
            opacity: bottomRow.extrasShown ? 1 : 0
            visible: buttons.shown && opacity > 0
            onClicked: buttons.main.resetInstances([buttons.computer])
            Behavior on opacity { NumberAnimation { duration: 200 } }
        }
        TipButton {
            id: deleteButton
            objectName: "deleteButton"
            anchors.right: parent.right
            tip: "DELETE Machine"
            icon.source: "qrc:///assets/icons/delete_black_18dp.svg"
            enabled: buttons.computer !== null && buttons.computer.canDelete
            onClicked: buttons.main.requestComputerDeletion([buttons.computer])
        }
    }
}
