#pragma once

#include "shell.h"

#include <functional>

// The shell that the session and its controllers (payments, profile, e-mail preferences, logs) reach the
// window through: notifications obey the session's master switch ("disableAllNotifications");
// confirmations and deferred calls pass to the window's shell as they are. The authentication views and
// the window's own messages use the window's shell directly and are never silenced.
class SessionShell final : public Shell {
public:
    // `window` is not owned and may be null (everything is then dropped); `silenced` is asked at each
    // notification.
    SessionShell(Shell *window, std::function<bool()> silenced);

    void notify(const QString &message, Level level, int lifespanMs = 10000) override;
    void confirm(const QString &title, const QString &message, const QString &okText,
                 const QString &cancelText, std::function<void()> accepted,
                 std::function<void()> cancelled) override;
    void setTimeout(std::function<void()> fn, int delayMs) override;

private:
    Shell *m_window;
    std::function<bool()> m_silenced;
};
