import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import Vantorix
import Vantorix.Core
import QtQuick.Layouts

// The forgotten-password form: first ask for a reset code, then set the new password with it.
ColumnLayout {
    id: form

    required property Item view
    // false: ask for a reset code; true: enter the new password and the code.
    property bool inputTokenMode: false
    property alias token: tokenField.text
    readonly property bool busy: view.controller.resetBusy
    readonly property alias userIdField: userIdField
    readonly property alias newPasswordField: newPasswordField
    readonly property alias tokenField: tokenField
    readonly property alias mainButton: mainButton

    function enterTokenMode() {
        inputTokenMode = true
        newPasswordField.text = ""
    }
    function submit() {
        if (!mainButton.enabled)
            return
        if (inputTokenMode)
            view.resetPassword(newPasswordField.text, tokenField.text)
        else
            view.getResetPasswordToken(userIdField.text)
    }

    // The full width of the sign-in card's slot for this form.
    Layout.fillWidth: true
    spacing: 5
    enabled: !busy
    onVisibleChanged: inputTokenMode = false

    InputField {
        id: userIdInput
        Layout.fillWidth: true
        visible: !form.inputTokenMode
        label: "Email or Username"
        currentValue: userIdField.text
        validator: value => ({ "valid": String(value).length >= 2, "message": "" })
        TextField {
            id: userIdField
            objectName: "resetUserIdField"
            width: parent.width
            placeholderText: "Enter email or username"
            selectByMouse: true
            Keys.onReturnPressed: form.submit()
            Keys.onEnterPressed: form.submit()
        }
    }
    InputField {
        id: newPasswordInput
        Layout.fillWidth: true
        visible: form.inputTokenMode
        label: "New Password (minimum 8 characters)"
        currentValue: newPasswordField.text
        validator: value => ({ "valid": String(value).length >= 8, "message": "" })
        TextField {
            id: newPasswordField
            objectName: "newPasswordField"
            width: parent.width
            placeholderText: "must contain letters, numbers and special chars"
            echoMode: TextInput.Password
            passwordCharacter: "*"
            inputMethodHints: Qt.ImhSensitiveData | Qt.ImhNoPredictiveText
        }
    }
    InputField {
        Layout.fillWidth: true
        visible: form.inputTokenMode
        label: "Password reset string code"
        TextField {
            id: tokenField
            objectName: "resetTokenField"
            width: parent.width
            placeholderText: "Enter password reset string code"
            selectByMouse: true
        }
    }
    Item {
        implicitHeight: 20
    }
    BusyButton {
        id: mainButton
        objectName: "resetMainButton"
        Layout.fillWidth: true
        label: form.inputTokenMode ? "Reset Password" : "Request Password Reset String Code"
        busy: form.busy
        enabled: (form.inputTokenMode ? newPasswordInput.valid : userIdInput.valid) && !form.busy
        onClicked: form.submit()
    }
    Row {
        Layout.alignment: Qt.AlignHCenter

        ToolButton {
            objectName: "backButton"
            // Its text is in the accent colour: the one that reads on this theme's background.
            Material.accent: Utils.styles.accentTextColor
            text: "back"
            highlighted: true
            icon.source: "qrc:///assets/icons/undo-black-18dp.svg"
            onClicked: form.view.viewState = form.view.previousViewState
        }
    }
}
