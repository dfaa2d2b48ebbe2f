// Reading the service's values (booleans, statuses, platforms, e-mail keys), the enumeration tables, the
// duration format, the theme constants, and every rule of every validator in the order the rules are
// checked.
#include "computer/computer.h"
#include "records/banner.h"
#include "records/user.h"
#include "utils/styles.h"
#include "utils/utils.h"

#include <QColor>
#include <QJsonValue>
#include <QTest>

#include <functional>

using Validator = std::function<ValidationResult(const QVariant &)>;
Q_DECLARE_METATYPE(Validator)

namespace {

// A row adder for one validator: rows named "<validator>: <name>", an empty message meaning valid.
auto rowsFor(const char *validatorName, const Validator &validator)
{
    return [=](const char *name, const QVariant &value, const char *message = "") {
        QTest::addRow("%s: %s", validatorName, name) << validator << value << QString::fromUtf8(message);
    };
}

} // namespace

class TestConversions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parseBool_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("expected");

        QTest::newRow("TRUE") << QVariant(QStringLiteral("TRUE")) << true;
        QTest::newRow("Yes") << QVariant(QStringLiteral("Yes")) << true;
        QTest::newRow("text 1") << QVariant(QStringLiteral("1")) << true;
        QTest::newRow("number 1") << QVariant(1) << true;
        QTest::newRow("double 1.0") << QVariant(1.0) << true;
        QTest::newRow("text 0") << QVariant(QStringLiteral("0")) << false;
        QTest::newRow("empty text") << QVariant(QString()) << false;
        QTest::newRow("text with spaces") << QVariant(QStringLiteral(" true")) << false;
        QTest::newRow("text 1.0") << QVariant(QStringLiteral("1.0")) << false;
        QTest::newRow("number 0") << QVariant(0) << false;
        QTest::newRow("number 2") << QVariant(2) << false;
        QTest::newRow("number 0.5") << QVariant(0.5) << false;
        // A genuine boolean passes through.
        QTest::newRow("bool true") << QVariant(true) << true;
        QTest::newRow("bool false") << QVariant(false) << false;
        QTest::newRow("null") << QVariant::fromValue(nullptr) << false;
        QTest::newRow("undefined") << QVariant() << false;
        QTest::newRow("object") << QVariant(QVariantMap{{QStringLiteral("a"), 1}}) << false;
        QTest::newRow("json true") << QVariant::fromValue(QJsonValue(true)) << true;
        QTest::newRow("json text yes") << QVariant::fromValue(QJsonValue(QStringLiteral("YES"))) << true;
        QTest::newRow("json null") << QVariant::fromValue(QJsonValue(QJsonValue::Null)) << false;
    }

    void parseBool()
    {
        QFETCH(QVariant, value);
        QFETCH(bool, expected);
        QCOMPARE(Utils::parseBool(value), expected);
        // The JSON reading gives the same answer for what JSON can hold.
        const QJsonValue json = QJsonValue::fromVariant(value);
        if (!json.isUndefined() && value.metaType() != QMetaType::fromType<QJsonValue>())
            QCOMPARE(Utils::parseBool(json), expected);
    }

    void enumFromService_data()
    {
        QTest::addColumn<bool>("platform"); // false: a status
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("expected"); // -1: no value
        QTest::addColumn<QByteArray>("log");

        const auto status = [](const char *name, const QVariant &value, int expected, const char *log = "") {
            QTest::newRow(name) << false << value << expected << QByteArray(log);
        };
        const auto platform = [](const char *name, const QVariant &value, int expected,
                                 const char *log = "") {
            QTest::addRow("platform %s", name) << true << value << expected << QByteArray(log);
        };
        status("running", QStringLiteral("running"), Computer::Running);
        status("Pending_Provisioning", QStringLiteral("Pending_Provisioning"), Computer::PendingProvisioning);
        status("deleted", QStringLiteral("deleted"), Computer::Deleted);
        status("number", 3, Computer::Terminated);
        status("absent", QVariant(), Computer::Terminated);
        status("null", QVariant::fromValue(nullptr), Computer::Terminated);
        status("json text", QVariant::fromValue(QJsonValue(QStringLiteral("Staging"))), Computer::Staging);
        status("json absent", QVariant::fromValue(QJsonValue(QJsonValue::Undefined)), Computer::Terminated);
        status("unknown", QStringLiteral("Hibernating"), -1, "Unrecognised vm status: Hibernating");
        status("empty", QString(), -1, "Unrecognised vm status: ");
        platform("windows", QStringLiteral("windows"), Computer::Windows);
        platform("LINUX", QStringLiteral("LINUX"), Computer::Linux);
        platform("mac", QStringLiteral("mac"), Computer::Mac);
        platform("absent", QVariant(), Computer::Linux);
        platform("number", 0, Computer::Linux);
        platform("unknown", QStringLiteral("BeOS"), -1, "Unrecognised platform. \"BeOS\"");
        platform("empty", QString(), -1, "Unrecognised platform. \"\"");
    }

    void enumFromService()
    {
        QFETCH(bool, platform);
        QFETCH(QVariant, value);
        QFETCH(int, expected);
        QFETCH(QByteArray, log);

        // Both readings log an unknown text.
        for (int i = 0; i < 2 && !log.isEmpty(); ++i)
            QTest::ignoreMessage(QtWarningMsg, log.constData());
        std::optional<int> read;
        if (const auto p = Utils::platformEnum(value); platform && p)
            read = int(*p);
        if (const auto s = Utils::statusEnum(value); !platform && s)
            read = int(*s);
        QCOMPARE(read.value_or(-1), expected);
        const QVariant forQml = platform ? Utils::getPlatformEnum(value) : Utils::getStatusEnum(value);
        QCOMPARE(forQml, expected < 0 ? QVariant() : QVariant(expected));
    }

    void statusTable_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("serviceString");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("rank");
        QTest::addColumn<QString>("filter");

        const auto row = [](const char *name, int status, const char *serviceString, const char *label,
                            int rank, const char *filter) {
            QTest::newRow(name) << status << QString::fromLatin1(serviceString) << QString::fromLatin1(label)
                                << rank << QString::fromLatin1(filter);
        };
        row("PendingProvisioning", Computer::PendingProvisioning, "pending_provisioning", "Pending", 9,
            "filterStatusPendingProvisioning");
        row("Provisioning", Computer::Provisioning, "provisioning", "Provisioning", 5,
            "filterStatusProvisioning");
        row("Staging", Computer::Staging, "staging", "Staging", 4, "filterStatusStaging");
        row("Running", Computer::Running, "running", "Running", 0, "filterStatusRunning");
        row("Stopping", Computer::Stopping, "stopping", "Stopping", 1, "filterStatusStopping");
        row("Suspending", Computer::Suspending, "suspending", "Suspending", 2, "filterStatusSuspending");
        row("Suspended", Computer::Suspended, "suspended", "Suspended", 6, "filterStatusSuspended");
        row("Repairing", Computer::Repairing, "repairing", "Rebooting", 3, "filterStatusRepairing");
        row("Terminated", Computer::Terminated, "terminated", "Stopped", 7, "filterStatusTerminated");
        row("Deleted", Computer::Deleted, "deleted", "Deleted", 8, "filterStatusDeleted");
        row("other -1", -1, "", "NA", 9, "");
        row("other 10", 10, "", "NA", 9, "");
    }

    void statusTable()
    {
        QFETCH(int, status);
        QFETCH(QString, serviceString);
        QFETCH(QString, label);
        QFETCH(int, rank);
        QFETCH(QString, filter);

        QCOMPARE(Computer::statusServiceString(status), serviceString);
        QCOMPARE(Computer::statusLabel(status), label);
        QCOMPARE(Utils::statusLabel(status), label);
        QCOMPARE(Computer::statusOrder(status), rank);
        QCOMPARE(Utils::statusOrder(status), rank);
        QCOMPARE(Computer::statusHidingFilter(status), filter);
        // The service string reads back to the same value, also in upper case.
        if (!serviceString.isEmpty())
            QCOMPARE(Utils::getStatusEnum(serviceString.toUpper()), QVariant(status));
    }

    void platformTable_data()
    {
        QTest::addColumn<int>("platform");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("icon");
        QTest::newRow("Windows") << int(Computer::Windows) << QStringLiteral("Windows")
                                 << QStringLiteral("qrc:///assets/icons/windows-icon.svg");
        QTest::newRow("Linux") << int(Computer::Linux) << QStringLiteral("Linux")
                               << QStringLiteral("qrc:///assets/icons/linux-icon.svg");
        QTest::newRow("Mac") << int(Computer::Mac) << QStringLiteral("Mac") << QString();
        QTest::newRow("other") << 3 << QStringLiteral("NA") << QString();
    }

    void platformTable()
    {
        QFETCH(int, platform);
        QFETCH(QString, label);
        QFETCH(QString, icon);
        QCOMPARE(Computer::platformLabel(platform), label);
        QCOMPARE(Utils::platformLabel(platform), label);
        QCOMPARE(Computer::platformIcon(platform), icon);
        QCOMPARE(Utils::platformIcon(platform), icon);
    }

    void sortableProperties()
    {
        QCOMPARE(Utils::sortablePropertyText(Computer::LastStartedTime), QStringLiteral("Order by activity"));
        QCOMPARE(Utils::sortablePropertyText(Computer::UserInstanceName), QStringLiteral("Order by name"));
        QCOMPARE(Utils::sortablePropertyText(Computer::StatusProperty), QStringLiteral("Order by status"));
        QCOMPARE(Utils::sortablePropertyText(3), QString());
    }

    void emailKeys_data()
    {
        QTest::addColumn<QVariant>("number");
        QTest::addColumn<QString>("key"); // empty: unknown, logged

        const char *keys[] = {"credits_purchase", "credits_depleted", "low_credit",
                              "machine_created",  "machine_started",  "machine_stopped",
                              "machine_reset",    "machine_deleted",  "machine_running_for_x_hours"};
        for (int number = User::CreditsPurchase; number <= User::MachineRunningForXHours; ++number)
            QTest::addRow("%d", number) << QVariant(number) << QString::fromLatin1(keys[number - 1]);
        QTest::newRow("9 as double") << QVariant(9.0) << QStringLiteral("machine_running_for_x_hours");
        QTest::newRow("0") << QVariant(0) << QString();
        QTest::newRow("10") << QVariant(10) << QString();
        QTest::newRow("1.5") << QVariant(1.5) << QString();
        QTest::newRow("text 1") << QVariant(QStringLiteral("1")) << QString();
        QTest::newRow("bool") << QVariant(true) << QString();
    }

    void emailKeys()
    {
        QFETCH(QVariant, number);
        QFETCH(QString, key);
        if (key.isEmpty()) {
            QTest::ignoreMessage(
                QtCriticalMsg,
                qPrintable(QStringLiteral("unrecognised email settings number ") + QDebug::toString(number)));
            QVERIFY(!Utils::getEmailKeyFromNumber(number).isValid());
            return;
        }
        QCOMPARE(Utils::emailKeyFromNumber(number), std::optional<QString>(key));
        QCOMPARE(Utils::getEmailKeyFromNumber(number), QVariant(key));
    }

    void formatMinutes_data()
    {
        QTest::addColumn<double>("minutes");
        QTest::addColumn<QString>("text");

        QTest::newRow("0") << 0.0 << "0 (min)";
        QTest::newRow("59") << 59.0 << "59 (min)";
        QTest::newRow("60") << 60.0 << "1:00 (h:m)";
        QTest::newRow("65") << 65.0 << "1:05 (h:m)";
        QTest::newRow("1439") << 1439.0 << "23:59 (h:m)";
        QTest::newRow("1440") << 1440.0 << "1:00:00 (D:h:m)";
        QTest::newRow("1500") << 1500.0 << "1:01:00 (D:h:m)";
        QTest::newRow("61.9") << 61.9 << "1:01 (h:m)";
        QTest::newRow("0.9") << 0.9 << "0 (min)";
        QTest::newRow("1 day 5 minutes") << 1445.0 << "1:00:05 (D:h:m)";
        QTest::newRow("1000 days") << 1440000.0 << "1000:00:00 (D:h:m)";
        // Garbage shows as nothing elapsed rather than as "-1:23:55".
        QTest::newRow("negative") << -5.0 << "0 (min)";
        QTest::newRow("nan") << qQNaN() << "0 (min)";
        QTest::newRow("infinity") << qInf() << "0 (min)";
    }

    void formatMinutes()
    {
        QFETCH(double, minutes);
        QFETCH(QString, text);
        QCOMPARE(Utils::formatMinutes(minutes), text);
    }

    void styles_data()
    {
        QTest::addColumn<QString>("theme");
        QTest::addColumn<bool>("light");
        QTest::newRow("Light") << "Light" << true;
        QTest::newRow("Dark") << "Dark" << false;
        QTest::newRow("light in lower case is dark") << "light" << false;
        QTest::newRow("unset is dark") << "" << false;
    }

    void styles()
    {
        QFETCH(QString, theme);
        QFETCH(bool, light);
        // The palette follows the theme given, or else the environment's.
        const QByteArray saved = qgetenv(Styles::kThemeVariable);
        if (theme.isEmpty())
            qunsetenv(Styles::kThemeVariable);
        else
            qputenv(Styles::kThemeVariable, theme.toUtf8());
        const Utils given(theme);
        const Utils fromEnvironment;
        if (!saved.isNull())
            qputenv(Styles::kThemeVariable, saved);
        for (const Styles *styles : {given.styles(), fromEnvironment.styles()}) {
            QVERIFY(styles);
            QCOMPARE(styles->isLightTheme(), light);
            QCOMPARE(styles->appBackgroundColor(),
                     light ? QColor(0xe0, 0xe0, 0xe0) : QColor(0x0a, 0x0c, 0x0e));
        }
    }

    void specialCharacters_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("expected");

        // Each of the 30, alone and inside a word.
        const QString special = QStringLiteral("!\"#$%&'()*+,-./:;<=>?@[\\]^_{|}");
        QCOMPARE(Utils::specialCharacters(), special);
        QCOMPARE(special.size(), 30);
        for (QChar ch : special) {
            const QByteArray alone = "alone " + QString(ch).toUtf8();
            QTest::newRow(alone.constData()) << QString(ch) << true;
            QTest::newRow(("inside " + QString(ch).toUtf8()).constData())
                << QStringLiteral("ab") + ch + QStringLiteral("cd") << true;
        }
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("letters digits") << QStringLiteral("MyPC 1") << false;
        QTest::newRow("space") << QStringLiteral(" ") << false;
        QTest::newRow("backtick") << QStringLiteral("`") << false;
        QTest::newRow("tilde") << QStringLiteral("~") << false;
        QTest::newRow("non-ascii punctuation") << QStringLiteral("€§«»¿") << false;
        QTest::newRow("fullwidth exclamation") << QStringLiteral("\uFF01") << false;
    }

    void specialCharacters()
    {
        QFETCH(QString, text);
        QFETCH(bool, expected);
        QCOMPARE(Utils::containsSpecialCharacters(text), expected);
    }

    void validators_data()
    {
        QTest::addColumn<Validator>("validator");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("message"); // empty: valid

        const QVariant notText = QVariant(12345678);
        const QVariant absent;
        auto s = [](const char *text) { return QVariant(QString::fromUtf8(text)); };

        // Account user name.
        const auto username = rowsFor("username", &Utils::validateUsername);
        username("number", notText, "Username must be a string type.");
        username("undefined", absent, "Username must be a string type.");
        username("26 chars", QVariant(QString(26, u'a')),
                 "Username cannot be more than 25 characters in length.");
        username("25 chars", QVariant(QString(25, u'a')));
        username("empty passes", s(""));
        username("specials allowed", s("a.b-c_d@e"));

        // Account password.
        const auto userPassword = rowsFor("userPassword", &Utils::validateUserPassword);
        userPassword("bool", QVariant(true), "Password must be a string type.");
        userPassword("7 chars", s("ab1!xyz"), "Password must be at least eight characters long.");
        userPassword("7 lower + digit", s("abcdefg1"),
                     "Password must contain at least one special character.");
        userPassword("no digit", s("abcdefg!"), "Password must contain at least one number.");
        userPassword("leading space", s(" abcdef1!"), "Password cannot start with whitespace characters.");
        userPassword("leading tab", s("\tabcdef1!"), "Password cannot start with whitespace characters.");
        userPassword("trailing space", s("abcdef1! "),
                     "Password name cannot end with whitespace characters.");
        userPassword("trailing no-break space", s("abcdef1!\u00a0"),
                     "Password name cannot end with whitespace characters.");
        userPassword("no upper case needed", s("abcdef1!"));
        userPassword("inner space fine", s("abc def1!"));
        userPassword("fullwidth digit is no number", s("abcdefg!\uff11"),
                     "Password must contain at least one number.");

        // Computer name.
        const auto computerName = rowsFor("computerName", &Utils::validateComputerName);
        computerName("null", QVariant::fromValue(nullptr), "Machine name must be a string type.");
        computerName("two chars", s("ab"), "Machine name must be at least three characters long.");
        computerName("empty", s(""), "Machine name must be at least three characters long.");
        computerName("My PC 1", s("My PC 1"));
        computerName("hyphen", s("My-PC 1"), "Machine name cannot contain special characters.");
        computerName("ampersand", s("a&b=c"), "Machine name cannot contain special characters.");
        computerName("leading space", s(" MyPC"), "Machine name cannot start with whitespace characters.");
        computerName("trailing newline", s("MyPC\n"), "Machine name cannot end with whitespace characters.");
        computerName("long", QVariant(QString(300, u'x')));
        computerName("special before whitespace", s(" a-b"),
                     "Machine name cannot contain special characters.");

        // Windows user name.
        const auto computerUser = rowsFor("computerUser", &Utils::validateComputerUserName);
        computerUser("list", QVariant(QVariantList{1, 2}), "Username must be a string type.");
        computerUser("two chars", s("ab"), "Username must be at least three characters long.");
        computerUser("19 chars", QVariant(QString(19, u'u')));
        computerUser("20 chars", QVariant(QString(20, u'u')),
                     "Username must be at less than twenty characters long.");
        computerUser("full stop", s("john.doe"));
        computerUser("leading space", s(" john"), "Username cannot start with whitespace characters.");
        computerUser("trailing space", s("john "), "Username cannot end with whitespace characters.");

        // Windows password.
        const auto computerPassword = rowsFor("computerPassword", &Utils::validateComputerPassword);
        computerPassword("number", notText, "Password must be a string type.");
        computerPassword("7 chars", s("aA1!aA1"), "Password must be at least eight characters long.");
        computerPassword("no lower", s("ABCDEFG1!"), "Password must contain at least one lowercase letter.");
        computerPassword("eight lower", s("abcdefgh"),
                         "Password must contain at least one uppercase letter.");
        computerPassword("no digit", s("abcdEFGH!"), "Password must contain at least one number.");
        computerPassword("no special", s("abcdEFG1"),
                         "Password must contain at least one special character.");
        computerPassword("leading space", s(" abcEFG1!"),
                         "Password cannot start with whitespace characters.");
        computerPassword("trailing space", s("abcEFG1! "),
                         "Password name cannot end with whitespace characters.");
        computerPassword("valid", s("abcEFG1!"));
        computerPassword("accented letters do not count", s("ÉÀÜÖ1234!"),
                         "Password must contain at least one lowercase letter.");
    }

    void validators()
    {
        QFETCH(Validator, validator);
        QFETCH(QVariant, value);
        QFETCH(QString, message);

        const ValidationResult result = validator(value);
        QCOMPARE(result.message, message);
        QCOMPARE(result.valid, message.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestConversions)
#include "tst_conversions.moc"
