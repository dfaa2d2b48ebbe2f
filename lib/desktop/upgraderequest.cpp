#include "upgraderequest.h"

#include <QList>

namespace UpgradeRequest {

namespace {

bool isValidPort(const QByteArray &digits)
{
    if (digits.isEmpty() || digits.size() > 5)
        return false;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return false;
    }
    return digits.toInt() <= 65535;
}

} // namespace

bool isLoopbackHost(const QByteArray &hostHeaderValue)
{
    const QByteArray value = hostHeaderValue.trimmed().toLower();
    QByteArray host;
    QByteArray rest;
    if (value.startsWith('[')) {
        const int close = value.indexOf(']');
        if (close < 0)
            return false;
        host = value.left(close + 1);
        rest = value.mid(close + 1);
    } else {
        const int colon = value.indexOf(':');
        host = colon < 0 ? value : value.left(colon);
        rest = colon < 0 ? QByteArray() : value.mid(colon);
    }
    if (host != "localhost" && host != "127.0.0.1" && host != "[::1]")
        return false;
    if (rest.isEmpty())
        return true;
    return rest.startsWith(':') && isValidPort(rest.mid(1));
}

bool isOriginAllowed(const QString &origin, const QString &allowedOrigin)
{
    if (origin.isEmpty())
        return true;
    if (allowedOrigin.isEmpty() || origin == QLatin1String("null"))
        return false;
    return origin == allowedOrigin;
}

Verdict inspect(const QByteArray &buffered)
{
    const int end = buffered.indexOf("\r\n\r\n");
    if (end < 0)
        return buffered.size() > kMaxHeadBytes ? Verdict::TooLarge : Verdict::Incomplete;
    if (end > kMaxHeadBytes)
        return Verdict::TooLarge;

    const QList<QByteArray> lines = buffered.left(end).split('\n');
    int hostCount = 0;
    int originCount = 0;
    bool hostOk = false;
    // The first line is the request line; header lines follow.
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).endsWith('\r') ? lines.at(i).chopped(1) : lines.at(i);
        const int colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        const QByteArray name = line.left(colon).trimmed().toLower();
        if (name == "host") {
            ++hostCount;
            hostOk = isLoopbackHost(line.mid(colon + 1));
        } else if (name == "origin" || name == "sec-websocket-origin") {
            ++originCount;
        }
    }
    if (hostCount != 1 || !hostOk)
        return Verdict::BadHost;
    return originCount <= 1 ? Verdict::Accept : Verdict::BadOrigin;
}

} // namespace UpgradeRequest
