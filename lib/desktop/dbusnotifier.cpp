#include "dbusnotifier.h"

#include "logging.h"

#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kDefaultAction = QStringLiteral("default");

QDBusMessage busDaemonCall(const QString &method, const QVariantList &arguments = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                          QStringLiteral("/org/freedesktop/DBus"),
                                                          QStringLiteral("org.freedesktop.DBus"), method);
    message.setArguments(arguments);
    return message;
}

} // namespace

// One Notify call in flight, the receiver of its reply or error. QtDBus posts the reply to it in the order
// it came off the bus, so a signal about the notification that the daemon sent right after its reply (a
// daemon that closes at once, or a quick click) is handled after the reply has told us the server's id.
// A QDBusPendingCallWatcher gives no such order: a reply that arrives before the watcher is made is
// reported only once the watcher exists, after signals that came later.
class NotifyCall : public QObject {
    Q_OBJECT
public:
    NotifyCall(qint64 localId, DBusNotifier *notifier)
        : QObject(notifier), m_localId(localId), m_notifier(notifier)
    {
    }

public Q_SLOTS:
    void onReply(const QDBusMessage &reply)
    {
        deleteLater();
        const QVariantList arguments = reply.arguments();
        if (arguments.size() != 1 || arguments.constFirst().metaType() != QMetaType::fromType<uint>()) {
            qCWarning(lcNotify).noquote() << "Could not show a desktop notification: the reply"
                                          << reply.signature() << "carries no notification id";
            m_notifier->notifyAnswered(m_localId, std::nullopt);
            return;
        }
        m_notifier->notifyAnswered(m_localId, arguments.constFirst().toUInt());
    }

    void onError(const QDBusError &error)
    {
        deleteLater();
        qCWarning(lcNotify) << "Could not show a desktop notification:" << error.name() << error.message();
        m_notifier->notifyAnswered(m_localId, std::nullopt);
    }

private:
    qint64 m_localId;
    DBusNotifier *m_notifier;
};

DBusNotifier::DBusNotifier(const QDBusConnection &bus, QObject *parent) : SystemNotifier(parent), m_bus(bus)
{
    if (!m_bus.isConnected()) {
        qCWarning(lcNotify) << "System notifications are not available: no session D-Bus.";
        return;
    }
    const SetupError error = probeService();
    if (error != NoError) {
        qCWarning(lcNotify).noquote()
            << QStringLiteral("Could not initialize desktop notifications (error: %1).").arg(int(error));
        return;
    }
    // Filtering on the service name makes QtDBus accept these signals only from the name's owner.
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                  SLOT(onActionInvoked(uint, QString)));
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                  SLOT(onNotificationClosed(uint, uint)));
    m_available = true;
}

DBusNotifier::~DBusNotifier()
{
    if (!m_available)
        return;
    m_bus.disconnect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                     SLOT(onActionInvoked(uint, QString)));
    m_bus.disconnect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                     SLOT(onNotificationClosed(uint, uint)));
}

DBusNotifier::SetupError DBusNotifier::probeService() const
{
    const QDBusMessage owner =
        m_bus.call(busDaemonCall(QStringLiteral("NameHasOwner"), {kService}), QDBus::Block, kSetupTimeoutMs);
    if (owner.type() != QDBusMessage::ReplyMessage || owner.arguments().isEmpty())
        return OwnerQueryFailed;
    if (owner.arguments().constFirst().toBool())
        return NoError;

    const QDBusMessage activatable =
        m_bus.call(busDaemonCall(QStringLiteral("ListActivatableNames")), QDBus::Block, kSetupTimeoutMs);
    if (activatable.type() != QDBusMessage::ReplyMessage || activatable.arguments().isEmpty())
        return ActivatableQueryFailed;
    if (activatable.arguments().constFirst().toStringList().contains(kService))
        return NoError;
    return ServiceMissing;
}

QString DBusNotifier::escapeBody(const QString &message)
{
    QString escaped;
    escaped.reserve(message.size());
    for (const QChar c : message) {
        if (c == QLatin1Char('&'))
            escaped += QLatin1String("&amp;");
        else if (c == QLatin1Char('<'))
            escaped += QLatin1String("&lt;");
        else if (c == QLatin1Char('>'))
            escaped += QLatin1String("&gt;");
        else
            escaped += c;
    }
    return escaped;
}

qint64 DBusNotifier::show(const QString &message)
{
    return show(message, {});
}

qint64 DBusNotifier::show(const QString &message, const QList<NotificationAction> &actions)
{
    if (!m_available)
        return -1;
    // The default action (a click on the notification) first, then the buttons as key, label pairs.
    QStringList actionList{kDefaultAction, QStringLiteral("Open")};
    for (const NotificationAction &action : actions) {
        if (action.key.isEmpty() || action.key == kDefaultAction)
            continue;
        actionList << action.key << action.label;
    }

    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, QStringLiteral("Notify"));
    call.setArguments({QStringLiteral("vantorix"), // app_name
                       uint(0),                    // replaces_id
                       QString(),                  // app_icon
                       QStringLiteral("vantorix"), // summary
                       escapeBody(message),        // body
                       actionList,                 // actions
                       QVariantMap(),              // hints
                       int(-1)});                  // expire_timeout
    const qint64 localId = m_nextLocalId++;
    auto *pending = new NotifyCall(localId, this);
    if (!m_bus.callWithCallback(call, pending, SLOT(onReply(QDBusMessage)), SLOT(onError(QDBusError)),
                                kNotifyTimeoutMs)) {
        // Not even sent (the connection is gone): reported as any failure, from the event loop.
        QMetaObject::invokeMethod(
            pending, [pending] { pending->onError(QDBusError(QDBusError::Disconnected, QString())); },
            Qt::QueuedConnection);
    }
    return localId;
}

void DBusNotifier::notifyAnswered(qint64 localId, std::optional<uint> serverId)
{
    if (!serverId) {
        Q_EMIT shown(-1);
        return;
    }
    track(*serverId, localId);
    Q_EMIT shown(localId);
}

void DBusNotifier::track(uint serverId, qint64 localId)
{
    if (!m_localIdByServerId.contains(serverId))
        m_trackOrder.enqueue(serverId);
    m_localIdByServerId.insert(serverId, localId);
    while (m_trackOrder.size() > kMaxTrackedNotifications)
        m_localIdByServerId.remove(m_trackOrder.dequeue());
}

void DBusNotifier::onActionInvoked(uint serverId, const QString &actionKey)
{
    // The server broadcasts this signal for every client's notifications: only ours count.
    if (!m_localIdByServerId.contains(serverId))
        return;
    const qint64 localId = m_localIdByServerId.value(serverId);
    qCDebug(lcNotify) << "Desktop notification action:" << localId << actionKey;
    if (actionKey == kDefaultAction)
        Q_EMIT activated();
    Q_EMIT actionInvoked(localId, actionKey);
}

void DBusNotifier::onNotificationClosed(uint serverId, uint reason)
{
    Q_UNUSED(reason)
    const auto found = m_localIdByServerId.constFind(serverId);
    if (found == m_localIdByServerId.cend())
        return;
    const qint64 localId = *found;
    m_localIdByServerId.erase(found);
    m_trackOrder.removeOne(serverId);
    Q_EMIT closed(localId);
}

#include "dbusnotifier.moc"
