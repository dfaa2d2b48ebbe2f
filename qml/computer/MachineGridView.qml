import QtQuick
import QtQuick.Controls
import QtQml.Models
import Vantorix.Core

// A grid of computer cards over one of the session's machine models. It does not scroll by itself (the
// page does): it is as high as all its rows, its cells are as wide as the page says and as high as a card
// of that width needs. Inside, a view only as high as the page's visible area follows the page's
// scrolling, so that only the cells near the visible part exist: with hundreds of computers, building (and
// laying out, and re-binding) a cell for every one of them would hold the window for a long time. A card
// whose name editor or menu is open is kept while it is away, so that nothing the user typed is lost.
Item {
    id: grid

    required property MainContext main
    // The computers page (for the details popup); optional.
    property Item page: null
    property alias model: view.model
    property alias cellWidth: view.cellWidth
    property alias cellHeight: view.cellHeight
    readonly property alias count: view.count
    readonly property alias view: view
    readonly property int spacing: 16
    property bool addTransitionEnabled: false
    // The part of the grid that the page's scroll area shows, in the grid's coordinates. Cells exist only
    // near it; cards are built (asynchronously) when they come near it, and only cards inside it are drawn
    // and fetch screenshots.
    property real viewportTop: -Number.MAX_VALUE
    property real viewportBottom: Number.MAX_VALUE
    // The columns: the one count that the inner view lays out and that the grid's height is made of.
    property int columns: GridGeometry.columnCount(width, cellWidth)
    // The part of the grid the inner view covers: the visible part, kept inside the grid.
    readonly property real windowHeight: Math.max(0, Math.min(height, viewportBottom - viewportTop))
    readonly property real windowTop: Math.max(0, Math.min(height - windowHeight, viewportTop))

    function itemAtIndex(index) {
        return view.itemAtIndex(index)
    }

    height: GridGeometry.rowCount(count, columns) * cellHeight

    onWindowTopChanged: view.follow()

    Connections {
        target: grid.main
        // Cards of the first load simply appear; later arrivals fade and grow in.
        function onLoadingComputersChanged() {
            if (!grid.addTransitionEnabled)
                grid.main.setTimeout(() => {
                    if (grid)
                        grid.addTransitionEnabled = true
                }, 600)
        }
    }

    GridView {
        id: view

        // Keeps the view's content where the grid's window is (the view may move it itself, e.g. on a reset).
        // When the row height changes while the first rows are not built, the view keeps its built cells
        // where they were and moves its origin instead; the cells lie at the origin plus their rows.
        function follow() {
            const top = grid.windowTop + originY
            if (Math.abs(contentY - top) > 0.5)
                contentY = top
        }

        y: grid.windowTop
        // Wide enough for exactly `columns` cells, whatever the rounding of the view's own division.
        width: GridGeometry.layoutWidth(grid.columns, cellWidth)
        height: grid.windowHeight
        interactive: false
        boundsBehavior: Flickable.StopAtBounds
        highlightFollowsCurrentItem: false
        currentIndex: -1
        // One row beyond each edge, so that a card is built before it scrolls in.
        cacheBuffer: Math.max(0, Math.round(cellHeight))
        // From the width alone: the cards near the top may not exist while the page is scrolled down.
        cellHeight: GridGeometry.cellHeight(cellWidth)
        reuseItems: false

        // A sliding card ends where its slide was aimed when it began, and the view moves no card while it
        // slides: a new cell size during the slide (the page's width animating, a new row height) would
        // leave it out of its row. Once the slides end, the view lays its cards out again (a change of the
        // display margin is what makes it do so).
        function layoutAfterSlide(running) {
            if (running)
                return
            displayMarginEnd = 1
            displayMarginEnd = 0
        }

        onContentYChanged: follow()
        onOriginYChanged: follow()
        onContentHeightChanged: follow()
        onHeightChanged: follow()

        Behavior on cellHeight { NumberAnimation { duration: 300; easing.type: Easing.InOutCubic } }

        add: Transition {
            enabled: grid.addTransitionEnabled
            NumberAnimation { property: "opacity"; from: 0; to: 1; duration: 600 }
            NumberAnimation { property: "scale"; from: 0; to: 1; duration: 600 }
        }
        remove: Transition {
            NumberAnimation { property: "opacity"; to: 0; duration: 600 }
            NumberAnimation { property: "scale"; to: 0; duration: 600 }
        }
        move: Transition {
            onRunningChanged: view.layoutAfterSlide(running)
            NumberAnimation { properties: "x,y"; duration: 300; easing.type: Easing.InOutCubic }
        }
        displaced: Transition {
            onRunningChanged: view.layoutAfterSlide(running)
            NumberAnimation { properties: "x,y"; duration: 300; easing.type: Easing.InOutCubic }
            // A card displaced mid-add must not stay half faded.
            NumberAnimation { property: "opacity"; to: 1; duration: 300 }
            NumberAnimation { property: "scale"; to: 1; duration: 300 }
        }

        delegate: Item {
            id: cell

            required property Computer machine
            required property int index
            // Inside the page's visible area: drawn, and fetching screenshots. Worked out from the cell's row
            // (a kept cell that the view has let go is no longer moved by it).
            readonly property real gridY: Math.floor(index / grid.columns) * view.cellHeight
            readonly property bool inView: gridY + height > grid.viewportTop && gridY < grid.viewportBottom
            readonly property Item card: cardLoader.item

            // A card whose name editor or menu has been opened is kept from then on, even when the view lets it
            // go (away from the visible part it is hidden and fetches nothing), so that what the user typed or
            // opened outlives the scrolling. It goes with its row. (Let go again once the view had taken it
            // back, the view dropped and rebuilt all its cells.)
            readonly property bool keep: card !== null && card.inUse
            onKeepChanged: {
                if (keep)
                    DelegateModel.inPersistedItems = true
            }
            width: view.cellWidth
            implicitHeight: card ? card.implicitHeight + grid.spacing : view.cellHeight
            height: view.cellHeight

            Loader {
                id: cardLoader
                x: grid.spacing / 2
                width: cell.width - grid.spacing
                // Cells exist only near the visible area; their cards are built a few per frame.
                asynchronous: true
                visible: cell.inView

                sourceComponent: ComputerGridCard {
                    main: grid.main
                    computer: cell.machine
                    inView: cell.inView
                    selected: grid.main.selectedComputers.indexOf(cell.machine ? cell.machine.identifier : -1) >= 0
                    onSelect: shiftModifier => grid.main.selectComputer(cell.machine.identifier, shiftModifier)
                    onShowBillingHistory: computer => {
                        if (grid.page)
                            grid.page.openComputerDetails(computer, 0)
                    }
                    onShowComputerActivity: computer => {
                        if (grid.page)
                            grid.page.openComputerDetails(computer, 1)
                    }
                }
            }
        }
    }
}
