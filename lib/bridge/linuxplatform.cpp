#include "linuxplatform.h"

#include "autostart.h"

#include <QWindow>

LinuxPlatform::LinuxPlatform()
    : m_protection([this] { return m_keyStore.key(); }),
      m_remoteDesktop([this](const QString &protectedHex) { return m_protection.unprotect(protectedHex); })
{
}

QString LinuxPlatform::protect(const QString &secret)
{
    return m_protection.protect(secret);
}

QString LinuxPlatform::unprotect(const QString &protectedHex)
{
    return m_protection.unprotect(protectedHex);
}

unsigned int LinuxPlatform::startRemoteDesktop(const QString &rdpFileContents,
                                               const RemoteDesktopFailure &onEarlyFailure)
{
    return m_remoteDesktop.launch(rdpFileContents, onEarlyFailure);
}

bool LinuxPlatform::isAutoStartEnabled()
{
    return XdgAutoStart::isEnabled();
}

void LinuxPlatform::setAutoStartEnabled(bool enabled)
{
    XdgAutoStart::setEnabled(enabled);
}

void LinuxPlatform::activateWindow(QWindow *window)
{
    if (!window)
        return;
    window->show();
    window->raise();
    window->requestActivate();
}

#ifndef Q_OS_WIN
std::unique_ptr<Platform> createPlatform()
{
    return std::make_unique<LinuxPlatform>();
}
#endif
