pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import Vantorix.Core

// The payment history for narrow widths: one block per payment with its values in pairs, its button
// and a line under it.
Column {
    id: blocks

    required property MainContext main
    // PaymentsController.historyRows: the header row first (skipped here).
    required property var rows
    readonly property var pairs: [["date", "date"], ["type", "name"], ["credits", "credits"], ["VAT", "vat"],
                                  ["total", "amount"], ["currency", "currency"], ["status", "status"]]
    readonly property alias blockRepeater: blockRepeater

    function valueText(row, key) {
        const value = row[key]
        if (value === undefined || value === null)
            return ""
        if (typeof value === "number")
            return String(Math.round(value * 100) / 100)
        return String(value)
    }

    spacing: 10

    Repeater {
        id: blockRepeater
        model: blocks.rows.slice(1)
        delegate: Column {
            id: block
            required property var modelData
            width: blocks.width
            spacing: 10

            GridLayout {
                width: block.width
                columns: 2
                columnSpacing: 20
                rowSpacing: 10

                Repeater {
                    model: blocks.pairs.length * 2
                    delegate: TextField {
                        required property int index
                        readonly property var pair: blocks.pairs[Math.floor(index / 2)]
                        Layout.fillWidth: index % 2 === 1
                        leftPadding: index % 2 === 0 ? 20 : 0
                        topPadding: 2
                        bottomPadding: 2
                        topInset: 0
                        bottomInset: 0
                        readOnly: true
                        selectByMouse: true
                        background: null
                        text: index % 2 === 0 ? pair[0] : blocks.valueText(block.modelData, pair[1])
                    }
                }
                PaymentRowButton {
                    objectName: "paymentButton"
                    Layout.columnSpan: 2
                    Layout.leftMargin: 20
                    main: blocks.main
                    row: block.modelData
                }
            }
            Rectangle {
                width: block.width
                height: 1
                color: Material.color(Material.Grey)
            }
        }
    }
}
