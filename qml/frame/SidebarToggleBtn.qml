import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material

// The menu button that opens and closes the frame's sidebar. Each time the sidebar closes, the button
// flashes for three seconds so that the user sees where the menu went.
ToolButton {
    id: button

    // The frame's Sidebar (anything with `open` and a `closed` signal).
    required property Item sidebar
    readonly property alias flashing: flash.running

    // Above its neighbours in a row: right after it appears, they may still lie over it until the row's
    // next layout pass, and a click on it must not go to them.
    z: 1
    flat: true
    icon.source: "qrc:///assets/icons/menu-black-18dp.svg"
    onClicked: sidebar.open = !sidebar.open

    Connections {
        target: button.sidebar
        function onClosed() {
            flash.restart()
        }
    }

    SequentialAnimation {
        id: flash
        loops: 1
        NumberAnimation { target: button; property: "opacity"; from: 0; to: 1; duration: 600; easing.type: Easing.InSine }
        NumberAnimation { target: button; property: "opacity"; from: 1; to: 0; duration: 600; easing.type: Easing.OutSine }
        NumberAnimation { target: button; property: "opacity"; from: 0; to: 1; duration: 600; easing.type: Easing.InSine }
        NumberAnimation { target: button; property: "opacity"; from: 1; to: 0; duration: 600; easing.type: Easing.OutSine }
        NumberAnimation { target: button; property: "opacity"; from: 0; to: 1; duration: 600; easing.type: Easing.InSine }
    }
}
