import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import Vantorix.Core
import QtQuick.Layouts

// The one confirmation popup of the window. OK runs `callback`, Cancel runs `cancelCallback`; closing it
// any other way (Escape, a press outside) runs neither. A button with an empty text is hidden.
Popup {
    id: popup

    property string title: ""
    property string message: ""
    property string okText: "Ok"
    property string cancelText: "Cancel"
    property var callback: null
    property var cancelCallback: null
    function ask(title, message, okText, cancelText, callback, cancelCallback) {
        popup.title = title === undefined || title === null ? "" : String(title)
        popup.message = message === undefined || message === null ? "" : String(message)
        popup.callback = typeof callback === "function" ? callback : null
        popup.cancelCallback = typeof cancelCallback === "function" ? cancelCallback : null
        popup.okText = okText === undefined || okText === null ? "" : String(okText)
        popup.cancelText = cancelText === undefined || cancelText === null ? "" : String(cancelText)
        open()
    }

    function accept() {
        const cb = callback
        callback = null
        cancelCallback = null
        close()
        if (cb)
            cb()
    }

    function reject() {
        const cb = cancelCallback
        callback = null
        cancelCallback = null
        close()
        if (cb)
            cb()
    }

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: parent ? Math.min(parent.width - 50, 700) : 700
    modal: true
    focus: true
    dim: true
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside

    contentItem: ColumnLayout {
        spacing: 20

        Label {
            objectName: "confirmTitle"
            text: popup.title
            font.pointSize: 16
            Layout.fillWidth: true
            wrapMode: Text.Wrap
        }
        Label {
            objectName: "confirmMessage"
            text: popup.message
            Layout.fillWidth: true
            wrapMode: Text.Wrap
        }
        RowLayout {
            Layout.alignment: Qt.AlignRight

            Button {
                objectName: "confirmCancel"
                flat: true
                text: popup.cancelText
                visible: popup.cancelText !== ""
                onClicked: popup.reject()
            }
            Button {
                objectName: "confirmOk"
                // Its text is in the accent colour: the one that reads on this theme's background.
                Material.accent: Utils.styles.accentTextColor
                flat: true
                highlighted: true
                text: popup.okText
                visible: popup.okText !== ""
                onClicked: popup.accept()
            }
        }
    }
}
