#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QSystemTrayIcon;

// System (desktop) notifications: text-only, one line, clicking one raises the main window.
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

Q_SIGNALS:
    // The outcome of one show(): its id once the notification is up, or -1 when it could not be shown.
    void shown(qint64 id);
    // The user clicked a notification (or its default action). Always emitted on the UI thread.
    void activated();
};

// The backend for this platform: org.freedesktop.Notifications over the session D-Bus on Linux,
// the tray icon's message on Windows (tray may be null there: the notifier is then unavailable).
[[nodiscard]] std::unique_ptr<SystemNotifier> createSystemNotifier(QSystemTrayIcon *tray,
                                                                   QObject *parent = nullptr);
