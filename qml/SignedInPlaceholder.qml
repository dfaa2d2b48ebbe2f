import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import Vantorix.Core

// Stands in for the signed-in frame until it exists: shows who is signed in and lets them sign out.
Pane {
    id: page

    required property Item main
    readonly property var user: main.user

    Material.background: Utils.styles.appBackgroundColor

    Column {
        anchors.centerIn: parent
        spacing: 16

        Label {
            objectName: "signedInGreeting"
            anchors.horizontalCenter: parent.horizontalCenter
            text: page.user ? "Signed in as " + (page.user.displayName !== "" ? page.user.displayName
                                                                              : page.user.email) : ""
            font.pointSize: 18
        }
        Label {
            anchors.horizontalCenter: parent.horizontalCenter
            text: page.user ? page.user.email + " · " + page.user.credits + " credits" : ""
            opacity: 0.7
        }
        Button {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Sign out"
            icon.source: "qrc:///assets/icons/logout_black_18dp.svg"
            onClicked: {
                page.main.settings.loginPassword = ""
                page.main.signedOut()
            }
        }
    }
}
