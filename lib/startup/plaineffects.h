#pragma once

class QQmlEngine;

// Qt Quick's software back-end draws no shader effects, and the Material style draws the background of
// every raised control (buttons, panes, popups, menus, tool bars) through its shader-based elevation
// effect: in that back-end those backgrounds would not be drawn at all. Where the software back-end is in
// use, the engine loads a plain stand-in for that effect instead (the background as it is, a faint
// outline for the shadow).
namespace PlainEffects {

// Installs the stand-in on the engine; it is used only while the software back-end is in effect. Call
// before the engine loads any document.
void install(QQmlEngine *engine);

} // namespace PlainEffects
