// Desktop notifications against a fake notification daemon on a private session bus (the test runs
// under dbus-run-session).
#include "dbusnotifier.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");

bool serviceRegistered()
{
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(kService).value();
}

} // namespace

class TestDBusNotifier : public QObject {
    Q_OBJECT

private:
    void startDaemon()
    {
        m_daemon.setProgram(QStringLiteral(FAKE_NOTIFICATION_DAEMON));
        m_daemon.setArguments({recordPath()});
        m_daemon.setProcessChannelMode(QProcess::ForwardedChannels);
        m_daemon.start();
        QVERIFY(m_daemon.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(serviceRegistered(), 20000);
    }

    void stopDaemon()
    {
        if (m_daemon.state() == QProcess::NotRunning)
            return;
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(10000))
            m_daemon.kill();
        m_daemon.waitForFinished(10000);
        QTRY_VERIFY_WITH_TIMEOUT(!serviceRegistered(), 20000);
    }

    [[nodiscard]] QString recordPath() const { return m_dir.filePath(QStringLiteral("notify.jsonl")); }

    [[nodiscard]] QList<QJsonObject> recordedCalls() const
    {
        QFile file(recordPath());
        QList<QJsonObject> calls;
        if (!file.open(QIODevice::ReadOnly))
            return calls;
        for (const QByteArray &line : file.readAll().split('\n')) {
            if (!line.isEmpty())
                calls.append(QJsonDocument::fromJson(line).object());
        }
        return calls;
    }

    QTemporaryDir m_dir;
    QProcess m_daemon;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run this test under dbus-run-session");
    }

    // Every test but the one about a missing daemon has one from the start.
    void init()
    {
        QFile::remove(recordPath());
        if (QTest::currentTestFunction() != QByteArrayLiteral("noDaemonDisablesForTheRun"))
            startDaemon();
    }

    void cleanup() { stopDaemon(); }

    void sendsNotificationsWithIncreasingIds()
    {
        DBusNotifier notifier(QDBusConnection::sessionBus());
        QVERIFY(notifier.isAvailable());

        const qint64 first = notifier.show(QStringLiteral("Credits <bought> & \"it's\" &amp;"));
        const qint64 second = notifier.show(QStringLiteral("VM started"));
        QVERIFY(first > 0);
        QVERIFY(second > first);

        QTRY_COMPARE_WITH_TIMEOUT(recordedCalls().size(), 2, 20000);
        const QList<QJsonObject> calls = recordedCalls();
        const QJsonObject call = calls.at(0);
        QCOMPARE(call.value("app_name").toString(), QStringLiteral("vantorix"));
        QCOMPARE(call.value("replaces_id").toInteger(), 0);
        QCOMPARE(call.value("app_icon").toString(), QString());
        QCOMPARE(call.value("summary").toString(), QStringLiteral("vantorix"));
        QCOMPARE(call.value("body").toString(),
                 QStringLiteral("Credits &lt;bought&gt; &amp; \"it's\" &amp;amp;"));
        QCOMPARE(call.value("actions").toArray(), QJsonArray({"default", "Open"}));
        QCOMPARE(call.value("hints").toInt(), 0);
        QCOMPARE(call.value("expire_timeout").toInt(), -1);
        QCOMPARE(calls.at(1).value("body").toString(), QStringLiteral("VM started"));
    }

    // Only the default action of one of our own notifications counts; other clients' ids and other
    // action keys are ignored.
    void defaultActionEmitsActivatedOnce()
    {
        DBusNotifier notifier(QDBusConnection::sessionBus());
        QSignalSpy activated(&notifier, &SystemNotifier::activated);

        notifier.show(QStringLiteral("please click-me"));
        QTRY_COMPARE_WITH_TIMEOUT(activated.count(), 1, 20000);

        // The closing signal came after the activation; a later show still works and is not activated.
        notifier.show(QStringLiteral("second"));
        QTRY_COMPARE_WITH_TIMEOUT(recordedCalls().size(), 2, 20000);
        QCOMPARE(activated.count(), 1);
    }

    // Buttons go after the default action as key, label pairs; a press is reported by its key and the
    // notification's own id, once, and the closing that follows by the same id.
    void actionsAreSentAndReported()
    {
        DBusNotifier notifier(QDBusConnection::sessionBus());
        QSignalSpy invoked(&notifier, &SystemNotifier::actionInvoked);
        QSignalSpy closed(&notifier, &SystemNotifier::closed);
        QSignalSpy shown(&notifier, &SystemNotifier::shown);
        const qint64 id =
            notifier.show(QStringLiteral("running"), {{QStringLiteral("stop"), QStringLiteral("Stop")},
                                                      {QStringLiteral("default"), QStringLiteral("x")},
                                                      {QStringLiteral("keep"), QStringLiteral("Keep")}});
        QTRY_COMPARE_WITH_TIMEOUT(shown.count(), 1, 20000);
        const QJsonObject call = recordedCalls().at(0);
        QCOMPARE(call.value("actions").toArray(),
                 QJsonArray({"default", "Open", "stop", "Stop", "keep", "Keep"}));

        QDBusMessage press =
            QDBusMessage::createMethodCall(kService, QStringLiteral("/org/freedesktop/Notifications"),
                                           kService, QStringLiteral("InvokeAction"));
        press.setArguments({uint(call.value("id").toInteger()), QStringLiteral("stop")});
        QDBusConnection::sessionBus().call(press);
        QTRY_COMPARE_WITH_TIMEOUT(closed.count(), 1, 20000);
        QCOMPARE(invoked.count(), 1);
        QCOMPARE(invoked.at(0).at(0).toLongLong(), id);
        QCOMPARE(invoked.at(0).at(1).toString(), QStringLiteral("stop"));
        QCOMPARE(closed.at(0).at(0).toLongLong(), id);
    }

    // An error reply, and a reply without an id, are both a failure to show.
    void failedNotifyIsLogged_data()
    {
        QTest::addColumn<QString>("body");
        QTest::newRow("error reply") << QStringLiteral("fail-me");
        QTest::newRow("text for the id") << QStringLiteral("odd-reply");
    }

    void failedNotifyIsLogged()
    {
        QFETCH(QString, body);
        DBusNotifier notifier(QDBusConnection::sessionBus());
        QSignalSpy activated(&notifier, &SystemNotifier::activated);
        QSignalSpy shown(&notifier, &SystemNotifier::shown);
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^Could not show a desktop notification")));
        QVERIFY(notifier.show(body) > 0);
        QTRY_COMPARE_WITH_TIMEOUT(recordedCalls().size(), 1, 20000);
        // The reply is processed by the event loop; wait for the warning through a follow-up round trip.
        notifier.show(QStringLiteral("after"));
        QTRY_COMPARE_WITH_TIMEOUT(recordedCalls().size(), 2, 20000);
        QTRY_VERIFY_WITH_TIMEOUT(notifier.findChildren<QObject *>().isEmpty(), 20000);
        QCOMPARE(activated.count(), 0);
        // The failure is reported as -1, the one shown afterwards by its id.
        QCOMPARE(shown.count(), 2);
        QCOMPARE(shown.at(0).at(0).toLongLong(), qint64(-1));
        QVERIFY(shown.at(1).at(0).toLongLong() > 0);
    }

    // No bus, or no daemon when the notifier is created: one warning, and the notifier stays off even once a
    // daemon appears.
    void noDaemonDisablesForTheRun()
    {
        QTest::ignoreMessage(QtWarningMsg, "System notifications are not available: no session D-Bus.");
        DBusNotifier noBus(QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent"),
                                                         QStringLiteral("nowhere")));
        QVERIFY(!noBus.isAvailable());
        QVERIFY(!serviceRegistered());
        QTest::ignoreMessage(QtWarningMsg, "Could not initialize desktop notifications (error: 3).");
        DBusNotifier off(QDBusConnection::sessionBus());
        QVERIFY(!off.isAvailable());

        startDaemon();
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(off.show(QStringLiteral("lost")), -1);
        QCOMPARE(off.show(QStringLiteral("lost again")), -1);
        QCOMPARE(noBus.show(QStringLiteral("lost")), -1);

        // Calls on one connection arrive in order: had the first notifier sent anything, the daemon
        // would have recorded it before the probe.
        DBusNotifier on(QDBusConnection::sessionBus());
        QVERIFY(on.isAvailable());
        on.show(QStringLiteral("probe"));
        QTRY_COMPARE_WITH_TIMEOUT(recordedCalls().size(), 1, 20000);
        QCOMPARE(recordedCalls().at(0).value("body").toString(), QStringLiteral("probe"));
    }
};

QTEST_GUILESS_MAIN(TestDBusNotifier)
#include "tst_dbusnotifier.moc"
