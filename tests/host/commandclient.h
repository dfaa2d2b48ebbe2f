#pragma once

// What the command server tests share: the allowed origin, a WebSocket client that connects to the server,
// and an opening request and frames written by hand, as a browser page or a crafted client sends them.
#include "commandserver.h"

#include <QTest>
#include <QWebSocket>

namespace commandclient {

const QString kAllowedOrigin = QStringLiteral("https://vantorix.example");
constexpr int kWaitMs = 20000;

inline bool connectClient(QWebSocket &client, const LocalCommandServer &server)
{
    client.open(QUrl(QStringLiteral("ws://127.0.0.1:%1").arg(server.port())));
    return QTest::qWaitFor([&] { return client.state() == QAbstractSocket::ConnectedState; }, kWaitMs);
}

// The opening request with the given header lines (none when empty) before the WebSocket ones.
inline QByteArray openingRequest(const QByteArray &headers)
{
    return "GET / HTTP/1.1\r\n" + headers + (headers.isEmpty() ? "" : "\r\n") +
           "Upgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
           "Sec-WebSocket-Version: 13\r\n\r\n";
}

// One masked client frame of any length (opcode 1 text, 2 binary).
inline QByteArray maskedFrame(const QByteArray &payload, int opcode = 1)
{
    const char mask[4] = {0x5a, 0x13, 0x7c, 0x21};
    QByteArray frame;
    frame.append(char(0x80 | opcode));
    const qsizetype n = payload.size();
    if (n < 126) {
        frame.append(char(0x80 | n));
    } else if (n < 65536) {
        frame.append(char(0x80 | 126));
        frame.append(char(n >> 8));
        frame.append(char(n & 0xff));
    } else {
        frame.append(char(0x80 | 127));
        for (int shift = 56; shift >= 0; shift -= 8)
            frame.append(char((quint64(n) >> shift) & 0xff));
    }
    frame.append(mask, 4);
    for (qsizetype i = 0; i < n; ++i)
        frame.append(char(payload.at(i) ^ mask[i % 4]));
    return frame;
}

} // namespace commandclient
