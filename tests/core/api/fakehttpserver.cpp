#include "fakehttpserver.h"

FakeHttpServer::FakeHttpServer(QObject *parent) : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &FakeHttpServer::onNewConnection);
}

bool FakeHttpServer::listen()
{
    return m_server.listen(QHostAddress::LocalHost, 0);
}

void FakeHttpServer::close()
{
    m_server.close();
}

QString FakeHttpServer::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort());
}

void FakeHttpServer::answer(int status, const QByteArray &reason, const QByteArray &body)
{
    m_script = Script{Behaviour::Answer, status, reason, body};
}

void FakeHttpServer::releaseHeld()
{
    m_script.behaviour = Behaviour::Answer;
    const auto held = m_held;
    m_held.clear();
    for (const auto &socket : held) {
        if (socket)
            respond(socket);
    }
}

QByteArray FakeHttpServer::lastRequestLine() const
{
    return m_requests.isEmpty() ? QByteArray() : m_requests.constLast().requestLine;
}

std::optional<QByteArray> FakeHttpServer::lastHeader(const QByteArray &name) const
{
    const QByteArray prefix = name.toLower() + ':';
    for (const QByteArray &header :
         m_requests.isEmpty() ? QList<QByteArray>() : m_requests.constLast().headers) {
        if (header.toLower().startsWith(prefix))
            return header.mid(prefix.size()).trimmed();
    }
    return std::nullopt;
}

void FakeHttpServer::onNewConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QObject::destroyed, this, [this, socket] { m_buffers.remove(socket); });
    }
}

void FakeHttpServer::onReadyRead(QTcpSocket *socket)
{
    QByteArray &buffer = m_buffers[socket];
    buffer += socket->readAll();
    const int headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return;
    Recorded recorded;
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    recorded.requestLine = lines.value(0).trimmed();
    qsizetype contentLength = 0;
    for (int i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        recorded.headers.append(line);
        if (line.toLower().startsWith("content-length:"))
            contentLength = line.mid(15).trimmed().toLongLong();
    }
    if (buffer.size() < headerEnd + 4 + contentLength)
        return; // the body is still coming
    recorded.body = buffer.mid(headerEnd + 4, contentLength);
    buffer.remove(0, headerEnd + 4 + contentLength);
    m_requests.append(recorded);
    handle(socket, recorded);
}

void FakeHttpServer::handle(QTcpSocket *socket, const Recorded &)
{
    switch (m_script.behaviour) {
    case Behaviour::Silent:
        break;
    case Behaviour::Hold:
        m_held.append(socket);
        break;
    case Behaviour::Answer:
    case Behaviour::DropMidBody:
        respond(socket);
        break;
    }
}

void FakeHttpServer::respond(QTcpSocket *socket)
{
    const bool drop = m_script.behaviour == Behaviour::DropMidBody;
    const qsizetype announced = m_script.body.size() + (drop ? 1000 : 0);
    QByteArray reply = "HTTP/1.1 " + QByteArray::number(m_script.status) + ' ' + m_script.reason + "\r\n";
    reply += "Content-Type: application/json\r\n";
    reply += "Content-Length: " + QByteArray::number(announced) + "\r\n";
    reply += "Connection: close\r\n\r\n";
    reply += m_script.body;
    socket->write(reply);
    socket->flush();
    socket->disconnectFromHost();
}
