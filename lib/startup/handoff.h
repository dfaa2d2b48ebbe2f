#pragma once

#include <QString>

// A second start of the program hands over to the running one: it connects to the local command port,
// sends "{}" (which makes the first instance raise its window) and ends.
namespace HandOff {

inline constexpr quint16 kCommandPort = 57979;

// Connects to ws://localhost:<port>, waits at most timeoutMs for the connection, sends "{}" when
// connected. Returns the socket's error text (Qt's default text when nothing went wrong).
QString notifyRunningInstance(quint16 port = kCommandPort, int timeoutMs = 10000);

} // namespace HandOff
