import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material

// The root document. For now it shows the product mark; the authentication and signed-in views
// replace this content.
Rectangle {
    id: root
    width: 1200
    height: 720
    color: Material.background

    Column {
        anchors.centerIn: parent
        spacing: 16

        Image {
            anchors.horizontalCenter: parent.horizontalCenter
            source: "qrc:/assets/icons/Vantorix-ICON.png"
            width: 128
            height: 128
            sourceSize: Qt.size(256, 256)
        }
        Label {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "vantorix"
            font.pointSize: 28
            font.weight: Font.DemiBold
        }
        Label {
            anchors.horizontalCenter: parent.horizontalCenter
            text: qsTr("Cloud computers at your fingertips")
            opacity: 0.7
        }
    }
}
