#include "windowsplatform.h"

#include "logging.h"
#include "win/connectionfile.h"
#include "win/credentialprotection.h"
#include "win/foreground.h"
#include "win/mstsc.h"
#include "win/runkey.h"

#include <QWindow>

namespace {

// WinExec's "file not found", for a connection file that could not be written.
constexpr unsigned int kFileNotFound = 2;

} // namespace

QString WindowsPlatform::protect(const QString &secret)
{
    return QString::fromStdString(vantorix::win::protectForCurrentUser(secret.toStdWString()));
}

QString WindowsPlatform::unprotect(const QString &protectedHex)
{
    std::wstring secret;
    if (!vantorix::win::unprotectForCurrentUser(protectedHex.toStdString(), secret))
        return {};
    return QString::fromStdWString(secret);
}

unsigned int WindowsPlatform::startRemoteDesktop(const QString &rdpFileContents, const RemoteDesktopFailure &)
{
    const std::wstring path = vantorix::win::writeConnectionFile(rdpFileContents.toUtf8().toStdString());
    if (path.empty()) {
        qCWarning(lcHost) << "Could not write the connection file";
        return kFileNotFound;
    }
    return vantorix::win::startRemoteDesktopClient(path);
}

bool WindowsPlatform::isAutoStartEnabled()
{
    return vantorix::win::isRunValuePresent();
}

void WindowsPlatform::setAutoStartEnabled(bool enabled)
{
    if (!vantorix::win::setRunValue(enabled))
        qCWarning(lcHost) << "Could not change the start-at-login entry";
}

void WindowsPlatform::activateWindow(QWindow *window)
{
    if (!window)
        return;
    vantorix::win::bringToForeground(reinterpret_cast<void *>(window->winId()));
}

std::unique_ptr<Platform> createPlatform()
{
    return std::make_unique<WindowsPlatform>();
}
