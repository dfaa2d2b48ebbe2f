// The account records built from the service's replies: missing, empty, mistyped and null fields.
// (URLs inside the raw JSON below write "/" as "\/": moc reads "//" in a raw string as a comment.)
#include "records/banner.h"
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

QJsonObject json(const char *text)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray(text), &error);
    if (error.error != QJsonParseError::NoError)
        qFatal("bad test JSON: %s", qPrintable(error.errorString()));
    return document.object();
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

std::unique_ptr<User> signIn(const QJsonObject &data)
{
    return std::unique_ptr<User>(User::fromLoginData(data, QStringLiteral("s3cret!pw")));
}

} // namespace

class TestRecords : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void userFromFullLogin();
    void userDefaults();
    void userNumbers_data();
    void userNumbers();
    void userTexts_data();
    void userTexts();
    void userWithoutEmailIsRefused_data();
    void userWithoutEmailIsRefused();
    void userDataUpdate();
    void userDataUpdateKeepsAbsentFields();
    void userDataUpdateSignalsOnlyChanges();
    void emailChoicesByNumber();
    void templates();
    void templateWithoutIdentifier();
    void templateList();
    void collectionOrder_data();
    void collectionOrder();
    void payments();
    void paymentWithoutIdentifier();
    void paymentFlags_data();
    void paymentFlags();
    void banner();
};

void TestRecords::collectionOrder_data()
{
    QTest::addColumn<QByteArray>("collection");
    QTest::addColumn<QStringList>("names"); // the "name" of each record in reading order
    QTest::addColumn<bool>("ok");
    QTest::newRow("list: as sent") << QByteArray(R"([{"name":"b"},{"name":"a"}])") << QStringList{"b", "a"}
                                   << true;
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

void TestRecords::collectionOrder()
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

void TestRecords::userFromFullLogin()
{
    const auto user = signIn(json(kFullLogin));
    QVERIFY(user);
    QCOMPARE(user->id(), QStringLiteral("17"));
    QCOMPARE(user->login(), QStringLiteral("jdoe"));
    QCOMPARE(user->name(), QStringLiteral("jdoe-nice"));
    QCOMPARE(user->email(), QStringLiteral("j+doe@example.com"));
    QCOMPARE(user->password(), QStringLiteral("s3cret!pw"));
    QCOMPARE(user->url(), QStringLiteral("https://jdoe.example"));
    QCOMPARE(user->registered(), QStringLiteral("2021-03-04 05:06:07"));
    QCOMPARE(user->activationKey(), QString());
    QCOMPARE(user->status(), QStringLiteral("0"));
    QCOMPARE(user->displayName(), QStringLiteral("John Doe"));
    QCOMPARE(user->credits(), 12.75);
    QCOMPARE(user->lowCreditsThreshold(), 3.0);
    QCOMPARE(user->hasOwnedCredits(), 1);
    QCOMPARE(user->country(), QStringLiteral("Romania"));
    QCOMPARE(user->vat(), 19.0);
    QCOMPARE(user->isEuResident(), true);
    QCOMPARE(user->validVat(), false);
    QCOMPARE(user->firstName(), QStringLiteral("John"));
    QCOMPARE(user->lastName(), QStringLiteral("Doe"));
    QCOMPARE(user->phoneNumber(), QStringLiteral("+40 123"));
    QCOMPARE(user->companyName(), QStringLiteral("Acme"));
    QCOMPARE(user->companyAddress(), QStringLiteral("Main St 1"));
    QCOMPARE(user->vatNumber(), QStringLiteral("RO123"));
    QCOMPARE(user->machineRunningForXHours(), 4);

    QCOMPARE(user->notificationCreditsPurchase(), true);
    QCOMPARE(user->notificationCreditsDepleted(), false);
    QCOMPARE(user->notificationLowCredits(), true);
    QCOMPARE(user->notificationMachineCreated(), true);
    QCOMPARE(user->notificationMachineStarted(), true);
    QCOMPARE(user->notificationMachineStopped(), false);
    QCOMPARE(user->notificationMachineReset(), true);
    QCOMPARE(user->notificationMachineDeleted(), false);
    QCOMPARE(user->notificationMachineRunningForXHours(), true);
}

void TestRecords::userDefaults()
{
    // Only the identity: everything else takes the defaults of a fresh account.
    const auto user = signIn(json(R"({"user_email": "a@b.c"})"));
    QVERIFY(user);
    QCOMPARE(user->id(), QString());
    QCOMPARE(user->displayName(), QString());
    QCOMPARE(user->credits(), 0.0);
    QCOMPARE(user->lowCreditsThreshold(), 5.0);
    QCOMPARE(user->hasOwnedCredits(), 0);
    QCOMPARE(user->country(), QStringLiteral("NA"));
    QCOMPARE(user->vat(), 0.0);
    QCOMPARE(user->isEuResident(), false);
    QCOMPARE(user->validVat(), false);
    QCOMPARE(user->firstName(), QString());
    QCOMPARE(user->vatNumber(), QString());
    QCOMPARE(user->machineRunningForXHours(), -1);
    for (int number = User::CreditsPurchase; number <= User::MachineRunningForXHours; ++number)
        QVERIFY2(!user->emailNotification(number), QByteArray::number(number).constData());
}

void TestRecords::userNumbers_data()
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
    QTest::newRow("mistyped") << R"("user_credit": [1], "low_credits_threshold": {}, "has_owned_credits": 2,
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

void TestRecords::userNumbers()
{
    QFETCH(QString, fields);
    QFETCH(double, credits);
    QFETCH(double, threshold);
    QFETCH(int, hasOwnedCredits);
    QFETCH(int, runningHours);

    const QByteArray text = "{\"user_email\": \"a@b.c\", " + fields.toUtf8() + "}";
    const auto user = signIn(json(text.constData()));
    QVERIFY(user);
    QCOMPARE(user->credits(), credits);
    QCOMPARE(user->lowCreditsThreshold(), threshold);
    QCOMPARE(user->hasOwnedCredits(), hasOwnedCredits);
    QCOMPARE(user->machineRunningForXHours(), runningHours);

    // The poll reads the same fields by the same rules.
    User polled;
    polled.updateFromUserData(json(("{" + fields.toUtf8() + "}").constData()));
    QCOMPARE(polled.credits(), credits);
    QCOMPARE(polled.lowCreditsThreshold(), threshold);
    QCOMPARE(polled.hasOwnedCredits(), hasOwnedCredits);
    QCOMPARE(polled.machineRunningForXHours(), runningHours);
}

void TestRecords::userTexts_data()
{
    QTest::addColumn<QString>("value"); // JSON value of every text field
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("expectedCountry");

    QTest::newRow("text") << R"("abc")"
                          << "abc"
                          << "abc";
    QTest::newRow("empty") << R"("")"
                           << ""
                           << "";
    QTest::newRow("null") << "null"
                          << ""
                          << "NA";
    QTest::newRow("integer") << "42"
                             << "42"
                             << "42";
    QTest::newRow("fraction") << "1.5"
                              << "1.5"
                              << "1.5";
    QTest::newRow("boolean") << "true"
                             << ""
                             << "NA";
    QTest::newRow("object") << R"({"a": 1})"
                            << ""
                            << "NA";
    QTest::newRow("list") << R"(["a"])"
                          << ""
                          << "NA";
}

void TestRecords::userTexts()
{
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QFETCH(QString, expectedCountry);

    const QStringList keys = {"ID",           "user_login",      "user_nicename",
                              "user_url",     "user_registered", "user_activation_key",
                              "user_status",  "display_name",    "user_country",
                              "first_name",   "last_name",       "phone",
                              "company_name", "company_address", "vat_number"};
    QStringList members = {QStringLiteral(R"("user_email": "a@b.c")")};
    for (const QString &key : keys)
        members.append(QLatin1Char('"') + key + QStringLiteral("\": ") + value);
    const QByteArray text = "{" + members.join(QLatin1Char(',')).toUtf8() + "}";
    const auto user = signIn(json(text.constData()));
    QVERIFY(user);

    const QStringList texts = {user->id(),
                               user->login(),
                               user->name(),
                               user->url(),
                               user->registered(),
                               user->activationKey(),
                               user->status(),
                               user->displayName(),
                               user->firstName(),
                               user->lastName(),
                               user->phoneNumber(),
                               user->companyName(),
                               user->companyAddress(),
                               user->vatNumber()};
    for (const QString &read : texts)
        QCOMPARE(read, expected);
    QCOMPARE(user->country(), expectedCountry);
}

void TestRecords::userWithoutEmailIsRefused_data()
{
    QTest::addColumn<QString>("data");
    QTest::newRow("missing") << R"({"ID": "1", "user_login": "x"})";
    QTest::newRow("empty") << R"({"user_email": ""})";
    QTest::newRow("blank") << R"({"user_email": "  "})";
    QTest::newRow("null") << R"({"user_email": null})";
    QTest::newRow("object") << R"({"user_email": {}})";
    QTest::newRow("empty data") << "{}";
}

void TestRecords::userWithoutEmailIsRefused()
{
    QFETCH(QString, data);
    QTest::ignoreMessage(QtWarningMsg, "Sign-in data has no \"user_email\"; the user cannot be signed in");
    QObject owner;
    QVERIFY(!User::fromLoginData(json(data.toUtf8().constData()), QStringLiteral("pw"), &owner));
    QVERIFY(owner.children().isEmpty());
}

void TestRecords::userDataUpdate()
{
    const auto user = signIn(json(kFullLogin));
    QVERIFY(user);
    QSignalSpy runningHours(user.get(), &User::machineRunningForXHoursChanged);

    user->updateFromUserData(json(R"({
        "user_credit": "", "low_credits_threshold": "", "has_owned_credits": "0", "user_country": "Germany",
        "user_vat": "bad", "eu_resident": "no", "valid_vat": "yes", "phone": null, "company_name": "",
        "company_address": "Elm 2",
        "first_name": "Changed", "last_name": "Changed", "vat_number": "Changed", "user_email": "x@y.z",
        "ID": "99", "display_name": "Changed"
    })"));

    QCOMPARE(user->credits(), 0.0);
    QCOMPARE(user->lowCreditsThreshold(), 5.0);
    QCOMPARE(user->hasOwnedCredits(), 0);
    QCOMPARE(user->country(), QStringLiteral("Germany"));
    QCOMPARE(user->vat(), 0.0);
    QCOMPARE(user->isEuResident(), false);
    QCOMPARE(user->validVat(), true);
    QCOMPARE(user->phoneNumber(), QString());
    QCOMPARE(user->companyName(), QString());
    QCOMPARE(user->companyAddress(), QStringLiteral("Elm 2"));
    // Absent running-time threshold and e-mail choices switch off.
    QCOMPARE(user->machineRunningForXHours(), -1);
    QCOMPARE(runningHours.count(), 1);
    for (int number = User::CreditsPurchase; number <= User::MachineRunningForXHours; ++number)
        QVERIFY2(!user->emailNotification(number), QByteArray::number(number).constData());
    // Names, VAT number and identity only change at sign-in or through the profile.
    QCOMPARE(user->firstName(), QStringLiteral("John"));
    QCOMPARE(user->lastName(), QStringLiteral("Doe"));
    QCOMPARE(user->vatNumber(), QStringLiteral("RO123"));
    QCOMPARE(user->email(), QStringLiteral("j+doe@example.com"));
    QCOMPARE(user->id(), QStringLiteral("17"));
    QCOMPARE(user->displayName(), QStringLiteral("John Doe"));
    QCOMPARE(user->password(), QStringLiteral("s3cret!pw"));
}

void TestRecords::userDataUpdateKeepsAbsentFields()
{
    const auto user = signIn(json(kFullLogin));
    QVERIFY(user);
    // Numbers and flags left out or sent as null: no value, the last known one stays (null credits are
    // not 0 credits).
    user->updateFromUserData(json(R"({"machine_running_for_x_hours_value": 8, "user_credit": null,
        "low_credits_threshold": null, "has_owned_credits": null, "user_vat": null, "eu_resident": null,
        "email_notifications": {"low_credit": 1, "machine_deleted": "yes", "unknown_key": true}})"));

    QCOMPARE(user->credits(), 12.75);
    QCOMPARE(user->lowCreditsThreshold(), 3.0);
    QCOMPARE(user->hasOwnedCredits(), 1);
    QCOMPARE(user->country(), QStringLiteral("Romania"));
    QCOMPARE(user->vat(), 19.0);
    QCOMPARE(user->isEuResident(), true);
    QCOMPARE(user->phoneNumber(), QStringLiteral("+40 123"));
    QCOMPARE(user->companyName(), QStringLiteral("Acme"));
    QCOMPARE(user->companyAddress(), QStringLiteral("Main St 1"));
    QCOMPARE(user->machineRunningForXHours(), 8);
    QCOMPARE(user->notificationLowCredits(), true);
    QCOMPARE(user->notificationMachineDeleted(), true);
    QCOMPARE(user->notificationCreditsPurchase(), false);
    QCOMPARE(user->notificationMachineRunningForXHours(), false);

    // "email_notifications" that is not an object counts as missing.
    user->updateFromUserData(json(R"({"email_notifications": "low_credit"})"));
    QCOMPARE(user->notificationLowCredits(), false);

    QCOMPARE(User::creditsIn(json(R"({"user_credit": "2.5"})")), std::optional<double>(2.5));
    QCOMPARE(User::creditsIn(json(R"({"user_credit": ""})")), std::optional<double>(0.0));
    QCOMPARE(User::creditsIn(json(R"({"phone": "1"})")), std::nullopt);
    QCOMPARE(User::creditsIn(json(R"({"user_credit": null})")), std::nullopt);
}

void TestRecords::userDataUpdateSignalsOnlyChanges()
{
    const auto user = signIn(json(kFullLogin));
    QVERIFY(user);
    QSignalSpy credits(user.get(), &User::creditsChanged);
    QSignalSpy lowCredit(user.get(), &User::notificationLowCreditsChanged);
    const QJsonObject same = json(R"({"user_credit": "12.75", "email_notifications": {"low_credit": "1"}})");
    user->updateFromUserData(same);
    user->updateFromUserData(same);
    QCOMPARE(credits.count(), 0);
    QCOMPARE(lowCredit.count(), 0);
    user->updateFromUserData(json(R"({"user_credit": 11})"));
    QCOMPARE(credits.count(), 1);
    QCOMPARE(lowCredit.count(), 1);
}

void TestRecords::emailChoicesByNumber()
{
    User user;
    user.setEmailNotification(User::MachineStarted, true);
    QVERIFY(user.notificationMachineStarted());
    QVERIFY(user.emailNotification(User::MachineStarted));
    user.setEmailNotification(0, true);
    user.setEmailNotification(10, true);
    QVERIFY(!user.emailNotification(0));
    QVERIFY(!user.emailNotification(10));
    QCOMPARE(User::emailNotificationKey(User::LowCredits), QStringLiteral("low_credit"));
    QCOMPARE(User::emailNotificationKey(0), QString());
}

void TestRecords::templates()
{
    const std::unique_ptr<ComputerTemplate> full(ComputerTemplate::fromJson(json(R"({
        "template_id": "12", "name": "win-small-SPOT", "vm_template_title": "Small Windows",
        "region": "europe-west1", "zone": "europe-west1-b", "machine_type": "e2-medium",
        "public_image": "win-2022", "disk_types": "pd-ssd", "disk_size": 50, "enable_display": "true",
        "network_tier": "PREMIUM", "external_ip": "yes", "rename_host_to_instance_name": "1",
        "tags": "rdp", "price": 0.25, "spec_description": "2 vCPU, 4 GB"
    })")));
    QVERIFY(full);
    QCOMPARE(full->identifier(), 12);
    QCOMPARE(full->name(), QStringLiteral("win-small-SPOT"));
    QCOMPARE(full->title(), QStringLiteral("Small Windows"));
    QCOMPARE(full->region(), QStringLiteral("europe-west1"));
    QCOMPARE(full->zone(), QStringLiteral("europe-west1-b"));
    QCOMPARE(full->machineType(), QStringLiteral("e2-medium"));
    QCOMPARE(full->publicImage(), QStringLiteral("win-2022"));
    QCOMPARE(full->diskType(), QStringLiteral("pd-ssd"));
    QCOMPARE(full->diskSize(), QStringLiteral("50"));
    QCOMPARE(full->enableDisplay(), QStringLiteral("true"));
    QCOMPARE(full->networkTier(), QStringLiteral("PREMIUM"));
    QCOMPARE(full->externalIP(), QStringLiteral("yes"));
    QCOMPARE(full->renameHostToInstanceName(), QStringLiteral("1"));
    QCOMPARE(full->tags(), QStringLiteral("rdp"));
    QCOMPARE(full->price(), QStringLiteral("0.25"));
    QCOMPARE(full->specDescription(), QStringLiteral("2 vCPU, 4 GB"));
    QVERIFY(full->isSpot());

    // Without title and description, or with them null: empty texts, never "null".
    for (const char *text : {R"({"template_id": 3, "name": "linux-small"})",
                             R"({"template_id": 3, "name": "linux-small", "vm_template_title": null,
                                 "spec_description": null})",
                             R"({"template_id": 3, "name": "linux-small", "vm_template_title": "",
                                 "spec_description": ""})"}) {
        const std::unique_ptr<ComputerTemplate> bare(ComputerTemplate::fromJson(json(text)));
        QVERIFY(bare);
        QCOMPARE(bare->identifier(), 3);
        QCOMPARE(bare->title(), QString());
        QCOMPARE(bare->specDescription(), QString());
        QCOMPARE(bare->region(), QString());
        QVERIFY(!bare->isSpot());
    }

    ComputerTemplate renamed;
    QSignalSpy nameChanged(&renamed, &ComputerTemplate::nameChanged);
    renamed.setName(QStringLiteral("x-spot"));
    QVERIFY(renamed.isSpot());
    QCOMPARE(nameChanged.count(), 1);
    renamed.setName(QStringLiteral("spot-x"));
    QVERIFY(!renamed.isSpot());
}

void TestRecords::templateWithoutIdentifier()
{
    for (const char *text :
         {R"({"name": "n"})", R"({"template_id": null, "name": "n"})",
          R"({"template_id": "abc", "name": "n"})", R"({"template_id": -4, "name": "n"})"}) {
        QTest::ignoreMessage(QtWarningMsg, "Template without a usable \"template_id\" skipped: \"n\"");
        QVERIFY2(!ComputerTemplate::fromJson(json(text)), text);
    }
}

void TestRecords::templateList()
{
    QObject owner;
    const QJsonArray entries =
        QJsonDocument::fromJson(R"([{"template_id": 1, "name": "a"}, "junk", {"name": "b"},
                                    {"template_id": "2", "name": "c"}])")
            .array();
    QTest::ignoreMessage(QtWarningMsg,
                         "Template entry that is not an object skipped: QJsonValue(string, \"junk\")");
    QTest::ignoreMessage(QtWarningMsg, "Template without a usable \"template_id\" skipped: \"b\"");
    const QList<ComputerTemplate *> list = ComputerTemplate::listFromJson(entries, &owner);
    QCOMPARE(list.size(), 2);
    QCOMPARE(list.at(0)->name(), QStringLiteral("a"));
    QCOMPARE(list.at(1)->identifier(), 2);
    QCOMPARE(list.at(1)->parent(), &owner);
}

void TestRecords::payments()
{
    QObject owner;
    const QJsonArray entries = QJsonDocument::fromJson(R"([
        {"payment_id": "5", "payment_name": "100 credits", "paypal_payment_key": "PAY-1",
         "payment_status": "Completed", "payment_amount": "119.00", "vat_amount": "19",
         "payment_currency": "EUR", "payment_date": "2024-01-02 03:04:05",
         "payment_link": "https:\/\/pay.example\/1", "invoice_status": "NOT REQUESTED"},
        {"payment_id": 6, "payment_status": "pending", "payment_amount": "", "vat_amount": null,
         "payment_link": null},
        {"payment_name": "no id"},
        {"payment_id": 7, "payment_amount": 10, "vat_amount": "x"}
    ])")
                                   .array();
    QTest::ignoreMessage(QtWarningMsg, "Payment without a usable \"payment_id\" skipped: \"no id\"");
    const QList<UserPayment *> list = UserPayment::listFromJson(entries, &owner);
    QCOMPARE(list.size(), 3);

    const UserPayment *paid = list.at(0);
    QCOMPARE(paid->identifier(), 5);
    QCOMPARE(paid->name(), QStringLiteral("100 credits"));
    QCOMPARE(paid->key(), QStringLiteral("PAY-1"));
    QCOMPARE(paid->status(), QStringLiteral("Completed"));
    QCOMPARE(paid->amount(), 119.0);
    QCOMPARE(paid->vat(), 19.0);
    QCOMPARE(paid->currency(), QStringLiteral("EUR"));
    QCOMPARE(paid->date(), QStringLiteral("2024-01-02 03:04:05"));
    QCOMPARE(paid->paymentLink(), QStringLiteral("https://pay.example/1"));
    QCOMPARE(paid->invoiceStatus(), QStringLiteral("NOT REQUESTED"));
    QCOMPARE(paid->parent(), &owner);

    const UserPayment *pending = list.at(1);
    QCOMPARE(pending->identifier(), 6);
    QCOMPARE(pending->amount(), 0.0);
    QCOMPARE(pending->vat(), 0.0);
    QCOMPARE(pending->paymentLink(), QString());
    QCOMPARE(pending->name(), QString());

    QCOMPARE(list.at(2)->amount(), 10.0);
    QCOMPARE(list.at(2)->vat(), 0.0);
}

void TestRecords::paymentWithoutIdentifier()
{
    QTest::ignoreMessage(QtWarningMsg, "Payment without a usable \"payment_id\" skipped: \"\"");
    QVERIFY(!UserPayment::fromJson(json(R"({"payment_id": "abc"})")));
    QTest::ignoreMessage(QtWarningMsg, "Payment entry that is not an object skipped: QJsonValue(double, 3)");
    QVERIFY(UserPayment::listFromJson(QJsonArray{3}).isEmpty());
}

void TestRecords::paymentFlags_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("invoiceStatus");
    QTest::addColumn<bool>("pending");
    QTest::addColumn<bool>("canRequestInvoice");

    QTest::newRow("completed, not requested") << "Completed"
                                              << "NOT REQUESTED" << false << true;
    QTest::newRow("completed lower case") << "completed"
                                          << "NOT REQUESTED" << false << true;
    QTest::newRow("completed, requested") << "Completed"
                                          << "REQUESTED" << false << false;
    QTest::newRow("completed, sent") << "Completed"
                                     << "SENT" << false << false;
    QTest::newRow("pending") << "pending"
                             << "NOT REQUESTED" << true << false;
    QTest::newRow("Pending") << "Pending"
                             << "UNAVAILABLE" << true << false;
    QTest::newRow("failed") << "Failed"
                            << "NOT REQUESTED" << false << false;
}

void TestRecords::paymentFlags()
{
    QFETCH(QString, status);
    QFETCH(QString, invoiceStatus);
    QFETCH(bool, pending);
    QFETCH(bool, canRequestInvoice);

    UserPayment payment;
    QSignalSpy invoiceChanged(&payment, &UserPayment::canRequestInvoiceChanged);
    payment.setStatus(status);
    payment.setInvoiceStatus(invoiceStatus);
    QCOMPARE(payment.isPending(), pending);
    QCOMPARE(payment.canRequestInvoice(), canRequestInvoice);
    QCOMPARE(invoiceChanged.count(), 2);
}

void TestRecords::banner()
{
    Banner top(Banner::Top);
    Banner left(Banner::Left);
    QCOMPARE(top.position(), Banner::Top);
    QCOMPARE(left.position(), Banner::Left);
    QCOMPARE(top.link(), QString());
    QCOMPARE(top.source(), QString());

    QSignalSpy source(&top, &Banner::sourceChanged);
    top.setSource(QStringLiteral("https://cdn.example/top.png"));
    top.setSource(QStringLiteral("https://cdn.example/top.png"));
    QCOMPARE(source.count(), 1);
}

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
