import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import Vantorix.Core

// A label whose links lead to pages of the service's web host and open in the browser.
Label {
    id: label

    function link(path, caption) {
        return "<a href=\"" + UiShell.pageUrl(path) + "\">" + caption + "</a>"
    }

    textFormat: Text.StyledText
    linkColor: hoveredLink !== "" ? Material.color(Material.Blue, Material.Shade500) : Utils.styles.accentTextColor
    onLinkActivated: link => context.openUrl(link)

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.NoButton
        cursorShape: label.hoveredLink !== "" ? Qt.PointingHandCursor : Qt.ArrowCursor
    }
}
