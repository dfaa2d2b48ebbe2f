import QtQuick

// A one-shot timer that runs `action` once and then destroys itself. Created with its interval set.
Timer {
    id: timer

    property var action: null

    running: true
    repeat: false
    onTriggered: {
        try {
            if (typeof action === "function")
                action()
        } finally {
            timer.destroy()
        }
    }
}
