// A whole signed-in session on the demo service: sign in, the computers appear, a start goes through
// provisioning to running, notices fire as configured, the credits follow the service, sign-out ends it.
#include "api/apirequests.h"
#include "sessiontestkit.h"

#include <QSignalSpy>
#include <QTest>

class TestSessionFlow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void wholeSession()
    {
        SessionTestKit kit;
        kit.shell.realTime = true; // deferred calls on real timers, like the window's

        // Sign in the way the sign-in form does.
        std::unique_ptr<User> user;
        ApiHandlers login;
        login.success = [&user](const ApiReply &reply) {
            user.reset(User::fromLoginData(reply.reply.toObject().value(QStringLiteral("data")).toObject(),
                                           QString()));
        };
        kit.api().send(ApiRequests::loginUser(QStringLiteral("demo"), QStringLiteral("Demo-Pass1!")), login);
        QVERIFY(kit.settle());
        QVERIFY(user);
        QCOMPARE(user->email(), QString::fromLatin1(SessionTestKit::kDemoEmail));

        kit.settings().setValue(QStringLiteral("refreshRate"), 3.0); // poll every second
        kit.settings().setValue(QStringLiteral("loginPassword"), QStringLiteral("protected"));
        auto session =
            std::make_unique<MainContext>(&kit.api(), &kit.shell, &kit.host, user.get(), &kit.settings());
        session->setStartedMachineNotificationSystem(false); // in-app only for starts

        // The computers page asks for the list when it opens.
        QVERIFY(session->loadingComputers());
        session->listUserVMInstances();
        QTRY_VERIFY_WITH_TIMEOUT(!session->loadingComputers(), 10000);
        QCOMPARE(session->computers().size(), 10);
        // Deleted computers are hidden; the favourite has its own grid.
        QCOMPARE(session->visibleComputers().size(), 9);
        QCOMPARE(session->visibleFavouriteMachinesModel()->rowCount(), 1);
        QCOMPARE(session->visibleStandardMachinesModel()->rowCount(), 8);
        QCOMPARE(session->topBannerLight()->source().isEmpty(), false);

        Computer *design = nullptr;
        for (Computer *c : session->computers()) {
            if (c->userInstanceName() == QLatin1String("Design Station"))
                design = c;
        }
        QVERIFY(design && design->canStart());
        session->setSelectedComputers({design->identifier()});
        QTRY_COMPARE(session->startableComputers(), QList<Computer *>{design});
        session->startInstances(session->startableComputers());
        QCOMPARE(kit.shell.confirmations.size(), 1);
        QCOMPARE(kit.shell.confirmations.first().title, QStringLiteral("Start Design Station?"));
        kit.shell.confirmations.first().accepted();
        QVERIFY(design->statusChanging());

        // The start is sent (after any list load in flight), its notice shows in the window only.
        QTRY_VERIFY_WITH_TIMEOUT(!design->statusChanging(), 15000);
        QCOMPARE(kit.requests(QStringLiteral("start_user_vm_instance")).size(), 1);
        QVERIFY(design->status() == Computer::Provisioning || design->status() == Computer::Staging ||
                design->status() == Computer::Running);
        QVERIFY(kit.host.systemNotes.isEmpty());
        QVERIFY(!kit.shell.notes.isEmpty());
        QCOMPARE(kit.shell.notes.last().level, Shell::Level::Info);

        // The service's clock moves on; the polls bring the computer to running and its burn rate along.
        kit.server().state().clock().advanceMinutes(30);
        QTRY_COMPARE_WITH_TIMEOUT(design->status(), int(Computer::Running), 15000);
        QTRY_VERIFY(session->currentBurnRate() > 0);

        // The credits follow the service; falling below the threshold gives the low notice once.
        kit.server().state().accountByEmail(user->email())->credits = 2.0;
        // (Running computers keep burning credits on the service, so the balance reads a little below.)
        QTRY_VERIFY_WITH_TIMEOUT(user->credits() <= 2.0 && user->credits() > 1.5, 15000);
        const QString low = QStringLiteral("Your credits are running low.");
        QTRY_COMPARE(kit.shell.count(low), 1);
        QCOMPARE(kit.host.systemNotes.count(low), 1);
        QTest::qWait(2500); // more polls
        QCOMPARE(kit.shell.count(low), 1);

        // Sign-out: the stored password goes at once, the session is released 4 s later.
        QSignalSpy signedOut(session.get(), &MainContext::signedOutRequested);
        session->signOut();
        QCOMPARE(kit.settings().value(QStringLiteral("loginPassword")).toString(), QString());
        QCOMPARE(signedOut.size(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(signedOut.size(), 1, 10000);
        session.reset();
        QVERIFY(kit.settle());
        kit.clearRequests();
        QTest::qWait(1500);
        QVERIFY(kit.requests().isEmpty()); // nothing polls any more
    }
};

QTEST_MAIN(TestSessionFlow) // the service draws the previews
#include "tst_session_flow.moc"
