#include "trayicon.h"

#include "logging.h"

#include <QAction>
#include <QColor>
#include <QGuiApplication>
#include <QIcon>
#include <QMenu>
#include <QPixmap>
#include <QSystemTrayIcon>

namespace {

// The product icon is a resource of the main executable. Where it is missing (tests, a stripped build)
// a plain square stands in, so that the tray never shows an empty slot or complains about no icon.
QIcon trayIconImage()
{
    // The program's window icon when it has one (read once at start), else the resource.
    QIcon icon = QGuiApplication::windowIcon();
    if (icon.isNull())
        icon = QIcon(QStringLiteral(":/assets/icons/Vantorix-ICON.png"));
    if (!icon.availableSizes().isEmpty())
        return icon;
    QPixmap fallback(32, 32);
    fallback.fill(QColor(0x00, 0x60, 0xb2));
    return QIcon(fallback);
}

} // namespace

TrayIcon::TrayIcon(QObject *parent) : QObject(parent), m_menu(new QMenu), m_tray(new QSystemTrayIcon(this))
{
    QAction *title = m_menu->addAction(QStringLiteral("vantorix"));
    title->setEnabled(false);
    // Two separators on purpose; keep Qt from folding them into one.
    m_menu->setSeparatorsCollapsible(false);
    m_firstSeparator = m_menu->addSeparator();
    m_menu->addSeparator();
    connect(m_menu->addAction(QStringLiteral("Open")), &QAction::triggered, this, &TrayIcon::openRequested);
    connect(m_menu->addAction(QStringLiteral("Quit")), &QAction::triggered, this, &TrayIcon::quitRequested);

    m_tray->setIcon(trayIconImage());
    m_tray->setToolTip(QStringLiteral("vantorix"));
    m_tray->setContextMenu(m_menu);
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            Q_EMIT openRequested();
    });
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        qCDebug(lcHost) << "No system tray on this desktop; the tray icon will not appear";
    m_tray->show();
}

TrayIcon::~TrayIcon()
{
    setSessionItems(QString(), {});
    // The menu is a top-level widget (QSystemTrayIcon does not take ownership of it).
    m_tray->setContextMenu(nullptr);
    delete m_tray;
    m_tray = nullptr;
    delete m_menu;
}

void TrayIcon::setSessionItems(const QString &balanceLine, const QList<TrayMenu::Entry> &entries)
{
    const QList<TrayMenu::Entry> shown = balanceLine.isEmpty() ? QList<TrayMenu::Entry>() : entries;
    if (balanceLine == m_balanceLine && shown == m_entries)
        return;
    // Only the balance moved (at each poll while computers run): its line changes in place, so that a
    // submenu the user has open is not torn down under the pointer.
    if (!balanceLine.isEmpty() && !m_balanceLine.isEmpty() && shown == m_entries &&
        !m_sessionActions.isEmpty()) {
        m_balanceLine = balanceLine;
        m_sessionActions.first()->setText(balanceLine);
        return;
    }
    m_balanceLine = balanceLine;
    m_entries = shown;
    for (QAction *action : std::as_const(m_sessionActions)) {
        m_menu->removeAction(action);
        // A submenu's action belongs to the submenu.
        if (QMenu *submenu = action->menu())
            delete submenu;
        else
            delete action;
    }
    m_sessionActions.clear();
    if (m_balanceLine.isEmpty())
        return;

    auto *balance = new QAction(m_balanceLine, m_menu);
    balance->setEnabled(false);
    m_sessionActions.append(balance);
    for (const TrayMenu::Entry &entry : std::as_const(m_entries)) {
        // The submenu is a top-level widget of its own: deleted with its action above.
        auto *submenu = new QMenu(entry.title);
        if (entry.actions.isEmpty()) {
            submenu->addAction(entry.statusText)->setEnabled(false);
        }
        for (const TrayMenu::Action kind : entry.actions) {
            const qint64 id = entry.identifier;
            connect(submenu->addAction(TrayMenu::actionText(kind)), &QAction::triggered, this,
                    [this, id, kind] { Q_EMIT quickActionTriggered(id, kind); });
        }
        m_sessionActions.append(submenu->menuAction());
    }
    m_menu->insertActions(m_firstSeparator, m_sessionActions);
}

void TrayIcon::setToolTipText(const QString &text)
{
    const QString tip = text.isEmpty() ? QStringLiteral("vantorix") : text;
    if (m_tray->toolTip() != tip)
        m_tray->setToolTip(tip);
}

QSystemTrayIcon *TrayIcon::systemTrayIcon() const
{
    return m_tray;
}

QMenu *TrayIcon::menu() const
{
    return m_menu;
}
