import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtTest
import Vantorix
import Vantorix.Core

// The sign-up form and the password reset against the demo service: the button rule, refusals before
// sending and by the service, the company section (country list, VAT check), the reset by code.
ViewsCase {
    name: "SignUpAndReset"

    property var view: null
    property var form: null
    property var company: null

    function fillValid(username, email) {
        findChild(form, "firstNameField").text = "Ada"
        findChild(form, "lastNameField").text = "Lovelace"
        form.usernameField.text = username
        findChild(form, "emailField").text = email
        form.passwordField.text = "Engine-1843!"
        form.termsCheck.checked = true
    }
    // An EU company's number to check, and the question before the check answered.
    function askValidation(accept) {
        company.showExtraOptions = true
        company.euCheck.checked = true
        company.vatField.text = "DE123456789"
        company.validateButton.clicked() // may lie below the scrolled part of the form
        answer(accept)
    }

    function init() {
        start(1200)
        view = root.authView
        // The sign-up form is built when it is first shown.
        compare(view.registerForm, null)
        mouseClick(findChild(view.loginForm, "toRegisterButton"))
        compare(view.viewState, AuthView.ViewState.Register)
        form = view.registerForm
        company = form.company
        // The country list has arrived.
        tryVerify(() => root.countries.length > 2 && testKit.pendingRequests() === 0, 10000)
    }

    function test_buttonNeedsEveryFieldAndTheTerms() {
        verify(!form.signUpButton.enabled)
        fillValid("ada", "ada@example.org")
        verify(form.signUpButton.enabled)
        form.termsCheck.checked = false
        verify(!form.signUpButton.enabled)
        form.termsCheck.checked = true
        form.passwordField.text = "engine18430" // eight characters, but no special character
        verify(!form.signUpButton.enabled)
    }

    function test_refusedBeforeSending_data() {
        return [
            { tag: "username of 26", username: "a".repeat(26), eu: false,
              text: "Username cannot be more than 25 characters in length." },
            { tag: "EU without validated VAT", username: "ada", eu: true,
              text: "Vat number must be validated if \"EU company\" is checked" },
        ]
    }
    function test_refusedBeforeSending(data) {
        fillValid(data.username, "ada@example.org")
        company.euCheck.checked = data.eu
        mouseClick(form.signUpButton)
        compare(texts(view.notificationArea), [data.text])
        compare(notes(view.notificationArea)[0].alignment, Notification.Align.Center)
        compare(testKit.requestCount("register_user"), 0)
    }

    function test_success() {
        fillValid("ada", "ada+x@example.org")
        mouseClick(form.signUpButton)
        tryCompare(view, "viewState", AuthView.ViewState.Login, 10000)
        compare(texts(view.notificationArea), ["Activation email sent to 'ada+x@example.org'"])
        const note = notes(view.notificationArea)[0]
        compare(note.lifespan, 0)
        verify(Qt.colorEqual(note.backgroundColor, root.Material.accent))
        compare(view.loginForm.userIdField.text, "ada")
        compare(view.loginForm.passwordField.text, "Engine-1843!")
        compare(form.passwordField.text, "")
        compare(view.registerPassword, "Engine-1843!")
        compare(testKit.settingsValue("loginUserId"), "ada")
        compare(testKit.unprotect(testKit.settingsValue("loginPassword")), "Engine-1843!")
        // The plus sign reached the service as part of the address.
        compare(sent("register_user", "email"), "ada+x@example.org")
        // Once the account is activated, the command from the activation page signs in with the address.
        verify(testKit.activate("ada+x@example.org"))
        testKit.sendCommand("{\"triggerLogin\": true}")
        tryVerify(() => root.user !== null, 10000)
        compare(root.user.email, "ada+x@example.org")
        compare(view.loginForm.userIdField.text, "ada+x@example.org")
        compare(sent("login_user", "usr"), "ada+x@example.org")
        // The new user's session ends here: its refreshes would run on into the next test, where the
        // reset service no longer knows the user.
        tryVerify(() => frame !== null && frame.completed, 10000)
        session.signOut()
        tryVerify(() => root.user === null, 10000)
    }

    function test_serviceRefusal() {
        fillValid("demo", "other@example.org") // the user name is taken
        mouseClick(form.signUpButton)
        tryVerify(() => notes(view.notificationArea).length === 1 && testKit.pendingRequests() === 0, 10000)
        verify(Qt.colorEqual(notes(view.notificationArea)[0].backgroundColor, "#f44336"))
        compare(view.viewState, AuthView.ViewState.Register)
        verify(form.enabled)
    }

    function test_countryBoxFollowsTheEuFlag() {
        company.showExtraOptions = true
        const box = company.countryBox
        const uk = box.find("UK")
        verify(uk >= 0)
        box.currentIndex = uk
        box.activated(uk)
        compare(company.previousValue, "UK")
        company.euCheck.checked = true
        compare(box.find("UK"), -1)
        compare(box.currentIndex, 0)
        compare(box.currentText, "Austria")
        compare(company.previousValue, "Austria")
        const germany = box.find("Germany")
        box.currentIndex = germany
        box.activated(germany)
        // Unchecking keeps the chosen country.
        company.euCheck.checked = false
        compare(box.currentText, "Germany")
        compare(notes(view.notificationArea).length, 0) // no VAT number, no message
    }

    function test_countryChangeResetsTheVatNumber() {
        company.showExtraOptions = true
        company.vatField.text = "DE123456789"
        company.vatValidated = true
        const box = company.countryBox
        box.currentIndex = 3
        box.activated(3)
        compare(company.vatField.text, "")
        verify(!company.vatValidated)
        compare(texts(view.notificationArea), ["VAT number reset due to country change."])
    }

    function test_vatValidation() {
        company.showExtraOptions = true
        verify(!company.validateButton.visible)
        company.euCheck.checked = true
        verify(company.validateButton.visible)
        compare(company.validateButton.text, "Validate")
        company.vatField.text = "  de123456789 "
        compare(company.sanitizedValue, "DE123456789")
        company.validateButton.clicked() // may lie below the scrolled part of the form
        answer(true)
        tryVerify(() => company.vatValidated, 10000)
        verify(!root.gettingVATInfo)
        compare(company.validateButton.text, "Valid ✓")
        verify(!company.validateButton.enabled)
        compare(company.companyName, "Muster Software GmbH")
        compare(company.companyAddress, "Hauptstrasse 1, 10115 Berlin")
        compare(company.countryBox.currentText, "Germany")
        // Typing in the number asks for a new check.
        company.vatField.forceActiveFocus()
        keyClick(Qt.Key_End)
        keyClick(Qt.Key_0)
        verify(!company.vatValidated)
        // A validated EU company signs up.
        company.vatField.text = "DE123456789"
        company.vatValidated = true
        fillValid("firma", "firma@example.org")
        mouseClick(form.signUpButton)
        tryVerify(() => view.viewState === AuthView.ViewState.Login, 10000,
                  JSON.stringify(texts(view.notificationArea)) + JSON.stringify(texts()))
        const request = testKit.lastRequest("register_user")
        verify(request.indexOf("eu_resident=true&vat_number=DE123456789&valid_vat=true&country=Germany") >= 0, request)
    }

    // The number is changed while its check runs: the late answer validates nothing.
    function test_vatEditedWhileChecking() {
        testKit.control("fault", "action=get_vat_info&count=1&kind=delay&delay_ms=400")
        askValidation(true)
        tryVerify(() => root.gettingVATInfo, 5000)
        company.vatField.text = "DE999999999"
        tryVerify(() => !root.gettingVATInfo, 10000)
        wait(50)
        verify(!company.vatValidated)
        compare(company.companyName, "")
    }

    function test_vatValidationCancelled() {
        askValidation(false)
        compare(testKit.requestCount("get_vat_info"), 0)
    }

    function test_vatAnswerThatIsNotJson() {
        testKit.control("fault", "action=get_vat_info&count=1&kind=not_json")
        askValidation(true)
        tryVerify(() => notes().length === 1, 10000)
        compare(texts(), ["Invalid EU VAT number"])
        verify(!company.vatValidated)
    }

    function test_companySectionOpens() {
        const drawer = findChild(company, "companyDrawer")
        compare(drawer.height, 0)
        findChild(company, "companyToggle").clicked() // below the visible part of the scrolling area
        verify(company.showExtraOptions)
        tryVerify(() => drawer.height > 100)
        tryVerify(() => form.scrollView.ScrollBar.vertical.visible)
    }

    function test_resetCodeAndReset() {
        view.viewState = AuthView.ViewState.Login
        mouseClick(findChild(view.loginForm, "forgotPasswordButton"))
        compare(view.viewState, AuthView.ViewState.ForgotPassword)
        compare(view.previousViewState, AuthView.ViewState.Login)
        const forgot = view.forgotPasswordForm
        verify(!forgot.inputTokenMode)
        verify(!forgot.mainButton.enabled)
        forgot.userIdField.text = "demo"
        compare(forgot.mainButton.text, "Request Password Reset String Code")
        mouseClick(forgot.mainButton)
        tryVerify(() => forgot.inputTokenMode, 10000)
        compare(notes(view.notificationArea).length, 1)
        compare(notes(view.notificationArea)[0].lifespan, 0)
        compare(forgot.mainButton.text, "Reset Password")
        verify(!forgot.mainButton.enabled)
        // The code arrives through the local command server, as the reset page sends it.
        const code = testKit.resetCode("demo@vantorix.example")
        verify(code !== "")
        testKit.sendCommand(JSON.stringify({ "setPasswordResetToken": code }))
        compare(forgot.tokenField.text, code)
        // A new password the rules refuse is not sent.
        forgot.newPasswordField.text = "abcdefgh"
        mouseClick(forgot.mainButton)
        compare(texts(view.notificationArea)[1], "Password must contain at least one special character.")
        forgot.newPasswordField.text = "Brand-New-1!"
        mouseClick(forgot.mainButton)
        tryCompare(view, "viewState", AuthView.ViewState.Login, 10000)
        compare(view.previousViewState, AuthView.ViewState.ForgotPassword)
        verify(texts(view.notificationArea).indexOf("Password reset successful. Login using your new password. ") >= 0)
        // The new password signs in.
        logIn("demo", "Brand-New-1!")
        tryVerify(() => root.user !== null, 10000)
    }

    function test_forgotFormReturnsToRequestMode() {
        view.viewState = AuthView.ViewState.ForgotPassword
        const forgot = view.forgotPasswordForm
        forgot.enterTokenMode()
        view.viewState = AuthView.ViewState.Login
        verify(!forgot.inputTokenMode)
        view.viewState = AuthView.ViewState.ForgotPassword
        mouseClick(findChild(forgot, "backButton"))
        compare(view.viewState, view.previousViewState)
    }

    function test_resetPasswordSignalOpensTheForm() {
        root.resetPassword()
        compare(root.user, null)
        compare(view.viewState, AuthView.ViewState.ForgotPassword)
    }

    function test_narrowWindowCard() {
        const card = findChild(view, "authCard")
        compare(card.width, 400)
        compare(card.height, 700)
        root.width = 600
        compare(card.width, 600)
        compare(card.height, root.height)
    }
}
