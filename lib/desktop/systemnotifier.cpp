#include "systemnotifier.h"

#ifdef Q_OS_WIN
#include "traynotifier.h"
#else
#include "dbusnotifier.h"
#endif

std::unique_ptr<SystemNotifier> createSystemNotifier(QSystemTrayIcon *tray, QObject *parent)
{
#ifdef Q_OS_WIN
    return std::make_unique<TrayNotifier>(tray, parent);
#else
    Q_UNUSED(tray)
    return std::make_unique<DBusNotifier>(QDBusConnection::sessionBus(), parent);
#endif
}
