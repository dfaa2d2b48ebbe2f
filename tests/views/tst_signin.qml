import QtQuick
import QtQuick.Controls
import QtTest
import Vantorix
import Vantorix.Core

// The sign-in form against the demo service: the button rule, the busy state, success and what is
// remembered, the refusals and where they are said, automatic sign-in, the fields after a sign-out and
// the commands of the local command server while nobody is signed in.
ViewsCase {
    name: "SignIn"

    property var view: null
    property var form: null
    property int signedOutCount: 0

    function makeRoot(prepare) {
        start(1200, prepare)
        view = root.authView
        form = view.loginForm
        root.signedOut.connect(() => ++signedOutCount)
    }
    function fill(id, password) {
        form.userIdField.text = id
        form.passwordField.text = password
    }
    function waitIdle() {
        tryVerify(() => !view.controller.loginBusy && testKit.pendingRequests() === 0, 10000)
    }
    function signInHere() {
        fill("demo", demoPassword)
        mouseClick(form.loginButton)
        tryVerify(() => root.user !== null, 10000)
    }

    function init() {
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
        fill("demo", demoPassword)
        form.userIdField.forceActiveFocus()
        keyClick(Qt.Key_Return)
        tryVerify(() => root.user !== null, 10000)
        compare(testKit.requestCount("login_user"), 1)
    }

    function test_busyState() {
        testKit.control("fault", "action=login_user&kind=hold")
        fill("demo", demoPassword)
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
        fill("demo", demoPassword)
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
        compare(testKit.settingsValue("loginUserId"), "demo")
        const stored = testKit.settingsValue("loginPassword")
        verify(stored !== demoPassword && String(stored).indexOf(demoPassword) < 0, stored)
        compare(testKit.unprotect(stored), demoPassword)
        compare(String(testKit.settingsValue("autologin")), "true")
        compare(root.settings.rememberedPassword, demoPassword)
    }

    // Each refusal is said once, in its area, in red for ten seconds; statuses say nothing (a 401 signs
    // out); the typed password stays and nothing is remembered.
    function test_failures_data() {
        return [
            { tag: "wrong password", fault: "", password: "Wrong-Pass1!", top: true, text: "" },
            { tag: "error_message", fault: "kind=error_message&message=Account%20locked", top: true,
              text: "Account locked" },
            { tag: "unexpected", fault: "kind=missing_key", top: true, text: "Unexpected API response" },
            { tag: "not json", fault: "kind=not_json", top: false, text: "Invalid JSON API response" },
            { tag: "unreachable", unreachable: true, top: true,
              text: "Unable to reach Vantorix. Are you connected to the internet?" },
            { tag: "500", fault: "kind=status&status=500", silent: true, signedOut: 0 },
            { tag: "401", fault: "kind=status&status=401", password: "Wrong-Pass9!", silent: true, signedOut: 1 },
        ]
    }
    function test_failures(data) {
        if (data.fault)
            testKit.control("fault", "action=login_user&count=1&" + data.fault)
        testKit.setServiceUnreachable(data.unreachable === true)
        fill("demo", data.password || demoPassword)
        mouseClick(form.loginButton)
        waitIdle()
        if (data.silent) {
            wait(50)
            compare(notes(view.notificationArea).length + notes().length, 0)
            compare(signedOutCount, data.signedOut)
        } else {
            const area = data.top ? view.notificationArea : root.notificationsContainer
            tryVerify(() => notes(area).length === 1)
            compare(notes(data.top ? root.notificationsContainer : view.notificationArea).length, 0)
            const note = notes(area)[0]
            if (data.text !== "")
                compare(note.text, data.text)
            verify(Qt.colorEqual(note.backgroundColor, "#f44336"))
            compare(note.alignment, data.top ? Notification.Align.Center : Notification.Align.Left)
            compare(note.lifespan, 10000)
        }
        compare(root.user, null)
        verify(form.enabled)
        compare(form.passwordField.text, data.password || demoPassword)
        compare(testKit.settingsValue("loginUserId"), undefined)
    }

    function test_automaticSignIn_data() {
        return [
            { tag: "all set", autologin: true, password: "Demo-Pass1!", expected: true },
            { tag: "no autologin", autologin: false, password: "Demo-Pass1!", expected: false },
            { tag: "empty password", autologin: true, password: "", expected: false },
            { tag: "someone signed in", autologin: true, password: "Demo-Pass1!", expected: false, already: true },
        ]
    }
    function test_automaticSignIn(data) {
        root.settings.rememberCredentials("demo", data.password)
        root.settings.autologin = data.autologin
        if (data.already)
            signInHere()
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
        makeRoot(() => {
            testKit.setSettingsValue("loginUserId", "demo")
            testKit.setSettingsValue("loginPassword", "Demo-Pass1!") // clear text from an old version
            testKit.setSettingsValue("autologin", true)
        })
        compare(root.settings.rememberedPassword, "")
        compare(form.passwordField.text, "")
        compare(form.userIdField.text, "demo")
        view.windowVisible = false
        view.windowVisible = true
        wait(50)
        compare(testKit.requestCount("login_user"), 0)
    }

    // After a sign-out the password is forgotten, whether it was remembered or typed; the id stays, and
    // the field follows the remembered sign-in again.
    function test_passwordForgottenAtSignOut_data() {
        return [{ tag: "remembered", remembered: true }, { tag: "typed", remembered: false }]
    }
    function test_passwordForgottenAtSignOut(data) {
        if (data.remembered) {
            root.settings.rememberCredentials("demo", demoPassword)
            compare(form.userIdField.text, "demo")
            compare(form.passwordField.text, demoPassword)
        }
        signInHere()
        root.settings.loginPassword = "" // what the session's sign-out does to the remembered sign-in
        root.signedOut()
        verify(view.visible)
        verify(!form.busy)
        // A frame still being built at the sign-out is finished, then dropped.
        tryVerify(() => root.signedInFrame.item === null && root.signedInFrame.status === Loader.Null, 10000)
        compare(form.passwordField.text, "")
        compare(form.userIdField.text, "demo")
        root.settings.rememberCredentials("demo", demoPassword)
        compare(form.passwordField.text, demoPassword)
    }

    function test_triggerLoginBeforeASignUpDoesNothing() {
        testKit.sendCommand("{\"triggerLogin\": true}")
        wait(50)
        compare(testKit.requestCount("login_user"), 0)
        compare(context.raised, 0) // raising is the host's business, not the view's
    }

    function test_resetTokenFromTheCommandServer() {
        testKit.sendCommand("{\"setPasswordResetToken\": \"ABC123\", \"payment_status\": \"Paid\"}")
        const forgot = view.forgotPasswordForm
        compare(forgot.tokenField.text, "ABC123")
        compare(forgot.inputTokenMode, false)
        compare(view.viewState, AuthView.ViewState.Login)
        // The payment message is dropped while nobody is signed in.
        compare(notes().length + notes(view.notificationArea).length, 0)
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
