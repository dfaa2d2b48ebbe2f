#pragma once

#include "fakehttpserver.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// A local HTTP/1.1 server that answers the requests of one chosen action with a chosen fault and every
// other request with a plausible healthy reply. The fault stays until it is cleared (the network layer
// re-sends a request once when a reused connection drops, so a one-shot fault could go unnoticed).
class FaultServer : public FakeHttpServer {
    Q_OBJECT

public:
    enum class Fault {
        None,         // healthy replies for every action
        Silence,      // the request is read and never answered (the client's time-out)
        Unauthorized, // 401
        ServerError,  // 500 with an HTML page
        EmptyBody,    // 200, no body
        NotJson,      // 200, an HTML page
        ErrorMessage, // 200, {"error_message": ...}
        MissingKey,   // 200, a JSON object without any key the client expects
        HugeBody,     // 200, a JSON reply of 10 MB
        ResetMidBody, // 200, a longer body announced, part of it sent, then the connection reset
        Body,         // 200, the body given with setBody (a healthy reply with one key reshaped)
    };

    static constexpr const char *kErrorText = "Fault text 42: the service says no";

    using FakeHttpServer::FakeHttpServer;

    void setFault(const QString &action, Fault fault);
    void clearFault() { m_fault = Fault::None; }
    void setBody(const QByteArray &body) { m_body = body; }

    // How many requests of an action were received so far.
    [[nodiscard]] int count(const QString &action) const { return int(m_actions.count(action)); }

protected:
    void handle(QTcpSocket *socket, const Recorded &request) override;

private:
    static QByteArray healthyBody(const QString &action);
    static void write(QTcpSocket *socket, int status, const QByteArray &reason, const QByteArray &body,
                      qsizetype announced = -1);

    QString m_action;
    Fault m_fault = Fault::None;
    QByteArray m_body;
    QStringList m_actions;
};
