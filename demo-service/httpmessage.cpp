#include "httpmessage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>

namespace demo {

HttpReply HttpReply::json(const QJsonValue &value)
{
    HttpReply reply;
    if (value.isArray())
        reply.body = QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact);
    else
        reply.body = QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact);
    return reply;
}

HttpReply HttpReply::error(const QString &message)
{
    return json(QJsonObject{{QStringLiteral("error_message"), message}});
}

HttpReply HttpReply::success(const QString &message)
{
    return json(QJsonObject{{QStringLiteral("success"), message}});
}

HttpReply HttpReply::html(const QString &text, int status)
{
    HttpReply reply;
    reply.status = status;
    reply.contentType = "text/html; charset=utf-8";
    reply.body = text.toUtf8();
    return reply;
}

HttpReply HttpReply::text(const QByteArray &text, int status)
{
    HttpReply reply;
    reply.status = status;
    reply.contentType = "text/plain; charset=utf-8";
    reply.body = text;
    return reply;
}

HttpReply HttpReply::binary(const QByteArray &data, const QByteArray &type)
{
    HttpReply reply;
    reply.contentType = type;
    reply.body = data;
    return reply;
}

HttpReply HttpReply::notFound()
{
    return html(QStringLiteral("<!DOCTYPE html><html><head><title>Not found</title></head>"
                               "<body><h1>404 Not found</h1></body></html>"),
                404);
}

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 204:
        return "No Content";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 500:
        return "Internal Server Error";
    case 502:
        return "Bad Gateway";
    case 503:
        return "Service Unavailable";
    default:
        return "Status";
    }
}

void writeReply(QTcpSocket *socket, const HttpReply &reply)
{
    if (!socket || socket->state() != QAbstractSocket::ConnectedState)
        return;
    QByteArray out =
        "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reasonPhrase(reply.status) + "\r\n";
    if (!reply.contentType.isEmpty() && !reply.body.isEmpty())
        out += "Content-Type: " + reply.contentType + "\r\n";
    out += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
    out += "Cache-Control: no-store\r\n";
    for (const auto &header : reply.headers)
        out += header.first + ": " + header.second + "\r\n";
    out += "\r\n";
    out += reply.body;
    socket->write(out);
}

QueryParams::QueryParams(const QByteArray &rawQuery)
{
    const QList<QByteArray> pieces = rawQuery.split('&');
    for (const QByteArray &piece : pieces) {
        if (piece.isEmpty())
            continue;
        const qsizetype eq = piece.indexOf('=');
        const QByteArray rawKey = eq < 0 ? piece : piece.left(eq);
        const QByteArray rawValue = eq < 0 ? QByteArray() : piece.mid(eq + 1);
        m_items.append({decodeComponent(rawKey), decodeComponent(rawValue)});
    }
}

QString QueryParams::decodeComponent(const QByteArray &raw)
{
    QByteArray spaced = raw;
    spaced.replace('+', ' ');
    return QString::fromUtf8(QByteArray::fromPercentEncoding(spaced));
}

bool QueryParams::contains(const QString &key) const
{
    for (const auto &item : m_items) {
        if (item.first == key)
            return true;
    }
    return false;
}

QString QueryParams::value(const QString &key, const QString &fallback) const
{
    // The last occurrence wins, as in the common web stacks.
    for (auto it = m_items.crbegin(); it != m_items.crend(); ++it) {
        if (it->first == key)
            return it->second;
    }
    return fallback;
}

QStringList QueryParams::keys() const
{
    QStringList result;
    for (const auto &item : m_items)
        result.append(item.first);
    return result;
}

} // namespace demo
