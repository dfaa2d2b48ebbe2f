import QtQuick
import QtQuick.Controls
import Vantorix.Core

// A grid of computer cards over one of the session's machine models. It does not scroll by itself (the
// page does): it is as high as all its rows, its cells are as wide as the page says and as high as the
// first card needs. Inside, a view only as high as the page's visible area follows the page's scrolling,
// so that only the cells near the visible part exist: with hundreds of computers, building (and laying
// out, and re-binding) a cell for every one of them would hold the window for a long time.
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
    // The rows laid out (computed, never read back from the view).
    readonly property int columns: Math.max(1, Math.floor(width / cellWidth + 0.001))
    // The part of the grid the inner view covers: the visible part, kept inside the grid.
    readonly property real windowHeight: Math.max(0, Math.min(height, viewportBottom - viewportTop))
    readonly property real windowTop: Math.max(0, Math.min(height - windowHeight, viewportTop))

    function itemAtIndex(index) {
        return view.itemAtIndex(index)
    }

    function updateCellHeight() {
        if (count === 0)
            return
        main.setTimeout(() => {
            // The grid may have gone, or been emptied, in the meantime.
            if (!grid || grid.count === 0)
                return
            const first = view.itemAtIndex(0)
            if (first && first.card)
                view.cellHeight = first.implicitHeight
        }, 50)
    }

    height: Math.ceil(count / columns) * cellHeight

    onWidthChanged: updateCellHeight()
    onCountChanged: updateCellHeight()
    Component.onCompleted: updateCellHeight()
    onWindowTopChanged: view.follow()

    Connections {
        target: grid.main
        function onGridCardColumnWidthChanged() {
            grid.updateCellHeight()
        }
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
        function follow() {
            if (Math.abs(contentY - grid.windowTop) > 0.5)
                contentY = grid.windowTop
        }

        y: grid.windowTop
        width: grid.width
        height: grid.windowHeight
        interactive: false
        boundsBehavior: Flickable.StopAtBounds
        highlightFollowsCurrentItem: false
        currentIndex: -1
        // One row beyond each edge, so that a card is built before it scrolls in.
        cacheBuffer: Math.max(0, Math.round(cellHeight))
        cellHeight: 300
        reuseItems: false

        onContentYChanged: follow()
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
            NumberAnimation { properties: "x,y"; duration: 300; easing.type: Easing.InOutCubic }
        }
        displaced: Transition {
            NumberAnimation { properties: "x,y"; duration: 300; easing.type: Easing.InOutCubic }
            // A card displaced mid-add must not stay half faded.
            NumberAnimation { property: "opacity"; to: 1; duration: 300 }
            NumberAnimation { property: "scale"; to: 1; duration: 300 }
        }

        delegate: Item {
            id: cell

            required property Computer machine
            required property int index
            // Inside the page's visible area: drawn, and fetching screenshots.
            readonly property bool inView: y + height > grid.viewportTop && y < grid.viewportBottom
            readonly property Item card: cardLoader.item

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
                onLoaded: {
                    if (cell.index === 0)
                        grid.updateCellHeight()
                }

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
