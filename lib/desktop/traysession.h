#pragma once

#include "session/traymenu.h"

#include <QObject>
#include <QPointer>

class MainContext;
class TrayIcon;

// Keeps the tray icon's menu and tool tip in step with the signed-in session, and carries the menu's quick
// actions to it. Follows one session at a time; when it ends the tray is as before sign-in.
class TraySession : public QObject {
    Q_OBJECT
public:
    // tray: not owned, must outlive this object.
    explicit TraySession(TrayIcon *tray, QObject *parent = nullptr);

    void follow(MainContext *session);

private:
    void refresh();
    void clear();
    void onQuickAction(qint64 identifier, TrayMenu::Action action);

    TrayIcon *m_tray;
    QPointer<MainContext> m_session;
    QMetaObject::Connection m_overview;
    QMetaObject::Connection m_signingOut;
    QMetaObject::Connection m_destroyed;
};
