// The tray icon without a tray host (offscreen): it must build, carry its menu and route its actions.
#include "trayicon.h"
#include "traynotifier.h"

#include <QAction>
#include <QMenu>
#include <QPixmap>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>

class TestTrayIcon : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void menuEntriesInOrder()
    {
        TrayIcon tray;
        QCOMPARE(tray.systemTrayIcon()->contextMenu(), tray.menu());
        QVERIFY(!tray.systemTrayIcon()->icon().isNull());
        const QList<QAction *> actions = tray.menu()->actions();
        QCOMPARE(actions.size(), 5);
        QCOMPARE(actions.at(0)->text(), QStringLiteral("vantorix"));
        QVERIFY(!actions.at(0)->isEnabled());
        // Open and Quit follow, enabled: the activation rows trigger them by index.
        QVERIFY(actions.at(1)->isSeparator() && actions.at(2)->isSeparator());
    }

    // The menu's Open and Quit (by index), or a click on the icon (by reason): only a plain click opens.
    void activation_data()
    {
        QTest::addColumn<int>("menuIndex"); // -1: the icon is activated instead
        QTest::addColumn<int>("reason");
        QTest::addColumn<int>("opens");
        QTest::addColumn<int>("quits");
        QTest::newRow("Open") << 3 << 0 << 1 << 0;
        QTest::newRow("Quit") << 4 << 0 << 0 << 1;
        QTest::newRow("trigger") << -1 << int(QSystemTrayIcon::Trigger) << 1 << 0;
        QTest::newRow("double click") << -1 << int(QSystemTrayIcon::DoubleClick) << 0 << 0;
        QTest::newRow("middle click") << -1 << int(QSystemTrayIcon::MiddleClick) << 0 << 0;
        QTest::newRow("context") << -1 << int(QSystemTrayIcon::Context) << 0 << 0;
        QTest::newRow("unknown") << -1 << int(QSystemTrayIcon::Unknown) << 0 << 0;
    }
    void activation()
    {
        QFETCH(int, menuIndex);
        QFETCH(int, reason);
        QFETCH(int, opens);
        QFETCH(int, quits);
        TrayIcon tray;
        QSignalSpy open(&tray, &TrayIcon::openRequested);
        QSignalSpy quit(&tray, &TrayIcon::quitRequested);
        if (menuIndex >= 0)
            tray.menu()->actions().at(menuIndex)->trigger();
        else
            Q_EMIT tray.systemTrayIcon()->activated(QSystemTrayIcon::ActivationReason(reason));
        QCOMPARE(open.count(), opens);
        QCOMPARE(quit.count(), quits);
    }

    // Signed in: after the title a disabled balance line and a submenu per computer whose entries emit the
    // computer and the action; signed out again, the menu is as before.
    void sessionItems()
    {
        TrayIcon tray;
        QSignalSpy quick(&tray, &TrayIcon::quickActionTriggered);
        TrayMenu::Entry running{
            7, QStringLiteral("Office"), QStringLiteral("Running"), {TrayMenu::Action::Connect}};
        TrayMenu::Entry lab{8, QStringLiteral("Lab"), QStringLiteral("Running"), {}};
        tray.setSessionItems(QStringLiteral("Balance: 3.00 credits"), {running, lab});
        const QList<QAction *> actions = tray.menu()->actions();
        // The disabled balance line and a running computer's Connect entry are what the tray journey reads.
        QCOMPARE(actions.size(), 8);
        QCOMPARE(actions.at(2)->text(), QStringLiteral("Office"));
        actions.at(2)->menu()->actions().at(0)->trigger();
        QCOMPARE(quick.count(), 1);
        QCOMPARE(quick.at(0).at(0).toLongLong(), 7);
        QCOMPARE(quick.at(0).at(1).value<TrayMenu::Action>(), TrayMenu::Action::Connect);
        QMenu *labMenu = actions.at(3)->menu();
        QCOMPARE(labMenu->actions().at(0)->text(), QStringLiteral("Running"));
        QVERIFY(!labMenu->actions().at(0)->isEnabled());
        QVERIFY(actions.at(4)->isSeparator());
        QCOMPARE(actions.at(7)->text(), QStringLiteral("Quit"));
        // VANTORIX_SCREENS_DIR=<folder> keeps a picture of the menu as the tray would draw it.
        if (const QString dir = qEnvironmentVariable("VANTORIX_SCREENS_DIR"); !dir.isEmpty())
            QVERIFY(tray.menu()->grab().save(dir + QStringLiteral("/tray-menu.png")));

        // A new balance alone changes its line in place: the computers' submenus stay the same objects.
        tray.setSessionItems(QStringLiteral("Balance: 2.98 credits"), {running, lab});
        QCOMPARE(tray.menu()->actions(), actions);
        QCOMPARE(actions.at(1)->text(), QStringLiteral("Balance: 2.98 credits"));

        tray.setToolTipText(QStringLiteral("vantorix\nBalance: 3.00 credits"));
        QCOMPARE(tray.systemTrayIcon()->toolTip(), QStringLiteral("vantorix\nBalance: 3.00 credits"));
        tray.setSessionItems(QString(), {running});
        tray.setToolTipText(QString());
        QCOMPARE(tray.menu()->actions().size(), 5);
        QCOMPARE(tray.systemTrayIcon()->toolTip(), QStringLiteral("vantorix"));
    }

    // Without a tray host the tray message notifier is off: no id, with or without buttons.
    void trayNotifierWithoutTray()
    {
        TrayIcon tray;
        QTest::ignoreMessage(QtWarningMsg, "System notifications are not available: no system tray.");
        TrayNotifier notifier(tray.systemTrayIcon());
        QVERIFY(!notifier.isAvailable());
        QCOMPARE(notifier.show(QStringLiteral("x"), {{QStringLiteral("stop"), QStringLiteral("Stop")}}), -1);
    }
};

QTEST_MAIN(TestTrayIcon)
#include "tst_trayicon.moc"
