#pragma once

#include <QObject>
#include <QString>

class QTcpServer;
class QTcpSocket;
class QWebSocketServer;
class QWebSocket;
class QWebSocketCorsAuthenticator;

// The local command server: a WebSocket server on the loopback interface (port 57979) through which the
// service's own web pages and a second start of the program send JSON commands.
//
// Who may talk to it: a handshake without an Origin header (native clients such as our second start) or
// with exactly the allowed origin (the service's web origin); every other origin, "null" included, is
// refused with 403. A Host header that is not a loopback name is refused too. Text messages above
// kMaxMessageBytes close the connection; binary frames are ignored.
//
// For each accepted text message: raiseRequested() first, then the JSON is read and, in this order,
// triggerLogin() (only for the boolean true), setPasswordResetToken(text), paymentStatus(text).
class LocalCommandServer : public QObject {
    Q_OBJECT
public:
    static constexpr quint16 kDefaultPort = 57979;
    static constexpr qint64 kMaxMessageBytes = 64 * 1024;

    explicit LocalCommandServer(const QString &allowedOrigin, QObject *parent = nullptr);
    ~LocalCommandServer() override;

    static constexpr int kListenPatienceMs = 10000;
    static constexpr int kListenRetryMs = 250;

    // Listens on 127.0.0.1 (port 0 picks a free one, for tests). False and a log line on failure.
    bool listen(quint16 port = kDefaultPort);
    // Listens, and while the port is taken tries again every `retryMs` for up to `patienceMs`: after
    // "Apply and restart" the previous instance may not have let go of the port yet. listening() or
    // listenFailed() tells the outcome; the failure is logged once.
    void listenPatiently(quint16 port = kDefaultPort, int patienceMs = kListenPatienceMs,
                         int retryMs = kListenRetryMs);
    [[nodiscard]] bool isListening() const;
    [[nodiscard]] quint16 port() const;

    // The handling of one text message, exposed so tests and fuzzers can drive it without a socket.
    void handleTextMessage(const QString &message);

Q_SIGNALS:
    void listening();
    // listenPatiently() gave up: the program runs without its command channel.
    void listenFailed();
    void raiseRequested();
    void triggerLogin();
    void setPasswordResetToken(const QString &token);
    void paymentStatus(const QString &status);

private:
    // Connections are accepted by our own TCP server, so that the upgrade request's Host header can be
    // checked before the WebSocket server sees it; accepted ones are then handed to the WebSocket server.
    // One attempt; on success logs and emits listening(), on failure says nothing.
    bool tryListen(quint16 port);
    void retryListen(quint16 port, int leftMs, int retryMs);
    void onTcpConnection();
    void inspectUpgradeRequest(QTcpSocket *socket);
    void refuse(QTcpSocket *socket, const char *reason);
    void onOriginCheck(QWebSocketCorsAuthenticator *authenticator) const;
    void onWebSocketConnection();
    void onServerError();

    QString m_allowedOrigin;
    QTcpServer *m_tcpServer;
    QWebSocketServer *m_webSocketServer;
    int m_pendingUpgrades = 0;
};
