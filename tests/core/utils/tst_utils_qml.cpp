// What the views see: the Utils singleton, its results and the enumerations, reached from QML.
#include <QColor>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

#include <memory>

Q_IMPORT_QML_PLUGIN(Vantorix_CorePlugin)

class TestUtilsQml : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("QT_QUICK_CONTROLS_MATERIAL_THEME", "Light");
        m_engine.addImportPath(QStringLiteral("qrc:/"));
        QQmlComponent component(&m_engine);
        component.setData(R"(
            import QtQml
            import Vantorix.Core
            QtObject {
                readonly property var nameResult: Utils.validateComputerName("My-PC 1")
                property bool nameValid: nameResult.valid
                property string nameMessage: nameResult.message
                property bool goodNameValid: Utils.validateComputerName("My PC 1").valid
                property string goodNameMessage: Utils.validateComputerName("My PC 1").message
                property string notTextMessage: Utils.validateUsername(42).message
                property string nullMessage: Utils.validateComputerPassword(null).message
                property string undefinedMessage: Utils.validateUserPassword(undefined).message
                property bool special: Utils.containsSpecialCharacters("a_b")
                property bool yes: Utils.parseBool("Yes")
                property bool boolTrue: Utils.parseBool(true)
                property bool nullFalse: Utils.parseBool(null)
                property bool undefinedFalse: Utils.parseBool(undefined)
                property bool unknownStatusUndefined: Utils.getStatusEnum("hibernating") === undefined
                property bool runningMatches: Utils.getStatusEnum("RUNNING") === Computer.Running
                property bool absentStatusTerminated: Utils.getStatusEnum(undefined) === Computer.Terminated
                property bool absentPlatformLinux: Utils.getPlatformEnum(undefined) === Computer.Linux
                property var emailKey: Utils.getEmailKeyFromNumber(User.LowCredits)
                property bool unknownEmailUndefined: Utils.getEmailKeyFromNumber(42) === undefined
                property string minutes: Utils.formatMinutes(1439)
                property string label: Utils.statusLabel(Computer.Repairing)
                property int rank: Utils.statusOrder(Computer.Stopping)
                property string icon: Utils.platformIcon(Computer.Windows)
                property string orderText: Utils.sortablePropertyText(Computer.StatusProperty)
                property int deleted: Computer.Deleted
                property int mac: Computer.Mac
                property int leftBanner: Banner.Left
                property int running9: User.MachineRunningForXHours
                property real threshold: Utils.defaultLowCreditsThreshold
                property bool light: Utils.styles.isLightTheme
                property var sidebar: Utils.styles.sidebarBackgroundColor
                property int spacing: Utils.styles.notificationSpacing
            }
        )",
                          QUrl(QStringLiteral("qrc:/tst_utils_qml.qml")));
        QTest::ignoreMessage(QtWarningMsg, "Unrecognised vm status: hibernating");
        QTest::ignoreMessage(QtCriticalMsg, "unrecognised email settings number QVariant(int, 42)");
        m_root.reset(component.create());
        QVERIFY2(m_root, qPrintable(component.errorString()));
    }

    void reachableFromQml_data()
    {
        QTest::addColumn<QByteArray>("property");
        QTest::addColumn<QVariant>("expected");

        QTest::newRow("invalid name") << QByteArray("nameValid") << QVariant(false);
        QTest::newRow("invalid name message")
            << QByteArray("nameMessage")
            << QVariant(QStringLiteral("Machine name cannot contain special characters."));
        QTest::newRow("valid name") << QByteArray("goodNameValid") << QVariant(true);
        QTest::newRow("valid name message") << QByteArray("goodNameMessage") << QVariant(QString());
        QTest::newRow("number is not a text")
            << QByteArray("notTextMessage") << QVariant(QStringLiteral("Username must be a string type."));
        QTest::newRow("null is not a text")
            << QByteArray("nullMessage") << QVariant(QStringLiteral("Password must be a string type."));
        QTest::newRow("undefined is not a text")
            << QByteArray("undefinedMessage") << QVariant(QStringLiteral("Password must be a string type."));
        QTest::newRow("special") << QByteArray("special") << QVariant(true);
        QTest::newRow("parseBool Yes") << QByteArray("yes") << QVariant(true);
        QTest::newRow("parseBool true") << QByteArray("boolTrue") << QVariant(true);
        QTest::newRow("parseBool null") << QByteArray("nullFalse") << QVariant(false);
        QTest::newRow("parseBool undefined") << QByteArray("undefinedFalse") << QVariant(false);
        QTest::newRow("unknown status") << QByteArray("unknownStatusUndefined") << QVariant(true);
        QTest::newRow("RUNNING") << QByteArray("runningMatches") << QVariant(true);
        QTest::newRow("absent status") << QByteArray("absentStatusTerminated") << QVariant(true);
        QTest::newRow("absent platform") << QByteArray("absentPlatformLinux") << QVariant(true);
        QTest::newRow("e-mail key") << QByteArray("emailKey") << QVariant(QStringLiteral("low_credit"));
        QTest::newRow("unknown e-mail number") << QByteArray("unknownEmailUndefined") << QVariant(true);
        QTest::newRow("minutes") << QByteArray("minutes") << QVariant(QStringLiteral("23:59 (h:m)"));
        QTest::newRow("label") << QByteArray("label") << QVariant(QStringLiteral("Rebooting"));
        QTest::newRow("rank") << QByteArray("rank") << QVariant(1);
        QTest::newRow("icon") << QByteArray("icon")
                              << QVariant(QStringLiteral("qrc:///assets/icons/windows-icon.svg"));
        QTest::newRow("order text") << QByteArray("orderText") << QVariant(QStringLiteral("Order by status"));
        QTest::newRow("Computer.Deleted") << QByteArray("deleted") << QVariant(9);
        QTest::newRow("Computer.Mac") << QByteArray("mac") << QVariant(2);
        QTest::newRow("Banner.Left") << QByteArray("leftBanner") << QVariant(1);
        QTest::newRow("User.MachineRunningForXHours") << QByteArray("running9") << QVariant(9);
        QTest::newRow("threshold") << QByteArray("threshold") << QVariant(5.0);
        QTest::newRow("light theme from environment") << QByteArray("light") << QVariant(true);
        QTest::newRow("sidebar colour") << QByteArray("sidebar") << QVariant(QColor(0xee, 0xee, 0xee));
        QTest::newRow("spacing") << QByteArray("spacing") << QVariant(15);
    }

    void reachableFromQml()
    {
        QFETCH(QByteArray, property);
        QFETCH(QVariant, expected);
        QVERIFY(m_root);
        QVariant actual = m_root->property(property.constData());
        QVERIFY2(actual.isValid(), property.constData());
        if (expected.metaType() != actual.metaType())
            QVERIFY(actual.convert(expected.metaType()));
        QCOMPARE(actual, expected);
    }

private:
    std::unique_ptr<QObject> m_root;
    QQmlEngine m_engine;
};

QTEST_MAIN(TestUtilsQml)
#include "tst_utils_qml.moc"
