import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import Vantorix
import Vantorix.Core

// The Account tab: the profile form. The values, the VAT number rules and the saving belong to the
// profile editor; the form shows them and hands every edit to it. A cover shows while a visible save
// is in flight.
Item {
    id: tab

    required property MainContext main
    required property ProfileEditor editor
    // The root window: the country list and its names.
    property var window: null
    readonly property User user: main.user
    readonly property var countryNames: {
        if (!window || !window.countryService)
            return []
        window.countries // the names follow the list
        return window.countryService.countryNames(editor.euResident)
    }

    readonly property alias firstNameField: firstNameField
    readonly property alias lastNameField: lastNameField
    readonly property alias euCheck: euCheck
    readonly property alias vatField: vatField
    readonly property alias vatInput: vatInput
    readonly property alias validateButton: validateButton
    readonly property alias companyNameField: companyNameField
    readonly property alias countryBox: countryBox
    readonly property alias companyAddressField: companyAddressField
    readonly property alias phoneField: phoneField
    readonly property alias changePasswordButton: changePasswordButton
    readonly property alias cover: cover

    function askChangePassword() {
        main.confirm("Change Password",
                     "Are you sure you want to change your password? This will log you out and take you to the password reset screen.",
                     "Yes", "Cancel", () => tab.main.resetPassword())
    }

    implicitHeight: scroller.height

    Binding {
        target: tab.editor
        property: "availableCountries"
        value: tab.countryNames
    }

    Flickable {
        id: scroller
        width: tab.width
        height: contentHeight
        contentWidth: width
        contentHeight: form.height + 40
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {
            policy: scroller.contentHeight > scroller.height ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
        }

        ColumnLayout {
            id: form
            x: 20
            y: 20
            width: Math.min(tab.width, 600) - 40
            spacing: 20

            InputField {
                Layout.fillWidth: true
                label: "Username"
                toolTip: "The Username associated with the account. This cannot be changed."
                TextField {
                    objectName: "usernameField"
                    width: parent.width
                    readOnly: true
                    enabled: false
                    text: tab.user.displayName
                    placeholderText: "Username"
                }
            }
            InputField {
                Layout.fillWidth: true
                label: "Email Address"
                toolTip: "The primary email address associated with the account. This cannot be changed."
                TextField {
                    objectName: "emailField"
                    width: parent.width
                    readOnly: true
                    enabled: false
                    text: tab.user.email
                    placeholderText: "Email Address"
                }
            }
            Button {
                id: changePasswordButton
                objectName: "changePasswordButton"
                text: "Change Password"
                onClicked: tab.askChangePassword()
            }
            InputField {
                Layout.fillWidth: true
                label: "First Name"
                toolTip: "The first name of the primary account holder."
                TextField {
                    id: firstNameField
                    width: parent.width
                    selectByMouse: true
                    text: tab.editor.firstName
                    placeholderText: "First name"
                    onTextEdited: tab.editor.firstName = text
                }
            }
            InputField {
                Layout.fillWidth: true
                label: "Last Name"
                toolTip: "The last name of the primary account holder."
                TextField {
                    id: lastNameField
                    width: parent.width
                    selectByMouse: true
                    text: tab.editor.lastName
                    placeholderText: "Last name"
                    onTextEdited: tab.editor.lastName = text
                }
            }
            InputFieldRight {
                Layout.fillWidth: true
                label: "For EU company VAT exemption, please enable this checkbox."
                toolTip: "Enable only if your company is based in the EU and has a valid VAT number."
                CheckBox {
                    id: euCheck
                    objectName: "euCheck"
                    checked: tab.editor.euResident
                    onToggled: tab.editor.euResident = checked
                }
            }
            InputField {
                id: vatField
                Layout.fillWidth: true
                label: "VAT Number"
                toolTip: "Your company/individual registered VAT number."
                currentValue: vatInput.text
                forceShowMessage: true
                validator: () => ({ "valid": tab.editor.vatFieldValid, "message": tab.editor.vatMessage })
                RowLayout {
                    width: parent.width
                    TextField {
                        id: vatInput
                        objectName: "vatInput"
                        Layout.fillWidth: true
                        selectByMouse: true
                        font.capitalization: Font.AllUppercase
                        text: tab.editor.vatNumber
                        placeholderText: "Valid VAT number (ex. DEXXXXXXXX)"
                        onTextEdited: tab.editor.vatNumber = text
                    }
                    Button {
                        id: validateButton
                        objectName: "validateButton"
                        visible: tab.editor.euResident
                        text: tab.editor.validateButtonText
                        font.capitalization: Font.MixedCase
                        enabled: tab.editor.validateButtonEnabled
                        highlighted: enabled
                        onClicked: tab.editor.validateVat()
                    }
                }
            }
            InputField {
                Layout.fillWidth: true
                label: "Company Name"
                toolTip: "Enter your company name if this is a company account."
                TextField {
                    id: companyNameField
                    width: parent.width
                    selectByMouse: true
                    text: tab.editor.companyName
                    placeholderText: "Please enter your Company Name"
                    onTextEdited: tab.editor.companyName = text
                }
            }
            InputField {
                Layout.fillWidth: true
                label: "Country of Residence"
                ComboBox {
                    id: countryBox
                    objectName: "countryBox"
                    width: parent.width
                    model: tab.countryNames
                    // The box shows the country a save sends: the stored one, also when the entries do not
                    // hold it (a non-EU country with the EU box checked, "NA", the list not loaded yet).
                    currentIndex: tab.countryNames.indexOf(tab.editor.selectedCountry)
                    displayText: tab.editor.selectedCountry
                    onActivated: index => tab.editor.selectedCountry = textAt(index)
                }
            }
            InputField {
                Layout.fillWidth: true
                label: "Company Address"
                toolTip: "The company address as it appears in the company registration documents."
                TextField {
                    id: companyAddressField
                    width: parent.width
                    selectByMouse: true
                    text: tab.editor.companyAddress
                    placeholderText: "Please enter your Company Address"
                    onTextEdited: tab.editor.companyAddress = text
                }
            }
            InputField {
                Layout.fillWidth: true
                label: "WhatsApp / Phone Number"
                toolTip: "In case you need our support please enter your WhatsApp or Phone no."
                TextField {
                    id: phoneField
                    width: parent.width
                    selectByMouse: true
                    text: tab.editor.phone
                    placeholderText: "eg: +00.1234567890"
                    onTextEdited: tab.editor.phone = text
                }
            }
        }
    }

    // Over the form while a visible save is in flight.
    Pane {
        id: cover
        objectName: "savingCover"
        anchors.fill: parent
        opacity: tab.editor.updatingUserData ? 0.5 : 0
        visible: opacity > 0

        Behavior on opacity { NumberAnimation { duration: 300; easing.type: Easing.InOutCubic } }

        Column {
            anchors.centerIn: parent
            spacing: 10
            Label {
                anchors.horizontalCenter: parent.horizontalCenter
                text: "Updating user data."
            }
            BusyIndicator {
                anchors.horizontalCenter: parent.horizontalCenter
                running: cover.visible
            }
        }
    }
}
