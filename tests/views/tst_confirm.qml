import QtQuick
import QtTest
import Vantorix

// The confirmation question of the main window: its buttons and callbacks, and requests from the core.
ViewsCase {
    name: "ConfirmationPopup"

    readonly property var popup: root ? root.confirmPopup : null

    function init() {
        start(1200)
    }
    function button(name) {
        return findChild(popup.contentItem, name)
    }

    // One button or two; Escape calls neither callback.
    function test_buttonsAndTheirCallbacks_data() {
        return [
            { tag: "one button", cancelText: undefined, press: "confirmOk", expected: ["ok"] },
            { tag: "ok", cancelText: "No", press: "confirmOk", expected: ["ok"] },
            { tag: "cancel", cancelText: "No", press: "confirmCancel", expected: ["cancel"] },
            { tag: "escape", cancelText: "No", press: "", expected: [] },
        ]
    }
    function test_buttonsAndTheirCallbacks(data) {
        const calls = []
        root.confirm("Title", "Message", "Fine", data.cancelText, () => calls.push("ok"), () => calls.push("cancel"))
        tryVerify(() => popup.opened)
        compare(button("confirmOk").text, "Fine")
        compare(button("confirmCancel").visible, data.cancelText !== undefined)
        compare(findChild(popup.contentItem, "confirmTitle").text, "Title")
        compare(findChild(popup.contentItem, "confirmMessage").text, "Message")
        if (data.press === "")
            keyClick(Qt.Key_Escape)
        else
            mouseClick(button(data.press))
        compare(calls, data.expected)
        tryVerify(() => !popup.visible)
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
