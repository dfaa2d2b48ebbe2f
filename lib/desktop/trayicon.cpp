#include "trayicon.h"

#include "logging.h"

#include <QAction>
#include <QColor>
#include <QIcon>
#include <QMenu>
#include <QPixmap>
#include <QSystemTrayIcon>

namespace {

// The product icon is a resource of the main executable. Where it is missing (tests, a stripped build)
// a plain square stands in, so that the tray never shows an empty slot or complains about no icon.
QIcon trayIconImage()
{
    QIcon icon(QStringLiteral(":/assets/icons/Vantorix-ICON.png"));
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
    m_menu->addSeparator();
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
    // The menu is a top-level widget (QSystemTrayIcon does not take ownership of it).
    m_tray->setContextMenu(nullptr);
    delete m_tray;
    m_tray = nullptr;
    delete m_menu;
}

QSystemTrayIcon *TrayIcon::systemTrayIcon() const
{
    return m_tray;
}

QMenu *TrayIcon::menu() const
{
    return m_menu;
}
