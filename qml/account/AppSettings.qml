import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import Vantorix
import Vantorix.Core

// The application settings: version, start at login, the session's confirmation, connection-warning
// and preview switches, theme and scaling. Theme and scaling are stored at once through the bridge but
// only take effect after a restart, which the view offers while either differs from what is in effect.
Column {
    id: settingsView

    // The session (its three switches and its confirmation popup).
    required property MainContext main
    // The bridge; the program's `context` unless a test gives another.
    property var bridge: context

    // What is in effect since the program started (read once).
    readonly property real currentScalingFactor: bridge.getCurrentScalingFactor()
    readonly property string currentTheme: bridge.getMaterialTheme()
    readonly property string currentRendering: bridge.getRendering()
    readonly property bool restartNeeded: Math.abs(scalingSlider.value - currentScalingFactor) > 0.001
                                          || themeBox.currentText !== currentTheme
                                          || renderingBox.currentText !== currentRendering
    property bool completed: false

    readonly property alias autoStartCheck: autoStartCheck
    readonly property alias confirmationsCheck: confirmationsCheck
    readonly property alias rdpWarningCheck: rdpWarningCheck
    readonly property alias previewCheck: previewCheck
    readonly property alias themeBox: themeBox
    readonly property alias renderingBox: renderingBox
    readonly property alias scalingSlider: scalingSlider
    readonly property alias scalingLabel: scalingLabel
    readonly property alias previewText: previewText
    readonly property alias restartNote: restartNote
    readonly property alias restartButton: restartButton

    function askRestart() {
        main.confirm("Restart vantorix?",
                     "A restart is required to apply the new settings. Would you like to restart now?",
                     "Ok", "Cancel", () => settingsView.bridge.restartApplication())
    }

    spacing: 10
    Component.onCompleted: completed = true

    component Separator: Rectangle {
        property bool half: true
        width: half ? settingsView.width / 2 : settingsView.width
        height: 1
        color: half ? Material.color(Material.Grey, Material.Shade600) : Utils.styles.sidebarSeparatorColor
    }

    Label {
        objectName: "versionLabel"
        text: "Vantorix app version: " + (Qt.application.version !== "" ? Qt.application.version : "1.0.0")
        // Grey 500 reads on the dark page only (2:1 on the light one).
        color: Material.color(Material.Grey, Utils.styles.isLightTheme ? Material.Shade700 : Material.Shade500)
        font.pointSize: 8
    }
    Separator {}

    InputFieldRight {
        label: "Start Vantorix at Windows login "
        toolTip: "Enable this checkbox to automatically start Vantorix at Windows login."
        CheckBox {
            id: autoStartCheck
            objectName: "autoStartCheck"
            checked: settingsView.bridge.isAutoStartupEnabled()
            onToggled: settingsView.bridge.setIsAutoStartupEnabled(checked)
        }
    }
    Separator {}

    InputFieldRight {
        label: "Actions confirmations "
        toolTip: "Enable this checkbox to confirm machine Start, Stop or Reboot.\nDisable this checkbox to hide the confirmation pop-up.\nWe recommend leaving this enabled to avoid any accidental actions."
        CheckBox {
            id: confirmationsCheck
            objectName: "confirmationsCheck"
            checked: settingsView.main.confirmationPopupsEnabled
            onCheckedChanged: {
                if (settingsView.main.confirmationPopupsEnabled !== checked)
                    settingsView.main.confirmationPopupsEnabled = checked
            }
        }
    }
    InputFieldRight {
        label: "RDP connection warning "
        toolTip: "Enable this checkbox to show the pop-up when connecting to a machine.\nDisable this checkbox to hide the pop-up when connecting to a machine."
        CheckBox {
            id: rdpWarningCheck
            objectName: "rdpWarningCheck"
            checked: settingsView.main.showVMConnectionWarningNotification
            onToggled: settingsView.main.showVMConnectionWarningNotification
                       = !settingsView.main.showVMConnectionWarningNotification
        }
    }
    InputFieldRight {
        label: "Desktop preview "
        toolTip: "Enable this checkbox to display a preview of your desktop in the machine grid card.\nThe preview refresh rate is linked to the app refresh rate."
        CheckBox {
            id: previewCheck
            objectName: "previewCheck"
            checked: settingsView.main.enableDesktopPreviews
            onToggled: settingsView.main.enableDesktopPreviews = !settingsView.main.enableDesktopPreviews
        }
    }
    Separator { half: false }

    InputField {
        width: settingsView.width
        label: "Theme style "
        toolTip: "Switch between light and dark ui theme."
        ComboBox {
            id: themeBox
            objectName: "themeBox"
            model: ["Light", "Dark"]
            currentIndex: Math.max(0, model.indexOf(settingsView.currentTheme))
            onActivated: settingsView.bridge.setMaterialTheme(currentText)
        }
    }
    Separator { half: false }

    InputField {
        width: settingsView.width
        label: "Rendering "
        toolTip: "Automatic draws with the graphics card, or with the lighter software renderer where the graphics driver itself draws on the processor (virtual machines, remote sessions).\nRequires restarting the app to take effect."
        ComboBox {
            id: renderingBox
            objectName: "renderingBox"
            model: ["Automatic", "Hardware", "Software"]
            currentIndex: Math.max(0, model.indexOf(settingsView.currentRendering))
            onActivated: settingsView.bridge.setRendering(currentText)
        }
        Label {
            objectName: "rendererInUse"
            text: "In use: " + (settingsView.GraphicsInfo.api === GraphicsInfo.Software ? "software renderer"
                                                                                        : "graphics card")
            color: Material.color(Material.Grey, Utils.styles.isLightTheme ? Material.Shade700 : Material.Shade500)
            font.pointSize: 8
        }
    }
    Separator { half: false }

    InputField {
        id: scalingField
        width: settingsView.width
        label: "Display scaling factor "
        toolTip: "This is the App text scaling factor. Requires restarting the app to take effect."

        Item {
            width: scalingField.width
            height: scalingSlider.implicitHeight
            Slider {
                id: scalingSlider
                objectName: "scalingSlider"
                width: parent.width - scalingLabel.width - 10
                from: 0.7
                to: 1.5
                stepSize: 0.1
                snapMode: Slider.SnapAlways
                value: settingsView.currentScalingFactor
                onValueChanged: {
                    if (settingsView.completed)
                        settingsView.bridge.setScalingFactor(value)
                }
            }
            Label {
                id: scalingLabel
                objectName: "scalingLabel"
                anchors.left: scalingSlider.right
                anchors.leftMargin: 10
                anchors.verticalCenter: scalingSlider.verticalCenter
                text: Math.round(scalingSlider.value * 100) + " %"
            }
        }
        Pane {
            objectName: "scalingPreview"
            Material.elevation: 2
            padding: 20
            contentWidth: previewText.implicitWidth * previewText.scale
            contentHeight: previewText.implicitHeight * previewText.scale
            Label {
                id: previewText
                text: "Preview text"
                transformOrigin: Item.TopLeft
                scale: scalingSlider.value / (settingsView.currentScalingFactor > 0 ? settingsView.currentScalingFactor : 1)
            }
        }
        Label {
            id: restartNote
            objectName: "restartNote"
            topPadding: 10
            width: 300
            wrapMode: Text.Wrap
            text: "Restart to apply new settings."
            color: Material.color(Material.Yellow, Material.Shade900)
            visible: settingsView.restartNeeded
        }
        Item {
            width: restartButton.width
            height: restartButton.height + 10
            visible: settingsView.restartNeeded
            Button {
                id: restartButton
                objectName: "restartButton"
                y: 10
                text: "Restart"
                font.capitalization: Font.MixedCase
                visible: settingsView.restartNeeded
                onClicked: settingsView.askRestart()
            }
        }
    }

    Separator { half: false }

    RemoteDesktopSettings {
        objectName: "remoteDesktopSettings"
        width: settingsView.width
        connection: settingsView.main.connection
    }
}
