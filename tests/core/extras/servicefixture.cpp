#include "servicefixture.h"

#include "../../service/servicetestkit.h"
#include "api/apiclient.h"
#include "records/user.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTest>

ServiceFixture::ServiceFixture() : m_kit(std::make_unique<ServiceTestKit>())
{
    m_api = std::make_unique<ApiClient>(&m_network, &shell);
    m_api->setBaseUrl(m_kit->base());
    // The demo account as a real sign-in describes it.
    const auto login = m_kit->api("POST", "login_user&usr=demo&pwd=Demo-Pass1%21");
    m_user.reset(User::fromLoginData(login.object().value(QStringLiteral("data")).toObject(), QString()));
    if (!m_user)
        qFatal("the demo sign-in failed");
}

ServiceFixture::~ServiceFixture()
{
    m_api->abortAll();
}

QStringList ServiceFixture::requests()
{
    const auto reply = m_kit->send("GET", "/__test__/requests");
    QStringList lines;
    for (const QJsonValue &v : reply.array()) {
        const QJsonObject o = v.toObject();
        lines.append(o.value(QStringLiteral("method")).toString() + QLatin1Char(' ') +
                     o.value(QStringLiteral("path")).toString());
    }
    return lines;
}

QStringList ServiceFixture::requests(const QString &action)
{
    QStringList lines;
    const QString marker = QStringLiteral("action=") + action;
    for (const QString &line : requests()) {
        const qsizetype at = line.indexOf(marker);
        if (at >= 0 && (line.size() == at + marker.size() || line.at(at + marker.size()) == QLatin1Char('&')))
            lines.append(line);
    }
    return lines;
}

void ServiceFixture::clearRequests()
{
    m_kit->control("requests/clear");
}

void ServiceFixture::fault(const QByteArray &query)
{
    m_kit->control("fault?" + query);
}

bool ServiceFixture::waitIdle(int timeoutMs) const
{
    return QTest::qWaitFor([this] { return m_api->pendingCount() == 0; }, timeoutMs);
}
