import QtQuick
import QtQuick.Controls.Material
import QtTest
import Vantorix
import Vantorix.Core

TestCase {
    id: testCase
    name: "Notifications"
    when: windowShown
    visible: true
    width: 1200
    height: 720

    property var root: null
    readonly property var stack: root ? root.notificationsContainer : null

    function notificationsIn(area) {
        const list = []
        for (let i = 0; i < area.children.length; ++i) {
            if (area.children[i].objectName !== "clearAllPane")
                list.push(area.children[i])
        }
        return list
    }

    function init() {
        testKit.clearSettings()
        context.reset()
        const component = Qt.createComponent("qrc:/Vantorix/main.qml")
        compare(component.status, Component.Ready, component.errorString())
        root = createTemporaryObject(component, testCase)
        verify(root)
    }

    function test_nothingForAnEmptyMessage() {
        compare(root.notification(""), undefined)
        compare(root.notification(), undefined)
        compare(root.notification(null), undefined)
        compare(notificationsIn(stack).length, 0)
    }

    function test_defaults() {
        const n = root.notification("Hello")
        verify(n)
        compare(n.parent, stack)
        compare(n.text, "Hello")
        compare(n.alignment, Notification.Align.Left)
        compare(n.lifespan, 10000)
        compare(n.removalDelay, 10000)
        verify(n.waiting)
        compare(String(n.backgroundColor), String(root.Material.accent))
        compare(n.x, 0)
    }

    function test_levelColours_data() {
        return [
            { tag: "error", level: Notification.Level.Error, colour: "#f44336" },
            { tag: "warning", level: Notification.Level.Warning, colour: "#ef6c00" },
            { tag: "unknown level", level: 7, colour: undefined },
        ]
    }
    function test_levelColours(data) {
        const n = root.notification("Coloured", data.level)
        verify(n)
        if (data.colour === undefined)
            compare(n.backgroundColor, undefined)
        else
            verify(Qt.colorEqual(n.backgroundColor, data.colour), String(n.backgroundColor))
    }

    function test_alignmentInAnArea() {
        const area = root.authView.notificationArea
        const n = root.notification("Centred", Notification.Level.Info, area, Notification.Align.Center)
        verify(n)
        compare(n.parent, area)
        tryVerify(() => n.width > 0 && Math.abs((n.x + n.width / 2) - area.width / 2) < 1)
        const right = root.notification("Right", Notification.Level.Info, area, Notification.Align.Right)
        tryVerify(() => Math.abs(right.x + right.width - area.width) < 1)
    }

    function test_lifespanFloor() {
        const n = root.notification("Short", Notification.Level.Info, undefined, undefined, 50)
        compare(n.lifespan, 50)
        compare(n.removalDelay, n.disapearDuration)
        compare(n.disapearDuration, 200)
        verify(n.waiting)
        // It goes by itself once the delay and the animation are over.
        tryVerify(() => notificationsIn(stack).length === 0, 5000)
    }

    function test_lifespanZeroStaysUntilClosed_data() {
        return [{ tag: "zero", lifespan: 0 }, { tag: "negative", lifespan: -5 }]
    }
    function test_lifespanZeroStaysUntilClosed(data) {
        const n = root.notification("Stays", Notification.Level.Info, undefined, undefined, data.lifespan)
        verify(!n.waiting)
        compare(n.removalDelay, 0)
        wait(400)
        compare(notificationsIn(stack).length, 1)
        const close = findChild(n, "notificationClose")
        mouseClick(close)
        verify(n.removing)
        tryVerify(() => notificationsIn(stack).length === 0, 5000)
    }

    function test_removeTwiceIsHarmless() {
        const n = root.notification("Twice", Notification.Level.Info, undefined, undefined, 0)
        n.remove()
        n.remove()
        tryVerify(() => notificationsIn(stack).length === 0, 5000)
    }

    function test_clearAllThreshold() {
        const pane = findChild(stack, "clearAllPane")
        for (let i = 0; i < 3; ++i)
            root.notification("Note " + i, Notification.Level.Info, undefined, undefined, 0)
        verify(!pane.visible)
        const fourth = root.notification("Note 3", Notification.Level.Info, undefined, undefined, 0)
        verify(pane.visible)
        // Notifications elsewhere are not touched.
        const elsewhere = root.notification("Top", Notification.Level.Info, root.authView.notificationArea,
                                            Notification.Align.Center, 0)
        wait(50) // the stack lays its items out before the click
        mouseClick(findChild(stack, "clearAllButton"))
        tryVerify(() => notificationsIn(stack).length === 0, 2000)
        verify(!pane.visible)
        compare(notificationsIn(root.authView.notificationArea).length, 1)
    }

    function test_stackStopsAtHalfTheWindow() {
        for (let i = 0; i < 20; ++i)
            root.notification("A rather long note number " + i, Notification.Level.Warning, undefined, undefined, 0)
        tryVerify(() => stack.implicitHeight > root.height / 2)
        compare(stack.height, root.height / 2)
        verify(stack.clip)
    }

    function test_longTextWraps() {
        const n = root.notification("word ".repeat(400), Notification.Level.Info, undefined, undefined, 0)
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
        const n = root.notification("<a href=\"" + data.link + "\">link</a>", Notification.Level.Info,
                                    undefined, undefined, 0)
        const label = findChild(n, "notificationText")
        label.linkActivated(data.link)
        compare(context.openedUrls.length, data.opened ? 1 : 0)
    }

    function test_remoteImagesAreNotShown() {
        const n = root.notification("Look <img src=\"http://127.0.0.1:9/x.png\"> here", Notification.Level.Info,
                                    undefined, undefined, 0)
        const label = findChild(n, "notificationText")
        verify(label.text.indexOf("<img") < 0, label.text)
        verify(label.text.indexOf("here") >= 0)
    }

    function test_coreNotificationsReachTheStack() {
        testKit.coreNotify("From the core", Notification.Level.Warning, 0)
        const list = notificationsIn(stack)
        compare(list.length, 1)
        compare(list[0].text, "From the core")
        compare(list[0].lifespan, 0)
    }

    function test_setTimeoutRunsOnce() {
        let runs = 0
        root.setTimeout(() => ++runs, 10)
        tryVerify(() => runs === 1, 3000)
        wait(100)
        compare(runs, 1)
    }
}
