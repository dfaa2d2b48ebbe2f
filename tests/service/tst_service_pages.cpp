// Web pages, logos and banners, the pages that report back to the app (payments and their invoices,
// activation, password reset), and the command line.
#include "servicetestkit.h"

#include <QBuffer>
#include <QImageReader>
#include <QProcess>
#include <QtTest>

class ServicePagesTest : public QObject {
    Q_OBJECT

    void expectAppMessage(const QByteArray &html, const QByteArray &message)
    {
        QVERIFY2(
            html.contains("new WebSocket('ws://localhost:" + QByteArray::number(kit.commandPort()) + "')"),
            html.constData());
        QVERIFY2(html.contains(message), message.constData());
        QVERIFY(html.contains("socket.send(JSON.stringify(message))"));
    }
    ServiceTestKit kit;

private Q_SLOTS:
    void init() { kit.control("reset"); }

    // Every page answers with what it is (a page with its heading, a logo drawing); anything else is not
    // found, and never a page that talks to the app.
    void paths_data()
    {
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("content");
        for (const char *path : {"/", "/faq", "/download", "/pricing", "/about-us", "/contact",
                                 "/terms-of-service/", "/acceptable-use-policy/", "/privacy-policy/"})
            QTest::newRow(path) << QByteArray(path) << QByteArray("<h1>");
        for (const char *logo : {"Vantorix-APP-Logo.svg", "Vantorix-APP-Logo-Dark.svg"})
            QTest::newRow(logo) << "/wp-content/uploads/logo/" + QByteArray(logo)
                                << QByteArray("viewBox=\"0 0 900 225\"");
        for (const char *path : {"/wp-content/uploads/logo/Other.svg", "/pay/unknown", "/activate/unknown",
                                 "/reset-password/unknown", "/banners/nope.gif", "/wp-admin/"})
            QTest::newRow(path) << QByteArray(path) << QByteArray();
    }

    void paths()
    {
        QFETCH(QByteArray, path);
        QFETCH(QByteArray, content);
        const auto reply = kit.send("GET", path);
        QCOMPARE(reply.status, content.isEmpty() ? 404 : 200);
        QVERIFY(reply.body.contains(content));
        if (content == "<h1>")
            QVERIFY(reply.body.startsWith("<!DOCTYPE html>"));
        QVERIFY(!content.isEmpty() || !reply.body.contains("WebSocket"));
    }

    void banners()
    {
        const QJsonArray list = kit.demo("GET", "get_vantorix_banners").value("banners").toArray();
        QCOMPARE(list.size(), 4);
        QSet<QString> positions;
        int animated = 0;
        for (const QJsonValue &v : list) {
            const QJsonObject banner = v.toObject();
            positions.insert(banner.value("position").toString());
            const QString image = banner.value("image").toString();
            QVERIFY(image.startsWith(kit.base()));
            const QByteArray data = kit.send("GET", QUrl(image).path().toLatin1()).body;
            QBuffer buffer;
            buffer.setData(data);
            QImageReader reader(&buffer);
            QVERIFY2(reader.canRead(), qPrintable(image));
            if (reader.supportsAnimation() && reader.imageCount() > 1) {
                ++animated;
                for (int i = 0; i < reader.imageCount(); ++i)
                    QVERIFY2(!reader.read().isNull(), qPrintable(reader.errorString()));
            }
        }
        QCOMPARE(positions, (QSet<QString>{"top_light", "top_dark", "left_light", "left_dark"}));
        QVERIFY(animated >= 1);
    }

    void paymentCompletesOnceAndTheInvoiceIsSentLater()
    {
        const double creditsBefore = kit.credits();
        const QString link =
            kit.demo("POST", "initiate_payment", "&amount=10").value("paypal_payment_link").toString();
        const auto newest = [this] {
            return kit.demo("POST", "list_user_payments").array().first().toObject();
        };
        QCOMPARE(newest().value("payment_status").toString(), QString("Pending"));
        QCOMPARE(newest().value("vat_amount").toString(), QString("1.90")); // not VAT exempt
        const QByteArray path = QUrl(link).path().toLatin1();
        QVERIFY(kit.send("POST", path + "/complete").value("completed").toBool());
        QVERIFY(kit.send("POST", path + "/complete").has("error_message")); // only once
        QVERIFY(!kit.send("GET", path).body.contains(">Pay</button>"));     // nor on its page
        QVERIFY(qAbs(kit.credits() - (creditsBefore + 10)) < 0.01);
        const QByteArray id = QByteArray::number(newest().value("payment_id").toInt());
        QCOMPARE(kit.api("POST", "request-invoice&email=demo%40vantorix.example&payment_id=" + id).status,
                 200);
        QCOMPARE(newest().value("invoice_status").toString(), QString("REQUESTED"));
        QVERIFY(kit.control("advance?minutes=3").has("success"));
        QCOMPARE(newest().value("invoice_status").toString(), QString("SENT"));
    }

    void resetPageHandsTheCodeToTheApp()
    {
        kit.api("POST", "get_reset_pass_token&user_email=demo%40vantorix.example");
        const QString body = kit.outbox().last().toObject().value("body").toString();
        const QString link =
            QRegularExpression("(http://\\S+/reset-password/(\\w+))").match(body).captured(1);
        const QString code = link.section('/', -1);
        QVERIFY(!code.isEmpty());
        const auto page = kit.send("GET", QUrl(link).path().toLatin1());
        QCOMPARE(page.status, 200);
        expectAppMessage(page.body, "{\"setPasswordResetToken\":\"" + code.toLatin1() + "\"}");
    }

    void commandLinePrintsTheBaseUrlFirst()
    {
        QProcess process;
        process.start(QStringLiteral(DEMO_SERVICE_EXECUTABLE),
                      {"--port", "0", "--seed", "3", "--machines", "5", "--time-scale", "10",
                       "--command-port", "50123"});
        QVERIFY(process.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(process.canReadLine(), 10000);
        const QString first = QString::fromUtf8(process.readLine()).trimmed();
        QVERIFY2(QRegularExpression("^http://127\\.0\\.0\\.1:\\d+$").match(first).hasMatch(),
                 qPrintable(first));
        process.kill();
        process.waitForFinished();

        QProcess bad;
        bad.start(QStringLiteral(DEMO_SERVICE_EXECUTABLE), {"--time-scale", "fast"});
        QVERIFY(bad.waitForFinished(10000));
        QVERIFY(bad.exitCode() != 0);
    }
};

QTEST_MAIN(ServicePagesTest)
#include "tst_service_pages.moc"
