import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtTest
import Vantorix
import Vantorix.Core

// The create-computer view in the signed-in frame against the demo service: the veil, the machine type
// items with spot toggling, the description, the start rule, the password refusal, the confirmation,
// the stored user name, the reset, the disclaimer links and creation end to end.
ViewsCase {
    name: "CreateInstance"

    readonly property var view: page

    function openView(w, storedUsername) {
        signIn(w, "demo", () => {
            if (storedUsername !== undefined)
                testKit.setSettingsValue("username", storedUsername)
        })
        openPage(MainContext.CreateInstance, "form")
        tryVerify(() => session.computerTemplates.length > 0 && !view.loadingVeil.visible, 5000)
    }

    function fill(name, username, password) {
        view.nameField.text = name
        view.usernameField.text = username
        view.passwordField.text = password
    }

    // Scrolls the page so that the item is in view (under the floating toolbar), then clicks it.
    function click(item) {
        const flick = frame.flickable
        const p = item.mapToItem(flick.contentItem, 0, 0)
        flick.contentY = Math.max(0, Math.min(p.y - 150, flick.contentHeight - flick.height))
        waitForRendering(frame)
        mouseClick(item)
    }

    function choose(index) {
        view.typeBox.activated(index)
        view.typeBox.currentIndex = index
    }

    function test_veilUntilTemplatesArrive() {
        signIn(1200)
        testKit.control("fault", "action=list_available_vm_templates&kind=hold")
        session.pageIndex = MainContext.CreateInstance
        tryVerify(() => view !== null && view.form !== undefined, 5000)
        compare(session.computerTemplates.length, 0)
        compare(findChild(view.loadingVeil, "loadingVeilLabel").text, "Loading machines types...")
        fill("My Machine", "operator", "Secret-Pass1")
        verify(!view.startButton.enabled)
        compare(view.typeBox.count, 1)
        compare(view.typeBox.currentText, "Select your machine type")
        // The held request is dropped.
        testKit.control("reset")
    }

    function test_machineTypeItemsAndSpot() {
        openView(1200)
        const templates = session.computerTemplates
        const regular = templates.filter(t => !t.isSpot)
        const spot = templates.filter(t => t.isSpot)
        verify(regular.length >= 2 && spot.length >= 2)
        compare(view.typeBox.count, regular.length + 1)
        compare(view.typeBox.currentIndex, 0)
        verify(!view.descriptionBox.visible)
        compare(view.typeBox.textAt(1), regular[0].title)

        // The second regular type, then spot: the second spot type, described by position 3.
        choose(2)
        compare(view.typeBox.currentText, regular[1].title)
        verify(view.descriptionBox.visible)
        compare(view.form.description, templates[2].specDescription)
        click(view.spotBox)
        verify(view.form.spot)
        compare(view.typeBox.count, spot.length + 1)
        compare(view.typeBox.currentIndex, 2)
        compare(view.typeBox.currentText, spot[1].title)
        compare(view.form.description, templates[3].specDescription)
        compare(view.form.selectedIdentifier, templates[3].identifier)
        click(view.spotBox)
        compare(view.typeBox.currentText, regular[1].title)
        // The prompt item hides the description again.
        choose(0)
        verify(!view.descriptionBox.visible)
    }

    function test_startButtonRule_data() {
        return [
            { tag: "prompt item", type: 0, name: "My Machine", user: "operator", password: "Secret-Pass1", enabled: false },
            { tag: "bad name", type: 1, name: "", user: "operator", password: "Secret-Pass1", enabled: false },
            { tag: "bad user", type: 1, name: "My Machine", user: "op", password: "Secret-Pass1", enabled: false },
            { tag: "bad password", type: 1, name: "My Machine", user: "operator", password: "short", enabled: false },
            { tag: "all valid", type: 1, name: "My Machine", user: "operator", password: "Secret-Pass1", enabled: true },
        ]
    }
    function test_startButtonRule(data) {
        openView(1200)
        fill(data.name, data.user, data.password)
        choose(data.type)
        compare(view.startButton.enabled, data.enabled)
    }

    function test_passwordHoldingUserNameRefused() {
        openView(1200)
        const before = testKit.requestCount("insert_vm_instance")
        fill("My Machine", "Operator", "x-OPERATOR-1a!")
        choose(1)
        verify(view.startButton.enabled)
        click(view.startButton)
        waitNote("Machine password can not contain the machines username.")
        verify(!root.confirmPopup.opened)
        compare(session.pageIndex, MainContext.CreateInstance)
        compare(testKit.requestCount("insert_vm_instance"), before)
    }

    function test_confirmationAlwaysAskedAndCancel() {
        openView(1200)
        session.confirmationPopupsEnabled = false
        fill("My Machine", "operator", "Secret-Pass1")
        choose(1)
        click(view.startButton)
        tryVerify(() => root.confirmPopup.opened, 2000)
        compare(root.confirmPopup.okText, "Start Machine")
        compare(root.confirmPopup.cancelText, "Cancel")
        verify(root.confirmPopup.message.indexOf("<br><br>Please note") > 0)
        answer(false, "Start New Machine?")
        compare(session.pageIndex, MainContext.CreateInstance)
        compare(view.nameField.text, "My Machine")
        compare(testKit.requestCount("insert_vm_instance"), 0)
    }

    function test_usernameStoredAndReset() {
        openView(1200, "stored-user")
        compare(view.usernameField.text, "stored-user")
        view.usernameField.text = "another"
        compare(testKit.settingsValue("username"), "another")
        fill("My Machine", "another", "Secret-Pass1")
        click(view.spotBox)
        choose(1)
        click(view.resetButton)
        compare(view.nameField.text, "")
        compare(view.usernameField.text, "")
        compare(view.passwordField.text, "")
        compare(view.typeBox.currentIndex, 0)
        verify(view.spotBox.checked)
        compare(testKit.settingsValue("username"), "")
    }

    function test_disclaimerLinks() {
        openView(1200)
        const text = view.disclaimer.text
        verify(text.indexOf("By deploying and using this machine, you agree to the:<br>") === 0)
        verify(text.indexOf(testKit.serviceUrl + "/terms-of-service/") > 0)
        verify(text.indexOf(testKit.serviceUrl + "/acceptable-use-policy/") > 0)
        verify(text.indexOf(testKit.serviceUrl + "/privacy-policy/") > 0)
        view.disclaimer.linkActivated(testKit.serviceUrl + "/privacy-policy/")
        compare(context.openedUrls[context.openedUrls.length - 1], testKit.serviceUrl + "/privacy-policy/")
    }

    function test_createEndToEnd_data() {
        return [
            { tag: "regular", spot: false, name: "Fresh Regular" },
            { tag: "spot", spot: true, name: "Fresh Spot" },
        ]
    }
    function test_createEndToEnd(data) {
        openView(1200)
        if (data.spot)
            click(view.spotBox)
        choose(1)
        const identifier = view.form.selectedIdentifier
        fill(data.name, "operator", "Secret-Pass1")
        click(view.startButton)
        tryVerify(() => root.confirmPopup.opened, 2000)
        root.confirmPopup.accept()
        tryCompare(session, "pageIndex", MainContext.Computers, 2000)
        tryVerify(() => testKit.requestCount("insert_vm_instance") === 1, 5000)
        const request = testKit.lastRequest("insert_vm_instance")
        verify(request.indexOf("&vm_user_instance_name=" + encodeURIComponent(data.name) + "&template_id=" + identifier
                               + "&win_username=operator&win_password=Secret-Pass1") > 0, request)
        // The new computer appears at a later poll, and its password is stored protected.
        session.listUserVMInstances()
        tryVerify(() => session.computers.some(c => c.userInstanceName === data.name), 10000)
        const created = session.computers.filter(c => c.userInstanceName === data.name)[0]
        compare(created.templateIdentifier, identifier)
        const stored = session.computerEncryptedPasswords[String(created.identifier)]
        verify(stored !== undefined && stored !== "" && stored !== "Secret-Pass1")
        compare(testKit.unprotect(stored), "Secret-Pass1")
    }

    function test_stickyToolbar() {
        openView(1200)
        const toolbar = view.extraControlsRow
        verify(!toolbar.floating)
        compare(toolbar.width, view.width)
        verify(!toolbar.sidebarCell.visible)
        // The disclaimer's and the description's links are drawn in the theme's link colour.
        compare(view.disclaimer.textFormat, Text.StyledText)
        compare(String(view.disclaimer.linkColor), String(Utils.styles.accentTextColor))
        compare(String(view.descriptionText.linkColor), String(Utils.styles.accentTextColor))
        // Docked, the empty toolbar is not shown and leaves no band above the form.
        verify(!toolbar.visible)
        compare(findChild(view, "createForm").mapToItem(view, 0, 0).y, 0)
        frame.flickable.contentY = Math.min(400, frame.flickable.contentHeight - frame.flickable.height)
        verify(toolbar.floating)
        verify(toolbar.visible)
        compare(toolbar.width, frame.flickable.width)
        // Pinned at the top of the visible area.
        compare(toolbar.mapToItem(frame.flickable, 0, 0).y, 0)
        verify(!toolbar.sidebarCell.visible) // the sidebar is open
        frame.sidebar.open = false
        verify(toolbar.sidebarCell.visible)
        compare(toolbar.logo.source, root.vantorixLogo)
        frame.flickable.contentY = 0
        verify(!toolbar.floating)
        verify(!toolbar.sidebarCell.visible)
    }
}
