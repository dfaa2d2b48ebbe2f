#pragma once

#include <QQmlIncubationController>

#include <memory>

class QQmlEngine;

// Asynchronous QML creation (Loader.asynchronous) in slices of a fixed length whenever the event loop is
// free, rather than in the few milliseconds Qt Quick's window leaves for it per rendered frame: a frame
// that takes long to draw (software OpenGL) would otherwise stretch the building of the signed-in frame
// over seconds. Each slice stays short, so the window keeps drawing and answering between them.
namespace IdleIncubator {

// Installs a controller on the engine; call before any document is loaded (Qt Quick installs its own
// otherwise). The engine does not own it: the caller keeps it and lets it go before the engine.
[[nodiscard]] std::unique_ptr<QQmlIncubationController> install(QQmlEngine *engine);

} // namespace IdleIncubator
