import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material

// The small question-mark button beside a field's label. Its tool tip opens while the pointer is over
// it, a click toggles it and a tap on the tip closes it. By default the tip sits 10 px to the right,
// centred vertically; `tipBelow` puts it 5 px below instead.
ToolButton {
    id: button

    property string toolTipText: ""
    property bool tipBelow: false
    readonly property alias tipOpen: tip.visible

    implicitWidth: 20
    implicitHeight: 20
    width: 20
    height: 20
    padding: 0
    topInset: 0
    bottomInset: 0
    leftInset: 0
    rightInset: 0
    focusPolicy: Qt.NoFocus
    activeFocusOnTab: false
    icon.source: "qrc:///assets/icons/help-black-18dp.svg"
    icon.width: 18
    icon.height: 18
    icon.color: pressed ? Material.color(Material.Grey, Material.Shade700)
                        : hovered ? Material.color(Material.Grey, Material.Shade500)
                                  : Material.color(Material.Grey, Material.Shade400)

    Behavior on icon.color {
        ColorAnimation {
            duration: 120
        }
    }

    onHoveredChanged: {
        if (hovered)
            tip.open()
        else
            tip.close()
    }
    onClicked: tip.visible ? tip.close() : tip.open()

    ToolTip {
        id: tip
        objectName: "helpToolTip"
        text: button.toolTipText
        x: button.tipBelow ? 0 : button.width + 10
        y: button.tipBelow ? button.height + 5 : (button.height - height) / 2
        closePolicy: Popup.CloseOnEscape

        TapHandler {
            onTapped: tip.close()
        }
    }
}
