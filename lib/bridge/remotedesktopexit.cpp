#include "remotedesktopexit.h"

namespace RemoteDesktopExit {

QString failureReason(int exitCode)
{
    // FreeRDP's exit codes: below 128 the server's reason for ending a session that was up (the ordinary
    // ends among them are not failures), from 128 on the client's own reasons for not getting connected.
    switch (exitCode) {
    case 0:  // success
    case 1:  // disconnected by an administrator
    case 2:  // logged off
    case 3:  // idle time-out
    case 5:  // replaced by another connection
    case 11: // disconnected by the user
    case 12: // logged off by the user
        return {};
    case 4:
        return QStringLiteral("the sign-in took too long");
    case 7:
    case 8:
        return QStringLiteral("the computer refused the connection");
    case 9:
    case 144:
    case 155:
    case 158:
        return QStringLiteral("this user may not sign in remotely");
    case 128:
        return QStringLiteral("the connection settings were not accepted");
    case 132:
    case 134:
    case 154:
        return QStringLiteral("the user name or password was refused");
    case 133:
        return QStringLiteral("the security negotiation failed");
    case 135:
        return QStringLiteral("the account is locked");
    case 139:
    case 140:
        return QStringLiteral("the computer's address could not be found");
    case 131:
    case 137:
    case 141:
        return QStringLiteral("the computer could not be reached");
    case 143:
        return QStringLiteral("the secure connection failed (the computer's certificate may have changed)");
    case 145:
        return QStringLiteral("the connection was cancelled");
    case 147:
        return QStringLiteral(
            "the computer closed the connection during sign-in (the password may be wrong)");
    case 148:
    case 152:
        return QStringLiteral("the password has expired");
    case 149:
        return QStringLiteral("the password must be changed first");
    case 151:
        return QStringLiteral("the account is disabled");
    case 157:
        return QStringLiteral("the account has expired");
    case 159:
        return QStringLiteral("no password was given");
    default:
        return QStringLiteral("the Remote Desktop client ended with code %1").arg(exitCode);
    }
}

} // namespace RemoteDesktopExit
