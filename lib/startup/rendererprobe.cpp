#include "rendererprobe.h"

#include "logging.h"
#include "rendererchoice.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QProcess>
#include <QQuickWindow>
#include <QSettings>
#include <QStringList>

#include <cstdio>

#ifdef Q_OS_WIN
#include "win/displayadapter.h"
#endif

namespace RendererProbe {

namespace {

// The probe holds up the window's first start on a new driver: a child that takes longer in all (start
// and answer) is given up on, and asked again at the next start.
constexpr int kProbeTimeoutMs = 5000;
const QByteArray kRendererPrefix = "renderer: ";

#ifndef Q_OS_WIN
// The kernel's display drivers ("i915", "amdgpu", "virtio_gpu", ...), one per card.
QStringList kernelDisplayDrivers()
{
    QStringList drivers;
    const QDir drm(QStringLiteral("/sys/class/drm"));
    const QStringList cards =
        drm.entryList({QStringLiteral("card*")}, QDir::Dirs | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &card : cards) {
        if (card.contains(QLatin1Char('-'))) // a connector, not a card
            continue;
        const QFileInfo driver(drm.filePath(card + QStringLiteral("/device/driver")));
        drivers << card + QLatin1Char('=') + QFileInfo(driver.symLinkTarget()).fileName();
    }
    return drivers;
}

// The user-space drivers' folders with their modification times: installing or upgrading a driver
// replaces files there.
QStringList userSpaceDrivers()
{
    QStringList folders;
    const QStringList candidates{QStringLiteral("/usr/lib64/dri"), QStringLiteral("/usr/lib/dri")};
    QStringList found = candidates;
    const QDir lib(QStringLiteral("/usr/lib"));
    for (const QString &arch :
         lib.entryList({QStringLiteral("*-linux-gnu*")}, QDir::Dirs | QDir::NoDotAndDotDot))
        found << lib.filePath(arch + QStringLiteral("/dri"));
    for (const QString &path : std::as_const(found)) {
        const QFileInfo info(path);
        if (info.isDir())
            folders << path + QLatin1Char('@') + QString::number(info.lastModified().toSecsSinceEpoch());
    }
    const QFileInfo nvidia(QStringLiteral("/sys/module/nvidia/version"));
    if (nvidia.exists()) {
        QFile file(nvidia.filePath());
        if (file.open(QIODevice::ReadOnly))
            folders << QStringLiteral("nvidia ") + QString::fromLatin1(file.readAll().trimmed());
    }
    return folders;
}

// Runs this program as the probe child and returns its renderer string; empty when the child found no
// OpenGL, null when the child could not be asked (not started, crashed, timed out).
QString probeInChild(bool *asked)
{
    *asked = false;
    QProcess child;
    child.setProgram(QCoreApplication::applicationFilePath());
    child.setArguments({QString::fromLatin1(kProbeArgument)});
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.setStandardErrorFile(QProcess::nullDevice());
    const QDeadlineTimer deadline(kProbeTimeoutMs);
    child.start(QIODevice::ReadOnly);
    if (!child.waitForStarted(int(deadline.remainingTime())) ||
        !child.waitForFinished(int(qMax<qint64>(1, deadline.remainingTime())))) {
        qCWarning(lcHost) << "Renderer probe: no answer from the child process:" << child.errorString();
        child.kill();
        child.waitForFinished(1000);
        return QString();
    }
    if (child.exitStatus() != QProcess::NormalExit) {
        // A driver that crashes while making a context would crash the window as well.
        qCWarning(lcHost) << "Renderer probe: the child process crashed";
        *asked = true;
        return QStringLiteral("");
    }
    *asked = true;
    const QList<QByteArray> lines = child.readAllStandardOutput().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith(kRendererPrefix))
            return QString::fromUtf8(line.mid(kRendererPrefix.size())).trimmed();
    }
    return QStringLiteral("");
}
#endif

} // namespace

QString driverFingerprint(const QProcessEnvironment &environment)
{
    QStringList parts;
    parts << QGuiApplication::platformName();
#ifdef Q_OS_WIN
    Q_UNUSED(environment)
    const vantorix::win::DisplayAdapter adapter = vantorix::win::primaryDisplayAdapter();
    if (adapter.found)
        parts << QString::fromStdWString(adapter.description) << QString::number(adapter.vendorId, 16)
              << QString::number(adapter.deviceId, 16)
              << (adapter.software ? QStringLiteral("software adapter") : QStringLiteral("hardware adapter"));
#else
    // Whether there is an X or Wayland display, not which one (a remote session gets a new display number
    // at each login, and the driver behind it is the same), and whether the session is a remote one.
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "SSH_CONNECTION", "XRDP_SESSION"}) {
        if (!environment.value(QString::fromLatin1(name)).isEmpty())
            parts << QString::fromLatin1(name);
    }
    for (const char *name : {"LIBGL_ALWAYS_SOFTWARE", "GALLIUM_DRIVER", "MESA_LOADER_DRIVER_OVERRIDE",
                             "__GLX_VENDOR_LIBRARY_NAME", "QT_XCB_GL_INTEGRATION", "QSG_RHI_BACKEND"}) {
        const QString value = environment.value(QString::fromLatin1(name));
        if (!value.isEmpty())
            parts << QString::fromLatin1(name) + QLatin1Char('=') + value;
    }
    parts << kernelDisplayDrivers() << userSpaceDrivers();
#endif
    return parts.join(QLatin1Char(';'));
}

int runChild(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    QOpenGLContext context;
    QOffscreenSurface surface;
    surface.create();
    if (!context.create() || !context.makeCurrent(&surface))
        return 3;
    const auto *renderer = reinterpret_cast<const char *>(context.functions()->glGetString(GL_RENDERER));
    std::printf("%s%s\n", kRendererPrefix.constData(), renderer ? renderer : "");
    std::fflush(stdout);
    context.doneCurrent();
    return 0;
}

bool choose(QSettings &settings, const QProcessEnvironment &environment)
{
    using namespace RendererChoice;
    const Mode mode = readMode(settings);
    const QString fingerprint = mode == Mode::Automatic ? driverFingerprint(environment) : QString();
    Action action = decide(mode, environment, readRemembered(settings), fingerprint);

    if (action == Action::Probe) {
        QElapsedTimer stopwatch;
        stopwatch.start();
        bool software = false;
        bool answered = true;
#ifdef Q_OS_WIN
        // The fingerprint names the adapter Qt Quick renders with, and so it is the answer as well.
        software = fingerprint.endsWith(QLatin1String("software adapter")) || isSoftwareRenderer(fingerprint);
        const QString renderer = fingerprint;
#else
        bool asked = false;
        const QString renderer = probeInChild(&asked);
        // No OpenGL context at all: Qt Quick's OpenGL renderer would not draw either.
        // A child that gave no answer in time most likely hung in the driver: software for this start.
        software = !asked || renderer.isEmpty() || isSoftwareRenderer(renderer);
        answered = asked;
#endif
        qCInfo(lcHost) << "Renderer probe:" << (renderer.isEmpty() ? QStringLiteral("no OpenGL") : renderer)
                       << "in" << stopwatch.elapsed() << "ms; software rasteriser:" << software;
        // Only an answer is remembered: a probe that timed out on a busy start is asked again next time.
        if (answered)
            writeRemembered(settings, Remembered{fingerprint, software});
        action = software ? Action::UseSoftware : Action::KeepQtDefault;
    }

    if (action == Action::UseSoftware) {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        qCInfo(lcHost) << "Rendering with Qt Quick's software back-end (setting:" << modeName(mode) << ")";
        return true;
    }
    return false;
}

} // namespace RendererProbe
