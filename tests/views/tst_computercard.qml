import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtTest
import Vantorix
import Vantorix.Core

// One computer card on a real session (demo service): the buttons per status, selection rules, the
// last-start texts, inline rename, the card menu and connecting.
ViewsCase {
    id: testCase
    name: "ComputerCard"
    // Every test here uses one session.
    keepWindow: true

    property var card: null
    property var computer: null
    property var ownComputer: null

    Component {
        id: computerComponent
        Computer {}
    }
    Component {
        id: cardComponent
        ComputerGridCard {
            width: 400
        }
    }

    // A card over a computer of our own, or over one of the session's.
    function makeCard(properties, existing) {
        computer = existing ? existing : computerComponent.createObject(testCase, properties)
        if (!existing)
            ownComputer = computer
        card = cardComponent.createObject(testCase, {
            "main": session, "computer": computer,
            "selected": Qt.binding(() => session.selectedComputers.indexOf(computer.identifier) >= 0)
        })
        card.select.connect(shift => session.selectComputer(computer.identifier, shift))
        card.x = 20
        card.y = 20
        tryVerify(() => card.height > 100)
        return card
    }
    function hoverPreview() {
        mouseMove(card.preview, card.preview.width / 4, card.preview.height / 2)
    }
    function leave() {
        mouseMove(testCase, testCase.width - 2, testCase.height - 2)
    }
    function initTestCase() {
        signIn(1200)
        // The page underneath is not part of these tests.
        session.pageIndex = MainContext.CreateInstance
    }
    function cleanupTestCase() {
        root.destroy()
        root = null
    }
    // The card goes before the computer it shows, as it does in the grids.
    function cleanup() {
        if (card)
            card.destroy()
        card = null
        wait(0)
        if (ownComputer)
            ownComputer.destroy()
        ownComputer = null
        computer = null
    }
    function init() {
        session.selectedComputers = []
        testKit.control("requests/clear")
        testHost.reset()
    }

    // Stop and reboot are enabled exactly when start is not; delete always.
    function test_buttonsPerStatus_data() {
        return [
            { tag: "running", status: Computer.Running, powerOn: false, connect: true, start: false, loading: false },
            { tag: "stopped", status: Computer.Terminated, powerOn: true, connect: false, start: true, loading: false },
            { tag: "suspended", status: Computer.Suspended, powerOn: true, connect: false, start: true, loading: false },
            { tag: "staging", status: Computer.Staging, powerOn: false, connect: false, start: false, loading: true },
            { tag: "repairing", status: Computer.Repairing, powerOn: false, connect: false, start: true, loading: true },
        ]
    }
    function test_buttonsPerStatus(data) {
        makeCard({ "identifier": 900001, "userInstanceName": "Card One", "status": data.status,
                   "platform": Computer.Windows, "username": "demo" })
        const p = card.preview
        compare(card.loading, data.loading)
        compare(p.statusLabel.text, Utils.statusLabel(data.status).toUpperCase())
        compare(p.busyIndicator.visible || p.busyIndicator.height > 1, data.loading)
        verify(!p.powerOnButton.visible && !p.connectButton.visible)
        hoverPreview()
        tryCompare(p, "hovered", true)
        compare(p.powerOnButton.visible, data.powerOn)
        compare(p.connectButton.visible, data.connect)
        compare(p.connectButton.enabled, data.connect)
        compare(p.startButton.enabled, data.start)
        compare(p.stopButton.enabled, !data.start)
        compare(p.rebootButton.enabled, !data.start)
        verify(p.deleteButton.enabled)
        tryVerify(() => p.stopButton.visible && p.rebootButton.visible)
        leave()
        tryCompare(p, "hovered", false)
        verify(p.startButton.visible && p.deleteButton.visible)
        tryCompare(p.stopButton, "visible", false)
        // A selected card shows stop and reboot without hover.
        session.selectedComputers = [computer.identifier]
        tryCompare(p.stopButton, "visible", true)
        verify(p.rebootButton.visible)
    }

    // While provisioning, the busy indicator and the four action buttons take the grey accent; the name
    // keeps the application's accent, in both themes.
    function test_provisioningAccent_data() {
        return [
            { tag: "light", theme: Material.Light, grey: Material.color(Material.Grey, Material.Shade50) },
            { tag: "dark", theme: Material.Dark, grey: Material.color(Material.Grey, Material.Shade900) },
        ]
    }
    function test_provisioningAccent(data) {
        leave()
        makeCard({ "identifier": 900007, "userInstanceName": "Fresh Box", "status": Computer.Provisioning,
                   "platform": Computer.Windows, "username": "demo" })
        card.Material.theme = data.theme
        const p = card.preview
        for (const item of [p.busyIndicator, p.startButton, p.stopButton, p.rebootButton, p.deleteButton])
            verify(Qt.colorEqual(item.Material.accent, data.grey), item.objectName)
        tryVerify(() => Qt.colorEqual(card.nameLabel.color, card.Material.accent))
        verify(!Qt.colorEqual(card.nameLabel.color, data.grey))
        // Once running, everything has the application's accent again, and the status text follows.
        computer.status = Computer.Running
        compare(p.statusLabel.text, Utils.statusLabel(Computer.Running).toUpperCase())
        verify(Qt.colorEqual(p.startButton.Material.accent, card.Material.accent))
        tryVerify(() => Qt.colorEqual(card.nameLabel.color, card.Material.accent))
    }

    // A running computer's screenshot in two buffers: the newest goes on top once decoded, the one under it is
    // then no longer drawn, and neither is the status picture under a screenshot. There is never a moment
    // without a screenshot once one has decoded.
    function test_screenshotBuffers() {
        const red = "iVBORw0KGgoAAAANSUhEUgAAAAQAAAAECAIAAAAmkwkpAAAAEElEQVR4nGM4wcAARwzEcQBRwwyB7RhOggAAAABJRU5ErkJggg=="
        const blue = "iVBORw0KGgoAAAANSUhEUgAAAAQAAAAECAIAAAAmkwkpAAAAEElEQVR4nGNgYDiBhIjiAAA4wwyBGwNoGQAAAABJRU5ErkJggg=="
        const previews = session.enableDesktopPreviews
        session.enableDesktopPreviews = true
        try {
            makeCard({ "identifier": 900005, "userInstanceName": "Shots", "status": Computer.Running,
                       "platform": Computer.Windows, "username": "demo" })
            const loader = card.preview.screenshotLoader
            tryVerify(() => loader.item !== null)
            const first = findChild(loader.item, "screenshotBuffer1")
            const second = findChild(loader.item, "screenshotBuffer2")
            verify(!first.visible && !second.visible)
            verify(card.preview.statusLabel.visible, "the picture shows while there is no screenshot")

            computer.b64ScreenshotBuffer1 = red
            computer.screenShotUseBuffer1 = true
            tryVerify(() => first.visible)
            verify(!second.visible)
            verify(!card.preview.statusLabel.visible, "the picture is not drawn under a screenshot")

            // The next one, as the core stores it: into the other buffer, which then goes on top.
            computer.b64ScreenshotBuffer2 = blue
            computer.screenShotUseBuffer1 = false
            verify(first.visible || second.visible, "the old screenshot stays until the new one has decoded")
            tryVerify(() => second.visible)
            verify(!first.visible, "the buffer under a decoded screenshot is not drawn")
            verify(!card.preview.statusLabel.visible)

            computer.b64ScreenshotBuffer1 = blue
            computer.screenShotUseBuffer1 = true
            verify(first.visible || second.visible)
            tryVerify(() => first.visible && !second.visible)

            computer.status = Computer.Terminated
            tryVerify(() => card.preview.statusLabel.visible)
        } finally {
            session.enableDesktopPreviews = previews
        }
    }

    // The rename button shows while the mouse is over the name row, its buttons included, and never on a
    // deleted computer.
    function test_renameButtonFollowsHover_data() {
        return [
            { tag: "running", status: Computer.Running, shown: true },
            { tag: "deleted", status: Computer.Deleted, shown: false },
        ]
    }
    function test_renameButtonFollowsHover(data) {
        makeCard({ "identifier": 900004, "userInstanceName": "Named", "status": data.status })
        const label = findChild(card, "nameLabel")
        const edit = findChild(card, "editNameButton")
        verify(label && edit)
        compare(edit.opacity, 0)
        mouseMove(label, label.width / 2, label.height / 2)
        if (data.shown) {
            tryCompare(edit, "opacity", 1)
            mouseMove(edit, edit.width / 2, edit.height / 2)
            wait(50)
            compare(edit.opacity, 1)
        } else {
            wait(400)
            compare(edit.opacity, 0)
        }
        leave()
        tryCompare(edit, "opacity", 0)
    }

    function test_deletedLook() {
        makeCard({ "identifier": 900002, "userInstanceName": "Gone", "status": Computer.Deleted })
        const p = card.preview
        hoverPreview()
        wait(50)
        verify(!p.hovered)
        for (const b of [p.favouriteButton, p.selectBox, p.startButton, p.deleteButton, p.powerOnButton,
                         p.connectButton])
            verify(!b.visible)
        mouseClick(p.clickArea)
        compare(session.selectedComputers.length, 0)
    }

    function test_menuEntriesPerStatus_data() {
        return [
            { tag: "running", status: Computer.Running,
              enabled: ["Connect to Machine", "Power OFF Machine", "REBOOT Machine", "DELETE Machine",
                        "Machine Billing", "Machine Activity", "Reset Machine Password", "Update Machine Password"] },
            { tag: "stopped", status: Computer.Terminated,
              enabled: ["Power ON Machine", "DELETE Machine", "Machine Billing", "Machine Activity",
                        "Reset Machine Password", "Update Machine Password"] },
            { tag: "stopping", status: Computer.Stopping,
              enabled: ["Power ON Machine", "DELETE Machine", "Machine Billing", "Machine Activity",
                        "Reset Machine Password", "Update Machine Password"] },
            { tag: "deleted", status: Computer.Deleted, enabled: ["Machine Billing", "Machine Activity"] },
        ]
    }
    function test_menuEntriesPerStatus(data) {
        makeCard({ "identifier": 900003, "userInstanceName": "Menu Box", "status": data.status })
        // A deleted computer's card takes no clicks on its preview: its menu button opens the menu.
        if (data.status === Computer.Deleted)
            mouseClick(card.menuButton)
        else
            mouseClick(card.preview.clickArea, card.preview.width / 4, card.preview.height / 2, Qt.RightButton)
        tryVerify(() => card.menu && card.menu.opened)
        compare(enabledEntries(card.menu), data.enabled)
        // A second right click closes it.
        card.toggleMenu(0, 0, false)
        tryVerify(() => !card.menu.visible)
    }

    function test_passwordEntriesAskFirst_data() {
        return [
            { tag: "reset", entry: "menuResetPassword", title: "Reset Password?", ok: "Reset",
              signal: "resetComputerPassword" },
            { tag: "update", entry: "menuUpdatePassword", title: "Update Cached Password?", ok: "Update",
              signal: "resetCachedPassword" },
        ]
    }
    function test_passwordEntriesAskFirst(data) {
        makeCard({ "identifier": 900004, "userInstanceName": "Pw Box", "status": Computer.Running })
        let emitted = 0
        const handler = c => { if (c === computer) ++emitted }
        session[data.signal].connect(handler)
        for (const accept of [false, true]) {
            card.toggleMenu(0, 0, false)
            tryVerify(() => card.menu.opened)
            mouseClick(findChild(card.menu.contentItem, data.entry))
            tryVerify(() => root.confirmPopup.opened)
            compare(root.confirmPopup.okText, data.ok)
            compare(root.confirmPopup.cancelText, "Cancel")
            answer(accept, data.title)
            compare(emitted, accept ? 1 : 0)
        }
        session[data.signal].disconnect(handler)
    }

    function test_selectionRules() {
        const computers = session.computers.filter(c => c.status !== Computer.Deleted).slice(0, 2)
        makeCard({}, computers[0])
        const a = computers[0].identifier
        const b = computers[1].identifier
        const click = modifiers => mouseClick(card.preview.clickArea, card.preview.width / 4,
                                              card.preview.height / 2, Qt.LeftButton, modifiers)
        // Without Shift: an unselected card becomes the only one; a selected one clears everything. With
        // Shift: added, then removed.
        for (const [before, modifiers, after] of [[[b], Qt.NoModifier, [a]], [[a, b], Qt.NoModifier, []],
                                                  [[b], Qt.ShiftModifier, [b, a]], [[b, a], Qt.ShiftModifier, [b]]]) {
            session.selectedComputers = before
            click(modifiers)
            compare(session.selectedComputers, after)
        }
        // The check box always adds or removes just this card.
        mouseClick(card.preview.selectBox)
        compare(session.selectedComputers, [b, a])
        verify(card.preview.selectBox.checked)
        mouseClick(card.preview.selectBox)
        compare(session.selectedComputers, [b])
        verify(!card.preview.selectBox.checked)
        verify(Qt.colorEqual(card.preview.border.color, card.preview.fillColor))
    }

    function test_lastStartedText_data() {
        return [
            { tag: "future running", status: Computer.Running, ago: -500, text: "Started a few seconds ago" },
            { tag: "seconds", status: Computer.Staging, ago: 30, text: "Started a few seconds ago" },
            { tag: "minutes", status: Computer.Terminated, ago: 5 * 60 + 20, text: "Last started 5 minuites ago" },
            { tag: "59.6 minutes", status: Computer.Running, ago: 3576, text: "Started 60 minuites ago" },
            { tag: "hours", status: Computer.Suspended, ago: 3 * 3600 + 100, text: "Last started 3 hours ago" },
            { tag: "days", status: Computer.Provisioning, ago: 3 * 86400 + 600, text: "Started 3 days ago" },
        ]
    }
    function test_lastStartedText(data) {
        const now = Math.floor(Date.now() / 1000)
        makeCard({ "identifier": 900005, "userInstanceName": "Clock", "status": data.status,
                   "lastStartedTime": now - data.ago })
        compare(card.lastStartedText, data.text)
        verify(card.lastStartedLabel.visible)
        // It follows the status and the start time, not the clock.
        computer.lastStartedTime = 0
        verify(!card.lastStartedLabel.visible)
    }

    function test_renameFlow() {
        const target = session.computers.find(c => c.status === Computer.Running)
        makeCard({}, target)
        const original = target.userInstanceName
        const rename = (name, confirm) => {
            card.openEditor()
            card.nameField.text = name
            card.nameField.forceActiveFocus()
            confirm()
        }
        mouseDoubleClickSequence(card.nameLabel)
        tryVerify(() => card.editingComputerName)
        compare(card.nameField.text, original)
        // The unchanged name closes the editor and sends nothing.
        card.nameField.forceActiveFocus()
        keyClick(Qt.Key_Return)
        verify(!card.editingComputerName)
        // An invalid name keeps the editor open with the typed text.
        rename("ab", () => mouseClick(card.confirmNameButton))
        verify(card.editingComputerName)
        compare(card.nameField.text, "ab")
        waitNote("Machine name must be at least three characters long.")
        compare(testKit.requestCount("edit_user_vm_instance"), 0)
        // Cancel puts the current name back.
        mouseClick(card.cancelNameButton)
        verify(!card.editingComputerName)
        compare(card.nameField.text, original)
        // A valid new name is sent and closes the editor on success.
        rename("Renamed Box", () => keyClick(Qt.Key_Return))
        tryVerify(() => !card.editingComputerName, 5000)
        compare(testKit.requestCount("edit_user_vm_instance"), 1)
        compare(target.userInstanceName, "Renamed Box")
        waitNote("Machine name updated")
        // A service refusal keeps it open.
        testKit.control("fault", "action=edit_user_vm_instance&kind=error_message&message=Taken&count=1")
        rename("Other Name", () => keyClick(Qt.Key_Return))
        tryVerify(() => testKit.requestCount("edit_user_vm_instance") === 2 && testKit.pendingRequests() === 0
                        && !target.vmDataChanging, 5000)
        verify(card.editingComputerName)
        compare(card.nameField.text, "Other Name")
        compare(target.userInstanceName, "Renamed Box")
        card.cancelEditing()
    }

    function test_favouriteToggle() {
        const target = session.computers.find(c => !c.isFavourite && c.status === Computer.Running)
            || session.computers.find(c => !c.isFavourite && c.status !== Computer.Deleted)
        makeCard({}, target)
        const fav = card.preview.favouriteButton
        compare(fav.ToolTip.text, "Add to favorites")
        mouseClick(fav)
        tryVerify(() => target.isFavourite && !target.favouriteStatusChanging, 5000)
        compare(fav.rotation, 0)
        compare(fav.ToolTip.text, "Remove from favorites")
        compare(testKit.requestCount("set_favourite_vm_instance"), 1)
    }

    function test_connect_data() {
        return [
            { tag: "windows", platform: Computer.Windows, launches: 1, note: "" },
            { tag: "linux", platform: Computer.Linux, launches: 0,
              note: "No connection type support yet for this platform." },
        ]
    }
    function test_connect(data) {
        session.showVMConnectionWarningNotification = false
        makeCard({ "identifier": 900006, "userInstanceName": "Remote", "status": Computer.Running,
                   "platform": data.platform, "username": "demo", "rdpPublicAddress": "203.0.113.7" })
        session.storeEncryptedPassword(900006, testKit.unprotect("") === "" ? "fake-protected:" + "41" : "")
        hoverPreview()
        tryVerify(() => card.preview.connectButton.visible)
        mouseClick(card.preview.connectButton)
        if (data.note !== "")
            waitNote(data.note)
        wait(50)
        compare(testHost.rdpLaunches, data.launches)
        if (data.launches)
            verify(testHost.lastRdpFile.indexOf("203.0.113.7") >= 0)
        leave()
    }
}
