// A stand-in for a desktop notification daemon, for the tests: it owns org.freedesktop.Notifications on
// the session bus, writes every Notify call as one JSON line to the file named on its command line and
// answers with increasing ids (from 100, so that they never equal the client's own local ids).
//
// Bodies steer it: "click-me" makes it report, after the reply, an activation of another client's
// notification, a non-default action of this one, then the default action of this one, then its closing;
// "fail-me" makes the call fail with an error reply; "odd-reply" answers with a text where the id should be.
//
// InvokeAction(id, key), a method of its own, reports what a user's press on a button (or, with "default", on
// the notification) would: ActionInvoked, then NotificationClosed. Each record line carries the id given.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <QVariantMap>
#include <cstdio>

class FakeNotificationDaemon : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit FakeNotificationDaemon(const QString &recordPath) : m_record(recordPath) {}

    bool open() { return m_record.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered); }

public Q_SLOTS:
    uint Notify(const QString &appName, uint replacesId, const QString &appIcon, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &hints, int expireTimeout)
    {
        const bool refused = body.contains(QLatin1String("fail-me"));
        const uint id = refused ? 0 : m_nextId++;
        const QJsonObject line{{QStringLiteral("id"), qint64(id)},
                               {QStringLiteral("app_name"), appName},
                               {QStringLiteral("replaces_id"), qint64(replacesId)},
                               {QStringLiteral("app_icon"), appIcon},
                               {QStringLiteral("summary"), summary},
                               {QStringLiteral("body"), body},
                               {QStringLiteral("actions"), QJsonArray::fromStringList(actions)},
                               {QStringLiteral("hints"), hints.size()},
                               {QStringLiteral("expire_timeout"), expireTimeout}};
        m_record.write(QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n');

        if (refused) {
            sendErrorReply(QStringLiteral("org.freedesktop.Notifications.Error.Test"),
                           QStringLiteral("refused"));
            return 0;
        }
        if (body.contains(QLatin1String("odd-reply"))) {
            setDelayedReply(true);
            connection().send(message().createReply(QStringLiteral("100")));
            return 0;
        }
        if (body.contains(QLatin1String("click-me"))) {
            // After the reply has gone out, as a real daemon reacts to a later click.
            QTimer::singleShot(0, this, [this, id] {
                emitSignal(QStringLiteral("ActionInvoked"), {id + 1000, QStringLiteral("default")});
                emitSignal(QStringLiteral("ActionInvoked"), {id, QStringLiteral("Open")});
                emitSignal(QStringLiteral("ActionInvoked"), {id, QStringLiteral("default")});
                emitSignal(QStringLiteral("NotificationClosed"), {id, uint(2)});
            });
        }
        return id;
    }

    void InvokeAction(uint id, const QString &key)
    {
        emitSignal(QStringLiteral("ActionInvoked"), {id, key});
        emitSignal(QStringLiteral("NotificationClosed"), {id, uint(2)});
    }

private:
    void emitSignal(const QString &name, const QVariantList &arguments)
    {
        QDBusMessage signal =
            QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
                                       QStringLiteral("org.freedesktop.Notifications"), name);
        signal.setArguments(arguments);
        QDBusConnection::sessionBus().send(signal);
    }

    QFile m_record;
    uint m_nextId = 100;
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    FakeNotificationDaemon daemon(QString::fromLocal8Bit(argc == 2 ? argv[1] : ""));
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (argc != 2 || !daemon.open() ||
        !bus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &daemon,
                            QDBusConnection::ExportAllSlots) ||
        !bus.registerService(QStringLiteral("org.freedesktop.Notifications"))) {
        std::fprintf(stderr, "usage: %s <record file> (writable, on a session bus where the name is free)\n",
                     argv[0]);
        return 2;
    }
    return QCoreApplication::exec();
}

#include "fakenotificationdaemon.moc"
