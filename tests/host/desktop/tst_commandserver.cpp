// The local command server with real clients on a free loopback port.
#include "../commandclient.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>

using namespace commandclient;

class TestCommandServer : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<LocalCommandServer> m_server;
    QStringList m_events;

private Q_SLOTS:
    void init()
    {
        m_events.clear();
        m_server = std::make_unique<LocalCommandServer>(kAllowedOrigin);
        QVERIFY(m_server->listen(0));
        QVERIFY(m_server->port() != 0);
        connect(m_server.get(), &LocalCommandServer::raiseRequested, this, [this] { m_events << "raise"; });
        connect(m_server.get(), &LocalCommandServer::triggerLogin, this, [this] { m_events << "login"; });
        connect(m_server.get(), &LocalCommandServer::setPasswordResetToken, this,
                [this](const QString &token) { m_events << "token:" + token; });
        connect(m_server.get(), &LocalCommandServer::paymentStatus, this,
                [this](const QString &status) { m_events << "payment:" + status; });
    }

    void cleanup() { m_server.reset(); }

    // Crafted by hand: a browser page reached through a rebound DNS name sends its own Host header.
    // The command frame follows the request at once, so a refused client would reach the handler if
    // the refusal came too late.
    void hostCheck_data()
    {
        QTest::addColumn<QString>("headers");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("localhost with port") << "Host: localhost:%1" << true;
        QTest::newRow("IPv4 loopback") << "Host: 127.0.0.1:%1" << true;
        QTest::newRow("IPv6 loopback") << "Host: [::1]:%1" << true;
        QTest::newRow("no port, any case") << "Host: LocalHost" << true;
        QTest::newRow("allowed origin too") << "Host: localhost\r\nOrigin: " + kAllowedOrigin << true;
        // Foreign origins and names as tst_commandabuse sends them (evil.example, null, plain http, a
        // suffix, two origins, rebound and IP-like names) are refused there; these are the others.
        QTest::newRow("origin with explicit port")
            << "Host: localhost\r\nOrigin: https://vantorix.example:8443" << false;
        QTest::newRow("origin of a subdomain")
            << "Host: localhost\r\nOrigin: https://pay.vantorix.example" << false;
        QTest::newRow("origin of a file page") << "Host: localhost\r\nOrigin: file://" << false;
        QTest::newRow("other loopback address") << "Host: 127.0.0.2" << false;
        QTest::newRow("bad port") << "Host: localhost:99999" << false;
        QTest::newRow("no host header") << "" << false;
        QTest::newRow("two host headers") << "Host: localhost\r\nHost: evil.example" << false;
    }
    void hostCheck()
    {
        QFETCH(QString, headers);
        QFETCH(bool, accepted);
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_server->port());
        QVERIFY(socket.waitForConnected(kWaitMs));
        const QByteArray request = openingRequest(
            QString(headers).replace(QLatin1String("%1"), QString::number(m_server->port())).toLatin1());
        const QByteArray frame = maskedFrame("{\"triggerLogin\":true}");
        // A refused client gets its frame in right behind the request: it must not reach the handler.
        socket.write(accepted ? request : request + frame);

        QByteArray response;
        QVERIFY(QTest::qWaitFor(
            [&] {
                response += socket.readAll();
                return response.contains("\r\n\r\n") || socket.state() == QAbstractSocket::UnconnectedState;
            },
            kWaitMs));
        if (accepted) {
            QVERIFY2(response.startsWith("HTTP/1.1 101"), response.constData());
            socket.write(frame);
            QTRY_COMPARE_WITH_TIMEOUT(m_events, QStringList({"raise", "login"}), kWaitMs);
        } else {
            QVERIFY2(response.startsWith("HTTP/1.1 403"), response.constData());
            QTRY_COMPARE_WITH_TIMEOUT(socket.state(), QAbstractSocket::UnconnectedState, kWaitMs);
            QCOMPARE(m_events, QStringList());
        }
    }

    void messages_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("events");
        const QStringList raiseOnly{"raise"};
        QTest::newRow("second start") << "{}" << raiseOnly;
        QTest::newRow("empty text") << "" << raiseOnly;
        QTest::newRow("truncated object") << "{\"triggerLogin\":true" << raiseOnly;
        QTest::newRow("number") << "5" << raiseOnly;
        QTest::newRow("string") << "\"triggerLogin\"" << raiseOnly;
        QTest::newRow("array") << "[{\"triggerLogin\":true,\"payment_status\":\"ok\"}]" << raiseOnly;
        QTest::newRow("login true") << "{\"triggerLogin\":true}" << QStringList{"raise", "login"};
        QTest::newRow("login false") << "{\"triggerLogin\":false}" << raiseOnly;
        QTest::newRow("login number 1") << "{\"triggerLogin\":1}" << raiseOnly;
        QTest::newRow("token") << "{\"setPasswordResetToken\":\"a1b2\"}"
                               << QStringList{"raise", "token:a1b2"};
        QTest::newRow("empty token") << "{\"setPasswordResetToken\":\"\"}" << QStringList{"raise", "token:"};
        QTest::newRow("integer token") << "{\"setPasswordResetToken\":9007199254740993}"
                                       << QStringList{"raise", "token:9007199254740993"};
        QTest::newRow("fraction token")
            << "{\"setPasswordResetToken\":1.50}" << QStringList{"raise", "token:1.5"};
        QTest::newRow("null token") << "{\"setPasswordResetToken\":null}"
                                    << QStringList{"raise", "token:null"};
        QTest::newRow("object status")
            << "{\"payment_status\":{\"ok\":true}}" << QStringList{"raise", "payment:{\"ok\":true}"};
        QTest::newRow("token then payment")
            << "{\"payment_status\":\"Payment received\",\"setPasswordResetToken\":\"t\"}"
            << QStringList{"raise", "token:t", "payment:Payment received"};
        QTest::newRow("all keys, fixed order")
            << "{\"payment_status\":\"paid\",\"setPasswordResetToken\":\"t\",\"triggerLogin\":true,\"x\":1}"
            << QStringList{"raise", "login", "token:t", "payment:paid"};
    }
    void messages()
    {
        QFETCH(QString, message);
        QFETCH(QStringList, events);
        QWebSocket client;
        QVERIFY(connectClient(client, *m_server));
        client.sendTextMessage(message);
        QTRY_COMPARE_WITH_TIMEOUT(m_events, events, kWaitMs);
    }

    void messageSizeLimit_data()
    {
        QTest::addColumn<QString>("padding");
        QTest::addColumn<int>("extraBytes");
        QTest::addColumn<bool>("handled");
        QTest::newRow("at the limit") << "a" << 0 << true;
        QTest::newRow("one byte over") << "a" << 1 << false;
        // Fewer characters than the limit, but more UTF-8 bytes.
        QTest::newRow("multi-byte over") << QString(QChar(0xe9)) << 2 << false;
    }
    void messageSizeLimit()
    {
        QFETCH(QString, padding);
        QFETCH(int, extraBytes);
        QFETCH(bool, handled);
        const QString head = QStringLiteral("{\"triggerLogin\":true,\"pad\":\"");
        const QString tail = QStringLiteral("\"}");
        const qint64 target = LocalCommandServer::kMaxMessageBytes + extraBytes;
        const qint64 padBytes = target - head.size() - tail.size();
        const qint64 unit = padding.toUtf8().size();
        const QString message = head + padding.repeated(padBytes / unit) + tail;
        QCOMPARE(message.toUtf8().size(), target);

        QWebSocket client;
        QVERIFY(connectClient(client, *m_server));
        client.sendTextMessage(message);
        if (handled)
            QTRY_COMPARE_WITH_TIMEOUT(m_events, QStringList({"raise", "login"}), kWaitMs);
        else
            QTRY_COMPARE_WITH_TIMEOUT(client.state(), QAbstractSocket::UnconnectedState, kWaitMs);
        QCOMPARE(m_events, handled ? QStringList({"raise", "login"}) : QStringList());
    }

    void severalClients()
    {
        QWebSocket first;
        QWebSocket second(kAllowedOrigin);
        QVERIFY(connectClient(first, *m_server));
        QVERIFY(connectClient(second, *m_server));
        second.sendTextMessage(QStringLiteral("{\"setPasswordResetToken\":\"2\"}"));
        QTRY_COMPARE_WITH_TIMEOUT(m_events.size(), 2, kWaitMs);
        first.sendTextMessage(QStringLiteral("{\"setPasswordResetToken\":\"1\"}"));
        QTRY_COMPARE_WITH_TIMEOUT(m_events, QStringList({"raise", "token:2", "raise", "token:1"}), kWaitMs);
    }

    // After "Apply and restart" the old instance may still hold the port for a moment: the new one keeps
    // trying until it is free, and gives up with one warning when it never is (its last try is a plain
    // listen).
    void portReleasedLaterIsTaken()
    {
        QTcpServer holder;
        QVERIFY(holder.listen(QHostAddress::LocalHost, 0));
        const quint16 port = holder.serverPort();
        LocalCommandServer patient(kAllowedOrigin);
        QSignalSpy listening(&patient, &LocalCommandServer::listening);
        patient.listenPatiently(port, 60000, 20);
        QVERIFY(!patient.isListening());
        QTest::qWait(100);
        QVERIFY(!patient.isListening());
        holder.close();
        QTRY_VERIFY_WITH_TIMEOUT(patient.isListening(), kWaitMs);
        QCOMPARE(patient.port(), port);
        QCOMPARE(listening.count(), 1);

        QTcpServer keeper;
        QVERIFY(keeper.listen(QHostAddress::LocalHost, 0));
        LocalCommandServer givesUp(kAllowedOrigin);
        QSignalSpy failed(&givesUp, &LocalCommandServer::listenFailed);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Websocket Server error")));
        givesUp.listenPatiently(keeper.serverPort(), 100, 20);
        QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, kWaitMs);
        QVERIFY(!givesUp.isListening());
    }
};

QTEST_GUILESS_MAIN(TestCommandServer)
#include "tst_commandserver.moc"
