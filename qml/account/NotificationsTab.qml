pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import Vantorix
import Vantorix.Core

// The notification preferences: for nine events, the in-app and system switches (session settings,
// changed at once) and the e-mail switch (kept by the service, changed through the session's e-mail
// preferences), master switches per channel, and the running-time threshold in hours.
Pane {
    id: tab

    required property MainContext main
    readonly property User user: main.user
    readonly property EmailPreferences preferences: main.emailPreferences

    // The nine events in the order of the grid: their session settings and the e-mail choice's number
    // and User property.
    readonly property var events: [
        { "label": "Credits Purchased", "app": "creditsPurchasedNotificationApp", "system": "creditsPurchasedNotificationSystem", "number": User.CreditsPurchase, "email": "notificationCreditsPurchase" },
        { "label": "Credits Depleted", "app": "creditsDepletedNotificationApp", "system": "creditsDepletedNotificationSystem", "number": User.CreditsDepleted, "email": "notificationCreditsDepleted" },
        { "label": "Low Credits", "app": "lowCreditsNotificationApp", "system": "lowCreditsNotificationSystem", "number": User.LowCredits, "email": "notificationLowCredits" },
        { "label": "Machine Created", "app": "createdMachineNotificationApp", "system": "createdMachineNotificationSystem", "number": User.MachineCreated, "email": "notificationMachineCreated" },
        { "label": "Machine Started", "app": "startedMachineNotificationApp", "system": "startedMachineNotificationSystem", "number": User.MachineStarted, "email": "notificationMachineStarted" },
        { "label": "Machine Stopped", "app": "stoppedMachineNotificationApp", "system": "stoppedMachineNotificationSystem", "number": User.MachineStopped, "email": "notificationMachineStopped" },
        { "label": "Machine Rebooted", "app": "resetMachineNotificationApp", "system": "resetMachineNotificationSystem", "number": User.MachineReset, "email": "notificationMachineReset" },
        { "label": "Machine Deleted", "app": "deletedMachineNotificationApp", "system": "deletedMachineNotificationSystem", "number": User.MachineDeleted, "email": "notificationMachineDeleted" },
        { "label": "Notify me if\nrunning for", "app": "runningForXHoursNotificationApp", "system": "runningForXHoursNotificationSystem", "number": User.MachineRunningForXHours, "email": "notificationMachineRunningForXHours", "hours": true }
    ]
    readonly property bool anyAppOn: events.some(e => main[e.app])
    readonly property bool anySystemOn: events.some(e => main[e.system])
    readonly property real labelColumnWidth: 170
    readonly property real switchColumnWidth: Math.max(headerApp.implicitWidth, headerSystem.implicitWidth,
                                                       headerEmail.implicitWidth, 70)
    readonly property alias appMaster: appMaster
    readonly property alias systemMaster: systemMaster
    readonly property alias emailMaster: emailMaster
    readonly property alias eventRows: eventRows
    property TextField hoursField: null
    readonly property alias creditGuardField: guardHours

    function setAll(key, on) {
        for (const e of events)
            main[e[key]] = on
    }

    // A switch that shows a value it does not own: a press asks for the change, and the switch keeps
    // showing the value, whether or not the change happened.
    component ValueSwitch: Item {
        id: valueSwitch
        property bool value: false
        readonly property alias control: control
        signal flip(bool on)
        width: tab.switchColumnWidth
        height: control.implicitHeight
        Switch {
            id: control
            anchors.horizontalCenter: parent.horizontalCenter
            checked: valueSwitch.value
            onToggled: {
                const on = checked
                checked = Qt.binding(() => valueSwitch.value)
                valueSwitch.flip(on)
            }
        }
    }

    component HeaderLabel: Label {
        width: tab.switchColumnWidth
        color: Utils.styles.accentTextColor
        font.pointSize: 10
        font.weight: Font.Medium
        horizontalAlignment: Text.AlignHCenter
    }

    padding: 0
    bottomPadding: 20
    Material.elevation: 2

    Column {
        id: grid
        width: tab.availableWidth
        spacing: 5

        Row {
            spacing: 10
            Label {
                width: tab.labelColumnWidth
                height: Math.max(50, implicitHeight)
                text: ""
            }
            HeaderLabel { id: headerApp; anchors.verticalCenter: parent.verticalCenter; text: "  In App    |" }
            HeaderLabel { id: headerSystem; anchors.verticalCenter: parent.verticalCenter; text: "  System Tray   |" }
            HeaderLabel { id: headerEmail; anchors.verticalCenter: parent.verticalCenter; text: " Via Email" }
        }

        Row {
            spacing: 10
            Item {
                width: tab.labelColumnWidth
                height: appMaster.height
                Label {
                    id: masterLabel
                    x: 10
                    anchors.verticalCenter: parent.verticalCenter
                    text: "Toggle ALL Notifications"
                    color: Utils.styles.accentTextColor
                    font.pointSize: 10
                    font.weight: Font.Medium
                }
                Rectangle {
                    y: masterLabel.y + masterLabel.height + 15
                    width: grid.width
                    height: 3
                    color: Material.accent
                }
            }
            ValueSwitch {
                id: appMaster
                objectName: "appMaster"
                value: tab.anyAppOn
                onFlip: on => tab.setAll("app", on)
            }
            ValueSwitch {
                id: systemMaster
                objectName: "systemMaster"
                value: tab.anySystemOn
                onFlip: on => tab.setAll("system", on)
            }
            ValueSwitch {
                id: emailMaster
                objectName: "emailMaster"
                enabled: !tab.preferences.updatingEmailSettings
                value: tab.preferences.anyEmailOn
                onFlip: on => tab.preferences.setAllEmail(on)
            }
        }

        Repeater {
            id: eventRows
            model: tab.events
            delegate: Row {
                id: eventRow
                required property var modelData
                required property int index
                readonly property alias appSwitch: appSwitch
                readonly property alias systemSwitch: systemSwitch
                readonly property alias emailSwitch: emailSwitch
                spacing: 10

                Item {
                    width: tab.labelColumnWidth
                    height: Math.max(appSwitch.height, labelCell.height)
                    Row {
                        id: labelCell
                        x: 10
                        anchors.verticalCenter: parent.verticalCenter
                        spacing: 3
                        Label {
                            anchors.verticalCenter: parent.verticalCenter
                            text: eventRow.modelData.label
                        }
                        TextField {
                            id: hours
                            objectName: "hoursField"
                            visible: eventRow.modelData.hours === true
                            width: 40
                            anchors.verticalCenter: parent.verticalCenter
                            horizontalAlignment: TextInput.AlignHCenter
                            maximumLength: 2
                            validator: RegularExpressionValidator { regularExpression: /[0-9]{0,2}/ }
                            enabled: !tab.preferences.updatingUserData
                            text: tab.user.machineRunningForXHours > 0 ? String(tab.user.machineRunningForXHours) : ""
                            onAccepted: {
                                if (tab.preferences.submitRunningHours(text))
                                    focus = false
                            }
                            Component.onCompleted: {
                                if (visible)
                                    tab.hoursField = hours
                            }
                        }
                        Label {
                            visible: eventRow.modelData.hours === true
                            anchors.verticalCenter: parent.verticalCenter
                            text: "hours"
                        }
                        HelpButton {
                            visible: eventRow.modelData.hours === true
                            anchors.verticalCenter: parent.verticalCenter
                            tipBelow: true
                            toolTipText: "Notification if a machine is running for more than the amount of hours set.\nThis is useful if you don't want to forget if a machine is still running. You can change the value between 1-99 hours."
                        }
                    }
                    Rectangle {
                        y: labelCell.y + labelCell.height + 15
                        width: grid.width
                        height: 1
                        color: Material.color(Material.Grey, Material.Shade600)
                    }
                }
                ValueSwitch {
                    id: appSwitch
                    value: tab.main[eventRow.modelData.app]
                    onFlip: on => tab.main[eventRow.modelData.app] = on
                }
                ValueSwitch {
                    id: systemSwitch
                    value: tab.main[eventRow.modelData.system]
                    onFlip: on => tab.main[eventRow.modelData.system] = on
                }
                ValueSwitch {
                    id: emailSwitch
                    enabled: !tab.preferences.updatingEmailSettings
                    value: tab.user[eventRow.modelData.email]
                    onFlip: tab.preferences.toggleEmail(eventRow.modelData.number)
                }
            }
        }

        // The credit guard: told (under the "Low Credits" switches) when the credits last less than this at
        // the current burn rate.
        Row {
            x: 10
            topPadding: 20
            spacing: 3
            Label {
                anchors.verticalCenter: parent.verticalCenter
                text: "Warn when credits last less than"
            }
            TextField {
                id: guardHours
                objectName: "creditGuardField"
                width: 40
                anchors.verticalCenter: parent.verticalCenter
                horizontalAlignment: TextInput.AlignHCenter
                maximumLength: 2
                validator: RegularExpressionValidator { regularExpression: /[0-9]{1,2}/ }
                text: String(Math.round(tab.main.creditGuardHours))
                onEditingFinished: {
                    tab.main.creditGuardHours = Number(text)
                    text = Qt.binding(() => String(Math.round(tab.main.creditGuardHours)))
                }
            }
            Label {
                anchors.verticalCenter: parent.verticalCenter
                text: "hours"
            }
            HelpButton {
                anchors.verticalCenter: parent.verticalCenter
                tipBelow: true
                toolTipText: "A notification when the credits last less than this many hours at the current burn rate, once each time.\nRunning computers are stopped when credits run out. 0 turns it off. The Low Credits switches apply."
            }
        }
    }
}
