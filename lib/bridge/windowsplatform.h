#pragma once

#include "platform.h"

// The Windows backend: a thin Qt layer over the Win32 code in win/ (DPAPI, MSTSC, the Run key and the
// foreground activation).
class WindowsPlatform : public Platform {
public:
    [[nodiscard]] QString protect(const QString &secret) override;
    [[nodiscard]] QString unprotect(const QString &protectedHex) override;
    // MSTSC gives no sign of a failed connection: onEarlyFailure is never called.
    unsigned int startRemoteDesktop(const QString &rdpFileContents,
                                    const RemoteDesktopFailure &onEarlyFailure = {}) override;
    [[nodiscard]] bool isAutoStartEnabled() override;
    void setAutoStartEnabled(bool enabled) override;
    void activateWindow(QWindow *window) override;
};
