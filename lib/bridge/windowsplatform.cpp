#include "windowsplatform.h"

#include "logging.h"
#include "win/credentialprotection.h"
#include "win/foreground.h"
#include "win/mstsc.h"
#include "win/runkey.h"

#include <QTemporaryFile>
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

unsigned int WindowsPlatform::startRemoteDesktop(const QString &rdpFileContents)
{
    // The default name: the temporary folder, "vantorix", a dot and six random characters. The file stays
    // after the call; MSTSC reads it after we return.
    QTemporaryFile file;
    file.setAutoRemove(false);
    if (!file.open()) {
        qCWarning(lcHost) << "Could not create the connection file:" << file.errorString();
        return kFileNotFound;
    }
    const QByteArray bytes = rdpFileContents.toUtf8();
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        qCWarning(lcHost) << "Could not write the connection file:" << file.errorString();
        file.remove();
        return kFileNotFound;
    }
    const QString path = file.fileName();
    file.close();
    return vantorix::win::startRemoteDesktopClient(path.toStdWString());
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
