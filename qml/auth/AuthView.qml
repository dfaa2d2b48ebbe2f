import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import Vantorix
import Vantorix.Core

// The signed-out face of the window: sign in, sign up, and the forgotten password. One form is shown
// at a time, chosen by `viewState`. The requests themselves are the controller's.
Pane {
    id: view

    enum ViewState {
        Login,
        Register,
        ForgotPassword
    }

    required property Item main
    required property bool autoLogin
    property int viewState: AuthView.ViewState.Login
    property int previousViewState: AuthView.ViewState.Login
    // The password of the last successful sign-up of this run, in memory only.
    property string registerPassword: ""
    // Whether the window shows; the automatic sign-in waits for it.
    property bool windowVisible: Window.window !== null && Window.window.visible
    readonly property alias notificationArea: authNotificationContainer
    readonly property alias controller: controller
    readonly property alias loginForm: loginForm
    // The sign-up and password-reset forms are built the first time they are shown or needed (null
    // until then), so that the sign-in form does not wait for them at start-up. Once built they stay,
    // with what was typed into them.
    readonly property Item registerForm: registerSlot.children.length > 0 ? registerSlot.children[0] : null
    readonly property Item forgotPasswordForm: forgotPasswordSlot.children.length > 0
                                               ? forgotPasswordSlot.children[0] : null

    function login(userID, password) {
        controller.login(userID, password)
    }
    function register() {
        controller.registerAccount(registerForm.formData())
    }
    function getResetPasswordToken(userID) {
        controller.getResetPasswordToken(userID)
    }
    function resetPassword(newPassword, token) {
        controller.resetPassword(newPassword, token)
    }
    // A message in the view's own area at the top, centred.
    function notifyTop(text, level, lifespan) {
        return main.notification(text, level, authNotificationContainer, Notification.Align.Center, lifespan)
    }
    // Created by URL: naming a form's type in this file would load its files with this view.
    function ensureRegisterForm() {
        if (!registerForm)
            Qt.createComponent("RegisterForm.qml").createObject(registerSlot, { "view": view })
        return registerForm
    }
    function ensureForgotPasswordForm() {
        if (!forgotPasswordForm)
            Qt.createComponent("ForgotPasswordForm.qml").createObject(forgotPasswordSlot, { "view": view })
        return forgotPasswordForm
    }
    function tryAutoLogin() {
        const settings = main.settings
        if (main.user === null && autoLogin && windowVisible && settings.loginUserId !== ""
                && settings.rememberedPassword !== "")
            login(settings.loginUserId, settings.rememberedPassword)
    }

    padding: 0
    Material.background: Utils.styles.appBackgroundColor

    onWindowVisibleChanged: tryAutoLogin()
    onViewStateChanged: {
        if (viewState === AuthView.ViewState.Register)
            ensureRegisterForm()
        else if (viewState === AuthView.ViewState.ForgotPassword)
            ensureForgotPasswordForm()
    }
    Component.onCompleted: main.loadCountriesList()

    AuthController {
        id: controller
        settings: view.main.settings
        onMessage: (text, level, place, lifespan) => view.notifyTop(text, level, lifespan)
        onLoggedIn: user => view.main.signIn(user)
        onRegistered: (userEmail, username, password) => {
            loginForm.setCredentials(username, password)
            view.registerPassword = password
            if (view.registerForm)
                view.registerForm.clearPassword()
            view.viewState = AuthView.ViewState.Login
        }
        onResetTokenSent: view.ensureForgotPasswordForm().enterTokenMode()
        onPasswordResetDone: {
            view.viewState = AuthView.ViewState.Login
            view.previousViewState = AuthView.ViewState.ForgotPassword
        }
        onUnauthorized: view.main.signedOut()
    }

    Connections {
        target: view.main
        function onTriggerLogin() {
            const email = view.registerForm ? view.registerForm.email : ""
            if (email !== "" && view.registerPassword !== "") {
                loginForm.setCredentials(email, view.registerPassword)
                view.login(email, view.registerPassword)
            }
        }
        function onSetPasswordResetToken(token) {
            view.ensureForgotPasswordForm().token = token
        }
    }

    // Takes the pointer events that no control takes.
    MouseArea {
        anchors.fill: parent
        hoverEnabled: true
    }

    Pane {
        id: card
        objectName: "authCard"
        readonly property bool narrow: view.width < 700
        anchors.centerIn: parent
        width: narrow ? view.width : 400
        height: narrow ? view.height : 700
        padding: 20
        Material.elevation: 20
        Material.background: Utils.styles.sidebarBackgroundColor

        ColumnLayout {
            id: cardColumn
            anchors.fill: parent
            spacing: 5

            Item {
                Layout.fillWidth: true
                Layout.preferredHeight: 150

                Image {
                    id: logo
                    objectName: "authLogo"
                    anchors.centerIn: parent
                    height: 150
                    width: parent.width * 1.1
                    fillMode: Image.PreserveAspectFit
                    sourceSize.height: 300
                    // The product logo from the service's web host; the built-in one when it cannot load.
                    source: view.main.vantorixLogo
                    onStatusChanged: {
                        if (status === Image.Error)
                            source = "qrc:///assets/icons/vantorix-logo.svg"
                    }
                }
            }

            LoginForm {
                id: loginForm
                view: view
                Layout.fillWidth: true
                visible: view.viewState === AuthView.ViewState.Login
            }
            // Each slot holds its form once built. A slot is a layout, not a Loader, so that the card
            // sizes it from the form's own minimum, preferred and maximum heights, as if the form sat here.
            ColumnLayout {
                id: registerSlot
                Layout.fillWidth: true
                spacing: 0
                visible: view.viewState === AuthView.ViewState.Register
            }
            ColumnLayout {
                id: forgotPasswordSlot
                Layout.fillWidth: true
                spacing: 0
                visible: view.viewState === AuthView.ViewState.ForgotPassword
            }
            Item {
                Layout.fillHeight: true
            }
        }
    }

    Column {
        id: authNotificationContainer
        objectName: "authNotificationContainer"
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.margins: 40
        spacing: Utils.styles.notificationSpacing
        z: 1
        Material.theme: Material.Dark
    }
}
