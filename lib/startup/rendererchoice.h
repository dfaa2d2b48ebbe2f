#pragma once

#include <QProcessEnvironment>
#include <QString>

#include <optional>

class QSettings;

// Which Qt Quick back-end the window uses. Where the OpenGL in use is a software rasteriser (virtual
// machines, remote sessions, thin clients), every frame of Qt Quick's OpenGL renderer redraws the whole
// window on the CPU, while its software back-end redraws only what changed. The automatic choice follows
// a probe of the OpenGL renderer, remembered for the driver it was made with; the stored setting and
// QT_QUICK_BACKEND win over it.
namespace RendererChoice {

enum class Mode { Automatic, Hardware, Software };

// What the window does: leave Qt's choice alone, use the software back-end, or probe OpenGL first.
enum class Action { KeepQtDefault, UseSoftware, Probe };

// The stored setting's text ("Automatic", "Hardware", "Software"); anything else is Automatic.
[[nodiscard]] Mode parseMode(const QString &text);
[[nodiscard]] QString modeName(Mode mode);

// True when an OpenGL renderer string names a software rasteriser (Mesa's llvmpipe, softpipe and swrast,
// Windows' basic render driver and GDI generic renderer).
[[nodiscard]] bool isSoftwareRenderer(const QString &renderer);

// The remembered probe: the driver fingerprint it was made with and whether it found a software
// rasteriser.
struct Remembered {
    QString fingerprint;
    bool software = false;
};

// The decision: QT_QUICK_BACKEND in the environment (non-empty) leaves everything to Qt; then the stored
// mode; Automatic uses the remembered probe when it was made for the same fingerprint, else probes.
[[nodiscard]] Action decide(Mode mode, const QProcessEnvironment &environment,
                            const std::optional<Remembered> &remembered, const QString &fingerprint);

// The setting and the remembered probe in the settings store.
[[nodiscard]] Mode readMode(QSettings &settings);
void writeMode(QSettings &settings, Mode mode);
[[nodiscard]] std::optional<Remembered> readRemembered(QSettings &settings);
void writeRemembered(QSettings &settings, const Remembered &remembered);

} // namespace RendererChoice
