#include "serviceconfig.h"

#include "logging.h"

#include <QHostAddress>

namespace ServiceConfig {

namespace {
bool isLoopbackHost(const QString &host)
{
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}
} // namespace

bool isAcceptable(const QUrl &url, QString *reason)
{
    auto refuse = [reason](const char *why) {
        if (reason)
            *reason = QString::fromLatin1(why);
        return false;
    };
    if (!url.isValid() || url.host().isEmpty())
        return refuse("not a valid absolute URL with a host");
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("https"))
        return true;
    if (scheme == QLatin1String("http"))
        return isLoopbackHost(url.host()) ? true : refuse("plain http is allowed only for a loopback host");
    return refuse("the scheme must be https (or http for a loopback host)");
}

QUrl resolve(const QString &overrideText)
{
    const QUrl fallback(QStringLiteral(VANTORIX_DEFAULT_SERVICE_URL));
    const QString text = overrideText.trimmed();
    if (text.isEmpty())
        return fallback;
    const QUrl candidate(text, QUrl::StrictMode);
    QString reason;
    if (!isAcceptable(candidate, &reason)) {
        qCWarning(lcHost) << "Refusing service URL" << text << "-" << reason << "- using" << fallback.toString();
        return fallback;
    }
    return candidate;
}

QUrl serviceUrl()
{
    static const QUrl url = resolve(qEnvironmentVariable(kEnvironmentVariable));
    return url;
}

QString baseText()
{
    QString text = serviceUrl().toString(QUrl::RemoveQuery | QUrl::RemoveFragment);
    while (text.endsWith(QLatin1Char('/')))
        text.chop(1);
    return text;
}

QString origin(const QUrl &url)
{
    return url.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemoveUserInfo)
        .toString(QUrl::FullyEncoded);
}

QUrl pageUrl(const QString &path)
{
    return QUrl(baseText() + path);
}

} // namespace ServiceConfig
