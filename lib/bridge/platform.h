#pragma once

#include "hostservices.h"

#include <QString>
#include <memory>

class QWindow;

// What the bridge needs of the operating system. One implementation per platform (linuxplatform.*,
// windowsplatform.*); tests put a fake in its place.
class Platform {
public:
    virtual ~Platform() = default;

    // Protects a password for the current user; returns lowercase hexadecimal text, or "" on failure.
    [[nodiscard]] virtual QString protect(const QString &secret) = 0;
    // The reverse of protect(); "" when the text cannot be unprotected (wrong key, damaged, not hex).
    [[nodiscard]] virtual QString unprotect(const QString &protectedHex) = 0;

    // Starts the Remote Desktop client on connection text; > 31 means started (Windows WinExec codes).
    // onEarlyFailure (may be empty) hears of a client that failed soon after it started, where the
    // platform can tell.
    virtual unsigned int startRemoteDesktop(const QString &rdpFileContents,
                                            const RemoteDesktopFailure &onEarlyFailure = {}) = 0;

    [[nodiscard]] virtual bool isAutoStartEnabled() = 0;
    virtual void setAutoStartEnabled(bool enabled) = 0;

    // Brings the window to the front from a background process (after the bridge has shown it).
    virtual void activateWindow(QWindow *window) = 0;
};

// The implementation for the platform this program was built for.
[[nodiscard]] std::unique_ptr<Platform> createPlatform();
