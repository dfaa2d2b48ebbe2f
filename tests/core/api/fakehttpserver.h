#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <optional>

// A scripted HTTP/1.1 server for tests: records each request's raw request line and headers and
// answers every request with the current script (one connection per request, closed after the answer).
// A subclass may answer on its own by overriding handle().
class FakeHttpServer : public QObject {
    Q_OBJECT

public:
    enum class Behaviour {
        Answer,      // status line, headers and the whole body
        Hold,        // keep the request unanswered until releaseHeld()
        Silent,      // never answer
        DropMidBody, // announce a longer body, send part of it, close the connection
    };
    struct Script {
        Behaviour behaviour = Behaviour::Answer;
        int status = 200;
        QByteArray reason = "OK";
        QByteArray body;
    };
    struct Recorded {
        QByteArray requestLine;
        QList<QByteArray> headers; // "Name: value" lines as received
        QByteArray body;
    };

    explicit FakeHttpServer(QObject *parent = nullptr);

    bool listen();
    void close();
    [[nodiscard]] QString baseUrl() const;
    void setScript(const Script &script) { m_script = script; }
    void answer(int status, const QByteArray &reason, const QByteArray &body);
    // Answers every held request with the current script's Answer.
    void releaseHeld();

    [[nodiscard]] const QList<Recorded> &requests() const { return m_requests; }
    [[nodiscard]] QByteArray lastRequestLine() const;
    // The value of a header of the last request (nullopt: not sent).
    [[nodiscard]] std::optional<QByteArray> lastHeader(const QByteArray &name) const;

protected:
    // Answers one request that has been read completely.
    virtual void handle(QTcpSocket *socket, const Recorded &request);

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket *socket);
    void respond(QTcpSocket *socket);

    QTcpServer m_server;
    Script m_script;
    QList<Recorded> m_requests;
    QHash<QTcpSocket *, QByteArray> m_buffers;
    QList<QPointer<QTcpSocket>> m_held;
};
