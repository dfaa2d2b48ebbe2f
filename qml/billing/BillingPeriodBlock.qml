import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import Vantorix.Core
import QtQuick.Layouts

// One price period of a computer: its time span, the running and idle cost lines with their
// durations and rates, and a Grey 800 rule under them.
Column {
    id: block

    required property string title
    required property string runningCost
    required property string runningDetail
    required property string idleCost
    required property string idleDetail

    spacing: 0

    component CostLine: RowLayout {
        id: line
        required property string caption
        required property string cost
        required property string detail
        width: block.width
        spacing: 0
        Label {
            Layout.fillWidth: true
            text: line.caption
            font.pointSize: 8
        }
        Label {
            objectName: "periodCost"
            text: line.cost
            font.pointSize: 8
        }
        Label {
            objectName: "periodDetail"
            text: line.detail
            font.pointSize: 7
            color: Material.color(Material.Grey, Utils.styles.isLightTheme ? Material.Shade700 : Material.Shade500)
        }
    }

    Label {
        objectName: "periodTitle"
        width: block.width
        horizontalAlignment: Text.AlignHCenter
        text: block.title
        font.pointSize: 8
        color: Material.color(Material.Grey, Utils.styles.isLightTheme ? Material.Shade700 : Material.Shade500)
        bottomPadding: 5
    }
    CostLine {
        objectName: "runningLine"
        caption: "Running Cost"
        cost: block.runningCost
        detail: block.runningDetail
    }
    Item {
        width: 1
        height: 5
    }
    CostLine {
        objectName: "idleLine"
        caption: "Idle Cost"
        cost: block.idleCost
        detail: block.idleDetail
    }
    Item {
        width: 1
        height: 5
    }
    Rectangle {
        width: block.width
        height: 1
        color: Material.color(Material.Grey, Material.Shade800)
    }
}
