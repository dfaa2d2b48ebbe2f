// The computer actions: list, templates, create, power operations, rename, password, preview.
#include "api.h"

#include "demostate.h"
#include "images.h"
#include "looseforms.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>

namespace demo::api {

namespace {

// Finds the caller's computer named by `vm_id`; records a failure otherwise.
Machine *ownMachine(ApiCall &call)
{
    const qint64 id = call.integer(QStringLiteral("vm_id"));
    if (call.failed())
        return nullptr;
    Machine *m = call.state.machine(call.account->id, int(id));
    if (!m)
        call.fail(QStringLiteral("Machine %1 does not belong to this account.").arg(id));
    return m;
}

QString quoted(const Machine &m)
{
    return QLatin1Char('"') + m.name + QLatin1Char('"');
}

HttpReply deletedRefusal(const Machine &m)
{
    return HttpReply::error(QStringLiteral("Machine %1 has been deleted.").arg(quoted(m)));
}

} // namespace

HttpReply listInstances(ApiCall &call)
{
    const qint64 now = call.state.now();
    const QList<Machine *> own = call.state.machinesOf(call.account->id);
    // An empty collection is a JSON array; otherwise an object keyed by identifier, as the real service
    // sends, or a list for a loose account.
    if (own.isEmpty())
        return HttpReply::json(QJsonArray());
    if (call.account->loose) {
        QJsonArray array;
        for (const Machine *m : own) {
            QJsonObject o = machines::record(*m, now);
            loose::machineRecord(o, int(array.size()));
            array.append(o);
        }
        return HttpReply::json(array);
    }
    QJsonObject list;
    for (const Machine *m : own)
        list.insert(QString::number(m->id), machines::record(*m, now));
    return HttpReply::json(list);
}

HttpReply listTemplates(ApiCall &call)
{
    const bool looseAccount = call.account->loose;
    QJsonArray list;
    QJsonObject keyed; // a loose account's templates come keyed by identifier
    for (const Template &t : call.state.templates()) {
        if (t.loose != looseAccount)
            continue;
        QJsonObject o;
        o.insert(QStringLiteral("template_id"), t.id);
        o.insert(QStringLiteral("name"), t.name);
        o.insert(QStringLiteral("vm_template_title"), t.title);
        o.insert(QStringLiteral("region"), QStringLiteral("europe-west3"));
        o.insert(QStringLiteral("zone"), QStringLiteral("europe-west3-b"));
        o.insert(QStringLiteral("machine_type"), t.machineType);
        o.insert(QStringLiteral("public_image"), t.publicImage);
        o.insert(QStringLiteral("disk_types"), QStringLiteral("pd-ssd"));
        o.insert(QStringLiteral("disk_size"), t.diskSize);
        o.insert(QStringLiteral("enable_display"), QStringLiteral("true"));
        o.insert(QStringLiteral("network_tier"), QStringLiteral("PREMIUM"));
        o.insert(QStringLiteral("external_ip"), QStringLiteral("1"));
        o.insert(QStringLiteral("rename_host_to_instance_name"), QStringLiteral("1"));
        o.insert(QStringLiteral("tags"), t.platform + QStringLiteral(",rdp"));
        o.insert(QStringLiteral("price"), machines::money(t.rate, 4));
        o.insert(QStringLiteral("spec_description"),
                 QString(t.spec).replace(QStringLiteral("{BASE}"), call.baseUrl));
        if (looseAccount) {
            if (t.spec.isEmpty())
                loose::unset(o, QStringLiteral("spec_description"), int(keyed.size()));
            loose::templateRecord(o, int(keyed.size()));
            keyed.insert(QString::number(t.id), o);
        } else {
            list.append(o);
        }
    }
    return looseAccount ? HttpReply::json(keyed) : HttpReply::json(list);
}

HttpReply insertInstance(ApiCall &call)
{
    const QString name = call.text(QStringLiteral("vm_user_instance_name"));
    const qint64 templateId = call.integer(QStringLiteral("template_id"));
    const QString user = call.text(QStringLiteral("win_username"));
    const QString password = call.text(QStringLiteral("win_password"));
    if (call.failed())
        return call.failure();
    if (const QString problem = checkMachineName(name); !problem.isEmpty())
        return HttpReply::error(problem);
    const Template *t = call.state.templateById(int(templateId));
    if (!t || t->loose != call.account->loose)
        return HttpReply::error(QStringLiteral("Unknown machine type %1.").arg(templateId));
    if (user.trimmed().size() < 3 || user.size() > 19 || user.trimmed() != user)
        return HttpReply::error(QStringLiteral("The user name must be 3 to 19 characters long."));
    // The characters a Windows account name cannot hold (they would also break the SAM file's lines).
    static const QRegularExpression forbidden(
        QStringLiteral("[\"/\\\\\\[\\]:;|=,+*?<>\\x{0}-\\x{1f}\\x{7f}]"));
    if (user.contains(forbidden))
        return HttpReply::error(QStringLiteral("The user name contains characters Windows does not allow."));
    if (const QString problem = checkWindowsPassword(password); !problem.isEmpty())
        return HttpReply::error(problem);
    if (password.contains(user, Qt::CaseInsensitive))
        return HttpReply::error(QStringLiteral("The password must not contain the user name."));
    if (call.account->credits <= 0)
        return HttpReply::error(QStringLiteral("You need credits to create a machine."));
    Machine &m = call.state.addMachine(call.account->id);
    m.name = name;
    m.title = t->title;
    m.instanceName = QStringLiteral("vtx-%1-%2").arg(call.account->id).arg(m.id);
    m.platform = t->platform;
    m.osVersion = t->osVersion;
    m.templateId = t->id;
    m.username = user;
    m.rdpAddress = call.state.rdpAddressOr(QStringLiteral("198.51.100.%1").arg(m.id % 250 + 1));
    m.rate = t->rate;
    m.idleRate = t->idleRate;
    machines::provisionNew(m, call.state.now(), call.state.durations());
    call.state.setMachinePassword(m, password);
    call.state.addLog(call.account->id, m.id, QStringLiteral("Machine %1 created.").arg(quoted(m)));
    if (call.account->emailNotifications.contains(4))
        call.state.sendEmail(call.account->email, QStringLiteral("Machine created"),
                             QStringLiteral("Your machine %1 is being created.").arg(quoted(m)));
    const QJsonValue id = call.account->loose ? QJsonValue(m.id) : QJsonValue(QString::number(m.id));
    return HttpReply::json(QJsonObject{{QStringLiteral("vm_id"), id}});
}

HttpReply startInstance(ApiCall &call)
{
    Machine *m = ownMachine(call);
    if (!m)
        return call.failure();
    if (m->status == QLatin1String("deleted"))
        return deletedRefusal(*m);
    if (!machines::canStart(m->status))
        return HttpReply::error(QStringLiteral("Machine %1 is already running.").arg(quoted(*m)));
    if (call.account->credits <= 0)
        return HttpReply::error(
            QStringLiteral("You have no credits left. Please buy credits to start a machine."));
    machines::start(*m, call.state.now(), call.state.durations());
    call.state.addLog(call.account->id, m->id, QStringLiteral("Machine %1 started.").arg(quoted(*m)));
    return HttpReply::success(QStringLiteral("Machine %1 is starting.").arg(quoted(*m)));
}

HttpReply stopInstance(ApiCall &call)
{
    Machine *m = ownMachine(call);
    if (!m)
        return call.failure();
    if (m->status == QLatin1String("deleted"))
        return deletedRefusal(*m);
    if (!machines::isRunningFamily(m->status))
        return HttpReply::error(QStringLiteral("Machine %1 is not running.").arg(quoted(*m)));
    machines::stop(*m, call.state.now(), call.state.durations());
    call.state.addLog(call.account->id, m->id, QStringLiteral("Machine %1 stopped.").arg(quoted(*m)));
    return HttpReply::success(QStringLiteral("Machine %1 is stopping.").arg(quoted(*m)));
}

HttpReply resetInstance(ApiCall &call)
{
    Machine *m = ownMachine(call);
    if (!m)
        return call.failure();
    if (m->status == QLatin1String("deleted"))
        return deletedRefusal(*m);
    if (m->status != QLatin1String("running"))
        return HttpReply::error(
            QStringLiteral("Machine %1 can only be rebooted while running.").arg(quoted(*m)));
    machines::reboot(*m, call.state.now(), call.state.durations());
    call.state.addLog(call.account->id, m->id, QStringLiteral("Machine %1 rebooted.").arg(quoted(*m)));
    return HttpReply::success(QStringLiteral("Machine %1 is rebooting.").arg(quoted(*m)));
}

HttpReply deleteInstance(ApiCall &call)
{
    Machine *m = ownMachine(call);
    if (!m)
        return call.failure();
    if (m->status == QLatin1String("deleted"))
        return deletedRefusal(*m);
    machines::remove(*m, call.state.now());
    call.state.addLog(call.account->id, m->id, QStringLiteral("Machine %1 deleted.").arg(quoted(*m)));
    return HttpReply::success(QStringLiteral("Machine %1 has been deleted.").arg(quoted(*m)));
}

HttpReply setFavourite(ApiCall &call)
{
    Machine *m = ownMachine(call);
    const bool favourite = call.flag(QStringLiteral("favourite"));
    if (!m || call.failed())
        return call.failure();
    if (m->status == QLatin1String("deleted"))
        return deletedRefusal(*m);
    m->favourite = favourite;
    return HttpReply::success(favourite ? QStringLiteral("Added to favourites.")
                                        : QStringLiteral("Removed from favourites."));
}

HttpReply editInstance(ApiCall &call)
{
    Machine *m = ownMachine(call);
    const QString name = call.text(QStringLiteral("vm_user_instance_name"));
    if (!m || call.failed())
        return call.failure();
    if (const QString problem = checkMachineName(name); !problem.isEmpty())
        return HttpReply::error(problem);
    if (m->status == QLatin1String("deleted"))
        return deletedRefusal(*m);
    const QString old = m->name;
    m->name = name;
    call.state.addLog(call.account->id, m->id,
                      QStringLiteral("Machine \"%1\" renamed to %2.").arg(old, quoted(*m)));
    return HttpReply::success(QStringLiteral("Machine renamed to %1.").arg(quoted(*m)));
}

HttpReply resetWinPassword(ApiCall &call)
{
    Machine *m = ownMachine(call);
    const QString password = call.text(QStringLiteral("win_password"));
    if (!m || call.failed())
        return call.failure();
    if (m->status == QLatin1String("deleted"))
        return deletedRefusal(*m);
    if (const QString problem = checkWindowsPassword(password); !problem.isEmpty())
        return HttpReply::error(problem);
    if (password.contains(m->username, Qt::CaseInsensitive))
        return HttpReply::error(QStringLiteral("The password must not contain the user name."));
    call.state.setMachinePassword(*m, password);
    call.state.addLog(call.account->id, m->id,
                      QStringLiteral("Windows password of %1 reset.").arg(quoted(*m)));
    return HttpReply::success(QStringLiteral("The password of %1 has been reset.").arg(quoted(*m)));
}

HttpReply screenshot(ApiCall &call)
{
    Machine *m = ownMachine(call);
    if (!m)
        return call.failure();
    if (m->status != QLatin1String("running"))
        return HttpReply::error(QStringLiteral("Machine %1 is not running.").arg(quoted(*m)));
    const QDateTime when = QDateTime::fromSecsSinceEpoch(call.state.now(), Qt::UTC);
    const QByteArray png = images::screenshot(m->name, m->platform, when, call.state.rng().generate());
    return HttpReply::json(
        QJsonObject{{QStringLiteral("success"), QStringLiteral("Screenshot taken.")},
                    {QStringLiteral("b64_screenshot"), QString::fromLatin1(png.toBase64())}});
}

} // namespace demo::api
