import QtQuick
import QtQuick.Controls.Material
import QtTest
import Vantorix
import Vantorix.Core

// The notifications of the main window: defaults, placement in an area, lifespans,
// the "clear all" pane, the stack's height, links and images in the text, and notices from the core.
ViewsCase {
    name: "Notifications"

    readonly property var stack: root ? root.notificationsContainer : null

    function init() {
        start(1200)
    }
    function note(text, lifespan) {
        return root.notification(text, Notification.Level.Info, undefined, undefined, lifespan)
    }

    function test_nothingForAnEmptyMessage() {
        compare(root.notification(""), undefined)
        compare(root.notification(), undefined)
        compare(root.notification(null), undefined)
        compare(notes().length, 0)
    }

    function test_defaults() {
        const n = root.notification("Hello")
        compare(n.parent, stack)
        compare(n.alignment, Notification.Align.Left)
        compare(n.lifespan, 10000)
        compare(n.removalDelay, 10000)
        verify(n.waiting)
        compare(String(n.backgroundColor), String(root.Material.accent))
        compare(n.x, 0)
    }

    function test_alignmentInAnArea() {
        const area = root.authView.notificationArea
        const n = root.notification("Centred", Notification.Level.Info, area, Notification.Align.Center)
        compare(n.parent, area)
        tryVerify(() => n.width > 0 && Math.abs((n.x + n.width / 2) - area.width / 2) < 1)
        const right = root.notification("Right", Notification.Level.Info, area, Notification.Align.Right)
        tryVerify(() => Math.abs(right.x + right.width - area.width) < 1)
    }

    // A short lifespan has a floor (the disappearing animation) and goes by itself; none (zero or less)
    // stays until closed, and closing twice is harmless.
    function test_lifespan_data() {
        return [
            { tag: "50 ms", lifespan: 50, waiting: true, removalDelay: 200 },
            { tag: "zero", lifespan: 0, waiting: false, removalDelay: 0 },
            { tag: "negative", lifespan: -5, waiting: false, removalDelay: 0 },
        ]
    }
    function test_lifespan(data) {
        const n = note("Note", data.lifespan)
        compare(n.waiting, data.waiting)
        compare(n.removalDelay, data.removalDelay)
        if (!data.waiting) {
            wait(400)
            compare(notes().length, 1)
            mouseClick(findChild(n, "notificationClose"))
            verify(n.removing)
            n.remove()
        } else {
            compare(n.disapearDuration, 200)
        }
        tryVerify(() => notes().length === 0, 5000)
    }

    function test_clearAllThreshold() {
        const pane = findChild(stack, "clearAllPane")
        for (let i = 0; i < 3; ++i)
            note("Note " + i, 0)
        verify(!pane.visible)
        note("Note 3", 0)
        verify(pane.visible)
        // Notifications elsewhere are not touched.
        root.notification("Top", Notification.Level.Info, root.authView.notificationArea, Notification.Align.Center, 0)
        wait(50) // the stack lays its items out before the click
        mouseClick(findChild(stack, "clearAllButton"))
        tryVerify(() => notes().length === 0, 2000)
        verify(!pane.visible)
        compare(notes(root.authView.notificationArea).length, 1)
    }

    function test_stackStopsAtHalfTheWindow() {
        for (let i = 0; i < 20; ++i)
            note("A rather long note number " + i, 0)
        tryVerify(() => stack.implicitHeight > root.height / 2)
        compare(stack.height, root.height / 2)
        verify(stack.clip)
    }

    function test_longTextWraps() {
        const n = note("word ".repeat(400), 0)
        tryVerify(() => n.width > 0 && n.width <= stack.width)
        tryVerify(() => n.height > 60)
    }

    function test_linksOpenOnlyForWebAddresses_data() {
        return [
            { tag: "https", link: "https://vantorix.example/faq", opened: true },
            { tag: "http", link: "http://example.org/", opened: true },
            { tag: "file", link: "file:///etc/passwd", opened: false },
            { tag: "javascript", link: "javascript:alert(1)", opened: false },
        ]
    }
    function test_linksOpenOnlyForWebAddresses(data) {
        const n = note("<a href=\"" + data.link + "\">link</a>", 0)
        findChild(n, "notificationText").linkActivated(data.link)
        compare(context.openedUrls.length, data.opened ? 1 : 0)
    }

    // Not shown, nor read out by assistive tools, which get the text without its markup.
    function test_remoteImagesAreNotShown() {
        const n = note("Look <img src=\"http://127.0.0.1:9/x.png\"> <b>here</b>", 0)
        const label = findChild(n, "notificationText")
        verify(label.text.indexOf("<img") < 0, label.text)
        verify(label.text.indexOf("here") >= 0)
        compare(n.Accessible.name, "Look  here")
    }

    function test_coreNotificationsReachTheStack() {
        testKit.coreNotify("From the core", Notification.Level.Warning, 0)
        compare(texts(), ["From the core"])
        compare(notes()[0].lifespan, 0)
    }

    function test_setTimeoutRunsOnce() {
        let runs = 0
        root.setTimeout(() => ++runs, 10)
        tryVerify(() => runs === 1, 3000)
        wait(100)
        compare(runs, 1)
    }
}
