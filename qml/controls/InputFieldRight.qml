import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material

// Like InputField, with the controls (usually a check box) before the label on one row.
Column {
    id: field

    required property string label
    property string toolTip: ""
    property var validator: null
    property var currentValue: null
    property var initialValue: currentValue
    readonly property var validationResponse: typeof validator === "function"
                                              ? validator(currentValue) : ({ "valid": true, "message": "" })
    readonly property bool valid: validationResponse ? Boolean(validationResponse.valid) : true
    readonly property bool messageShown: !valid && currentValue != initialValue

    default property alias content: controlsRow.data

    Row {
        spacing: 0
        height: Math.max(controlsRow.height, labelText.implicitHeight)

        Row {
            id: controlsRow
            spacing: 0
            anchors.verticalCenter: parent.verticalCenter
        }
        Label {
            id: labelText
            objectName: "fieldLabel"
            text: field.label
            font.bold: true
            visible: field.label !== ""
            anchors.verticalCenter: parent.verticalCenter
        }
        HelpButton {
            objectName: "fieldHelp"
            toolTipText: field.toolTip
            visible: field.toolTip !== ""
            anchors.verticalCenter: parent.verticalCenter
        }
    }

    Label {
        objectName: "fieldMessage"
        width: field.width
        text: field.validationResponse && field.validationResponse.message ? field.validationResponse.message : ""
        color: Material.color(Material.Red)
        wrapMode: Text.Wrap
        visible: field.messageShown
    }

    Component.onCompleted: initialValue = initialValue
}
