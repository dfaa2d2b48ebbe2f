import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import Vantorix.Core

// The sidebar's "Payments" link: centred text in Material Blue that turns to the accent colour while
// hovered or while the payment history is the shown page.
Button {
    id: button

    property bool activeMenuItem: false
    property color textColor: hovered || activeMenuItem ? Material.accent
                                                                 : Material.color(Material.Blue, Material.Shade500)

    flat: true
    font.capitalization: Font.MixedCase
    font.pointSize: 10
    leftPadding: 0
    rightPadding: 0
    topInset: 0
    bottomInset: 0
    icon.color: textColor
    Material.foreground: textColor

    Behavior on textColor { ColorAnimation { duration: 200; easing.type: Easing.InOutCubic } }

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.NoButton
        cursorShape: Qt.PointingHandCursor
    }
}
