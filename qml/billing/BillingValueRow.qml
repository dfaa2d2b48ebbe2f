import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import Vantorix
import Vantorix.Core

// One figure of the billing page: the caption (200 px, with an optional help button 10 px after its
// text) at the left, the value at the right in 16 px and the primary colour, and an optional 12 px
// Grey 500 line under the value, right-aligned and 6 px lower.
Item {
    id: row

    required property string caption
    property string helpText: ""
    required property string value
    property string detail: ""

    readonly property alias valueLabel: valueLabel
    readonly property alias detailLabel: detailLabel
    readonly property alias helpButton: help

    implicitHeight: 40

    Row {
        anchors.verticalCenter: parent.verticalCenter
        width: 200
        spacing: 10
        Label {
            id: captionLabel
            objectName: "billingCaption"
            anchors.verticalCenter: parent.verticalCenter
            text: row.caption
        }
        HelpButton {
            id: help
            objectName: "billingHelp"
            anchors.verticalCenter: parent.verticalCenter
            visible: row.helpText !== ""
            toolTipText: row.helpText
        }
    }

    Label {
        id: valueLabel
        objectName: "billingValue"
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        text: row.value
        font.pixelSize: 16
        color: Material.primary
    }
    Label {
        id: detailLabel
        objectName: "billingDetail"
        anchors.right: parent.right
        anchors.top: valueLabel.bottom
        visible: row.detail !== ""
        text: row.detail
        font.pixelSize: 12
        // Grey 500 reads on the dark popup only (2.7:1 on the light one's white).
        color: Material.color(Material.Grey, Utils.styles.isLightTheme ? Material.Shade700 : Material.Shade500)
    }
}
