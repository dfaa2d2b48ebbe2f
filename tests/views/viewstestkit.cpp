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

void FakeContext::openUrl(const QUrl &url)
{
    openedUrls.append(url.toString());
    Q_EMIT changed();
}

void FakeContext::systemNotification(const QString &message)
{
    systemNotifications.append(message);
    Q_EMIT changed();
}

void FakeContext::raiseWindow()
{
    ++raised;
    Q_EMIT changed();
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

void FakeContext::setIsAutoStartupEnabled(bool enabled)
{
    autoStartup = enabled;
    Q_EMIT changed();
}

void FakeContext::setScalingFactor(float factor)
{
    storedScalingFactor = double(factor);
    scalingFactorsStored.append(double(factor));
    Q_EMIT changed();
}

void FakeContext::setMaterialTheme(const QString &theme)
{
    storedTheme = theme;
    Q_EMIT changed();
}

void FakeContext::setRendering(const QString &mode)
{
    storedRendering = mode;
    Q_EMIT changed();
}

void FakeContext::restartApplication()
{
    ++restarts;
    Q_EMIT changed();
}

unsigned int FakeHost::openRdp(const QString &rdpFileContents) const
{
    ++m_rdpLaunches;
    m_lastRdpFile = rdpFileContents;
    Q_EMIT changed();
    return 42;
}

QString FakeHost::encrypt(const QString &data) const
{
    return encryptionFails ? QString() : m_protector->protect(data);
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
    encryptionFails = false;
    Q_EMIT changed();
}

ViewsTestKit::ViewsTestKit(QObject *parent) : QObject(parent) {}

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

bool ViewsTestKit::activate(const QString &email)
{
    static const QRegularExpression link(QStringLiteral("/activate/([^ ]+) "));
    const auto &outbox = m_server->state().outbox();
    for (auto it = outbox.crbegin(); it != outbox.crend(); ++it) {
        if (it->to.compare(email, Qt::CaseInsensitive) != 0)
            continue;
        const QRegularExpressionMatch match = link.match(it->body);
        if (match.hasMatch())
            return m_server->state().activate(match.captured(1)) != nullptr;
    }
    return false;
}

QString ViewsTestKit::resetCode(const QString &email) const
{
    static const QRegularExpression code(QStringLiteral("reset code is ([^ .]+)"));
    const auto &outbox = m_server->state().outbox();
    for (auto it = outbox.crbegin(); it != outbox.crend(); ++it) {
        if (it->to.compare(email, Qt::CaseInsensitive) != 0)
            continue;
        const QRegularExpressionMatch match = code.match(it->body);
        if (match.hasMatch())
            return match.captured(1);
    }
    return {};
}

int ViewsTestKit::requestCount(const QString &action) const
{
    int count = 0;
    const QString marker = QStringLiteral("action=") + action;
    for (const QJsonValue &entry : m_server->testControls()->requests()) {
        const QString path = entry.toObject().value(QLatin1String("path")).toString();
        if (path.contains(marker + QLatin1Char('&')) || path.endsWith(marker))
            ++count;
    }
    return count;
}

QString ViewsTestKit::lastRequest(const QString &action) const
{
    const QString marker = QStringLiteral("action=") + action;
    const QJsonArray requests = m_server->testControls()->requests();
    for (qsizetype i = requests.size() - 1; i >= 0; --i) {
        const QString path = requests.at(i).toObject().value(QLatin1String("path")).toString();
        if (path.contains(marker + QLatin1Char('&')) || path.endsWith(marker))
            return path;
    }
    return {};
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

QString ViewsTestKit::unprotect(const QString &protectedText) const
{
    return m_protector.unprotect(protectedText);
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
