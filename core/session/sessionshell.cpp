#include "session/sessionshell.h"

#include "logging.h"

SessionShell::SessionShell(Shell *window, std::function<bool()> silenced)
    : m_window(window), m_silenced(std::move(silenced))
{
}

void SessionShell::notify(const QString &message, Level level, int lifespanMs)
{
    if (!m_window || (m_silenced && m_silenced())) {
        qCDebug(lcCore).noquote() << "notification not shown (notifications are off):" << message.left(200);
        return;
    }
    m_window->notify(message, level, lifespanMs);
}

void SessionShell::confirm(const QString &title, const QString &message, const QString &okText,
                           const QString &cancelText, std::function<void()> accepted,
                           std::function<void()> cancelled)
{
    if (m_window)
        m_window->confirm(title, message, okText, cancelText, std::move(accepted), std::move(cancelled));
}

void SessionShell::setTimeout(std::function<void()> fn, int delayMs)
{
    if (m_window)
        m_window->setTimeout(std::move(fn), delayMs);
}
