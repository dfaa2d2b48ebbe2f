// Reading the service's values (booleans, statuses, platforms, e-mail keys), the enumeration tables, the
// duration format and the theme constants.
#include "computer/computer.h"
#include "records/banner.h"
#include "records/user.h"
#include "utils/styles.h"
#include "utils/utils.h"

#include <QColor>
#include <QJsonValue>
#include <QMetaEnum>
#include <QTest>

class TestConversions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parseBool_data();
    void parseBool();
    void statusEnum_data();
    void statusEnum();
    void platformEnum_data();
    void platformEnum();
    void unknownTextsGiveNoValue();
    void statusTable_data();
    void statusTable();
    void platformTable_data();
    void platformTable();
    void sortableAndOtherEnums();
    void emailKeys_data();
    void emailKeys();
    void unknownEmailNumbers_data();
    void unknownEmailNumbers();
    void formatMinutes_data();
    void formatMinutes();
    void styles_data();
    void styles();
    void stylesFromEnvironment();
};

void TestConversions::parseBool_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("expected");

    QTest::newRow("TRUE") << QVariant(QStringLiteral("TRUE")) << true;
    QTest::newRow("true") << QVariant(QStringLiteral("true")) << true;
    QTest::newRow("Yes") << QVariant(QStringLiteral("Yes")) << true;
    QTest::newRow("text 1") << QVariant(QStringLiteral("1")) << true;
    QTest::newRow("number 1") << QVariant(1) << true;
    QTest::newRow("double 1.0") << QVariant(1.0) << true;
    QTest::newRow("text 0") << QVariant(QStringLiteral("0")) << false;
    QTest::newRow("no") << QVariant(QStringLiteral("no")) << false;
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

void TestConversions::parseBool()
{
    QFETCH(QVariant, value);
    QFETCH(bool, expected);
    QCOMPARE(Utils::parseBool(value), expected);
    // The JSON reading gives the same answer for what JSON can hold.
    const QJsonValue json = QJsonValue::fromVariant(value);
    if (!json.isUndefined() && value.metaType() != QMetaType::fromType<QJsonValue>())
        QCOMPARE(Utils::parseBool(json), expected);
}

void TestConversions::statusEnum_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("expected");

    QTest::newRow("RUNNING") << QVariant(QStringLiteral("RUNNING")) << int(Computer::Running);
    QTest::newRow("running") << QVariant(QStringLiteral("running")) << int(Computer::Running);
    QTest::newRow("Pending_Provisioning")
        << QVariant(QStringLiteral("Pending_Provisioning")) << int(Computer::PendingProvisioning);
    QTest::newRow("deleted") << QVariant(QStringLiteral("deleted")) << int(Computer::Deleted);
    QTest::newRow("number") << QVariant(3) << int(Computer::Terminated);
    QTest::newRow("absent") << QVariant() << int(Computer::Terminated);
    QTest::newRow("null") << QVariant::fromValue(nullptr) << int(Computer::Terminated);
    QTest::newRow("json text") << QVariant::fromValue(QJsonValue(QStringLiteral("Staging")))
                               << int(Computer::Staging);
    QTest::newRow("json absent") << QVariant::fromValue(QJsonValue(QJsonValue::Undefined))
                                 << int(Computer::Terminated);
}

void TestConversions::statusEnum()
{
    QFETCH(QVariant, value);
    QFETCH(int, expected);
    const auto status = Utils::statusEnum(value);
    QVERIFY(status.has_value());
    QCOMPARE(int(*status), expected);
    QCOMPARE(Utils::getStatusEnum(value), QVariant(expected));
}

void TestConversions::platformEnum_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("expected");

    QTest::newRow("windows") << QVariant(QStringLiteral("windows")) << int(Computer::Windows);
    QTest::newRow("Windows") << QVariant(QStringLiteral("Windows")) << int(Computer::Windows);
    QTest::newRow("LINUX") << QVariant(QStringLiteral("LINUX")) << int(Computer::Linux);
    QTest::newRow("mac") << QVariant(QStringLiteral("mac")) << int(Computer::Mac);
    QTest::newRow("absent") << QVariant() << int(Computer::Linux);
    QTest::newRow("number") << QVariant(0) << int(Computer::Linux);
}

void TestConversions::platformEnum()
{
    QFETCH(QVariant, value);
    QFETCH(int, expected);
    const auto platform = Utils::platformEnum(value);
    QVERIFY(platform.has_value());
    QCOMPARE(int(*platform), expected);
    QCOMPARE(Utils::getPlatformEnum(value), QVariant(expected));
}

void TestConversions::unknownTextsGiveNoValue()
{
    QTest::ignoreMessage(QtWarningMsg, "Unrecognised vm status: Hibernating");
    QVERIFY(!Utils::statusEnum(QStringLiteral("Hibernating")).has_value());
    QTest::ignoreMessage(QtWarningMsg, "Unrecognised vm status: ");
    QVERIFY(!Utils::getStatusEnum(QString()).isValid());

    QTest::ignoreMessage(QtWarningMsg, "Unrecognised platform. \"BeOS\"");
    QVERIFY(!Utils::platformEnum(QStringLiteral("BeOS")).has_value());
    QTest::ignoreMessage(QtWarningMsg, "Unrecognised platform. \"\"");
    QVERIFY(!Utils::getPlatformEnum(QString()).isValid());
}

void TestConversions::statusTable_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("serviceString");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("rank");
    QTest::addColumn<QString>("filter");

    QTest::newRow("PendingProvisioning") << int(Computer::PendingProvisioning) << "pending_provisioning"
                                         << "Pending" << 9 << "filterStatusPendingProvisioning";
    QTest::newRow("Provisioning") << int(Computer::Provisioning) << "provisioning"
                                  << "Provisioning" << 5 << "filterStatusProvisioning";
    QTest::newRow("Staging") << int(Computer::Staging) << "staging"
                             << "Staging" << 4 << "filterStatusStaging";
    QTest::newRow("Running") << int(Computer::Running) << "running"
                             << "Running" << 0 << "filterStatusRunning";
    QTest::newRow("Stopping") << int(Computer::Stopping) << "stopping"
                              << "Stopping" << 1 << "filterStatusStopping";
    QTest::newRow("Suspending") << int(Computer::Suspending) << "suspending"
                                << "Suspending" << 2 << "filterStatusSuspending";
    QTest::newRow("Suspended") << int(Computer::Suspended) << "suspended"
                               << "Suspended" << 6 << "filterStatusSuspended";
    QTest::newRow("Repairing") << int(Computer::Repairing) << "repairing"
                               << "Rebooting" << 3 << "filterStatusRepairing";
    QTest::newRow("Terminated") << int(Computer::Terminated) << "terminated"
                                << "Stopped" << 7 << "filterStatusTerminated";
    QTest::newRow("Deleted") << int(Computer::Deleted) << "deleted"
                             << "Deleted" << 8 << "filterStatusDeleted";
    QTest::newRow("other -1") << -1 << ""
                              << "NA" << 9 << "";
    QTest::newRow("other 10") << 10 << ""
                              << "NA" << 9 << "";
}

void TestConversions::statusTable()
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

void TestConversions::platformTable_data()
{
    QTest::addColumn<int>("platform");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("icon");

    QTest::newRow("Windows") << int(Computer::Windows) << "Windows"
                             << "qrc:///assets/icons/windows-icon.svg";
    QTest::newRow("Linux") << int(Computer::Linux) << "Linux"
                           << "qrc:///assets/icons/linux-icon.svg";
    QTest::newRow("Mac") << int(Computer::Mac) << "Mac"
                         << "";
    QTest::newRow("other") << 3 << "NA"
                           << "";
}

void TestConversions::platformTable()
{
    QFETCH(int, platform);
    QFETCH(QString, label);
    QFETCH(QString, icon);
    QCOMPARE(Computer::platformLabel(platform), label);
    QCOMPARE(Utils::platformLabel(platform), label);
    QCOMPARE(Computer::platformIcon(platform), icon);
    QCOMPARE(Utils::platformIcon(platform), icon);
}

void TestConversions::sortableAndOtherEnums()
{
    QCOMPARE(int(Computer::LastStartedTime), 0);
    QCOMPARE(int(Computer::UserInstanceName), 1);
    QCOMPARE(int(Computer::StatusProperty), 2);
    QCOMPARE(Utils::sortablePropertyText(Computer::LastStartedTime), QStringLiteral("Order by activity"));
    QCOMPARE(Utils::sortablePropertyText(Computer::UserInstanceName), QStringLiteral("Order by name"));
    QCOMPARE(Utils::sortablePropertyText(Computer::StatusProperty), QStringLiteral("Order by status"));
    QCOMPARE(Utils::sortablePropertyText(3), QString());

    QCOMPARE(QMetaEnum::fromType<Computer::Status>().keyCount(), 10);
    QCOMPARE(QMetaEnum::fromType<Computer::Platform>().keyCount(), 3);
    QCOMPARE(int(Banner::Top), 0);
    QCOMPARE(int(Banner::Left), 1);
    QCOMPARE(Utils::defaultLowCreditsThreshold, 5.0);
}

void TestConversions::emailKeys_data()
{
    QTest::addColumn<QVariant>("number");
    QTest::addColumn<QString>("key");

    QTest::newRow("1") << QVariant(int(User::CreditsPurchase)) << "credits_purchase";
    QTest::newRow("2") << QVariant(int(User::CreditsDepleted)) << "credits_depleted";
    QTest::newRow("3 singular") << QVariant(int(User::LowCredits)) << "low_credit";
    QTest::newRow("4") << QVariant(int(User::MachineCreated)) << "machine_created";
    QTest::newRow("5") << QVariant(int(User::MachineStarted)) << "machine_started";
    QTest::newRow("6") << QVariant(int(User::MachineStopped)) << "machine_stopped";
    QTest::newRow("7") << QVariant(int(User::MachineReset)) << "machine_reset";
    QTest::newRow("8") << QVariant(int(User::MachineDeleted)) << "machine_deleted";
    QTest::newRow("9") << QVariant(int(User::MachineRunningForXHours)) << "machine_running_for_x_hours";
    QTest::newRow("9 as double") << QVariant(9.0) << "machine_running_for_x_hours";
}

void TestConversions::emailKeys()
{
    QFETCH(QVariant, number);
    QFETCH(QString, key);
    QCOMPARE(Utils::emailKeyFromNumber(number), std::optional<QString>(key));
    QCOMPARE(Utils::getEmailKeyFromNumber(number), QVariant(key));
}

void TestConversions::unknownEmailNumbers_data()
{
    QTest::addColumn<QVariant>("number");
    QTest::addColumn<QByteArray>("log");

    QTest::newRow("0") << QVariant(0) << QByteArray("unrecognised email settings number QVariant(int, 0)");
    QTest::newRow("10") << QVariant(10) << QByteArray("unrecognised email settings number QVariant(int, 10)");
    QTest::newRow("1.5") << QVariant(1.5)
                         << QByteArray("unrecognised email settings number QVariant(double, 1.5)");
    QTest::newRow("text 1") << QVariant(QStringLiteral("1"))
                            << QByteArray("unrecognised email settings number QVariant(QString, \"1\")");
    QTest::newRow("bool") << QVariant(true)
                          << QByteArray("unrecognised email settings number QVariant(bool, true)");
}

void TestConversions::unknownEmailNumbers()
{
    QFETCH(QVariant, number);
    QFETCH(QByteArray, log);
    QTest::ignoreMessage(QtCriticalMsg, log.constData());
    QVERIFY(!Utils::getEmailKeyFromNumber(number).isValid());
}

void TestConversions::formatMinutes_data()
{
    QTest::addColumn<double>("minutes");
    QTest::addColumn<QString>("text");

    QTest::newRow("0") << 0.0 << "0 (min)";
    QTest::newRow("5") << 5.0 << "5 (min)";
    QTest::newRow("59") << 59.0 << "59 (min)";
    QTest::newRow("60") << 60.0 << "1:00 (h:m)";
    QTest::newRow("65") << 65.0 << "1:05 (h:m)";
    QTest::newRow("600") << 600.0 << "10:00 (h:m)";
    QTest::newRow("1439") << 1439.0 << "23:59 (h:m)";
    QTest::newRow("1440") << 1440.0 << "1:00:00 (D:h:m)";
    QTest::newRow("1500") << 1500.0 << "1:01:00 (D:h:m)";
    QTest::newRow("14400") << 14400.0 << "10:00:00 (D:h:m)";
    QTest::newRow("61.9") << 61.9 << "1:01 (h:m)";
    QTest::newRow("0.9") << 0.9 << "0 (min)";
    QTest::newRow("10 minutes") << 10.0 << "10 (min)";
    QTest::newRow("1 day 5 minutes") << 1445.0 << "1:00:05 (D:h:m)";
    QTest::newRow("1000 days") << 1440000.0 << "1000:00:00 (D:h:m)";
    // Garbage shows as nothing elapsed rather than as "-1:23:55".
    QTest::newRow("negative") << -5.0 << "0 (min)";
    QTest::newRow("nan") << qQNaN() << "0 (min)";
    QTest::newRow("infinity") << qInf() << "0 (min)";
}

void TestConversions::formatMinutes()
{
    QFETCH(double, minutes);
    QFETCH(QString, text);
    QCOMPARE(Utils::formatMinutes(minutes), text);
}

void TestConversions::styles_data()
{
    QTest::addColumn<QString>("theme");
    QTest::addColumn<bool>("light");
    QTest::addColumn<QColor>("sidebarGreetings");
    QTest::addColumn<QColor>("sidebarSeparator");
    QTest::addColumn<QColor>("credits");
    QTest::addColumn<QColor>("appBackground");
    QTest::addColumn<QColor>("paneBackground");

    QTest::newRow("Light") << "Light" << true << QColor(0x61, 0x61, 0x61) << QColor(0x9e, 0x9e, 0x9e)
                           << QColor(Qt::black) << QColor(0xe0, 0xe0, 0xe0) << QColor(Qt::white);
    QTest::newRow("Dark") << "Dark" << false << QColor(0xd3, 0xd3, 0xd3) << QColor(0x61, 0x61, 0x61)
                          << QColor(Qt::white) << QColor(0x0a, 0x0c, 0x0e) << QColor(0x13, 0x17, 0x20);
    QTest::newRow("light in lower case is dark")
        << "light" << false << QColor(0xd3, 0xd3, 0xd3) << QColor(0x61, 0x61, 0x61) << QColor(Qt::white)
        << QColor(0x0a, 0x0c, 0x0e) << QColor(0x13, 0x17, 0x20);
    QTest::newRow("unset is dark") << "" << false << QColor(0xd3, 0xd3, 0xd3) << QColor(0x61, 0x61, 0x61)
                                   << QColor(Qt::white) << QColor(0x0a, 0x0c, 0x0e)
                                   << QColor(0x13, 0x17, 0x20);
}

void TestConversions::styles()
{
    QFETCH(QString, theme);
    QFETCH(bool, light);
    QFETCH(QColor, sidebarGreetings);
    QFETCH(QColor, sidebarSeparator);
    QFETCH(QColor, credits);
    QFETCH(QColor, appBackground);
    QFETCH(QColor, paneBackground);

    Utils utils(theme);
    const Styles *styles = utils.styles();
    QVERIFY(styles);
    QCOMPARE(styles->isLightTheme(), light);
    QCOMPARE(styles->sidebarGreetingsColor(), sidebarGreetings);
    QCOMPARE(styles->sidebarSeparatorColor(), sidebarSeparator);
    QCOMPARE(styles->sidebarCreditsColor(), credits);
    QCOMPARE(styles->appBackgroundColor(), appBackground);
    QCOMPARE(styles->updateUserDataPaneBackgroundColor(), paneBackground);
    QCOMPARE(styles->updateUserDataPaneBackgroundColor().alpha(), 255);
    QCOMPARE(styles->sidebarBackgroundColor(), light ? QColor(0xee, 0xee, 0xee) : QColor(0x0e, 0x12, 0x19));
    QCOMPARE(styles->computersFilterButton(), light ? QColor(0xdf, 0xe6, 0xf1) : QColor(0x22, 0x2c, 0x3c));
    QCOMPARE(styles->notificationSpacing(), 15);
}

void TestConversions::stylesFromEnvironment()
{
    const QByteArray saved = qgetenv(Styles::kThemeVariable);
    qputenv(Styles::kThemeVariable, "Light");
    QVERIFY(Utils().styles()->isLightTheme());
    qputenv(Styles::kThemeVariable, "Dark");
    QVERIFY(!Utils().styles()->isLightTheme());
    qunsetenv(Styles::kThemeVariable);
    QVERIFY(!Utils().styles()->isLightTheme());
    if (!saved.isNull())
        qputenv(Styles::kThemeVariable, saved);
}

QTEST_GUILESS_MAIN(TestConversions)
#include "tst_conversions.moc"
