#pragma once

#include "hostservices.h"

#include <QList>
#include <QObject>
#include <QString>
#include <memory>

class QSystemTrayIcon;

// System (desktop) notifications: one line of text, clicking one raises the main window; where the desktop
// offers them, buttons whose choice is reported back (actionInvoked).
// If the mechanism cannot be set up, the backend logs one warning at creation and stays unavailable
// for the whole run: show() then does nothing and returns -1.
class SystemNotifier : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~SystemNotifier() override = default;

    [[nodiscard]] virtual bool isAvailable() const = 0;

    // Shows one notification and returns its id, or -1 when it could not be shown. Where showing is
    // asynchronous, the id is returned at once and `shown` tells the outcome later.
    virtual qint64 show(const QString &message) = 0;
    // The same with buttons; shown without them where they are not supported.
    virtual qint64 show(const QString &message, const QList<NotificationAction> &actions)
    {
        Q_UNUSED(actions)
        return show(message);
    }

Q_SIGNALS:
    // The outcome of one show(): its id once the notification is up, or -1 when it could not be shown.
    void shown(qint64 id);
    // The user clicked a notification (or its default action). Always emitted on the UI thread.
    void activated();
    // The user chose an action of the notification `id` (the id show() returned), or clicked it
    // ("default", after activated()). Always emitted on the UI thread.
    void actionInvoked(qint64 id, const QString &actionKey);
    // The notification `id` is gone; no action of it will be reported.
    void closed(qint64 id);
};

// The backend for this platform: org.freedesktop.Notifications over the session D-Bus on Linux,
// the tray icon's message on Windows (tray may be null there: the notifier is then unavailable).
[[nodiscard]] std::unique_ptr<SystemNotifier> createSystemNotifier(QSystemTrayIcon *tray,
                                                                   QObject *parent = nullptr);
