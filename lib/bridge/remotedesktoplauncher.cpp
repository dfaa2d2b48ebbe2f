#include "remotedesktoplauncher.h"

#include "computer/rdpdisplay.h"
#include "logging.h"
#include "remotedesktopexit.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryFile>

namespace {

const QLatin1String kPasswordKey("password 51:b:");
constexpr int kStartTimeoutMs = 30000;

} // namespace

RemoteDesktopLauncher::RemoteDesktopLauncher(Unprotect unprotect) : m_unprotect(std::move(unprotect))
{
}

RemoteDesktopLauncher::Split RemoteDesktopLauncher::splitPassword(const QString &rdpFileContents)
{
    Split split;
    const QStringList lines = rdpFileContents.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const bool lastLine = i == lines.size() - 1;
        const QString trimmed = lines.at(i).trimmed();
        if (trimmed.startsWith(kPasswordKey, Qt::CaseInsensitive)) {
            if (split.protectedPassword.isEmpty())
                split.protectedPassword = trimmed.mid(kPasswordKey.size()).trimmed();
            continue;
        }
        split.fileText += lines.at(i);
        if (!lastLine)
            split.fileText += QLatin1Char('\n');
    }
    return split;
}

QString RemoteDesktopLauncher::clientProgram()
{
    const QString configured = qEnvironmentVariable("VANTORIX_RDP_CLIENT");
    return configured.isEmpty() ? QStringLiteral("xfreerdp") : configured;
}

QStringList RemoteDesktopLauncher::clientArguments(const QString &filePath, bool passwordOnStdin)
{
    // FreeRDP only takes a first argument ending in ".rdp" as a connection file. "/from-stdin:force" reads
    // the password before connecting (without "force" it may ask for a domain first, which would take the
    // password line). Reading from standard input also turns off FreeRDP's interactive certificate question;
    // trust on first use keeps self-signed certificates of cloud computers working and still refuses a
    // certificate that changed later.
    QStringList arguments{filePath};
    if (passwordOnStdin)
        arguments << QStringLiteral("/from-stdin:force");
    arguments << QStringLiteral("/cert:tofu");
    return arguments;
}

QString RemoteDesktopLauncher::writeConnectionFile(const QString &text)
{
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/vantorix.XXXXXX.rdp"));
    file.setAutoRemove(false);
    if (!file.open()) {
        qCWarning(lcHost) << "Could not create the connection file:" << file.errorString();
        return {};
    }
    // QTemporaryFile creates the file owner-only already; say so explicitly.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        qCWarning(lcHost) << "Could not write the connection file:" << file.errorString();
        file.remove();
        return {};
    }
    const QString path = file.fileName();
    file.close();
    return path;
}

unsigned int RemoteDesktopLauncher::launch(const QString &rdpFileContents,
                                           const RemoteDesktopFailure &onEarlyFailure) const
{
    const Split split = splitPassword(rdpFileContents);
    const QString path = writeConnectionFile(split.fileText);
    if (path.isEmpty())
        return kNotStarted;

    QString password;
    if (!split.protectedPassword.isEmpty()) {
        password = m_unprotect ? m_unprotect(split.protectedPassword) : QString();
        if (password.isEmpty())
            qCWarning(lcHost) << "The stored password could not be unprotected; the client will ask for it";
    }

    // No parent: the client outlives this call and the process cleans up after it.
    auto *process = new QProcess;
    process->setProgram(clientProgram());
    // The display settings of the connection text, as FreeRDP options.
    process->setArguments(clientArguments(path, !password.isEmpty()) +
                          RdpDisplay::freeRdpArguments(split.fileText));
    // FreeRDP logs plenty; nobody reads its output, so it must not fill a pipe and block the client.
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // A failure soon after the start is the client's answer to this connection attempt: pass it on.
    QElapsedTimer running;
    running.start();
    QObject::connect(process, &QProcess::finished, process,
                     [process, running, onEarlyFailure, path](int exitCode, QProcess::ExitStatus status) {
                         const QString reason =
                             status == QProcess::CrashExit
                                 ? QStringLiteral("the Remote Desktop client stopped unexpectedly")
                                 : RemoteDesktopExit::failureReason(exitCode);
                         qCInfo(lcHost) << "Remote Desktop client ended with code" << exitCode << "after"
                                        << running.elapsed() << "ms";
                         if (!reason.isEmpty() &&
                             running.elapsed() < RemoteDesktopExit::kEarlyFailureWindowMs && onEarlyFailure) {
                             onEarlyFailure(reason);
                         }
                         // The client has read its connection file long since: it goes with the client.
                         QFile::remove(path);
                         process->deleteLater();
                     });

    process->start(QIODevice::ReadWrite);
    if (!process->waitForStarted(kStartTimeoutMs)) {
        qCWarning(lcHost) << "Could not start the Remote Desktop client" << process->program() << ":"
                          << process->errorString();
        process->deleteLater();
        QFile::remove(path);
        return kNotStarted;
    }
    qCDebug(lcHost) << "Remote Desktop client started on" << path;

    if (!password.isEmpty()) {
        QByteArray line = password.toUtf8();
        line.append('\n');
        process->write(line);
        line.fill('\0');
    }
    process->closeWriteChannel();
    return kStarted;
}
