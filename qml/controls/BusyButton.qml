import QtQuick
import QtQuick.Controls

// A form's main button: while its request is in flight the text goes and a busy indicator turns in
// its centre.
Button {
    id: button

    property string label: ""
    property bool busy: false

    text: busy ? "" : label
    highlighted: true

    BusyIndicator {
        objectName: "busyIndicator"
        anchors.centerIn: parent
        width: 36
        height: 36
        opacity: 0.6
        running: button.busy
        visible: button.busy
    }
}
