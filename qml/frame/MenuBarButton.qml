import QtQuick
import QtQuick.Controls
import QtQuick.Controls.impl
import QtQuick.Controls.Material
import Vantorix.Core

// An entry of the sidebar's menu: left-aligned text over a strip that spans the sidebar's column and
// lights up in the accent colour while hovered or while the entry is the active page.
Button {
    id: button

    property bool activeMenuItem: false
    readonly property bool lit: hovered || activeMenuItem
    property color textColor: lit ? "white" : Utils.styles.sidebarGreetingsColor

    flat: true
    font.capitalization: Font.MixedCase
    font.pointSize: 14
    leftPadding: 20
    rightPadding: 10
    topInset: 0
    bottomInset: 0
    icon.color: textColor

    Behavior on textColor { ColorAnimation { duration: 200; easing.type: Easing.InOutCubic } }

    contentItem: IconLabel {
        spacing: 12
        alignment: Qt.AlignLeft | Qt.AlignVCenter
        icon: button.icon
        text: button.text
        font: button.font
        color: button.textColor
    }

    background: Rectangle {
        objectName: "highlightStrip"
        color: button.lit ? button.Material.accent : "transparent"
        Behavior on color { ColorAnimation { duration: 200; easing.type: Easing.InOutCubic } }
    }

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.NoButton
        cursorShape: Qt.PointingHandCursor
    }
}
