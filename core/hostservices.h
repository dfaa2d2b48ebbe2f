#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include <functional>

// Told, with a short reason for the user, when the Remote Desktop client gave up soon after it started
// (credentials refused, computer unreachable). Called at most once, on the thread that started the client.
using RemoteDesktopFailure = std::function<void(const QString &reason)>;

// One button of a system notification: the key it reports and the label the user reads.
struct NotificationAction {
    QString key;
    QString label;
};
// The key reported for a click on the notification itself rather than on one of its buttons.
inline const char *const kNotificationClicked = "default";
// Told what the user chose on a system notification: one of its action keys, or kNotificationClicked. Called
// on the UI thread, at most once per notification (the window has already been raised for a click).
using NotificationResponse = std::function<void(const QString &actionKey)>;

// What the core needs of the host process: the operating-system effects of the bridge. The bridge
// (Context) implements it in the program; tests use a recording fake.
class HostServices {
public:
    virtual ~HostServices() = default;

    virtual void openUrl(const QUrl &url) const = 0;
    // Writes the connection text to a file and starts the Remote Desktop client; > 31 means started.
    virtual unsigned int openRdp(const QString &rdpFileContents) const = 0;
    // The same, and onEarlyFailure hears of a client that failed at once. A host that cannot watch the
    // client (the Windows client gives no such signal) only starts it.
    virtual unsigned int openRdpWatched(const QString &rdpFileContents,
                                        const RemoteDesktopFailure &onEarlyFailure) const
    {
        Q_UNUSED(onEarlyFailure)
        return openRdp(rdpFileContents);
    }
    // Protects a password for the current user (hex text; "" on failure).
    [[nodiscard]] virtual QString encrypt(const QString &data) const = 0;
    virtual void systemNotification(const QString &message) const = 0;
    // The same with buttons where the desktop offers them (elsewhere only a click is reported).
    virtual void systemNotification(const QString &message, const QList<NotificationAction> &actions,
                                    const NotificationResponse &onResponse) const
    {
        Q_UNUSED(actions)
        Q_UNUSED(onResponse)
        systemNotification(message);
    }
    virtual void clearAccessCacheAndCookies() const = 0;
    virtual void raiseWindow() const = 0;
};
