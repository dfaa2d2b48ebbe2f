// The session's payment, account-form and log wiring: a payment completed on the provider's page reaches
// the user through the session's switches, and the per-view controllers belong to their views.

#include "sessiontestkit.h"

#include "logs/logscontroller.h"
#include "payments/paymentscontroller.h"
#include "records/userpayment.h"

#include <QNetworkReply>
#include <QSignalSpy>
#include <QTest>

class TestSessionPayments : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void completedPaymentFollowsTheSwitches_data()
    {
        QTest::addColumn<bool>("app");
        QTest::addColumn<bool>("system");
        QTest::addColumn<bool>("silenced");
        QTest::newRow("both channels") << true << true << false;
        QTest::newRow("in-app only") << true << false << false;
        QTest::newRow("system only") << false << true << false;
        QTest::newRow("neither") << false << false << false;
        QTest::newRow("master switch silences in-app, not system") << true << true << true;
    }
    void completedPaymentFollowsTheSwitches()
    {
        QFETCH(bool, app);
        QFETCH(bool, system);
        QFETCH(bool, silenced);
        SessionTestKit kit;
        auto session = kit.newSession();
        session->setCreditsPurchasedNotificationApp(app);
        session->setCreditsPurchasedNotificationSystem(system);
        session->setDisableAllNotifications(silenced);

        session->listUserPayments();
        QTRY_VERIFY(!session->userPayments().isEmpty());
        UserPayment *pending = nullptr;
        for (UserPayment *p : session->userPayments())
            if (p->isPending())
                pending = p;
        QVERIFY(pending);

        // Pay on the provider's page, as the browser would.
        QNetworkAccessManager network;
        QNetworkRequest request(QUrl(pending->paymentLink() + QStringLiteral("/complete")));
        std::unique_ptr<QNetworkReply> reply(network.post(request, QByteArray()));
        QTRY_VERIFY(reply->isFinished());
        QCOMPARE(reply->error(), QNetworkReply::NoError);

        QSignalSpy changed(session.get(), &MainContext::userPaymentsChanged);
        session->listUserPayments();
        QTRY_COMPARE(changed.size(), 1);
        const QString text = QStringLiteral("Payment completed.");
        QCOMPARE(kit.shell.count(text), app && !silenced ? 1 : 0);
        QCOMPARE(kit.host.systemNotes.count(text), system ? 1 : 0);

        // The same list again changes nothing and says nothing more.
        QVERIFY(kit.settle());
        session->listUserPayments();
        QVERIFY(kit.settle());
        QCOMPARE(changed.size(), 1);
        QCOMPARE(kit.shell.count(text), app && !silenced ? 1 : 0);
    }

    void viewControllersBelongToTheirViews()
    {
        SessionTestKit kit;
        auto session = kit.newSession();
        auto *view = new QObject;
        QPointer<LogsController> account = session->createAccountLogs(view);
        QPointer<LogsController> machine = session->createComputerLogs(view);
        QPointer<ProfileEditor> editor = session->createProfileEditor(view);
        QVERIFY(account && machine && editor);
        QCOMPARE(account->parent(), view);
        QVERIFY(kit.settle());
        QVERIFY(kit.requests(QStringLiteral("get_user_logs")).size() >= 1);
        delete view;
        QVERIFY(!account && !machine && !editor);
        QVERIFY(kit.settle());
    }
};

QTEST_GUILESS_MAIN(TestSessionPayments)
#include "tst_session_payments.moc"
