import QtQuick
import QtQuick.Controls
import QtTest
import Vantorix
import Vantorix.Core

TestCase {
    id: testCase
    name: "SignIn"
    when: windowShown
    visible: true
    width: 1200
    height: 720

    property var root: null
    property var view: null
    property var form: null
    property int signedOutCount: 0

    readonly property string demoLogin: "demo"
    readonly property string demoPassword: "Demo-Pass1!"

    function notes(area) {
        const list = []
        for (let i = 0; i < area.children.length; ++i) {
            if (area.children[i].objectName !== "clearAllPane")
                list.push(area.children[i])
        }
        return list
    }
    function texts(area) {
        return notes(area).map(n => n.text)
    }
    function topArea() {
        return view.notificationArea
    }
    function bottomArea() {
        return root.notificationsContainer
    }
    function makeRoot() {
        const component = Qt.createComponent("qrc:/Vantorix/main.qml")
        compare(component.status, Component.Ready, component.errorString())
        root = createTemporaryObject(component, testCase)
        verify(root)
        view = root.authView
        form = view.loginForm
        root.signedOut.connect(() => ++signedOutCount)
        tryVerify(() => testKit.pendingRequests() === 0, 5000)
    }
    function fill(id, password) {
        form.userIdField.text = id
        form.passwordField.text = password
    }
    function waitIdle() {
        tryVerify(() => !view.controller.loginBusy && testKit.pendingRequests() === 0, 10000)
    }

    function init() {
        testKit.control("reset")
        testKit.clearSettings()
        testKit.setServiceUnreachable(false)
        context.reset()
        signedOutCount = 0
        makeRoot()
    }

    function test_buttonEnabling_data() {
        return [
            { tag: "both empty", id: "", password: "", enabled: false },
            { tag: "short id", id: "d", password: "12345678", enabled: false },
            { tag: "short password", id: "de", password: "1234567", enabled: false },
            { tag: "minimums", id: "de", password: "12345678", enabled: true },
        ]
    }
    function test_buttonEnabling(data) {
        fill(data.id, data.password)
        compare(form.loginButton.enabled, data.enabled)
    }

    function test_returnKeyOnlyWhenValid() {
        fill("d", demoPassword)
        form.passwordField.forceActiveFocus()
        keyClick(Qt.Key_Return)
        wait(50)
        compare(testKit.requestCount("login_user"), 0)
        fill(demoLogin, demoPassword)
        form.userIdField.forceActiveFocus()
        keyClick(Qt.Key_Return)
        tryVerify(() => root.user !== null, 10000)
        compare(testKit.requestCount("login_user"), 1)
    }

    function test_busyState() {
        testKit.control("fault", "action=login_user&kind=hold")
        fill(demoLogin, demoPassword)
        mouseClick(form.loginButton)
        tryVerify(() => view.controller.loginBusy)
        verify(!form.enabled)
        compare(form.loginButton.text, "")
        verify(findChild(form.loginButton, "busyIndicator").running)
        // Neither the button nor Return send a second request meanwhile.
        form.loginButton.clicked()
        form.submit()
        compare(testKit.pendingRequests(), 1)
        // The held request is dropped by the service: no answer at all.
        testKit.control("reset")
        waitIdle()
        // (A signed-in frame that follows keeps the form busy until it is complete.)
        tryVerify(() => form.enabled, 10000)
        compare(form.loginButton.text, "Log In")
    }

    function test_success() {
        fill(demoLogin, demoPassword)
        mouseClick(form.loginButton)
        tryVerify(() => root.user !== null, 10000)
        verify(root.user instanceof User)
        compare(root.user.email, "demo@vantorix.example")
        compare(root.user.password, demoPassword)
        // The signed-in frame is built asynchronously: until it is complete the sign-in view stays, busy.
        const frame = root.signedInFrame
        verify(frame.status === Loader.Ready || (view.visible && form.busy && !frame.visible))
        tryVerify(() => frame.status === Loader.Ready && frame.visible, 10000)
        verify(!view.visible)
        verify(!form.busy)
        compare(testKit.settingsValue("loginUserId"), demoLogin)
        const stored = testKit.settingsValue("loginPassword")
        verify(stored !== demoPassword && String(stored).indexOf(demoPassword) < 0, stored)
        compare(testKit.unprotect(stored), demoPassword)
        compare(String(testKit.settingsValue("autologin")), "true")
        compare(root.settings.rememberedPassword, demoPassword)
    }

    function test_failures_data() {
        return [
            { tag: "wrong password", fault: "", password: "Wrong-Pass1!", top: true,
              level: Notification.Level.Error, text: "" },
            { tag: "error_message", fault: "kind=error_message&message=Account%20locked", password: demoPassword,
              top: true, level: Notification.Level.Error, text: "Account locked" },
            { tag: "unexpected", fault: "kind=missing_key", password: demoPassword, top: true,
              level: Notification.Level.Error, text: "Unexpected API response" },
            { tag: "not json", fault: "kind=not_json", password: demoPassword, top: false,
              level: Notification.Level.Error, text: "Invalid JSON API response" },
        ]
    }
    function test_failures(data) {
        if (data.fault !== "")
            testKit.control("fault", "action=login_user&count=1&" + data.fault)
        fill(demoLogin, data.password)
        mouseClick(form.loginButton)
        waitIdle()
        const area = data.top ? topArea() : bottomArea()
        const other = data.top ? bottomArea() : topArea()
        tryVerify(() => notes(area).length === 1)
        compare(notes(other).length, 0)
        const note = notes(area)[0]
        if (data.text !== "")
            compare(note.text, data.text)
        verify(Qt.colorEqual(note.backgroundColor, "#f44336"))
        compare(note.alignment, data.top ? Notification.Align.Center : Notification.Align.Left)
        compare(note.lifespan, 10000)
        compare(root.user, null)
        verify(form.enabled)
        compare(testKit.settingsValue("loginUserId"), undefined)
    }

    function test_statusFailureShowsNothing_data() {
        return [{ tag: "500", status: 500, signedOut: 0 }, { tag: "401", status: 401, signedOut: 1 }]
    }
    function test_statusFailureShowsNothing(data) {
        testKit.control("fault", "action=login_user&count=1&kind=status&status=" + data.status)
        fill(demoLogin, demoPassword)
        mouseClick(form.loginButton)
        waitIdle()
        wait(50)
        compare(notes(topArea()).length, 0)
        compare(notes(bottomArea()).length, 0)
        compare(signedOutCount, data.signedOut)
    }

    function test_unreachableService() {
        testKit.setServiceUnreachable(true)
        fill(demoLogin, demoPassword)
        mouseClick(form.loginButton)
        waitIdle()
        compare(texts(topArea()), ["Unable to reach Vantorix. Are you connected to the internet?"])
        compare(root.user, null)
    }

    function test_automaticSignIn_data() {
        return [
            { tag: "all set", autologin: true, password: "Demo-Pass1!", signedIn: true, expected: true },
            { tag: "no autologin", autologin: false, password: "Demo-Pass1!", signedIn: false, expected: false },
            { tag: "empty password", autologin: true, password: "", signedIn: false, expected: false },
            { tag: "someone signed in", autologin: true, password: "Demo-Pass1!", signedIn: true, expected: false,
              already: true },
        ]
    }
    function test_automaticSignIn(data) {
        root.settings.rememberCredentials(demoLogin, data.password)
        root.settings.autologin = data.autologin
        if (data.already) {
            fill(demoLogin, demoPassword)
            mouseClick(form.loginButton)
            tryVerify(() => root.user !== null, 10000)
        }
        const before = testKit.requestCount("login_user")
        // Started hidden: nothing until the window shows.
        view.windowVisible = false
        wait(50)
        compare(testKit.requestCount("login_user"), before)
        view.windowVisible = true
        waitIdle()
        compare(testKit.requestCount("login_user") - before, data.expected ? 1 : 0)
        if (data.expected)
            tryVerify(() => root.user !== null)
    }

    function test_storedPasswordThatCannotBeUnprotected() {
        testKit.setSettingsValue("loginUserId", demoLogin)
        testKit.setSettingsValue("loginPassword", "Demo-Pass1!") // clear text from an old version
        testKit.setSettingsValue("autologin", true)
        makeRoot()
        compare(root.settings.rememberedPassword, "")
        compare(root.authView.loginForm.passwordField.text, "")
        compare(root.authView.loginForm.userIdField.text, demoLogin)
        root.authView.windowVisible = false
        root.authView.windowVisible = true
        wait(50)
        compare(testKit.requestCount("login_user"), 0)
    }

    function test_fieldsFollowTheSettingsUntilTyped() {
        root.settings.rememberCredentials(demoLogin, demoPassword)
        compare(form.userIdField.text, demoLogin)
        compare(form.passwordField.text, demoPassword)
        // After a sign-out the password is forgotten; the id stays.
        mouseClick(form.loginButton)
        tryVerify(() => root.user !== null, 10000)
        root.settings.loginPassword = ""
        root.signedOut()
        verify(view.visible)
        verify(!form.busy)
        // A frame still being built at the sign-out is finished, then dropped.
        tryVerify(() => root.signedInFrame.item === null && root.signedInFrame.status === Loader.Null, 10000)
        compare(form.passwordField.text, "")
        compare(form.userIdField.text, demoLogin)
    }

    function test_typedPasswordIsForgottenAtSignOut() {
        fill(demoLogin, demoPassword)
        mouseClick(form.loginButton)
        tryVerify(() => root.user !== null, 10000)
        root.settings.loginPassword = "" // what the session's sign-out does to the remembered sign-in
        root.signedOut()
        verify(view.visible)
        verify(!form.busy)
        // A frame still being built at the sign-out is finished, then dropped.
        tryVerify(() => root.signedInFrame.item === null && root.signedInFrame.status === Loader.Null, 10000)
        compare(form.passwordField.text, "")
        compare(form.userIdField.text, demoLogin)
        // The field follows the remembered sign-in again.
        root.settings.rememberCredentials(demoLogin, demoPassword)
        compare(form.passwordField.text, demoPassword)
    }

    function test_failedSignInKeepsTheTypedPassword() {
        fill(demoLogin, "Wrong-Pass9!")
        testKit.control("fault", "action=login_user&count=1&kind=status&status=401")
        mouseClick(form.loginButton)
        waitIdle()
        compare(signedOutCount, 1)
        compare(form.passwordField.text, "Wrong-Pass9!")
    }

    function test_triggerLoginOnlyAfterASignUp() {
        testKit.sendCommand("{\"triggerLogin\": true}")
        wait(50)
        compare(testKit.requestCount("login_user"), 0)
        compare(context.raised, 0) // raising is the host's business, not the view's
    }

    function test_triggerLoginAfterSignUp() {
        view.viewState = AuthView.ViewState.Register
        const signUp = view.registerForm
        findChild(signUp, "firstNameField").text = "Ada"
        findChild(signUp, "lastNameField").text = "Lovelace"
        signUp.usernameField.text = "ada"
        findChild(signUp, "emailField").text = "ada@example.org"
        signUp.passwordField.text = "Engine-1843!"
        signUp.termsCheck.checked = true
        mouseClick(signUp.signUpButton)
        tryCompare(view, "viewState", AuthView.ViewState.Login, 10000)
        verify(testKit.activate("ada@example.org"))
        // A text true, or a false, is not the command.
        testKit.sendCommand("{\"triggerLogin\": \"true\"}")
        testKit.sendCommand("{\"triggerLogin\": false}")
        wait(50)
        compare(testKit.requestCount("login_user"), 0)
        testKit.sendCommand("{\"triggerLogin\": true}")
        tryVerify(() => root.user !== null, 10000)
        compare(root.user.email, "ada@example.org")
        compare(form.userIdField.text, "ada@example.org")
        verify(testKit.lastRequest("login_user").indexOf("usr=ada%40example.org") >= 0)
    }

    function test_resetTokenFromTheCommandServer() {
        testKit.sendCommand("{\"setPasswordResetToken\": \"ABC123\", \"payment_status\": \"Paid\"}")
        const forgot = view.forgotPasswordForm
        compare(forgot.tokenField.text, "ABC123")
        compare(forgot.inputTokenMode, false)
        compare(view.viewState, AuthView.ViewState.Login)
        // The payment message is dropped while nobody is signed in.
        compare(notes(bottomArea()).length, 0)
        compare(context.systemNotifications.length, 0)
    }

    function test_paymentStatusDroppedWhileSignedOut() {
        testKit.sendCommand("{\"payment_status\": \"Payment completed\"}")
        wait(50)
        compare(notes(bottomArea()).length, 0)
        compare(notes(topArea()).length, 0)
        compare(context.systemNotifications.length, 0)
    }

    function test_windowSizeIsStoredOnceAfterTheLastChange() {
        root.width = 900
        root.height = 800
        wait(300)
        root.width = 1000
        compare(testKit.settingsValue("width"), undefined)
        tryVerify(() => Number(testKit.settingsValue("width")) === 1000, 5000)
        compare(Number(testKit.settingsValue("height")), 800)
    }
}
