// The faults no client test provokes, the request log of the exact wire, reset, controls off by default.
#include "servicetestkit.h"

#include <QtTest>

class ServiceFaultsTest : public QObject {
    Q_OBJECT

    ServiceTestKit kit;

private Q_SLOTS:
    void init() { kit.control("reset"); }

    void emptyBodyFault()
    {
        QVERIFY(kit.control("fault?action=list_user_vm_instances&kind=empty").has("success"));
        const auto reply = kit.demo("POST", "list_user_vm_instances");
        QCOMPARE(reply.status, 200);
        QVERIFY(reply.finished && reply.body.isEmpty());
        QVERIFY(kit.demo("GET", "get_user_data").has("user_data")); // other actions are not affected
    }

    // A reshaping fault changes the key in the answer (in every record of a list): what the answer then
    // holds, and what it no longer holds.
    void reshapingKinds_data()
    {
        QTest::addColumn<QByteArray>("action");
        QTest::addColumn<QByteArray>("plan");
        QTest::addColumn<QString>("holds");
        QTest::addColumn<QString>("lacks");
        QTest::newRow("retype: a number's text becomes the number")
            << QByteArray("get_user_data") << QByteArray("kind=retype&key=user_credit")
            << "\"user_credit\":\\s*\\d"
            << "\"user_credit\":\\s*\"";
        QTest::newRow("retype: a number becomes its text")
            << QByteArray("get_user_logs&page=0&per_page=5")
            << QByteArray("kind=retype&key=total_log_entries") << "\"total_log_entries\":\\s*\"\\d"
            << "\"total_log_entries\":\\s*\\d";
        QTest::newRow("retype: other text becomes a list, in every record")
            << QByteArray("list_user_vm_instances") << QByteArray("kind=retype&key=status")
            << "\"status\":\\s*\\["
            << "\"status\":\\s*\"";
        QTest::newRow("retype: a list becomes its text")
            << QByteArray("get_vantorix_banners") << QByteArray("kind=retype&key=banners")
            << "\"banners\":\\s*\""
            << "\"banners\":\\s*\\[";
        QTest::newRow("null, in every record")
            << QByteArray("list_user_payments") << QByteArray("kind=null&key=payment_id")
            << "\"payment_id\":\\s*null"
            << "\"payment_id\":\\s*[^n\\s]";
        QTest::newRow("drop_key") << QByteArray("insert_vm_instance&vm_user_instance_name=Lab&template_id=3"
                                                "&win_username=alice&win_password=Secret-Pass1")
                                  << QByteArray("kind=drop_key&key=vm_id") << "^\\{"
                                  << "\"vm_id\"";
    }

    void reshapingKinds()
    {
        QFETCH(QByteArray, action);
        QFETCH(QByteArray, plan);
        QFETCH(QString, holds);
        QFETCH(QString, lacks);
        const QByteArray name = action.left(action.indexOf('&') < 0 ? action.size() : action.indexOf('&'));
        QVERIFY(kit.control("fault?action=" + name + "&" + plan).has("success"));
        const auto reply = kit.demo(name.startsWith("get_") ? "GET" : "POST", name, action.mid(name.size()));
        QCOMPARE(reply.status, 200);
        const QString body = QString::fromUtf8(reply.body);
        QVERIFY2(body.contains(QRegularExpression(holds)), qPrintable(body));
        QVERIFY2(!body.contains(QRegularExpression(lacks)), qPrintable(body));
    }

    void incompletePlansAreRefused()
    {
        // An unknown kind, no action, a reshaping fault without its key.
        for (const QByteArray &plan :
             {QByteArray("action=get_user_data&kind=explode"), QByteArray("kind=empty"),
              QByteArray("action=get_user_data&kind=null")})
            QVERIFY2(kit.control("fault?" + plan).has("error_message"), plan.constData());
    }

    void resetRestoresTheSeed()
    {
        kit.demo("POST", "delete_user_vm_instance", "&vm_id=101");
        kit.control("fault?action=get_user_data&kind=empty");
        kit.control("advance?minutes=90");
        kit.control("reset");
        QCOMPARE(kit.machineRecord(101).value("status").toString(), QString("running"));
        QVERIFY(kit.demo("GET", "get_user_data").has("user_data"));
        QVERIFY(kit.outbox().isEmpty());
    }

    void controlsAreOffByDefault()
    {
        ServiceTestKit plain(false);
        QCOMPARE(plain.send("POST", "/__test__/reset").status, 404);
        QCOMPARE(plain.send("GET", "/__test__/requests").status, 404);
        QVERIFY(plain.demo("GET", "get_user_data").has("user_data"));
    }
};

QTEST_MAIN(ServiceFaultsTest)
#include "tst_service_faults.moc"
