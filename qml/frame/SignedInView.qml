import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import Vantorix.Core

// The frame shown while a user is signed in: the sliding sidebar, the scrolling page area (header row,
// top banner, the page chosen by the session's pageIndex, the footer links) and the "Signing out."
// indicator. It creates the session of this sign-in and owns it: the session goes with the frame.
Pane {
    id: frame

    // The root window (notifications, logo, signedOut/resetPassword).
    required property Item window
    // The signed-in user, given once when the frame is created.
    required property User user
    readonly property MainContext main: SessionFactory.create(frame.user, frame)
    readonly property int sidebarBreakWidth: 650
    readonly property bool wide: width > sidebarBreakWidth
    property int oldWidth: 0
    property bool completed: false
    property bool signingOut: false

    readonly property alias sidebar: sidebar
    readonly property alias flickable: flickable
    readonly property alias flickableContent: content
    readonly property alias pageLoader: pageLoader
    readonly property alias scrollBar: scrollBar
    readonly property alias darkening: darkening
    readonly property alias headerToggle: headerToggle
    readonly property alias signingOutIndicator: signingOutIndicator
    readonly property alias topBannerArea: topBannerArea
    readonly property alias footer: footer
    readonly property Item page: pageLoader.item
    readonly property var pageToolbar: page && page.extraControlsRow !== undefined ? page.extraControlsRow : null
    readonly property bool toolbarFloating: pageToolbar ? Boolean(pageToolbar.floating) : false
    readonly property bool lightTheme: Material.theme === Material.Light

    // Where each page lives; pages that do not exist yet leave the slot empty (the loader logs why).
    function pageUrl(index) {
        switch (index) {
        case MainContext.Computers:
            return Qt.resolvedUrl("../computer/ComputersPage.qml")
        case MainContext.CreateInstance:
            return Qt.resolvedUrl("../create/CreateInstanceView.qml")
        case MainContext.Account:
            return Qt.resolvedUrl("../account/MyAccountView.qml")
        }
        return ""
    }

    function loadPage() {
        if (!main || signingOut) {
            pageLoader.source = ""
            return
        }
        const url = pageUrl(main.pageIndex)
        if (url === "") {
            pageLoader.source = ""
            return
        }
        const properties = {
            "main": main,
            "flickable": flickable,
            "flickableContent": content,
            "breakWidth": sidebarBreakWidth
        }
        // Every page docks its toolbar beside the sidebar toggle and the logo.
        properties.sidebar = sidebar
        properties.logoSource = window.vantorixLogo
        if (main.pageIndex === MainContext.Account)
            properties.window = window
        pageLoader.setSource(url, properties)
    }

    // Only crossings of the break width move the sidebar; the user's own toggles stand between them.
    onWidthChanged: {
        if (!completed)
            return
        if (sidebar.open && oldWidth > sidebarBreakWidth && width <= sidebarBreakWidth)
            sidebar.open = false
        else if (!sidebar.open && oldWidth <= sidebarBreakWidth && width > sidebarBreakWidth)
            sidebar.open = true
        oldWidth = width
    }

    Component.onCompleted: {
        sidebar.open = width > sidebarBreakWidth
        oldWidth = width
        completed = true
        loadPage()
    }

    padding: 0
    Material.background: Utils.styles.appBackgroundColor

    Connections {
        target: frame.main
        function onPageIndexChanged() {
            frame.loadPage()
        }
        function onSigningOut() {
            // The page goes first; the session has already stopped polling and cleared the browser data.
            frame.signingOut = true
            frame.loadPage()
            signingOutIndicator.opacity = 1
        }
        function onSignedOutRequested() {
            frame.window.signedOut()
        }
        function onResetPasswordRequested() {
            frame.window.resetPassword()
        }
    }

    Flickable {
        id: flickable
        objectName: "pageFlickable"
        anchors.left: frame.wide ? sidebar.right : parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        boundsBehavior: Flickable.StopAtBounds
        clip: true
        contentWidth: width
        contentHeight: content.height + filler.height + footer.height
        opacity: signingOutIndicator.visible ? 0 : 1
        visible: opacity !== 0

        Behavior on opacity { NumberAnimation { duration: 300; easing.type: Easing.InOutCubic } }

        ScrollBar.vertical: ScrollBar {
            id: scrollBar
            objectName: "pageScrollBar"
            // Not drawn over a page toolbar pinned at the top.
            readonly property real topOffset: frame.toolbarFloating && frame.pageToolbar
                                              ? frame.pageToolbar.height + 2 : 0
            y: topOffset
            height: flickable.height - topOffset
            policy: flickable.contentHeight > flickable.height ? ScrollBar.AlwaysOn : ScrollBar.AsNeeded
        }

        Column {
            id: content
            objectName: "pageContent"
            readonly property bool scrollBarShown: frame.wide && flickable.contentHeight > flickable.height
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.leftMargin: 20
            anchors.rightMargin: scrollBarShown ? 20 + scrollBar.width : 20
            spacing: 20

            Behavior on anchors.rightMargin { NumberAnimation { duration: 300; easing.type: Easing.InOutCubic } }

            Item {
                id: headerRow
                width: parent.width
                height: headerToggle.implicitHeight

                Row {
                    anchors.left: parent.left
                    height: parent.height
                    visible: !sidebar.open

                    SidebarToggleBtn {
                        id: headerToggle
                        objectName: "headerSidebarToggle"
                        sidebar: sidebar
                    }
                    Image {
                        height: parent.height
                        width: height * frame.window.vantorixLogoAspectRatio
                        fillMode: Image.PreserveAspectCrop
                        source: frame.window.vantorixLogo
                        sourceSize.height: 120
                        asynchronous: true
                    }
                }
                ToolButton {
                    objectName: "faqButton"
                    anchors.right: parent.right
                    flat: true
                    icon.source: "qrc:///assets/icons/help_outline-black-18dp.svg"
                    onClicked: context.openUrl(UiShell.pageUrl("/faq"))
                }
            }

            // No fill of its own: the frame's background, of the same colour, shows around the banner (a fill
            // would be one more layer for the rasteriser to cover at each of the banner's frames).
            Item {
                id: topBannerArea
                objectName: "topBannerArea"
                readonly property Banner banner: frame.main ? (frame.lightTheme ? frame.main.topBannerLight
                                                                                : frame.main.topBannerDark) : null
                readonly property string link: banner ? banner.link : ""
                width: parent.width
                height: Math.min(0.3 * width, 200)

                AnimatedImage {
                    id: topBanner
                    anchors.fill: parent
                    fillMode: Image.PreserveAspectFit
                    source: topBannerArea.banner ? topBannerArea.banner.source : ""
                    // Animated only while the window can be seen: a window closed to the tray costs nothing.
                    playing: status === AnimatedImage.Ready && Window.visibility !== Window.Hidden
                             && Window.visibility !== Window.Minimized
                    asynchronous: true
                }
                BusyIndicator {
                    anchors.centerIn: parent
                    running: topBanner.status !== AnimatedImage.Ready
                    visible: running
                }
                MouseArea {
                    anchors.fill: parent
                    cursorShape: topBannerArea.link !== "" ? Qt.PointingHandCursor : Qt.ArrowCursor
                    onClicked: {
                        if (topBannerArea.link !== "")
                            context.openUrl(topBannerArea.link)
                    }
                }
            }

            Loader {
                id: pageLoader
                objectName: "pageLoader"
                width: parent.width
                enabled: frame.completed
                onStatusChanged: {
                    if (status === Loader.Error)
                        console.warn("The page", source, "could not be loaded; the page stays empty")
                }
            }
        }

        Item {
            id: filler
            y: content.height
            width: parent.width
            height: Math.max(frame.height - (content.height + footer.height), 0)
        }

        Rectangle {
            id: footer
            objectName: "footer"
            y: content.height + filler.height
            z: -1
            width: flickable.width
            height: Math.max(footerRow.implicitHeight + 40, 80)
            color: Utils.styles.sidebarBackgroundColor

            Row {
                id: footerRow
                anchors.centerIn: parent
                padding: 0

                Repeater {
                    model: [
                        { "text": "vantorix", "path": "/" },
                        { "text": "download", "path": "/download" },
                        { "text": "pricing", "path": "/pricing" },
                        { "text": "about us", "path": "/about-us" },
                        { "text": "contact us", "path": "/contact" }
                    ]
                    delegate: Button {
                        required property var modelData
                        flat: true
                        text: modelData.text
                        font.capitalization: Font.MixedCase
                        // Blue 500 reads on the dark background only (2.7:1 on the light one): there the
                        // footer takes the darker blues of the same palette.
                        Material.foreground: Utils.styles.isLightTheme
                                             ? Material.color(Material.Blue, hovered ? Material.Shade700 : Material.Shade800)
                                             : Material.color(Material.Blue, hovered ? Material.Shade400 : Material.Shade500)
                        onClicked: context.openUrl(UiShell.pageUrl(modelData.path))
                    }
                }
            }
        }
    }

    // Darkens the page while the sidebar floats over it; it takes no input.
    Rectangle {
        id: darkening
        objectName: "darkening"
        anchors.fill: parent
        color: "black"
        opacity: sidebar.open && !frame.wide ? 0.5 : 0
        visible: opacity > 0

        Behavior on opacity { NumberAnimation { duration: 200; easing.type: Easing.InOutSine } }
    }

    Sidebar {
        id: sidebar
        objectName: "sidebar"
        height: parent.height
        main: frame.main
        logoSource: frame.window.vantorixLogo
        logoAspectRatio: frame.window.vantorixLogoAspectRatio
        opacity: flickable.opacity
    }

    Column {
        id: signingOutIndicator
        objectName: "signingOutIndicator"
        anchors.centerIn: parent
        spacing: 10
        opacity: 0
        visible: opacity !== 0

        Behavior on opacity { NumberAnimation { duration: 300; easing.type: Easing.InOutCubic } }

        Label {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Signing out."
            font.pointSize: 14
        }
        BusyIndicator {
            anchors.horizontalCenter: parent.horizontalCenter
            running: signingOutIndicator.visible
        }
    }
}
