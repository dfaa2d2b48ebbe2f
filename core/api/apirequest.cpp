#include "apirequest.h"

#include <QRegularExpression>
#include <QUrl>

ApiRequest &ApiRequest::add(const QString &key, const QString &value)
{
    parameters.append(qMakePair(key, value));
    return *this;
}

QString ApiRequest::pathAndQuery() const
{
    QString text = QStringLiteral("/API/?action=") + QString::fromLatin1(QUrl::toPercentEncoding(action));
    for (const auto &parameter : parameters) {
        text += QLatin1Char('&') + QString::fromLatin1(QUrl::toPercentEncoding(parameter.first)) +
                QLatin1Char('=') + QString::fromLatin1(QUrl::toPercentEncoding(parameter.second));
    }
    return text;
}

QString ApiRequest::urlText(const QString &base) const
{
    QString prefix = base;
    while (prefix.endsWith(QLatin1Char('/')))
        prefix.chop(1);
    return prefix + pathAndQuery();
}

QString ApiRequest::methodName() const
{
    return method == Method::Get ? QStringLiteral("GET") : QStringLiteral("POST");
}

QString ApiRequest::value(const QString &key) const
{
    for (const auto &parameter : parameters) {
        if (parameter.first == key)
            return parameter.second;
    }
    return {};
}

namespace ApiRedaction {

const QList<QString> &secretKeys()
{
    static const QList<QString> keys{QStringLiteral("pwd"), QStringLiteral("newpass"),
                                     QStringLiteral("win_password"), QStringLiteral("token")};
    return keys;
}

QString redact(const QString &text)
{
    // A value ends at the next '&', '#', white space or quote: values we send are percent-encoded, so
    // none of these can be part of one. Error texts of the network layer quote the URL in running text.
    static const QRegularExpression pattern(
        QStringLiteral("([?&](?:%1)=)[^&#\\s\"']*").arg(secretKeys().join(QLatin1Char('|'))));
    QString result = text;
    result.replace(pattern, QStringLiteral("\\1***"));
    return result;
}

} // namespace ApiRedaction
