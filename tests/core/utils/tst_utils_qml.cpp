// What the views see: the Utils and BillingFormat singletons, the enumerations and the log and payment
// controllers' list-valued properties, each expression evaluated in QML.
#include "logs/logscontroller.h"
#include "payments/paymentscontroller.h"

#include <QColor>
#include <QJsonArray>
#include <QJsonObject>
#include <QQmlComponent>
#include <QQmlContext>
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
        m_payments.applyPaymentList(
            QJsonArray{QJsonObject{{"payment_id", 3}, {"payment_status", "Completed"}}});
        m_engine.rootContext()->setContextProperty(QStringLiteral("logs"), &m_logs);
        m_engine.rootContext()->setContextProperty(QStringLiteral("payments"), &m_payments);
    }

    void reachableFromQml_data()
    {
        QTest::addColumn<QByteArray>("expression");
        QTest::addColumn<QVariant>("expected");
        QTest::addColumn<QByteArray>("warning"); // logged while evaluating
        QTest::addColumn<QByteArray>("critical");
        const auto row = [](const char *expression, const QVariant &expected, const char *warning = "",
                            const char *critical = "") {
            QTest::newRow(expression)
                << QByteArray(expression) << expected << QByteArray(warning) << QByteArray(critical);
        };
        row(R"(Utils.validateComputerName("My-PC 1").message)",
            QStringLiteral("Machine name cannot contain special characters."));
        row(R"(Utils.validateComputerName("My PC 1").valid)", true);
        row("Utils.validateUsername(42).message", QStringLiteral("Username must be a string type."));
        row("Utils.validateComputerPassword(null).message",
            QStringLiteral("Password must be a string type."));
        row("Utils.validateUserPassword(undefined).message",
            QStringLiteral("Password must be a string type."));
        row(R"(Utils.containsSpecialCharacters("a_b"))", true);
        row(R"(Utils.parseBool("Yes"))", true);
        row("Utils.parseBool(true)", true);
        row("Utils.parseBool(null)", false);
        row("Utils.parseBool(undefined)", false);
        row(R"(Utils.getStatusEnum("hibernating") === undefined)", true,
            "Unrecognised vm status: hibernating");
        row(R"(Utils.getStatusEnum("RUNNING") === Computer.Running)", true);
        row("Utils.getStatusEnum(undefined) === Computer.Terminated", true);
        row("Utils.getPlatformEnum(undefined) === Computer.Linux", true);
        row("Utils.getEmailKeyFromNumber(User.LowCredits)", QStringLiteral("low_credit"));
        row("Utils.getEmailKeyFromNumber(42) === undefined", true, "",
            "unrecognised email settings number QVariant(int, 42)");
        row("Utils.formatMinutes(1439)", QStringLiteral("23:59 (h:m)"));
        row("Utils.statusLabel(Computer.Repairing)", QStringLiteral("Rebooting"));
        row("Utils.statusOrder(Computer.Stopping)", 1);
        row("Utils.platformIcon(Computer.Windows)", QStringLiteral("qrc:///assets/icons/windows-icon.svg"));
        row("Utils.sortablePropertyText(Computer.StatusProperty)", QStringLiteral("Order by status"));
        row("Computer.Deleted", 9);
        row("Computer.Mac", 2);
        row("Banner.Left", 1);
        row("User.MachineRunningForXHours", 9);
        row("Utils.defaultLowCreditsThreshold", 5.0);
        row("Utils.styles.isLightTheme", true); // from the environment
        row("Utils.styles.sidebarBackgroundColor", QColor(0xee, 0xee, 0xee));
        row("Utils.styles.notificationSpacing", 15);
        row("BillingFormat.creditsText(1.5)", QStringLiteral("1.50000 credits"));
        row("BillingFormat.priceHistoryRows(\"Running Cost (a) = 1 credits (10 minutes @ 0.1 credits/h) ** "
            "Idle Cost (a) = 2 credits (5 minutes @ 0.2 credits/h)\").length",
            1);
        row("logs.loadingText", QStringLiteral("Loading machine activity."));
        row("logs.perPageChoices.length", 5);
        row("payments.userPayments.length", 1);
        row("payments.userPayments[0].identifier", 3);
        row("payments.invoiceButton(\"Pending\", \"UNAVAILABLE\", \"https:/\" + \"/x\").text",
            QStringLiteral("Open payment link"));
        row("payments.historyRows[0].status", QStringLiteral("Payment Status"));
    }

    void reachableFromQml()
    {
        QFETCH(QByteArray, expression);
        QFETCH(QVariant, expected);
        QFETCH(QByteArray, warning);
        QFETCH(QByteArray, critical);
        if (!warning.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, warning.constData());
        if (!critical.isEmpty())
            QTest::ignoreMessage(QtCriticalMsg, critical.constData());
        QQmlComponent component(&m_engine);
        component.setData("import QtQml\nimport Vantorix.Core\nQtObject { property var value: " + expression +
                              " }",
                          QUrl(QStringLiteral("qrc:/tst_utils_qml.qml")));
        const std::unique_ptr<QObject> root(component.create());
        QVERIFY2(root, qPrintable(component.errorString()));
        QVariant actual = root->property("value");
        QVERIFY(actual.isValid());
        if (expected.metaType() != actual.metaType())
            QVERIFY(actual.convert(expected.metaType()));
        QCOMPARE(actual, expected);
    }

private:
    QQmlEngine m_engine;
    LogsController m_logs{LogsController::Scope::Machine, nullptr, nullptr, [] { return QString(); }};
    PaymentsController m_payments{nullptr, nullptr, nullptr, nullptr};
};

QTEST_MAIN(TestUtilsQml)
#include "tst_utils_qml.moc"
