// The process entry point: identity, log format, appearance environment, single instance and hand-off,
// then the main view with the bridge published as "context".

#include "api/apiclient.h"
#include "appearance.h"
#include "buildidentity.h"
#include "commandserver.h"
#include "context.h"
#include "handoff.h"
#include "idleincubator.h"
#include "instanceguard.h"
#include "logging.h"
#include "plaineffects.h"
#include "platform.h"
#include "quickview.h"
#include "rendererprobe.h"
#include "serviceconfig.h"
#include "session/sessionfactory.h"
#include "stallwatch.h"
#include "systemnotifier.h"
#include "terminationsignals.h"
#include "trayicon.h"
#include "traysession.h"
#include "ui/secretprotector.h"
#include "ui/uiservices.h"
#include "ui/uishell.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QImageReader>
#include <QNetworkAccessManager>
#include <QPixmap>
#include <QQmlContext>
#include <QQmlEngine>
#include <QScreen>
#include <QSettings>
#include <QSharedMemory>
#include <QSslSocket>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>

#include <memory>

Q_IMPORT_QML_PLUGIN(Vantorix_CorePlugin)
Q_IMPORT_QML_PLUGIN(VantorixPlugin)

namespace {

// Shows the window maximised at the available size when the screen is not larger than it.
void fitToScreen(QWindow &window)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize available = screen->availableSize();
    const QRect frame = window.frameGeometry();
    if (available.width() <= frame.width() && available.height() <= frame.height()) {
        window.resize(available);
        window.setVisibility(QWindow::Maximized);
    }
}

// The remembered sign-in password is protected by the bridge and unprotected through its platform.
class BridgeSecretProtector : public SecretProtector {
public:
    explicit BridgeSecretProtector(const Context *context) : m_context(context) {}

    [[nodiscard]] QString protect(const QString &secret) const override { return m_context->encrypt(secret); }
    [[nodiscard]] QString unprotect(const QString &protectedText) const override
    {
        Platform *platform = m_context->platform();
        return platform ? platform->unprotect(protectedText) : QString();
    }

private:
    const Context *m_context;
};

// Which TLS back-end Qt found. Asking loads the OpenSSL libraries (a few milliseconds) that the sign-in
// view's first frame does not need, so the host asks once the window has shown that frame.
void logTlsBackend()
{
    qCDebug(lcHost) << "TLS supported:" << QSslSocket::supportsSsl()
                    << "built against:" << QSslSocket::sslLibraryBuildVersionString()
                    << "loaded:" << QSslSocket::sslLibraryVersionString();
}

} // namespace

int main(int argc, char *argv[])
{
    // This program started by itself to ask the OpenGL driver for its renderer.
    if (argc == 2 && qstrcmp(argv[1], RendererProbe::kProbeArgument) == 0)
        return RendererProbe::runChild(argc, argv);

    qSetMessagePattern(QStringLiteral("%{file}:%{line} - %{message}"));

    QCoreApplication::setOrganizationName(QStringLiteral("vantorix"));
    QCoreApplication::setOrganizationDomain(ServiceConfig::serviceUrl().host());
    QCoreApplication::setApplicationName(QStringLiteral("vantorix"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VANTORIX_VERSION));
    // The desktop entry's name: the window and the desktop's application menu, tray and start-up
    // notification are matched through it.
    QGuiApplication::setDesktopFileName(QStringLiteral(VANTORIX_APP_ID));

    auto settings = std::make_unique<QSettings>();
    const Appearance::Stored stored = Appearance::readStored(*settings);
    const QProcessEnvironment startupEnvironment = QProcessEnvironment::systemEnvironment();
    Appearance::apply(Appearance::compute(stored, startupEnvironment));

    // The command line is read before the application exists too, so that --version and --help answer on a
    // terminal without a display; Qt's own options (-platform ...) fail that first reading, and the reading
    // once the application has taken them out decides. Both come before the single-instance guard, so that
    // the options answer while an instance runs.
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("The desktop client of the vantorix cloud-desktop service."));
    const QCommandLineOption helpOption = parser.addHelpOption();
    const QCommandLineOption versionOption = parser.addVersionOption();
    const QCommandLineOption startMinimizedOption(
        QStringLiteral("start-minimized"),
        QStringLiteral("Start with the window hidden; the tray icon shows it."));
    parser.addOption(startMinimizedOption);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (parser.parse(arguments) && (parser.isSet(helpOption) || parser.isSet(versionOption))) {
        const QCoreApplication commandLineOnly(argc, argv); // names the program in the usage line
        parser.process(commandLineOnly);                    // prints and exits
    }

    auto app = std::make_unique<QApplication>(argc, argv);
    // Read once, as PNG: a QIcon made from the file name decodes the picture again for every icon made from
    // it (the tray's too, which reuses this one).
    QApplication::setWindowIcon(
        QPixmap::fromImage(QImageReader(QStringLiteral(":/assets/icons/Vantorix-ICON.png"), "png").read()));
    // Closing the window hides it; the tray and the command server keep the process alive.
    QApplication::setQuitOnLastWindowClosed(false);

    parser.process(*app);
    const bool startMinimized = parser.isSet(startMinimizedOption);

    auto guard = std::make_unique<QSharedMemory>();
    if (!InstanceGuard::acquire(*guard)) {
        HandOff::notifyRunningInstance();
        return 0;
    }

    TerminationSignals::quitApplicationOnSignal();
    RendererProbe::choose(*settings, startupEnvironment);
    StallWatch::startIfAsked(startupEnvironment, app.get());

    int result = 0;
    {
        auto tray = std::make_unique<TrayIcon>();
        auto notifier = createSystemNotifier(tray->systemTrayIcon());

        // The window's shell and the service client outlive the view whose documents use them.
        UiShell shell(nullptr);
        UiShell::setInstance(&shell);
        UiServices::setShell(&shell);
        std::unique_ptr<ApiClient> apiClient;
        std::unique_ptr<BridgeSecretProtector> protector;

        auto view = std::make_unique<QuickView>();
        auto *context =
            new Context(view.get(), startupEnvironment, guard.get(), createPlatform(), notifier.get());
        context->setParentItem(view->contentItem());
        view->rootContext()->setContextProperty(QStringLiteral("context"), context);

        // On the view engine's network access manager, so that the bridge's cache and cookie clearing
        // applies to the service requests too.
        apiClient = std::make_unique<ApiClient>(view->engine()->networkAccessManager(), &shell);
        UiServices::setApiClient(apiClient.get());
        protector = std::make_unique<BridgeSecretProtector>(context);
        UiServices::setSecretProtector(protector.get());
        SessionFactory::setServices(apiClient.get(), &shell, context, settings.get());
        TraySession traySession(tray.get());
        SessionFactory::setSessionObserver(
            [&traySession](MainContext *session) { traySession.follow(session); });

        LocalCommandServer commandServer(ServiceConfig::origin(ServiceConfig::serviceUrl()));
        QObject::connect(&commandServer, &LocalCommandServer::raiseRequested, context, &Context::raiseWindow);
        commandServer.listenPatiently();
        view->rootContext()->setContextProperty(QStringLiteral("commandServer"), &commandServer);

        QObject::connect(tray.get(), &TrayIcon::openRequested, context, &Context::raiseWindow);
        QObject::connect(tray.get(), &TrayIcon::quitRequested, context, &Context::quit);

        QObject::connect(view.get(), &QWindow::visibleChanged, view.get(),
                         [](bool visible) { qCDebug(lcHost) << "Main window visible:" << visible; });
        view->setMinimumSize(QSize(400, 720));
        view->setResizeMode(QQuickView::SizeRootObjectToView);
        view->engine()->addImportPath(QStringLiteral("qrc:/"));
        PlainEffects::install(view->engine());
        auto incubator = IdleIncubator::install(view->engine());
        QObject::connect(view.get(), &QQuickView::statusChanged, view.get(),
                         [&view, startMinimized](QQuickView::Status status) {
                             if (status == QQuickView::Ready && !startMinimized)
                                 view->showNormal();
                         });
        // Qt's TLS back-end loader expects the application object, which exists by now.
        if (startMinimized) {
            QTimer::singleShot(0, app.get(), logTlsBackend);
        } else {
            QObject::connect(
                view.get(), &QQuickWindow::frameSwapped, app.get(),
                [] { QTimer::singleShot(0, logTlsBackend); }, Qt::SingleShotConnection);
        }
        view->setSource(QUrl(QStringLiteral("qrc:/Vantorix/main.qml")));
        fitToScreen(*view);

        result = QApplication::exec();

        // A signed-in frame still being built is completed before the view goes (see main.qml).
        if (QObject *root = view->rootObject())
            QMetaObject::invokeMethod(root, "completePendingWork");
        // The view (and with it the bridge) goes first; the notifier and tray after it. The incubation
        // controller goes just before the view, while the engine it is installed on still stands.
        UiServices::setSecretProtector(nullptr);
        incubator.reset();
        view.reset();
        SessionFactory::setServices(nullptr, nullptr, nullptr, nullptr);
        SessionFactory::setSessionObserver({});
        UiServices::setApiClient(nullptr);
        apiClient.reset();
        UiServices::setShell(nullptr);
        UiShell::setInstance(nullptr);
    }
    guard.reset();
    app.reset();
    settings.reset();
    return result;
}
