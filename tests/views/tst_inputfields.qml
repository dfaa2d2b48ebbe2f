import QtQuick
import QtQuick.Controls
import QtTest
import Vantorix
import Vantorix.Core

TestCase {
    id: testCase
    name: "InputFields"
    when: windowShown
    visible: true
    width: 600
    height: 400

    Component {
        id: fieldComponent
        InputField {
            id: field
            property alias textField: input
            width: 300
            label: "Machine name"
            currentValue: input.text
            validator: value => Utils.validateComputerName(value)
            TextField {
                id: input
                width: parent.width
            }
        }
    }
    Component {
        id: numberField
        InputField {
            label: ""
            property var value: 5
            currentValue: value
            validator: v => ({ "valid": false, "message": "never" })
        }
    }
    Component {
        id: rightComponent
        InputFieldRight {
            property alias box: check
            label: "Accept"
            currentValue: check.checked
            validator: v => ({ "valid": v === false, "message": "Must stay unchecked" })
            CheckBox {
                id: check
            }
        }
    }
    Component {
        id: passwordComponent
        PasswordInput {
            width: 300
            text: "secret"
        }
    }

    function message(field) {
        return findChild(field, "fieldMessage")
    }

    function test_noMessageForTheInitialValue() {
        const field = createTemporaryObject(fieldComponent, testCase)
        verify(!field.valid)
        verify(!message(field).visible)
        field.textField.text = "a"
        verify(message(field).visible)
        compare(message(field).text, "Machine name must be at least three characters long.")
        field.textField.text = "abc"
        verify(field.valid)
        verify(!message(field).visible)
        // Back to the initial value: hidden again though still invalid, unless the message is forced.
        field.textField.text = ""
        verify(!field.valid)
        verify(!message(field).visible)
        field.forceShowMessage = true
        verify(message(field).visible)
    }

    function test_looseComparisonWithTheInitialValue() {
        const field = createTemporaryObject(numberField, testCase)
        field.value = "5"
        verify(!message(field).visible)
        field.value = 6
        verify(message(field).visible)
        // Without a label there is no label and no help button.
        verify(!findChild(field, "fieldLabel").visible)
        verify(!findChild(field, "fieldHelp").visible)
    }

    function test_helpToolTip() {
        const field = createTemporaryObject(fieldComponent, testCase, { "toolTip": "Help text" })
        verify(findChild(field, "fieldLabel").visible)
        const help = findChild(field, "fieldHelp")
        verify(help.visible && !help.tipOpen)
        mouseClick(help)
        tryVerify(() => help.tipOpen)
        mouseClick(help)
        tryVerify(() => !help.tipOpen)
    }

    function test_fieldRight() {
        const field = createTemporaryObject(rightComponent, testCase)
        verify(field.valid)
        verify(!message(field).visible)
        field.box.checked = true
        verify(!field.valid)
        verify(message(field).visible)
        compare(message(field).text, "Must stay unchecked")
        field.box.checked = false
        verify(!message(field).visible)
    }

    function test_passwordInput() {
        const input = createTemporaryObject(passwordComponent, testCase)
        verify(input.inputMethodHints & Qt.ImhSensitiveData)
        compare(input.displayText, "******")
        mouseClick(input.showButton)
        verify(input.shown)
        compare(input.echoMode, TextInput.Normal)
        compare(input.displayText, "secret")
        compare(input.inputMethodHints, Qt.ImhNone)
        verify(input.background.width <= input.width - 10 - input.showButton.width + 0.5)
    }
}
