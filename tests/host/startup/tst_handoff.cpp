// Two real processes: the first start keeps running, a second start hands over to it and exits.

#include "instanceguard.h"

#include <QProcess>
#include <QSharedMemory>
#include <QTemporaryDir>
#include <QTest>

namespace {
constexpr int kGenerousMs = 30000;

QProcessEnvironment isolatedEnvironment(const QTemporaryDir &home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
    env.insert(QStringLiteral("VANTORIX_KEY_STORE"), QStringLiteral("file"));
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    env.remove(QStringLiteral("VANTORIX_SERVICE_URL"));
    return env;
}
} // namespace

class TestHandOff : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { QVERIFY(m_home.isValid()); }

    void cleanup()
    {
        if (m_first) {
            m_first->kill();
            m_first->waitForFinished(kGenerousMs);
            m_first.reset();
        }
    }

    void secondStartWithNobodyListeningExitsZero()
    {
        // Hold the guard ourselves: the program then believes an instance runs, but nothing listens.
        QSharedMemory guard;
        QVERIFY(InstanceGuard::acquire(guard));
        QByteArray errors;
        runToEnd({}, isolatedEnvironment(m_home), &errors);
        QVERIFY2(!errors.contains("Local command server listening"),
                 "a second start must not become a first instance");
    }

    void secondStartRaisesTheMinimizedFirst()
    {
        startFirst({QStringLiteral("--start-minimized")});
        QVERIFY(!m_firstOutput.contains("Main window visible: true"));
        runToEnd({QStringLiteral("--start-minimized")}, isolatedEnvironment(m_home));
        QTRY_VERIFY_WITH_TIMEOUT(readFirst().contains("Main window visible: true"), kGenerousMs);
        QCOMPARE(m_first->state(), QProcess::Running);
    }

    // The next start, not minimised, shows its window.
    void crashedInstanceDoesNotLockOutTheNextStart()
    {
        startFirst({QStringLiteral("--start-minimized")});
        m_first->kill(); // no clean-up: the guard segment is left behind
        QVERIFY(m_first->waitForFinished(kGenerousMs));
        m_first.reset();
        startFirst({});
        QTRY_VERIFY_WITH_TIMEOUT(readFirst().contains("Main window visible: true"), kGenerousMs);
    }

    void terminationSignalQuitsInOrder()
    {
        startFirst({QStringLiteral("--start-minimized")});
        m_first->terminate(); // what a desktop session sends at log-out
        QVERIFY(m_first->waitForFinished(kGenerousMs));
        QCOMPARE(m_first->exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_first->exitCode(), 0);
        m_first.reset();
        // The guard went with the orderly quit: it can be taken at once, and given back.
        QSharedMemory guard;
        QVERIFY(InstanceGuard::acquire(guard));
    }

    void informationOptions_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("instanceRunning");
        QTest::addColumn<bool>("display");
        QTest::addColumn<QByteArray>("printed");
        // Answered, not handed over to the running instance. The package test asks for the version without a
        // display, from the unpacked program.
        QTest::newRow("version, instance running")
            << "--version" << true << true << QByteArray("vantorix 1.0.0\n");
        QTest::newRow("help, instance running")
            << "--help" << true << true << QByteArray("--start-minimized");
        // A terminal without a display: no platform plugin is needed to answer.
        QTest::newRow("help, no display") << "--help" << false << false << QByteArray("--start-minimized");
    }

    void informationOptions()
    {
        QFETCH(QString, option);
        QFETCH(bool, instanceRunning);
        QFETCH(bool, display);
        QFETCH(QByteArray, printed);
        if (instanceRunning)
            startFirst({QStringLiteral("--start-minimized")});
        QProcessEnvironment env = isolatedEnvironment(m_home);
        if (!display) {
            env.remove(QStringLiteral("QT_QPA_PLATFORM"));
            env.remove(QStringLiteral("DISPLAY"));
            env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        }
        QVERIFY(runToEnd({option}, env).contains(printed));
        if (instanceRunning)
            QVERIFY(!readFirst().contains("Main window visible: true"));
    }

private:
    // Runs the program to its end, which must be an exit with code 0, and returns its standard output.
    QByteArray runToEnd(const QStringList &args, const QProcessEnvironment &env, QByteArray *errors = nullptr)
    {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(VANTORIX_APP_PATH), args);
        if (!p.waitForFinished(kGenerousMs) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            QTest::qFail("the program did not end with exit code 0", __FILE__, __LINE__);
        if (errors)
            *errors = p.readAllStandardError();
        return p.readAllStandardOutput();
    }

    void startFirst(const QStringList &args)
    {
        m_first = std::make_unique<QProcess>();
        m_firstOutput.clear();
        m_first->setProcessEnvironment(isolatedEnvironment(m_home));
        m_first->setProcessChannelMode(QProcess::MergedChannels);
        m_first->start(QStringLiteral(VANTORIX_APP_PATH), args);
        QVERIFY(m_first->waitForStarted(kGenerousMs));
        QTRY_VERIFY_WITH_TIMEOUT(readFirst().contains("Local command server listening"), kGenerousMs);
    }

    QByteArray readFirst()
    {
        if (m_first)
            m_firstOutput += m_first->readAll();
        return m_firstOutput;
    }

    QTemporaryDir m_home;
    std::unique_ptr<QProcess> m_first;
    QByteArray m_firstOutput;
};

QTEST_GUILESS_MAIN(TestHandOff)
#include "tst_handoff.moc"
