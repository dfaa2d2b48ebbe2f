import QtQuick
import QtQuick.Controls

// One entry of the log table: three read-only, selectable texts without background or inner margins,
// 50 and 150 px wide and the rest, the last one wrapped. The row is as high as its last text.
Item {
    id: row

    property string column0Text: ""
    property string column1Text: ""
    property string column2Text: ""

    height: column2.implicitHeight

    component Cell: TextArea {
        readOnly: true
        selectByMouse: true
        background: null
        padding: 0
        topPadding: 0
        bottomPadding: 0
        leftPadding: 0
        rightPadding: 0
        topInset: 0
        bottomInset: 0
        leftInset: 0
        rightInset: 0
    }

    Cell {
        id: column0
        objectName: "logColumn0"
        width: 50
        text: row.column0Text
        wrapMode: Text.NoWrap
        clip: true
    }
    Cell {
        id: column1
        objectName: "logColumn1"
        x: 50
        width: 150
        text: row.column1Text
        wrapMode: Text.NoWrap
        clip: true
    }
    Cell {
        id: column2
        objectName: "logColumn2"
        x: 200
        width: row.width - 200
        text: row.column2Text
        wrapMode: Text.WrapAtWordBoundaryOrAnywhere
    }
}
