import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import Vantorix
import Vantorix.Core
import QtQuick.Layouts

// The sign-in form. Untouched fields follow the remembered sign-in; once typed into, a field keeps
// its own text.
ColumnLayout {
    id: form

    required property Item view
    readonly property alias userIdField: userIdField
    readonly property alias passwordField: passwordField
    readonly property alias loginButton: loginButton
    // Busy from the request until the signed-in frame that follows a sign-in is complete.
    readonly property bool busy: view.controller.loginBusy || view.main.buildingSignedInFrame === true

    function submit() {
        if (loginButton.enabled)
            view.login(userIdField.text, passwordField.text)
    }
    function setCredentials(userId, password) {
        userIdField.text = userId
        passwordField.text = password
    }
    // Drops a typed password: the field follows the remembered sign-in again.
    function forgetTypedPassword() {
        passwordField.text = Qt.binding(() => form.view.main.settings.rememberedPassword)
    }

    spacing: 5
    enabled: !busy

    InputField {
        id: userIdInput
        Layout.fillWidth: true
        label: "Email / Username"
        currentValue: userIdField.text
        validator: value => ({ "valid": String(value).length >= 2, "message": "" })

        TextField {
            id: userIdField
            objectName: "loginUserIdField"
            width: parent.width
            placeholderText: "Enter email or username"
            text: form.view.main.settings.loginUserId
            selectByMouse: true
            onTextEdited: text = text
            Keys.onReturnPressed: form.submit()
            Keys.onEnterPressed: form.submit()
        }
    }
    Item {
        implicitHeight: 20
    }
    InputField {
        id: passwordInput
        Layout.fillWidth: true
        label: "Password"
        currentValue: passwordField.text
        validator: value => ({ "valid": String(value).length >= 8, "message": "" })

        PasswordInput {
            id: passwordField
            objectName: "loginPasswordField"
            width: parent.width
            placeholderText: "Enter password"
            text: form.view.main.settings.rememberedPassword
            onTextEdited: text = text
            Keys.onReturnPressed: form.submit()
            Keys.onEnterPressed: form.submit()
        }
    }
    ToolButton {
        objectName: "forgotPasswordButton"
        text: "Forgot your password?"
        font.capitalization: Font.MixedCase
        implicitHeight: 30
        onClicked: {
            form.view.previousViewState = AuthView.ViewState.Login
            form.view.viewState = AuthView.ViewState.ForgotPassword
        }
    }
    Item {
        implicitHeight: 20
    }
    BusyButton {
        id: loginButton
        objectName: "loginButton"
        Layout.fillWidth: true
        label: "Log In"
        busy: form.busy
        enabled: userIdInput.valid && passwordInput.valid && !form.busy
        onClicked: form.submit()
    }
    Row {
        Layout.alignment: Qt.AlignHCenter
        spacing: 5

        Label {
            text: "Need an account?"
            anchors.verticalCenter: parent.verticalCenter
        }
        ToolButton {
            objectName: "toRegisterButton"
            // Its text is in the accent colour: the one that reads on this theme's background.
            Material.accent: Utils.styles.accentTextColor
            text: "Sign Up"
            highlighted: true
            onClicked: form.view.viewState = AuthView.ViewState.Register
        }
    }
}
