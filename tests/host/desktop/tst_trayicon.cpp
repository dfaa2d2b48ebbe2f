// The tray icon without a tray host (offscreen): it must build, carry its menu and route its actions.
#include "trayicon.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>

class TestTrayIcon : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void menuEntriesInOrder()
    {
        TrayIcon tray;
        QVERIFY(tray.systemTrayIcon());
        QCOMPARE(tray.systemTrayIcon()->contextMenu(), tray.menu());
        QVERIFY(!tray.systemTrayIcon()->icon().isNull());

        const QList<QAction *> actions = tray.menu()->actions();
        QCOMPARE(actions.size(), 5);
        QCOMPARE(actions.at(0)->text(), QStringLiteral("vantorix"));
        QVERIFY(!actions.at(0)->isEnabled());
        QVERIFY(actions.at(1)->isSeparator());
        QVERIFY(actions.at(2)->isSeparator());
        QCOMPARE(actions.at(3)->text(), QStringLiteral("Open"));
        QCOMPARE(actions.at(4)->text(), QStringLiteral("Quit"));
        QVERIFY(actions.at(3)->isEnabled());
        QVERIFY(actions.at(4)->isEnabled());
    }

    void menuActionsEmit_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("opens");
        QTest::addColumn<int>("quits");
        QTest::newRow("Open") << 3 << 1 << 0;
        QTest::newRow("Quit") << 4 << 0 << 1;
    }
    void menuActionsEmit()
    {
        QFETCH(int, index);
        QFETCH(int, opens);
        QFETCH(int, quits);
        TrayIcon tray;
        QSignalSpy open(&tray, &TrayIcon::openRequested);
        QSignalSpy quit(&tray, &TrayIcon::quitRequested);
        tray.menu()->actions().at(index)->trigger();
        QCOMPARE(open.count(), opens);
        QCOMPARE(quit.count(), quits);
    }

    void onlyPlainClickOpens_data()
    {
        QTest::addColumn<int>("reason");
        QTest::addColumn<int>("opens");
        QTest::newRow("trigger") << int(QSystemTrayIcon::Trigger) << 1;
        QTest::newRow("double click") << int(QSystemTrayIcon::DoubleClick) << 0;
        QTest::newRow("middle click") << int(QSystemTrayIcon::MiddleClick) << 0;
        QTest::newRow("context") << int(QSystemTrayIcon::Context) << 0;
        QTest::newRow("unknown") << int(QSystemTrayIcon::Unknown) << 0;
    }
    void onlyPlainClickOpens()
    {
        QFETCH(int, reason);
        QFETCH(int, opens);
        TrayIcon tray;
        QSignalSpy open(&tray, &TrayIcon::openRequested);
        QSignalSpy quit(&tray, &TrayIcon::quitRequested);
        Q_EMIT tray.systemTrayIcon()->activated(QSystemTrayIcon::ActivationReason(reason));
        QCOMPARE(open.count(), opens);
        QCOMPARE(quit.count(), 0);
    }
};

QTEST_MAIN(TestTrayIcon)
#include "tst_trayicon.moc"
