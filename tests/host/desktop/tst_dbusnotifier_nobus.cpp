// Desktop notifications on a machine with no session bus at all.
#include "dbusnotifier.h"
#include "systemnotifier.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QTemporaryDir>
#include <QTest>

class TestDBusNotifierNoBus : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void warnsOnceAndStaysOff()
    {
        QTest::ignoreMessage(QtWarningMsg, "System notifications are not available: no session D-Bus.");
        const auto notifier = createSystemNotifier(nullptr);
        QVERIFY(!notifier->isAvailable());
        QCOMPARE(notifier->show(QStringLiteral("nobody hears this")), -1);
        QCOMPARE(notifier->show(QStringLiteral("nor this")), -1);
    }
};

int main(int argc, char **argv)
{
    // Before anything can connect to a bus: no address, no X display for autolaunch, and a runtime
    // folder without a bus socket in it.
    QTemporaryDir runtimeDir;
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    qunsetenv("DISPLAY");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));
    QCoreApplication app(argc, argv);
    TestDBusNotifierNoBus test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_dbusnotifier_nobus.moc"
