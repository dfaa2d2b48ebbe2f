#pragma once

#include "systemnotifier.h"

#include <QDBusConnection>
#include <QHash>
#include <QQueue>
#include <optional>

// Desktop notifications through org.freedesktop.Notifications on a D-Bus connection (the session bus in
// the program, a private test bus in the tests).
//
// The set-up check runs once, at construction, with a short timeout; if the bus or the notification
// service is missing, one warning is logged and the notifier makes no D-Bus call for the rest of the run.
// Notify calls are asynchronous: show() returns a local id at once and learns the server's id from the
// reply, which is what ActionInvoked later refers to.
class DBusNotifier : public SystemNotifier {
    Q_OBJECT
public:
    static constexpr int kSetupTimeoutMs = 2000;
    static constexpr int kNotifyTimeoutMs = 5000;
    // Server ids remembered for activation; older ones are forgotten first.
    static constexpr int kMaxTrackedNotifications = 256;

    // Set-up error codes written to the warning line:
    //   1  the bus did not answer whether the service has an owner (NameHasOwner failed or timed out)
    //   2  the bus did not answer which services it can activate (ListActivatableNames failed)
    //   3  the service is neither running nor activatable
    enum SetupError { NoError = 0, OwnerQueryFailed = 1, ActivatableQueryFailed = 2, ServiceMissing = 3 };

    explicit DBusNotifier(const QDBusConnection &bus, QObject *parent = nullptr);
    ~DBusNotifier() override;

    [[nodiscard]] bool isAvailable() const override { return m_available; }
    qint64 show(const QString &message) override;
    qint64 show(const QString &message, const QList<NotificationAction> &actions) override;

    // The body as sent: the characters that notification servers may read as markup are escaped.
    [[nodiscard]] static QString escapeBody(const QString &message);

private Q_SLOTS:
    // QtDBus signal connections need old-style slots.
    void onActionInvoked(uint serverId, const QString &actionKey);
    void onNotificationClosed(uint serverId, uint reason);

private:
    [[nodiscard]] SetupError probeService() const;
    // The outcome of the Notify call made for `localId`: the server's id, or none when it failed.
    void notifyAnswered(qint64 localId, std::optional<uint> serverId);
    void track(uint serverId, qint64 localId);

    QDBusConnection m_bus;
    bool m_available = false;
    qint64 m_nextLocalId = 1;
    QHash<uint, qint64> m_localIdByServerId;
    QQueue<uint> m_trackOrder;

    friend class NotifyCall;
};
