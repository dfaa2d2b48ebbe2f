pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import Vantorix.Core

// The payment history as a table: the header row, then one row per payment, each cell as wide as its
// widest text plus 40, the payment's button in the last column. `contentWidthNeeded` tells the tab
// whether every column fits.
Flickable {
    id: table

    required property MainContext main
    // PaymentsController.historyRows: the header row first.
    required property var rows
    readonly property var columns: ["date", "name", "credits", "vat", "amount", "currency", "key", "status", "invoice"]
    readonly property int cellSpacing: 5
    readonly property int buttonHeight: 38
    readonly property var columnWidths: {
        const widths = []
        for (const key of columns) {
            if (key === "invoice") {
                widths.push(buttonMeasure.implicitWidth + 40)
                continue
            }
            let widest = 0
            for (const row of rows)
                widest = Math.max(widest, metrics.advanceWidth(cellText(row, key)))
            widths.push(Math.ceil(widest) + 40)
        }
        return widths
    }
    readonly property real contentWidthNeeded: columnWidths.reduce((sum, w) => sum + w, 0)
                                               + cellSpacing * (columns.length - 1)
    readonly property alias rowRepeater: rowRepeater

    // A cell's text: money with at most two decimals, everything else as received.
    function cellText(row, key) {
        const value = row[key]
        if (value === undefined || value === null)
            return ""
        if (typeof value === "number")
            return String(Math.round(value * 100) / 100)
        return String(value)
    }

    height: contentHeight
    contentWidth: width
    contentHeight: rowsColumn.height
    clip: true
    boundsBehavior: Flickable.StopAtBounds
    ScrollBar.vertical: ScrollBar {
        policy: table.contentHeight > table.height ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
    }

    TextField {
        id: cellTemplate
        visible: false
    }
    FontMetrics {
        id: metrics
        font: cellTemplate.font
    }
    Button {
        id: buttonMeasure
        visible: false
        text: "Invoice Unavailable"
        font.capitalization: Font.MixedCase
    }

    Column {
        id: rowsColumn
        width: table.width
        spacing: table.cellSpacing

        Repeater {
            id: rowRepeater
            model: table.rows
            delegate: Row {
                id: tableRow
                required property var modelData
                required property int index
                readonly property bool isHeader: index === 0
                spacing: table.cellSpacing
                height: table.buttonHeight + 8

                Repeater {
                    model: table.columns.length - 1 // the text columns; the button's comes after them
                    delegate: Item {
                        id: cell
                        required property int index
                        readonly property string key: table.columns[index]
                        width: table.columnWidths[index]
                        height: tableRow.height

                        TextField {
                            x: 20
                            width: parent.width - 20
                            anchors.verticalCenter: parent.verticalCenter
                            readOnly: true
                            selectByMouse: true
                            background: null
                            text: table.cellText(tableRow.modelData, cell.key)
                        }
                        Rectangle {
                            visible: cell.index === 0
                            y: parent.height
                            width: table.width
                            height: 1
                            color: Material.color(Material.Grey)
                        }
                    }
                }
                Item {
                    width: table.columnWidths[table.columns.length - 1]
                    height: tableRow.height
                    PaymentRowButton {
                        objectName: "paymentButton"
                        visible: !tableRow.isHeader
                        anchors.verticalCenter: parent.verticalCenter
                        main: table.main
                        row: tableRow.modelData
                    }
                }
            }
        }
    }
}
