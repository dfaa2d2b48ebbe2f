import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material

// A labelled, validated field: the bold label with an optional help button, the controls declared
// inside it, and the rule's message in red under them. The form binds `currentValue` to its control;
// the message shows once the value differs from the one the field was created with (or at once with
// `forceShowMessage`).
Column {
    id: field

    required property string label
    property string toolTip: ""
    property var validator: null
    property var currentValue: null
    // The value at creation; frozen once the field is complete.
    property var initialValue: currentValue
    readonly property var validationResponse: typeof validator === "function"
                                              ? validator(currentValue) : ({ "valid": true, "message": "" })
    readonly property bool valid: validationResponse ? Boolean(validationResponse.valid) : true
    property bool forceShowMessage: false
    // Loose comparison on purpose: a number and its text count as the same value.
    readonly property bool messageShown: !valid && (forceShowMessage || currentValue != initialValue)

    default property alias content: contentColumn.data

    spacing: 5

    Row {
        spacing: 5
        padding: 0
        visible: field.label !== "" || field.toolTip !== ""

        Label {
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

    Column {
        id: contentColumn
        width: field.width
        spacing: field.spacing
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
