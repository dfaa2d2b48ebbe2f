import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import Vantorix.Core

// The Activity tab: the account's activity log in the paged log view, whose host logic is the
// session's account log controller (created with the account view, so the first page is asked for
// whichever tab opens first).
Pane {
    id: tab

    required property MainContext main
    required property LogsController logs
    // The account view's tab bar and its break width: the log view's page controls read them.
    property Item tabBar: null
    property int tabBarBreakWidth: 800
    readonly property Item logsView: logsLoader.item
    readonly property bool logsViewMissing: logsLoader.status === Loader.Error || logsLoader.status === Loader.Null

    padding: 0
    bottomPadding: 20
    Material.elevation: 2
    implicitHeight: (logsLoader.item ? logsLoader.item.implicitHeight : placeholder.implicitHeight) + bottomPadding

    // The log view is loaded by name so that this tab still shows its placeholder if it is missing.
    Loader {
        id: logsLoader
        width: tab.availableWidth
        Component.onCompleted: setSource(Qt.resolvedUrl("LogsView.qml"), { "main": tab.main, "controller": tab.logs })
        onStatusChanged: {
            if (status === Loader.Error)
                console.warn("The log view could not be loaded; the Activity tab shows a placeholder")
        }
    }
    Binding {
        when: logsLoader.item !== null
        target: logsLoader.item
        property: "headerTabBarWidth"
        value: tab.tabBar ? tab.tabBar.width : 0
    }
    Binding {
        when: logsLoader.item !== null
        target: logsLoader.item
        property: "headerTabBarBreakWidth"
        value: tab.tabBarBreakWidth
    }

    Column {
        id: placeholder
        objectName: "activityPlaceholder"
        visible: tab.logsViewMissing
        width: tab.availableWidth
        padding: 20
        spacing: 10
        Label {
            text: "The activity log cannot be shown in this version."
            color: Material.color(Material.Grey, Material.Shade600)
        }
        Label {
            text: tab.logs.totalLogEntries + " log entries"
            color: Material.color(Material.Grey, Material.Shade600)
        }
    }
}
