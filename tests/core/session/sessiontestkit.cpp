#include "sessiontestkit.h"

#include "testcontrols.h"

#include <QDeadlineTimer>
#include <QJsonObject>
#include <QTest>

SessionTestKit::SessionTestKit(int extraMachines)
{
    shell.realTime = false; // deferred calls wait until the test runs them
    demo::DemoConfig config;
    config.extraMachines = extraMachines;
    config.testControls = true;
    config.printEmails = false;
    m_server = std::make_unique<demo::DemoServer>(config);
    if (!m_server->start())
        qFatal("demo service did not start");
    m_api = std::make_unique<ApiClient>(&m_network, &shell);
    m_api->setBaseUrl(m_server->baseUrl());
    m_settings =
        std::make_unique<QSettings>(m_dir.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    m_user = std::make_unique<User>();
    m_user->setEmail(QString::fromLatin1(kDemoEmail));
    m_user->setHasOwnedCredits(1);
    m_user->setCredits(5.4);
    // The credit guard would speak up in most tests (a few credits, computers running); its own tests
    // turn it on.
    m_settings->setValue(QStringLiteral("creditGuardHours"), 0);
}

SessionTestKit::~SessionTestKit() = default;

std::unique_ptr<MainContext> SessionTestKit::newSession(bool quiet)
{
    if (quiet)
        m_settings->setValue(QStringLiteral("refreshRate"), kQuietRefreshRate);
    return std::make_unique<MainContext>(m_api.get(), &shell, &host, m_user.get(), m_settings.get());
}

QStringList SessionTestKit::requests(const QString &action) const
{
    QStringList paths;
    for (const QJsonValue &value : m_server->testControls()->requests()) {
        const QString path = value.toObject().value(QStringLiteral("path")).toString();
        if (action.isEmpty() ||
            path.startsWith(QStringLiteral("/API/?action=") + action + QLatin1Char('&')) ||
            path == QStringLiteral("/API/?action=") + action)
            paths.append(path);
    }
    return paths;
}

void SessionTestKit::clearRequests()
{
    (void)m_server->testControls()->handle(QStringLiteral("POST"), QStringLiteral("/__test__/requests/clear"),
                                     QByteArray());
}

void SessionTestKit::fault(const QString &action, const QString &kind, int count, int status, int delayMs,
                           const QString &message)
{
    demo::Fault f;
    f.kind = kind;
    f.remaining = count;
    f.status = status;
    f.delayMs = delayMs;
    f.message = message;
    m_server->testControls()->faults().set(action, f);
}

void SessionTestKit::clearFaults()
{
    m_server->testControls()->faults().clear();
}

bool SessionTestKit::settle(int timeoutMs)
{
    // A queued call may send a request once events are processed: wait until that leaves none either.
    QDeadlineTimer deadline(timeoutMs);
    do {
        while (m_api->pendingCount() > 0 && !deadline.hasExpired())
            QTest::qWait(5);
        QCoreApplication::processEvents();
    } while (m_api->pendingCount() > 0 && !deadline.hasExpired());
    return m_api->pendingCount() == 0;
}
