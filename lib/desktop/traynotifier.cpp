#include "traynotifier.h"

#include "logging.h"

#include <QSystemTrayIcon>

TrayNotifier::TrayNotifier(QSystemTrayIcon *tray, QObject *parent) : SystemNotifier(parent), m_tray(tray)
{
    if (!m_tray || !QSystemTrayIcon::isSystemTrayAvailable()) {
        qCWarning(lcNotify) << "System notifications are not available: no system tray.";
        return;
    }
    // The tray shows one message at a time: a click is on the last one.
    connect(m_tray, &QSystemTrayIcon::messageClicked, this, [this] {
        Q_EMIT activated();
        if (m_lastId > 0)
            Q_EMIT actionInvoked(m_lastId, QStringLiteral("default"));
    });
    m_available = true;
}

bool TrayNotifier::isAvailable() const
{
    return m_available && m_tray;
}

qint64 TrayNotifier::show(const QString &message)
{
    if (!isAvailable())
        return -1;
    // The tray shows one message at a time; the id only tells the caller's log lines apart.
    m_tray->showMessage(QStringLiteral("vantorix"), message);
    const qint64 id = m_nextId++;
    m_lastId = id;
    Q_EMIT shown(id);
    return id;
}
