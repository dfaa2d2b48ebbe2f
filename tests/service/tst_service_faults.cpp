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

    void reshapingKinds_data()
    {
        QTest::addColumn<QByteArray>("action");
        QTest::addColumn<QByteArray>("plan");
        QTest::addColumn<QByteArray>("extra");
        QTest::addColumn<QString>("path"); // where the key sits: "key", "outer/key" or "*/key" (each record)
        QTest::addColumn<int>("type");     // the JSON type it then has; Undefined: left out
        QTest::newRow("retype: a number's text becomes the number")
            << QByteArray("get_user_data") << QByteArray("kind=retype&key=user_credit") << QByteArray()
            << "user_data/user_credit" << int(QJsonValue::Double);
        QTest::newRow("retype: a number becomes its text")
            << QByteArray("get_user_logs") << QByteArray("kind=retype&key=total_log_entries")
            << QByteArray("&page=0&per_page=5") << "total_log_entries" << int(QJsonValue::String);
        QTest::newRow("retype: other text becomes a list, in every record")
            << QByteArray("list_user_vm_instances") << QByteArray("kind=retype&key=status") << QByteArray()
            << "*/status" << int(QJsonValue::Array);
        QTest::newRow("retype: a list becomes its text")
            << QByteArray("get_vantorix_banners") << QByteArray("kind=retype&key=banners") << QByteArray()
            << "banners" << int(QJsonValue::String);
        QTest::newRow("null, in every record")
            << QByteArray("list_user_payments") << QByteArray("kind=null&key=payment_id") << QByteArray()
            << "*/payment_id" << int(QJsonValue::Null);
        QTest::newRow("drop_key")
            << QByteArray("insert_vm_instance") << QByteArray("kind=drop_key&key=vm_id")
            << QByteArray(
                   "&vm_user_instance_name=Lab&template_id=3&win_username=alice&win_password=Secret-Pass1")
            << "vm_id" << int(QJsonValue::Undefined);
    }

    void reshapingKinds()
    {
        QFETCH(QByteArray, action);
        QFETCH(QByteArray, plan);
        QFETCH(QByteArray, extra);
        QFETCH(QString, path);
        QFETCH(int, type);
        QVERIFY(kit.control("fault?action=" + action + "&" + plan).has("success"));
        const auto reply = kit.demo(action.startsWith("get_") ? "GET" : "POST", action, extra);
        QCOMPARE(reply.status, 200);
        const QJsonDocument document = QJsonDocument::fromJson(reply.body);
        const QStringList steps = path.split('/');
        QJsonArray records;
        if (steps.first() == "*") {
            if (document.isArray())
                records = document.array();
            else
                for (const QJsonValue &v : document.object())
                    records.append(v);
            QVERIFY(records.size() > 1);
        } else {
            records.append(steps.size() == 2 ? document.object().value(steps.first())
                                             : QJsonValue(document.object()));
        }
        for (const QJsonValue &record : std::as_const(records)) {
            const QJsonObject o = record.toObject();
            QCOMPARE(o.contains(steps.last()), type != QJsonValue::Undefined);
            QCOMPARE(int(o.value(steps.last()).type()), type);
        }
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
