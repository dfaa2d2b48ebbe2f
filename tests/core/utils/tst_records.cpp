// The account records built from the service's replies: missing, empty, mistyped and null fields.
// (URLs inside the raw JSON below write "/" as "\/": moc reads "//" in a raw string as a comment.)
#include "records/computertemplate.h"
#include "records/user.h"
#include "records/userpayment.h"
#include "utils/jsonread.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

QJsonObject json(const QByteArray &text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError)
        qFatal("bad test JSON: %s", qPrintable(error.errorString()));
    return document.object();
}

// The properties of the object that differ from the expected JSON values, as "name: actual, expected".
QString differences(const QObject &object, const QJsonObject &expected)
{
    QStringList found;
    for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
        const QVariant actual = object.property(it.key().toLatin1().constData());
        if (!actual.isValid() || QJsonValue::fromVariant(actual) != it.value())
            found.append(QStringLiteral("%1: %2, expected %3")
                             .arg(it.key(), actual.toString(), it.value().toVariant().toString()));
    }
    return found.join(QStringLiteral("; "));
}

// The objects' members, later objects winning.
QJsonObject merged(std::initializer_list<QJsonObject> layers)
{
    QJsonObject all;
    for (const QJsonObject &layer : layers) {
        for (auto it = layer.constBegin(); it != layer.constEnd(); ++it)
            all.insert(it.key(), it.value());
    }
    return all;
}

// A complete sign-in "data" object as the service sends it (numbers partly as texts).
const char *kFullLogin = R"({
    "ID": "17", "user_login": "jdoe", "user_nicename": "jdoe-nice", "user_email": "j+doe@example.com",
    "user_url": "https:\/\/jdoe.example", "user_registered": "2021-03-04 05:06:07",
    "user_activation_key": "", "user_status": "0", "display_name": "John Doe",
    "user_credit": "12.75", "low_credits_threshold": "3", "has_owned_credits": "1",
    "user_country": "Romania", "user_vat": "19", "eu_resident": "true", "valid_vat": "0",
    "first_name": "John", "last_name": "Doe", "phone": "+40 123", "company_name": "Acme",
    "company_address": "Main St 1", "vat_number": "RO123", "machine_running_for_x_hours_value": "4",
    "email_notifications": {"credits_purchase": "1", "credits_depleted": "0", "low_credit": "yes",
        "machine_created": true, "machine_started": 1, "machine_stopped": "no", "machine_reset": "TRUE",
        "machine_deleted": 0, "machine_running_for_x_hours": "true"}
})";

// Every e-mail choice off.
const QJsonObject kNoEmail =
    json(R"({"notificationCreditsPurchase": false, "notificationCreditsDepleted": false,
    "notificationLowCredits": false, "notificationMachineCreated": false, "notificationMachineStarted": false,
    "notificationMachineStopped": false, "notificationMachineReset": false,
    "notificationMachineDeleted": false, "notificationMachineRunningForXHours": false})");

// What the full sign-in above reads as.
const QJsonObject kFullUser =
    json(R"({"id": "17", "login": "jdoe", "name": "jdoe-nice", "email": "j+doe@example.com",
        "password": "s3cret!pw", "url": "https:\/\/jdoe.example", "registered": "2021-03-04 05:06:07",
        "activationKey": "", "status": "0", "displayName": "John Doe", "credits": 12.75,
        "lowCreditsThreshold": 3, "hasOwnedCredits": 1, "country": "Romania", "vat": 19,
        "isEuResident": true, "validVat": false, "firstName": "John", "lastName": "Doe",
        "phoneNumber": "+40 123", "companyName": "Acme", "companyAddress": "Main St 1",
        "vatNumber": "RO123", "machineRunningForXHours": 4, "notificationCreditsPurchase": true,
        "notificationCreditsDepleted": false, "notificationLowCredits": true,
        "notificationMachineCreated": true, "notificationMachineStarted": true,
        "notificationMachineStopped": false, "notificationMachineReset": true,
        "notificationMachineDeleted": false, "notificationMachineRunningForXHours": true})");

std::unique_ptr<User> signIn(const QJsonObject &data)
{
    return std::unique_ptr<User>(User::fromLoginData(data, QStringLiteral("s3cret!pw")));
}

} // namespace

class TestRecords : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void userFromSignIn_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QJsonObject>("expected");
        QTest::newRow("every field") << QByteArray(kFullLogin) << kFullUser;
        // Only the identity: everything else takes the defaults of a fresh account.
        QTest::newRow("identity only")
            << QByteArray(R"({"user_email": "a@b.c"})")
            << merged({kNoEmail, json(R"({"id": "", "displayName": "", "credits": 0, "lowCreditsThreshold": 5,
            "hasOwnedCredits": 0, "country": "NA", "vat": 0, "isEuResident": false, "validVat": false,
            "firstName": "", "vatNumber": "", "machineRunningForXHours": -1})")});
    }

    void userFromSignIn()
    {
        QFETCH(QByteArray, data);
        QFETCH(QJsonObject, expected);
        const auto user = signIn(json(data));
        QVERIFY(user);
        QCOMPARE(differences(*user, expected), QString());
    }

    void userNumbers_data()
    {
        QTest::addColumn<QString>("fields"); // JSON members added to the sign-in data
        QTest::addColumn<double>("credits");
        QTest::addColumn<double>("threshold");
        QTest::addColumn<int>("hasOwnedCredits");
        QTest::addColumn<int>("runningHours");

        QTest::newRow("numbers") << R"("user_credit": 7.5, "low_credits_threshold": 2, "has_owned_credits": 1,
            "machine_running_for_x_hours_value": 12)"
                                 << 7.5 << 2.0 << 1 << 12;
        QTest::newRow("empty texts")
            << R"("user_credit": "", "low_credits_threshold": "", "has_owned_credits": "",
            "machine_running_for_x_hours_value": "")"
            << 0.0 << 5.0 << 0 << -1;
        QTest::newRow("nulls")
            << R"("user_credit": null, "low_credits_threshold": null, "has_owned_credits": null,
            "machine_running_for_x_hours_value": null)"
            << 0.0 << 5.0 << 0 << -1;
        QTest::newRow("garbage") << R"("user_credit": "lots", "low_credits_threshold": "abc",
            "has_owned_credits": "maybe", "machine_running_for_x_hours_value": "x")"
                                 << 0.0 << 5.0 << 0 << -1;
        QTest::newRow("mistyped")
            << R"("user_credit": [1], "low_credits_threshold": {}, "has_owned_credits": 2,
            "machine_running_for_x_hours_value": true)"
            << 0.0 << 5.0 << 0 << -1;
        QTest::newRow("padded texts") << R"("user_credit": " 3.25 ", "low_credits_threshold": "0",
            "has_owned_credits": true, "machine_running_for_x_hours_value": "2.9")"
                                      << 3.25 << 0.0 << 1 << 2;
        QTest::newRow("negative balance") << R"("user_credit": "-1.5")" << -1.5 << 5.0 << 0 << -1;
        QTest::newRow("not finite") << R"("user_credit": "nan", "low_credits_threshold": "inf",
            "machine_running_for_x_hours_value": "1e30")"
                                    << 0.0 << 5.0 << 0 << -1;
    }

    void userNumbers()
    {
        QFETCH(QString, fields);
        QFETCH(double, credits);
        QFETCH(double, threshold);
        QFETCH(int, hasOwnedCredits);
        QFETCH(int, runningHours);
        const QJsonObject expected{{"credits", credits},
                                   {"lowCreditsThreshold", threshold},
                                   {"hasOwnedCredits", hasOwnedCredits},
                                   {"machineRunningForXHours", runningHours}};

        const auto user = signIn(json("{\"user_email\": \"a@b.c\", " + fields.toUtf8() + "}"));
        QVERIFY(user);
        QCOMPARE(differences(*user, expected), QString());
        // The poll reads the same fields by the same rules.
        User polled;
        polled.updateFromUserData(json("{" + fields.toUtf8() + "}"));
        QCOMPARE(differences(polled, expected), QString());
    }

    void userTexts_data()
    {
        QTest::addColumn<QString>("value"); // JSON value of every text field
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("expectedCountry");
        const auto row = [](const char *name, const char *value, const char *expected, const char *country) {
            QTest::newRow(name) << QString::fromUtf8(value) << QString::fromUtf8(expected)
                                << QString::fromUtf8(country);
        };
        row("text", R"("abc")", "abc", "abc");
        row("empty", R"("")", "", "");
        row("null", "null", "", "NA");
        row("integer", "42", "42", "42");
        row("fraction", "1.5", "1.5", "1.5");
        row("boolean", "true", "", "NA");
        row("object", R"({"a": 1})", "", "NA");
        row("list", R"(["a"])", "", "NA");
    }

    void userTexts()
    {
        QFETCH(QString, value);
        QFETCH(QString, expected);
        QFETCH(QString, expectedCountry);

        // Service key and property of every text field.
        const QJsonObject fields = json(R"({"ID": "id", "user_login": "login", "user_nicename": "name",
            "user_url": "url", "user_registered": "registered", "user_activation_key": "activationKey",
            "user_status": "status", "display_name": "displayName", "first_name": "firstName",
            "last_name": "lastName", "phone": "phoneNumber", "company_name": "companyName",
            "company_address": "companyAddress", "vat_number": "vatNumber", "user_country": "country"})");
        QStringList members = {QStringLiteral(R"("user_email": "a@b.c")")};
        QJsonObject expectedTexts;
        for (auto it = fields.constBegin(); it != fields.constEnd(); ++it) {
            members.append(QLatin1Char('"') + it.key() + QStringLiteral("\": ") + value);
            expectedTexts.insert(it.value().toString(), expected);
        }
        expectedTexts.insert(QStringLiteral("country"), expectedCountry);
        const auto user = signIn(json("{" + members.join(QLatin1Char(',')).toUtf8() + "}"));
        QVERIFY(user);
        QCOMPARE(differences(*user, expectedTexts), QString());
    }

    void userWithoutEmailIsRefused_data()
    {
        QTest::addColumn<QString>("data");
        QTest::newRow("missing") << R"({"ID": "1", "user_login": "x"})";
        QTest::newRow("empty") << R"({"user_email": ""})";
        QTest::newRow("blank") << R"({"user_email": "  "})";
        QTest::newRow("null") << R"({"user_email": null})";
        QTest::newRow("object") << R"({"user_email": {}})";
    }

    void userWithoutEmailIsRefused()
    {
        QFETCH(QString, data);
        QTest::ignoreMessage(QtWarningMsg,
                             "Sign-in data has no \"user_email\"; the user cannot be signed in");
        QObject owner;
        QVERIFY(!User::fromLoginData(json(data.toUtf8()), QStringLiteral("pw"), &owner));
        QVERIFY(owner.children().isEmpty());
    }

    void userDataUpdate_data()
    {
        QTest::addColumn<QByteArray>("update");
        QTest::addColumn<QJsonObject>("expected");
        QTest::addColumn<int>("runningHoursSignals");

        // Absent running-time threshold and e-mail choices switch off. Names, VAT number and identity only
        // change at sign-in or through the profile.
        QTest::newRow("values and blanks") << QByteArray(R"({
            "user_credit": "", "low_credits_threshold": "", "has_owned_credits": "0", "user_country": "Germany",
            "user_vat": "bad", "eu_resident": "no", "valid_vat": "yes", "phone": null, "company_name": "",
            "company_address": "Elm 2",
            "first_name": "Changed", "last_name": "Changed", "vat_number": "Changed", "user_email": "x@y.z",
            "ID": "99", "display_name": "Changed"
        })") << merged({kFullUser, kNoEmail, json(R"({"credits": 0, "lowCreditsThreshold": 5,
            "hasOwnedCredits": 0, "country": "Germany", "vat": 0, "isEuResident": false, "validVat": true,
            "phoneNumber": "", "companyName": "", "companyAddress": "Elm 2", "machineRunningForXHours": -1})")})
                                           << 1;
        // Numbers and flags left out or sent as null: no value, the last known one stays (null credits are
        // not 0 credits).
        QTest::newRow("absent and null")
            << QByteArray(R"({"machine_running_for_x_hours_value": 8,
            "user_credit": null, "low_credits_threshold": null, "has_owned_credits": null, "user_vat": null,
            "eu_resident": null,
            "email_notifications": {"low_credit": 1, "machine_deleted": "yes", "unknown_key": true}})")
            << merged({kFullUser, kNoEmail, json(R"({"machineRunningForXHours": 8,
            "notificationLowCredits": true, "notificationMachineDeleted": true})")})
            << 1;
        // "email_notifications" that is not an object counts as missing.
        QTest::newRow("choices not an object")
            << QByteArray(R"({"machine_running_for_x_hours_value": 4, "email_notifications": "low_credit"})")
            << merged({kFullUser, kNoEmail}) << 0;
    }

    void userDataUpdate()
    {
        QFETCH(QByteArray, update);
        QFETCH(QJsonObject, expected);
        QFETCH(int, runningHoursSignals);
        const auto user = signIn(json(kFullLogin));
        QVERIFY(user);
        QSignalSpy runningHours(user.get(), &User::machineRunningForXHoursChanged);
        user->updateFromUserData(json(update));
        QCOMPARE(differences(*user, expected), QString());
        QCOMPARE(runningHours.count(), runningHoursSignals);
    }

    void userDataUpdateSignalsOnlyChanges()
    {
        const auto user = signIn(json(kFullLogin));
        QVERIFY(user);
        QSignalSpy credits(user.get(), &User::creditsChanged);
        QSignalSpy lowCredit(user.get(), &User::notificationLowCreditsChanged);
        const QJsonObject same =
            json(R"({"user_credit": "12.75", "email_notifications": {"low_credit": "1"}})");
        user->updateFromUserData(same);
        user->updateFromUserData(same);
        QCOMPARE(credits.count(), 0);
        QCOMPARE(lowCredit.count(), 0);
        user->updateFromUserData(json(R"({"user_credit": 11})"));
        QCOMPARE(credits.count(), 1);
        QCOMPARE(lowCredit.count(), 1);

        QCOMPARE(User::creditsIn(json(R"({"user_credit": "2.5"})")), std::optional<double>(2.5));
        QCOMPARE(User::creditsIn(json(R"({"user_credit": ""})")), std::optional<double>(0.0));
        QCOMPARE(User::creditsIn(json(R"({"phone": "1"})")), std::nullopt);
        QCOMPARE(User::creditsIn(json(R"({"user_credit": null})")), std::nullopt);
    }

    void emailChoicesByNumber()
    {
        User user;
        user.setEmailNotification(0, true);
        user.setEmailNotification(10, true);
        QVERIFY(!user.emailNotification(0));
        QVERIFY(!user.emailNotification(10));
        QCOMPARE(User::emailNotificationKey(User::LowCredits), QStringLiteral("low_credit"));
        QCOMPARE(User::emailNotificationKey(0), QString());
    }

    // The fields the create form reads.
    void templates()
    {
        const std::unique_ptr<ComputerTemplate> full(ComputerTemplate::fromJson(json(R"({"template_id": "12",
            "name": "win-small-SPOT", "vm_template_title": "Small Windows", "spec_description": "2 vCPU"})")));
        QVERIFY(full);
        QCOMPARE(differences(*full, json(R"({"identifier": 12, "title": "Small Windows", "isSpot": true})")),
                 QString());
        QCOMPARE(full->specDescription(), QStringLiteral("2 vCPU"));

        // Without title and description, or with them null: empty texts, never "null".
        for (const char *text : {R"({"template_id": 3, "name": "linux-small"})",
                                 R"({"template_id": 3, "name": "linux-small", "vm_template_title": null,
                                     "spec_description": null})",
                                 R"({"template_id": 3, "name": "linux-small", "vm_template_title": "",
                                     "spec_description": ""})"}) {
            const std::unique_ptr<ComputerTemplate> bare(ComputerTemplate::fromJson(json(text)));
            QVERIFY(bare);
            QCOMPARE(
                differences(*bare, json(R"({"identifier": 3, "title": "", "region": "", "isSpot": false})")),
                QString());
            QCOMPARE(bare->specDescription(), QString());
        }

        ComputerTemplate renamed;
        renamed.setName(QStringLiteral("x-spot"));
        QVERIFY(renamed.isSpot());
        renamed.setName(QStringLiteral("spot-x"));
        QVERIFY(!renamed.isSpot());
    }

    void templateList()
    {
        QObject owner;
        const QJsonArray entries = QJsonDocument::fromJson(R"([{"template_id": 1, "name": "a"}, "junk",
            {"name": "b"}, {"template_id": null, "name": "b"}, {"template_id": "abc", "name": "b"},
            {"template_id": -4, "name": "b"}, {"template_id": "2", "name": "c"}])")
                                       .array();
        QTest::ignoreMessage(QtWarningMsg,
                             "Template entry that is not an object skipped: QJsonValue(string, \"junk\")");
        for (int i = 0; i < 4; ++i)
            QTest::ignoreMessage(QtWarningMsg, "Template without a usable \"template_id\" skipped: \"b\"");
        const QList<ComputerTemplate *> list = ComputerTemplate::listFromJson(entries, &owner);
        QCOMPARE(list.size(), 2);
        QCOMPARE(list.at(0)->name(), QStringLiteral("a"));
        QCOMPARE(list.at(1)->identifier(), 2);
        QCOMPARE(list.at(1)->parent(), &owner);
    }

    void collectionOrder_data()
    {
        QTest::addColumn<QByteArray>("collection");
        QTest::addColumn<QStringList>("names"); // the "name" of each record in reading order
        QTest::addColumn<bool>("ok");
        QTest::newRow("list: as sent")
            << QByteArray(R"([{"name":"b"},{"name":"a"}])") << QStringList{"b", "a"} << true;
        QTest::newRow("keyed by numbers: number order")
            << QByteArray(
                   R"({"10":{"name":"ten"},"9":{"name":"nine"},"100":{"name":"hundred"},"11":{"name":"eleven"}})")
            << QStringList{"nine", "ten", "eleven", "hundred"} << true;
        QTest::newRow("keys not all numbers: text order")
            << QByteArray(R"({"10":{"name":"ten"},"9":{"name":"nine"},"x":{"name":"x"}})")
            << QStringList{"ten", "nine", "x"} << true;
        QTest::newRow("empty object") << QByteArray("{}") << QStringList() << true;
        QTest::newRow("not a collection") << QByteArray(R"("oops")") << QStringList() << false;
    }

    void collectionOrder()
    {
        QFETCH(QByteArray, collection);
        QFETCH(QStringList, names);
        QFETCH(bool, ok);
        const QJsonValue value = QJsonDocument::fromJson("[" + collection + "]").array().first();
        bool isCollection = !ok;
        QStringList read;
        for (const QJsonValue &entry : JsonRead::entries(value, &isCollection))
            read.append(entry.toObject().value(QLatin1String("name")).toString());
        QCOMPARE(read, names);
        QCOMPARE(isCollection, ok);
    }

    void payments()
    {
        QObject owner;
        const QJsonArray entries = QJsonDocument::fromJson(R"([
            {"payment_id": "5", "payment_name": "100 credits", "paypal_payment_key": "PAY-1",
             "payment_status": "Completed", "payment_amount": "119.00", "vat_amount": "19",
             "payment_currency": "EUR", "payment_date": "2024-01-02 03:04:05",
             "payment_link": "https:\/\/pay.example\/1", "invoice_status": "NOT REQUESTED"},
            {"payment_id": 6, "payment_status": "pending", "payment_amount": "", "vat_amount": null,
             "payment_link": null},
            {"payment_name": "no id"}, {"payment_id": "abc", "payment_name": "no id"}, 3,
            {"payment_id": 7, "payment_amount": 10, "vat_amount": "x"}
        ])")
                                       .array();
        QTest::ignoreMessage(QtWarningMsg, "Payment without a usable \"payment_id\" skipped: \"no id\"");
        QTest::ignoreMessage(QtWarningMsg, "Payment without a usable \"payment_id\" skipped: \"no id\"");
        QTest::ignoreMessage(QtWarningMsg,
                             "Payment entry that is not an object skipped: QJsonValue(double, 3)");
        const QList<UserPayment *> list = UserPayment::listFromJson(entries, &owner);
        QCOMPARE(list.size(), 3);
        QCOMPARE(differences(*list.at(0), json(R"({"identifier": 5, "name": "100 credits", "key": "PAY-1",
            "status": "Completed", "amount": 119, "vat": 19, "currency": "EUR", "date": "2024-01-02 03:04:05",
            "paymentLink": "https:\/\/pay.example\/1", "invoiceStatus": "NOT REQUESTED"})")),
                 QString());
        QCOMPARE(list.at(0)->parent(), &owner);
        QCOMPARE(
            differences(*list.at(1),
                        json(R"({"identifier": 6, "amount": 0, "vat": 0, "paymentLink": "", "name": ""})")),
            QString());
        QCOMPARE(differences(*list.at(2), json(R"({"amount": 10, "vat": 0})")), QString());
    }

    void paymentFlags_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("invoiceStatus");
        QTest::addColumn<bool>("pending");
        QTest::addColumn<bool>("canRequestInvoice");
        const auto row = [](const char *status, const char *invoice, bool pending, bool canRequest) {
            QTest::addRow("%s, %s", status, invoice)
                << QString::fromUtf8(status) << QString::fromUtf8(invoice) << pending << canRequest;
        };
        row("Completed", "NOT REQUESTED", false, true);
        row("completed", "NOT REQUESTED", false, true);
        row("Completed", "REQUESTED", false, false);
        row("pending", "NOT REQUESTED", true, false);
        row("Failed", "NOT REQUESTED", false, false);
    }

    void paymentFlags()
    {
        QFETCH(QString, status);
        QFETCH(QString, invoiceStatus);
        QFETCH(bool, pending);
        QFETCH(bool, canRequestInvoice);

        UserPayment payment;
        payment.setStatus(status);
        payment.setInvoiceStatus(invoiceStatus);
        QCOMPARE(payment.isPending(), pending);
        QCOMPARE(payment.canRequestInvoice(), canRequestInvoice);
    }
};

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
