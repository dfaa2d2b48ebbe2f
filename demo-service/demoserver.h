#pragma once

#include "democonfig.h"
#include "httpmessage.h"

#include <QAbstractHttpServer>
#include <QList>
#include <QPointer>
#include <memory>

class QTcpSocket;

namespace demo {

class DemoState;
class TestControls;
struct Fault;

// The demo service's HTTP front: reads each request, records it, applies the fault plan and hands it to
// the API, the pages or the test controls. Answers are written to the connection directly, which lets a
// fault delay an answer, withhold it or drop the connection.
class DemoServer : public QAbstractHttpServer {
    Q_OBJECT

public:
    explicit DemoServer(const DemoConfig &config, QObject *parent = nullptr);
    ~DemoServer() override;

    // Listens on 127.0.0.1 at the configured port (0: a free one). False when that fails.
    [[nodiscard]] bool start();
    [[nodiscard]] quint16 port() const { return m_port; }
    [[nodiscard]] QString baseUrl() const;
    [[nodiscard]] DemoState &state() { return *m_state; }
    [[nodiscard]] TestControls *testControls() { return m_controls.get(); }

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &request, QTcpSocket *socket) override;

private:
    [[nodiscard]] HttpReply route(const QString &method, const QString &path, const QByteArray &rawQuery);
    void applyFault(const Fault &fault, QTcpSocket *socket, const QString &method, const QString &path,
                    const QByteArray &rawQuery);
    void releaseHeld();

    DemoConfig m_config;
    std::unique_ptr<DemoState> m_state;
    std::unique_ptr<TestControls> m_controls;
    QList<QPointer<QTcpSocket>> m_held;
    quint16 m_port = 0;
};

} // namespace demo
