#include "handoff.h"

#include "logging.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QWebSocket>

namespace HandOff {

QString notifyRunningInstance(quint16 port, int timeoutMs)
{
    QElapsedTimer stopwatch;
    stopwatch.start();

    QWebSocket socket(QString(), QWebSocketProtocol::Version13);
    bool failed = false;
    QObject::connect(&socket, qOverload<QAbstractSocket::SocketError>(&QWebSocket::error), &socket,
                     [&failed](QAbstractSocket::SocketError) { failed = true; });
    socket.open(QUrl(QStringLiteral("ws://localhost:%1").arg(port)));

    // Drive the event loop in 10 ms slices: no window exists yet and nothing else needs to run.
    while (!failed && socket.state() != QAbstractSocket::ConnectedState && stopwatch.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

    if (!failed && socket.state() == QAbstractSocket::ConnectedState) {
        socket.sendTextMessage(QStringLiteral("{}"));
        socket.flush();
        // Close politely so the message is not lost with a reset; bounded like the connection wait.
        socket.close();
        QElapsedTimer closing;
        closing.start();
        while (socket.state() != QAbstractSocket::UnconnectedState && closing.elapsed() < 1000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    const QString text = socket.errorString();
    qCDebug(lcHost) << text;
    return text;
}

} // namespace HandOff
