// Computers over simulated time: lifecycle, costs, credits, price history.
#include "servicetestkit.h"

#include <QtTest>

class ServiceLifecycleTest : public QObject {
    Q_OBJECT

    QString status(int id) { return kit.machineRecord(id).value("status").toString(); }
    void advance(int minutes)
    {
        QVERIFY(kit.control("advance?minutes=" + QByteArray::number(minutes)).has("success"));
    }
    ServiceTestKit kit;

private Q_SLOTS:
    void init() { kit.control("reset"); }

    void seedCoversEveryStatusFamily()
    {
        const QJsonObject list = kit.demo("POST", "list_user_vm_instances").object();
        QVERIFY(list.size() >= 8);
        QSet<QString> statuses, platforms;
        int withoutRdp = 0, favourites = 0, longRunning = 0;
        for (const QJsonValue &v : list) {
            const QJsonObject m = v.toObject();
            statuses.insert(m.value("status").toString());
            platforms.insert(m.value("platform").toString());
            withoutRdp += m.contains("rdp_public_address") ? 0 : 1;
            favourites += m.value("favourite").toString() == "true" ? 1 : 0;
            longRunning += m.value("vm_current_session_run_time").toString().toDouble() > 24 * 60 ? 1 : 0;
        }
        for (const char *s : {"running", "provisioning", "staging", "stopping", "repairing", "terminated",
                              "deleted", "suspended", "pending_provisioning"})
            QVERIFY2(statuses.contains(s), s);
        QCOMPARE(platforms, (QSet<QString>{"windows", "linux"}));
        QVERIFY(withoutRdp >= 1);
        QVERIFY(favourites >= 1);
        QVERIFY(longRunning >= 1);
        const double credits = kit.credits();
        QVERIFY(credits > 5 && credits < 6); // just above the low-credit threshold
    }

    void powerOperations_data()
    {
        QTest::addColumn<QByteArray>("action");
        QTest::addColumn<QString>("machine");
        QTest::addColumn<QStringList>("steps"); // status at once, then after each advance of 2 minutes
        QTest::newRow("start") << QByteArray("start_user_vm_instance") << "Design Station"
                               << QStringList{"provisioning", "running"};
        QTest::newRow("stop") << QByteArray("stop_user_vm_instance") << "Office PC"
                              << QStringList{"stopping", "terminated"};
        QTest::newRow("reboot") << QByteArray("reset_user_vm_instance") << "Office PC"
                                << QStringList{"repairing", "running"};
        QTest::newRow("delete") << QByteArray("delete_user_vm_instance") << "Spare Node"
                                << QStringList{"deleted", "deleted"};
        QTest::newRow("start while stopping")
            << QByteArray("start_user_vm_instance") << "Old Laptop" << QStringList{"provisioning", "running"};
    }

    void powerOperations()
    {
        QFETCH(QByteArray, action);
        QFETCH(QString, machine);
        QFETCH(QStringList, steps);
        const int id = kit.machineIdByName(machine);
        const auto reply = kit.demo("POST", action, "&vm_id=" + QByteArray::number(id));
        QVERIFY2(reply.value("success").toString().contains(machine), reply.body.constData());
        QCOMPARE(status(id), steps.at(0));
        advance(2);
        QCOMPARE(status(id), steps.at(1));
        if (steps.at(1) == QLatin1String("running")) {
            advance(30);
            const double session =
                kit.machineRecord(id).value("vm_current_session_run_time").toString().toDouble();
            QVERIFY2(session >= 29 && session <= 32.5, qPrintable(QString::number(session)));
        }
    }

    void runningCostsAccrueAndBurnCredits()
    {
        const int office = kit.machineIdByName("Office PC");
        const int archive = kit.machineIdByName("Archive");
        const QJsonObject before = kit.machineRecord(office);
        const double archiveCost = kit.machineRecord(archive).value("vm_total_cost").toString().toDouble();
        const double creditsBefore = kit.credits();
        advance(60);
        const QJsonObject after = kit.machineRecord(office);
        const double rate = after.value("vm_rate").toString().toDouble();
        const double gained = after.value("vm_poweron_cost").toString().toDouble() -
                              before.value("vm_poweron_cost").toString().toDouble();
        QVERIFY2(qAbs(gained - rate) < rate * 0.05, qPrintable(QString::number(gained)));
        QVERIFY(after.value("vm_poweron_time").toInt() >= before.value("vm_poweron_time").toInt() + 59);
        QVERIFY(after.value("vm_poweron_cost_ps").toString().toDouble() >
                before.value("vm_poweron_cost_ps").toString().toDouble());
        QCOMPARE(kit.machineRecord(archive).value("vm_total_cost").toString().toDouble(),
                 archiveCost); // deleted: free
        QVERIFY(kit.credits() < creditsBefore - rate * 0.9);
    }

    void depletedCreditsStopMachines()
    {
        advance(24 * 60);
        QCOMPARE(kit.credits(), 0.0);
        advance(2);
        const QJsonObject list = kit.demo("POST", "list_user_vm_instances").object();
        for (const QJsonValue &v : list)
            QVERIFY(v.toObject().value("status").toString() != "running");
        const auto start = kit.demo("POST", "start_user_vm_instance",
                                    "&vm_id=" + QByteArray::number(kit.machineIdByName("Office PC")));
        QVERIFY(start.value("error_message").toString().contains("credits"));
    }

    void priceHistoryFollowsTheBillingPopupForm()
    {
        QVERIFY(
            kit.machineRecord(kit.machineIdByName("Office PC")).value("vm_price_history_string").isNull());
        const QString history = kit.machineRecord(kit.machineIdByName("Design Station"))
                                    .value("vm_price_history_string")
                                    .toString();
        // Each period as the billing popup cuts it: "|| " between periods, " ** " between the running and
        // the idle cost, " = " before each cost.
        const QString period =
            QStringLiteral(R"(\(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\) - \(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\))");
        const QRegularExpression piece(
            QStringLiteral(R"(^Running Cost %1 = [\d.]+ credits \(\d+ minutes @ ([\d.]+ credits/h)\) \*\* )"
                           R"(Idle Cost %1 = [\d.]+ credits \(\d+ minutes @ 0\.0100 credits/h\)$)")
                .arg(period));
        QStringList runningRates;
        for (const QString &text : history.split("|| ", Qt::SkipEmptyParts)) {
            const QRegularExpressionMatch match = piece.match(text);
            QVERIFY2(match.hasMatch(), qPrintable(text));
            runningRates.append(match.captured(1));
        }
        QCOMPARE(runningRates, (QStringList{"0.3000 credits/h", "0.3200 credits/h", "0.3400 credits/h"}));
    }
};

QTEST_MAIN(ServiceLifecycleTest)
#include "tst_service_lifecycle.moc"
