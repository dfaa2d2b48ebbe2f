import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import Vantorix
import Vantorix.Core

// The create-computer view's toolbar: docked in its slot at the top of the page, pinned to the top of
// the visible area once the page is scrolled past it (then spanning the frame's full content width).
// It has no controls of its own; while floating with the frame's sidebar closed it shows the sidebar
// toggle and the logo (when there is room for it).
Item {
    id: toolbar

    required property Item page
    property Item sidebar: null
    property string logoSource: ""
    // The docking slot's y in the page.
    property real slotY: 0

    readonly property Flickable flickable: page.flickable
    readonly property Item flickableContent: page.flickableContent
    readonly property real slotYInContent: page.pageY + slotY
    readonly property bool floating: page.scrolled > slotYInContent
    readonly property bool sidebarCellShown: floating && sidebar !== null && !sidebar.open
    readonly property real contentLeftMargin: flickableContent ? flickableContent.anchors.leftMargin : 0
    readonly property alias sidebarCell: sidebarCell
    readonly property alias logo: logo

    x: floating ? -contentLeftMargin : 0
    y: slotY + Math.max(page.scrolled - slotYInContent, 0)
    z: floating ? 2 : 1
    width: floating ? flickable.width : page.width
    height: toggle.implicitHeight + 10

    Pane {
        id: background
        objectName: "toolbarPane"
        anchors.fill: parent
        padding: 0
        Material.background: Utils.styles.appBackgroundColor
        Material.elevation: toolbar.floating ? 5 : 0
    }

    RowLayout {
        id: sidebarCell
        objectName: "sidebarCell"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        anchors.leftMargin: toolbar.floating ? toolbar.contentLeftMargin : 0
        visible: toolbar.sidebarCellShown
        spacing: 10

        SidebarToggleBtn {
            id: toggle
            sidebar: toolbar.sidebar ? toolbar.sidebar : toolbar
        }
        Image {
            id: logo
            objectName: "toolbarLogo"
            Layout.maximumWidth: 200
            Layout.preferredWidth: 200
            Layout.preferredHeight: toggle.height
            fillMode: Image.PreserveAspectFit
            source: toolbar.logoSource
            sourceSize.height: 120
            asynchronous: true
            visible: sidebarCell.width >= toggle.width + 200 + 10
        }
        Item {
            Layout.fillWidth: true
        }
    }
}
