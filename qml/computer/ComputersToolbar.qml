import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import Vantorix
import Vantorix.Core

// The computers page's toolbar: docked in its slot under the banner, pinned to the top of the visible
// area once the page is scrolled past it. One row of three cells when there is room (sidebar cell,
// page controls, search), otherwise three rows and a "more" button that unfolds the page controls
// while the toolbar floats.
Item {
    id: toolbar

    required property MainContext main
    required property Item page
    property Item sidebar: null
    property string logoSource: ""
    // The docking slot's y in the page.
    property real slotY: 0
    property bool expanded: false

    readonly property Flickable flickable: page.flickable
    readonly property Item flickableContent: page.flickableContent
    readonly property real slotYInContent: page.pageY + slotY
    readonly property bool floating: page.scrolled > slotYInContent
    readonly property bool singleRow: flickable.contentWidth > page.breakWidth
    readonly property bool sidebarClosed: sidebar !== null && !sidebar.open
    readonly property bool sidebarCellShown: sidebarClosed && singleRow && floating
    readonly property bool controlsShown: singleRow || !floating || expanded
    readonly property real contentLeftMargin: flickableContent.anchors.leftMargin
    readonly property alias controls: controls
    readonly property alias searchField: searchField
    readonly property alias searchCell: searchCell
    readonly property alias moreButton: moreButton
    readonly property alias sidebarCell: sidebarCell

    x: floating ? -contentLeftMargin : 0
    y: slotY + Math.max(page.scrolled - slotYInContent, 0)
    z: floating ? 2 : 1
    width: floating ? flickable.width : page.width
    height: layout.implicitHeight + (floating ? 10 : 0)

    Pane {
        objectName: "toolbarPane"
        anchors.fill: parent
        padding: 0
        Material.background: toolbar.floating ? Utils.styles.sidebarBackgroundColor : Utils.styles.appBackgroundColor
        Material.elevation: toolbar.floating ? 5 : 0
    }

    ColumnLayout {
        id: layout
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.topMargin: toolbar.floating ? 5 : 0
        anchors.leftMargin: toolbar.floating ? toolbar.contentLeftMargin : 0
        anchors.rightMargin: toolbar.floating ? toolbar.width - toolbar.page.width - toolbar.contentLeftMargin : 0
        spacing: 0

        GridLayout {
            id: grid
            Layout.fillWidth: true
            columns: toolbar.singleRow ? 3 : 1
            columnSpacing: 10
            rowSpacing: toolbar.floating ? 2 : 10

            Behavior on rowSpacing { NumberAnimation { duration: 200 } }

            RowLayout {
                id: sidebarCell
                objectName: "sidebarCell"
                visible: toolbar.sidebarCellShown
                Layout.fillWidth: true
                Layout.preferredWidth: 1
                spacing: 10

                SidebarToggleBtn {
                    id: cellToggle
                    sidebar: toolbar.sidebar ? toolbar.sidebar : toolbar
                }
                Image {
                    Layout.maximumWidth: 200
                    Layout.preferredWidth: 200
                    Layout.preferredHeight: cellToggle.height
                    fillMode: Image.PreserveAspectFit
                    source: toolbar.logoSource
                    sourceSize.height: 120
                    asynchronous: true
                    opacity: sidebarCell.width >= cellToggle.width + 200 + 10 ? 1 : 0
                }
                Item {
                    Layout.fillWidth: true
                }
            }

            ComputersPageControls {
                id: controls
                main: toolbar.main
                page: toolbar.page
                Layout.alignment: Qt.AlignHCenter
                Layout.preferredHeight: toolbar.controlsShown ? implicitHeight : 0
                opacity: toolbar.controlsShown ? 1 : 0
                clip: !toolbar.controlsShown
                visible: opacity > 0

                Behavior on Layout.preferredHeight { NumberAnimation { duration: 200; easing.type: Easing.InOutSine } }
                Behavior on opacity { NumberAnimation { duration: 100; easing.type: Easing.InOutSine } }
            }

            Pane {
                id: searchCell
                objectName: "searchCell"
                Layout.fillWidth: true
                Layout.preferredWidth: toolbar.sidebarCellShown ? 1 : 440
                Layout.maximumWidth: toolbar.singleRow ? 440 : Number.POSITIVE_INFINITY
                Layout.alignment: Qt.AlignRight | Qt.AlignVCenter
                Layout.preferredHeight: controls.buttonHeight
                padding: 0
                Material.background: toolbar.floating ? "transparent" : Utils.styles.appBackgroundColor
                Material.elevation: toolbar.floating ? 0 : 2

                RowLayout {
                    anchors.fill: parent
                    spacing: 0

                    SidebarToggleBtn {
                        visible: toolbar.sidebarClosed && toolbar.floating && !toolbar.singleRow
                        sidebar: toolbar.sidebar ? toolbar.sidebar : toolbar
                    }
                    HelpButton {
                        objectName: "searchHelp"
                        Layout.leftMargin: 8
                        tipBelow: true
                        toolTipText: "Filter for computers with a name including the provided text."
                        icon.source: "qrc:///assets/icons/help_outline-black-18dp.svg"
                    }
                    TextField {
                        id: searchField
                        objectName: "searchField"
                        Layout.fillWidth: true
                        Layout.leftMargin: 8
                        placeholderText: "Search computer name"
                        selectByMouse: true
                        topPadding: 4
                        bottomPadding: 8
                        onTextChanged: toolbar.main.filterUserInstanceName = text
                        // The field starts with the kept name filter, so what hides computers is in view.
                        Component.onCompleted: text = toolbar.main.filterUserInstanceName
                    }
                    ToolButton {
                        objectName: "searchClearButton"
                        flat: true
                        enabled: searchField.text !== ""
                        icon.source: "qrc:///assets/icons/close-black-18dp.svg"
                        onClicked: searchField.text = ""
                    }
                }
            }
        }

        Button {
            id: moreButton
            objectName: "moreButton"
            visible: !toolbar.singleRow
            Layout.fillWidth: true
            Layout.bottomMargin: -6
            Layout.preferredHeight: toolbar.floating ? 35 : 0
            opacity: toolbar.floating ? 1 : 0
            flat: true
            topInset: 0
            bottomInset: 0
            icon.source: "qrc:///assets/icons/more_horiz-black-18dp.svg"
            onClicked: toolbar.expanded = !toolbar.expanded

            Behavior on Layout.preferredHeight { NumberAnimation { duration: 350; easing.type: Easing.InOutSine } }
            Behavior on opacity { NumberAnimation { duration: 250; easing.type: Easing.InOutSine } }
        }
    }
}
