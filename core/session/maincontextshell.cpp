// The window's services as the session offers them: in-app notifications under the master switch, the
// events with their in-app and system switches, confirmations and deferred calls that are dropped once
// the session has gone.
#include "session/maincontext.h"

#include "hostservices.h"
#include "logging.h"
#include "session/jscallback.h"

namespace {

Shell::Level levelFrom(int level)
{
    switch (level) {
    case int(Shell::Level::Warning):
        return Shell::Level::Warning;
    case int(Shell::Level::Error):
        return Shell::Level::Error;
    default:
        return Shell::Level::Info;
    }
}

} // namespace

void MainContext::raiseEvent(SessionEvent event, const QString &text,
                             const QList<NotificationAction> &actions, const NotificationResponse &onResponse)
{
    if (text.trimmed().isEmpty()) {
        // A success value that was not text ({"success": true}): there is nothing to tell the user.
        qCInfo(lcCore) << "An event without text is not announced:" << int(event);
        return;
    }
    if (appSwitch(event)) {
        const Shell::Level level = event == SessionEvent::LowCredits || event == SessionEvent::CreditGuard
                                       ? Shell::Level::Warning
                                   : event == SessionEvent::CreditsDepleted ? Shell::Level::Error
                                                                            : Shell::Level::Info;
        notify(text, level);
    }
    if (!systemSwitch(event) || !m_host)
        return;
    if (onResponse)
        m_host->systemNotification(text, actions, onResponse);
    else
        m_host->systemNotification(text);
}

void MainContext::notification(const QString &message, int level, const QVariant &parentItem, int alignment,
                               int lifespan)
{
    Q_UNUSED(parentItem)
    Q_UNUSED(alignment)
    if (disableAllNotifications() || !m_shell)
        return;
    m_shell->notify(message, levelFrom(level), lifespan);
}

void MainContext::notify(const QString &message, Shell::Level level)
{
    notification(message, int(level));
}

void MainContext::confirm(const QString &title, const QString &message, const QString &okText,
                          const QString &cancelText, const QJSValue &callback, const QJSValue &cancelCallback)
{
    confirm(title, message, okText, cancelText, JsCallback::from(callback), JsCallback::from(cancelCallback));
}

void MainContext::confirm(const QString &title, const QString &message, const QString &okText,
                          const QString &cancelText, std::function<void()> accepted,
                          std::function<void()> cancelled)
{
    if (!m_shell)
        return;
    // The popup may be answered after the session has gone; the callbacks then do nothing.
    auto guard = [self = QPointer<MainContext>(this)](std::function<void()> fn) -> std::function<void()> {
        if (!fn)
            return {};
        return [self, fn] {
            if (self)
                fn();
        };
    };
    m_shell->confirm(title, message, okText, cancelText, guard(std::move(accepted)),
                     guard(std::move(cancelled)));
}

void MainContext::setTimeout(const QJSValue &callback, int delayMilliseconds)
{
    setTimeout(JsCallback::from(callback), delayMilliseconds);
}

void MainContext::setTimeout(std::function<void()> callback, int delayMilliseconds)
{
    if (!callback)
        return;
    auto guarded = [self = QPointer<MainContext>(this), callback = std::move(callback)] {
        if (self)
            callback();
    };
    if (m_shell)
        m_shell->setTimeout(std::move(guarded), delayMilliseconds);
    else
        QTimer::singleShot(delayMilliseconds, this, std::move(guarded));
}
