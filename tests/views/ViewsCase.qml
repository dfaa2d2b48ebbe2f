import QtQuick
import QtTest

// A view test on the program's main window against the demo service, with the steps the tests share.
TestCase {
    id: viewsCase
    when: windowShown
    visible: true
    width: 1200
    height: 720

    property var root: null
    readonly property var frame: root ? root.signedInFrame.item : null
    readonly property var session: frame ? frame.main : null
    readonly property var page: frame ? frame.page : null
    readonly property string demoPassword: "Demo-Pass1!"
    // The window lives for the whole file (made in initTestCase, destroyed by the test) rather than a test.
    property bool keepWindow: false
    // Whether the test window takes the width of the main window that start() makes.
    property bool windowFollowsWidth: true

    // A new main window, w pixels wide, on a reset service, settings store and bridge; `prepare` runs
    // before it is made (service faults, stored settings).
    function start(w, prepare) {
        testKit.control("reset")
        testKit.clearSettings()
        testKit.setServiceUnreachable(false)
        context.reset()
        testHost.reset()
        if (prepare)
            prepare()
        if (windowFollowsWidth)
            width = w === undefined ? 1200 : w
        const component = Qt.createComponent("qrc:/Vantorix/main.qml")
        compare(component.status, Component.Ready, component.errorString())
        root = keepWindow ? component.createObject(viewsCase) : createTemporaryObject(component, viewsCase)
        root.width = w === undefined ? 1200 : w
        root.height = 720
        tryVerify(() => testKit.pendingRequests() === 0, 5000)
    }
    function logIn(userId, password) {
        const form = root.authView.loginForm
        form.userIdField.text = userId
        form.passwordField.text = password
        mouseClick(form.loginButton)
    }
    // start(), then signed in as userId ("demo") with the signed-in frame complete, the computer list
    // loaded and the sidebar settled.
    function signIn(w, userId, prepare) {
        start(w, prepare)
        logIn(userId === undefined ? "demo" : userId, demoPassword)
        tryVerify(() => frame !== null && frame.completed, 10000)
        tryVerify(() => !session.loadingComputers && testKit.pendingRequests() === 0, 10000)
        tryVerify(() => frame.sidebar.x === (frame.sidebar.open ? 0 : -frame.sidebar.width), 3000)
        // The frame's column lays out its rows before the next frame is drawn; until then the page may
        // still lie at the top, over the header row, and take the clicks meant for it.
        tryVerify(() => !isPolishScheduled(frame.flickableContent), 3000)
    }
    // Opens a page of the signed-in frame (and a tab of the account page), known by one of its members,
    // and lets the frame settle.
    function openPage(index, member, tab) {
        if (tab !== undefined)
            session.myAccountPageIndex = tab
        session.pageIndex = index
        tryVerify(() => page !== null && page[member] !== undefined, 5000)
        wait(350)
        tryVerify(() => testKit.pendingRequests() === 0, 5000)
    }

    // The notifications of an area (the main stack by default), without its "clear all" pane.
    function notes(area) {
        const container = area === undefined ? root.notificationsContainer : area
        const list = []
        for (let i = 0; i < container.children.length; ++i) {
            if (container.children[i].objectName !== "clearAllPane")
                list.push(container.children[i])
        }
        return list
    }
    function texts(area) {
        return notes(area).map(n => n.text)
    }
    function waitNote(text, area) {
        tryVerify(() => texts(area).indexOf(text) >= 0, 5000, "notification " + text)
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
    function sent(action, key) {
        return param(testKit.lastRequest(action), key)
    }

    function typeText(text) {
        for (const ch of text)
            keyClick(ch)
    }
    // Replaces the text of a field by typing, as the user would.
    function retype(field, text) {
        field.forceActiveFocus()
        field.selectAll()
        typeText(text)
    }

    // Scrolls the signed-in frame so that the item is in the window, below a floating toolbar.
    function reveal(item) {
        const flick = frame.flickable
        const y = item.mapToItem(flick.contentItem, 0, 0).y
        flick.contentY = Math.max(0, Math.min(y - 150, flick.contentHeight - flick.height))
        wait(50)
        return item
    }

    // Waits for the confirmation question, checks its texts (those given) and answers it.
    function answer(accept, title, message) {
        const popup = root.confirmPopup
        tryVerify(() => popup.opened, 3000)
        if (title !== undefined)
            compare(popup.title, title)
        if (message !== undefined)
            compare(popup.message, message)
        mouseClick(findChild(popup.contentItem, accept ? "confirmOk" : "confirmCancel"))
        // Until its exit transition ends the modal popup still takes the clicks.
        tryVerify(() => !popup.visible, 3000)
    }

    function enabledEntries(menu) {
        const list = []
        for (let i = 0; i < menu.count; ++i) {
            const item = menu.itemAt(i)
            if (item.text && item.enabled)
                list.push(item.text)
        }
        return list
    }

    function cleanup() {
        testKit.control("fault/clear")
        // Nothing of this test may still be on its way when the next one starts (or the run ends).
        if (root)
            tryVerify(() => testKit.pendingRequests() === 0, 5000)
        root = null
    }
}
