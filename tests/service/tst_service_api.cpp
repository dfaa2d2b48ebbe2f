// Every action's happy path and its refusals, parameter decoding, the update forms and log paging.
#include "servicetestkit.h"

#include <QtTest>

class ServiceApiTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void refusals_data();
    void refusals();
    void refusedByStatus_data();
    void refusedByStatus();
    void closedAccountIsUnauthorized();
    void plusInEmailMustBeEncoded();
    void signInByUserNameOrEmail();
    void happyPaths_data();
    void happyPaths();
    void countriesFlagEveryEuMember();
    void vatLookup();
    void templatesComeInRegularSpotPairs();
    void screenshotsDifferEachCall();
    void profileFormDecodesPlusAndPercent();
    void emailNotificationForms_data();
    void emailNotificationForms();
    void runningHoursThreshold();
    void accountLogPaging();
    void machineLogAndEmailExport();
    void passwordResetRoundTrip();
    void looseAccountForms();

private:
    [[nodiscard]] QJsonObject userData()
    {
        return kit.demo("GET", "get_user_data").object().value("user_data").toObject();
    }
    ServiceTestKit kit;
};

void ServiceApiTest::refusals_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<QString>("expected");
    const QByteArray e = "&email=demo@vantorix.example";
    QTest::newRow("no action") << QByteArray("GET") << QByteArray("") << "No action";
    QTest::newRow("unknown action") << QByteArray("POST") << QByteArray("list_everything" + e)
                                    << "Unknown action";
    QTest::newRow("wrong method") << QByteArray("GET") << QByteArray("list_user_vm_instances" + e)
                                  << "must be sent with POST";
    QTest::newRow("POST for a GET action")
        << QByteArray("POST") << QByteArray("get_user_data" + e) << "must be sent with GET";
    QTest::newRow("missing email") << QByteArray("POST") << QByteArray("list_user_vm_instances")
                                   << "Missing parameter: email";
    QTest::newRow("inactive account")
        << QByteArray("POST") << QByteArray("list_user_vm_instances&email=inactive@vantorix.example")
        << "not been activated";
    QTest::newRow("vm_id not a number")
        << QByteArray("POST") << QByteArray("start_user_vm_instance" + e + "&vm_id=abc") << "whole number";
    QTest::newRow("vm_id of another account")
        << QByteArray("POST") << QByteArray("start_user_vm_instance" + e + "&vm_id=111") << "does not belong";
    QTest::newRow("vm_id missing") << QByteArray("POST") << QByteArray("stop_user_vm_instance" + e)
                                   << "Missing parameter: vm_id";
    QTest::newRow("favourite not boolean")
        << QByteArray("POST") << QByteArray("set_favourite_vm_instance" + e + "&vm_id=101&favourite=yes")
        << "true or false";
    QTest::newRow("rename with hyphen")
        << QByteArray("POST")
        << QByteArray("edit_user_vm_instance" + e + "&vm_id=101&vm_user_instance_name=My-PC")
        << "special characters";
    QTest::newRow("weak windows password")
        << QByteArray("POST")
        << QByteArray("reset_win_password_user_vm_instance" + e + "&vm_id=101&win_password=abc")
        << "eight characters";
    QTest::newRow("preview of stopped machine")
        << QByteArray("POST") << QByteArray("get_vm_screenshot" + e + "&vm_id=103") << "not running";
    QTest::newRow("insert without template")
        << QByteArray("POST")
        << QByteArray("insert_vm_instance" + e +
                      "&vm_user_instance_name=Lab%20One&win_username=alice&win_password=Secret-Pass1")
        << "Missing parameter: template_id";
    QTest::newRow("insert unknown template")
        << QByteArray("POST")
        << QByteArray(
               "insert_vm_instance" + e +
               "&vm_user_instance_name=Lab&template_id=99&win_username=alice&win_password=Secret-Pass1")
        << "Unknown machine type";
    QTest::newRow("insert user name Windows refuses")
        << QByteArray("POST")
        << QByteArray("insert_vm_instance" + e +
                      "&vm_user_instance_name=Lab&template_id=3&win_username=al%3Aice&win_password=Secret-Pass1")
        << "characters Windows does not allow";
    QTest::newRow("insert user name with a line break")
        << QByteArray("POST")
        << QByteArray("insert_vm_instance" + e +
                      "&vm_user_instance_name=Lab&template_id=3&win_username=al%0Aice&win_password=Secret-Pass1")
        << "characters Windows does not allow";
    QTest::newRow("purchase below minimum")
        << QByteArray("POST") << QByteArray("initiate_payment" + e + "&amount=5") << "minimum purchase";
    QTest::newRow("purchase not whole")
        << QByteArray("POST") << QByteArray("initiate_payment" + e + "&amount=10.5") << "whole number";
    QTest::newRow("logs per_page zero")
        << QByteArray("GET") << QByteArray("get_user_logs" + e + "&page=0&per_page=0") << "per_page";
    QTest::newRow("logs without paging: no defaults")
        << QByteArray("GET") << QByteArray("get_user_logs" + e) << "Missing parameter: page";
    QTest::newRow("logs without per_page")
        << QByteArray("GET") << QByteArray("get_user_logs" + e + "&page=0") << "Missing parameter: per_page";
    QTest::newRow("profile VAT number not trimmed")
        << QByteArray("POST")
        << QByteArray("update_user_data" + e +
                      "&first_name=A&last_name=B&eu_resident=false&vat_number=%20DE123456789&valid_vat=false"
                      "&user_country=Germany&phone=&company_name=&company_address=")
        << "capitals without spaces";
    QTest::newRow("sign-up VAT number not upper-cased")
        << QByteArray("POST")
        << QByteArray("register_user&usr=vat&pwd=Abc-12345&email=vat%40x.example&first_name=A&last_name=B&eu_"
                      "resident=false&vat_number=de123456789&valid_vat=false")
        << "capitals without spaces";
    QTest::newRow("logs wrong resource")
        << QByteArray("GET") << QByteArray("get_user_logs" + e + "&resource_type=disk&resource_id=101")
        << "Unknown resource type";
    QTest::newRow("profile missing key")
        << QByteArray("POST") << QByteArray("update_user_data" + e + "&first_name=A&last_name=B")
        << "Missing parameter";
    QTest::newRow("unknown e-mail notification")
        << QByteArray("POST") << QByteArray("update_user_data" + e + "&email_notifications=1%2C12")
        << "Unknown e-mail notification";
    QTest::newRow("hours out of range")
        << QByteArray("POST") << QByteArray("update_user_data" + e + "&machine_running_for_x_hours_value=0")
        << "1 to 99";
    QTest::newRow("wrong password") << QByteArray("POST") << QByteArray("login_user&usr=demo&pwd=wrong")
                                    << "Incorrect username or password";
    QTest::newRow("sign-in before activation")
        << QByteArray("POST") << QByteArray("login_user&usr=inactive&pwd=Demo-Pass1%21") << "not activated";
    QTest::newRow("bad reset code") << QByteArray("POST")
                                    << QByteArray("reset_pass&newpass=New-Pass1%21&token=nope")
                                    << "invalid or has expired";
    QTest::newRow("duplicate e-mail")
        << QByteArray("POST")
        << QByteArray("register_user&usr=other&pwd=Abc-12345&email=demo%40vantorix.example&first_name=A&last_"
                      "name=B&eu_resident=false&valid_vat=false")
        << "already exists";
    QTest::newRow("EU exemption without VAT")
        << QByteArray("POST")
        << QByteArray("register_user&usr=eu&pwd=Abc-12345&email=eu%40x.example&first_name=A&last_name=B&eu_"
                      "resident=true&valid_vat=false")
        << "validated VAT";
}

void ServiceApiTest::refusals()
{
    QFETCH(QByteArray, method);
    QFETCH(QByteArray, query);
    QFETCH(QString, expected);
    const auto reply = kit.api(method, query);
    QCOMPARE(reply.status, 200);
    const QString message = reply.object().value("error_message").toString();
    QVERIFY2(message.contains(expected), qPrintable(message + " / " + reply.body));
}

void ServiceApiTest::refusedByStatus_data()
{
    QTest::addColumn<QByteArray>("query");
    QTest::addColumn<int>("status");
    const QByteArray e = "&email=demo@vantorix.example";
    QTest::newRow("unknown account: like a closed one")
        << QByteArray("list_user_vm_instances&email=nobody@x.example") << 401;
    QTest::newRow("invoice for pending payment")
        << QByteArray("request-invoice" + e + "&payment_id=5005") << 409;
    QTest::newRow("invoice already sent") << QByteArray("request-invoice" + e + "&payment_id=5001") << 409;
    QTest::newRow("invoice of another account's payment")
        << QByteArray("request-invoice" + e + "&payment_id=9") << 404;
    QTest::newRow("invoice without payment id") << QByteArray("request-invoice" + e) << 400;
}

void ServiceApiTest::refusedByStatus()
{
    QFETCH(QByteArray, query);
    QFETCH(int, status);
    const auto reply = kit.api("POST", query);
    QCOMPARE(reply.status, status);
    QVERIFY(reply.object().contains("error_message"));
}

void ServiceApiTest::closedAccountIsUnauthorized()
{
    const auto reply = kit.api("POST", "list_user_vm_instances&email=closed@vantorix.example");
    QCOMPARE(reply.status, 401);
}

void ServiceApiTest::plusInEmailMustBeEncoded()
{
    // A raw '+' is a space to a form-decoding server: the client must encode it.
    const auto raw = kit.api("POST", "list_user_vm_instances&email=demo+plus@vantorix.example");
    QCOMPARE(raw.status, 401);
    QVERIFY(raw.object().value("error_message").toString().contains("demo plus@"));
    const auto encoded = kit.api("POST", "list_user_vm_instances&email=demo%2Bplus%40vantorix.example");
    QVERIFY(!encoded.object().contains("error_message"));
    QCOMPARE(encoded.object().size(), 1);
}

void ServiceApiTest::signInByUserNameOrEmail()
{
    for (const QByteArray &id : {QByteArray("demo"), QByteArray("demo%40vantorix.example")}) {
        const QJsonObject reply = kit.api("POST", "login_user&usr=" + id + "&pwd=Demo-Pass1%21").object();
        QCOMPARE(reply.value("login").toString(), QString("success"));
        const QJsonObject data = reply.value("data").toObject();
        QCOMPARE(data.value("user_email").toString(), QString(ServiceTestKit::kDemoEmail));
        for (const char *key : {"ID", "user_login", "user_nicename", "user_url", "user_registered",
                                "user_activation_key", "user_status", "display_name", "user_credit"})
            QVERIFY2(data.contains(key), key);
        QVERIFY(data.value("user_credit").isString()); // loosely typed, like the real service
    }
}

void ServiceApiTest::happyPaths_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QByteArray>("action");
    QTest::addColumn<QByteArray>("extra");
    QTest::addColumn<QString>("key");
    QTest::newRow("user data") << QByteArray("GET") << QByteArray("get_user_data") << QByteArray()
                               << "user_data";
    QTest::newRow("banners") << QByteArray("GET") << QByteArray("get_vantorix_banners") << QByteArray()
                             << "banners";
    QTest::newRow("seller VAT") << QByteArray("POST") << QByteArray("get_vatsense_tax_rate_ro")
                                << QByteArray() << "vat_tax_rate_ro";
    QTest::newRow("start") << QByteArray("POST") << QByteArray("start_user_vm_instance")
                           << QByteArray("&vm_id=103") << "success";
    QTest::newRow("stop") << QByteArray("POST") << QByteArray("stop_user_vm_instance")
                          << QByteArray("&vm_id=102") << "success";
    QTest::newRow("reboot") << QByteArray("POST") << QByteArray("reset_user_vm_instance")
                            << QByteArray("&vm_id=101") << "success";
    QTest::newRow("delete") << QByteArray("POST") << QByteArray("delete_user_vm_instance")
                            << QByteArray("&vm_id=109") << "success";
    QTest::newRow("favourite") << QByteArray("POST") << QByteArray("set_favourite_vm_instance")
                               << QByteArray("&vm_id=103&favourite=true") << "success";
    QTest::newRow("rename with space")
        << QByteArray("POST") << QByteArray("edit_user_vm_instance")
        << QByteArray("&vm_id=103&vm_user_instance_name=My%20PC%201") << "success";
    QTest::newRow("windows password")
        << QByteArray("POST") << QByteArray("reset_win_password_user_vm_instance")
        << QByteArray("&vm_id=103&win_password=Fresh-Pass9") << "success";
    QTest::newRow("insert")
        << QByteArray("POST") << QByteArray("insert_vm_instance")
        << QByteArray(
               "&vm_user_instance_name=Lab%20One&template_id=3&win_username=alice&win_password=Secret-Pass1")
        << "vm_id";
    QTest::newRow("purchase") << QByteArray("POST") << QByteArray("initiate_payment")
                              << QByteArray("&amount=10") << "paypal_payment_link";
    QTest::newRow("invoice") << QByteArray("POST") << QByteArray("request-invoice")
                             << QByteArray("&payment_id=5003") << "success";
    QTest::newRow("logs") << QByteArray("GET") << QByteArray("get_user_logs")
                          << QByteArray("&page=0&per_page=15") << "total_log_entries";
}

void ServiceApiTest::happyPaths()
{
    QFETCH(QByteArray, method);
    QFETCH(QByteArray, action);
    QFETCH(QByteArray, extra);
    QFETCH(QString, key);
    const auto reply = kit.demo(method, action, extra);
    QCOMPARE(reply.status, 200);
    QVERIFY2(reply.object().contains(key), reply.body.constData());
    QVERIFY(!reply.object().contains("error_message"));
}

void ServiceApiTest::countriesFlagEveryEuMember()
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

void ServiceApiTest::vatLookup()
{
    const auto valid = kit.api("POST", "get_vat_info&vat_no=DE123456789");
    QCOMPARE(valid.object().value("country_name").toString(), QString("Germany"));
    QVERIFY(!valid.object().value("company_name").toString().isEmpty());
    const auto invalid = kit.api("POST", "get_vat_info&vat_no=XX000");
    QCOMPARE(invalid.status, 200);
    QVERIFY(!invalid.body.isEmpty());
    QVERIFY(!invalid.isJson());
    // Looked up exactly as sent: the client normalises the number itself.
    QVERIFY(!kit.api("POST", "get_vat_info&vat_no=de123456789").isJson());
    QVERIFY(!kit.api("POST", "get_vat_info&vat_no=DE123456789%20").isJson());
    // A raw '&' in the number ends the value: the service sees only "DE1".
    QVERIFY(!kit.api("POST", "get_vat_info&vat_no=DE1&23456789").isJson());
}

void ServiceApiTest::templatesComeInRegularSpotPairs()
{
    const QJsonArray list = kit.demo("POST", "list_available_vm_templates").array();
    QVERIFY(list.size() >= 4 && list.size() % 2 == 0);
    for (int i = 0; i < list.size(); i += 2) {
        const QString regular = list.at(i).toObject().value("name").toString();
        QCOMPARE(list.at(i + 1).toObject().value("name").toString(), regular + "-spot");
        const QString spec = list.at(i).toObject().value("spec_description").toString();
        QVERIFY2(spec.contains("](" + kit.base() + "/"), qPrintable(spec)); // a Markdown link to this host
    }
}

void ServiceApiTest::screenshotsDifferEachCall()
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

void ServiceApiTest::profileFormDecodesPlusAndPercent()
{
    const QByteArray form =
        "&first_name=Anna+Maria&last_name=O%27Neil%2BCo&eu_resident=false&vat_number="
        "&valid_vat=false&user_country=Romania&phone=%2B40.123&company_name=&company_address=";
    QVERIFY(kit.demo("POST", "update_user_data", form).object().contains("success"));
    const QJsonObject data =
        kit.api("POST", "login_user&usr=demo&pwd=Demo-Pass1%21").object().value("data").toObject();
    QCOMPARE(data.value("first_name").toString(), QString("Anna Maria"));
    QCOMPARE(data.value("last_name").toString(), QString("O'Neil+Co"));
    QCOMPARE(data.value("phone").toString(), QString("+40.123"));
    QCOMPARE(data.value("user_country").toString(), QString("Romania"));
    // An EU exemption needs a number that the look-up validated.
    const QByteArray exempt =
        "&first_name=A&last_name=B&eu_resident=true&vat_number=DE123456789&valid_vat=true"
        "&user_country=Germany&phone=&company_name=X&company_address=Y";
    QVERIFY(kit.demo("POST", "update_user_data", exempt).object().contains("success"));
    QCOMPARE(userData().value("valid_vat").toString(), QString("1"));
}

void ServiceApiTest::emailNotificationForms_data()
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

void ServiceApiTest::emailNotificationForms()
{
    QFETCH(QByteArray, value);
    QFETCH(QList<int>, on);
    kit.control("reset");
    QVERIFY(
        kit.demo("POST", "update_user_data", "&email_notifications=" + value).object().contains("success"));
    const QJsonObject emails = userData().value("email_notifications").toObject();
    const char *keys[] = {"credits_purchase", "credits_depleted", "low_credit",
                          "machine_created",  "machine_started",  "machine_stopped",
                          "machine_reset",    "machine_deleted",  "machine_running_for_x_hours"};
    for (int n = 1; n <= 9; ++n)
        QCOMPARE(emails.value(keys[n - 1]).toString(), on.contains(n) ? QString("1") : QString("0"));
}

void ServiceApiTest::runningHoursThreshold()
{
    QVERIFY(kit.demo("POST", "update_user_data", "&machine_running_for_x_hours_value=24")
                .object()
                .contains("success"));
    QCOMPARE(userData().value("machine_running_for_x_hours_value").toString(), QString("24"));
    QVERIFY(kit.demo("POST", "update_user_data", "&machine_running_for_x_hours_value=2.5")
                .object()
                .contains("error_message"));
}

void ServiceApiTest::accountLogPaging()
{
    const QJsonObject first = kit.demo("GET", "get_user_logs", "&page=0&per_page=15").object();
    const int total = first.value("total_log_entries").toInt();
    QVERIFY(total >= 60);
    const QJsonArray page = first.value("success").toArray();
    QCOMPARE(page.size(), 15);
    for (const char *key : {"timezone", "operation_datetime", "details"})
        QVERIFY(page.first().toObject().contains(key));
    QVERIFY(page.at(0).toObject().value("operation_datetime").toString() >=
            page.at(14).toObject().value("operation_datetime").toString()); // newest first
    const int lastPage = total / 15;
    const QJsonArray last =
        kit.demo("GET", "get_user_logs", "&page=" + QByteArray::number(lastPage) + "&per_page=15")
            .object()
            .value("success")
            .toArray();
    QCOMPARE(last.size(), total - lastPage * 15);
    QVERIFY(kit.demo("GET", "get_user_logs", "&page=99&per_page=15")
                .object()
                .value("success")
                .toArray()
                .isEmpty());
}

void ServiceApiTest::machineLogAndEmailExport()
{
    const QJsonObject log =
        kit.demo("GET", "get_user_logs", "&resource_type=machine&resource_id=101&page=0&per_page=200")
            .object();
    const int machineTotal = log.value("total_log_entries").toInt();
    QVERIFY(machineTotal > 0);
    const int accountTotal =
        kit.demo("GET", "get_user_logs", "&page=0&per_page=1").object().value("total_log_entries").toInt();
    QVERIFY(machineTotal < accountTotal);
    const int mailsBefore = kit.send("GET", "/__test__/outbox").array().size();
    const auto mail = kit.demo("GET", "get_user_logs",
                               "&resource_type=machine&resource_id=101&per_page=-1&send_logs_email=true");
    QVERIFY(mail.object().value("success").isString());
    const QJsonArray outbox = kit.send("GET", "/__test__/outbox").array();
    QCOMPARE(outbox.size(), mailsBefore + 1);
    QCOMPARE(outbox.last().toObject().value("to").toString(), QString(ServiceTestKit::kDemoEmail));
    QVERIFY(kit.demo("GET", "get_user_logs", "&send_logs_email=true").object().value("success").isString());
}

void ServiceApiTest::passwordResetRoundTrip()
{
    QVERIFY(
        kit.api("POST", "get_reset_pass_token&user_email=nobody%40x.example").object().contains("success"));
    QVERIFY(kit.api("POST", "get_reset_pass_token&user_email=demo").object().contains("success"));
    const QString body =
        kit.send("GET", "/__test__/outbox").array().last().toObject().value("body").toString();
    const QString code = QRegularExpression("code is (\\w+)").match(body).captured(1);
    QVERIFY(!code.isEmpty());
    QVERIFY(kit.api("POST", "reset_pass&newpass=short&token=" + code.toLatin1())
                .object()
                .contains("error_message"));
    QVERIFY(kit.api("POST", "reset_pass&newpass=Brand-New1%21&token=" + code.toLatin1())
                .object()
                .contains("success"));
    QVERIFY(kit.api("POST", "reset_pass&newpass=Brand-New1%21&token=" + code.toLatin1())
                .object()
                .contains("error_message"));
    QCOMPARE(kit.api("POST", "login_user&usr=demo&pwd=Brand-New1%21").object().value("login").toString(),
             QString("success"));
    kit.control("reset");
}

void ServiceApiTest::looseAccountForms()
{
    const QByteArray e = "&email=loose%40vantorix.example";
    const QJsonObject data =
        kit.api("POST", "login_user&usr=loose&pwd=Demo-Pass1%21").object().value("data").toObject();
    QVERIFY(data.value("ID").isDouble());
    QCOMPARE(data.value("user_credit").toDouble(), 4.5);
    QCOMPARE(data.value("low_credits_threshold").toDouble(), 4.0);
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
    const QJsonObject user = kit.api("GET", "get_user_data" + e).object().value("user_data").toObject();
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
    QCOMPARE(computers.at(0).toObject().value("vm_user_instance_name").toString(),
             QString::fromUtf8("Bürorechner Zoë"));
    QCOMPARE(computers.at(1).toObject().value("vm_user_instance_name").toString().size(), 200);

    // Templates and payments: objects keyed by multi-digit ids, numbers in the other form.
    const QJsonObject templates = kit.api("POST", "list_available_vm_templates" + e).object();
    QCOMPARE(templates.keys(), (QStringList{"10", "100", "11", "9"}));
    QVERIFY(templates.value("9").toObject().value("template_id").isString());
    QVERIFY(templates.value("9").toObject().value("price").isDouble());
    QVERIFY(!templates.value("10").toObject().contains("spec_description"));
    QVERIFY(templates.value("11").toObject().value("spec_description").isNull());
    const QJsonObject payments = kit.api("POST", "list_user_payments" + e).object();
    QCOMPARE(payments.keys(), (QStringList{"10", "100", "11", "9"}));
    QVERIFY(payments.value("9").toObject().value("payment_id").isString());
    QVERIFY(payments.value("9").toObject().value("payment_amount").isDouble());
    QVERIFY(payments.value("100").toObject().value("payment_link").toString().contains("/pay/"));
    int nullLinks = 0, noLinks = 0;
    for (const char *id : {"9", "10", "11"}) {
        nullLinks += payments.value(id).toObject().value("payment_link").isNull();
        noLinks += !payments.value(id).toObject().contains("payment_link");
    }
    QVERIFY(nullLinks > 0 && noLinks > 0);
    QVERIFY(kit.api("GET", "get_user_logs" + e + "&page=0&per_page=5")
                .object()
                .value("total_log_entries")
                .isString());
    QVERIFY(kit.api("POST", "get_vatsense_tax_rate_ro" + e).object().value("vat_tax_rate_ro").isDouble());
    QCOMPARE(kit.api("POST", "request-invoice" + e + "&payment_id=10").status, 200);

    // Its own templates only, both ways; a new computer's id comes as a number.
    const QByteArray form = "&vm_user_instance_name=Lab&win_username=alice&win_password=Secret-Pass1";
    QVERIFY(kit.api("POST", "insert_vm_instance" + e + form + "&template_id=3")
                .object()
                .contains("error_message"));
    QVERIFY(
        kit.demo("POST", "insert_vm_instance", form + "&template_id=100").object().contains("error_message"));
    QVERIFY(kit.api("POST", "insert_vm_instance" + e + form + "&template_id=100")
                .object()
                .value("vm_id")
                .isDouble());
    // The demo account's forms are untouched.
    QCOMPARE(kit.demo("POST", "list_available_vm_templates").array().size(), 8);
}

QTEST_MAIN(ServiceApiTest)
#include "tst_service_api.moc"
