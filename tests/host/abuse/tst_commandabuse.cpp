// The local command server under abuse: 10^5 garbage, oversized, binary and well-formed messages from
// allowed clients, and refused handshakes (foreign origins, foreign Host headers, garbage instead of
// HTTP) that carry commands right behind them. Nothing crashes, memory stays flat, and nothing sent over
// a refused handshake reaches a handler.
#include "../commandclient.h"

#include <QFile>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTcpSocket>

#include <memory>

using namespace commandclient;

namespace {

constexpr int kMessages = 100000;

qint64 residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

QByteArray randomBytes(QRandomGenerator &rng, int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char(rng.bounded(256));
    return bytes;
}

} // namespace

class TestCommandAbuse : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<LocalCommandServer> m_server;
    int m_raised = 0;
    int m_commands = 0; // logins, tokens and payment notes together

    // A raw connection: the handshake text, then (without waiting for the answer) the frames. Waits up to
    // `waitMs` for an answer or the server closing the connection.
    QByteArray rawAttempt(const QByteArray &handshake, const QByteArray &frames, int waitMs = kWaitMs)
    {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_server->port());
        if (!socket.waitForConnected(kWaitMs))
            return "no connection";
        socket.write(handshake + frames);
        socket.flush();
        QByteArray answer;
        // What arrived by the end of the wait is the answer judged, complete or not.
        (void)QTest::qWaitFor(
            [&] {
                answer += socket.readAll();
                return socket.state() == QAbstractSocket::UnconnectedState || answer.contains("\r\n\r\n");
            },
            waitMs);
        QTest::qWait(1); // let the server see the frames before the connection goes
        return answer;
    }

private Q_SLOTS:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("vantorix.*=false")); }

    void init()
    {
        m_raised = m_commands = 0;
        m_server = std::make_unique<LocalCommandServer>(kAllowedOrigin);
        QVERIFY(m_server->listen(0));
        connect(m_server.get(), &LocalCommandServer::raiseRequested, this, [this] { ++m_raised; });
        connect(m_server.get(), &LocalCommandServer::triggerLogin, this, [this] { ++m_commands; });
        connect(m_server.get(), &LocalCommandServer::setPasswordResetToken, this, [this] { ++m_commands; });
        connect(m_server.get(), &LocalCommandServer::paymentStatus, this, [this] { ++m_commands; });
    }

    void cleanup() { m_server.reset(); }

    // 10^5 messages from allowed clients: garbage text, binary frames, oversized text and commands.
    void allowedClientsFlood()
    {
        QRandomGenerator rng(11);
        auto client = std::make_unique<QWebSocket>(); // no Origin: a native client
        QVERIFY(connectClient(*client, *m_server));

        int textSent = 0, commandsSent = 0, large = 0, binary = 0;
        const int oversized = 20;
        qint64 warmKb = 0, peakKb = 0;
        const int batch = 2000;
        for (int sent = 0; sent < kMessages;) {
            for (int i = 0; i < batch; ++i, ++sent) {
                const int kind = int(rng.bounded(100));
                if (kind < 45) {
                    client->sendTextMessage(QString::fromUtf8(randomBytes(rng, 1 + int(rng.bounded(300)))));
                    ++textSent;
                } else if (kind < 75) {
                    client->sendBinaryMessage(randomBytes(rng, 1 + int(rng.bounded(2000))));
                    ++binary;
                } else if (kind < 99) {
                    static const char *const commands[] = {
                        R"({"triggerLogin":true})",
                        R"({"setPasswordResetToken":"tok"})",
                        R"({"payment_status":"Payment completed."})",
                        R"({"triggerLogin":"yes"})",
                        "{}",
                        R"({"setPasswordResetToken":{"nested":[1,2,{"deep":null}]}})",
                        "[]",
                        "null"};
                    const int pick = int(rng.bounded(8));
                    client->sendTextMessage(QString::fromUtf8(commands[pick]));
                    ++textSent;
                    commandsSent += pick < 3 || pick == 5 ? 1 : 0;
                } else {
                    // Just under the size limit.
                    client->sendTextMessage(
                        QString(int(LocalCommandServer::kMaxMessageBytes / 2) - 16, QLatin1Char('{')));
                    ++textSent;
                    ++large;
                }
            }
            QTRY_COMPARE_WITH_TIMEOUT(m_raised, textSent, kWaitMs);
            if (sent == 10 * batch)
                warmKb = residentKb();
            peakKb = qMax(peakKb, residentKb());
        }
        QCOMPARE(m_commands, commandsSent);

        // Oversized messages close the connection without reaching a handler; a new client works.
        for (int i = 0; i < oversized; ++i) {
            QSignalSpy closed(client.get(), &QWebSocket::disconnected);
            client->sendTextMessage(
                QString(int(LocalCommandServer::kMaxMessageBytes) + 1 + i * 977, QLatin1Char('x')));
            QVERIFY(closed.wait(kWaitMs));
            client = std::make_unique<QWebSocket>();
            QVERIFY(connectClient(*client, *m_server));
        }
        QCOMPARE(m_raised, textSent);
        client->sendTextMessage(QStringLiteral("{\"triggerLogin\":true}"));
        QTRY_COMPARE_WITH_TIMEOUT(m_raised, textSent + 1, kWaitMs);

        const qint64 endKb = residentKb();
        std::printf(
            "command server flood: %d messages (%d text of which %d commands and %d of 32 KB, %d binary) "
            "and %d oversized; resident memory after warm-up %lld KB, peak %lld KB, end %lld KB\n",
            kMessages, textSent, commandsSent, large, binary, oversized, warmKb, peakKb, endKb);
        // Flat: what remains after the warm-up is allocator noise, not a per-message cost (a leak of even
        // 100 bytes per message would add 8 MB here).
        QVERIFY2(endKb - warmKb < 4096, qPrintable(QStringLiteral("grew by %1 KB").arg(endKb - warmKb)));
    }

    // Refused handshakes with commands right behind them, and garbage instead of a handshake.
    void refusedNeverReachHandlers()
    {
        QRandomGenerator rng(12);
        const QByteArray commands = maskedFrame(R"({"triggerLogin":true})") +
                                    maskedFrame(R"({"setPasswordResetToken":"stolen"})") +
                                    maskedFrame(R"({"payment_status":"forged"})");
        const QList<QByteArray> refusedHeaders = {
            "Host: localhost\r\nOrigin: https://evil.example",
            "Host: localhost\r\nOrigin: null",
            "Host: localhost\r\nOrigin: http://vantorix.example",
            "Host: localhost\r\nOrigin: https://vantorix.example.evil.example",
            "Host: localhost\r\nOrigin: " + kAllowedOrigin.toUtf8() + "\r\nOrigin: null",
            "Host: evil.example",
            "Host: localhost.evil.example",
            "Host: 127.0.0.1.evil.example\r\nOrigin: " + kAllowedOrigin.toUtf8(),
        };
        const qint64 startKb = residentKb();
        int attempts = 0;
        for (int round = 0; round < 60; ++round) {
            for (const QByteArray &headers : refusedHeaders) {
                const QByteArray answer = rawAttempt(openingRequest(headers), commands);
                QVERIFY2(!answer.startsWith("HTTP/1.1 101"), headers.constData());
                ++attempts;
            }
            // Garbage, a header block that never ends, and binary noise instead of a handshake.
            rawAttempt(randomBytes(rng, 1 + int(rng.bounded(4000))), commands, 50);
            rawAttempt("GET / HTTP/1.1\r\nX-Long: " + QByteArray(70000, 'a'), commands, 50);
            rawAttempt(QByteArray(1, '\0') + randomBytes(rng, 100) + "\r\n\r\n", commands, 50);
            attempts += 3;
        }
        QCOMPARE(m_raised, 0);
        QCOMPARE(m_commands, 0);

        // Still serving the allowed client.
        QWebSocket client;
        QVERIFY(connectClient(client, *m_server));
        client.sendTextMessage(QStringLiteral("{\"setPasswordResetToken\":\"mine\"}"));
        QTRY_COMPARE_WITH_TIMEOUT(m_commands, 1, kWaitMs);
        std::printf(
            "command server refusals: %d attempts, none reached a handler, resident memory %lld -> %lld KB\n",
            attempts, startKb, residentKb());
    }
};

QTEST_GUILESS_MAIN(TestCommandAbuse)
#include "tst_commandabuse.moc"
