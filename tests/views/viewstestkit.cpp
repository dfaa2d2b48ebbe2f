#include "viewstestkit.h"

#include "api/apiclient.h"
#include "commandserver.h"
#include "demoserver.h"
#include "demostate.h"
#include "shell.h"
#include "testcontrols.h"
#include "ui/uishell.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSettings>
#include <QUrl>

namespace {
constexpr const char *kFakePrefix = "fake-protected:";
}

QString FakeProtector::protect(const QString &secret) const
{
    return QString::fromLatin1(kFakePrefix) + QString::fromLatin1(secret.toUtf8().toHex());
}

QString FakeProtector::unprotect(const QString &protectedText) const
{
    if (!protectedText.startsWith(QLatin1String(kFakePrefix)))
        return {};
    return QString::fromUtf8(QByteArray::fromHex(protectedText.mid(int(qstrlen(kFakePrefix))).toLatin1()));
}

void FakeContext::reset()
{
    openedUrls.clear();
    systemNotifications.clear();
    raised = 0;
    autoStartup = false;
    currentScalingFactor = storedScalingFactor = 1.0;
    currentTheme = storedTheme = QStringLiteral("Light");
    currentRendering = storedRendering = QStringLiteral("Automatic");
    scalingFactorsStored.clear();
    restarts = 0;
    Q_EMIT changed();
}

void FakeContext::setScalingFactor(float factor)
{
    scalingFactorsStored.append(double(factor));
    set(storedScalingFactor, double(factor));
}

unsigned int FakeHost::openRdp(const QString &rdpFileContents) const
{
    ++m_rdpLaunches;
    m_lastRdpFile = rdpFileContents;
    Q_EMIT changed();
    return 42;
}

void FakeHost::clearAccessCacheAndCookies() const
{
    ++m_cacheClears;
    Q_EMIT changed();
}

void FakeHost::reset()
{
    m_rdpLaunches = 0;
    m_lastRdpFile.clear();
    m_cacheClears = 0;
    Q_EMIT changed();
}

ViewsTestKit::ViewsTestKit(QObject *parent) : QObject(parent)
{
}

ViewsTestKit::~ViewsTestKit() = default;

bool ViewsTestKit::startService()
{
    demo::DemoConfig config;
    config.port = 0;
    config.testControls = true;
    config.printEmails = false;
    // No test listens there: the pages' messages to the app are not followed in these tests.
    config.commandPort = 9;
    m_server = std::make_unique<demo::DemoServer>(config);
    return m_server->start();
}

void ViewsTestKit::attach(ApiClient *client, UiShell *shell, LocalCommandServer *commandServer)
{
    m_client = client;
    m_shell = shell;
    m_commandServer = commandServer;
}

QString ViewsTestKit::serviceUrl() const
{
    return m_server ? m_server->baseUrl() : QString();
}

void ViewsTestKit::sendCommand(const QString &message)
{
    if (m_commandServer)
        m_commandServer->handleTextMessage(message);
}

QVariant ViewsTestKit::control(const QString &what, const QString &query)
{
    const demo::HttpReply reply = m_server->testControls()->handle(
        QStringLiteral("POST"), QStringLiteral("/__test__/") + what, query.toUtf8());
    return QJsonDocument::fromJson(reply.body).toVariant();
}

QString ViewsTestKit::lastMailed(const QString &email, const QString &pattern) const
{
    const QRegularExpression expression(pattern);
    const auto &outbox = m_server->state().outbox();
    for (auto it = outbox.crbegin(); it != outbox.crend(); ++it) {
        const QRegularExpressionMatch match = expression.match(it->body);
        if (it->to.compare(email, Qt::CaseInsensitive) == 0 && match.hasMatch())
            return match.captured(1);
    }
    return {};
}

bool ViewsTestKit::activate(const QString &email)
{
    const QString token = lastMailed(email, QStringLiteral("/activate/([^ ]+) "));
    return !token.isEmpty() && m_server->state().activate(token) != nullptr;
}

QStringList ViewsTestKit::requestPaths(const QString &action) const
{
    QStringList paths;
    const QString marker = QStringLiteral("action=") + action;
    for (const QJsonValue &entry : m_server->testControls()->requests()) {
        const QString path = entry.toObject().value(QLatin1String("path")).toString();
        if (path.contains(marker + QLatin1Char('&')) || path.endsWith(marker))
            paths.append(path);
    }
    return paths;
}

QString ViewsTestKit::lastRequest(const QString &action) const
{
    const QStringList paths = requestPaths(action);
    return paths.isEmpty() ? QString() : paths.last();
}

QVariant ViewsTestKit::settingsValue(const QString &key) const
{
    return QSettings().value(key);
}

void ViewsTestKit::setSettingsValue(const QString &key, const QVariant &value)
{
    QSettings store;
    store.setValue(key, value);
    store.sync();
}

void ViewsTestKit::clearSettings()
{
    QSettings store;
    store.clear();
    store.sync();
}

void ViewsTestKit::setServiceUnreachable(bool unreachable)
{
    if (m_client)
        m_client->setBaseUrl(unreachable ? QStringLiteral("http://127.0.0.1:9") : serviceUrl());
}

int ViewsTestKit::pendingRequests() const
{
    return m_client ? m_client->pendingCount() : 0;
}

void ViewsTestKit::coreNotify(const QString &message, int level, int lifespan)
{
    if (m_shell)
        m_shell->notify(message, Shell::Level(level), lifespan);
}

void ViewsTestKit::coreConfirm(const QString &title, const QString &okText, const QString &cancelText)
{
    if (!m_shell)
        return;
    m_shell->confirm(
        title, QStringLiteral("From the core"), okText, cancelText,
        [this, title] { m_coreAnswers.append(title + QStringLiteral(":ok")); },
        [this, title] { m_coreAnswers.append(title + QStringLiteral(":cancel")); });
}
