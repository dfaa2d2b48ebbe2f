// The Qt Quick Test runner of the views: the demo service in this process, the service client on the
// engine's network access manager, the window shell, the local command server and a fake bridge.

#include "api/apiclient.h"
#include "commandserver.h"
#include "plaineffects.h"
#include "session/sessionfactory.h"
#include "ui/uiservices.h"
#include "ui/uishell.h"
#include "viewstestkit.h"

#include <QCoreApplication>
#include <QDir>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSettings>
#include <QTemporaryDir>
#include <QtQml/qqmlextensionplugin.h>
#include <QtQuickTest/quicktest.h>

Q_IMPORT_QML_PLUGIN(Vantorix_CorePlugin)
Q_IMPORT_QML_PLUGIN(VantorixPlugin)

class Setup : public QObject {
    Q_OBJECT

public:
    Setup()
    {
        // A settings store of our own, never the user's.
        qputenv("XDG_CONFIG_HOME", QDir(m_configHome.path()).absolutePath().toLocal8Bit());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_configHome.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_configHome.path());
    }

public Q_SLOTS:
    void applicationAvailable()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("vantorix-views-test"));
        QCoreApplication::setApplicationName(QStringLiteral("vantorix-views-test"));
        if (!m_kit.startService())
            qFatal("The demo service did not start");
        qputenv("VANTORIX_SERVICE_URL", m_kit.serviceUrl().toUtf8());
        m_commandServer = std::make_unique<LocalCommandServer>(QString());
        UiShell::setInstance(&m_shell);
        UiServices::setShell(&m_shell);
        UiServices::setSecretProtector(m_kit.protector());
        m_settings = std::make_unique<QSettings>();
    }

    void qmlEngineAvailable(QQmlEngine *engine)
    {
        engine->addImportPath(QStringLiteral("qrc:/"));
        PlainEffects::install(engine);
        m_client = std::make_unique<ApiClient>(engine->networkAccessManager(), &m_shell);
        m_client->setBaseUrl(m_kit.serviceUrl());
        UiServices::setApiClient(m_client.get());
        // Sessions built by the signed-in frame reach the fake bridge and the test's settings store.
        SessionFactory::setServices(m_client.get(), &m_shell, m_kit.host(), m_settings.get());
        m_kit.attach(m_client.get(), &m_shell, m_commandServer.get());
        engine->rootContext()->setContextProperty(QStringLiteral("context"), m_kit.context());
        engine->rootContext()->setContextProperty(QStringLiteral("commandServer"), m_commandServer.get());
        engine->rootContext()->setContextProperty(QStringLiteral("testKit"), &m_kit);
        engine->rootContext()->setContextProperty(QStringLiteral("testHost"), m_kit.host());
        // The screens test: where to save its grabs, and the back-end the run is meant to use.
        engine->rootContext()->setContextProperty(QStringLiteral("screensDir"),
                                                  qEnvironmentVariable("VANTORIX_SCREENS_DIR"));
        engine->rootContext()->setContextProperty(QStringLiteral("expectedGraphicsApi"),
                                                  qEnvironmentVariable("VANTORIX_EXPECT_GRAPHICS"));
    }

    void cleanupTestCase()
    {
        SessionFactory::setServices(nullptr, nullptr, nullptr, nullptr);
        UiServices::setApiClient(nullptr);
        UiServices::setSecretProtector(nullptr);
    }

private:
    QTemporaryDir m_configHome;
    ViewsTestKit m_kit;
    UiShell m_shell{nullptr};
    std::unique_ptr<LocalCommandServer> m_commandServer;
    std::unique_ptr<ApiClient> m_client;
    std::unique_ptr<QSettings> m_settings;
};

QUICK_TEST_MAIN_WITH_SETUP(views, Setup)

#include "main.moc"
