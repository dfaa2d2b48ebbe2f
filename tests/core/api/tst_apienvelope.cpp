// The reply envelope as a pure function: every reply kind, every action's exceptions, the modes.
#include "api/apienvelope.h"
#include "api/apipolicy.h"
#include "api/apirequest.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QtTest>

using Kind = ApiOutcome::Kind;
using SignOut = ApiOutcome::SignOut;
using Level = Shell::Level;

Q_DECLARE_METATYPE(ApiOutcome::Kind)
Q_DECLARE_METATYPE(ApiPolicy::Mode)

namespace {

const QString kInvalidJson = QStringLiteral("Invalid JSON API response");
const QString kUnexpectedDot = QStringLiteral("Unexpected API response.");
const QString kUnexpected = QStringLiteral("Unexpected API response");

// A notice as "<level>:<text>" ("" for none), so that rows stay one line each.
QString noticeText(const ApiOutcome &outcome)
{
    if (!outcome.notice)
        return {};
    const char *level = outcome.notice->level == Level::Info      ? "I:"
                        : outcome.notice->level == Level::Warning ? "W:"
                                                                  : "E:";
    return QString::fromLatin1(level) + outcome.notice->text;
}

ApiResponse answer(int status, const QByteArray &body)
{
    ApiResponse response;
    response.status = status;
    response.statusText = QStringLiteral("Status");
    response.body = body;
    return response;
}

} // namespace

class TestApiEnvelope : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void envelope_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("notice");

        // What each action shows for each kind of reply, and who signs out on a 401, is the fault matrix's
        // table, through the action's own caller; every action's success reply is read by the views tests
        // against the demo service. These rows are the envelope's own edge cases.
        QTest::newRow("403 is not 401")
            << "get_user_data" << 403 << QByteArray() << Kind::StatusFailure << "";
        QTest::newRow("201 is not success")
            << "reset_pass" << 201 << QByteArray(R"({"success":"Done"})") << Kind::StatusFailure << "";
        QTest::newRow("empty list poll is ignored")
            << "list_user_vm_instances" << 200 << QByteArray() << Kind::Ignored << "";
        QTest::newRow("empty login is not JSON")
            << "login_user" << 0 << QByteArray() << Kind::Failed << "E:" + kInvalidJson;
        QTest::newRow("a bare JSON number is not a reply")
            << "get_user_logs" << 200 << QByteArray("42") << Kind::Failed << "E:" + kInvalidJson;
        QTest::newRow("error wins over success")
            << "reset_pass" << 200 << QByteArray(R"({"success":"x","error_message":"Nope"})") << Kind::Failed
            << "E:Nope";
        QTest::newRow("error that is not text")
            << "reset_pass" << 200 << QByteArray(R"({"error_message":17})") << Kind::Failed << "E:17";
        QTest::newRow("login other value") << "login_user" << 200 << QByteArray(R"({"login":"failed"})")
                                           << Kind::Failed << "E:" + kUnexpected;
        QTest::newRow("register: any reply")
            << "register_user" << 200 << QByteArray(R"({"user_email":"a@b"})") << Kind::Succeeded << "";
        QTest::newRow("vat info object")
            << "get_vat_info" << 200 << QByteArray(R"({"something":1})") << Kind::Succeeded << "";
        QTest::newRow("array where an object is expected")
            << "start_user_vm_instance" << 200 << QByteArray("[1]") << Kind::Failed << "W:" + kUnexpectedDot;
        QTest::newRow("invoice 0, empty body")
            << "request-invoice" << 0 << QByteArray() << Kind::Succeeded << "I:Requested invoice.";
    }

    void envelope()
    {
        QFETCH(QString, action);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(Kind, kind);
        QFETCH(QString, notice);

        const ApiOutcome outcome = ApiEnvelope::evaluate(ApiPolicy::forAction(action), answer(status, body));
        QCOMPARE(outcome.kind, kind);
        QCOMPARE(noticeText(outcome), notice);
        QCOMPARE(outcome.signOut, SignOut::None);
        // No status (a local reply) reads like 200.
        if (status == 200) {
            const ApiOutcome zero = ApiEnvelope::evaluate(ApiPolicy::forAction(action), answer(0, body));
            QCOMPARE(zero.kind, outcome.kind);
            QCOMPARE(noticeText(zero), notice);
            QCOMPARE(zero.value, outcome.value);
        }
    }

    void successValue()
    {
        auto value = [](const char *action, const QByteArray &body) {
            return ApiEnvelope::evaluate(ApiPolicy::forAction(QString::fromLatin1(action)), answer(200, body))
                .value;
        };
        QCOMPARE(value("reset_pass", R"({"success":"Done"})"), QJsonValue(QStringLiteral("Done")));
        QCOMPARE(value("insert_vm_instance", R"({"vm_id":17})"), QJsonValue(17));
        QCOMPARE(value("list_user_vm_instances", R"([{"vm_id":1}])"),
                 QJsonValue(QJsonArray{QJsonObject{{"vm_id", 1}}}));
        QCOMPARE(value("get_vat_info", "nonsense"), QJsonValue(false));
        QCOMPARE(value("get_vat_info", ""), QJsonValue(false));
        QCOMPARE(value("get_vat_info", R"({"company_name":"C"})"),
                 QJsonValue(QJsonObject{{"company_name", "C"}}));

        const ApiOutcome logs =
            ApiEnvelope::evaluate(ApiPolicy::forAction(QStringLiteral("get_user_logs")),
                                  answer(200, R"({"success":[],"total_log_entries":"3"})"));
        QCOMPARE(logs.value, QJsonValue(QJsonArray{}));
        QCOMPARE(logs.reply.toObject().value(QStringLiteral("total_log_entries")),
                 QJsonValue(QStringLiteral("3")));
    }

    void failedStatusIsLoggedAsThreeLines()
    {
        ApiResponse response = answer(503, "down for maintenance");
        response.statusText = QStringLiteral("Service Unavailable");
        const ApiOutcome outcome =
            ApiEnvelope::evaluate(ApiPolicy::forAction(QStringLiteral("reset_pass")), response);
        QCOMPARE(outcome.kind, Kind::StatusFailure);
        QCOMPARE(outcome.log.size(), 3);
        QCOMPARE(outcome.log.at(0).text, QStringLiteral("503"));
        QCOMPARE(outcome.log.at(1).text, QStringLiteral("Service Unavailable"));
        QCOMPARE(outcome.log.at(2).text, QStringLiteral("down for maintenance"));
        QVERIFY(!outcome.notice);
    }

    void modes_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<ApiPolicy::Mode>("mode");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("notice");

        QTest::newRow("polled computer action: error only logged")
            << "start_user_vm_instance" << ApiPolicy::Mode::Polling << QByteArray(R"({"error_message":"x"})")
            << "";
        QTest::newRow("polled computer action: empty only logged")
            << "start_user_vm_instance" << ApiPolicy::Mode::Polling << QByteArray() << "";
        QTest::newRow("polled: neither only logged")
            << "get_user_logs" << ApiPolicy::Mode::Polling << QByteArray("{}") << "";
        QTest::newRow("polled: not JSON only logged")
            << "get_vantorix_banners" << ApiPolicy::Mode::Polling << QByteArray("<") << "";
        QTest::newRow("interactive list: error shown")
            << "list_user_vm_instances" << ApiPolicy::Mode::Interactive
            << QByteArray(R"({"error_message":"x"})") << "E:x";
        QTest::newRow("interactive list: not JSON shown")
            << "list_user_payments" << ApiPolicy::Mode::Interactive << QByteArray("<") << "E:" + kInvalidJson;
        QTest::newRow("default keeps the action's rules") << "get_vm_screenshot" << ApiPolicy::Mode::Default
                                                          << QByteArray(R"({"error_message":"x"})") << "";
    }

    void modes()
    {
        QFETCH(QString, action);
        QFETCH(ApiPolicy::Mode, mode);
        QFETCH(QByteArray, body);
        QFETCH(QString, notice);
        const ApiOutcome outcome =
            ApiEnvelope::evaluate(ApiPolicy::forAction(action).withMode(mode), answer(200, body));
        QCOMPARE(noticeText(outcome), notice);
        QVERIFY(!outcome.log.isEmpty()); // a silenced failure still leaves a trace
    }

    void indentedByThreeSpaces()
    {
        const QJsonObject reply{{"a", 1}, {"b", QJsonArray{QJsonObject{{"c", "x\ny"}}}}};
        const QString expected = QStringLiteral("{\n"
                                                "   \"a\": 1,\n"
                                                "   \"b\": [\n"
                                                "      {\n"
                                                "         \"c\": \"x\\ny\"\n"
                                                "      }\n"
                                                "   ]\n"
                                                "}");
        QCOMPARE(ApiEnvelope::indentedJson(reply), expected);
        QCOMPARE(ApiEnvelope::indentedJson(QJsonValue(QStringLiteral("t"))), QStringLiteral("\"t\""));

        const ApiOutcome outcome = ApiEnvelope::evaluate(ApiPolicy::forAction(QStringLiteral("reset_pass")),
                                                         answer(200, R"({"a":1})"));
        QCOMPARE(outcome.log.size(), 1);
        QCOMPARE(outcome.log.constFirst().text, QStringLiteral("{\n   \"a\": 1\n}"));
    }

    void redaction_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("login") << "https://h/API/?action=login_user&usr=a%40b&pwd=S3cr%26t"
                               << "https://h/API/?action=login_user&usr=a%40b&pwd=***";
        QTest::newRow("reset") << "/API/?action=reset_pass&newpass=abc&token=t0k"
                               << "/API/?action=reset_pass&newpass=***&token=***";
        QTest::newRow("windows password in the middle") << "/API/?action=x&win_password=pw&email=e"
                                                        << "/API/?action=x&win_password=***&email=e";
        QTest::newRow("inside an error text")
            << "Error transferring http://h/API/?action=login_user&pwd=abc - server replied: Bad"
            << "Error transferring http://h/API/?action=login_user&pwd=*** - server replied: Bad";
        QTest::newRow("similar keys stay") << "/API/?action=x&pwdx=1&my_token=2"
                                           << "/API/?action=x&pwdx=1&my_token=2";
        QTest::newRow("empty secret") << "/API/?action=x&pwd="
                                      << "/API/?action=x&pwd=***";
    }

    void redaction()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(ApiRedaction::redact(text), expected);
    }

    void longBodiesAreShortenedInTheLog()
    {
        const QByteArray body(100000, 'x');
        const QString logged = ApiEnvelope::bodyForLog(body);
        QVERIFY(logged.size() < 5000);
        QVERIFY(logged.contains(QStringLiteral("100000 bytes")));
        QCOMPARE(ApiEnvelope::bodyForLog(QByteArray()), QStringLiteral("(empty body)"));
    }
};

QTEST_GUILESS_MAIN(TestApiEnvelope)
#include "tst_apienvelope.moc"
