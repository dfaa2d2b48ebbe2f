import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import Vantorix.Core

// The computers toolbar's page controls: ordering, refresh rate, grid size and the status filter.
RowLayout {
    id: controls

    required property MainContext main
    required property Item page
    readonly property real buttonHeight: refreshButton.height
    readonly property alias orderBox: orderBox
    readonly property alias refreshButton: refreshButton
    readonly property alias refreshPopup: refreshPopup
    readonly property alias refreshSlider: refreshSlider
    readonly property alias gridButton: gridButton
    readonly property alias gridPopup: gridPopup
    readonly property alias filterButton: filterButton
    readonly property alias filterMenu: filterMenu
    readonly property alias statusMenu: statusMenu

    spacing: 10

    component FilterButton: Button {
        flat: true
        topInset: 0
        bottomInset: 0
        implicitWidth: 48
        implicitHeight: 40
        Material.background: Utils.styles.computersFilterButton
        background: Rectangle {
            radius: 2
            color: Utils.styles.computersFilterButton
            opacity: parent.hovered ? 0.8 : 1
        }
    }

    ComboBox {
        id: orderBox
        objectName: "orderBox"
        flat: true
        Layout.minimumWidth: 148
        model: ["Order by activity", "Order by name", "Order by status"]
        currentIndex: controls.main.computerOrder === Computer.LastStartedTime ? 0
                    : controls.main.computerOrder === Computer.UserInstanceName ? 1 : 2
        onActivated: index => controls.main.computerOrder = index
    }

    FilterButton {
        id: refreshButton
        objectName: "refreshButton"
        icon.source: "qrc:///assets/icons/update-black-18dp.svg"
        onClicked: refreshPopup.visible ? refreshPopup.close() : refreshPopup.open()

        Popup {
            id: refreshPopup
            objectName: "refreshPopup"
            x: (refreshButton.width - width) / 2
            y: refreshButton.height + 5
            Material.background: Utils.styles.computersFilterButton
            closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutsideParent

            ColumnLayout {
                spacing: 6
                Label {
                    Layout.alignment: Qt.AlignHCenter
                    text: "Refresh every"
                }
                Label {
                    objectName: "refreshIntervalLabel"
                    Layout.alignment: Qt.AlignHCenter
                    text: (controls.main.refreshInstancesTimer.interval / 1000).toFixed(0) + " sec"
                    font.bold: true
                }
                Slider {
                    id: refreshSlider
                    objectName: "refreshSlider"
                    Layout.alignment: Qt.AlignHCenter
                    orientation: Qt.Vertical
                    from: Math.log10(3000)
                    to: Math.log10(30000)
                    value: controls.main.refreshRate
                    onMoved: controls.main.refreshRate = value
                }
                Button {
                    objectName: "defaultRefreshButton"
                    flat: true
                    text: "Set default refresh"
                    font.capitalization: Font.MixedCase
                    icon.source: "qrc:///assets/icons/settings_backup_restore_black_24dp.svg"
                    onClicked: controls.main.refreshRate = Math.log10(7000)
                }
            }
        }
    }

    FilterButton {
        id: gridButton
        objectName: "gridButton"
        icon.source: "qrc:///assets/icons/aspect_ratio_black_18dp.svg"
        onClicked: gridPopup.visible ? gridPopup.close() : gridPopup.open()

        Popup {
            id: gridPopup
            objectName: "gridPopup"
            x: (gridButton.width - width) / 2
            y: gridButton.height + 5
            Material.background: Utils.styles.computersFilterButton
            closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutsideParent

            // Built only while open: the slider follows the grid only when someone looks at it.
            contentItem: Loader {
                active: gridPopup.opened || gridPopup.visible
                sourceComponent: ColumnLayout {
                    spacing: 6
                    Label {
                        Layout.alignment: Qt.AlignHCenter
                        text: "Adjust grid size"
                    }
                    RowLayout {
                        Slider {
                            id: gridSlider
                            objectName: "gridSlider"
                            from: controls.page.mostColumns
                            to: controls.page.fewestColumns
                            stepSize: 1
                            snapMode: Slider.SnapAlways
                            enabled: gridPopup.opened && from !== to
                            value: controls.page.gridColumns
                            onMoved: {
                                controls.main.gridCardColumnWidth = controls.page.gridWidth / value
                                value = Qt.binding(() => controls.page.gridColumns)
                            }
                        }
                        Button {
                            objectName: "gridRestoreButton"
                            flat: true
                            Layout.preferredWidth: 40
                            icon.source: "qrc:///assets/icons/settings_backup_restore_black_24dp.svg"
                            onClicked: controls.main.gridCardColumnWidth = 340
                        }
                    }
                }
            }
        }
    }

    FilterButton {
        id: filterButton
        objectName: "filterButton"
        icon.source: "qrc:///assets/icons/filter_alt_black_18dp.svg"
        onClicked: filterMenu.visible ? filterMenu.close() : filterMenu.open()

        Menu {
            id: filterMenu
            objectName: "filterMenu"
            x: filterButton.width - width
            y: filterButton.height + 5
            closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutsideParent

            StatusFilterMenu {
                id: statusMenu
                main: controls.main
            }
        }
    }
}
