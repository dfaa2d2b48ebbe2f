import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import Vantorix
import Vantorix.Core

// The Remote Desktop section of the application settings: how a connection is shaped on the user's
// screens. Every change is stored at once and applies to the next connection.
Column {
    id: section

    required property ConnectionPreferences connection

    readonly property alias modeBox: modeBox
    readonly property alias widthField: widthField
    readonly property alias heightField: heightField
    readonly property alias monitorsCheck: monitorsCheck
    readonly property alias dynamicCheck: dynamicCheck
    readonly property alias scaleSlider: scaleSlider
    readonly property alias scaleLabel: scaleLabel
    readonly property var scaleSteps: connection.scaleSteps

    spacing: 10

    component SizeField: TextField {
        width: 70
        horizontalAlignment: TextInput.AlignHCenter
        maximumLength: 4
        validator: IntValidator { bottom: 1; top: 9999 }
    }

    Label {
        text: "Remote Desktop"
        color: Utils.styles.accentTextColor
        font.pointSize: 10
        font.weight: Font.Medium
    }

    InputField {
        width: section.width
        label: "Display "
        toolTip: "How the remote desktop opens: as the Remote Desktop client decides, full screen, or in a window of the size given here."
        ComboBox {
            id: modeBox
            objectName: "rdpModeBox"
            width: 220
            model: ["As the client decides", "Full screen", "Window"]
            currentIndex: section.connection.displayMode
            onActivated: index => section.connection.displayMode = index
        }
        Row {
            spacing: 5
            visible: section.connection.displayMode === 2 // a window
            SizeField {
                id: widthField
                objectName: "rdpWidthField"
                text: String(section.connection.windowWidth)
                onEditingFinished: {
                    section.connection.windowWidth = Number(text)
                    text = Qt.binding(() => String(section.connection.windowWidth))
                }
            }
            Label {
                anchors.verticalCenter: parent.verticalCenter
                text: "\u00d7"
            }
            SizeField {
                id: heightField
                objectName: "rdpHeightField"
                text: String(section.connection.windowHeight)
                onEditingFinished: {
                    section.connection.windowHeight = Number(text)
                    text = Qt.binding(() => String(section.connection.windowHeight))
                }
            }
            Label {
                anchors.verticalCenter: parent.verticalCenter
                text: "pixels"
            }
        }
    }
    InputFieldRight {
        label: "Use all monitors "
        toolTip: "Spread the remote desktop over all your monitors."
        CheckBox {
            id: monitorsCheck
            objectName: "rdpMonitorsCheck"
            checked: section.connection.allMonitors
            onToggled: section.connection.allMonitors = checked
        }
    }
    InputFieldRight {
        label: "Resize with the window "
        toolTip: "The remote desktop takes the new size when you resize its window (dynamic resolution)."
        CheckBox {
            id: dynamicCheck
            objectName: "rdpDynamicCheck"
            checked: section.connection.dynamicResolution
            onToggled: section.connection.dynamicResolution = checked
        }
    }
    InputField {
        id: scaleField
        width: section.width
        label: "Scale "
        toolTip: "The size of text and icons on the remote desktop, 100-300 %."
        Item {
            width: scaleField.width
            height: scaleSlider.implicitHeight
            Slider {
                id: scaleSlider
                objectName: "rdpScaleSlider"
                width: parent.width - scaleLabel.width - 10
                from: 0
                to: section.scaleSteps.length - 1
                stepSize: 1
                snapMode: Slider.SnapAlways
                value: Math.max(0, section.scaleSteps.indexOf(section.connection.scalePercent))
                onMoved: section.connection.scalePercent = section.scaleSteps[Math.round(value)]
            }
            Label {
                id: scaleLabel
                objectName: "rdpScaleLabel"
                anchors.left: scaleSlider.right
                anchors.leftMargin: 10
                anchors.verticalCenter: scaleSlider.verticalCenter
                text: section.connection.scalePercent + " %"
            }
        }
    }
}
