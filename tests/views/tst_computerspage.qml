import QtQuick
import QtQuick.Controls
import QtTest
import Vantorix
import Vantorix.Core

// The computers page against the demo service: creation calls, toolbar floating, filter menu, the empty
// and no-match states, the bulk-action panel and the three dialogs.
ViewsCase {
    name: "ComputersPage"
    // The grids are measured at widths wider than the window: the window keeps its size meanwhile.
    windowFollowsWidth: false

    // Signed in with the computers page shown and taking input (the veil fades out first).
    function showPage(w) {
        signIn(w)
        tryVerify(() => page !== null && page.extraControlsRow !== undefined && session.computers.length > 0, 10000)
        tryVerify(() => !page.loadingVeil.visible, 3000)
    }
    // Waits for one of the page's password dialogs to open and types into it.
    function passwordDialog(name, password) {
        const dialog = page.dialogs[name]
        tryVerify(() => dialog.opened)
        dialog.entry.text = password
        return dialog
    }

    function test_creationCallsAndVeil() {
        showPage()
        verify(testKit.requestCount("list_user_vm_instances") >= 1)
        compare(page.extraControlsRow.opacity, 1)
        // Coming back to the page asks for the list again.
        const before = testKit.requestCount("list_user_vm_instances")
        session.pageIndex = MainContext.CreateInstance
        session.pageIndex = MainContext.Computers
        tryVerify(() => testKit.requestCount("list_user_vm_instances") > before, 5000)
    }

    function test_toolbarFloats() {
        showPage()
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
        showPage(600)
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
        showPage()
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
        showPage()
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
        showPage()
        tryVerify(() => page.favouritesStrip.visible && page.mainGrid.visible)
        verify(page.yourMachinesHeading.visible)
        session.filterUserInstanceName = "Office PC"
        tryVerify(() => !page.mainGrid.visible)
        verify(page.favouritesStrip.visible)
        verify(!page.yourMachinesHeading.visible)
        compare(page.favouritesGrid.cellWidth, session.gridCardColumnWidth)
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
    // Scrolls to the end of the page: the grid's first cell is then no longer built, its last one is.
    function scrollToEnd(grid) {
        frame.flickable.contentY = frame.flickable.contentHeight - frame.flickable.height
        tryVerify(() => grid.itemAtIndex(0) === null && grid.itemAtIndex(grid.count - 1) !== null
                  && grid.itemAtIndex(grid.count - 1).card !== null, 5000)
    }
    function scrollTo(grid, y) {
        frame.flickable.contentY = y
        tryVerify(() => grid.itemAtIndex(0) !== null, 5000)
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
        showPage(data.width + 400)
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
        const last = () => grid.itemAtIndex(grid.count - 1)
        tryVerify(() => last() && last().card && last().card.visible, 5000)
        expectLayout(grid, columns, false)
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
        showPage(1200)
        root.height = 480
        favourite(0)
        // The half page width below is taken once the frame's margin has followed the scroll bar in.
        const content = frame.flickableContent
        tryVerify(() => content.anchors.rightMargin === (content.scrollBarShown ? 20 + frame.scrollBar.width : 20), 3000)
        session.gridCardColumnWidth = data.change === "gridSize" ? page.gridWidth / 2 : 2000
        const grid = page.mainGrid
        expectLayout(grid, page.gridColumns, false)
        // Only the cells near the visible area are built.
        verify(grid.itemAtIndex(grid.count - 1) === null)
        scrollToEnd(grid)
        if (data.change === "gridSize")
            session.gridCardColumnWidth = 2000
        else if (data.change === "resize")
            root.width = 1000
        else
            frame.sidebar.open = false
        expectLayout(grid, page.gridColumns, false)
        // Down at the bottom again, and back at the top: the cards in their rows everywhere.
        scrollToEnd(grid)
        expectLayout(grid, page.gridColumns, false)
        scrollTo(grid, 0)
        expectLayout(grid, page.gridColumns, false)
    }

    // A card with its name editor or its menu open stays while it is scrolled far out of view, with what
    // was typed; closing it rebuilds nothing.
    function test_openCardOutlivesScrolling_data() {
        return [
            { tag: "rename", open: card => { mouseClick(card.editButton); card.nameField.text = "Half typed" },
              isOpen: card => card.editingComputerName && card.nameField.text === "Half typed",
              close: card => mouseClick(card.cancelNameButton) },
            { tag: "menu", open: card => mouseClick(card.menuButton), isOpen: card => card.menu && card.menu.opened,
              close: card => card.menu.close() },
        ]
    }
    function test_openCardOutlivesScrolling(data) {
        showPage(1200)
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
        data.open(card)
        tryVerify(() => data.isOpen(card))
        scrollToEnd(grid)
        wait(100)
        verify(card !== null && card.computer === computer, "the card is still there")
        verify(data.isOpen(card))
        scrollTo(grid, openAt)
        compare(grid.itemAtIndex(0).card, card)
        verify(card.visible && data.isOpen(card))
        const neighbour = grid.itemAtIndex(1)
        verify(neighbour)
        data.close(card)
        tryVerify(() => !card.editingComputerName && !(card.menu && card.menu.visible))
        compare(testKit.requestCount("edit_user_vm_instance"), 0)
        // Closed, it and its neighbours stay as they are; scrolled away again, it is hidden, and back it
        // is the same card.
        wait(50)
        verify(grid.itemAtIndex(0) === cell && grid.itemAtIndex(1) === neighbour, "the cells were rebuilt")
        scrollToEnd(grid)
        verify(!card.visible)
        scrollTo(grid, openAt)
        compare(grid.itemAtIndex(0).card, card)
        verify(card.visible && !card.editingComputerName)
    }

    function test_bulkPanel() {
        showPage()
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
        for (const name of ["startButton", "stopButton", "rebootButton", "deleteButton"])
            verify(page.bulkPanel[name].enabled, name)
        // Each button acts only on the computers it applies to.
        mouseClick(page.bulkPanel.startButton)
        tryVerify(() => testKit.requestCount("start_user_vm_instance") === 1)
        compare(sent("start_user_vm_instance", "vm_id"), String(stopped[0].identifier))
        const other = session.visibleComputers.find(c => c.canDelete && !c.canStop && c !== stopped[0]
                                                     && c !== running[0])
        verify(other)
        session.selectedComputers = [running[0].identifier, other.identifier]
        tryVerify(() => page.bulkPanel.visible && !page.bulkPanel.startButton.enabled === !other.canStart)
        mouseClick(page.bulkPanel.stopButton)
        tryVerify(() => testKit.requestCount("stop_user_vm_instance") === 1)
        compare(sent("stop_user_vm_instance", "vm_id"), String(running[0].identifier))
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
        showPage()
        // The dialog asks whatever the confirmation setting says.
        session.confirmationPopupsEnabled = false
        session.selectedComputers = session.visibleComputers.filter(c => c.canDelete).slice(0, 2).map(c => c.identifier)
        tryVerify(() => page.bulkPanel.visible)
        mouseClick(page.bulkPanel.deleteButton)
        const dialog = passwordDialog("deletion", "")
        compare(dialog.title, "Are you sure you want to delete 2 machines?")
        verify(!dialog.okButton.enabled)
        dialog.entry.text = data.password
        mouseClick(dialog.okButton)
        tryVerify(() => !dialog.visible)
        compare(dialog.entry.text, "")
        if (data.deletes === 0) {
            waitNote("Invalid password. Cancelling deletion request.")
            wait(100)
        }
        tryVerify(() => testKit.requestCount("delete_user_vm_instance") === data.deletes, 5000)
    }

    function test_deletionDialogCancelAndEscape() {
        showPage()
        const one = session.visibleComputers.find(c => c.canDelete)
        session.requestComputerDeletion([one])
        const dialog = passwordDialog("deletion", "Something1!")
        compare(dialog.title, "Are you sure you want to delete " + one.userInstanceName + "?")
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
        showPage()
        const computer = session.computers[0]
        session.resetCachedPassword(computer)
        const dialog = passwordDialog("update", "short")
        compare(dialog.title, "Update Password for " + computer.userInstanceName)
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

    // A reset the client or the service refuses keeps the typed password and stores nothing.
    function test_resetPassword_data() {
        return [
            { tag: "contains user name", password: "xDEMOx-Pass1", sent: 0, fault: "",
              note: "Machine password can not contain the machines username." },
            { tag: "service refusal", password: "Fresh-Pass42!", sent: 1, fault: "kind=error_message&message=Nope",
              note: "Nope" },
            { tag: "accepted", password: "Fresh-Pass42!", sent: 1, fault: "", note: "" },
        ]
    }
    function test_resetPassword(data) {
        showPage()
        if (data.fault !== "")
            testKit.control("fault", "action=reset_win_password_user_vm_instance&" + data.fault)
        const computer = session.computers.find(c => c.username.toLowerCase() === "demo" && c.canDelete)
        session.resetComputerPassword(computer)
        const dialog = passwordDialog("reset", data.password)
        compare(dialog.title, "Reset Password for " + computer.userInstanceName)
        verify(dialog.okButton.enabled)
        mouseClick(dialog.okButton)
        tryVerify(() => testKit.requestCount("reset_win_password_user_vm_instance") === data.sent, 5000)
        const stored = () => session.computerEncryptedPasswords[String(computer.identifier)]
        if (data.note !== "") {
            waitNote(data.note)
            wait(100)
            compare(testKit.requestCount("reset_win_password_user_vm_instance"), data.sent)
            compare(dialog.entry.text, data.password)
            verify(stored() === undefined)
        } else {
            tryVerify(() => stored() !== undefined, 5000)
            compare(testKit.unprotect(stored()), data.password)
            tryCompare(dialog.entry, "text", "")
        }
    }
}
