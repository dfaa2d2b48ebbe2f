import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import Vantorix.Core

// The "Status" sub-menu of the computers filter: three preset buttons and a check box per status the
// menu offers. A box is checked while its status is shown (its session flag is false).
Menu {
    id: menu

    required property MainContext main
    readonly property alias runningBox: runningBox
    readonly property alias stoppedBox: stoppedBox
    readonly property alias deletedBox: deletedBox

    title: "Status"
    width: 300

    component StatusBox: CheckBox {
        id: box
        required property string flag
        leftPadding: 15
        checked: !menu.main[flag]
        onClicked: {
            menu.main[flag] = !menu.main[flag]
            checked = Qt.binding(() => !menu.main[box.flag])
        }
    }

    Item {
        width: menu.width
        height: 50
        Row {
            anchors.centerIn: parent
            Button {
                objectName: "checkAllButton"
                flat: true
                text: "Check All"
                font.capitalization: Font.MixedCase
                onClicked: menu.main.showAllStatuses()
            }
            Button {
                objectName: "uncheckAllButton"
                flat: true
                text: "Uncheck All"
                font.capitalization: Font.MixedCase
                onClicked: menu.main.hideMenuStatuses()
            }
            Button {
                objectName: "defaultFilterButton"
                flat: true
                text: "Default"
                font.capitalization: Font.MixedCase
                onClicked: menu.main.defaultStatusFilters()
            }
        }
    }
    MenuSeparator {}
    StatusBox {
        id: runningBox
        objectName: "runningBox"
        text: "Running"
        flag: "filterStatusRunning"
    }
    StatusBox {
        id: stoppedBox
        objectName: "stoppedBox"
        text: "Stopped"
        flag: "filterStatusTerminated"
    }
    StatusBox {
        id: deletedBox
        objectName: "deletedBox"
        text: "Deleted"
        flag: "filterStatusDeleted"
    }
}
