// The bridge object: atomic saves, settings and environment getters, notifications and window raising,
// with a recording platform and notifier in place of the real ones.

#include "context.h"
#include "isolateduserdirs.h"
#include "platform.h"
#include "systemnotifier.h"

#include <QClipboard>
#include <QMetaMethod>
#include <QNetworkAccessManager>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QQmlEngine>
#include <QQuickView>
#include <QScreen>
#include <QSettings>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

class FakePlatform : public Platform {
public:
    QString protect(const QString &secret) override { return QStringLiteral("sealed:") + secret; }
    QString unprotect(const QString &) override { return {}; }
    unsigned int startRemoteDesktop(const QString &rdpFileContents,
                                    const RemoteDesktopFailure &onEarlyFailure = {}) override
    {
        rdpTexts << rdpFileContents;
        failureHandlers << onEarlyFailure;
        return 42;
    }

    bool isAutoStartEnabled() override { return autoStart; }
    void setAutoStartEnabled(bool enabled) override { autoStart = enabled; }
    void activateWindow(QWindow *window) override { activated << window; }

    QStringList rdpTexts;
    QList<RemoteDesktopFailure> failureHandlers;
    QList<QWindow *> activated;
    bool autoStart = false;
};

class FakeNotifier : public SystemNotifier {
public:
    using SystemNotifier::SystemNotifier;
    bool isAvailable() const override { return available; }
    qint64 show(const QString &message) override
    {
        messages << message;
        // Like the desktop's notifier: the id at once, the outcome afterwards.
        const qint64 id = fail ? -1 : nextId++;
        QMetaObject::invokeMethod(
            this, [this, id] { Q_EMIT shown(id); }, Qt::QueuedConnection);
        return fail ? nextId++ : id;
    }

    bool available = true;
    bool fail = false;
    QStringList messages;
    qint64 nextId = 7;
};

} // namespace

class TestContext : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_view = std::make_unique<QQuickView>();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void cleanup()
    {
        // The view owns the context.
        m_view.reset();
        m_platform = nullptr;
    }

    // The pages call these by name.
    void operationsInInterfaceOrder()
    {
        const QStringList expected =
            QStringLiteral(
                "openUrl openRdp raiseWindow clearAccessCacheAndCookies quit copyToClipboard "
                "isAutoStartupEnabled setIsAutoStartupEnabled getCurrentScalingFactor setScalingFactor "
                "getMaterialVariant setMaterialVariant getMaterialTheme setMaterialTheme getRendering "
                "setRendering restartApplication saveToFile encrypt systemNotification")
                .split(QLatin1Char(' '));
        const QMetaObject &meta = Context::staticMetaObject;
        QStringList names;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i)
            names << QString::fromLatin1(meta.method(i).name());
        QCOMPARE(names, expected);
        QCOMPARE(makeContext()->parentItem(), m_view->contentItem());
    }

    void saveToFile_data()
    {
        QTest::addColumn<QString>("relativePath");
        QTest::addColumn<QByteArray>("oldContent"); // written first when not null
        QTest::addColumn<QString>("data");
        QTest::addColumn<bool>("saved");
        // A file size limit makes the write itself fail, also for root (who ignores folder permissions).
        QTest::addColumn<bool>("sizeLimit");

        const QString text = QStringLiteral("id,date\n1,\"a, b\"\nümlaut ✓\n");
        QTest::newRow("new file") << "log.csv" << QByteArray() << text << true << false;
        QTest::newRow("replaces old file")
            << "log.csv" << QByteArrayLiteral("old content") << text << true << false;
        QTest::newRow("empty text") << "empty.txt" << QByteArrayLiteral("old") << QString() << true << false;
        QTest::newRow("missing folder") << "missing/log.csv" << QByteArray() << text << false << false;
        QTest::newRow("target is a folder") << "folder" << QByteArray() << text << false << false;
        QTest::newRow("parent is a file") << "old.txt/log.csv" << QByteArray() << text << false << false;
        QTest::newRow("failed write keeps old file")
            << "export.csv" << QByteArrayLiteral("old export") << QString(256 * 1024, QLatin1Char('x'))
            << false << true;
    }

    void saveToFile()
    {
        QFETCH(QString, relativePath);
        QFETCH(QByteArray, oldContent);
        QFETCH(QString, data);
        QFETCH(bool, saved);
        QFETCH(bool, sizeLimit);

        const QString path = m_dir->filePath(relativePath);
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder")));
        QVERIFY(writeFile(m_dir->filePath(QStringLiteral("old.txt")), "untouched"));
        if (!oldContent.isNull())
            QVERIFY(writeFile(path, oldContent));

        Context *context = makeContext();
        rlimit previous{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &previous), 0);
        rlimit small = previous;
        small.rlim_cur = sizeLimit ? 4096 : previous.rlim_cur;
        auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool result = context->saveToFile(data, path);
        setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
        QCOMPARE(result, saved);
        if (saved)
            QCOMPARE(readAll(path), data.toUtf8());
        else if (!oldContent.isNull())
            QCOMPARE(readAll(path), oldContent);
        QCOMPARE(readAll(m_dir->filePath(QStringLiteral("old.txt"))), QByteArrayLiteral("untouched"));
        // No temporary file is left behind, whatever happened.
        const QStringList entries = QDir(m_dir->path()).entryList(QDir::Files | QDir::NoDotAndDotDot);
        for (const QString &entry : entries)
            QVERIFY2(entry == QLatin1String("old.txt") || m_dir->filePath(entry) == path, qPrintable(entry));
    }

    void platformOperationsPassThrough()
    {
        Context *context = makeContext();
        QCOMPARE(context->encrypt(QStringLiteral("pw")), QStringLiteral("sealed:pw"));
        QCOMPARE(context->openRdp(QStringLiteral("full address:s:h")), 42u);
        QCOMPARE(m_platform->rdpTexts, QStringList{QStringLiteral("full address:s:h")});
        // The core's watched start hands its failure handler through to the platform.
        QString reason;
        const HostServices *host = context;
        QCOMPARE(host->openRdpWatched(QStringLiteral("full address:s:i"),
                                      [&reason](const QString &why) { reason = why; }),
                 42u);
        QCOMPARE(m_platform->failureHandlers.size(), 2);
        QVERIFY(!m_platform->failureHandlers.first());
        m_platform->failureHandlers.last()(QStringLiteral("refused"));
        QCOMPARE(reason, QStringLiteral("refused"));
        context->setIsAutoStartupEnabled(true);
        QVERIFY(context->isAutoStartupEnabled());
    }

    void scalingFactorFromEnvironment_data()
    {
        QTest::addColumn<QByteArray>("value"); // null: unset
        QTest::addColumn<float>("factor");
        QTest::newRow("set") << QByteArrayLiteral("1.5") << 1.5f;
        QTest::newRow("integer") << QByteArrayLiteral("2") << 2.0f;
        QTest::newRow("missing") << QByteArray() << 1.0f;
        QTest::newRow("empty") << QByteArrayLiteral("") << 1.0f;
        QTest::newRow("not a number") << QByteArrayLiteral("large") << 1.0f;
        QTest::newRow("nan") << QByteArrayLiteral("nan") << 1.0f;
        QTest::newRow("trailing text") << QByteArrayLiteral("1.25x") << 1.0f;
    }

    void scalingFactorFromEnvironment()
    {
        QFETCH(QByteArray, value);
        QFETCH(float, factor);
        if (value.isNull())
            qunsetenv("QT_SCALE_FACTOR");
        else
            qputenv("QT_SCALE_FACTOR", value);
        QCOMPARE(makeContext()->getCurrentScalingFactor(), factor);
        qunsetenv("QT_SCALE_FACTOR");
    }

    // The getters tell what is in effect (the environment of this start); the setters store for the next one.
    void storedSettingsWaitForNextStart()
    {
        qputenv("QT_SCALE_FACTOR", "1.75");
        qputenv("QT_QUICK_CONTROLS_MATERIAL_THEME", "Dark");
        qputenv("QT_QUICK_CONTROLS_MATERIAL_VARIANT", QStringLiteral("Dënse").toUtf8());
        QSettings().setValue(QStringLiteral("rendering"), QStringLiteral("Software"));
        Context *context = makeContext();
        context->setScalingFactor(1.3f);
        context->setMaterialVariant(QStringLiteral("Normal"));
        context->setMaterialTheme(QStringLiteral("Purple?"));
        QCOMPARE(context->getCurrentScalingFactor(), 1.75f);
        QCOMPARE(context->getMaterialTheme(), QStringLiteral("Dark"));
        QCOMPARE(context->getMaterialVariant(), QStringLiteral("Dënse"));
        // The renderer in effect is the one stored at start; unknown text is stored as Automatic.
        context->setRendering(QStringLiteral("Hardware"));
        QCOMPARE(context->getRendering(), QStringLiteral("Software"));
        QCOMPARE(QSettings().value(QStringLiteral("rendering")).toString(), QStringLiteral("Hardware"));
        context->setRendering(QStringLiteral("OpenGL?"));
        QCOMPARE(QSettings().value(QStringLiteral("rendering")).toString(), QStringLiteral("Automatic"));
        QCOMPARE(makeContext()->getRendering(), QStringLiteral("Automatic"));

        QSettings settings;
        QCOMPARE(settings.value(QStringLiteral("scalingFactor")).toFloat(), 1.3f);
        QCOMPARE(settings.value(QStringLiteral("materialVariant")).toString(), QStringLiteral("Normal"));
        QCOMPARE(settings.value(QStringLiteral("materialTheme")).toString(), QStringLiteral("Purple?"));
        QVERIFY(settings.fileName().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
        qunsetenv("QT_SCALE_FACTOR");
        qunsetenv("QT_QUICK_CONTROLS_MATERIAL_THEME");
        qunsetenv("QT_QUICK_CONTROLS_MATERIAL_VARIANT");
        QCOMPARE(context->getMaterialTheme(), QString());
        QCOMPARE(context->getMaterialVariant(), QString());
    }

    // Whatever the notifier makes of it, a click on a notification shows and raises the window.
    void notification_data()
    {
        QTest::addColumn<bool>("available");
        QTest::addColumn<bool>("fail");
        QTest::addColumn<QString>("logged");
        QTest::newRow("shown") << true << false << "Show toast: 7";
        // A notification that the desktop refused is logged as -1, not by the id handed out at once.
        QTest::newRow("refused by the desktop") << true << true << "Show toast: -1";
        QTest::newRow("notifications unavailable") << false << false << "Show toast: -1";
    }

    void notification()
    {
        QFETCH(bool, available);
        QFETCH(bool, fail);
        QFETCH(QString, logged);
        FakeNotifier notifier;
        notifier.available = available;
        notifier.fail = fail;
        Context *context = makeContext(&notifier);
        QTest::ignoreMessage(QtDebugMsg, qPrintable(logged));
        context->systemNotification(QStringLiteral("Low credits"));
        QCOMPARE(notifier.messages, available ? QStringList{QStringLiteral("Low credits")} : QStringList());
        QCoreApplication::processEvents();

        QVERIFY(!m_view->isVisible());
        Q_EMIT notifier.activated();
        QCOMPARE(m_platform->activated, QList<QWindow *>{m_view.get()});
        QVERIFY(m_view->isVisible());
        // Without any notifier nothing happens.
        makeContext(nullptr)->systemNotification(QStringLiteral("Low credits"));
    }

    // A window at the origin is centred, a placed one kept, one larger than the screen maximised (null rect).
    void raiseWindow_data()
    {
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QRect>("expected");
        const QSize available = QGuiApplication::primaryScreen()->availableSize();
        const QSize half = available / 2;
        QTest::newRow("at the origin")
            << QRect(QPoint(0, 0), half)
            << QRect(QPoint((available.width() - half.width()) / 2, (available.height() - half.height()) / 2),
                     half);
        QTest::newRow("placed") << QRect(30, 40, 200, 150) << QRect(30, 40, 200, 150);
        QTest::newRow("oversized") << QRect(QPoint(10, 10), available + QSize(100, 100)) << QRect();
    }

    void raiseWindow()
    {
        QFETCH(QRect, geometry);
        QFETCH(QRect, expected);
        m_view->setGeometry(geometry);
        makeContext()->raiseWindow();
        QVERIFY(m_view->isVisible());
        if (expected.isNull()) {
            QTRY_VERIFY(m_view->windowStates() & Qt::WindowMaximized);
            // The frame fills the available area; the client area is what the decorations leave.
            QTRY_COMPARE(m_view->frameGeometry().size(), QGuiApplication::primaryScreen()->availableSize());
        } else {
            QTRY_COMPARE(m_view->geometry(), expected);
        }
    }

    void clearCookiesAndClipboard()
    {
        Context *context = makeContext();
        QNetworkAccessManager *manager = m_view->engine()->networkAccessManager();
        const QUrl url(QStringLiteral("https://vantorix.example/"));
        manager->cookieJar()->setCookiesFromUrl({QNetworkCookie("session", "abc")}, url);
        QCOMPARE(manager->cookieJar()->cookiesForUrl(url).size(), 1);
        context->clearAccessCacheAndCookies();
        QVERIFY(manager->cookieJar()->cookiesForUrl(url).isEmpty());
        QCOMPARE(manager->cookieJar()->parent(), manager);

        context->copyToClipboard(QStringLiteral("10.0.0.5"));
        QCOMPARE(QGuiApplication::clipboard()->text(QClipboard::Clipboard), QStringLiteral("10.0.0.5"));
    }

private:
    Context *makeContext(SystemNotifier *notifier = nullptr);

    std::unique_ptr<QQuickView> m_view;
    FakePlatform *m_platform = nullptr;
    std::unique_ptr<QTemporaryDir> m_dir;
};

Context *TestContext::makeContext(SystemNotifier *notifier)
{
    auto platform = std::make_unique<FakePlatform>();
    m_platform = platform.get();
    return new Context(m_view.get(), QProcessEnvironment::systemEnvironment(), nullptr, std::move(platform),
                       notifier);
}

VANTORIX_BRIDGE_TEST(TestContext)
#include "tst_context.moc"
