#pragma once

#include "recordingshell.h"

#include <QNetworkAccessManager>
#include <QStringList>
#include <memory>

class ApiClient;
class ServiceTestKit;
class User;

// The demo service in-process on a free port, a service client pointed at it, a recording shell and
// the demo account's user.
class ServiceFixture {
public:
    ServiceFixture();
    ~ServiceFixture();

    [[nodiscard]] ApiClient *api() const { return m_api.get(); }
    [[nodiscard]] User *user() const { return m_user.get(); }
    [[nodiscard]] ServiceTestKit &kit() const { return *m_kit; }
    RecordingShell shell;

    // The service's request log: "METHOD /API/?action=...", raw as received.
    [[nodiscard]] QStringList requests();
    // Only the requests of one action.
    [[nodiscard]] QStringList requests(const QString &action);
    void clearRequests();
    // Plans a fault (see the demo service's test controls).
    void fault(const QByteArray &query);
    // Waits until the client has no request pending.
    [[nodiscard]] bool waitIdle(int timeoutMs = 10000) const;

    static constexpr const char *kEmail = "demo@vantorix.example";

private:
    std::unique_ptr<ServiceTestKit> m_kit;
    QNetworkAccessManager m_network;
    std::unique_ptr<ApiClient> m_api;
    std::unique_ptr<User> m_user;
};
