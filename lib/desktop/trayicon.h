#pragma once

#include "session/traymenu.h"

#include <QList>
#include <QObject>

class QSystemTrayIcon;
class QMenu;
class QAction;

// The system tray icon: always visible while the process runs. A plain click asks to raise the window.
// Menu: a disabled "vantorix", two separators, "Open" (raise), "Quit". Where the desktop has no tray
// host the icon simply does not appear; nothing else changes.
// While a user is signed in, the menu also holds, after the title, a disabled balance line and one submenu
// per favourite or running computer with its quick actions (setSessionItems).
class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(QObject *parent = nullptr);
    ~TrayIcon() override;

    [[nodiscard]] QSystemTrayIcon *systemTrayIcon() const;
    [[nodiscard]] QMenu *menu() const;

    // The signed-in part of the menu, replaced whole; an empty balance line removes it (signed out). Nothing
    // is rebuilt when it has not changed.
    void setSessionItems(const QString &balanceLine, const QList<TrayMenu::Entry> &entries);
    // The tool tip: "vantorix" when empty.
    void setToolTipText(const QString &text);

Q_SIGNALS:
    void openRequested();
    void quitRequested();
    void quickActionTriggered(qint64 identifier, TrayMenu::Action action);

private:
    QMenu *m_menu = nullptr;
    QSystemTrayIcon *m_tray = nullptr;
    QAction *m_firstSeparator = nullptr;
    QList<QAction *> m_sessionActions;
    QString m_balanceLine;
    QList<TrayMenu::Entry> m_entries;
};
