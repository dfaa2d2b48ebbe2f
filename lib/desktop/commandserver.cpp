#include "commandserver.h"

#include "commandmessage.h"
#include "logging.h"
#include "upgraderequest.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QWebSocket>
#include <QWebSocketCorsAuthenticator>
#include <QWebSocketServer>

namespace {

// A client gets this long to send its upgrade request; the WebSocket server applies its own limit after.
constexpr int kUpgradeTimeoutMs = 10000;
// Connections still sending their upgrade request; more are dropped (only local processes can connect).
constexpr int kMaxPendingUpgrades = 16;

} // namespace

LocalCommandServer::LocalCommandServer(const QString &allowedOrigin, QObject *parent)
    : QObject(parent), m_allowedOrigin(allowedOrigin), m_tcpServer(new QTcpServer(this)),
      m_webSocketServer(
          new QWebSocketServer(QStringLiteral("vantorix"), QWebSocketServer::NonSecureMode, this))
{
    connect(m_tcpServer, &QTcpServer::newConnection, this, &LocalCommandServer::onTcpConnection);
    connect(m_tcpServer, &QTcpServer::acceptError, this, [this](QAbstractSocket::SocketError) {
        qCWarning(lcCommand) << "Websocket Server error" << m_tcpServer->errorString();
    });
    connect(m_webSocketServer, &QWebSocketServer::originAuthenticationRequired, this,
            &LocalCommandServer::onOriginCheck);
    connect(m_webSocketServer, &QWebSocketServer::newConnection, this,
            &LocalCommandServer::onWebSocketConnection);
    connect(m_webSocketServer, &QWebSocketServer::serverError, this, &LocalCommandServer::onServerError);
}

LocalCommandServer::~LocalCommandServer() = default;

bool LocalCommandServer::tryListen(quint16 port)
{
    if (!m_tcpServer->listen(QHostAddress::LocalHost, port))
        return false;
    qCDebug(lcCommand) << "Local command server listening on port" << m_tcpServer->serverPort();
    Q_EMIT listening();
    return true;
}

bool LocalCommandServer::listen(quint16 port)
{
    if (tryListen(port))
        return true;
    qCWarning(lcCommand) << "Websocket Server error" << m_tcpServer->errorString();
    return false;
}

void LocalCommandServer::listenPatiently(quint16 port, int patienceMs, int retryMs)
{
    if (m_tcpServer->isListening() || tryListen(port))
        return;
    if (m_tcpServer->serverError() != QAbstractSocket::AddressInUseError || patienceMs <= 0) {
        qCWarning(lcCommand) << "Websocket Server error" << m_tcpServer->errorString();
        Q_EMIT listenFailed();
        return;
    }
    qCInfo(lcCommand) << "Local command port" << port << "is busy; trying again for up to" << patienceMs
                      << "ms";
    retryListen(port, patienceMs, qMax(1, retryMs));
}

void LocalCommandServer::retryListen(quint16 port, int leftMs, int retryMs)
{
    QTimer::singleShot(qMin(retryMs, leftMs), this, [this, port, leftMs, retryMs] {
        if (m_tcpServer->isListening())
            return;
        const int left = leftMs - retryMs;
        if (left <= 0) {
            if (!listen(port)) // the last try logs its failure
                Q_EMIT listenFailed();
            return;
        }
        if (!tryListen(port))
            retryListen(port, left, retryMs);
    });
}

bool LocalCommandServer::isListening() const
{
    return m_tcpServer->isListening();
}

quint16 LocalCommandServer::port() const
{
    return m_tcpServer->serverPort();
}

void LocalCommandServer::onTcpConnection()
{
    while (QTcpSocket *socket = m_tcpServer->nextPendingConnection()) {
        if (m_pendingUpgrades >= kMaxPendingUpgrades) {
            qCWarning(lcCommand) << "Local command server busy; dropping a connection";
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++m_pendingUpgrades;
        socket->setProperty("vantorixPendingUpgrade", true);
        auto *timeout = new QTimer(socket);
        timeout->setSingleShot(true);
        connect(timeout, &QTimer::timeout, socket,
                [this, socket] { refuse(socket, "no upgrade request in time"); });
        timeout->start(kUpgradeTimeoutMs);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { inspectUpgradeRequest(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            if (socket->property("vantorixPendingUpgrade").toBool()) {
                socket->setProperty("vantorixPendingUpgrade", false);
                --m_pendingUpgrades;
                socket->deleteLater();
            }
        });
        if (socket->bytesAvailable() > 0)
            inspectUpgradeRequest(socket);
    }
}

void LocalCommandServer::inspectUpgradeRequest(QTcpSocket *socket)
{
    if (!socket->property("vantorixPendingUpgrade").toBool())
        return;
    // peek() leaves the request in the socket for the WebSocket server to read.
    const QByteArray head = socket->peek(UpgradeRequest::kMaxHeadBytes + 4);
    switch (UpgradeRequest::inspect(head)) {
    case UpgradeRequest::Verdict::Incomplete:
        return;
    case UpgradeRequest::Verdict::TooLarge:
        refuse(socket, "request head too large");
        return;
    case UpgradeRequest::Verdict::BadHost:
        refuse(socket, "Host header is not a loopback name");
        return;
    case UpgradeRequest::Verdict::BadOrigin:
        refuse(socket, "more than one Origin header");
        return;
    case UpgradeRequest::Verdict::Accept:
        break;
    }
    socket->setProperty("vantorixPendingUpgrade", false);
    --m_pendingUpgrades;
    socket->disconnect(this);
    qDeleteAll(socket->findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly));
    m_webSocketServer->handleConnection(socket);
}

void LocalCommandServer::refuse(QTcpSocket *socket, const char *reason)
{
    if (!socket->property("vantorixPendingUpgrade").toBool())
        return;
    socket->setProperty("vantorixPendingUpgrade", false);
    --m_pendingUpgrades;
    socket->disconnect(this);
    qCWarning(lcCommand) << "Refused a local command connection:" << reason;
    socket->write("HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    socket->disconnectFromHost();
    if (socket->state() == QAbstractSocket::UnconnectedState)
        socket->deleteLater();
    else
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
}

void LocalCommandServer::onOriginCheck(QWebSocketCorsAuthenticator *authenticator) const
{
    const bool allowed = UpgradeRequest::isOriginAllowed(authenticator->origin(), m_allowedOrigin);
    if (!allowed)
        qCWarning(lcCommand) << "Refused a local command connection from origin" << authenticator->origin();
    authenticator->setAllowed(allowed);
}

void LocalCommandServer::onWebSocketConnection()
{
    while (QWebSocket *client = m_webSocketServer->nextPendingConnection()) {
        client->setParent(this);
        client->setMaxAllowedIncomingFrameSize(kMaxMessageBytes);
        client->setMaxAllowedIncomingMessageSize(kMaxMessageBytes);
        connect(client, &QWebSocket::textMessageReceived, this, [this, client](const QString &message) {
            // Also guarded here: the size limits above only apply to data read after they were set.
            if (message.size() > kMaxMessageBytes || message.toUtf8().size() > kMaxMessageBytes) {
                qCWarning(lcCommand) << "Local command too large; closing the connection";
                client->close(QWebSocketProtocol::CloseCodeTooMuchData);
                return;
            }
            handleTextMessage(message);
        });
        // Binary messages carry no commands and are ignored.
        connect(client, &QWebSocket::disconnected, client, &QObject::deleteLater);
    }
}

void LocalCommandServer::onServerError()
{
    qCWarning(lcCommand) << "Websocket Server error" << m_webSocketServer->errorString();
}

void LocalCommandServer::handleTextMessage(const QString &message)
{
    Q_EMIT raiseRequested();

    const CommandMessage::Parsed parsed = CommandMessage::parse(message);
    if (!parsed.error.isEmpty()) {
        qCWarning(lcCommand) << "Local command ignored:" << parsed.error;
        return;
    }
    if (parsed.triggerLogin)
        Q_EMIT triggerLogin();
    if (parsed.passwordResetToken)
        Q_EMIT setPasswordResetToken(*parsed.passwordResetToken);
    if (parsed.paymentStatus)
        Q_EMIT paymentStatus(*parsed.paymentStatus);
}
