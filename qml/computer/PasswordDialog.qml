import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import Vantorix

// A dimmed dialog centred on the window that asks for one password: title, text, the validated entry,
// "Cancel" and "Ok". Escape or a press outside closes it and keeps the entry; Cancel empties it.
// `accepted(entry)` runs after the dialog has closed; the handler decides whether to empty the entry.
Popup {
    id: dialog

    property string title: ""
    property string text: ""
    property string fieldLabel: "Password"
    property string fieldToolTip: ""
    property var validator: null
    property string placeholder: "Password"
    property real pageWidth: parent ? parent.width : 700
    readonly property alias entry: passwordInput
    readonly property alias field: field
    readonly property alias okButton: okButton
    readonly property alias cancelButton: cancelButton

    signal accepted(string entry)

    function clearEntry() {
        passwordInput.text = ""
    }

    function accept() {
        if (!field.valid)
            return
        const value = passwordInput.text
        close()
        accepted(value)
    }

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(pageWidth - 50, 700)
    modal: true
    dim: true
    focus: true
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside

    contentItem: ColumnLayout {
        spacing: 20

        Label {
            objectName: "dialogTitle"
            Layout.fillWidth: true
            text: dialog.title
            font.pointSize: 16
            wrapMode: Text.Wrap
        }
        Label {
            objectName: "dialogText"
            Layout.fillWidth: true
            text: dialog.text
            wrapMode: Text.Wrap
        }
        InputField {
            id: field
            Layout.fillWidth: true
            label: dialog.fieldLabel
            toolTip: dialog.fieldToolTip
            validator: dialog.validator
            currentValue: passwordInput.text

            PasswordInput {
                id: passwordInput
                objectName: "dialogPassword"
                width: field.width
                placeholderText: dialog.placeholder
                onAccepted: dialog.accept()
            }
        }
        RowLayout {
            Layout.alignment: Qt.AlignRight
            spacing: 10
            Button {
                id: cancelButton
                objectName: "dialogCancel"
                flat: true
                text: "Cancel"
                onClicked: {
                    dialog.clearEntry()
                    dialog.close()
                }
            }
            Button {
                id: okButton
                objectName: "dialogOk"
                flat: true
                highlighted: true
                text: "Ok"
                enabled: field.valid
                onClicked: dialog.accept()
            }
        }
    }

    onOpened: passwordInput.forceActiveFocus()
}
