import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import Vantorix.Core

// The root of the window: every view reaches it as `main`. It keeps the window size and the remembered
// sign-in, switches between the signed-out views and the signed-in frame, owns the confirmation popup
// and the bottom notification stack, and reacts to the local command server.
Item {
    id: root

    property var user: null
    readonly property LoginSettings settings: loginSettings
    readonly property alias countries: countryService.countries
    readonly property alias gettingVATInfo: countryService.gettingVATInfo
    readonly property CountryService countryService: countryService
    readonly property string vantorixLogo: UiShell.pageUrl(Material.theme === Material.Light
                                                           ? "/wp-content/uploads/logo/Vantorix-APP-Logo.svg"
                                                           : "/wp-content/uploads/logo/Vantorix-APP-Logo-Dark.svg")
    readonly property real vantorixLogoAspectRatio: 900.0 / 225.0
    // Compiled on first use rather than with the window: neither is needed for its first frame.
    property Component selfDestroyingTimerComponent: null
    property Component notificationComponent: null
    readonly property alias notificationsContainer: notificationsContainer
    readonly property alias authView: authView
    readonly property alias confirmPopup: confirmPopup
    readonly property alias signedInFrame: signedInLoader
    // Signed in, and the signed-in frame still being built.
    readonly property bool buildingSignedInFrame: user !== null && signedInLoader.status !== Loader.Ready

    signal triggerLogin
    signal setPasswordResetToken(string token)
    signal signedOut
    signal resetPassword

    // Makes `user` the signed-in user; anything that is not a User is ignored.
    function signIn(user) {
        if (!(user instanceof User))
            return
        root.user = user
        loginSettings.autologin = true
    }

    function confirm(title, message, okText, cancelText, callback, cancelCallback) {
        // A view's request takes the popup over from a pending request of the core.
        UiShell.dropPendingConfirmation()
        confirmPopup.ask(title, message, okText, cancelText, callback, cancelCallback)
    }

    function setTimeout(cb, delayTime) {
        if (!selfDestroyingTimerComponent)
            selfDestroyingTimerComponent = Qt.createComponent("controls/SelfDestroyingTimer.qml")
        selfDestroyingTimerComponent.createObject(root, { "action": cb, "interval": delayTime })
    }

    function notification(message, level, parentItem, alignment, lifespan) {
        if (message === undefined || message === null || String(message).length === 0)
            return undefined
        if (level === undefined || level === null)
            level = Notification.Level.Info
        const background = NotificationPolicy.levelColor(level, Material.accent)
        if (alignment === undefined || alignment === null)
            alignment = Notification.Align.Left
        if (!notificationComponent)
            notificationComponent = Qt.createComponent("frame/Notification.qml")
        if (notificationComponent.status !== Component.Ready) {
            console.error(notificationComponent.errorString())
            return undefined
        }
        const properties = { "text": String(message), "alignment": alignment }
        if (background !== undefined)
            properties.backgroundColor = background
        if (lifespan !== undefined && lifespan !== null)
            properties.lifespan = lifespan
        return notificationComponent.createObject(parentItem ? parentItem : notificationsContainer, properties)
    }

    function loadCountriesList() {
        countryService.loadCountriesList()
    }

    function getVATInfo(vatNumber, cb) {
        countryService.getVATInfo(vatNumber, cb)
    }

    // The command server's payment message, shown only while someone is signed in and as the
    // session's two switches say.
    function handlePaymentStatus(status) {
        const frame = signedInLoader.item
        const session = frame ? frame.main : null
        if (!session || session.creditsPurchasedNotificationApp === undefined)
            return
        if (session.creditsPurchasedNotificationApp)
            notification(status, Notification.Level.Info)
        if (session.creditsPurchasedNotificationSystem)
            context.systemNotification(status)
    }

    width: loginSettings.width
    height: loginSettings.height
    focus: true

    onWidthChanged: sizeSaveTimer.restart()
    onHeightChanged: sizeSaveTimer.restart()
    onSignedOut: endSession()
    onResetPassword: {
        endSession()
        authView.viewState = AuthView.ViewState.ForgotPassword
    }

    // Back to the signed-out window. A password typed for the session that ended does not stay in the
    // sign-in form for whoever uses the computer next: the field follows the remembered sign-in again.
    function endSession() {
        const wasSignedIn = root.user !== null
        loginSettings.reload()
        root.user = null
        if (wasSignedIn)
            authView.loginForm.forgetTypedPassword()
    }

    LoginSettings {
        id: loginSettings
    }

    CountryService {
        id: countryService
        onCountriesErrorMessage: message => root.notification(message, Notification.Level.Error,
                                                              authView.notificationArea,
                                                              Notification.Align.Center)
    }

    // A burst of resizes is stored once, a second after it ends.
    Timer {
        id: sizeSaveTimer
        interval: 1000
        repeat: false
        onTriggered: {
            loginSettings.width = root.width
            loginSettings.height = root.height
        }
    }

    Connections {
        target: UiShell
        function onNotificationRequested(message, level, lifespan) {
            root.notification(message, level, undefined, undefined, lifespan)
        }
        function onConfirmationRequested(title, message, okText, cancelText, ticket) {
            confirmPopup.ask(title, message, okText, cancelText,
                             () => UiShell.answerConfirmation(ticket, true),
                             () => UiShell.answerConfirmation(ticket, false))
        }
    }

    // The local command server (raising the window is done by the host before these arrive).
    Connections {
        target: typeof commandServer !== "undefined" ? commandServer : null
        ignoreUnknownSignals: true
        function onTriggerLogin() {
            root.triggerLogin()
        }
        function onSetPasswordResetToken(token) {
            root.setPasswordResetToken(token)
        }
        function onPaymentStatus(status) {
            root.handlePaymentStatus(status)
        }
    }

    AuthView {
        id: authView
        anchors.fill: parent
        main: root
        autoLogin: loginSettings.autologin
        visible: !signedInLoader.visible
    }

    // The signed-in frame, built afresh for each sign-in with the user of that sign-in; the frame creates
    // and owns the session, so dropping the user drops both.
    // Built asynchronously (incubated in slices between frames), so that the window keeps drawing; the
    // sign-in view, its form busy, stays until the frame is complete.
    Loader {
        id: signedInLoader
        anchors.fill: parent
        asynchronous: true
        visible: root.user !== null && status === Loader.Ready
        onStatusChanged: {
            if (status === Loader.Ready) {
                console.info("Signed-in frame complete")
                root.updateSignedInFrame()
            } else if (status === Loader.Error) {
                // The form would otherwise stay busy for ever: say so and return to the signed-out window.
                console.warn("The signed-in frame could not be loaded")
                root.notification("The signed-in view could not be loaded. Please reinstall the application.",
                                  Notification.Level.Error)
                signedInLoader.source = ""
                root.endSession()
            }
        }
    }
    onUserChanged: updateSignedInFrame()

    // Called before the window goes at exit: a frame still being built is completed first (switching the
    // loader to synchronous completes it), since tearing down a half-built one can crash Qt 6.4.
    function completePendingWork() {
        if (signedInLoader.status === Loader.Loading)
            signedInLoader.asynchronous = false
    }

    // Builds or drops the frame for the current user. A frame being built is finished first: Qt 6.4 can
    // crash when an incubation is cancelled half-way (a menu torn down inside it), so a change of user
    // during the build takes effect once the frame is complete.
    function updateSignedInFrame() {
        if (signedInLoader.status === Loader.Loading)
            return
        const frame = signedInLoader.item
        if (root.user !== null && (frame === null || frame.user !== root.user))
            signedInLoader.setSource("frame/SignedInView.qml", { "window": root, "user": root.user })
        else if (root.user === null && frame !== null)
            signedInLoader.source = ""
    }

    Column {
        id: notificationsContainer
        objectName: "notificationsContainer"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: 40
        height: Math.min(implicitHeight, root.height / 2)
        spacing: Utils.styles.notificationSpacing
        clip: true
        Material.theme: Material.Dark

        Pane {
            id: clearAllPane
            objectName: "clearAllPane"
            visible: notificationsContainer.children.length > 4
            padding: 0
            Material.elevation: 20

            ToolButton {
                objectName: "clearAllButton"
                text: "Clear all notifications"
                font.capitalization: Font.MixedCase
                icon.source: "qrc:///assets/icons/delete_black_18dp.svg"
                onClicked: {
                    const items = []
                    for (let i = 0; i < notificationsContainer.children.length; ++i) {
                        const child = notificationsContainer.children[i]
                        if (child !== clearAllPane)
                            items.push(child)
                    }
                    for (const item of items) {
                        item.parent = null
                        item.destroy()
                    }
                }
            }
        }
    }

    ConfirmPopup {
        id: confirmPopup
    }
}
