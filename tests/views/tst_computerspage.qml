import QtQuick
import QtQuick.Controls
import QtTest
import Vantorix
import Vantorix.Core

// The computers page against the demo service: creation calls, toolbar floating, filter menu, the empty
// and no-match states, the bulk-action panel and the three dialogs.
TestCase {
    id: testCase
    name: "ComputersPage"
    when: windowShown
    visible: true
    width: 1200
    height: 720

    property var root: null
    readonly property var frame: root ? root.signedInFrame.item : null
    readonly property var session: frame ? frame.main : null
    readonly property var page: frame ? frame.page : null

    function signIn(w) {
        testKit.control("reset")
        testKit.clearSettings()
        context.reset()
        testHost.reset()
        const component = Qt.createComponent("qrc:/Vantorix/main.qml")
        compare(component.status, Component.Ready, component.errorString())
        root = createTemporaryObject(component, testCase)
        root.width = w === undefined ? 1200 : w
        root.height = 720
        tryVerify(() => testKit.pendingRequests() === 0, 5000)
        root.authView.loginForm.userIdField.text = "demo"
        root.authView.loginForm.passwordField.text = "Demo-Pass1!"
        mouseClick(root.authView.loginForm.loginButton)
        tryVerify(() => page !== null && page.extraControlsRow !== undefined, 10000)
        tryVerify(() => !session.loadingComputers && session.computers.length > 0, 10000)
        tryVerify(() => testKit.pendingRequests() === 0, 10000)
        // The veil fades out before the page takes input.
        tryVerify(() => !page.loadingVeil.visible, 3000)
    }
    function named(name) {
        return session.computers.find(c => c.userInstanceName === name)
    }
    function notes() {
        const area = root.notificationsContainer
        const list = []
        for (let i = 0; i < area.children.length; ++i) {
            if (area.children[i].objectName !== "clearAllPane")
                list.push(area.children[i].text)
        }
        return list
    }
    function idsOf(list) {
        return list.map(c => c.identifier).sort()
    }

    function cleanup() {
        root = null
    }

    function test_creationCallsAndVeil() {
        testKit.control("fault", "action=list_user_vm_instances&kind=hold")
        testKit.control("reset")
        signIn()
        verify(testKit.requestCount("list_user_vm_instances") >= 1)
        tryCompare(page.loadingVeil, "visible", false, 3000)
        compare(page.extraControlsRow.opacity, 1)
        // Coming back to the page asks for the list again.
        const before = testKit.requestCount("list_user_vm_instances")
        session.pageIndex = MainContext.CreateInstance
        session.pageIndex = MainContext.Computers
        tryVerify(() => testKit.requestCount("list_user_vm_instances") > before, 5000)
    }

    function test_toolbarFloats() {
        signIn()
        const bar = page.extraControlsRow
        verify(!bar.floating)
        compare(bar.width, page.width)
        verify(bar.singleRow)
        frame.flickable.contentY = page.parent.y + 300
        tryVerify(() => bar.floating)
        compare(bar.width, frame.flickable.width)
        compare(bar.x, -frame.flickableContent.anchors.leftMargin)
        // It stays at the top of the visible area.
        compare(page.parent.y + bar.y, frame.flickable.contentY)
        tryCompare(frame.scrollBar, "y", bar.height + 2)
        frame.flickable.contentY = 0
        tryVerify(() => !bar.floating)
        compare(bar.width, page.width)
        compare(frame.scrollBar.y, 0)
    }

    function test_narrowToolbarHasMoreButton() {
        signIn(600)
        const bar = page.extraControlsRow
        verify(!bar.singleRow)
        verify(bar.moreButton.visible)
        frame.flickable.contentY = page.parent.y + 300
        tryVerify(() => bar.floating)
        verify(!bar.controlsShown)
        tryCompare(bar.moreButton, "height", 35, 3000)
        tryCompare(bar.moreButton, "opacity", 1, 3000)
        mouseClick(bar.moreButton)
        verify(bar.controlsShown)
    }

    function test_filterMenuButtons_data() {
        return [
            { tag: "check all", button: "checkAllButton", running: false, stopped: false, deleted: false },
            { tag: "uncheck all", button: "uncheckAllButton", running: true, stopped: true, deleted: true },
            { tag: "default", button: "defaultFilterButton", running: false, stopped: false, deleted: true },
        ]
    }
    function test_filterMenuButtons(data) {
        signIn()
        session.filterStatusStaging = true
        session.filterPlatformLinux = true
        const controls = page.extraControlsRow.controls
        mouseClick(controls.filterButton)
        tryVerify(() => controls.filterMenu.opened)
        controls.statusMenu.open()
        tryVerify(() => controls.statusMenu.opened)
        const button = findChild(controls.statusMenu.contentItem, data.button)
        verify(button, data.button)
        mouseClick(button)
        compare(session.filterStatusRunning, data.running)
        compare(session.filterStatusTerminated, data.stopped)
        compare(session.filterStatusDeleted, data.deleted)
        compare(session.filterStatusStaging, false)
        compare(session.filterPlatformLinux, true)
        compare(controls.statusMenu.runningBox.checked, !data.running)
        compare(controls.statusMenu.deletedBox.checked, !data.deleted)
        // A box inverts its flag and keeps following it.
        mouseClick(controls.statusMenu.stoppedBox)
        compare(session.filterStatusTerminated, !data.stopped)
        session.filterStatusTerminated = data.stopped
        compare(controls.statusMenu.stoppedBox.checked, !data.stopped)
        tryVerify(() => session.visibleComputers.every(c => c.status !== Computer.Running) === data.running)
    }

    function test_searchAndNoMatch() {
        signIn()
        const bar = page.extraControlsRow
        bar.searchField.text = "zzz-none"
        compare(session.filterUserInstanceName, "zzz-none")
        tryVerify(() => page.noMatchState.visible)
        verify(!page.noComputersState.visible)
        verify(!page.mainGrid.visible)
        mouseClick(findChild(bar, "searchClearButton"))
        compare(session.filterUserInstanceName, "")
        tryVerify(() => !page.noMatchState.visible && page.mainGrid.visible)
    }

    function test_yourMachinesHeadingOnlyWithBothGrids() {
        signIn()
        tryVerify(() => page.favouritesStrip.visible && page.mainGrid.visible)
        verify(page.yourMachinesHeading.visible)
        session.filterUserInstanceName = "Office PC"
        tryVerify(() => !page.mainGrid.visible)
        verify(page.favouritesStrip.visible)
        verify(!page.yourMachinesHeading.visible)
        compare(page.favouritesGrid.cellWidth, session.gridCardColumnWidth)
    }

    function test_gridBuildsOnlyCellsNearTheVisibleArea() {
        signIn(600)
        const grid = page.mainGrid
        const n = grid.count
        tryVerify(() => grid.itemAtIndex(0) && grid.itemAtIndex(0).card
                  && grid.cellHeight === grid.itemAtIndex(0).implicitHeight, 3000)
        // One column: the grid is laid out at its full height, but its last cells are not built.
        compare(grid.columns, 1)
        verify(n * grid.cellHeight > frame.flickable.height + 3 * grid.cellHeight, "too few computers: " + n)
        compare(grid.height, n * grid.cellHeight)
        verify(grid.itemAtIndex(n - 1) === null)
        // Scrolled to the end, the last card is there, in its row, and the first cell has gone.
        frame.flickable.contentY = frame.flickable.contentHeight - frame.flickable.height
        tryVerify(() => grid.itemAtIndex(n - 1) !== null && grid.itemAtIndex(n - 1).card !== null, 3000)
        // In its row once the view has followed the scrolling (sub-pixel positions while it settles).
        const last = grid.itemAtIndex(n - 1)
        tryVerify(() => Math.abs(last.mapToItem(grid, 0, 0).y - (n - 1) * grid.cellHeight) < 0.5, 3000,
                  "the last cell in its row")
        verify(last.card.visible)
        verify(grid.itemAtIndex(0) === null)
        frame.flickable.contentY = 0
        tryVerify(() => grid.itemAtIndex(0) !== null && grid.itemAtIndex(0).card !== null, 3000)
        tryVerify(() => Math.abs(grid.itemAtIndex(0).mapToItem(grid, 0, 0).y) < 0.5, 3000, "the first cell on top")
    }

    function test_gridGeometry() {
        signIn()
        session.gridCardColumnWidth = 340
        const w = page.gridWidth
        compare(page.gridColumns, Math.max(1, Math.floor(w / 340)))
        compare(page.mainGrid.cellWidth, w / page.gridColumns)
        compare(page.fewestColumns, Math.max(1, Math.floor(w / 600)))
        compare(page.mostColumns, Math.max(1, Math.floor(w / 200) - 1))
        const first = page.mainGrid.itemAtIndex(0)
        tryVerify(() => page.mainGrid.cellHeight === first.implicitHeight, 3000)
    }

    // Gives the page a content width of w (the sidebar and the frame's margins lie around it), once the
    // frame's own animations have settled.
    function setPageWidth(w) {
        for (let i = 0; i < 20; ++i) {
            if (page.width !== w)
                root.width += w - page.width
            const before = page.width
            wait(350)
            if (page.width === w && before === w)
                return
        }
        compare(page.width, w, "page width")
    }
    function favourite(n) {
        const candidates = session.computers.filter(c => c.status !== Computer.Deleted)
        for (let i = 0; i < candidates.length; ++i) {
            if (candidates[i].isFavourite !== (i < n))
                candidates[i].setFavouriteStatus(i < n, session)
        }
        tryVerify(() => session.visibleFavouriteComputers.length === n && testKit.pendingRequests() === 0, 10000)
    }
    // Waits (as tryVerify does) for the grid's layout to settle, then names what is out of place.
    function expectLayout(grid, columns, allBuilt) {
        for (let i = 0; i < 100 && layoutFault(grid, columns, allBuilt) !== ""; ++i)
            wait(50)
        compare(layoutFault(grid, columns, allBuilt), "", "layout of " + grid.objectName)
    }
    // Every card of a grid is built and lies inside the grid's drawn area, in the cell of its index for
    // the given column count; the grid is as high as those rows. Returns what is wrong, or "".
    function layoutFault(grid, columns, allBuilt) {
        const rows = Math.ceil(grid.count / columns)
        if (Math.abs(grid.height - rows * grid.cellHeight) > 0.5)
            return "grid height " + grid.height + " for " + rows + " rows of " + grid.cellHeight
        let built = 0
        for (let i = 0; i < grid.count; ++i) {
            const cell = grid.itemAtIndex(i)
            if (!cell || !cell.card) {
                if (allBuilt)
                    return "card " + i + " not built"
                continue
            }
            ++built
            const p = cell.mapToItem(grid, 0, 0)
            if (Math.abs(p.x - (i % columns) * grid.cellWidth) > 0.5
                    || Math.abs(p.y - Math.floor(i / columns) * grid.cellHeight) > 0.5)
                return "card " + i + " at " + p.x + "," + p.y
            if (p.x + cell.width > grid.width + 0.5 || p.y + cell.height > grid.height + 0.5)
                return "card " + i + " outside the grid"
            if (Math.abs(cell.card.height + grid.spacing - grid.cellHeight) > 0.5)
                return "card " + i + " is " + cell.card.height + " high in a row of " + grid.cellHeight
        }
        return built > 0 ? "" : "no card built"
    }

    // One column count lays out the grids and sizes them: the favourites strip shows all its cards in one
    // row, the main grid draws its last row, and a column count chosen on the slider stays.
    function test_gridLayoutAtWidth_data() {
        return [
            { tag: "1024 px, 7 favourites", width: 1024, favourites: 7, columns: 0 },
            { tag: "2381 px, 7 columns chosen", width: 2381, favourites: 2, columns: 7 },
            { tag: "1500 px, 6 columns chosen", width: 1500, favourites: 3, columns: 6 },
            { tag: "narrow", width: 600, favourites: 2, columns: 0 },
        ]
    }
    function test_gridLayoutAtWidth(data) {
        signIn(data.width + 400)
        favourite(data.favourites)
        setPageWidth(data.width)
        if (data.columns > 0) {
            const controls = page.extraControlsRow.controls
            mouseClick(controls.gridButton)
            tryVerify(() => controls.gridPopup.opened)
            const slider = findChild(controls.gridPopup.contentItem, "gridSlider")
            verify(slider && slider.enabled)
            slider.value = data.columns
            slider.moved()
            compare(page.gridColumns, data.columns)
            compare(slider.value, data.columns)
            controls.gridPopup.close()
        }
        const columns = page.gridColumns
        const strip = page.favouritesGrid
        expectLayout(strip, Math.max(strip.count, 1), true)
        compare(strip.count, data.favourites)
        verify(page.favouritesStrip.visible)
        const grid = page.mainGrid
        expectLayout(grid, columns, false)
        // The last card is drawn once scrolled to.
        frame.flickable.contentY = frame.flickable.contentHeight - frame.flickable.height
        tryVerify(() => grid.itemAtIndex(grid.count - 1) && grid.itemAtIndex(grid.count - 1).card, 5000)
        expectLayout(grid, columns, false)
        verify(grid.itemAtIndex(grid.count - 1).card.visible)
    }

    // The row height follows the cell width while the page is scrolled down and the first cards are not
    // built: after a grid-size change, a resize and a sidebar toggle.
    function test_rowHeightScrolledDown_data() {
        return [
            { tag: "grid size", change: "gridSize" },
            { tag: "resize", change: "resize" },
            { tag: "sidebar", change: "sidebar" },
        ]
    }
    function test_rowHeightScrolledDown(data) {
        signIn(1200)
        root.height = 480
        favourite(0)
        session.gridCardColumnWidth = data.change === "gridSize" ? page.gridWidth / 2 : 2000
        const grid = page.mainGrid
        expectLayout(grid, page.gridColumns, false)
        frame.flickable.contentY = frame.flickable.contentHeight - frame.flickable.height
        tryVerify(() => grid.itemAtIndex(0) === null && grid.itemAtIndex(grid.count - 1) !== null, 5000)
        if (data.change === "gridSize")
            session.gridCardColumnWidth = 2000
        else if (data.change === "resize")
            root.width = 1000
        else
            frame.sidebar.open = false
        expectLayout(grid, page.gridColumns, false)
        // Down at the bottom again, and back at the top: the cards in their rows everywhere.
        frame.flickable.contentY = frame.flickable.contentHeight - frame.flickable.height
        tryVerify(() => grid.itemAtIndex(0) === null && grid.itemAtIndex(grid.count - 1) !== null, 5000)
        expectLayout(grid, page.gridColumns, false)
        frame.flickable.contentY = 0
        tryVerify(() => grid.itemAtIndex(0) !== null, 5000)
        expectLayout(grid, page.gridColumns, false)
    }

    // A card with its name editor or its menu open stays while it is scrolled far out of view, with what
    // was typed; closing it rebuilds nothing.
    function test_openCardOutlivesScrolling_data() {
        return [
            { tag: "rename", what: "rename" },
            { tag: "menu", what: "menu" },
        ]
    }
    function test_openCardOutlivesScrolling(data) {
        signIn(1200)
        root.height = 480
        session.gridCardColumnWidth = 2000
        const grid = page.mainGrid
        tryVerify(() => grid.itemAtIndex(0) && grid.itemAtIndex(0).card, 5000)
        expectLayout(grid, 1, false)
        const cell = grid.itemAtIndex(0)
        const card = cell.card
        const computer = card.computer
        // The name row in view, below the floating toolbar.
        const openAt = card.nameRow.mapToItem(frame.flickableContent, 0, 0).y - 150
        frame.flickable.contentY = openAt
        if (data.what === "rename") {
            mouseClick(card.editButton)
            tryVerify(() => card.editingComputerName)
            card.nameField.text = "Half typed"
        } else {
            mouseClick(card.menuButton)
            tryVerify(() => card.menu && card.menu.opened)
        }
        frame.flickable.contentY = frame.flickable.contentHeight - frame.flickable.height
        tryVerify(() => grid.itemAtIndex(0) === null && grid.itemAtIndex(grid.count - 1) !== null, 5000)
        wait(100)
        verify(card !== null && card.computer === computer, "the card is still there")
        if (data.what === "rename") {
            verify(card.editingComputerName)
            compare(card.nameField.text, "Half typed")
        } else {
            verify(card.menu.opened)
        }
        frame.flickable.contentY = openAt
        tryVerify(() => grid.itemAtIndex(0) !== null, 5000)
        compare(grid.itemAtIndex(0).card, card)
        verify(card.visible)
        const neighbour = grid.itemAtIndex(1)
        verify(neighbour)
        if (data.what === "rename") {
            compare(card.nameField.text, "Half typed")
            mouseClick(card.cancelNameButton)
            verify(!card.editingComputerName)
        } else {
            verify(card.menu.opened)
            card.menu.close()
            tryVerify(() => !card.menu.visible)
        }
        compare(testKit.requestCount("edit_user_vm_instance"), 0)
        // Closed, it and its neighbours stay as they are; scrolled away again, it is hidden, and back it
        // is the same card.
        wait(50)
        verify(grid.itemAtIndex(0) === cell && grid.itemAtIndex(1) === neighbour, "the cells were rebuilt")
        frame.flickable.contentY = frame.flickable.contentHeight - frame.flickable.height
        tryVerify(() => grid.itemAtIndex(0) === null, 5000)
        verify(!card.visible)
        frame.flickable.contentY = openAt
        tryVerify(() => grid.itemAtIndex(0) !== null, 5000)
        compare(grid.itemAtIndex(0).card, card)
        verify(card.visible && !card.editingComputerName)
    }

    function test_bulkPanel() {
        signIn()
        session.confirmationPopupsEnabled = false
        const running = session.visibleComputers.filter(c => c.status === Computer.Running && c.canStop)
        const stopped = session.visibleComputers.filter(c => c.status === Computer.Terminated && c.canStart)
        verify(running.length >= 1 && stopped.length >= 1)
        session.selectedComputers = [running[0].identifier]
        wait(50)
        verify(!page.bulkPanel.visible)
        session.selectedComputers = [running[0].identifier, stopped[0].identifier]
        tryVerify(() => page.bulkPanel.visible)
        compare(page.bulkPanel.countLabel.text, "2")
        verify(page.bulkPanel.startButton.enabled)
        verify(page.bulkPanel.stopButton.enabled)
        verify(page.bulkPanel.rebootButton.enabled)
        verify(page.bulkPanel.deleteButton.enabled)
        // Each button acts only on the computers it applies to.
        mouseClick(page.bulkPanel.startButton)
        tryVerify(() => testKit.requestCount("start_user_vm_instance") === 1)
        verify(testKit.lastRequest("start_user_vm_instance").indexOf("vm_id=" + stopped[0].identifier) >= 0)
        const other = session.visibleComputers.find(c => c.canDelete && !c.canStop && c !== stopped[0]
                                                     && c !== running[0])
        verify(other)
        session.selectedComputers = [running[0].identifier, other.identifier]
        tryVerify(() => page.bulkPanel.visible && !page.bulkPanel.startButton.enabled === !other.canStart)
        mouseClick(page.bulkPanel.stopButton)
        tryVerify(() => testKit.requestCount("stop_user_vm_instance") === 1)
        verify(testKit.lastRequest("stop_user_vm_instance").indexOf("vm_id=" + running[0].identifier) >= 0)
        // Selected computers that the filters hide are neither counted nor acted on.
        session.filterUserInstanceName = other.userInstanceName
        tryVerify(() => !page.bulkPanel.visible)
        verify(session.stoppableComputers.indexOf(running[0]) < 0)
        verify(session.deletableComputers.length <= 1)
    }

    function test_deletionDialog_data() {
        return [
            { tag: "wrong password", password: "Wrong-Pass1!", deletes: 0 },
            { tag: "account password", password: "Demo-Pass1!", deletes: 2 },
        ]
    }
    function test_deletionDialog(data) {
        signIn()
        // The dialog asks whatever the confirmation setting says.
        session.confirmationPopupsEnabled = false
        const deletable = session.visibleComputers.filter(c => c.canDelete).slice(0, 2)
        session.selectedComputers = deletable.map(c => c.identifier)
        tryVerify(() => page.bulkPanel.visible)
        mouseClick(page.bulkPanel.deleteButton)
        const dialog = page.dialogs.deletion
        tryVerify(() => dialog.opened)
        compare(dialog.title, "Are you sure you want to delete 2 machines?")
        verify(!dialog.okButton.enabled)
        dialog.entry.text = data.password
        verify(dialog.okButton.enabled)
        mouseClick(dialog.okButton)
        tryVerify(() => !dialog.visible)
        compare(dialog.entry.text, "")
        if (data.deletes === 0) {
            tryVerify(() => notes().indexOf("Invalid password. Cancelling deletion request.") >= 0)
            wait(100)
        }
        tryVerify(() => testKit.requestCount("delete_user_vm_instance") === data.deletes, 5000)
    }

    function test_deletionDialogCancelAndEscape() {
        signIn()
        const one = session.visibleComputers.find(c => c.canDelete)
        session.requestComputerDeletion([one])
        const dialog = page.dialogs.deletion
        tryVerify(() => dialog.opened)
        compare(dialog.title, "Are you sure you want to delete " + one.userInstanceName + "?")
        dialog.entry.text = "Something1!"
        keyClick(Qt.Key_Escape)
        tryVerify(() => !dialog.visible)
        compare(dialog.entry.text, "Something1!")
        dialog.open()
        tryVerify(() => dialog.opened)
        mouseClick(dialog.cancelButton)
        tryVerify(() => !dialog.visible)
        compare(dialog.entry.text, "")
        compare(testKit.requestCount("delete_user_vm_instance"), 0)
    }

    function test_updateStoredPassword() {
        signIn()
        const computer = named("Test Box") || session.computers[0]
        session.resetCachedPassword(computer)
        const dialog = page.dialogs.update
        tryVerify(() => dialog.opened)
        compare(dialog.title, "Update Password for " + computer.userInstanceName)
        dialog.entry.text = "short"
        verify(!dialog.okButton.enabled)
        dialog.entry.text = "New-Secret9!"
        mouseClick(dialog.okButton)
        tryVerify(() => !dialog.visible)
        compare(dialog.entry.text, "")
        const stored = session.computerEncryptedPasswords[String(computer.identifier)]
        verify(stored !== "New-Secret9!")
        compare(testKit.unprotect(stored), "New-Secret9!")
        compare(testKit.requestCount("reset_win_password_user_vm_instance"), 0)
    }

    function test_resetPassword_data() {
        return [
            { tag: "contains user name", password: "xDEMOx-Pass1", sent: 0 },
            { tag: "accepted", password: "Fresh-Pass42!", sent: 1 },
        ]
    }
    function test_resetPassword(data) {
        signIn()
        const computer = session.computers.find(c => c.username.toLowerCase() === "demo" && c.canDelete)
        verify(computer)
        session.resetComputerPassword(computer)
        const dialog = page.dialogs.reset
        tryVerify(() => dialog.opened)
        compare(dialog.title, "Reset Password for " + computer.userInstanceName)
        dialog.entry.text = data.password
        verify(dialog.okButton.enabled)
        mouseClick(dialog.okButton)
        tryVerify(() => !dialog.visible)
        if (data.sent === 0) {
            tryVerify(() => notes().indexOf("Machine password can not contain the machines username.") >= 0)
            compare(dialog.entry.text, data.password)
            wait(100)
            compare(testKit.requestCount("reset_win_password_user_vm_instance"), 0)
            verify(session.computerEncryptedPasswords[String(computer.identifier)] === undefined)
        } else {
            tryVerify(() => testKit.requestCount("reset_win_password_user_vm_instance") === 1, 5000)
            tryVerify(() => session.computerEncryptedPasswords[String(computer.identifier)] !== undefined, 5000)
            compare(testKit.unprotect(session.computerEncryptedPasswords[String(computer.identifier)]), data.password)
            tryCompare(dialog.entry, "text", "")
        }
    }

    function test_failedResetKeepsStoredPasswords() {
        signIn()
        const computer = session.computers.find(c => c.canDelete)
        testKit.control("fault", "action=reset_win_password_user_vm_instance&kind=error_message&message=Nope")
        session.resetComputerPassword(computer)
        const dialog = page.dialogs.reset
        tryVerify(() => dialog.opened)
        dialog.entry.text = "Fresh-Pass42!"
        mouseClick(dialog.okButton)
        tryVerify(() => notes().indexOf("Nope") >= 0, 5000)
        verify(session.computerEncryptedPasswords[String(computer.identifier)] === undefined)
        compare(dialog.entry.text, "Fresh-Pass42!")
    }
}
