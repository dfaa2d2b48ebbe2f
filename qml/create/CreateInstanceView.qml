import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import Vantorix
import Vantorix.Core

// The signed-in frame's page for ordering a new computer: machine type (regular or spot), name, and the
// user name and password of its operating-system account. After one confirmation (always asked) it
// returns to the computers page and hands the values to the session, which creates the computer and
// stores its password protected. The choices' rules live in CreateInstanceForm.
Item {
    id: view

    required property MainContext main
    required property Flickable flickable
    required property Item flickableContent
    required property int breakWidth
    // The frame's sidebar and logo; found through the frame when it does not hand them over.
    property Item sidebar: findUp(flickable, "sidebar")
    property string logoSource: {
        const logo = findUp(flickable, "vantorixLogo")
        return logo ? logo : ""
    }

    readonly property alias extraControlsRow: toolbar
    // Where the page sits in the frame's content column, and how far that is scrolled.
    readonly property real pageY: parent ? parent.y : 0
    readonly property real scrolled: flickable.contentY
    property bool templatesRequested: false
    readonly property bool fieldsValid: nameInput.valid && usernameInput.valid && passwordInput.valid

    readonly property alias form: form
    readonly property alias nameField: nameField
    readonly property alias typeBox: typeBox
    readonly property alias descriptionBox: descriptionBox
    readonly property alias descriptionText: descriptionText
    readonly property alias spotBox: spotBox
    readonly property alias usernameField: usernameField
    readonly property alias passwordField: passwordField
    readonly property alias startButton: startButton
    readonly property alias resetButton: resetButton
    readonly property alias disclaimer: disclaimer
    readonly property alias loadingVeil: loadingVeil

    // The nearest item from `item` upwards that has a non-empty `name` property: its value.
    function findUp(item, name) {
        for (let p = item; p; p = p.parent) {
            if (p[name] !== undefined && p[name] !== null && p[name] !== "")
                return p[name]
        }
        return null
    }

    function startMachine() {
        if (form.passwordContainsUserName(passwordField.text, usernameField.text)) {
            main.notification(form.passwordContainsUserNameMessage(), Notification.Level.Error)
            return
        }
        // The page is destroyed once the session leaves it: keep what the answer needs.
        const session = main
        const name = nameField.text
        const templateIdentifier = form.selectedIdentifier
        const username = usernameField.text
        const password = passwordField.text
        main.confirm("Start New Machine?",
                     "Are you sure you want to start a new machine?<br><br>Please note that initial machine deployment could take several minutes and the machine will restart a few times during the first initialization.",
                     "Start Machine", "Cancel", () => {
                         session.pageIndex = MainContext.Computers
                         session.insertVMInstance(name, templateIdentifier, username, password)
                     })
    }

    function resetForm() {
        nameField.text = ""
        usernameField.text = ""
        passwordField.text = ""
        form.reset()
    }

    implicitHeight: column.height

    Component.onCompleted: {
        main.computerTemplates = []
        main.getAvailableVmTemplateList()
        templatesRequested = true
    }

    CreateInstanceForm {
        id: form
        templates: view.main.computerTemplates
        fieldsValid: view.fieldsValid
    }

    Column {
        id: column
        width: parent.width
        spacing: 20

        // The toolbar's docking slot. The toolbar has no controls of its own, so while docked it is not
        // shown and its slot takes no room (an empty band above the form otherwise); it appears, pinned
        // over the top of the visible area, once the page is scrolled past the slot.
        Item {
            id: toolbarSlot
            width: parent.width
            height: 0
            visible: false
        }

        Column {
            id: formColumn
            objectName: "createForm"
            width: Math.min(parent.width, 600)
            spacing: 20

            InputField {
                id: nameInput
                width: parent.width
                label: "Machine Name"
                toolTip: "The name you would like to asign to your new machine. You can also change it later if you want to rename it."
                validator: value => Utils.validateComputerName(value)
                currentValue: nameField.text
                TextField {
                    id: nameField
                    objectName: "machineNameField"
                    width: parent.width
                    placeholderText: "Machine Name"
                    selectByMouse: true
                }
            }

            InputField {
                width: parent.width
                label: "Machine Type"
                toolTip: "The type of machine you would like to rent. You can choose from various CPU or GPU machines with different specs."
                ComboBox {
                    id: typeBox
                    objectName: "machineTypeBox"
                    width: parent.width
                    model: form.items
                    textRole: "text"
                    valueRole: "value"
                    onActivated: index => form.choose(index)
                    // The form decides the selection, also after the items were rebuilt.
                    Connections {
                        target: form
                        function onCurrentIndexChanged() {
                            typeBox.currentIndex = form.currentIndex
                        }
                    }
                    onCountChanged: currentIndex = form.currentIndex
                    Component.onCompleted: currentIndex = form.currentIndex
                }
                Rectangle {
                    id: descriptionBox
                    objectName: "descriptionBox"
                    width: parent.width
                    height: descriptionText.implicitHeight
                    visible: form.description !== ""
                    color: Utils.styles.sidebarBackgroundColor
                    // A label rather than a read-only text area: an edit draws Markdown links in pure blue,
                    // whatever the theme; a label draws them in its link colour, like the disclaimer's.
                    Label {
                        id: descriptionText
                        objectName: "descriptionText"
                        width: parent.width
                        padding: 15
                        activeFocusOnTab: false
                        textFormat: Text.MarkdownText
                        wrapMode: Text.WrapAtWordBoundaryOrAnywhere
                        linkColor: Utils.styles.accentTextColor
                        text: form.description
                        onLinkActivated: link => context.openUrl(link)
                        MouseArea {
                            anchors.fill: parent
                            acceptedButtons: Qt.NoButton
                            cursorShape: descriptionText.hoveredLink !== "" ? Qt.PointingHandCursor : Qt.ArrowCursor
                        }
                    }
                }
            }

            InputFieldRight {
                width: parent.width
                label: "Spot Machine "
                toolTip: "SPOT machines are based on excess capacity. They are cheaper but have no guaranteed uptime so, they might stop when resources are needed for the regular machines. You should use them only for fault-tolerant workloads."
                CheckBox {
                    id: spotBox
                    objectName: "spotBox"
                    checked: form.spot
                    onToggled: form.spot = checked
                }
            }

            InputField {
                id: usernameInput
                width: parent.width
                label: "Username"
                toolTip: "The username you would like to set for your new machine."
                validator: value => Utils.validateComputerUserName(value)
                currentValue: usernameField.text
                TextField {
                    id: usernameField
                    objectName: "usernameField"
                    width: parent.width
                    placeholderText: "Username"
                    selectByMouse: true
                    // Kept in the settings store both ways: offered again on the next visit.
                    text: form.username
                    onTextChanged: form.username = text
                }
            }

            InputField {
                id: passwordInput
                width: parent.width
                label: "Password"
                toolTip: "The password you would like to set for your new machine."
                validator: value => Utils.validateComputerPassword(value)
                currentValue: passwordField.text
                PasswordInput {
                    id: passwordField
                    objectName: "passwordField"
                    width: parent.width
                    placeholderText: "Password"
                }
            }

            Label {
                id: disclaimer
                objectName: "disclaimer"
                width: parent.width
                opacity: 0.8
                wrapMode: Text.Wrap
                textFormat: Text.StyledText
                linkColor: Utils.styles.accentTextColor
                text: "By deploying and using this machine, you agree to the:<br>"
                      + "<b><a href=\"" + UiShell.pageUrl("/terms-of-service/") + "\">Terms of Service</a></b>, "
                      + "<b><a href=\"" + UiShell.pageUrl("/acceptable-use-policy/") + "\">Acceptable Use Policy</a></b>"
                      + " and our "
                      + "<b><a href=\"" + UiShell.pageUrl("/privacy-policy/") + "\">Privacy Policy.</a></b>"
                onLinkActivated: link => context.openUrl(link)
                MouseArea {
                    anchors.fill: parent
                    acceptedButtons: Qt.NoButton
                    cursorShape: disclaimer.hoveredLink !== "" ? Qt.PointingHandCursor : Qt.ArrowCursor
                }
            }

            Row {
                spacing: 10
                Button {
                    id: startButton
                    objectName: "startMachineButton"
                    text: "Start Machine"
                    highlighted: true
                    enabled: form.startEnabled
                    onClicked: view.startMachine()
                }
                Button {
                    id: resetButton
                    objectName: "resetFormButton"
                    text: "Reset Form"
                    onClicked: view.resetForm()
                }
            }
        }

        Item {
            width: 1
            height: 100
        }
    }

    CreateInstanceToolbar {
        id: toolbar
        page: view
        sidebar: view.sidebar
        logoSource: view.logoSource
        slotY: toolbarSlot.y
        visible: floating
    }

    // Covers the view until the machine types have arrived.
    Pane {
        id: loadingVeil
        objectName: "loadingVeil"
        anchors.fill: parent
        z: 5
        opacity: !view.templatesRequested || view.main.computerTemplates.length === 0 ? 1 : 0
        visible: opacity !== 0
        Material.background: Utils.styles.appBackgroundColor

        Behavior on opacity { NumberAnimation { duration: 300; easing.type: Easing.InOutCubic } }

        Column {
            anchors.horizontalCenter: parent.horizontalCenter
            y: Math.max(0, Math.min(parent.height, view.flickable.height) / 2 - height / 2)
            spacing: 10
            Label {
                objectName: "loadingVeilLabel"
                anchors.horizontalCenter: parent.horizontalCenter
                text: "Loading machines types..."
                font.pointSize: 14
            }
            BusyIndicator {
                anchors.horizontalCenter: parent.horizontalCenter
                running: loadingVeil.visible
            }
        }
    }
}
