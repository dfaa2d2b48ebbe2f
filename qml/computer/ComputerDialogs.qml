import QtQuick
import QtQuick.Controls
import Vantorix.Core

// The three dialogs the session asks for: deletion confirmed with the account password, an update of
// the locally stored password of a computer, and a reset of a computer's password on the service. The
// rules (the password check, the user-name check, protecting and storing) are the session's.
Item {
    id: dialogs

    required property MainContext main
    property real pageWidth: 700
    readonly property alias deletion: deletion
    readonly property alias update: update
    readonly property alias reset: reset
    // What each dialog was last opened for.
    property var deletionComputers: []
    property Computer updateComputer: null
    property Computer resetComputer: null

    Connections {
        target: dialogs.main
        function onRequestComputerDeletion(computers) {
            dialogs.deletionComputers = computers
            deletion.open()
        }
        function onResetCachedPassword(computer) {
            dialogs.updateComputer = computer
            update.open()
        }
        function onResetComputerPassword(computer) {
            dialogs.resetComputer = computer
            reset.open()
        }
    }

    PasswordDialog {
        id: deletion
        objectName: "deletionDialog"
        pageWidth: dialogs.pageWidth
        title: "Are you sure you want to delete "
               + (dialogs.deletionComputers.length > 1
                  ? dialogs.deletionComputers.length + " machines?"
                  : (dialogs.deletionComputers.length === 1 && dialogs.deletionComputers[0]
                     ? dialogs.deletionComputers[0].userInstanceName : "") + "?")
        text: "WARNING: Machine deletion is irreversible. Make sure you have a backup before proceeding!\n\nPlease enter your Vantorix password to confirm deletion."
        fieldToolTip: "Please enter your Vantorix account password"
        validator: value => Utils.validateUserPassword(value)
        placeholder: "Your Vantorix account password (not the machine password)."
        onAccepted: entry => {
            clearEntry()
            dialogs.main.deleteWithAccountPassword(dialogs.deletionComputers, entry)
        }
    }

    PasswordDialog {
        id: update
        objectName: "updatePasswordDialog"
        pageWidth: dialogs.pageWidth
        title: "Update Password for " + (dialogs.updateComputer ? dialogs.updateComputer.userInstanceName : "")
        text: "Update the locally stored password."
        fieldToolTip: "The password you would like to set for your new machine."
        validator: value => Utils.validateComputerPassword(value)
        onAccepted: entry => {
            clearEntry()
            dialogs.main.updateStoredPassword(dialogs.updateComputer, entry)
        }
    }

    PasswordDialog {
        id: reset
        objectName: "resetPasswordDialog"
        pageWidth: dialogs.pageWidth
        title: "Reset Password for " + (dialogs.resetComputer ? dialogs.resetComputer.userInstanceName : "")
        text: "Reset the password used to login to this computer."
        fieldToolTip: "The password you would like to set for your new machine."
        validator: value => Utils.validateComputerPassword(value)
        // The computer and password are the ones of this Ok: the answer may come after a reopening.
        onAccepted: entry => dialogs.main.resetComputerPasswordTo(dialogs.resetComputer, entry,
                                                                 () => reset.clearEntry())
    }
}
