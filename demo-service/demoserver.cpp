#include "demoserver.h"

#include "api.h"
#include "demostate.h"
#include "pages.h"
#include "testcontrols.h"

#include <QHttpServerRequest>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QTcpSocket>
#include <QTimer>

Q_LOGGING_CATEGORY(lcDemo, "vantorix.demo", QtInfoMsg)

namespace demo {

namespace {

QString methodName(QHttpServerRequest::Method method)
{
    switch (method) {
    case QHttpServerRequest::Method::Get:
        return QStringLiteral("GET");
    case QHttpServerRequest::Method::Post:
        return QStringLiteral("POST");
    case QHttpServerRequest::Method::Put:
        return QStringLiteral("PUT");
    case QHttpServerRequest::Method::Delete:
        return QStringLiteral("DELETE");
    case QHttpServerRequest::Method::Head:
        return QStringLiteral("HEAD");
    case QHttpServerRequest::Method::Options:
        return QStringLiteral("OPTIONS");
    case QHttpServerRequest::Method::Patch:
        return QStringLiteral("PATCH");
    default:
        return QStringLiteral("OTHER");
    }
}

// The query for the log line, with the values of secret parameters replaced by ***.
QString maskSecrets(const QByteArray &rawQuery)
{
    if (rawQuery.isEmpty())
        return {};
    static const QList<QByteArray> secrets = {"pwd", "newpass", "win_password", "token"};
    QList<QByteArray> pieces = rawQuery.split('&');
    for (QByteArray &piece : pieces) {
        const qsizetype eq = piece.indexOf('=');
        if (eq > 0 && secrets.contains(piece.left(eq)))
            piece = piece.left(eq) + "=***";
    }
    return QLatin1Char('?') + QString::fromLatin1(pieces.join('&'));
}

void sendLater(QTcpSocket *socket, int delayMs, std::function<HttpReply()> makeReply)
{
    QPointer<QTcpSocket> guard(socket);
    QTimer::singleShot(delayMs, socket, [guard, makeReply = std::move(makeReply)]() {
        if (guard)
            writeReply(guard, makeReply());
    });
}

} // namespace

DemoServer::DemoServer(const DemoConfig &config, QObject *parent)
    : QAbstractHttpServer(parent), m_config(config), m_state(std::make_unique<DemoState>(config))
{
    if (config.testControls)
        m_controls = std::make_unique<TestControls>(*m_state, [this] { releaseHeld(); });
}

DemoServer::~DemoServer() = default;

bool DemoServer::start()
{
    m_port = listen(QHostAddress::LocalHost, m_config.port);
    return m_port != 0;
}

QString DemoServer::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

bool DemoServer::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket)
{
    const QString method = methodName(request.method());
    const QString path = request.url().path(QUrl::FullyEncoded);
    const QByteArray rawQuery = request.url().query(QUrl::FullyEncoded).toLatin1();
    const bool controlRequest = path.startsWith(QLatin1String("/__test__/"));
    if (m_controls && !controlRequest)
        m_controls->recordRequest(
            method, rawQuery.isEmpty() ? path : path + QLatin1Char('?') + QString::fromLatin1(rawQuery));
    qCDebug(lcDemo).noquote() << method << path + maskSecrets(rawQuery);

    if (m_controls && !controlRequest && path == QLatin1String("/API/")) {
        if (const auto fault = m_controls->faults().take(actionOf(rawQuery))) {
            applyFault(*fault, socket, method, path, rawQuery);
            return true;
        }
    }
    writeReply(socket, route(method, path, rawQuery));
    return true;
}

void DemoServer::missingHandler(const QHttpServerRequest &, QTcpSocket *socket)
{
    writeReply(socket, HttpReply::notFound());
}

HttpReply DemoServer::route(const QString &method, const QString &path, const QByteArray &rawQuery)
{
    if (path.startsWith(QLatin1String("/__test__/")))
        return m_controls ? m_controls->handle(method, path, rawQuery) : HttpReply::notFound();
    if (path == QLatin1String("/API/") || path == QLatin1String("/API"))
        return handleApi(*m_state, method, rawQuery, baseUrl());
    if (auto page = pages::serve(*m_state, method, path, baseUrl()))
        return *page;
    return HttpReply::notFound();
}

void DemoServer::applyFault(const Fault &fault, QTcpSocket *socket, const QString &method,
                            const QString &path, const QByteArray &rawQuery)
{
    qCInfo(lcDemo) << "fault" << fault.kind << "for" << actionOf(rawQuery);
    if (fault.kind == QLatin1String("hold")) {
        m_held.append(socket); // never answered; released by a reset
        return;
    }
    if (fault.kind == QLatin1String("drop")) {
        QPointer<QTcpSocket> guard(socket);
        QTimer::singleShot(fault.delayMs, socket, [guard] {
            if (guard)
                guard->abort();
        });
        return;
    }
    std::function<HttpReply()> make;
    if (fault.kind == QLatin1String("delay")) {
        make = [this, method, path, rawQuery] { return route(method, path, rawQuery); };
    } else if (fault.reshapes()) {
        make = [this, method, path, rawQuery, fault] {
            return reshape(route(method, path, rawQuery), fault);
        };
    } else if (fault.kind == QLatin1String("status")) {
        const QByteArray body = fault.message.isEmpty() ? reasonPhrase(fault.status) : fault.message.toUtf8();
        make = [status = fault.status, body] { return HttpReply::text(body, status); };
    } else if (fault.kind == QLatin1String("empty")) {
        make = [] { return HttpReply::text(QByteArray()); };
    } else if (fault.kind == QLatin1String("not_json")) {
        make = [] {
            return HttpReply::html(
                QStringLiteral("<html><body><b>Fatal error</b>: database gone away</body></html>"));
        };
    } else if (fault.kind == QLatin1String("error_message")) {
        const QString message = fault.message.isEmpty()
                                    ? QStringLiteral("The service is busy. Please try again later.")
                                    : fault.message;
        make = [message] { return HttpReply::error(message); };
    } else { // missing_key
        make = [] { return HttpReply::json(QJsonObject{{QStringLiteral("result"), QStringLiteral("ok")}}); };
    }
    if (fault.delayMs > 0)
        sendLater(socket, fault.delayMs, make);
    else
        writeReply(socket, make());
}

void DemoServer::releaseHeld()
{
    for (const QPointer<QTcpSocket> &socket : std::as_const(m_held)) {
        if (socket)
            socket->abort();
    }
    m_held.clear();
}

} // namespace demo
