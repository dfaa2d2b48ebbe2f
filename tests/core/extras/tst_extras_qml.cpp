// What the views see of the log, billing and payment logic: the singleton's functions and the
// controllers' list-valued properties, read from QML.
#include "logs/logscontroller.h"
#include "payments/paymentscontroller.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(Vantorix_CorePlugin)

class TestExtrasQml : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void reachableFromQml()
    {
        QQmlEngine engine;
        engine.addImportPath(QStringLiteral("qrc:/"));
        LogsController logs(LogsController::Scope::Machine, nullptr, nullptr, [] { return QString(); });
        PaymentsController payments(nullptr, nullptr, nullptr, nullptr);
        payments.applyPaymentList(
            QJsonArray{QJsonObject{{"payment_id", 3}, {"payment_status", "Completed"}}});
        engine.rootContext()->setContextProperty(QStringLiteral("logs"), &logs);
        engine.rootContext()->setContextProperty(QStringLiteral("payments"), &payments);

        QQmlComponent component(&engine);
        component.setData(R"QML(
            import QtQml
            import Vantorix.Core
            QtObject {
                property string cost: BillingFormat.creditsText(1.5)
                property int periods: BillingFormat.priceHistoryRows(
                    "Running Cost (a) = 1 credits (10 minutes @ 0.1 credits/h) ** Idle Cost (a) = 2 credits (5 minutes @ 0.2 credits/h)").length
                property string loading: logs.loadingText
                property int choices: logs.perPageChoices.length
                property int paymentCount: payments.userPayments.length
                property int paymentId: payments.userPayments[0].identifier
                property string button: payments.invoiceButton("Pending", "UNAVAILABLE", "https://x").text
                property string header: payments.historyRows[0].status
            }
        )QML",
                          QUrl());
        std::unique_ptr<QObject> root(component.create());
        QVERIFY2(root, qPrintable(component.errorString()));
        QCOMPARE(root->property("cost").toString(), QStringLiteral("1.50000 credits"));
        QCOMPARE(root->property("periods").toInt(), 1);
        QCOMPARE(root->property("loading").toString(), QStringLiteral("Loading machine activity."));
        QCOMPARE(root->property("choices").toInt(), 5);
        QCOMPARE(root->property("paymentCount").toInt(), 1);
        QCOMPARE(root->property("paymentId").toInt(), 3);
        QCOMPARE(root->property("button").toString(), QStringLiteral("Open payment link"));
        QCOMPARE(root->property("header").toString(), QStringLiteral("Payment Status"));
    }
};

QTEST_MAIN(TestExtrasQml)
#include "tst_extras_qml.moc"
