#pragma once

#include "hostservices.h"

#include <QString>
#include <QStringList>

#include <functional>

// Starts the Remote Desktop client (FreeRDP) on a connection text, on Linux.
//
// The text is written to a new file of mode 0600 in the temporary folder, without its
// "password 51:b:<hex>" line: FreeRDP ignores that Windows-only field. The password in it is unprotected in
// memory and written to the client's standard input (FreeRDP's /from-stdin:force), never to its arguments,
// its environment or the file. The client keeps running after launch() returns; the file stays, like the
// connection files of the Windows client.
//
// The client program is "xfreerdp" (found on PATH); the environment variable VANTORIX_RDP_CLIENT names
// another program, for tests.
//
// A client that ends with a failure soon after its start (credentials refused, computer unreachable) is
// reported through the launch's onEarlyFailure with FreeRDP's reason (RemoteDesktopExit).
class RemoteDesktopLauncher {
public:
    // The results follow the Windows start call: above 31 means started.
    static constexpr unsigned int kStarted = 33;
    static constexpr unsigned int kNotStarted = 2;

    using Unprotect = std::function<QString(const QString &protectedHex)>;

    explicit RemoteDesktopLauncher(Unprotect unprotect);

    unsigned int launch(const QString &rdpFileContents,
                        const RemoteDesktopFailure &onEarlyFailure = {}) const;

    // The connection text split into what goes into the file and the protected password (empty when
    // there is no password line). Every line ending is kept as it was.
    struct Split {
        QString fileText;
        QString protectedPassword;
    };
    [[nodiscard]] static Split splitPassword(const QString &rdpFileContents);

    [[nodiscard]] static QString clientProgram();
    [[nodiscard]] static QStringList clientArguments(const QString &filePath, bool passwordOnStdin);

private:
    [[nodiscard]] static QString writeConnectionFile(const QString &text);

    Unprotect m_unprotect;
};
