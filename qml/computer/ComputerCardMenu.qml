import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import Vantorix.Core

// The menu of a computer card: connect, the power operations, deletion, the details popup pages and
// the two password questions.
Menu {
    id: menu

    required property Item card
    readonly property Computer computer: card.computer
    readonly property MainContext main: card.main
    readonly property bool running: computer !== null && computer.status === Computer.Running

    width: 250

    component Line: MenuSeparator {
        contentItem: Rectangle {
            implicitHeight: 1
            color: Utils.styles.sidebarSeparatorColor
        }
    }

    MenuItem {
        objectName: "menuConnect"
        text: "Connect to Machine"
        icon.source: "qrc:///assets/icons/vantorix_screen.svg"
        enabled: menu.running
        onTriggered: menu.card.connect()
    }
    Line {}
    MenuItem {
        objectName: "menuStart"
        text: "Power ON Machine"
        icon.source: "qrc:///assets/icons/play_circle_black_24dp.svg"
        enabled: menu.computer !== null && menu.computer.canStart
        onTriggered: menu.main.startInstances([menu.computer])
    }
    MenuItem {
        objectName: "menuStop"
        text: "Power OFF Machine"
        icon.source: "qrc:///assets/icons/stop_black_24dp.svg"
        enabled: menu.computer !== null && menu.computer.canStop
        onTriggered: menu.main.stopInstances([menu.computer])
    }
    MenuItem {
        objectName: "menuReboot"
        text: "REBOOT Machine"
        icon.source: "qrc:///assets/icons/settings_backup_restore_black_24dp.svg"
        enabled: menu.computer !== null && menu.computer.canStop
        onTriggered: menu.main.resetInstances([menu.computer])
    }
    MenuItem {
        objectName: "menuDelete"
        text: "DELETE Machine"
        icon.source: "qrc:///assets/icons/delete_black_18dp.svg"
        enabled: menu.computer !== null && menu.computer.canDelete
        onTriggered: menu.main.requestComputerDeletion([menu.computer])
    }
    Line {}
    MenuItem {
        objectName: "menuBilling"
        text: "Machine Billing"
        icon.source: "qrc:///assets/icons/paid_black_18dp.svg"
        onTriggered: menu.card.showBillingHistory(menu.computer)
    }
    MenuItem {
        objectName: "menuActivity"
        text: "Machine Activity"
        icon.source: "qrc:///assets/icons/history_edu_black_18dp.svg"
        onTriggered: menu.card.showComputerActivity(menu.computer)
    }
    MenuItem {
        objectName: "menuResetPassword"
        text: "Reset Machine Password"
        icon.source: "qrc:///assets/icons/edit_black_18dp.svg"
        enabled: menu.computer !== null && menu.computer.canDelete
        onTriggered: {
            const computer = menu.computer
            const session = menu.main
            session.confirm("Reset Password?",
                            "IMPORTANT: Do not use a previously used password as windows security will not allow it!<br><br>The machine needs to be restarted for the new password to take effect.<br>After machine restart, if you cannot connect using the new password, please wait a minute and try agin.<br><br>If the password is changed while the machine is stopped, no restart is necessary.",
                            "Reset", "Cancel", () => session.resetComputerPassword(computer))
        }
    }
    MenuItem {
        objectName: "menuUpdatePassword"
        text: "Update Machine Password"
        icon.source: "qrc:///assets/icons/update-black-18dp.svg"
        enabled: menu.computer !== null && menu.computer.canDelete
        onTriggered: {
            const computer = menu.computer
            const session = menu.main
            session.confirm("Update Cached Password?",
                            "For security purposes, the password for this machine is stored locally in an encrypted format.<br> If the password was changed from outside this App, the locally stored password will not match, so the RDP autologin will not work.<br> You can still login by manually entering the password in the RDP login window. If you want to use the RDP autologin feature please \"Update\" with your new password.",
                            "Update", "Cancel", () => session.resetCachedPassword(computer))
        }
    }
}
