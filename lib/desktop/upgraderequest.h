#pragma once

#include <QByteArray>
#include <QString>

// Checks on a WebSocket upgrade request made before it is handed to QWebSocketServer, which does not let
// its user see the Host header. Pure functions on the raw request head, so they are easy to test.
namespace UpgradeRequest {

// Largest request head accepted (request line and headers up to the blank line).
inline constexpr int kMaxHeadBytes = 16 * 1024;

enum class Verdict {
    Incomplete, // the blank line that ends the head has not arrived yet
    TooLarge,   // no end of head within kMaxHeadBytes
    Accept,     // exactly one Host header naming a loopback host, at most one Origin header
    BadHost,    // no Host header, several, or one that is not a loopback name
    BadOrigin,  // several Origin headers: which one counts would be a guess
};

// Inspects the bytes buffered so far on a fresh connection.
[[nodiscard]] Verdict inspect(const QByteArray &buffered);

// localhost, 127.0.0.1 or [::1] (any case), optionally followed by ":port" with a valid port number.
[[nodiscard]] bool isLoopbackHost(const QByteArray &hostHeaderValue);

// No Origin at all (native clients), or exactly the allowed origin. "null" and an empty allowed origin
// never match.
[[nodiscard]] bool isOriginAllowed(const QString &origin, const QString &allowedOrigin);

} // namespace UpgradeRequest
