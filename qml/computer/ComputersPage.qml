import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Controls.impl
import Vantorix.Core

// The computers page: the sticky toolbar, the favourites strip, the main grid, the empty and no-match
// states, the bulk-action panel, the first-load veil and the password and deletion dialogs. It owns no
// data: filters, order, sizes and the selection live in the session.
//
// Details popup: the cards' "Machine Billing" and "Machine Activity" entries call
// `openComputerDetails(computer, detailsPage)` (detailsPage 0 = billing history, 1 = activity, the
// details popup's Page values), which emits `computerDetailsRequested`. The page loads the one popup
// from "ComputerViewPopup.qml" (when that file exists) and hands the request to it: its `pageIndex` is
// set, then `show(computer)` is called.
Item {
    id: page

    required property MainContext main
    required property Flickable flickable
    required property Item flickableContent
    required property int breakWidth
    // The frame's sidebar and logo (optional: without them the toolbar has no sidebar cell).
    property Item sidebar: null
    property string logoSource: ""

    readonly property alias extraControlsRow: toolbar
    readonly property bool wide: width > breakWidth
    readonly property int gridSpacing: 16
    readonly property real gridWidth: wide ? width : width + gridSpacing
    // The one column count of the main grid: its layout, its height and the grid-size slider follow it.
    readonly property int gridColumns: GridGeometry.columnCount(gridWidth, main.gridCardColumnWidth)
    readonly property real cellWidth: gridWidth / gridColumns
    readonly property int fewestColumns: GridGeometry.fewestColumns(gridWidth)
    readonly property int mostColumns: GridGeometry.mostColumns(gridWidth)
    readonly property bool favouritesShown: main.visibleFavouriteComputers.length > 0
    readonly property bool mainGridShown: main.visibleStandardComputers.length > 0
    readonly property bool noComputers: main.computers.length === 0
    readonly property bool noMatch: !noComputers && main.visibleComputers.length === 0
    // Where the page sits in the frame's content column, and how far that is scrolled.
    readonly property real pageY: parent ? parent.y : 0
    readonly property real scrolled: flickable.contentY

    readonly property alias favouritesGrid: favouritesGrid
    readonly property alias favouritesStrip: favouritesStrip
    readonly property alias mainGrid: mainGrid
    readonly property alias noComputersState: noComputersState
    readonly property alias noMatchState: noMatchState
    readonly property alias yourMachinesHeading: yourMachinesHeading
    readonly property alias bulkPanel: bulkPanel
    readonly property alias loadingVeil: loadingVeil
    readonly property alias dialogs: dialogs
    readonly property alias detailsPopupLoader: detailsPopupLoader

    signal computerDetailsRequested(Computer computer, int detailsPage)

    function openComputerDetails(computer, detailsPage) {
        computerDetailsRequested(computer, detailsPage)
    }

    // Scrolls a computer's card into view (a click on the computer's system notification).
    function reveal(identifier) {
        const favourites = main.visibleFavouriteComputers.map(c => c.identifier)
        const standard = main.visibleStandardComputers.map(c => c.identifier)
        let y = -1
        if (favourites.indexOf(identifier) >= 0) {
            y = favouritesStrip.y
            const x = favourites.indexOf(identifier) * favouritesGrid.cellWidth
            favouritesScroll.contentX = Math.max(0, Math.min(x, favouritesScroll.contentWidth - favouritesScroll.width))
        } else if (standard.indexOf(identifier) >= 0) {
            y = mainGrid.y + Math.floor(standard.indexOf(identifier) / gridColumns) * mainGrid.cellHeight
        }
        if (y < 0)
            return
        flickable.contentY = Math.max(0, Math.min(pageY + y - toolbar.height, flickable.contentHeight - flickable.height))
    }

    Connections {
        target: page.main
        function onComputerRevealRequested(identifier) {
            Qt.callLater(page.reveal, identifier)
        }
    }

    implicitHeight: column.height

    Component.onCompleted: {
        main.listUserVMInstances()
        // The payment list and the VAT rate belong to the payments part of the session once it exists.
        if (typeof main.listUserPayments === "function")
            main.listUserPayments()
        if (typeof main.updateRomainianVatRate === "function")
            main.updateRomainianVatRate()
        detailsPopupLoader.setSource(Qt.resolvedUrl("ComputerViewPopup.qml"), { "main": main })
    }

    Column {
        id: column
        width: parent.width
        spacing: 20
        opacity: 1

        // The toolbar's docking slot; the toolbar itself floats over it.
        Item {
            id: toolbarSlot
            width: parent.width
            height: toolbar.height
        }

        Column {
            id: favouritesStrip
            objectName: "favouritesStrip"
            visible: page.favouritesShown
            width: parent.width
            spacing: 20

            Rectangle {
                width: parent.width
                height: 1
                color: Material.color(Material.Grey, Material.Shade300)
            }
            Row {
                x: page.wide ? page.gridSpacing / 2 : 0
                spacing: 10
                // Tinted like the heading: the black drawing vanished on the dark theme's background.
                IconImage {
                    width: 32
                    height: 32
                    sourceSize.width: 32
                    sourceSize.height: 32
                    source: "qrc:///assets/icons/star_border_black_18dp.svg"
                    color: Material.color(Material.Grey, Material.Shade600)
                }
                Label {
                    anchors.verticalCenter: parent.verticalCenter
                    text: "Favourite machines"
                    font.pointSize: 14
                    color: Material.color(Material.Grey, Material.Shade600)
                }
            }
            Flickable {
                id: favouritesScroll
                objectName: "favouritesScroll"
                readonly property bool overflowing: page.main.visibleFavouriteComputers.length + 1 > page.gridColumns
                x: page.wide ? 0 : -page.gridSpacing / 2
                width: page.gridWidth
                height: favouritesGrid.cellHeight - page.gridSpacing + (overflowing ? favouritesBar.height + 4 : 0)
                clip: true
                contentWidth: favouritesGrid.width
                contentHeight: height
                flickableDirection: Flickable.HorizontalFlick
                // Moved by its scroll bar only, so that the mouse wheel keeps scrolling the page.
                interactive: false
                boundsBehavior: Flickable.StopAtBounds
                ScrollBar.horizontal: ScrollBar {
                    id: favouritesBar
                    policy: favouritesScroll.overflowing ? ScrollBar.AlwaysOn : ScrollBar.AsNeeded
                }

                MachineGridView {
                    id: favouritesGrid
                    objectName: "favouritesGrid"
                    main: page.main
                    page: page
                    model: page.main.visibleFavouriteMachinesModel
                    cellWidth: page.mainGridShown ? page.cellWidth : page.main.gridCardColumnWidth
                    // One row: a column for each card.
                    columns: Math.max(count, 1)
                    width: cellWidth * columns
                    viewportTop: page.scrolled - page.pageY - favouritesStrip.y - favouritesScroll.y
                    viewportBottom: viewportTop + page.flickable.height
                }
            }
        }

        Column {
            id: noComputersState
            objectName: "noComputersState"
            visible: page.noComputers
            width: Math.min(parent.width, 800)
            height: Math.max(implicitHeight, page.flickable.height / 2)
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 30
            topPadding: 30

            Button {
                objectName: "startNewMachineButton"
                anchors.horizontalCenter: parent.horizontalCenter
                text: "Start New Machine"
                icon.source: "qrc:///assets/icons/desktop_windows_black_24dp.svg"
                font.capitalization: Font.MixedCase
                highlighted: true
                onClicked: page.main.pageIndex = MainContext.CreateInstance
            }
            Label {
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                text: "It takes 10 seconds to start a new machine and you will be able to use it in under 2 minutes."
                font.pointSize: 12
                color: Material.color(Material.Grey, Material.Shade600)
                wrapMode: Text.Wrap
            }
        }

        Label {
            id: noMatchState
            objectName: "noMatchState"
            visible: page.noMatch
            x: page.wide ? page.gridSpacing / 2 : 0
            width: Math.min(parent.width, 520)
            text: "No machines found matching these settings."
            font.pointSize: 14
            color: Material.color(Material.Grey, Material.Shade600)
            wrapMode: Text.Wrap
        }

        Label {
            id: yourMachinesHeading
            objectName: "yourMachinesHeading"
            visible: page.favouritesShown && page.mainGridShown
            x: page.wide ? page.gridSpacing / 2 : 0
            text: "Your machines"
            font.pointSize: 14
            color: Material.color(Material.Grey, Material.Shade600)
        }

        MachineGridView {
            id: mainGrid
            objectName: "mainGrid"
            visible: page.mainGridShown
            main: page.main
            page: page
            model: page.main.visibleStandardMachinesModel
            x: page.wide ? 0 : -page.gridSpacing / 2
            width: page.gridWidth
            cellWidth: page.cellWidth
            columns: page.gridColumns
            viewportTop: page.scrolled - page.pageY - y
            viewportBottom: viewportTop + page.flickable.height
        }
    }

    ComputersToolbar {
        id: toolbar
        main: page.main
        page: page
        sidebar: page.sidebar
        logoSource: page.logoSource
        slotY: toolbarSlot.y
        opacity: 1 - loadingVeil.opacity
    }

    BulkActionPanel {
        id: bulkPanel
        main: page.main
        page: page
    }

    // The veil over the page until the first computer list has been answered.
    Pane {
        id: loadingVeil
        objectName: "loadingVeil"
        anchors.fill: parent
        z: 5
        opacity: page.main.loadingComputers ? 1 : 0
        visible: opacity !== 0
        Material.background: Utils.styles.appBackgroundColor

        Behavior on opacity { NumberAnimation { duration: 300; easing.type: Easing.InOutCubic } }

        Column {
            anchors.horizontalCenter: parent.horizontalCenter
            y: Math.max(0, Math.min(parent.height, page.flickable.height) / 2 - height / 2)
            spacing: 10
            Label {
                anchors.horizontalCenter: parent.horizontalCenter
                text: "Fetching your machines."
                font.pointSize: 14
            }
            BusyIndicator {
                anchors.horizontalCenter: parent.horizontalCenter
                running: loadingVeil.visible
            }
        }
    }

    ComputerDialogs {
        id: dialogs
        main: page.main
        pageWidth: page.width
    }

    Loader {
        id: detailsPopupLoader
        onStatusChanged: {
            if (status === Loader.Error)
                console.warn("The computer details popup could not be loaded")
        }
    }

    onComputerDetailsRequested: (computer, detailsPage) => {
        const popup = detailsPopupLoader.item
        if (!popup) {
            console.warn("No computer details popup to show")
            return
        }
        popup.pageIndex = detailsPage
        popup.show(computer)
    }
}
