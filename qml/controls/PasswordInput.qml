import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material

// A text field for secrets: '*' for every character, with an eye button at its right end that shows
// the text in clear while checked.
TextField {
    id: input

    readonly property alias showButton: showButton
    readonly property bool shown: showButton.checked

    selectByMouse: true
    echoMode: shown ? TextInput.Normal : TextInput.Password
    passwordCharacter: "*"
    inputMethodHints: shown ? Qt.ImhNone : (Qt.ImhSensitiveData | Qt.ImhNoPredictiveText | Qt.ImhNoAutoUppercase)
    rightPadding: showButton.width + 10

    ToolButton {
        id: showButton
        objectName: "passwordShowButton"
        flat: true
        checkable: true
        checked: false
        focusPolicy: Qt.NoFocus
        height: input.height
        width: height
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        icon.source: "qrc:///assets/icons/visibility_black_18dp.svg"
    }

    Component.onCompleted: {
        // The underline stops short of the button instead of running under it.
        if (background)
            background.width = Qt.binding(() => input.width - 10 - showButton.width)
    }
}
