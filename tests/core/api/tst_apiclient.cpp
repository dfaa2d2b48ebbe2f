// ApiClient over a real HTTP connection: a reply reaches its caller once, exactly one completion per
// request on every path, vanished callers, time-outs, dropped connections, size cap and secrets kept out of
// the log.
#include "api/apiclient.h"
#include "api/apirequests.h"
#include "fakehttpserver.h"
#include "logcapture.h"
#include "recordingshell.h"

#include <QNetworkAccessManager>
#include <QtTest>

Q_DECLARE_METATYPE(ApiRequest)

namespace {

const QString kEmail = QStringLiteral("a+b@example.com");
constexpr int kWait = 15000;

// Counts what reached the caller.
struct Calls {
    int finished = 0;
    int success = 0;
    int networkFailure = 0;
    int timedOut = 0;
    ApiReply lastReply;
    QString lastFailure;

    ApiHandlers handlers(QObject *context = nullptr)
    {
        ApiHandlers h;
        h.context = context;
        h.finished = [this] { ++finished; };
        h.success = [this](const ApiReply &reply) {
            ++success;
            lastReply = reply;
        };
        h.networkFailure = [this](const QString &error) {
            ++networkFailure;
            lastFailure = error;
        };
        return h;
    }

    // The same, with the time-out reported on its own.
    ApiHandlers handlersWithTimeout()
    {
        ApiHandlers h = handlers();
        h.timedOut = [this](const QString &error) {
            ++timedOut;
            lastFailure = error;
        };
        return h;
    }
};

} // namespace

class TestApiClient : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeHttpServer> m_server;
    std::unique_ptr<QNetworkAccessManager> m_network;
    std::unique_ptr<RecordingShell> m_shell;
    std::unique_ptr<ApiClient> m_client;

private Q_SLOTS:
    void init()
    {
        m_server = std::make_unique<FakeHttpServer>();
        QVERIFY(m_server->listen());
        m_network = std::make_unique<QNetworkAccessManager>();
        m_shell = std::make_unique<RecordingShell>();
        m_client = std::make_unique<ApiClient>(m_network.get(), m_shell.get());
        m_client->setBaseUrl(m_server->baseUrl());
    }
    void cleanup()
    {
        m_client.reset();
        m_network.reset();
        m_shell.reset();
        m_server.reset();
    }

    // An answer reaches the success handler once, with its value (a VAT check that is not JSON is an answer
    // all the same), and a refusal never does. What every reply shows and who signs out is the fault
    // matrix's table, sent through the same client by each action's caller.
    void answerReachesTheCallerOnce_data()
    {
        QTest::addColumn<ApiRequest>("request");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("successes");
        QTest::addColumn<QJsonValue>("value");
        const ApiRequest start = ApiRequests::startUserVmInstance(kEmail, 3);
        const QByteArray success = R"({"success":"Starting"})";
        QTest::newRow("success") << start << 200 << success << 1 << QJsonValue("Starting");
        QTest::newRow("VAT check, not JSON") << ApiRequests::getVatInfo(QStringLiteral("RO1")) << 200
                                             << QByteArray("not json") << 1 << QJsonValue(false);
        QTest::newRow("500") << start << 500 << success << 0 << QJsonValue();
        QTest::newRow("error_message")
            << ApiRequests::getUserData(kEmail) << 200
            << QByteArray(R"({"error_message":"x","user_data":{}})") << 0 << QJsonValue();
    }
    void answerReachesTheCallerOnce()
    {
        QFETCH(ApiRequest, request);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(int, successes);
        m_server->answer(status, status == 200 ? "OK" : "Failed", body);
        Calls calls;
        m_client->send(request, calls.handlers());
        QTRY_COMPARE_WITH_TIMEOUT(calls.finished, 1, kWait);
        QCOMPARE(calls.success, successes);
        QTEST(calls.lastReply.value, "value");
        QCOMPARE(calls.networkFailure, 0);
        QVERIFY(m_shell->notes.isEmpty());
        QCOMPARE(m_client->pendingCount(), 0);
        QTest::qWait(50);
        QCOMPARE(calls.finished, 1);
    }

    // No answer of any kind: one network failure, nothing shown (the caller has its own text for it, and a
    // cut reply is not mistaken for a malformed answer), a line in the log.
    void noAnswer_data()
    {
        QTest::addColumn<int>("behaviour"); // -1: nothing listens
        QTest::addColumn<ApiRequest>("request");
        QTest::addColumn<QString>("failure");
        const int silent = int(FakeHttpServer::Behaviour::Silent);
        const ApiRequest login = ApiRequests::loginUser(kEmail, QStringLiteral("pw"));
        QTest::newRow("connection refused") << -1 << login << "Connection refused";
        QTest::newRow("never answered, sign-in") << silent << login << "no reply within 300 ms";
        QTest::newRow("dropped mid-body")
            << int(FakeHttpServer::Behaviour::DropMidBody)
            << ApiRequests::resetPass(QStringLiteral("a"), QStringLiteral("b")) << QString();
    }
    void noAnswer()
    {
        QFETCH(int, behaviour);
        QFETCH(ApiRequest, request);
        QFETCH(QString, failure);
        if (behaviour < 0)
            m_server->close();
        else
            m_server->setScript({FakeHttpServer::Behaviour(behaviour), 200, "OK", R"({"success":"x")"});
        m_client->setTransferTimeout(300);
        LogCapture log;
        Calls calls;
        m_client->send(request, calls.handlers());
        QTRY_COMPARE_WITH_TIMEOUT(calls.finished, 1, kWait);
        QCOMPARE(calls.networkFailure, 1);
        QCOMPARE(calls.success, 0);
        QVERIFY2(calls.lastFailure.contains(failure), qPrintable(calls.lastFailure));
        QVERIFY(m_shell->notes.isEmpty());
        QVERIFY(log.contains(QStringLiteral("Request failed")));
        QVERIFY2(log.contains(failure), qPrintable(log.all()));
        QCOMPARE(m_client->pendingCount(), 0);
        QTest::qWait(100);
        QCOMPARE(calls.finished, 1);
    }

    // Creating a computer must not be repeated blindly: it waits four times as long, and its time-out is
    // told apart from other failures.
    void creationWaitsLongerAndItsTimeOutIsToldApart()
    {
        m_server->setScript({FakeHttpServer::Behaviour::Silent, 200, "OK", {}});
        m_client->setTransferTimeout(300);
        Calls once;
        Calls poll;
        m_client->send(ApiRequests::insertVmInstance(kEmail, QStringLiteral("PC"), 1, QStringLiteral("u"),
                                                     QStringLiteral("Pw-12345678!")),
                       once.handlersWithTimeout());
        m_client->send(ApiRequests::listUserVmInstances(kEmail), poll.handlersWithTimeout());
        QTRY_COMPARE_WITH_TIMEOUT(poll.finished, 1, kWait);
        QCOMPARE(poll.timedOut, 1);
        QCOMPARE(once.finished, 0);
        QTRY_COMPARE_WITH_TIMEOUT(once.finished, 1, kWait);
        QCOMPARE(once.timedOut, 1);
        QCOMPARE(once.networkFailure, 0);
        QVERIFY2(once.lastFailure.contains(QStringLiteral("no reply within 1200 ms")),
                 qPrintable(once.lastFailure));
    }

    void oversizedReply_data()
    {
        QTest::addColumn<int>("bodySize");
        QTest::addColumn<bool>("screenshot");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("far over the limit") << 5000 << false << false;
        QTest::newRow("one byte over") << 1001 << false << false;
        QTest::newRow("exactly the limit") << 1000 << false << true;
        // A screenshot of a large desktop may be four times the general limit.
        QTest::newRow("screenshot over the general limit") << 4000 << true << true;
        QTest::newRow("screenshot over its own limit") << 4001 << true << false;
    }

    void oversizedReply()
    {
        QFETCH(int, bodySize);
        QFETCH(bool, screenshot);
        QFETCH(bool, accepted);
        m_client->setMaxReplySize(1000);
        const QByteArray head = "{\"success\":\"";
        const QByteArray tail = "\"}";
        m_server->answer(200, "OK", head + QByteArray(bodySize - head.size() - tail.size(), 'x') + tail);
        LogCapture log;
        Calls calls;
        m_client->send(screenshot ? ApiRequests::getVmScreenshot(kEmail, 7)
                                  : ApiRequests::listUserPayments(kEmail),
                       calls.handlers());
        QTRY_COMPARE_WITH_TIMEOUT(calls.finished, 1, kWait);
        QCOMPARE(calls.networkFailure, accepted ? 0 : 1);
        QCOMPARE(calls.success, accepted ? 1 : 0);
        QCOMPARE(log.contains(screenshot ? QStringLiteral("larger than 4000 bytes")
                                         : QStringLiteral("larger than 1000 bytes")),
                 !accepted);
    }

    void callerDeletedBeforeReply()
    {
        m_server->setScript({FakeHttpServer::Behaviour::Hold, 200, "OK", R"({"error_message":"late"})"});
        auto *caller = new QObject;
        QPointer<QObject> guard(caller);
        Calls calls;
        bool finishedSawCallerGone = false;
        ApiHandlers handlers = calls.handlers(caller);
        handlers.finished = [&] {
            ++calls.finished;
            finishedSawCallerGone = guard.isNull();
        };
        m_client->send(ApiRequests::stopUserVmInstance(kEmail, 1), handlers);
        QTRY_COMPARE_WITH_TIMEOUT(m_server->requests().size(), qsizetype(1), kWait);
        delete caller;
        m_server->releaseHeld();
        QTRY_COMPARE_WITH_TIMEOUT(calls.finished, 1, kWait);
        QVERIFY(finishedSawCallerGone);
        QCOMPARE(calls.success, 0);
        QVERIFY(m_shell->notes.isEmpty()); // nobody is left to show the error to
    }

    void clientDestroyedWithRequestsPending()
    {
        m_server->setScript({FakeHttpServer::Behaviour::Silent, 200, "OK", {}});
        Calls calls;
        m_client->send(ApiRequests::loginUser(kEmail, QStringLiteral("pw")), calls.handlers());
        m_client->send(ApiRequests::getUserData(kEmail), calls.handlers());
        QTRY_COMPARE_WITH_TIMEOUT(m_server->requests().size(), qsizetype(2), kWait);
        m_client.reset();
        QCOMPARE(calls.finished, 2);
        QCOMPARE(calls.networkFailure, 0); // shutting down is not "unable to reach the service"
        QTest::qWait(100);
        QCOMPARE(calls.finished, 2);
    }

    void networkAccessDestroyedWithRequestsPending()
    {
        m_server->setScript({FakeHttpServer::Behaviour::Silent, 200, "OK", {}});
        Calls calls;
        m_client->send(ApiRequests::getUserData(kEmail), calls.handlers());
        QTRY_COMPARE_WITH_TIMEOUT(m_server->requests().size(), qsizetype(1), kWait);
        m_network.reset();
        QTRY_COMPARE_WITH_TIMEOUT(calls.finished, 1, kWait);
        QCOMPARE(m_client->pendingCount(), 0);

        // Without access to the network a request still completes, later, exactly once.
        m_client->send(ApiRequests::getUserData(kEmail), calls.handlers());
        QCOMPARE(calls.finished, 1);
        QTRY_COMPARE_WITH_TIMEOUT(calls.finished, 2, kWait);
        QCOMPARE(calls.networkFailure, 2);
    }

    void noSecretInTheLog_data()
    {
        QTest::addColumn<ApiRequest>("request");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("secret");
        const QString secret = QStringLiteral("Zq7-secret-Xy");
        RegistrationData registration;
        registration.username = QStringLiteral("u");
        registration.password = secret;
        QTest::newRow("register, 500") << ApiRequests::registerUser(registration) << 500 << secret;
        QTest::newRow("login, 500") << ApiRequests::loginUser(kEmail, secret) << 500 << secret;
        QTest::newRow("login, 401") << ApiRequests::loginUser(kEmail, secret) << 401 << secret;
        QTest::newRow("login, refused") << ApiRequests::loginUser(kEmail, secret) << -1 << secret;
        QTest::newRow("reset password")
            << ApiRequests::resetPass(secret, QStringLiteral("t")) << 200 << secret;
        QTest::newRow("reset token") << ApiRequests::resetPass(QStringLiteral("p"), secret) << 200 << secret;
        QTest::newRow("create computer")
            << ApiRequests::insertVmInstance(kEmail, QStringLiteral("n"), 1, QStringLiteral("u"), secret)
            << 200 << secret;
        QTest::newRow("windows password")
            << ApiRequests::resetWinPassword(kEmail, 1, secret) << 404 << secret;
    }

    void noSecretInTheLog()
    {
        QFETCH(ApiRequest, request);
        QFETCH(int, status);
        QFETCH(QString, secret);
        if (status < 0)
            m_server->close();
        else
            m_server->answer(status, "Nope", R"({"neither":true})");
        LogCapture log;
        Calls calls;
        m_client->send(request, calls.handlers());
        QTRY_COMPARE_WITH_TIMEOUT(calls.finished, 1, kWait);
        QVERIFY(!log.lines().isEmpty());
        QVERIFY2(!log.contains(secret), qPrintable(log.all()));
        QVERIFY2(!log.contains(QString::fromLatin1(QUrl::toPercentEncoding(secret))), qPrintable(log.all()));
        QVERIFY2(!calls.lastFailure.contains(secret), qPrintable(calls.lastFailure));
    }

    void requestedActionsAreLoggedBeforeSending()
    {
        m_server->answer(200, "OK", R"({"success":"ok"})");
        LogCapture log;
        Calls calls;
        m_client->send(ApiRequests::loginUser(kEmail, QStringLiteral("pw")), calls.handlers());
        m_client->send(ApiRequests::updateUserProfile(kEmail, {}), calls.handlers());
        m_client->send(ApiRequests::getUserData(kEmail), calls.handlers());
        QTRY_COMPARE_WITH_TIMEOUT(calls.finished, 3, kWait);
        const QString base = m_server->baseUrl();
        QVERIFY2(log.contains(QStringLiteral("post ") + base +
                              QStringLiteral("/API/?action=login_user&usr=a%2Bb%40example.com&pwd=***")),
                 qPrintable(log.all()));
        QVERIFY(log.contains(QStringLiteral("endpoint: ") + base +
                             QStringLiteral("/API/?action=update_user_data")));
        QVERIFY(!log.contains(QStringLiteral("action=get_user_data")));
    }
};

QTEST_GUILESS_MAIN(TestApiClient)
#include "tst_apiclient.moc"
