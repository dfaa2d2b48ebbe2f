#include "uishell.h"

#include "logging.h"
#include "serviceconfig.h"

#include <QJSEngine>
#include <QPointer>
#include <QQmlEngine>
#include <QTimer>

namespace {
QPointer<UiShell> g_instance;
}

UiShell::UiShell(QObject *parent) : QObject(parent) {}

void UiShell::setInstance(UiShell *shell)
{
    g_instance = shell;
}

UiShell *UiShell::instance()
{
    return g_instance.data();
}

UiShell *UiShell::create(QQmlEngine *engine, QJSEngine *scriptEngine)
{
    Q_UNUSED(scriptEngine)
    if (!g_instance) {
        // Nothing registered (a view loaded on its own): a private shell that nobody in C++ talks to.
        qCDebug(lcCore) << "No shell registered; the views get their own";
        auto *shell = new UiShell(engine);
        g_instance = shell;
    }
    // The engine must not delete an object that the host owns.
    QJSEngine::setObjectOwnership(g_instance.data(), QJSEngine::CppOwnership);
    return g_instance.data();
}

void UiShell::notify(const QString &message, Level level, int lifespanMs)
{
    if (message.isEmpty())
        return;
    Q_EMIT notificationRequested(message, static_cast<int>(level), lifespanMs);
}

void UiShell::confirm(const QString &title, const QString &message, const QString &okText,
                      const QString &cancelText, std::function<void()> accepted, std::function<void()> cancelled)
{
    m_pendingTicket = m_nextTicket++;
    m_accepted = std::move(accepted);
    m_cancelled = std::move(cancelled);
    Q_EMIT confirmationRequested(title, message, okText, cancelText, m_pendingTicket);
}

void UiShell::setTimeout(std::function<void()> fn, int delayMs)
{
    if (!fn)
        return;
    QTimer::singleShot(qMax(0, delayMs), this, std::move(fn));
}

void UiShell::answerConfirmation(int ticket, bool accepted)
{
    if (ticket == 0 || ticket != m_pendingTicket)
        return;
    // Taken out first: the callback may ask for the next confirmation.
    std::function<void()> callback = accepted ? std::move(m_accepted) : std::move(m_cancelled);
    dropPendingConfirmation();
    if (callback)
        callback();
}

void UiShell::dropPendingConfirmation()
{
    m_pendingTicket = 0;
    m_accepted = nullptr;
    m_cancelled = nullptr;
}

QString UiShell::pageUrl(const QString &path)
{
    return ServiceConfig::pageUrl(path.startsWith(QLatin1Char('/')) ? path : QLatin1Char('/') + path).toString();
}
