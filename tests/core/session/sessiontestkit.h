#pragma once

#include "api/apiclient.h"
#include "demoserver.h"
#include "demostate.h"
#include "hostservices.h"
#include "recordingshell.h"
#include "records/user.h"
#include "session/maincontext.h"

#include <QJsonArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// The bridge's side, recorded. Protection is a reversible marker, never the clear text.
class FakeHost : public HostServices {
public:
    void openUrl(const QUrl &url) const override { urls.append(url); }
    unsigned int openRdp(const QString &contents) const override
    {
        rdpFiles.append(contents);
        return 42;
    }
    unsigned int openRdpWatched(const QString &contents,
                                const RemoteDesktopFailure &onEarlyFailure) const override
    {
        rdpFailureHandlers.append(onEarlyFailure);
        return openRdp(contents);
    }
    [[nodiscard]] QString encrypt(const QString &data) const override
    {
        return failEncrypt ? QString() : QStringLiteral("enc:") + QString::fromLatin1(data.toUtf8().toHex());
    }
    void systemNotification(const QString &message) const override { systemNotes.append(message); }
    void systemNotification(const QString &message, const QList<NotificationAction> &actions,
                            const NotificationResponse &onResponse) const override
    {
        systemNotes.append(message);
        QStringList keys;
        for (const NotificationAction &a : actions)
            keys.append(a.key);
        actionKeys.append(keys);
        responses.append(onResponse);
    }
    void clearAccessCacheAndCookies() const override { ++cacheClears; }
    void raiseWindow() const override { ++raises; }

    bool failEncrypt = false;
    mutable QList<QUrl> urls;
    mutable QStringList rdpFiles;
    mutable QList<RemoteDesktopFailure> rdpFailureHandlers;
    mutable QStringList systemNotes;
    mutable int cacheClears = 0;
    mutable int raises = 0;
    // The notifications sent with actions: their keys and the session's answer to each.
    mutable QList<QStringList> actionKeys;
    mutable QList<NotificationResponse> responses;
};

// The demo service in-process with its test controls, a real ApiClient on it, a recording shell and
// host, an isolated settings file and the demo user: everything a session needs.
class SessionTestKit {
public:
    static constexpr const char *kDemoEmail = "demo@vantorix.example";
    static constexpr const char *kClosedEmail = "closed@vantorix.example";
    // A polling interval long enough never to tick during a test (10 to the power 5.7 ms, about 8 min).
    static constexpr double kQuietRefreshRate = 5.7;

    explicit SessionTestKit(int extraMachines = 0);
    ~SessionTestKit();

    [[nodiscard]] demo::DemoServer &server() { return *m_server; }
    [[nodiscard]] ApiClient &api() { return *m_api; }
    [[nodiscard]] QSettings &settings() { return *m_settings; }
    [[nodiscard]] User &user() { return *m_user; }

    // A session for the user; the polling timer is kept quiet unless `quiet` is false.
    std::unique_ptr<MainContext> newSession(bool quiet = true);
    void useEmail(const QString &email) { m_user->setEmail(email); }

    // The paths ("/API/?action=...") the service received since the last clear, optionally only those
    // of one action.
    [[nodiscard]] QStringList requests(const QString &action = QString()) const;
    void clearRequests();
    // Plans a fault for the next `count` requests of an action (-1: until cleared).
    void fault(const QString &action, const QString &kind, int count = -1, int status = 500, int delayMs = 0,
               const QString &message = QString());
    void clearFaults();

    // Waits until the client has no request in flight.
    [[nodiscard]] bool settle(int timeoutMs = 10000);

    RecordingShell shell;
    FakeHost host;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<demo::DemoServer> m_server;
    QNetworkAccessManager m_network;
    std::unique_ptr<ApiClient> m_api;
    std::unique_ptr<QSettings> m_settings;
    std::unique_ptr<User> m_user;
};
