import QtQuick
import QtQuick.Controls
import QtTest
import Vantorix
import Vantorix.Core

// The main screens in whichever Qt Quick back-end the run uses (this file also runs under Xvfb with
// OpenGL, see CMakeLists.txt): the sign-in view, the computers page, the create view and the application
// settings. Each screen is grabbed (and saved when VANTORIX_SCREENS_DIR is set, to be looked at); the
// software back-end has no shader effects, so there the elevated panes and the deleted card must use their
// plain look, and every screen must show its panes rather than the window's background.
TestCase {
    id: testCase
    name: "Screens"
    when: windowShown
    visible: true
    width: 1200
    height: 720

    property var root: null
    readonly property var frame: root ? root.signedInFrame.item : null
    readonly property var session: frame ? frame.main : null
    readonly property bool software: GraphicsInfo.api === GraphicsInfo.Software

    function save(image, name) {
        if (screensDir !== "")
            image.save(screensDir + "/" + name + (software ? "-software" : "-opengl") + ".png")
    }

    // The colour at the centre of `item`'s rectangle (x0, y0, w, h in item coordinates) in the window grab.
    function colourIn(image, item, x0, y0) {
        const p = item.mapToItem(root, x0, y0)
        return image.pixel(Math.round(p.x), Math.round(p.y))
    }

    function start() {
        testKit.control("reset")
        testKit.clearSettings()
        context.reset()
        testHost.reset()
        const component = Qt.createComponent("qrc:/Vantorix/main.qml")
        compare(component.status, Component.Ready, component.errorString())
        root = createTemporaryObject(component, testCase)
        root.width = 1200
        root.height = 720
        tryVerify(() => testKit.pendingRequests() === 0, 5000)
    }

    function signIn() {
        root.authView.loginForm.userIdField.text = "demo"
        root.authView.loginForm.passwordField.text = "Demo-Pass1!"
        mouseClick(root.authView.loginForm.loginButton)
        tryVerify(() => frame !== null && frame.completed && frame.page !== null, 10000)
        tryVerify(() => !session.loadingComputers && session.computers.length > 0, 10000)
        tryVerify(() => testKit.pendingRequests() === 0, 10000)
        tryVerify(() => frame.sidebar.x === 0, 3000)
    }

    function settle() {
        wait(400)
        waitForRendering(root)
    }

    function cleanup() {
        root = null
    }

    function test_expectedBackEnd() {
        if (expectedGraphicsApi === "")
            skip("no back-end asked for")
        compare(software ? "software" : "opengl", expectedGraphicsApi)
    }

    function test_screens() {
        start()
        settle()
        let image = grabImage(root)
        save(image, "signin")
        // The sign-in card is drawn over the window's background.
        const card = root.authView.loginForm
        verify(!Qt.colorEqual(colourIn(image, card, card.width / 2, card.height - 4),
                              colourIn(image, root, 4, 4)), "the sign-in card is not drawn")

        signIn()
        const page = frame.page
        tryVerify(() => !page.loadingVeil.visible, 3000)
        settle()
        image = grabImage(root)
        save(image, "computers")

        // The deleted computer's card: desaturated under OpenGL, faded without a layer in software.
        const archive = session.computers.find(c => c.userInstanceName === "Archive")
        verify(archive)
        session.filterStatusDeleted = false
        page.extraControlsRow.searchField.text = "Archive"
        settle()
        const grid = page.mainGrid
        tryVerify(() => grid.count === 1 && grid.itemAtIndex(0) && grid.itemAtIndex(0).card, 3000)
        const picture = findChild(grid.itemAtIndex(0).card, "previewPicture")
        verify(picture)
        compare(picture.layer.enabled, !software)
        verify(picture.opacity < (software ? 0.5 : 0.51))
        wait(600) // the grid's move transition
        image = grabImage(root)
        save(image, "computers-deleted")

        session.pageIndex = MainContext.CreateInstance
        tryVerify(() => frame.page && frame.page.extraControlsRow !== page.extraControlsRow, 5000)
        tryVerify(() => testKit.pendingRequests() === 0, 10000)
        settle()
        save(grabImage(root), "create")

        session.myAccountPageIndex = MyAccountView.AppSettingsPage
        session.pageIndex = MainContext.Account
        tryVerify(() => frame.page && frame.page.settingsTab !== undefined, 5000)
        tryVerify(() => testKit.pendingRequests() === 0, 10000)
        settle()
        image = grabImage(root)
        save(image, "settings")
        compare(findChild(frame.page, "rendererInUse").text,
                "In use: " + (software ? "software renderer" : "graphics card"))
    }
}
