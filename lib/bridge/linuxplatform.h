#pragma once

#include "dataprotection.h"
#include "platform.h"
#include "remotedesktoplauncher.h"
#include "secretkeystore.h"

// The Linux backend: libsodium data protection with the key in the secret store (or a key file),
// FreeRDP for Remote Desktop, an XDG autostart entry, and plain window activation.
class LinuxPlatform : public Platform {
public:
    LinuxPlatform();

    [[nodiscard]] QString protect(const QString &secret) override;
    [[nodiscard]] QString unprotect(const QString &protectedHex) override;
    unsigned int startRemoteDesktop(const QString &rdpFileContents,
                                    const RemoteDesktopFailure &onEarlyFailure = {}) override;
    [[nodiscard]] bool isAutoStartEnabled() override;
    void setAutoStartEnabled(bool enabled) override;
    void activateWindow(QWindow *window) override;

private:
    SecretKeyStore m_keyStore;
    DataProtection m_protection;
    RemoteDesktopLauncher m_remoteDesktop;
};
