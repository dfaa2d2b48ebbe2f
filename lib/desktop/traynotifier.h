#pragma once

#include "systemnotifier.h"

#include <QPointer>

class QSystemTrayIcon;

// Notifications as the tray icon's balloon message, which Windows shows as a toast. Clicking it raises
// the main window. Without a tray icon the notifier is unavailable for the whole run.
class TrayNotifier : public SystemNotifier {
    Q_OBJECT
public:
    explicit TrayNotifier(QSystemTrayIcon *tray, QObject *parent = nullptr);

    [[nodiscard]] bool isAvailable() const override;
    using SystemNotifier::show; // with actions: shown without them (a click is still reported)
    qint64 show(const QString &message) override;

private:
    QPointer<QSystemTrayIcon> m_tray;
    bool m_available = false;
    qint64 m_nextId = 1;
    qint64 m_lastId = 0;
};
