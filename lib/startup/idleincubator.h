#pragma once

class QQmlEngine;

// Asynchronous QML creation (Loader.asynchronous) in slices of a fixed length whenever the event loop is
// free, rather than in the few milliseconds Qt Quick's window leaves for it per rendered frame: a frame
// that takes long to draw (software OpenGL) would otherwise stretch the building of the signed-in frame
// over seconds. Each slice stays short, so the window keeps drawing and answering between them.
namespace IdleIncubator {

// Installs the controller on the engine; call before any document is loaded (Qt Quick installs its own
// otherwise). The engine does not own it: it lives until the program ends.
void install(QQmlEngine *engine);

} // namespace IdleIncubator
