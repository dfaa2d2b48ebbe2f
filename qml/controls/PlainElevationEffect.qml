import QtQuick

// Stands in for the Material style's elevation shadow (a shader effect) where Qt Quick renders without
// shaders, in its software back-end: the control's own background drawn as it is, on a faint outline where
// the shadow would fall. Same properties as the style's effect, as its controls set them.
Item {
    id: effect

    property var source
    property int elevation: 0
    property bool fullWidth: false
    property bool fullHeight: false
    readonly property Item sourceItem: source ? source.sourceItem : null

    Rectangle {
        x: -1
        y: 0
        width: effect.width + 2
        height: effect.height + 2
        radius: effect.sourceItem && effect.sourceItem.radius !== undefined ? effect.sourceItem.radius + 1 : 0
        color: Qt.rgba(0, 0, 0, 0.3)
        visible: effect.elevation > 0
    }
    ShaderEffectSource {
        anchors.fill: parent
        sourceItem: effect.sourceItem
    }
}
