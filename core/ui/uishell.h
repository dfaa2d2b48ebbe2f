#pragma once

#include "shell.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <functional>

class QQmlEngine;
class QJSEngine;

// The window's side of Shell: the core asks here, the root document shows. Notifications and
// confirmation requests leave as signals that the root view turns into its own notification and its
// shared confirmation popup; the popup's answer comes back through answerConfirmation().
//
// The popup is shared with the views, so only the latest confirmation request can be answered: a newer
// request (from the core or from a view) replaces an earlier one, which then never gets a callback.
class UiShell : public QObject, public Shell {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    // No default constructor on purpose: QML must take the registered instance through create().
    explicit UiShell(QObject *parent);

    // The process-wide instance that main.cpp (or a test runner) registered; QML gets the same object.
    static void setInstance(UiShell *shell);
    [[nodiscard]] static UiShell *instance();
    static UiShell *create(QQmlEngine *engine, QJSEngine *scriptEngine);

    void notify(const QString &message, Level level, int lifespanMs = 10000) override;
    void confirm(const QString &title, const QString &message, const QString &okText, const QString &cancelText,
                 std::function<void()> accepted, std::function<void()> cancelled) override;
    void setTimeout(std::function<void()> fn, int delayMs) override;

    // The popup's answer to the request with this ticket; stale tickets are ignored.
    Q_INVOKABLE void answerConfirmation(int ticket, bool accepted);
    // The popup was taken over by another request (a view's own confirm): the pending one is dropped.
    Q_INVOKABLE void dropPendingConfirmation();

    // An address on the service's web host (the logo, the terms pages), as text.
    Q_INVOKABLE [[nodiscard]] static QString pageUrl(const QString &path);

    [[nodiscard]] bool hasPendingConfirmation() const { return m_pendingTicket != 0; }

Q_SIGNALS:
    void notificationRequested(const QString &message, int level, int lifespan);
    void confirmationRequested(const QString &title, const QString &message, const QString &okText,
                               const QString &cancelText, int ticket);

private:
    int m_nextTicket = 1;
    int m_pendingTicket = 0;
    std::function<void()> m_accepted;
    std::function<void()> m_cancelled;
};
