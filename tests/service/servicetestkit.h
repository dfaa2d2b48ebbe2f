#pragma once

#include "demoserver.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <memory>

// Runs the demo service in-process on a free port and talks to it over real HTTP, like a client.
class ServiceTestKit {
public:
    struct Reply {
        int status = 0;
        QByteArray body;
        bool finished = false;
        [[nodiscard]] QJsonObject object() const { return QJsonDocument::fromJson(body).object(); }
        [[nodiscard]] QJsonArray array() const { return QJsonDocument::fromJson(body).array(); }
        [[nodiscard]] QJsonValue value(const QString &key) const { return object().value(key); }
        [[nodiscard]] bool has(const QString &key) const { return object().contains(key); }
        [[nodiscard]] bool isJson() const;
    };

    explicit ServiceTestKit(bool testControls = true);

    [[nodiscard]] QString base() const { return m_server->baseUrl(); }
    [[nodiscard]] quint16 commandPort() const { return m_commandPort; }

    // Sends one request; `pathAndQuery` is put on the wire exactly as written.
    Reply send(const QByteArray &method, const QByteArray &pathAndQuery);
    Reply api(const QByteArray &method, const QByteArray &query)
    {
        return send(method, "/API/?action=" + query);
    }
    Reply control(const QByteArray &pathAndQuery) { return send("POST", "/__test__/" + pathAndQuery); }
    // A session request for the demo account.
    Reply demo(const QByteArray &method, const QByteArray &action, const QByteArray &extra = QByteArray());
    // The e-mails the service has sent, oldest first.
    [[nodiscard]] QJsonArray outbox() { return send("GET", "/__test__/outbox").array(); }
    [[nodiscard]] QJsonObject machineRecord(int vmId);
    [[nodiscard]] int machineIdByName(const QString &name);
    [[nodiscard]] double credits();

    static constexpr const char *kDemoEmail = "demo@vantorix.example";

private:
    std::unique_ptr<demo::DemoServer> m_server;
    QNetworkAccessManager m_network;
    quint16 m_commandPort = 0;
};
