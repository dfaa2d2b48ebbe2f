#include "rendererchoice.h"

#include <QSettings>

namespace RendererChoice {

namespace {
const QString kModeKey = QStringLiteral("rendering");
const QString kFingerprintKey = QStringLiteral("renderingProbe/driver");
const QString kSoftwareKey = QStringLiteral("renderingProbe/software");
} // namespace

Mode parseMode(const QString &text)
{
    if (text == QLatin1String("Hardware"))
        return Mode::Hardware;
    if (text == QLatin1String("Software"))
        return Mode::Software;
    return Mode::Automatic;
}

QString modeName(Mode mode)
{
    switch (mode) {
    case Mode::Hardware:
        return QStringLiteral("Hardware");
    case Mode::Software:
        return QStringLiteral("Software");
    case Mode::Automatic:
        break;
    }
    return QStringLiteral("Automatic");
}

bool isSoftwareRenderer(const QString &renderer)
{
    static const char *const kSoftwareRenderers[] = {
        "llvmpipe",   "softpipe", "swrast", "software rasterizer", "microsoft basic render driver",
        "gdi generic"};
    for (const char *name : kSoftwareRenderers) {
        if (renderer.contains(QLatin1String(name), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

Action decide(Mode mode, const QProcessEnvironment &environment, const std::optional<Remembered> &remembered,
              const QString &fingerprint)
{
    if (!environment.value(QStringLiteral("QT_QUICK_BACKEND")).isEmpty())
        return Action::KeepQtDefault;
    switch (mode) {
    case Mode::Hardware:
        return Action::KeepQtDefault;
    case Mode::Software:
        return Action::UseSoftware;
    case Mode::Automatic:
        break;
    }
    if (remembered && !fingerprint.isEmpty() && remembered->fingerprint == fingerprint)
        return remembered->software ? Action::UseSoftware : Action::KeepQtDefault;
    return Action::Probe;
}

Mode readMode(QSettings &settings)
{
    return parseMode(settings.value(kModeKey).toString());
}

void writeMode(QSettings &settings, Mode mode)
{
    settings.setValue(kModeKey, modeName(mode));
}

std::optional<Remembered> readRemembered(QSettings &settings)
{
    const QString fingerprint = settings.value(kFingerprintKey).toString();
    const QVariant software = settings.value(kSoftwareKey);
    if (fingerprint.isEmpty() || !software.isValid())
        return std::nullopt;
    return Remembered{fingerprint, software.toBool()};
}

void writeRemembered(QSettings &settings, const Remembered &remembered)
{
    settings.setValue(kFingerprintKey, remembered.fingerprint);
    settings.setValue(kSoftwareKey, remembered.software);
}

} // namespace RendererChoice
