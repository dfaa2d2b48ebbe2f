// The exact request line of every action and form, as it reaches an HTTP server.
#include "api/apiclient.h"
#include "api/apirequests.h"
#include "fakehttpserver.h"
#include "recordingshell.h"

#include <QNetworkAccessManager>
#include <QUrlQuery>
#include <QtTest>

Q_DECLARE_METATYPE(ApiRequest)

namespace {
const QString kEmail = QStringLiteral("a+b@example.com");
const QByteArray kEmailEnc = "a%2Bb%40example.com";
} // namespace

class TestApiRequests : public QObject {
    Q_OBJECT

    FakeHttpServer m_server;
    QNetworkAccessManager m_network;
    RecordingShell m_shell;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_server.listen());
        m_server.answer(200, "OK", "{}");
    }

    void requestLine_data()
    {
        using namespace ApiRequests;
        QTest::addColumn<ApiRequest>("request");
        QTest::addColumn<QByteArray>("line");

        const QByteArray e = kEmailEnc;

        RegistrationData full;
        full.username = QStringLiteral("new user");
        full.password = QStringLiteral("p&ss=1+2");
        full.email = kEmail;
        full.firstName = QStringLiteral("Ana");
        full.lastName = QStringLiteral("Pop");
        full.euResident = true;
        full.vatNumber = QStringLiteral("RO123");
        full.validVat = true;
        full.country = QStringLiteral("Romania");
        full.companyName = QStringLiteral("A, B & C");
        full.companyAddress = QStringLiteral("Str. 1");
        QTest::newRow("register_user, every field")
            << registerUser(full)
            << "POST /API/?action=register_user&usr=new%20user&pwd=p%26ss%3D1%2B2&email=" + e +
                   "&first_name=Ana&last_name=Pop&eu_resident=true&vat_number=RO123&valid_vat=true"
                   "&country=Romania&company_name=A%2C%20B%20%26%20C&company_address=Str.%201 HTTP/1.1";
        RegistrationData minimal = full;
        minimal.euResident = false;
        minimal.vatNumber.clear();
        minimal.validVat = false;
        minimal.country.clear();
        minimal.companyName.clear();
        minimal.companyAddress.clear();
        QTest::newRow("register_user, optional fields empty")
            << registerUser(minimal)
            << "POST /API/?action=register_user&usr=new%20user&pwd=p%26ss%3D1%2B2&email=" + e +
                   "&first_name=Ana&last_name=Pop&eu_resident=false&valid_vat=false HTTP/1.1";

        QTest::newRow("login_user") << loginUser(kEmail, QStringLiteral("pw d#?"))
                                    << "POST /API/?action=login_user&usr=" + e + "&pwd=pw%20d%23%3F HTTP/1.1";
        QTest::newRow("reset_pass")
            << resetPass(QStringLiteral("N3w!"), QStringLiteral("ab/cd"))
            << QByteArray("POST /API/?action=reset_pass&newpass=N3w%21&token=ab%2Fcd HTTP/1.1");
        QTest::newRow("get_vat_info cannot inject a parameter")
            << getVatInfo(QStringLiteral("RO1&valid_vat=true"))
            << QByteArray("POST /API/?action=get_vat_info&vat_no=RO1%26valid_vat%3Dtrue HTTP/1.1");

        ProfileData profile;
        profile.firstName = QStringLiteral("Ana Maria");
        profile.euResident = true;
        profile.validVat = false;
        profile.userCountry = QStringLiteral("Romania");
        profile.phone = QStringLiteral("+40 1");
        QTest::newRow("update_user_data, profile: empty values are sent empty")
            << updateUserProfile(kEmail, profile)
            << "POST /API/?action=update_user_data&email=" + e +
                   "&first_name=Ana%20Maria&last_name=&eu_resident=true&vat_number=&valid_vat=false"
                   "&user_country=Romania&phone=%2B40%201&company_name=&company_address= HTTP/1.1";
        QTest::newRow("update_user_data, one toggle: ascending, no repeats, 1..9 only")
            << updateEmailNotifications(kEmail, {9, 3, 1, 3, 12, 0})
            << "POST /API/?action=update_user_data&email=" + e + "&email_notifications=1%2C3%2C9 HTTP/1.1";
        QTest::newRow("update_user_data, last toggle off: a lone comma")
            << updateEmailNotifications(kEmail, {})
            << "POST /API/?action=update_user_data&email=" + e + "&email_notifications=%2C HTTP/1.1";
        QTest::newRow("update_user_data, all on")
            << setAllEmailNotifications(kEmail, true)
            << "POST /API/?action=update_user_data&email=" + e +
                   "&email_notifications=%2C1%2C2%2C3%2C4%2C5%2C6%2C7%2C8%2C9 HTTP/1.1";
        QTest::newRow("update_user_data, all off")
            << setAllEmailNotifications(kEmail, false)
            << "POST /API/?action=update_user_data&email=" + e + "&email_notifications=%2C%2C HTTP/1.1";
        QTest::newRow("update_user_data, running threshold as typed")
            << updateRunningThreshold(kEmail, QStringLiteral("12"))
            << "POST /API/?action=update_user_data&email=" + e +
                   "&machine_running_for_x_hours_value=12 HTTP/1.1";

        const QByteArray logs = "GET /API/?action=get_user_logs&email=" + e;
        const QByteArray machine = logs + "&resource_type=machine&resource_id=42";
        QTest::newRow("get_user_logs, account page") << getUserLogs(kEmail, LogScope::account(), 0, 15, false)
                                                     << logs + "&page=0&per_page=15 HTTP/1.1";
        QTest::newRow("get_user_logs, account e-mail: no page, no per_page")
            << getUserLogs(kEmail, LogScope::account(), -1, -1, true)
            << logs + "&send_logs_email=true HTTP/1.1";
        QTest::newRow("get_user_logs, account without numbers")
            << getUserLogs(kEmail, LogScope::account(), std::nullopt, std::nullopt, false)
            << logs + " HTTP/1.1";
        QTest::newRow("get_user_logs, computer page")
            << getUserLogs(kEmail, LogScope::machine(42), 2, 50, false)
            << machine + "&page=2&per_page=50 HTTP/1.1";
        QTest::newRow("get_user_logs, computer e-mail keeps per_page=-1")
            << getUserLogs(kEmail, LogScope::machine(42), -1, -1, true)
            << machine + "&per_page=-1&send_logs_email=true HTTP/1.1";
        QTest::newRow("get_user_logs, computer without numbers")
            << getUserLogs(kEmail, LogScope::machine(42), std::nullopt, std::nullopt, false)
            << machine + " HTTP/1.1";

        QTest::newRow("insert_vm_instance, name with a space")
            << insertVmInstance(kEmail, QStringLiteral("My Computer"), 7, QStringLiteral("admin"),
                                QStringLiteral("Pa$$ w0rd"))
            << "POST /API/?action=insert_vm_instance&email=" + e +
                   "&vm_user_instance_name=My%20Computer&template_id=7&win_username=admin"
                   "&win_password=Pa%24%24%20w0rd HTTP/1.1";
        const QByteArray vm = "&email=" + e + "&vm_id=123456789012";
        // The other actions' lines are read by the demo service, which refuses a missing or misnamed
        // parameter, in the session and views tests.
        const std::pair<const char *, ApiRequest (*)(const QString &, qint64)> operations[] = {
            {"start_user_vm_instance", startUserVmInstance},
            {"stop_user_vm_instance", stopUserVmInstance},
            {"reset_user_vm_instance", resetUserVmInstance},
            {"delete_user_vm_instance", deleteUserVmInstance},
            {"get_vm_screenshot", getVmScreenshot}};
        for (const auto &[action, make] : operations)
            QTest::newRow(action) << make(kEmail, 123456789012)
                                  << "POST /API/?action=" + QByteArray(action) + vm + " HTTP/1.1";
    }

    void requestLine()
    {
        QFETCH(ApiRequest, request);
        QFETCH(QByteArray, line);

        ApiClient client(&m_network, &m_shell);
        client.setBaseUrl(m_server.baseUrl() + QStringLiteral("/"));
        const qsizetype before = m_server.requests().size();
        int finished = 0;
        ApiHandlers handlers;
        handlers.finished = [&finished] { ++finished; };
        client.send(request, handlers);
        QTRY_COMPARE_WITH_TIMEOUT(finished, 1, 10000);
        QCOMPARE(m_server.requests().size(), before + 1);
        QCOMPARE(m_server.lastRequestLine(), line);
        // The pure description agrees with what went over the wire.
        QCOMPARE(request.methodName().toLatin1() + ' ' + request.pathAndQuery().toLatin1() + " HTTP/1.1",
                 line);
    }

    void valuesDecodeToWhatWasGiven_data()
    {
        QTest::addColumn<QString>("value");
        // Commas, "+" and "@" are in the request-line rows.
        QTest::newRow("query syntax") << QStringLiteral("a&b=c?d#e%20f");
        QTest::newRow("non-ASCII") << QStringLiteral("Ștefan Müller 東京");
    }

    void valuesDecodeToWhatWasGiven()
    {
        QFETCH(QString, value);
        ApiRequest request;
        request.action = QStringLiteral("update_user_data");
        request.add(QStringLiteral("email_notifications"), value)
            .add(QStringLiteral("x"), QStringLiteral("1"));
        const QUrl url(request.urlText(QStringLiteral("https://host")), QUrl::StrictMode);
        QVERIFY(url.isValid());
        const QUrlQuery query(url);
        QCOMPARE(query.queryItemValue(QStringLiteral("email_notifications"), QUrl::FullyDecoded), value);
        QCOMPARE(query.queryItemValue(QStringLiteral("x")), QStringLiteral("1"));
    }

    void noHeadersOfOurOwn()
    {
        ApiClient client(&m_network, &m_shell);
        client.setBaseUrl(m_server.baseUrl());
        int finished = 0;
        ApiHandlers handlers;
        handlers.finished = [&finished] { ++finished; };
        client.send(ApiRequests::listUserPayments(kEmail), handlers);
        QTRY_COMPARE_WITH_TIMEOUT(finished, 1, 10000);
        // An empty POST: a zero length and no content type (that would claim a form body).
        QCOMPARE(m_server.lastHeader("Content-Length"), QByteArray("0"));
        QVERIFY(!m_server.lastHeader("Content-Type"));
        QVERIFY(m_server.requests().constLast().body.isEmpty());

        client.send(ApiRequests::getUserData(kEmail), handlers);
        QTRY_COMPARE_WITH_TIMEOUT(finished, 2, 10000);
        QVERIFY(!m_server.lastHeader("Content-Type"));
        QVERIFY(m_server.requests().constLast().body.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestApiRequests)
#include "tst_apirequests.moc"
