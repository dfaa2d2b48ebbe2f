import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import Vantorix.Core

// The floating panel of actions on the selected, visible computers: shown while two or more of them
// can be deleted, kept 20 px above the bottom of the visible area, with a dark band behind it.
Item {
    id: bulk

    required property MainContext main
    required property Item page
    readonly property bool shown: main.deletableComputers.length >= 2
    readonly property bool wide: page.flickable.contentWidth > page.breakWidth
    readonly property alias panel: panel
    readonly property alias startButton: startButton
    readonly property alias stopButton: stopButton
    readonly property alias rebootButton: rebootButton
    readonly property alias deleteButton: deleteButton
    readonly property alias countLabel: countLabel
    // Bottom of the visible area in page coordinates.
    readonly property real visibleBottom: page.scrolled + page.flickable.height - page.pageY

    anchors.fill: parent
    // Buttons, count and outline are in the accent colour: the one that reads on this theme's background.
    Material.accent: Utils.styles.accentTextColor
    z: 4
    opacity: shown ? 1 : 0
    visible: opacity !== 0

    Behavior on opacity { NumberAnimation { duration: 200; easing.type: Easing.InOutCubic } }

    Rectangle {
        objectName: "bulkGradient"
        visible: bulk.wide
        x: -bulk.page.flickableContent.anchors.leftMargin
        y: bulk.visibleBottom - height
        width: bulk.page.flickable.width
        height: 150
        opacity: 0.2
        gradient: Gradient {
            GradientStop { position: 0; color: "transparent" }
            GradientStop { position: 1; color: "black" }
        }
    }

    component BulkButton: ToolButton {
        highlighted: true
        display: bulk.wide ? AbstractButton.TextBesideIcon : AbstractButton.IconOnly
        font.capitalization: Font.MixedCase
    }

    Pane {
        id: panel
        objectName: "bulkPanel"
        x: (bulk.width - width) / 2
        y: bulk.visibleBottom - height - 20
        leftPadding: 10
        rightPadding: 10
        topPadding: 4
        bottomPadding: 4
        Material.elevation: 16

        RowLayout {
            spacing: 6

            Label {
                visible: bulk.wide
                text: "Selected Machines"
            }
            Rectangle {
                property color outline: bulk.main.deletableComputers.length > 0
                                                 ? bulk.Material.accent : Material.color(Material.Grey, Material.Shade400)
                implicitWidth: 34
                implicitHeight: 34
                radius: 17
                color: "transparent"
                border.width: 2
                border.color: outline
                Behavior on outline { ColorAnimation { duration: 200 } }

                Label {
                    id: countLabel
                    objectName: "bulkCount"
                    anchors.centerIn: parent
                    text: bulk.main.deletableComputers.length
                    font.weight: Font.Medium
                    color: parent.outline
                }
            }
            Rectangle {
                Layout.leftMargin: 4
                Layout.rightMargin: 4
                implicitWidth: 1
                implicitHeight: 24
                color: Material.color(Material.Grey, Material.Shade400)
            }
            BulkButton {
                id: startButton
                objectName: "bulkStart"
                text: "Start"
                icon.source: "qrc:///assets/icons/play_circle_black_24dp.svg"
                enabled: bulk.main.startableComputers.length > 0
                onClicked: bulk.main.startInstances(bulk.main.startableComputers)
            }
            BulkButton {
                id: stopButton
                objectName: "bulkStop"
                text: "Stop"
                icon.source: "qrc:///assets/icons/stop_black_24dp.svg"
                enabled: bulk.main.stoppableComputers.length > 0
                onClicked: bulk.main.stopInstances(bulk.main.stoppableComputers)
            }
            BulkButton {
                id: rebootButton
                objectName: "bulkReboot"
                text: "Reboot"
                icon.source: "qrc:///assets/icons/settings_backup_restore_black_24dp.svg"
                enabled: bulk.main.stoppableComputers.length > 0
                onClicked: bulk.main.resetInstances(bulk.main.stoppableComputers)
            }
            BulkButton {
                id: deleteButton
                objectName: "bulkDelete"
                text: "Delete"
                icon.source: "qrc:///assets/icons/delete_black_18dp.svg"
                enabled: bulk.main.deletableComputers.length > 0
                onClicked: bulk.main.requestComputerDeletion(bulk.main.deletableComputers)
            }
        }
    }
}
