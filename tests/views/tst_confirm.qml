import QtQuick
import QtTest
import Vantorix

TestCase {
    id: testCase
    name: "ConfirmationPopup"
    when: windowShown
    visible: true
    width: 1200
    height: 720

    property var root: null
    readonly property var popup: root ? root.confirmPopup : null

    function init() {
        testKit.clearSettings()
        const component = Qt.createComponent("qrc:/Vantorix/main.qml")
        root = createTemporaryObject(component, testCase)
        verify(root)
    }

    function button(name) {
        return findChild(popup.contentItem, name)
    }

    function test_textsBeforeTheFirstRequest() {
        compare(popup.okText, "Ok")
        compare(popup.cancelText, "Cancel")
    }

    function test_oneButton() {
        root.confirm("Title", "Message", "Fine")
        tryVerify(() => popup.opened)
        verify(button("confirmOk").visible)
        verify(!button("confirmCancel").visible)
        compare(button("confirmOk").text, "Fine")
        compare(findChild(popup.contentItem, "confirmTitle").text, "Title")
        compare(findChild(popup.contentItem, "confirmMessage").text, "Message")
        mouseClick(button("confirmOk"))
        tryVerify(() => !popup.visible)
    }

    function test_twoButtonsAndTheirCallbacks_data() {
        return [{ tag: "ok", press: "confirmOk", expected: "ok" },
                { tag: "cancel", press: "confirmCancel", expected: "cancel" }]
    }
    function test_twoButtonsAndTheirCallbacks(data) {
        const calls = []
        root.confirm("T", "M", "Yes", "No", () => calls.push("ok"), () => calls.push("cancel"))
        tryVerify(() => popup.opened)
        verify(button("confirmOk").visible && button("confirmCancel").visible)
        mouseClick(button(data.press))
        compare(calls, [data.expected])
        tryVerify(() => !popup.visible)
    }

    function test_escapeCallsNeither() {
        const calls = []
        root.confirm("T", "M", "Yes", "No", () => calls.push("ok"), () => calls.push("cancel"))
        tryVerify(() => popup.opened)
        keyClick(Qt.Key_Escape)
        tryVerify(() => !popup.visible)
        compare(calls, [])
    }

    function test_aNewRequestReplacesTheCallbacks() {
        const calls = []
        root.confirm("First", "M", "Yes", "No", () => calls.push("first ok"), () => calls.push("first cancel"))
        tryVerify(() => popup.opened)
        root.confirm("Second", "M", "Yes", "", () => calls.push("second ok"))
        compare(popup.title, "Second")
        verify(!button("confirmCancel").visible)
        mouseClick(button("confirmOk"))
        compare(calls, ["second ok"])
    }

    function test_width() {
        root.confirm("T", "M", "Ok")
        tryVerify(() => popup.opened)
        compare(popup.width, Math.min(popup.parent.width - 50, 700))
        popup.close()
    }

    function test_coreConfirmationsAreAnswered() {
        testKit.coreConfirm("core1", "Go", "Stop")
        tryVerify(() => popup.opened)
        compare(popup.title, "core1")
        mouseClick(button("confirmCancel"))
        compare(testKit.coreAnswers(), ["core1:cancel"])
        // A view's request takes over a pending core request, which then gets no answer.
        testKit.coreConfirm("core2", "Go", "Stop")
        tryVerify(() => popup.opened)
        let viewAnswered = false
        root.confirm("view", "M", "Ok", "Cancel", () => viewAnswered = true)
        mouseClick(button("confirmOk"))
        verify(viewAnswered)
        compare(testKit.coreAnswers(), ["core1:cancel"])
    }
}
