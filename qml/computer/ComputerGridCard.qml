import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import Vantorix
import Vantorix.Core

// One computer as a card: the 16:9 preview with its status and action buttons, the platform line with
// the last start, the name with inline renaming and the card menu, and the user name.
Pane {
    id: card

    required property MainContext main
    required property Computer computer
    required property bool selected
    readonly property int status: computer ? computer.status : -1
    readonly property bool deleted: status === Computer.Deleted
    readonly property bool loading: computer !== null && (computer.statusChanging
                                    || status === Computer.PendingProvisioning || status === Computer.Provisioning
                                    || status === Computer.Staging || status === Computer.Stopping
                                    || status === Computer.Suspending || status === Computer.Repairing)
    property bool editingComputerName: false
    // The name editor or the menu is open: the grid keeps the card while it is scrolled away.
    readonly property bool inUse: editingComputerName || (menu !== null && menu.visible)
    // False while the card is scrolled far out of view: it then fetches no screenshots.
    property bool inView: true
    // The card itself, for components built inside it (their own `card` property hides the id).
    readonly property Item cardItem: card
    property string lastStartedText: ""
    // The accent of the busy indicator and the four action buttons (grey while provisioning).
    readonly property color cardAccent: status === Computer.Provisioning
                                        ? (Material.theme === Material.Light ? Material.color(Material.Grey, Material.Shade50)
                                                                             : Material.color(Material.Grey, Material.Shade900))
                                        : Material.accent

    readonly property alias preview: preview
    readonly property alias nameRow: nameRow
    readonly property alias nameLabel: nameLabel
    readonly property alias editButton: editButton
    readonly property alias menuButton: menuButton
    readonly property alias nameEditor: nameEditor
    readonly property alias nameField: nameField
    readonly property alias confirmNameButton: confirmNameButton
    readonly property alias cancelNameButton: cancelNameButton
    // The menu is built the first time it is asked for (a card of hundreds rarely needs one).
    readonly property Menu menu: menuLoader.item
    readonly property alias lastStartedLabel: lastStartedLabel

    signal select(bool shiftModifier)
    signal showBillingHistory(Computer computer)
    signal showComputerActivity(Computer computer)

    // Connecting: Windows computers open Remote Desktop; other platforms have no client yet.
    function connect() {
        if (computer.platform === Computer.Windows)
            computer.connectViaRDP(main)
        else
            main.notification("No connection type support yet for this platform.", Notification.Level.Warning)
    }

    function updateLastStartedText() {
        lastStartedText = computer ? computer.lastStartedDescription() : ""
    }

    function openEditor() {
        if (deleted)
            return
        nameField.text = computer.userInstanceName
        editingComputerName = true
        nameField.forceActiveFocus()
        nameField.selectAll()
    }

    function commitName() {
        const text = nameField.text
        if (text === computer.userInstanceName) {
            editingComputerName = false
            return
        }
        computer.editVMInstance(text, main, () => {
            card.editingComputerName = false
            card.main.notification("Machine name updated", Notification.Level.Info)
        })
    }

    function cancelEditing() {
        nameField.text = computer.userInstanceName
        editingComputerName = false
    }

    function toggleMenu(x, y, rightAligned) {
        menuLoader.active = true
        const m = menuLoader.item
        if (m.visible) {
            m.close()
            return
        }
        m.x = rightAligned ? x - m.width : x
        m.y = y
        m.open()
    }

    padding: 0
    implicitHeight: nameRow.y + 60
    Material.background: Utils.styles.appBackgroundColor

    Component.onCompleted: updateLastStartedText()
    Connections {
        target: card.computer
        function onStatusChanged() {
            card.updateLastStartedText()
        }
        function onLastStartedTimeChanged() {
            card.updateLastStartedText()
        }
    }

    Rectangle {
        id: topLine
        width: parent.width
        height: 1
        color: Utils.styles.sidebarSeparatorColor
    }

    ComputerCardPreview {
        id: preview
        card: card
        y: topLine.height + 20
        width: parent.width
        height: width * 1080 / 1920
    }

    RowLayout {
        id: platformLine
        y: preview.y + preview.height + 10
        width: parent.width
        height: 20
        spacing: 3

        Image {
            Layout.preferredWidth: platformLine.height
            Layout.preferredHeight: platformLine.height
            sourceSize.width: 40
            sourceSize.height: 40
            source: card.computer ? card.computer.getPlatformIcon() : ""
            fillMode: Image.PreserveAspectFit
        }
        Label {
            id: osLabel
            Layout.fillWidth: true
            text: card.computer ? card.computer.osVersionInfo : ""
            font.italic: true
            font.pixelSize: 14
            opacity: width >= 50 ? 0.8 : 0
            elide: Text.ElideRight
        }
        Label {
            id: lastStartedLabel
            objectName: "lastStartedLabel"
            Layout.maximumWidth: platformLine.width / 2
            visible: card.computer !== null && card.computer.lastStartedTime > 0
            text: card.lastStartedText
            font.italic: true
            font.pixelSize: 14
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: 8
            opacity: 0.8
        }
    }

    Item {
        id: nameRow
        y: platformLine.y + platformLine.height + 5
        width: parent.width
        height: 30

        Item {
            anchors.fill: parent
            visible: !card.editingComputerName

            Label {
                id: nameLabel
                objectName: "nameLabel"
                anchors.verticalCenter: parent.verticalCenter
                width: Math.min(implicitWidth, parent.width - 90)
                text: card.computer ? card.computer.userInstanceName : ""
                font.pixelSize: 24
                elide: Text.ElideRight
                // The application's accent in every status (the grey accent of a provisioning card would
                // make the name all but vanish on the card's background).
                color: editButton.opacity > 0.5 ? Material.color(Material.Grey, Material.Shade500) : Material.accent
                Behavior on color { ColorAnimation { duration: 300; easing.type: Easing.InOutSine } }
            }
            // Over the name row, its buttons included (they take the hover from this area).
            MouseArea {
                id: nameHover
                readonly property bool hovered: enabled && (containsMouse || editButton.hovered || menuButton.hovered)
                anchors.fill: parent
                enabled: !card.deleted
                hoverEnabled: true
                acceptedButtons: Qt.NoButton
            }
            MouseArea {
                anchors.fill: nameLabel
                enabled: !card.deleted
                onDoubleClicked: card.openEditor()
            }
            ToolButton {
                id: editButton
                objectName: "editNameButton"
                x: nameLabel.width + 5
                anchors.verticalCenter: parent.verticalCenter
                width: 40
                height: 40
                flat: true
                icon.source: "qrc:///assets/icons/edit_black_18dp.svg"
                enabled: !card.deleted
                opacity: nameHover.hovered ? 1 : 0
                onClicked: card.openEditor()
                Behavior on opacity { NumberAnimation { duration: 300 } }
            }
            ToolButton {
                id: menuButton
                objectName: "cardMenuButton"
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                width: 40
                height: 40
                flat: true
                icon.source: "qrc:///assets/icons/more_horiz-black-18dp.svg"
                onClicked: {
                    const p = menuButton.mapToItem(card, menuButton.width, menuButton.height + 5)
                    card.toggleMenu(p.x, p.y, true)
                }
            }
        }

        RowLayout {
            id: nameEditor
            objectName: "nameEditor"
            anchors.fill: parent
            visible: card.editingComputerName
            spacing: 0

            TextField {
                id: nameField
                objectName: "nameField"
                Layout.fillWidth: true
                placeholderText: "Machine Name"
                selectByMouse: true
                enabled: !card.computer || !card.computer.vmDataChanging
                topPadding: 2
                bottomPadding: 6
                onAccepted: card.commitName()
                Keys.onEscapePressed: card.cancelEditing()
            }
            ToolButton {
                id: cancelNameButton
                objectName: "cancelNameButton"
                Layout.preferredWidth: 40
                Layout.preferredHeight: 40
                flat: true
                enabled: nameField.enabled
                icon.source: "qrc:///assets/icons/close-black-18dp.svg"
                onClicked: card.cancelEditing()
            }
            Item {
                Layout.preferredWidth: 40
                Layout.preferredHeight: 40
                ToolButton {
                    id: confirmNameButton
                    objectName: "confirmNameButton"
                    anchors.fill: parent
                    flat: true
                    enabled: nameField.enabled
                    opacity: enabled ? 1 : 0
                    icon.source: "qrc:///assets/icons/check_circle-black-18dp.svg"
                    onClicked: card.commitName()
                    Behavior on opacity { NumberAnimation { duration: 300 } }
                }
                BusyIndicator {
                    anchors.fill: parent
                    running: !nameField.enabled
                    visible: running
                }
            }
        }
    }

    Label {
        y: nameRow.y + nameRow.height + 10
        width: parent.width
        text: "username: " + (card.computer ? card.computer.username : "")
        font.pixelSize: 14
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: 8
        opacity: 0.8
    }

    Loader {
        id: menuLoader
        active: false
        sourceComponent: ComputerCardMenu {
            card: cardItem
        }
    }
}
