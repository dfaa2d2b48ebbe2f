// Every action's refusals, parameter decoding, the loose and the update forms, the log by e-mail.
#include "servicetestkit.h"

#include <QtTest>

namespace {
const QByteArray kEmail = "&email=demo@vantorix.example";

void addRow(const char *name, const char *method, const QByteArray &query, const char *expected,
            int status = 200)
{
    QTest::newRow(name) << QByteArray(method) << query << QString(expected) << status;
}
} // namespace

class ServiceApiTest : public QObject {
    Q_OBJECT

    [[nodiscard]] QJsonObject userData()
    {
        return kit.demo("GET", "get_user_data").value("user_data").toObject();
    }
    ServiceTestKit kit;

private Q_SLOTS:
    void refusals_data()
    {
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<QByteArray>("query");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("status");
        const QByteArray &e = kEmail;
        const QByteArray insert = "insert_vm_instance" + e + "&vm_user_instance_name=Lab";
        const QByteArray profile = "update_user_data" + e;
        const QByteArray signUp = "register_user&pwd=Abc-12345&first_name=A&last_name=B&eu_resident=";
        addRow("no action", "GET", "", "No action");
        addRow("unknown action", "POST", "list_everything" + e, "Unknown action");
        addRow("wrong method", "GET", "list_user_vm_instances" + e, "must be sent with POST");
        addRow("POST for a GET action", "POST", "get_user_data" + e, "must be sent with GET");
        addRow("missing email", "POST", "list_user_vm_instances", "Missing parameter: email");
        addRow("inactive account", "POST", "list_user_vm_instances&email=inactive@vantorix.example",
               "not been activated");
        addRow("vm_id not a number", "POST", "start_user_vm_instance" + e + "&vm_id=abc", "whole number");
        addRow("vm_id of another account", "POST", "start_user_vm_instance" + e + "&vm_id=111",
               "does not belong");
        addRow("vm_id missing", "POST", "stop_user_vm_instance" + e, "Missing parameter: vm_id");
        // Power actions the computer's status does not allow (the seed: 101 runs, 103 is stopped, 108
        // deleted).
        addRow("start running", "POST", "start_user_vm_instance" + e + "&vm_id=101", "already running");
        addRow("stop stopped", "POST", "stop_user_vm_instance" + e + "&vm_id=103", "not running");
        addRow("reboot stopped", "POST", "reset_user_vm_instance" + e + "&vm_id=103", "only be rebooted");
        addRow("start deleted", "POST", "start_user_vm_instance" + e + "&vm_id=108", "deleted");
        addRow("delete deleted", "POST", "delete_user_vm_instance" + e + "&vm_id=108", "deleted");
        addRow("favourite not boolean", "POST", "set_favourite_vm_instance" + e + "&vm_id=101&favourite=yes",
               "true or false");
        addRow("rename with hyphen", "POST",
               "edit_user_vm_instance" + e + "&vm_id=101&vm_user_instance_name=My-PC", "special characters");
        addRow("weak windows password", "POST",
               "reset_win_password_user_vm_instance" + e + "&vm_id=101&win_password=abc", "eight characters");
        addRow("preview of stopped machine", "POST", "get_vm_screenshot" + e + "&vm_id=103", "not running");
        addRow("insert without template", "POST", insert + "&win_username=alice&win_password=Secret-Pass1",
               "Missing parameter: template_id");
        addRow("insert unknown template", "POST",
               insert + "&template_id=99&win_username=alice&win_password=Secret-Pass1",
               "Unknown machine type");
        addRow("insert user name Windows refuses", "POST",
               insert + "&template_id=3&win_username=al%3Aice&win_password=Secret-Pass1",
               "characters Windows does not allow");
        addRow("insert user name with a line break", "POST",
               insert + "&template_id=3&win_username=al%0Aice&win_password=Secret-Pass1",
               "characters Windows does not allow");
        addRow("insert password holding the user name", "POST",
               insert + "&template_id=1&win_username=alice&win_password=Alice-Pass1",
               "must not contain the user name");
        addRow("purchase below minimum", "POST", "initiate_payment" + e + "&amount=5", "minimum purchase");
        addRow("purchase not whole", "POST", "initiate_payment" + e + "&amount=10.5", "whole number");
        addRow("logs per_page zero", "GET", "get_user_logs" + e + "&page=0&per_page=0", "per_page");
        addRow("logs without paging: no defaults", "GET", "get_user_logs" + e, "Missing parameter: page");
        addRow("logs without per_page", "GET", "get_user_logs" + e + "&page=0",
               "Missing parameter: per_page");
        addRow("logs wrong resource", "GET", "get_user_logs" + e + "&resource_type=disk&resource_id=101",
               "Unknown resource type");
        addRow("profile VAT number not trimmed", "POST",
               profile +
                   "&first_name=A&last_name=B&eu_resident=false&vat_number=%20DE123456789&valid_vat=false"
                   "&user_country=Germany&phone=&company_name=&company_address=",
               "capitals without spaces");
        addRow("profile missing key", "POST", profile + "&first_name=A&last_name=B", "Missing parameter");
        addRow("unknown e-mail notification", "POST", profile + "&email_notifications=1%2C12",
               "Unknown e-mail notification");
        addRow("hours out of range", "POST", profile + "&machine_running_for_x_hours_value=0", "1 to 99");
        addRow("hours not whole", "POST", profile + "&machine_running_for_x_hours_value=2.5", "1 to 99");
        addRow("wrong password", "POST", "login_user&usr=demo&pwd=wrong", "Incorrect username or password");
        addRow("sign-in before activation", "POST", "login_user&usr=inactive&pwd=Demo-Pass1%21",
               "not activated");
        addRow("bad reset code", "POST", "reset_pass&newpass=New-Pass1%21&token=nope",
               "invalid or has expired");
        addRow("sign-up VAT number not upper-cased", "POST",
               signUp + "false&usr=vat&email=vat%40x.example&vat_number=de123456789&valid_vat=false",
               "capitals without spaces");
        addRow("duplicate e-mail", "POST",
               signUp + "false&usr=other&email=demo%40vantorix.example&valid_vat=false", "already exists");
        addRow("EU exemption without VAT", "POST",
               signUp + "true&usr=eu&email=eu%40x.example&valid_vat=false", "validated VAT");
        addRow("unknown account: like a closed one", "POST", "list_user_vm_instances&email=nobody@x.example",
               "", 401);
        addRow("closed account", "POST", "list_user_vm_instances&email=closed@vantorix.example", "", 401);
        addRow("invoice for pending payment", "POST", "request-invoice" + e + "&payment_id=5005", "", 409);
        addRow("invoice already sent", "POST", "request-invoice" + e + "&payment_id=5001", "", 409);
        addRow("invoice of another account's payment", "POST", "request-invoice" + e + "&payment_id=9", "",
               404);
        addRow("invoice without payment id", "POST", "request-invoice" + e, "", 400);
    }

    void refusals()
    {
        QFETCH(QByteArray, method);
        QFETCH(QByteArray, query);
        QFETCH(QString, expected);
        QFETCH(int, status);
        const auto reply = kit.api(method, query);
        QCOMPARE(reply.status, status);
        const QString message = reply.value("error_message").toString();
        QVERIFY2(!message.isEmpty() && message.contains(expected), qPrintable(message + " / " + reply.body));
    }

    void plusInEmailMustBeEncoded()
    {
        // A raw '+' is a space to a form-decoding server: the client must encode it.
        const auto raw = kit.api("POST", "list_user_vm_instances&email=demo+plus@vantorix.example");
        QCOMPARE(raw.status, 401);
        QVERIFY(raw.value("error_message").toString().contains("demo plus@"));
    }

    void countriesFlagEveryEuMember()
    {
        const QJsonArray list = kit.api("GET", "get_vatsense_rates").array();
        int eu = 0;
        bool hasNonEu = false;
        for (const QJsonValue &v : list) {
            const QJsonObject c = v.toObject();
            QVERIFY(c.contains("country_name") && c.contains("tax_rate"));
            // Loosely typed: a flag as a boolean, a number or a text.
            const QJsonValue flag = c.value("is_eu_country");
            const QString text = flag.isString() ? flag.toString()
                                 : flag.isBool() ? (flag.toBool() ? "true" : "")
                                                 : QString::number(flag.toInt());
            (text == "1" || text == "true" || text == "yes") ? ++eu : (hasNonEu = true, 0);
        }
        QCOMPARE(eu, 27);
        QVERIFY(hasNonEu);
    }

    void vatLookup()
    {
        const auto valid = kit.api("POST", "get_vat_info&vat_no=DE123456789");
        QCOMPARE(valid.value("country_name").toString(), QString("Germany"));
        QVERIFY(!valid.value("company_name").toString().isEmpty());
        // Unknown: a page that is not JSON. Looked up exactly as sent (the client normalises the number
        // itself), and a raw '&' in the number ends the value: the service sees only "DE1".
        for (const QByteArray &number : {QByteArray("XX000"), QByteArray("de123456789"),
                                         QByteArray("DE123456789%20"), QByteArray("DE1&23456789")}) {
            const auto invalid = kit.api("POST", "get_vat_info&vat_no=" + number);
            QCOMPARE(invalid.status, 200);
            QVERIFY(!invalid.body.isEmpty());
            QVERIFY2(!invalid.isJson(), number.constData());
        }
    }

    void screenshotsDifferEachCall()
    {
        kit.control("reset");
        const QJsonObject first = kit.demo("POST", "get_vm_screenshot", "&vm_id=101").object();
        const QJsonObject second = kit.demo("POST", "get_vm_screenshot", "&vm_id=101").object();
        QVERIFY(first.contains("success"));
        const QByteArray png = QByteArray::fromBase64(first.value("b64_screenshot").toString().toLatin1());
        QImage image;
        QVERIFY(image.loadFromData(png, "PNG"));
        QVERIFY(image.width() > 100);
        QVERIFY(first.value("b64_screenshot") != second.value("b64_screenshot"));
    }

    void profileFormDecodesPlusAndPercent()
    {
        const QByteArray form =
            "&first_name=Anna+Maria&last_name=O%27Neil%2BCo&eu_resident=false&vat_number="
            "&valid_vat=false&user_country=Romania&phone=%2B40.123&company_name=&company_address=";
        QVERIFY(kit.demo("POST", "update_user_data", form).has("success"));
        const QJsonObject data =
            kit.api("POST", "login_user&usr=demo&pwd=Demo-Pass1%21").value("data").toObject();
        QCOMPARE(data.value("first_name").toString(), QString("Anna Maria"));
        QCOMPARE(data.value("last_name").toString(), QString("O'Neil+Co"));
        QCOMPARE(data.value("phone").toString(), QString("+40.123"));
        QCOMPARE(data.value("user_country").toString(), QString("Romania"));
        // The running-time threshold is a form of its own.
        QVERIFY(kit.demo("POST", "update_user_data", "&machine_running_for_x_hours_value=24").has("success"));
        QCOMPARE(userData().value("machine_running_for_x_hours_value").toString(), QString("24"));
        // An EU exemption needs a number that the look-up validated.
        const QByteArray exempt =
            "&first_name=A&last_name=B&eu_resident=true&vat_number=DE123456789&valid_vat=true"
            "&user_country=Germany&phone=&company_name=X&company_address=Y";
        QVERIFY(kit.demo("POST", "update_user_data", exempt).has("success"));
        QCOMPARE(userData().value("valid_vat").toString(), QString("1"));
    }

    void emailNotificationForms_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QList<int>>("on");
        QTest::newRow("list") << QByteArray("1%2C3%2C9") << QList<int>{1, 3, 9};
        QTest::newRow("lone comma turns all off") << QByteArray("%2C") << QList<int>{};
        QTest::newRow("all on, master form")
            << QByteArray(",1%2C2%2C3%2C4%2C5%2C6%2C7%2C8%2C9") << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9};
        QTest::newRow("all off, master form") << QByteArray(",%2C") << QList<int>{};
        QTest::newRow("empty list is ignored") << QByteArray("") << QList<int>{1, 3, 5, 9};
    }

    void emailNotificationForms()
    {
        QFETCH(QByteArray, value);
        QFETCH(QList<int>, on);
        kit.control("reset");
        QVERIFY(kit.demo("POST", "update_user_data", "&email_notifications=" + value).has("success"));
        const QJsonObject emails = userData().value("email_notifications").toObject();
        const char *keys[] = {"credits_purchase", "credits_depleted", "low_credit",
                              "machine_created",  "machine_started",  "machine_stopped",
                              "machine_reset",    "machine_deleted",  "machine_running_for_x_hours"};
        for (int n = 1; n <= 9; ++n)
            QCOMPARE(emails.value(keys[n - 1]).toString(), on.contains(n) ? QString("1") : QString("0"));
    }

    void machineLogByEmail()
    {
        const int mailsBefore = kit.outbox().size();
        const auto mail = kit.demo("GET", "get_user_logs",
                                   "&resource_type=machine&resource_id=101&per_page=-1&send_logs_email=true");
        QVERIFY(mail.value("success").isString());
        const QJsonArray outbox = kit.outbox();
        QCOMPARE(outbox.size(), mailsBefore + 1);
        QCOMPARE(outbox.last().toObject().value("to").toString(), QString(ServiceTestKit::kDemoEmail));
        QVERIFY(kit.demo("GET", "get_user_logs", "&send_logs_email=true").value("success").isString());
    }

    void passwordResetRoundTrip()
    {
        QVERIFY(kit.api("POST", "get_reset_pass_token&user_email=nobody%40x.example").has("success"));
        QVERIFY(kit.api("POST", "get_reset_pass_token&user_email=demo").has("success"));
        const QString body = kit.outbox().last().toObject().value("body").toString();
        const QString code = QRegularExpression("code is (\\w+)").match(body).captured(1);
        QVERIFY(!code.isEmpty());
        QVERIFY(kit.api("POST", "reset_pass&newpass=short&token=" + code.toLatin1()).has("error_message"));
        QVERIFY(kit.api("POST", "reset_pass&newpass=Brand-New1%21&token=" + code.toLatin1()).has("success"));
        QVERIFY(kit.api("POST", "reset_pass&newpass=Brand-New1%21&token=" + code.toLatin1())
                    .has("error_message")); // once only
        kit.control("reset");
    }

    void looseAccountForms()
    {
        const QByteArray e = "&email=loose%40vantorix.example";
        const QJsonObject data =
            kit.api("POST", "login_user&usr=loose&pwd=Demo-Pass1%21").value("data").toObject();
        QVERIFY(data.value("ID").isDouble() && data.value("user_credit").isDouble());
        QVERIFY(data.value("first_name").isNull() && !data.contains("last_name"));
        QVERIFY(data.value("vat_number").isNull() && data.value("user_country").isNull());
        QVERIFY(data.contains("machine_running_for_x_hours_value") &&
                data.value("machine_running_for_x_hours_value").isNull());
        // The e-mail choices use every flag form: at least a text, a boolean and a number.
        QSet<int> types;
        for (const QJsonValue &v : data.value("email_notifications").toObject())
            types.insert(int(v.type()));
        QVERIFY(types.contains(QJsonValue::String) && types.contains(QJsonValue::Bool) &&
                types.contains(QJsonValue::Double));
        const QJsonObject user = kit.api("GET", "get_user_data" + e).value("user_data").toObject();
        QVERIFY(user.value("user_credit").isDouble() && user.value("has_owned_credits").isBool());

        // Computers: a list; numbers where the demo account has texts and the other way round.
        const QJsonArray computers = kit.api("POST", "list_user_vm_instances" + e).array();
        QCOMPARE(computers.size(), 7);
        QStringList statuses;
        QSet<int> favouriteTypes;
        int nullAddress = 0, noAddress = 0;
        for (const QJsonValue &v : computers) {
            const QJsonObject c = v.toObject();
            QVERIFY(c.value("vm_id").isString() && c.value("template_id").isDouble());
            QVERIFY(c.value("gce_start_time").isDouble() && c.value("vm_rate").isDouble());
            QVERIFY(!c.contains("vm_price_history_string") || c.value("vm_price_history_string").isString());
            favouriteTypes.insert(int(c.value("favourite").type()));
            nullAddress += c.contains("rdp_public_address") && c.value("rdp_public_address").isNull();
            noAddress += !c.contains("rdp_public_address");
            statuses.append(c.value("status").toString());
        }
        QCOMPARE(favouriteTypes.size(), 3);
        QVERIFY(nullAddress > 0 && noAddress > 0);
        QVERIFY(statuses.contains("hibernating") && statuses.contains(QString()));

        QVERIFY(
            kit.api("GET", "get_user_logs" + e + "&page=0&per_page=5").value("total_log_entries").isString());
        QVERIFY(kit.api("POST", "get_vatsense_tax_rate_ro" + e).value("vat_tax_rate_ro").isDouble());

        // Its own templates only, both ways; a new computer's id comes as a number.
        const QByteArray form = "&vm_user_instance_name=Lab&win_username=alice&win_password=Secret-Pass1";
        QVERIFY(kit.api("POST", "insert_vm_instance" + e + form + "&template_id=3").has("error_message"));
        QVERIFY(kit.demo("POST", "insert_vm_instance", form + "&template_id=100").has("error_message"));
        QVERIFY(
            kit.api("POST", "insert_vm_instance" + e + form + "&template_id=100").value("vm_id").isDouble());
        // The demo account's forms are untouched.
        QCOMPARE(kit.demo("POST", "list_available_vm_templates").array().size(), 8);
    }
};

QTEST_MAIN(ServiceApiTest)
#include "tst_service_api.moc"
