import QtQuick
import QtQuick.Controls
import QtTest
import Vantorix
import Vantorix.Core

// The account page in the signed-in frame against the demo service: tabs shared with the session and
// their icon-only form, the profile form (VAT rules, the save queue and its requests), the notification
// preferences and the application settings.
ViewsCase {
    name: "MyAccount"

    readonly property var view: page && page.accountTab !== undefined ? page : null

    function openAccount(tab, w) {
        signIn(w)
        openPage(MainContext.Account, "accountTab", tab)
    }

    function test_tabsFollowTheSession() {
        signIn(1200)
        mouseClick(frame.sidebar.paymentsButton)
        tryVerify(() => view !== null, 5000)
        compare(view.pageIndex, MyAccountView.PaymentHistoryPage)
        verify(view.paymentsTab.visible && !view.accountTab.visible)

        mouseClick(findChild(view, "tabActivity"))
        compare(view.pageIndex, MyAccountView.AccountActivity)
        compare(session.myAccountPageIndex, MyAccountView.AccountActivity)

        // The sidebar's entry while the page is open moves the tab.
        mouseClick(frame.sidebar.paymentsButton)
        compare(view.tabBar.currentIndex, MyAccountView.PaymentHistoryPage)
        compare(view.tabBar.currentItem.text, "Payments")
    }

    function test_iconOnlyTabsBelowTheBreakWidth_data() {
        return [
            { tag: "wide", width: 1300, texts: true },
            { tag: "narrow", width: 700, texts: false },
        ]
    }
    function test_iconOnlyTabsBelowTheBreakWidth(data) {
        openAccount(MyAccountView.AccountInfoPage, data.width)
        const tab = findChild(view, "tabSettings")
        compare(tab.text, data.texts ? "Settings" : "")
        if (!data.texts)
            compare(tab.width, 60)
        verify(view.width >= 800 === data.texts)
    }

    function test_floatingToolbarWithTheSidebarClosed() {
        openAccount(MyAccountView.AccountInfoPage, 900)
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
        openPage(MainContext.Account, "accountTab", MyAccountView.AccountInfoPage)
        tryVerify(() => testKit.requestCount("get_user_logs") > before, 5000)
        wait(100)
        compare(testKit.requestCount("get_user_logs"), before + 1)
        compare(sent("get_user_logs", "page"), "0")
        compare(sent("get_user_logs", "per_page"), "15")
        tryVerify(() => view.accountLogs.totalLogEntries >= 64, 5000)
        compare(view.activityTab.logsView.totalLogEntries, view.accountLogs.totalLogEntries)
    }

    function test_profileFieldsFollowTheUser() {
        openAccount(MyAccountView.AccountInfoPage)
        const tab = view.accountTab
        compare(tab.firstNameField.text, session.user.firstName)
        compare(findChild(tab, "emailField").text, session.user.email)
        session.user.lastName = "Polled"
        compare(tab.lastNameField.text, "Polled")
        // An edit stops the field from following.
        retype(tab.firstNameField, "x")
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
        openAccount(MyAccountView.AccountInfoPage)
        const tab = view.accountTab
        retype(tab.phoneField, "+40.123")
        const before = testKit.requestCount("update_user_data")
        testKit.control("fault", "action=update_user_data&kind=delay&delay_ms=600&count=1")
        mouseClick(view.updateButton)
        tryVerify(() => tab.cover.visible, 2000)
        verify(!view.updateButton.enabled)
        tryVerify(() => testKit.requestCount("update_user_data") === before + 1, 5000)
        tryVerify(() => !tab.cover.visible, 5000)
        verify(view.updateButton.enabled)
        compare(session.user.phoneNumber, "+40.123")
        compare(sent("update_user_data", "phone"), "+40.123")
        for (const key of ["email", "first_name", "last_name", "eu_resident", "vat_number", "valid_vat",
                           "user_country", "phone", "company_name", "company_address"])
            verify(sent("update_user_data", key) !== undefined, key)
    }

    function test_saveWaitsForTheUserDataPoll() {
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
        openAccount(MyAccountView.AccountInfoPage)
        const tab = view.accountTab
        const editor = view.profileEditor
        // Validate a number first: EU company, the service knows the number.
        retype(tab.vatInput, "de123456789")
        verify(!editor.vatValidated)
        verify(!tab.validateButton.visible)
        tryVerify(() => testKit.pendingRequests() === 0 && !editor.savePending, 5000)
        mouseClick(reveal(tab.euCheck))
        verify(editor.euResident)
        verify(!view.updateButton.enabled)
        compare(findChild(tab.vatField, "fieldMessage").text,
                "Vat number must be validated for EU company VAT exemption.")
        verify(findChild(tab.vatField, "fieldMessage").visible)
        compare(tab.validateButton.text, "Validate")
        verify(tab.validateButton.visible && tab.validateButton.enabled)
        mouseClick(reveal(tab.validateButton))
        const saves = testKit.requestCount("update_user_data")
        answer(true, "Validate",
               "If validation succeeds the company address and country will be replaced with the validated ones.")
        tryVerify(() => editor.vatValidated, 5000)
        compare(tab.validateButton.text, "Valid ✓")
        tryVerify(() => testKit.requestCount("update_user_data") === saves + 1, 5000)
        tryVerify(() => !editor.updatingUserData, 5000)
        compare(sent("update_user_data", "valid_vat"), "true")
        compare(sent("update_user_data", "vat_number"), "DE123456789")
        verify(view.updateButton.enabled)

        // One more character: no longer validated, EU box unchecked, a silent save of the whole form.
        tab.vatInput.forceActiveFocus()
        tab.vatInput.cursorPosition = tab.vatInput.length
        keyClick("1")
        verify(!editor.vatValidated)
        verify(!tab.euCheck.checked)
        tryVerify(() => testKit.requestCount("update_user_data") === saves + 2, 5000)
        compare(sent("update_user_data", "valid_vat"), "false")
        compare(sent("update_user_data", "eu_resident"), "false")
        compare(sent("update_user_data", "vat_number"), "DE1234567891")
        // A silent save shows no cover.
        verify(!editor.updatingUserData)
        tryVerify(() => !tab.cover.visible, 3000)
    }

    function test_changePasswordAsksFirst() {
        openAccount(MyAccountView.AccountInfoPage)
        mouseClick(reveal(view.accountTab.changePasswordButton))
        answer(false, "Change Password", "Are you sure you want to change your password? This will log you out and take you to the password reset screen.")
        verify(!session.signingOutStarted)
    }

    // --- Notifications tab ---

    function emailRow(index) {
        return view.notificationsTab.eventRows.itemAt(index)
    }
    function setEmailChoices(on) {
        for (let n = 1; n <= 9; ++n)
            session.user.setEmailNotification(n, on(n))
    }

    function test_emailSwitchSendsTheNumbersThatAreOn() {
        openAccount(MyAccountView.EmailSettingsPage)
        const prefs = session.emailPreferences
        // Only "Credits Purchased" on: switching on "Low Credits" sends 1,3.
        setEmailChoices(n => n === 1)
        mouseClick(reveal(emailRow(2).emailSwitch.control))
        verify(prefs.updatingEmailSettings)
        verify(!emailRow(0).emailSwitch.enabled)
        verify(!view.notificationsTab.emailMaster.enabled)
        // The switch shows the user's value until the service has accepted the change.
        verify(!emailRow(2).emailSwitch.control.checked)
        tryVerify(() => !prefs.updatingEmailSettings, 5000)
        compare(sent("update_user_data", "email_notifications"), "1,3")
        verify(session.user.notificationLowCredits)
        verify(emailRow(2).emailSwitch.control.checked)

        // Only "Machine Deleted" on: the master switch is on; switching it off sends ",".
        setEmailChoices(n => n === 8)
        verify(view.notificationsTab.emailMaster.control.checked)
        mouseClick(reveal(emailRow(7).emailSwitch.control))
        tryVerify(() => !prefs.updatingEmailSettings, 5000)
        compare(sent("update_user_data", "email_notifications"), ",")
        verify(!view.notificationsTab.emailMaster.control.checked)
    }

    function test_emailMasterSwitch_data() {
        return [
            { tag: "all on", start: false, sent: ",1,2,3,4,5,6,7,8,9", message: "Enabled all email notifications" },
            { tag: "all off", start: true, sent: ",,", message: "Disabled all email notifications" },
        ]
    }
    function test_emailMasterSwitch(data) {
        openAccount(MyAccountView.EmailSettingsPage)
        setEmailChoices(n => data.start)
        mouseClick(reveal(view.notificationsTab.emailMaster.control))
        tryVerify(() => !session.emailPreferences.updatingEmailSettings, 5000)
        compare(sent("update_user_data", "email_notifications"), data.sent)
        for (let n = 1; n <= 9; ++n)
            compare(session.user.emailNotification(n), !data.start, "e-mail choice " + n)
        waitNote(data.message)
    }

    function test_inAppAndSystemMasterSwitches() {
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
        openAccount(MyAccountView.EmailSettingsPage)
        const field = view.notificationsTab.hoursField
        const before = testKit.requestCount("update_user_data")
        retype(field, "0")
        keyClick(Qt.Key_Return)
        wait(200)
        compare(testKit.requestCount("update_user_data"), before)
        retype(field, "245")
        compare(field.text, "24")
        keyClick(Qt.Key_Return)
        verify(!field.activeFocus)
        verify(!field.enabled)
        tryVerify(() => field.enabled, 5000)
        compare(sent("update_user_data", "machine_running_for_x_hours_value"), "24")
        compare(session.user.machineRunningForXHours, 24)
        retype(field, "a")
        compare(field.text, "24")
    }

    function test_creditGuardField() {
        openAccount(MyAccountView.EmailSettingsPage)
        const field = view.notificationsTab.creditGuardField
        compare(field.text, "2")
        retype(field, "0")
        keyClick(Qt.Key_Return)
        compare(session.creditGuardHours, 0)
        compare(testKit.settingsValue("creditGuardHours"), 0)
        retype(field, "12")
        keyClick(Qt.Key_Tab)
        compare(session.creditGuardHours, 12)
        session.creditGuardHours = 3
        compare(field.text, "3")
    }

    // --- Settings tab ---

    function test_settingsStoreTheirValues() {
        signIn(1200)
        context.autoStartup = true
        openPage(MainContext.Account, "accountTab", MyAccountView.AppSettingsPage)
        const settings = view.settingsTab
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
        compare(testKit.settingsValue("showVMConnectionWarningNotification"), false)
        mouseClick(reveal(settings.previewCheck))
        compare(testKit.settingsValue("enableDesktopPreviews"), false)
    }

    // The Remote Desktop section writes each choice to the session's connection settings, stored at once.
    function test_remoteDesktopSection() {
        openAccount(MyAccountView.AppSettingsPage)
        const rdp = findChild(view.settingsTab, "remoteDesktopSettings")
        const connection = session.connection
        compare(rdp.modeBox.currentIndex, 0)
        verify(!rdp.widthField.visible)
        rdp.modeBox.currentIndex = 2
        rdp.modeBox.activated(2)
        compare(testKit.settingsValue("rdpDisplayMode"), 2)
        verify(rdp.widthField.visible)
        retype(rdp.widthField, "1600")
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

        // The renderer and the theme: a choice other than the one in effect is stored and needs a restart.
        for (const [box, index, key, value, restart] of [[settings.renderingBox, 2, "storedRendering", "Software", true],
                                                         [settings.renderingBox, 0, "storedRendering", "Automatic", false],
                                                         [settings.themeBox, 1, "storedTheme", "Dark", true]]) {
            box.currentIndex = index
            box.activated(index)
            compare(context[key], value)
            compare(settings.restartButton.visible, restart, value)
        }
        mouseClick(reveal(settings.restartButton))
        answer(false, "Restart vantorix?", "A restart is required to apply the new settings. Would you like to restart now?")
        compare(context.restarts, 0)
        mouseClick(reveal(settings.restartButton))
        answer(true)
        tryCompare(context, "restarts", 1)
    }

    function test_unknownThemeShowsLightAndAsksForRestart() {
        signIn(1200)
        context.currentTheme = "System"
        openPage(MainContext.Account, "accountTab", MyAccountView.AppSettingsPage)
        compare(view.settingsTab.themeBox.currentText, "Light")
        verify(view.settingsTab.restartButton.visible)
    }
}
