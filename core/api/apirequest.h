#pragma once

#include <QList>
#include <QPair>
#include <QString>

// One request to the service API, described before it is sent: the action, the HTTP method and the
// parameters in the order the service expects them. Values are kept as plain (decoded) text; every value
// is percent-encoded when the URL is written, so no value can change the query's structure.
struct ApiRequest {
    enum class Method { Get, Post };

    QString action;
    Method method = Method::Post;
    QList<QPair<QString, QString>> parameters;
    // Written to the log with the URL before the request is sent ("post", "endpoint:"); empty: nothing.
    QString logLabel;

    // Appends one parameter (kept in call order).
    ApiRequest &add(const QString &key, const QString &value);

    // The query part as sent: "/API/?action=<action>&key=value..." with every value percent-encoded.
    [[nodiscard]] QString pathAndQuery() const;
    // The full request URL text for a service base such as "https://host" (no trailing slash).
    [[nodiscard]] QString urlText(const QString &base) const;
    [[nodiscard]] QString methodName() const;
    // The decoded value of a parameter, or a null text when the request has no such key.
    [[nodiscard]] QString value(const QString &key) const;
};

namespace ApiRedaction {

// The parameter keys whose values never appear in a log line.
[[nodiscard]] const QList<QString> &secretKeys();

// Replaces the value of every secret parameter ("pwd=...", "token=...") found in a text (a URL, or an
// error text that quotes one) with "***".
[[nodiscard]] QString redact(const QString &text);

} // namespace ApiRedaction
