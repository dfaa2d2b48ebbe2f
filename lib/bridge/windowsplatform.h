#pragma once

#include "platform.h"

// The Windows backend: a thin Qt layer over the Win32 code in win/ (DPAPI, MSTSC, the Run key and the
// foreground activation).
class WindowsPlatform : public Platform {
public:
    [[nodiscard]] QString protect(const QString &secret) override;
    [[nodiscard]] QString unprotect(const QString &protectedHex) override;
    unsigned int startRemoteDesktop(const QString &rdpFileContents) override;
    [[nodiscard]] bool isAutoStartEnabled() override;
    void setAutoStartEnabled(bool enabled) override;
    void activateWindow(QWindow *window) override;
};
