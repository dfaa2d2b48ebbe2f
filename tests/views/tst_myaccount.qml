import QtQuick
import QtQuick.Controls
import QtTest
import Vantorix
import Vantorix.Core

// The account page in the signed-in frame against the demo service: tabs shared with the session and
// their icon-only form, the profile form (VAT rules, the save queue and its requests), the notification
// preferences and the application settings.
TestCase {
    id: testCase
    name: "MyAccount"
    when: windowShown
    visible: true
    width: 1200
    height: 720

    property var root: null
    readonly property var frame: root ? root.signedInFrame.item : null
    readonly property var session: frame ? frame.main : null
    readonly property var view: frame && frame.page && frame.page.accountTab !== undefined ? frame.page : null

    function signIn(w, userId) {
        testKit.control("reset")
        testKit.clearSettings()
        context.reset()
        testHost.reset()
        testCase.width = w
        const component = Qt.createComponent("qrc:/Vantorix/main.qml")
        compare(component.status, Component.Ready, component.errorString())
        root = createTemporaryObject(component, testCase)
        root.width = w
        root.height = 720
        tryVerify(() => testKit.pendingRequests() === 0, 5000)
        root.authView.loginForm.userIdField.text = userId === undefined ? "demo" : userId
        root.authView.loginForm.passwordField.text = "Demo-Pass1!"
        mouseClick(root.authView.loginForm.loginButton)
        tryVerify(() => frame !== null && frame.completed, 10000)
        tryVerify(() => !session.loadingComputers, 10000)
    }

    function openAccount(tab) {
        session.myAccountPageIndex = tab
        session.pageIndex = MainContext.Account
        tryVerify(() => view !== null, 5000)
        // Let the sidebar and the frame's margins finish their animations before anything is clicked.
        tryVerify(() => frame.sidebar.x === (frame.sidebar.open ? 0 : -frame.sidebar.width), 3000)
        wait(350)
        tryVerify(() => testKit.pendingRequests() === 0, 5000)
    }

    // The decoded value of a parameter in a logged request path.
    function param(path, key) {
        const query = path.substring(path.indexOf("?") + 1)
        for (const part of query.split("&")) {
            const eq = part.indexOf("=")
            if (part.substring(0, eq) === key)
                return decodeURIComponent(part.substring(eq + 1).replace(/\+/g, " "))
        }
        return undefined
    }

    function typeText(text) {
        for (const ch of text)
            keyClick(ch)
    }

    // Scrolls the frame so that the item is in the window (the account page is taller than it).
    function reveal(item) {
        const flick = frame.flickable
        const y = item.mapToItem(flick.contentItem, 0, 0).y
        flick.contentY = Math.max(0, Math.min(y - 150, flick.contentHeight - flick.height))
        wait(50)
        return item
    }

    function cleanup() {
        // Nothing of this test may still be on its way when the next one starts (or the run ends).
        if (root)
            tryVerify(() => testKit.pendingRequests() === 0, 5000)
        root = null
    }

    function test_tabsFollowTheSession() {
        signIn(1200)
        mouseClick(frame.sidebar.paymentsButton)
        tryVerify(() => view !== null, 5000)
        compare(view.pageIndex, MyAccountView.PaymentHistoryPage)
        verify(view.paymentsTab.visible)
        verify(!view.accountTab.visible)
        verify(frame.sidebar.paymentsButton.activeMenuItem)

        mouseClick(findChild(view, "tabActivity"))
        compare(view.pageIndex, MyAccountView.AccountActivity)
        compare(session.myAccountPageIndex, MyAccountView.AccountActivity)
        verify(frame.sidebar.myAccountButton.activeMenuItem)
        verify(!frame.sidebar.paymentsButton.activeMenuItem)

        // The sidebar's entry while the page is open moves the tab.
        mouseClick(frame.sidebar.paymentsButton)
        compare(view.pageIndex, MyAccountView.PaymentHistoryPage)
        compare(view.tabBar.currentIndex, MyAccountView.PaymentHistoryPage)
        // The tab area is as high as the current tab.
        compare(view.tabBar.currentItem.text, "Payments")
    }

    function test_iconOnlyTabsBelowTheBreakWidth_data() {
        return [
            { tag: "wide", width: 1300, texts: true },
            { tag: "narrow", width: 700, texts: false },
        ]
    }
    function test_iconOnlyTabsBelowTheBreakWidth(data) {
        signIn(data.width)
        openAccount(MyAccountView.AccountInfoPage)
        const tab = findChild(view, "tabSettings")
        compare(tab.text, data.texts ? "Settings" : "")
        if (!data.texts)
            compare(tab.width, 60)
        verify(view.width >= 800 === data.texts)
    }

    function test_floatingToolbarWithTheSidebarClosed() {
        signIn(900)
        openAccount(MyAccountView.AccountInfoPage)
        const toolbar = view.extraControlsRow
        const tab = findChild(view, "tabSettings")
        const toggle = findChild(view, "accountToolbarToggle")
        verify(!toolbar.floating)
        frame.sidebar.open = false
        tryVerify(() => frame.sidebar.x === -frame.sidebar.width && frame.flickable.x === 0, 3000)
        wait(350)
        verify(view.width >= 800 && view.width < 1000, "width " + view.width)
        compare(tab.text, "Settings")
        verify(!toggle.visible)
        // Scrolled past its slot, the toolbar is pinned at the top, spans the whole scroll area and shows
        // the sidebar toggle; the tabs then need 1000 pixels for their texts.
        frame.flickable.contentY = 400
        tryVerify(() => toolbar.floating, 2000)
        compare(toolbar.mapToItem(frame.flickable, 0, 0).y, 0)
        compare(toolbar.width, frame.flickable.width)
        verify(toggle.visible)
        compare(tab.text, "")
        compare(tab.width, 60)
        // The toggle still flashes (the sidebar has just closed); a click is taken all the same.
        verify(toggle.flashing)
        mouseClick(toggle)
        verify(frame.sidebar.open)
        verify(!toggle.visible)
        frame.flickable.contentY = 0
        tryVerify(() => !toolbar.floating, 2000)
    }

    function test_accountLogAskedForOnOpening() {
        signIn(1200)
        const before = testKit.requestCount("get_user_logs")
        openAccount(MyAccountView.AccountInfoPage)
        tryVerify(() => testKit.requestCount("get_user_logs") > before, 5000)
        wait(100)
        compare(testKit.requestCount("get_user_logs"), before + 1)
        const path = testKit.lastRequest("get_user_logs")
        compare(param(path, "page"), "0")
        compare(param(path, "per_page"), "15")
        tryVerify(() => view.accountLogs.totalLogEntries >= 64, 5000)
        compare(view.activityTab.logsView.totalLogEntries, view.accountLogs.totalLogEntries)
    }

    function test_profileFieldsFollowTheUser() {
        signIn(1200)
        openAccount(MyAccountView.AccountInfoPage)
        const tab = view.accountTab
        compare(tab.firstNameField.text, session.user.firstName)
        compare(findChild(tab, "emailField").text, session.user.email)
        session.user.lastName = "Polled"
        compare(tab.lastNameField.text, "Polled")
        // An edit stops the field from following.
        tab.firstNameField.forceActiveFocus()
        tab.firstNameField.selectAll()
        keyClick(Qt.Key_X)
        compare(view.profileEditor.firstName, "x")
        session.user.firstName = "Polled"
        compare(tab.firstNameField.text, "x")
    }

    // What the country box shows is what a save sends, also when the entries do not hold the stored one.
    function test_countryShownIsTheOneSaved_data() {
        return [
            { tag: "non-EU country with the EU box checked", country: "United States", eu: true, list: true },
            { tag: "no country yet", country: "NA", eu: false, list: true },
            { tag: "list not loaded yet", country: "Germany", eu: false, list: false },
        ]
    }
    function test_countryShownIsTheOneSaved(data) {
        signIn(1200)
        openAccount(MyAccountView.AccountInfoPage)
        const tab = view.accountTab
        session.user.country = data.country
        view.profileEditor.euResident = data.eu
        if (!data.list)
            tab.window = null
        compare(view.profileEditor.selectedCountry, data.country)
        compare(tab.countryBox.displayText, data.country)
        compare(tab.countryBox.currentIndex, tab.countryNames.indexOf(data.country))
    }

    function test_visibleSaveShowsTheCoverAndTheAnswer() {
        signIn(1200)
        openAccount(MyAccountView.AccountInfoPage)
        const tab = view.accountTab
        tab.phoneField.forceActiveFocus()
        tab.phoneField.selectAll()
        typeText("+40.123")
        const before = testKit.requestCount("update_user_data")
        testKit.control("fault", "action=update_user_data&kind=delay&delay_ms=600&count=1")
        mouseClick(view.updateButton)
        tryVerify(() => tab.cover.visible, 2000)
        verify(!view.updateButton.enabled)
        tryVerify(() => testKit.requestCount("update_user_data") === before + 1, 5000)
        tryVerify(() => !tab.cover.visible, 5000)
        verify(view.updateButton.enabled)
        compare(session.user.phoneNumber, "+40.123")
        const path = testKit.lastRequest("update_user_data")
        compare(param(path, "phone"), "+40.123")
        for (const key of ["email", "first_name", "last_name", "eu_resident", "vat_number", "valid_vat",
                           "user_country", "phone", "company_name", "company_address"])
            verify(param(path, key) !== undefined, key)
        testKit.control("fault/clear")
    }

    function test_saveWaitsForTheUserDataPoll() {
        signIn(1200)
        openAccount(MyAccountView.AccountInfoPage)
        const before = testKit.requestCount("update_user_data")
        // A user-data refresh is in flight: the save waits for it.
        session.updatingUserData = true
        mouseClick(view.updateButton)
        wait(400)
        compare(testKit.requestCount("update_user_data"), before)
        verify(!view.accountTab.cover.visible)
        session.updatingUserData = false
        tryVerify(() => testKit.requestCount("update_user_data") === before + 1, 3000)
        tryVerify(() => !session.updatingUserData, 5000)
    }

    function test_vatEditUnchecksEuAndSavesSilently() {
        signIn(1200)
        openAccount(MyAccountView.AccountInfoPage)
        const tab = view.accountTab
        const editor = view.profileEditor
        // Validate a number first: EU company, the service knows the number.
        tab.vatInput.forceActiveFocus()
        tab.vatInput.selectAll()
        typeText("de123456789")
        verify(!editor.vatValidated)
        verify(!tab.validateButton.visible)
        tryVerify(() => testKit.pendingRequests() === 0 && !editor.savePending, 5000)
        mouseClick(reveal(tab.euCheck))
        verify(editor.euResident)
        verify(tab.validateButton.visible)
        verify(!view.updateButton.enabled)
        compare(editor.vatMessage, "Vat number must be validated for EU company VAT exemption.")
        const message = findChild(tab.vatField, "fieldMessage")
        verify(message.visible)
        compare(message.text, "Vat number must be validated for EU company VAT exemption.")
        verify(findChild(tab, "vatInput") !== null)
        compare(tab.validateButton.text, "Validate")
        verify(tab.validateButton.enabled)
        mouseClick(reveal(tab.validateButton))
        const popup = root.confirmPopup
        tryVerify(() => popup.opened, 3000)
        compare(popup.title, "Validate")
        compare(popup.message, "If validation succeeds the company address and country will be replaced with the validated ones.")
        const saves = testKit.requestCount("update_user_data")
        mouseClick(findChild(popup.contentItem, "confirmOk"))
        tryVerify(() => editor.vatValidated, 5000)
        compare(tab.validateButton.text, "Valid ✓")
        tryVerify(() => testKit.requestCount("update_user_data") === saves + 1, 5000)
        tryVerify(() => !editor.updatingUserData, 5000)
        compare(param(testKit.lastRequest("update_user_data"), "valid_vat"), "true")
        compare(param(testKit.lastRequest("update_user_data"), "vat_number"), "DE123456789")
        verify(view.updateButton.enabled)

        // One more character: no longer validated, EU box unchecked, a silent save of the whole form.
        tab.vatInput.forceActiveFocus()
        tab.vatInput.cursorPosition = tab.vatInput.length
        keyClick("1")
        verify(!editor.vatValidated)
        verify(!tab.euCheck.checked)
        tryVerify(() => testKit.requestCount("update_user_data") === saves + 2, 5000)
        const path = testKit.lastRequest("update_user_data")
        compare(param(path, "valid_vat"), "false")
        compare(param(path, "eu_resident"), "false")
        compare(param(path, "vat_number"), "DE1234567891")
        // A silent save shows no cover.
        verify(!editor.updatingUserData)
        tryVerify(() => !tab.cover.visible, 3000)
    }

    function test_changePasswordAsksFirst() {
        signIn(1200)
        openAccount(MyAccountView.AccountInfoPage)
        mouseClick(reveal(view.accountTab.changePasswordButton))
        const popup = root.confirmPopup
        tryVerify(() => popup.opened, 3000)
        compare(popup.title, "Change Password")
        compare(popup.message, "Are you sure you want to change your password? This will log you out and take you to the password reset screen.")
        mouseClick(findChild(popup.contentItem, "confirmCancel"))
        tryVerify(() => !popup.visible)
        verify(!session.signingOutStarted)
    }

    // --- Notifications tab ---

    function emailRow(index) {
        return view.notificationsTab.eventRows.itemAt(index)
    }

    function test_emailSwitchSendsTheNumbersThatAreOn() {
        signIn(1200)
        openAccount(MyAccountView.EmailSettingsPage)
        const user = session.user
        const prefs = session.emailPreferences
        // Only "Credits Purchased" on: switching on "Low Credits" sends 1,3.
        for (let n = 1; n <= 9; ++n)
            user.setEmailNotification(n, n === 1)
        mouseClick(reveal(emailRow(2).emailSwitch.control))
        verify(prefs.updatingEmailSettings)
        verify(!emailRow(0).emailSwitch.enabled)
        verify(!view.notificationsTab.emailMaster.enabled)
        // The switch shows the user's value until the service has accepted the change.
        verify(!emailRow(2).emailSwitch.control.checked)
        tryVerify(() => !prefs.updatingEmailSettings, 5000)
        compare(param(testKit.lastRequest("update_user_data"), "email_notifications"), "1,3")
        verify(user.notificationLowCredits)
        verify(emailRow(2).emailSwitch.control.checked)

        // Only "Machine Deleted" on: the master switch is on; switching it off sends ",".
        for (let n = 1; n <= 9; ++n)
            user.setEmailNotification(n, n === 8)
        verify(view.notificationsTab.emailMaster.control.checked)
        mouseClick(reveal(emailRow(7).emailSwitch.control))
        tryVerify(() => !prefs.updatingEmailSettings, 5000)
        compare(param(testKit.lastRequest("update_user_data"), "email_notifications"), ",")
        verify(!view.notificationsTab.emailMaster.control.checked)
    }

    function test_emailMasterSwitch_data() {
        return [
            { tag: "all on", start: false, sent: ",1,2,3,4,5,6,7,8,9", message: "Enabled all email notifications" },
            { tag: "all off", start: true, sent: ",,", message: "Disabled all email notifications" },
        ]
    }
    function test_emailMasterSwitch(data) {
        signIn(1200)
        openAccount(MyAccountView.EmailSettingsPage)
        const user = session.user
        for (let n = 1; n <= 9; ++n)
            user.setEmailNotification(n, data.start)
        mouseClick(reveal(view.notificationsTab.emailMaster.control))
        tryVerify(() => !session.emailPreferences.updatingEmailSettings, 5000)
        compare(param(testKit.lastRequest("update_user_data"), "email_notifications"), data.sent)
        for (let n = 1; n <= 9; ++n)
            compare(user.emailNotification(n), !data.start, "e-mail choice " + n)
        tryVerify(() => notificationTexts().indexOf(data.message) >= 0, 3000)
    }

    function notificationTexts() {
        const texts = []
        const container = root.notificationsContainer
        for (let i = 0; i < container.children.length; ++i) {
            if (container.children[i].text !== undefined)
                texts.push(container.children[i].text)
        }
        return texts
    }

    function test_inAppAndSystemMasterSwitches() {
        signIn(1200)
        openAccount(MyAccountView.EmailSettingsPage)
        const tab = view.notificationsTab
        const keys = ["creditsPurchasedNotificationApp", "creditsDepletedNotificationApp", "lowCreditsNotificationApp",
                      "createdMachineNotificationApp", "startedMachineNotificationApp", "stoppedMachineNotificationApp",
                      "resetMachineNotificationApp", "deletedMachineNotificationApp", "runningForXHoursNotificationApp"]
        const before = testKit.requestCount("update_user_data")
        verify(tab.appMaster.control.checked)
        mouseClick(reveal(tab.appMaster.control))
        for (const key of keys) {
            compare(session[key], false, key)
            compare(testKit.settingsValue(key), false, key)
        }
        verify(!tab.appMaster.control.checked)
        // One switch on is enough for the master to show on.
        mouseClick(reveal(emailRow(4).appSwitch.control))
        verify(session.startedMachineNotificationApp)
        verify(tab.appMaster.control.checked)
        // The system column is left alone; nothing is sent for these switches.
        verify(session.lowCreditsNotificationSystem)
        mouseClick(reveal(tab.systemMaster.control))
        verify(!session.lowCreditsNotificationSystem)
        verify(!session.runningForXHoursNotificationSystem)
        compare(testKit.requestCount("update_user_data"), before)
    }

    function test_hoursField() {
        signIn(1200)
        openAccount(MyAccountView.EmailSettingsPage)
        const field = view.notificationsTab.hoursField
        verify(field !== null)
        const before = testKit.requestCount("update_user_data")
        field.forceActiveFocus()
        field.selectAll()
        keyClick("0")
        keyClick(Qt.Key_Return)
        wait(200)
        compare(testKit.requestCount("update_user_data"), before)
        field.selectAll()
        typeText("245")
        compare(field.text, "24")
        keyClick(Qt.Key_Return)
        verify(!field.activeFocus)
        verify(!field.enabled)
        tryVerify(() => field.enabled, 5000)
        compare(param(testKit.lastRequest("update_user_data"), "machine_running_for_x_hours_value"), "24")
        compare(session.user.machineRunningForXHours, 24)
        field.forceActiveFocus()
        field.selectAll()
        typeText("a")
        compare(field.text, "24")
    }

    function test_creditGuardField() {
        signIn(1200)
        openAccount(MyAccountView.EmailSettingsPage)
        const field = view.notificationsTab.creditGuardField
        compare(field.text, "2")
        field.forceActiveFocus()
        field.selectAll()
        typeText("0")
        keyClick(Qt.Key_Return)
        compare(session.creditGuardHours, 0)
        compare(testKit.settingsValue("creditGuardHours"), 0)
        field.selectAll()
        typeText("12")
        keyClick(Qt.Key_Tab)
        compare(session.creditGuardHours, 12)
        session.creditGuardHours = 3
        compare(field.text, "3")
    }

    // --- Settings tab ---

    function test_settingsStoreTheirValues() {
        signIn(1200)
        context.autoStartup = true
        openAccount(MyAccountView.AppSettingsPage)
        const settings = view.settingsTab
        verify(settings.visible)
        compare(findChild(settings, "versionLabel").text, "Vantorix app version: 1.0.0")
        verify(settings.autoStartCheck.checked)
        mouseClick(reveal(settings.autoStartCheck))
        compare(context.autoStartup, false)

        verify(settings.confirmationsCheck.checked)
        mouseClick(reveal(settings.confirmationsCheck))
        compare(session.confirmationPopupsEnabled, false)
        session.confirmationPopupsEnabled = true
        verify(settings.confirmationsCheck.checked)

        mouseClick(reveal(settings.rdpWarningCheck))
        compare(session.showVMConnectionWarningNotification, false)
        compare(testKit.settingsValue("showVMConnectionWarningNotification"), false)
        mouseClick(reveal(settings.previewCheck))
        compare(session.enableDesktopPreviews, false)
        compare(testKit.settingsValue("enableDesktopPreviews"), false)
    }

    // The Remote Desktop section writes each choice to the session's connection settings, stored at once.
    function test_remoteDesktopSection() {
        signIn(1200)
        openAccount(MyAccountView.AppSettingsPage)
        const rdp = findChild(view.settingsTab, "remoteDesktopSettings")
        verify(rdp !== null)
        const connection = session.connection
        compare(rdp.modeBox.currentIndex, 0)
        verify(!rdp.widthField.visible)
        rdp.modeBox.currentIndex = 2
        rdp.modeBox.activated(2)
        compare(connection.displayMode, 2)
        compare(testKit.settingsValue("rdpDisplayMode"), 2)
        verify(rdp.widthField.visible)
        rdp.widthField.forceActiveFocus()
        rdp.widthField.selectAll()
        typeText("1600")
        keyClick(Qt.Key_Tab)
        compare(connection.windowWidth, 1600)
        mouseClick(reveal(rdp.monitorsCheck))
        compare(connection.allMonitors, true)
        mouseClick(reveal(rdp.dynamicCheck))
        compare(connection.dynamicResolution, true)
        compare(rdp.scaleLabel.text, "100 %")
        connection.scalePercent = 175
        compare(rdp.scaleSlider.value, 3)
        compare(rdp.scaleLabel.text, "175 %")
        compare(testKit.settingsValue("rdpScalePercent"), 175)
    }

    function test_restartButtonFollowsTheChoices() {
        signIn(1200)
        openAccount(MyAccountView.AppSettingsPage)
        const settings = view.settingsTab
        verify(!settings.restartButton.visible)
        verify(!settings.restartNote.visible)
        compare(settings.scalingLabel.text, "100 %")

        settings.scalingSlider.increase()
        compare(settings.scalingLabel.text, "110 %")
        fuzzyCompare(context.storedScalingFactor, 1.1, 0.0001)
        verify(settings.restartButton.visible)
        verify(settings.restartNote.visible)
        fuzzyCompare(settings.previewText.scale, 1.1, 0.0001)
        settings.scalingSlider.decrease()
        verify(!settings.restartButton.visible)
        fuzzyCompare(context.storedScalingFactor, 1.0, 0.0001)
        compare(context.scalingFactorsStored.length, 2)

        settings.scalingSlider.value = settings.scalingSlider.from
        compare(settings.scalingLabel.text, "70 %")
        settings.scalingSlider.value = settings.scalingSlider.to
        compare(settings.scalingLabel.text, "150 %")
        settings.scalingSlider.value = 1.0
        verify(!settings.restartButton.visible)

        // The renderer: a choice other than the one in effect is stored and needs a restart.
        compare(settings.renderingBox.currentText, "Automatic")
        settings.renderingBox.currentIndex = 2
        settings.renderingBox.activated(2)
        compare(context.storedRendering, "Software")
        verify(settings.restartButton.visible)
        settings.renderingBox.currentIndex = 0
        settings.renderingBox.activated(0)
        compare(context.storedRendering, "Automatic")
        verify(!settings.restartButton.visible)

        // The theme: picking "Dark" stores it and needs a restart.
        settings.themeBox.currentIndex = 1
        settings.themeBox.activated(1)
        compare(context.storedTheme, "Dark")
        verify(settings.restartButton.visible)
        mouseClick(reveal(settings.restartButton))
        const popup = root.confirmPopup
        tryVerify(() => popup.opened, 3000)
        compare(popup.title, "Restart vantorix?")
        compare(popup.message, "A restart is required to apply the new settings. Would you like to restart now?")
        mouseClick(findChild(popup.contentItem, "confirmCancel"))
        tryVerify(() => !popup.visible)
        compare(context.restarts, 0)
        mouseClick(reveal(settings.restartButton))
        tryVerify(() => popup.opened, 3000)
        mouseClick(findChild(popup.contentItem, "confirmOk"))
        tryCompare(context, "restarts", 1)
    }

    function test_unknownThemeShowsLightAndAsksForRestart() {
        signIn(1200)
        context.currentTheme = "System"
        openAccount(MyAccountView.AppSettingsPage)
        const settings = view.settingsTab
        compare(settings.themeBox.currentText, "Light")
        verify(settings.restartButton.visible)
    }
}
