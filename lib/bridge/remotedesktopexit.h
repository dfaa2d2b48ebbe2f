#pragma once

#include <QString>

// What the end of a FreeRDP client process says about the connection, for the user.
namespace RemoteDesktopExit {

// How long after its start a client that ends with a failure counts as having failed to connect.
constexpr int kEarlyFailureWindowMs = 20000;

// The reason a client that ended with this exit code gives for not connecting, as a short phrase
// ("the user name or password was refused"); empty when the code stands for a session that ended normally
// (success, logged off, disconnected by the user or the server). Unknown codes give the number.
[[nodiscard]] QString failureReason(int exitCode);

} // namespace RemoteDesktopExit
