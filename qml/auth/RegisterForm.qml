import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import Vantorix
import Vantorix.Core

// The sign-up form: personal fields, the optional company section and the terms.
ColumnLayout {
    id: form

    required property Item view
    readonly property bool busy: view.controller.registerBusy
    readonly property alias email: emailField.text
    readonly property alias usernameField: usernameField
    readonly property alias passwordField: passwordField
    readonly property alias signUpButton: signUpButton
    readonly property alias termsCheck: termsCheck
    readonly property alias company: company
    readonly property alias scrollView: scroll

    function formData() {
        return {
            "username": usernameField.text,
            "password": passwordField.text,
            "email": emailField.text,
            "firstName": firstNameField.text,
            "lastName": lastNameField.text,
            "euResident": company.euResident,
            "vatNumber": company.sanitizedValue,
            "validVat": company.vatValidated,
            "country": company.country,
            "companyName": company.companyName,
            "companyAddress": company.companyAddress
        }
    }
    function clearPassword() {
        passwordField.text = ""
    }
    function submit() {
        if (view.controller.checkRegistration(formData()))
            view.register()
    }
    function minLength(count) {
        return value => ({ "valid": String(value).length >= count, "message": "" })
    }

    // The full width of the sign-in card's slot for this form.
    Layout.fillWidth: true
    spacing: 5
    enabled: !busy

    ScrollView {
        id: scroll
        Layout.fillWidth: true
        // 376 pixels, or more when the fields with the company section closed need more: a closed section's
        // toggle row is never cut by the area's edge (its scroll bar only shows while the section is open).
        Layout.preferredHeight: Math.max(376, fields.implicitHeight - company.drawerHeight)
        contentWidth: availableWidth
        clip: true
        ScrollBar.vertical.policy: ScrollBar.AlwaysOn
        ScrollBar.vertical.visible: company.showExtraOptions
        ScrollBar.horizontal.policy: ScrollBar.AlwaysOff

        ColumnLayout {
            id: fields
            readonly property int rightMargin: company.showExtraOptions ? 20 : 0
            width: scroll.availableWidth - animatedMargin.value
            spacing: 5

            QtObject {
                id: animatedMargin
                property real value: fields.rightMargin
                Behavior on value {
                    NumberAnimation {
                        duration: 300
                        easing.type: Easing.InOutCubic
                    }
                }
            }

            InputField {
                id: firstNameInput
                Layout.fillWidth: true
                label: "First Name"
                currentValue: firstNameField.text
                validator: form.minLength(1)
                TextField {
                    id: firstNameField
                    objectName: "firstNameField"
                    width: parent.width
                    placeholderText: "Please enter your First Name"
                    selectByMouse: true
                }
            }
            InputField {
                id: lastNameInput
                Layout.fillWidth: true
                label: "Last Name"
                currentValue: lastNameField.text
                validator: form.minLength(1)
                TextField {
                    id: lastNameField
                    objectName: "lastNameField"
                    width: parent.width
                    placeholderText: "Please enter your Last Name"
                    selectByMouse: true
                }
            }
            InputField {
                id: usernameInput
                Layout.fillWidth: true
                label: "Username"
                currentValue: usernameField.text
                validator: form.minLength(2)
                TextField {
                    id: usernameField
                    objectName: "usernameField"
                    width: parent.width
                    placeholderText: "Enter a username (you can login with username or email)"
                    selectByMouse: true
                }
            }
            InputField {
                id: emailInput
                Layout.fillWidth: true
                label: "Email"
                currentValue: emailField.text
                validator: form.minLength(3)
                TextField {
                    id: emailField
                    objectName: "emailField"
                    width: parent.width
                    placeholderText: "Enter a valid email address"
                    selectByMouse: true
                }
            }
            InputField {
                id: passwordInput
                Layout.fillWidth: true
                label: "Password (minimum 8 characters)"
                currentValue: passwordField.text
                validator: value => Utils.validateUserPassword(value)
                PasswordInput {
                    id: passwordField
                    objectName: "registerPasswordField"
                    width: parent.width
                    placeholderText: "must contain letters, numbers and special chars"
                }
            }
            CompanySection {
                id: company
                view: form.view
                Layout.fillWidth: true
            }
        }
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 4

        LinkLabel {
            text: "Accept the " + link("/terms-of-service/", "Terms of service")
        }
        LinkLabel {
            text: link("/acceptable-use-policy/", "Use policy")
        }
        LinkLabel {
            text: link("/privacy-policy/", "Privacy policy")
        }
        CheckBox {
            id: termsCheck
            objectName: "termsCheck"
        }
    }
    BusyButton {
        id: signUpButton
        objectName: "signUpButton"
        Layout.fillWidth: true
        label: "Sign Up"
        busy: form.busy
        enabled: firstNameInput.valid && lastNameInput.valid && usernameInput.valid && emailInput.valid
                 && passwordInput.valid && termsCheck.checked && !form.busy
        onClicked: form.submit()
    }
    Row {
        Layout.alignment: Qt.AlignHCenter
        spacing: 5

        Label {
            text: "Already have an account?"
            anchors.verticalCenter: parent.verticalCenter
        }
        ToolButton {
            objectName: "toLoginButton"
            // Its text is in the accent colour: the one that reads on this theme's background.
            Material.accent: Utils.styles.accentTextColor
            text: "Sign In"
            highlighted: true
            onClicked: form.view.viewState = AuthView.ViewState.Login
        }
    }
}
