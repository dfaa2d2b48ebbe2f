import QtQuick
import QtQuick.Controls
import Vantorix.Core

// A grid of computer cards over one of the session's machine models. It does not scroll by itself (the
// page does); its cells are as wide as the page says and as high as the first card needs.
GridView {
    id: grid

    required property MainContext main
    // The computers page (for the details popup); optional.
    property Item page: null
    readonly property int spacing: 16
    property bool addTransitionEnabled: false
    // The part of the grid that the page's scroll area shows, in the grid's coordinates. Cards are built
    // (asynchronously) when they first come near it, and only cards near it are drawn and fetch
    // screenshots: with hundreds of computers the rest would only cost frame time.
    property real viewportTop: -Number.MAX_VALUE
    property real viewportBottom: Number.MAX_VALUE

    function updateCellHeight() {
        if (count === 0)
            return
        main.setTimeout(() => {
            // The grid may have gone, or been emptied, in the meantime.
            if (!grid || grid.count === 0)
                return
            const first = grid.itemAtIndex(0)
            if (first && first.card)
                grid.cellHeight = first.implicitHeight
        }, 50)
    }

    interactive: false
    boundsBehavior: Flickable.StopAtBounds
    cacheBuffer: 0
    cellHeight: 300
    // Laid out at full height inside the page's scroll area (computed, not read back from the view).
    readonly property int columns: Math.max(1, Math.floor(width / cellWidth + 0.001))
    height: Math.ceil(count / columns) * cellHeight
    reuseItems: false

    onWidthChanged: updateCellHeight()
    onCountChanged: updateCellHeight()
    Component.onCompleted: updateCellHeight()

    Behavior on cellHeight { NumberAnimation { duration: 300; easing.type: Easing.InOutCubic } }

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
        readonly property bool inView: y + height >= grid.viewportTop - grid.cellHeight
                                       && y <= grid.viewportBottom + grid.cellHeight
        readonly property Item card: cardLoader.item

        width: grid.cellWidth
        implicitHeight: card ? card.implicitHeight + grid.spacing : grid.cellHeight
        height: grid.cellHeight

        Loader {
            id: cardLoader
            x: grid.spacing / 2
            width: cell.width - grid.spacing
            // Once built, a card stays (its editor or menu may be open) but is not drawn out of view.
            active: cell.inView || status !== Loader.Null
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
