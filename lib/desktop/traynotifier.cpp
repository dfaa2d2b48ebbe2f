#include "traynotifier.h"

#include "logging.h"

#include <QSystemTrayIcon>

TrayNotifier::TrayNotifier(QSystemTrayIcon *tray, QObject *parent) : SystemNotifier(parent), m_tray(tray)
{
    if (!m_tray || !QSystemTrayIcon::isSystemTrayAvailable()) {
        qCWarning(lcNotify) << "System notifications are not available: no system tray.";
        return;
    }
    connect(m_tray, &QSystemTrayIcon::messageClicked, this, &SystemNotifier::activated);
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
    Q_EMIT shown(id);
    return id;
}
