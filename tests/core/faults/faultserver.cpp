#include "faultserver.h"

#include <QTcpSocket>
#include <QUrlQuery>

#include <sys/socket.h>

void FaultServer::setFault(const QString &action, Fault fault)
{
    m_action = action;
    m_fault = fault;
}

void FaultServer::handle(QTcpSocket *socket, const Recorded &request)
{
    const QByteArray target = request.requestLine.split(' ').value(1);
    const int question = target.indexOf('?');
    const QUrlQuery query(question < 0 ? QString() : QString::fromLatin1(target.mid(question + 1)));
    const QString action = query.queryItemValue(QStringLiteral("action"), QUrl::FullyDecoded);
    m_actions.append(action);
    const Fault fault = action == m_action ? m_fault : Fault::None;
    switch (fault) {
    case Fault::None:
        write(socket, 200, "OK", healthyBody(action));
        break;
    case Fault::Silence:
        break; // the socket stays open and silent
    case Fault::Unauthorized:
        write(socket, 401, "Unauthorized", "<html><body>Unauthorized</body></html>");
        break;
    case Fault::ServerError:
        write(socket, 500, "Internal Server Error", "<html><body>Internal Server Error</body></html>");
        break;
    case Fault::EmptyBody:
        write(socket, 200, "OK", QByteArray());
        break;
    case Fault::NotJson:
        write(socket, 200, "OK", "<html><head><title>502</title></head><body>Bad gateway</body></html>");
        break;
    case Fault::ErrorMessage:
        write(socket, 200, "OK", QByteArray("{\"error_message\":\"") + kErrorText + "\"}");
        break;
    case Fault::Body:
        write(socket, 200, "OK", m_body);
        break;
    case Fault::MissingKey:
        write(socket, 200, "OK", "{\"unrelated\":\"value\",\"count\":3}");
        break;
    case Fault::HugeBody: {
        QByteArray body = "{\"success\":\"";
        body += QByteArray(10 * 1024 * 1024, 'x');
        body += "\"}";
        write(socket, 200, "OK", body);
        break;
    }
    case Fault::ResetMidBody: {
        write(socket, 200, "OK", "{\"success\":\"the first half of a repl", 4000);
        socket->flush();
        // SO_LINGER with a zero time turns the close into a reset.
        const linger reset{1, 0};
        ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
        socket->abort();
        socket->deleteLater();
        return;
    }
    }
}

QByteArray FaultServer::healthyBody(const QString &action)
{
    if (action == QLatin1String("list_user_vm_instances") || action == QLatin1String("list_user_payments") ||
        action == QLatin1String("list_available_vm_templates") ||
        action == QLatin1String("get_vatsense_rates"))
        return "[]";
    if (action == QLatin1String("get_user_data"))
        return R"({"user_data":{"user_credit":"25.5"}})";
    if (action == QLatin1String("get_vantorix_banners"))
        return R"({"banners":[]})";
    if (action == QLatin1String("login_user"))
        return R"({"login":"failed"})";
    return R"({"success":"Done."})";
}

void FaultServer::write(QTcpSocket *socket, int status, const QByteArray &reason, const QByteArray &body,
                        qsizetype announced)
{
    QByteArray reply = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason + "\r\n";
    reply += "Content-Type: " + QByteArray(body.startsWith('<') ? "text/html" : "application/json") + "\r\n";
    reply += "Content-Length: " + QByteArray::number(announced < 0 ? body.size() : announced) + "\r\n";
    reply += "\r\n";
    reply += body;
    socket->write(reply);
}
