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
ViewsCase {
    name: "Screens"

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

    function settle() {
        wait(400)
        waitForRendering(root)
    }

    function test_expectedBackEnd() {
        if (expectedGraphicsApi === "")
            skip("no back-end asked for")
        compare(software ? "software" : "opengl", expectedGraphicsApi)
    }

    function test_screens() {
        start(1200)
        settle()
        let image = grabImage(root)
        save(image, "signin")
        // The sign-in card is drawn over the window's background.
        const card = root.authView.loginForm
        verify(!Qt.colorEqual(colourIn(image, card, card.width / 2, card.height - 4),
                              colourIn(image, root, 4, 4)), "the sign-in card is not drawn")

        logIn("demo", demoPassword)
        tryVerify(() => page !== null && page.loadingVeil !== undefined && session.computers.length > 0, 10000)
        tryVerify(() => testKit.pendingRequests() === 0 && frame.sidebar.x === 0 && !page.loadingVeil.visible, 10000)
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

        openPage(MainContext.CreateInstance, "form")
        settle()
        save(grabImage(root), "create")

        openPage(MainContext.Account, "settingsTab", MyAccountView.AppSettingsPage)
        settle()
        save(grabImage(root), "settings")
        compare(findChild(page, "rendererInUse").text,
                "In use: " + (software ? "software renderer" : "graphics card"))
    }
}
