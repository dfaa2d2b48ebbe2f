#pragma once

#include <QString>
#include <QUrl>

#include <functional>

// Told, with a short reason for the user, when the Remote Desktop client gave up soon after it started
// (credentials refused, computer unreachable). Called at most once, on the thread that started the client.
using RemoteDesktopFailure = std::function<void(const QString &reason)>;

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
    virtual void clearAccessCacheAndCookies() const = 0;
    virtual void raiseWindow() const = 0;
};
