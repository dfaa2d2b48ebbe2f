#pragma once

#include <QByteArray>
#include <QJsonValue>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class QTcpSocket;

namespace demo {

// One HTTP answer as the service writes it on the wire.
struct HttpReply {
    int status = 200;
    QByteArray contentType = "application/json";
    QByteArray body;
    QList<QPair<QByteArray, QByteArray>> headers;

    [[nodiscard]] static HttpReply json(const QJsonValue &value);
    // Failures are reported like the real service does: HTTP 200 with a plain-English message.
    [[nodiscard]] static HttpReply error(const QString &message);
    [[nodiscard]] static HttpReply success(const QString &message);
    [[nodiscard]] static HttpReply html(const QString &text, int status = 200);
    [[nodiscard]] static HttpReply text(const QByteArray &text, int status = 200);
    [[nodiscard]] static HttpReply binary(const QByteArray &data, const QByteArray &type);
    [[nodiscard]] static HttpReply notFound();
};

// Serialises a reply (status line, headers, body) onto a connection.
void writeReply(QTcpSocket *socket, const HttpReply &reply);
[[nodiscard]] QByteArray reasonPhrase(int status);

// Query parameters decoded the way common web stacks decode a form query: split at '&' and the first
// '=', '+' becomes a space, then percent-decoding as UTF-8. The raw query is decoded by hand because
// QUrlQuery keeps '+' and leaves some escapes encoded.
class QueryParams {
public:
    QueryParams() = default;
    explicit QueryParams(const QByteArray &rawQuery);

    [[nodiscard]] bool contains(const QString &key) const;
    [[nodiscard]] QString value(const QString &key, const QString &fallback = QString()) const;
    [[nodiscard]] QStringList keys() const;
    [[nodiscard]] static QString decodeComponent(const QByteArray &raw);

private:
    QList<QPair<QString, QString>> m_items;
};

} // namespace demo
