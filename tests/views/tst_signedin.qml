import QtQuick
import QtQuick.Controls
import QtTest
import Vantorix
import Vantorix.Core

// The signed-in frame against the demo service: sidebar by width crossings and by hand, the credit and
// burn-rate texts, the active menu entries, the page slot and sign-out.
ViewsCase {
    name: "SignedIn"

    readonly property var sidebar: frame ? frame.sidebar : null

    function test_sidebarFollowsWidthCrossings() {
        signIn(600)
        compare(frame.width, 600)
        verify(!sidebar.open)
        verify(frame.headerToggle.visible)
        compare(frame.flickable.x, 0)
        compare(frame.darkening.opacity, 0)
        // Opened by hand on a narrow frame: the page is darkened but still takes input.
        mouseClick(frame.headerToggle)
        verify(sidebar.open)
        tryCompare(frame.darkening, "opacity", 0.5, 2000)
        verify(!frame.darkening.enabled || frame.darkening.children.length === 0)
        mouseClick(findChild(sidebar, "sidebarMenuButton"))
        verify(!sidebar.open)

        root.width = 800
        verify(sidebar.open)
        tryCompare(frame.flickable, "x", sidebar.width, 2000)
        compare(frame.darkening.opacity, 0)
        root.width = 600
        verify(!sidebar.open)
        verify(frame.headerToggle.flashing)
        compare(frame.flickable.x, 0)
    }

    function test_toggleTakesAClickWhileFlashing() {
        signIn(900)
        root.width = 600
        verify(!sidebar.open)
        verify(frame.headerToggle.flashing)
        // At several moments of the flash, the faded-out one included. The sidebar slides out over the
        // toggle first (a click before it has gone lands on the sidebar), while the flash has begun.
        const toggle = frame.headerToggle
        const full = () => toggle.opacity > 0.9
        const faded = () => toggle.opacity < 0.3
        const moments = [{ name: "fading in", steps: [] }, { name: "at full", steps: [full] },
                         { name: "faded out", steps: [full, faded] }]
        for (const moment of moments) {
            tryVerify(() => sidebar.x === -sidebar.width, 3000)
            for (const step of moment.steps)
                tryVerify(step, 3000, moment.name)
            verify(toggle.flashing)
            mouseClick(toggle)
            verify(sidebar.open, "click " + moment.name)
            sidebar.open = false
        }
    }

    function test_manualCloseStandsBetweenCrossings() {
        signIn(900)
        verify(sidebar.open)
        sidebar.open = false
        root.width = 700
        root.width = 1000
        root.width = 800
        verify(!sidebar.open)
        root.width = 640
        verify(!sidebar.open)
        root.width = 700
        verify(sidebar.open)
    }

    function test_creditsText_data() {
        return [
            { tag: "positive", credits: 5.4, text: "5.40", red: false },
            { tag: "zero", credits: 0, text: "0.00", red: false },
            { tag: "negative", credits: -0.5, text: "-0.50", red: true },
        ]
    }
    function test_creditsText(data) {
        signIn(1200)
        session.user.credits = data.credits
        compare(sidebar.creditsLabel.text, data.text)
        compare(Qt.colorEqual(sidebar.creditsLabel.color, "red"), data.red)
        compare(findChild(sidebar, "greetingLabel").text, "Hi " + session.user.firstName + "!")
    }

    // The burn rate of the selected computers, or of all of them; the hours left always at the rate of all.
    function test_burnRateAndHoursLeft() {
        signIn(1200)
        const all = session.currentBurnRate
        verify(all > 0)
        session.user.credits = all * 14.51
        compare(sidebar.burnRateLabel.text, "Using " + all.toFixed(3) + " credits /h")
        compare(sidebar.hoursLeftLabel.text, "\u2248 14 h 30 min left")
        verify(sidebar.hoursLeftLabel.visible)
        const running = session.computers.filter(c => c.status === Computer.Running)
        verify(running.length >= 1)
        session.selectedComputers = [running[0].identifier]
        tryVerify(() => session.selectedBurnRate === running[0].currentBurnRate, 2000)
        compare(sidebar.burnRateLabel.text, "Using " + running[0].currentBurnRate.toFixed(3) + " credits /h")
        compare(sidebar.hoursLeftLabel.text, "\u2248 14 h 30 min left")
        session.selectedComputers = []
        tryCompare(sidebar.burnRateLabel, "text", "Using " + session.currentBurnRate.toFixed(3) + " credits /h")
    }

    // A click on a computer's system notification brings its card into view.
    function test_revealComputer() {
        signIn(1200)
        tryVerify(() => session.visibleStandardComputers.length > 4, 5000)
        const last = session.visibleStandardComputers[session.visibleStandardComputers.length - 1]
        session.pageIndex = MainContext.Account
        session.showComputer(last.identifier)
        compare(session.pageIndex, MainContext.Computers)
        tryVerify(() => frame.flickable.contentY > 0, 3000)
    }

    function test_activeMenuEntries_data() {
        return [
            { tag: "computers", page: MainContext.Computers, tab: 0, active: "myMachinesButton" },
            { tag: "create", page: MainContext.CreateInstance, tab: 0, active: "newMachineButton" },
            { tag: "account info", page: MainContext.Account, tab: 0, active: "myAccountButton" },
            { tag: "payments", page: MainContext.Account, tab: 1, active: "paymentsButton" },
            { tag: "activity", page: MainContext.Account, tab: 2, active: "myAccountButton" },
            { tag: "e-mail settings", page: MainContext.Account, tab: 3, active: "myAccountButton" },
            { tag: "app settings", page: MainContext.Account, tab: 4, active: "myAccountButton" },
        ]
    }
    function test_activeMenuEntries(data) {
        signIn(1200)
        session.myAccountPageIndex = data.tab
        session.pageIndex = data.page
        for (const name of ["paymentsButton", "newMachineButton", "myMachinesButton", "myAccountButton",
                            "signOutButton"])
            compare(sidebar[name].activeMenuItem, name === data.active, name)
    }

    function test_menuPresses() {
        signIn(1200)
        mouseClick(sidebar.paymentsButton)
        compare(session.pageIndex, MainContext.Account)
        compare(session.myAccountPageIndex, 1)
        mouseClick(sidebar.myAccountButton)
        compare(session.myAccountPageIndex, 0)
        mouseClick(sidebar.newMachineButton)
        compare(session.pageIndex, MainContext.CreateInstance)
        mouseClick(sidebar.myMachinesButton)
        compare(session.pageIndex, MainContext.Computers)
        tryVerify(() => frame.page !== null && frame.page.extraControlsRow !== undefined, 5000)
        session.pageIndex = MainContext.CreateInstance
        mouseClick(sidebar.leftBannerArea)
        compare(session.pageIndex, MainContext.CreateInstance)
        session.pageIndex = MainContext.Computers
        mouseClick(sidebar.leftBannerArea)
        compare(session.pageIndex, MainContext.CreateInstance)
    }

    function test_footerAndHelpOpenServicePages() {
        signIn(1200)
        mouseClick(findChild(frame, "faqButton"))
        compare(context.openedUrls[context.openedUrls.length - 1], testKit.serviceUrl + "/faq")
    }

    function test_signOutAsksFirst() {
        signIn(1200)
        let signedOut = 0
        root.signedOut.connect(() => ++signedOut)
        mouseClick(sidebar.signOutButton)
        answer(false, "Sign out", "Are you sure you want to sign out?")
        wait(100)
        verify(frame.page !== null)
        compare(frame.signingOutIndicator.opacity, 0)

        mouseClick(sidebar.signOutButton)
        tryVerify(() => root.confirmPopup.opened)
        mouseClick(findChild(root.confirmPopup.contentItem, "confirmOk"))
        tryVerify(() => frame.signingOutIndicator.visible)
        compare(frame.page, null)
        tryCompare(frame.flickable, "visible", false, 3000)
        compare(testHost.cacheClears, 1)
        tryVerify(() => signedOut === 1, 10000)
        compare(root.user, null)
        verify(root.authView.visible)
    }
}
