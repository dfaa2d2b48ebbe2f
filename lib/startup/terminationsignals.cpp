#include "terminationsignals.h"

#include "logging.h"

#include <QCoreApplication>

#ifndef Q_OS_WIN
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace TerminationSignals {

#ifndef Q_OS_WIN
namespace {

int g_pipe[2] = {-1, -1};

// Only async-signal-safe work here: one byte into the socket pair wakes the event loop.
void onSignal(int signalNumber)
{
    const char byte = char(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[0], &byte, 1);
}

} // namespace

void quitApplicationOnSignal()
{
    if (g_pipe[0] != -1)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0) {
        qCWarning(lcHost) << "No socket pair for the termination signals; they end the program abruptly";
        return;
    }
    auto *notifier = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char byte = 0;
        if (::read(g_pipe[1], &byte, 1) == 1)
            qCInfo(lcHost) << "Quitting on signal" << int(byte);
        QCoreApplication::quit();
    });

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signalNumber, &action, nullptr);
}
#else
void quitApplicationOnSignal() {}
#endif

} // namespace TerminationSignals
