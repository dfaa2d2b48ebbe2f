#pragma once

#include <QProcessEnvironment>
#include <QString>

class QSettings;

// The host side of the renderer choice: a cheap fingerprint of the graphics driver in use, the probe of
// the OpenGL renderer (in a child process, so that the program itself never loads a driver it will not
// render with), and putting the choice into effect before the first window exists.
namespace RendererProbe {

// The child's command-line argument; main() hands such a process to runChild().
inline constexpr char kProbeArgument[] = "--probe-renderer";

// What identifies the driver in use without loading it: the windowing platform and display, the
// environment variables that steer Mesa, the kernel's display drivers and the date of the installed
// user-space drivers (Linux), or the primary display adapter (Windows).
[[nodiscard]] QString driverFingerprint(const QProcessEnvironment &environment);

// In the child: creates an OpenGL context and prints its renderer string; exit code 0 with the string,
// 3 when no OpenGL context could be made.
int runChild(int argc, char *argv[]);

// Decides (setting, QT_QUICK_BACKEND, remembered probe), probes when needed and remembers the result,
// and selects Qt Quick's software back-end when so decided. Needs the application object and must run
// before any Qt Quick window is created. Returns true when the software back-end was selected.
bool choose(QSettings &settings, const QProcessEnvironment &environment);

} // namespace RendererProbe
