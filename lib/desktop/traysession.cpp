#include "traysession.h"

#include "hostservices.h"
#include "session/maincontext.h"
#include "trayicon.h"

TraySession::TraySession(TrayIcon *tray, QObject *parent) : QObject(parent), m_tray(tray)
{
    connect(m_tray, &TrayIcon::quickActionTriggered, this, &TraySession::onQuickAction);
}

void TraySession::follow(MainContext *session)
{
    for (const QMetaObject::Connection &c : {m_overview, m_signingOut, m_destroyed})
        disconnect(c);
    m_session = session;
    if (!session) {
        clear();
        return;
    }
    m_overview = connect(session, &MainContext::overviewChanged, this, &TraySession::refresh);
    // From the start of sign-out the session's computers are no longer the user's to act on.
    m_signingOut = connect(session, &MainContext::signingOut, this, [this] { follow(nullptr); });
    m_destroyed = connect(session, &QObject::destroyed, this, &TraySession::clear);
    refresh();
}

void TraySession::refresh()
{
    if (!m_session || !m_session->user()) {
        clear();
        return;
    }
    const double credits = m_session->user()->credits();
    m_tray->setSessionItems(TrayMenu::balanceLine(credits), TrayMenu::entries(*m_session));
    m_tray->setToolTipText(TrayMenu::toolTip(credits, m_session->hoursLeftText()));
}

void TraySession::clear()
{
    m_tray->setSessionItems(QString(), {});
    m_tray->setToolTipText(QString());
}

void TraySession::onQuickAction(qint64 identifier, TrayMenu::Action action)
{
    if (!m_session)
        return;
    // The card's questions (the confirmation, the connection note, the missing stored password) are asked
    // in the window.
    const bool asks = action == TrayMenu::Action::Start
                          ? m_session->confirmationPopupsEnabled()
                          : m_session->showVMConnectionWarningNotification() ||
                                m_session->encryptedPasswordFor(identifier).isEmpty();
    if (asks && m_session->host())
        m_session->host()->raiseWindow();
    TrayMenu::trigger(*m_session, identifier, action);
}
