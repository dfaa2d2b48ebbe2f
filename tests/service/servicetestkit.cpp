#include "servicetestkit.h"

#include <QEventLoop>
#include <QTcpServer>
#include <QTimer>

namespace {
quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}
} // namespace

bool ServiceTestKit::Reply::isJson() const
{
    QJsonParseError error;
    QJsonDocument::fromJson(body, &error);
    return error.error == QJsonParseError::NoError;
}

ServiceTestKit::ServiceTestKit(bool testControls)
{
    demo::DemoConfig config;
    config.testControls = testControls;
    config.seed = 7;
    config.printEmails = false;
    m_commandPort = freePort();
    config.commandPort = m_commandPort;
    m_server = std::make_unique<demo::DemoServer>(config);
    if (!m_server->start())
        qFatal("demo service did not start");
}

ServiceTestKit::Reply ServiceTestKit::send(const QByteArray &method, const QByteArray &pathAndQuery)
{
    QNetworkRequest request(QUrl::fromEncoded(base().toLatin1() + pathAndQuery, QUrl::StrictMode));
    QNetworkReply *reply =
        m_network.sendCustomRequest(request, method, method == "POST" ? QByteArray("") : QByteArray());
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    Reply result;
    result.finished = reply->isFinished();
    if (!result.finished) {
        reply->abort();
    } else {
        result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        result.body = reply->readAll();
    }
    reply->deleteLater();
    return result;
}

ServiceTestKit::Reply ServiceTestKit::demo(const QByteArray &method, const QByteArray &action,
                                           const QByteArray &extra)
{
    return send(method, "/API/?action=" + action + "&email=" + kDemoEmail + extra);
}

QJsonObject ServiceTestKit::machineRecord(int vmId)
{
    return demo("POST", "list_user_vm_instances").value(QString::number(vmId)).toObject();
}

int ServiceTestKit::machineIdByName(const QString &name)
{
    const QJsonObject list = demo("POST", "list_user_vm_instances").object();
    for (const QJsonValue &value : list) {
        if (value.toObject().value(QStringLiteral("vm_user_instance_name")).toString() == name)
            return value.toObject().value(QStringLiteral("vm_id")).toInt();
    }
    return -1;
}

double ServiceTestKit::credits()
{
    return demo("GET", "get_user_data")
        .value(QStringLiteral("user_data"))
        .toObject()
        .value(QStringLiteral("user_credit"))
        .toString()
        .toDouble();
}
