#pragma once

#include <QObject>

class QSystemTrayIcon;
class QMenu;

// The system tray icon: always visible while the process runs. A plain click asks to raise the window.
// Menu: a disabled "vantorix", two separators, "Open" (raise), "Quit". Where the desktop has no tray
// host the icon simply does not appear; nothing else changes.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(QObject *parent = nullptr);
    ~TrayIcon() override;

    [[nodiscard]] QSystemTrayIcon *systemTrayIcon() const;
    [[nodiscard]] QMenu *menu() const;

Q_SIGNALS:
    void openRequested();
    void quitRequested();

private:
    QMenu *m_menu = nullptr;
    QSystemTrayIcon *m_tray = nullptr;
};
