import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import Vantorix.Core

// The sidebar's "Payments" link: centred text in Material Blue that turns to the accent colour while
// hovered or while the payment history is the shown page (both in shades that read on the theme).
Button {
    id: button

    property bool activeMenuItem: false
    // Blue 500 and the accent read on one background each (2.7 and 3:1 on the other): the light sidebar takes
    // Blue 800, the dark one the accent's text colour.
    property color textColor: hovered || activeMenuItem
                              ? Utils.styles.accentTextColor
                              : Material.color(Material.Blue, Utils.styles.isLightTheme ? Material.Shade800 : Material.Shade500)

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
