import QtQuick
import Vantorix
import Vantorix.Core
import VantorixGallery

// Every screen and state of the program, grabbed at one window width per row in the theme of the run
// (CMakeLists.txt runs this file once per theme). Each grab is saved to the gallery folder and goes
// through the text-fit and contrast checks (screenchecks.cpp); the test fails with one line per finding.
// One window per width: the signed-out screens first, then one sign-in for all the signed-in ones.
ViewsCase {
    id: testCase
    name: "Gallery"

    property var findings: []
    readonly property int dialogHeight: 800

    function resize(w, h) {
        testCase.width = w
        testCase.height = h
        root.width = w
        root.height = h
    }
    // Tall enough for the whole page of the signed-in frame, so that one grab shows all of it.
    function fitPage() {
        frame.flickable.contentY = 0
        const top = frame.flickable.mapToItem(root, 0, 0).y
        const needed = Math.ceil(top + frame.flickableContent.height + frame.footer.height)
        resize(root.width, Math.max(dialogHeight, Math.min(needed, 3200)))
    }
    function waitIdle() {
        tryVerify(() => testKit.pendingRequests() === 0, 10000)
    }
    // Animations (fades, popup transitions, the sidebar) end well within the wait; a screen with findings
    // is grabbed once more a second later, so that only what stays wrong once everything has settled counts.
    function shoot(name, settleMs) {
        wait(settleMs === undefined ? 450 : settleMs)
        let found = Gallery.shoot(root, name)
        if (found.length > 0) {
            wait(1000)
            found = Gallery.shoot(root, name)
        }
        for (const line of found)
            console.warn(line)
        findings = findings.concat(found)
    }
    function closePopups() {
        if (root.confirmPopup.opened)
            root.confirmPopup.close()
        for (const dialog of [page.dialogs.deletion, page.dialogs.update, page.dialogs.reset])
            dialog.close()
        tryVerify(() => !root.confirmPopup.visible && !page.dialogs.deletion.visible
                  && !page.dialogs.update.visible && !page.dialogs.reset.visible, 3000)
    }
    function clearNotifications() {
        for (const note of notes().concat(notes(root.authView.notificationArea))) {
            note.parent = null
            note.destroy()
        }
    }

    function signedOutScreens() {
        const view = root.authView
        shoot("signin")
        mouseClick(findChild(view.loginForm, "toRegisterButton"))
        tryVerify(() => view.registerForm !== null && root.countries.length > 2, 10000)
        waitIdle()
        shoot("signup")
        view.registerForm.company.showExtraOptions = true
        // The fields' area scrolls: show its end, where the company fields are.
        let area = findChild(view.registerForm, "companyDrawer")
        while (area && area.contentY === undefined)
            area = area.parent
        verify(area, "the sign-up fields' scrolling area")
        wait(400) // the drawer opens
        area.contentY = area.contentHeight - area.height
        shoot("signup-company")
        area.contentY = 0
        view.registerForm.company.showExtraOptions = false
        view.viewState = AuthView.ViewState.ForgotPassword
        tryVerify(() => view.forgotPasswordForm !== null)
        shoot("reset-request")
        view.forgotPasswordForm.enterTokenMode()
        shoot("reset-code")
        view.viewState = AuthView.ViewState.Login
        clearNotifications()
    }

    function signInHere() {
        logIn("demo", demoPassword)
        tryVerify(() => page !== null && page.extraControlsRow !== undefined, 10000)
        tryVerify(() => !session.loadingComputers && session.computers.length > 0, 10000)
        waitIdle()
        tryVerify(() => !page.loadingVeil.visible, 3000)
    }

    function computersScreens() {
        // Every status, the deleted one included.
        session.filterStatusDeleted = false
        tryVerify(() => session.visibleComputers.some(c => c.status === Computer.Deleted), 3000)
        fitPage()
        // The grids' move and height transitions after the filter change and the resize.
        shoot("computers", 1200)
        const running = session.visibleComputers.find(c => c.status === Computer.Running && c.canStop)
        const stopped = session.visibleComputers.find(c => c.status === Computer.Terminated && c.canStart)
        session.selectedComputers = [running.identifier, stopped.identifier]
        tryVerify(() => page.bulkPanel.visible)
        shoot("computers-bulk")
        // A bulk action asks first.
        session.confirmationPopupsEnabled = true
        mouseClick(page.bulkPanel.stopButton)
        tryVerify(() => root.confirmPopup.opened, 3000)
        resize(root.width, dialogHeight)
        shoot("confirm-bulk-stop")
        closePopups()
        session.selectedComputers = []

        const dialogs = page.dialogs
        for (const [name, dialog, open] of [
                 ["dialog-delete", dialogs.deletion, () => session.requestComputerDeletion([running])],
                 ["dialog-update-password", dialogs.update, () => session.resetCachedPassword(running)],
                 ["dialog-reset-password", dialogs.reset, () => session.resetComputerPassword(running)]]) {
            open()
            tryVerify(() => dialog.opened)
            shoot(name)
            closePopups()
        }

        tryVerify(() => page.detailsPopupLoader.item !== null, 5000)
        const popup = page.detailsPopupLoader.item
        popup.pageIndex = ComputerViewPopup.Page.BillingHistory
        popup.show(running)
        tryVerify(() => popup.opened)
        waitIdle()
        shoot("details-billing")
        popup.pageIndex = ComputerViewPopup.Page.ActivityPage
        waitIdle()
        shoot("details-activity")
        popup.close()
        tryVerify(() => !popup.visible)
    }

    function notificationScreens() {
        clearNotifications()
        for (const [text, level] of [
                 ["Machine Office PC started.", Notification.Level.Info],
                 ["Your credits are running low: 5.40 left.", Notification.Level.Warning],
                 ["Could not stop Build Server: the service did not answer.", Notification.Level.Error],
                 ["Read more about <a href=\"https://example.org/pricing\">pricing</a>.",
                  Notification.Level.Info],
                 ["A fifth message brings the button that clears them all.", Notification.Level.Info]])
            root.notification(text, level, undefined, undefined, 0)
        shoot("notifications")
        clearNotifications()
    }

    function sidebarScreens() {
        const sidebar = frame.sidebar
        const wasOpen = sidebar.open
        for (const open of [true, false]) {
            sidebar.open = open
            tryVerify(() => sidebar.x === (open ? 0 : -sidebar.width), 3000)
            shoot(open ? "sidebar-open" : "sidebar-folded")
        }
        sidebar.open = wasOpen
        tryVerify(() => sidebar.x === (wasOpen ? 0 : -sidebar.width), 3000)
    }

    function createScreens() {
        // The veil over the view until the machine types have arrived (they are held back a while).
        testKit.control("fault", "action=list_available_vm_templates&kind=delay&delay_ms=4000&count=1")
        resize(root.width, dialogHeight)
        session.pageIndex = MainContext.CreateInstance
        tryVerify(() => page && page.loadingVeil !== undefined && page.typeBox !== undefined, 5000)
        tryVerify(() => page.loadingVeil.opacity === 1, 3000)
        shoot("create-loading")
        verify(page.loadingVeil.visible && session.computerTemplates.length === 0,
               "the machine types came before the grab")
        tryVerify(() => page && page.form !== undefined && page.typeBox !== undefined, 5000)
        tryVerify(() => session.computerTemplates.length > 0, 15000)
        waitIdle()
        tryVerify(() => !page.loadingVeil.visible, 3000)
        fitPage()
        shoot("create")
        page.typeBox.activated(1)
        page.typeBox.currentIndex = 1
        page.nameField.text = "Render Farm"
        page.usernameField.text = "operator"
        page.passwordField.text = "Secret-Pass1"
        fitPage()
        shoot("create-filled")
        session.confirmationPopupsEnabled = false
        mouseClick(page.startButton)
        tryVerify(() => root.confirmPopup.opened, 3000)
        shoot("confirm-create")
        root.confirmPopup.close()
        tryVerify(() => !root.confirmPopup.visible)
    }

    function accountScreens() {
        for (const [tab, name] of [[MyAccountView.AccountInfoPage, "account-profile"],
                                   [MyAccountView.PaymentHistoryPage, "account-payments"],
                                   [MyAccountView.AccountActivity, "account-activity"],
                                   [MyAccountView.EmailSettingsPage, "account-email"],
                                   [MyAccountView.AppSettingsPage, "account-settings"]]) {
            openPage(MainContext.Account, "settingsTab", tab)
            waitIdle()
            fitPage()
            shoot(name)
        }
    }

    function signOutScreen() {
        openPage(MainContext.Computers, "bulkPanel")
        waitIdle()
        resize(root.width, dialogHeight)
        mouseClick(findChild(frame.sidebar, "signOutButton"))
        tryVerify(() => root.confirmPopup.opened, 3000)
        shoot("confirm-sign-out")
        root.confirmPopup.close()
    }

    function test_gallery_data() {
        return [
            { tag: "600", width: 600 },
            { tag: "1200", width: 1200 },
            { tag: "1920", width: 1920 },
        ]
    }
    function test_gallery(data) {
        findings = []
        start(data.width, () => context.currentTheme = context.storedTheme = Gallery.theme)
        resize(data.width, dialogHeight)
        waitIdle()

        signedOutScreens()
        signInHere()
        computersScreens()
        notificationScreens()
        sidebarScreens()
        createScreens()
        accountScreens()
        signOutScreen()
        verify(Gallery.writeIndex(), "index.html could not be written in " + Gallery.folder)
        verify(findings.length === 0, findings.length + " findings:\n" + findings.join("\n"))
    }
}
