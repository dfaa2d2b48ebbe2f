#include "machines.h"

#include <QDateTime>
#include <QJsonValue>
#include <QStringList>

namespace demo::machines {

namespace {

const QStringList kStatuses = {QStringLiteral("pending_provisioning"),
                               QStringLiteral("provisioning"),
                               QStringLiteral("staging"),
                               QStringLiteral("running"),
                               QStringLiteral("stopping"),
                               QStringLiteral("suspending"),
                               QStringLiteral("suspended"),
                               QStringLiteral("repairing"),
                               QStringLiteral("terminated"),
                               QStringLiteral("deleted")};

// Costs accrue by status: running time at the running rate, any other time (except after deletion) at
// the idle rate that covers storage.
double accrue(Machine &m, qint64 from, qint64 to)
{
    if (to <= from || m.status == QLatin1String("deleted"))
        return 0;
    const double seconds = double(to - from);
    if (m.status == QLatin1String("running")) {
        const double cost = seconds / 3600.0 * m.rate;
        m.runSeconds += seconds;
        m.runSecondsPs += seconds;
        m.runCost += cost;
        m.runCostPs += cost;
        return cost;
    }
    const double cost = seconds / 3600.0 * m.idleRate;
    m.idleSeconds += seconds;
    m.idleSecondsPs += seconds;
    m.idleCost += cost;
    m.idleCostPs += cost;
    return cost;
}

void schedule(Machine &m, qint64 now, const QString &status, QList<QPair<QString, qint64>> steps)
{
    m.status = status;
    m.pending = steps;
    m.stepAt = steps.isEmpty() ? 0 : now + steps.first().second;
}

} // namespace

Durations Durations::draw(QRandomGenerator &rng)
{
    Durations d;
    d.provisioning = rng.bounded(25, 60);
    d.staging = rng.bounded(15, 40);
    d.stopping = rng.bounded(15, 40);
    d.repairing = rng.bounded(30, 70);
    return d;
}

bool isKnownStatus(const QString &status)
{
    return kStatuses.contains(status);
}

bool isRunningFamily(const QString &status)
{
    return status == QLatin1String("pending_provisioning") || status == QLatin1String("provisioning") ||
           status == QLatin1String("staging") || status == QLatin1String("running");
}

bool canStart(const QString &status)
{
    return status == QLatin1String("terminated") || status == QLatin1String("stopping") ||
           status == QLatin1String("suspended") || status == QLatin1String("suspending");
}

double advance(Machine &m, qint64 now)
{
    double cost = 0;
    while (!m.pending.isEmpty() && m.stepAt <= now) {
        cost += accrue(m, m.accruedTo, m.stepAt);
        m.accruedTo = m.stepAt;
        const auto step = m.pending.takeFirst();
        m.status = step.first;
        if (m.status == QLatin1String("running"))
            m.startSecs = m.stepAt;
        if (!m.pending.isEmpty())
            m.stepAt += m.pending.first().second;
    }
    cost += accrue(m, m.accruedTo, now);
    m.accruedTo = qMax(m.accruedTo, now);
    return cost;
}

void start(Machine &m, qint64 now, const Durations &d)
{
    schedule(m, now, QStringLiteral("provisioning"),
             {{QStringLiteral("staging"), d.provisioning}, {QStringLiteral("running"), d.staging}});
}

void provisionNew(Machine &m, qint64 now, const Durations &d)
{
    schedule(m, now, QStringLiteral("pending_provisioning"),
             {{QStringLiteral("provisioning"), 10},
              {QStringLiteral("staging"), d.provisioning},
              {QStringLiteral("running"), d.staging}});
}

void stop(Machine &m, qint64 now, const Durations &d)
{
    schedule(m, now, QStringLiteral("stopping"), {{QStringLiteral("terminated"), d.stopping}});
}

void reboot(Machine &m, qint64 now, const Durations &d)
{
    schedule(m, now, QStringLiteral("repairing"), {{QStringLiteral("running"), d.repairing}});
}

void remove(Machine &m, qint64 now)
{
    schedule(m, now, QStringLiteral("deleted"), {});
    m.favourite = false;
    m.rdpAddress.clear();
}

QString formatUtc(qint64 secs)
{
    return QDateTime::fromSecsSinceEpoch(secs, Qt::UTC).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString money(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QString priceHistoryString(const Machine &m)
{
    QStringList pieces;
    for (const PricePeriod &p : m.history) {
        const QString period = QStringLiteral("(%1) - (%2)").arg(formatUtc(p.fromSecs), formatUtc(p.toSecs));
        const QString running = QStringLiteral("Running Cost %1 = %2 credits (%3 minutes @ %4 credits/h)")
                                    .arg(period, money(p.runCost))
                                    .arg(p.runMinutes)
                                    .arg(money(p.runRate, 4));
        const QString idle = QStringLiteral("Idle Cost %1 = %2 credits (%3 minutes @ %4 credits/h)")
                                 .arg(period, money(p.idleCost))
                                 .arg(p.idleMinutes)
                                 .arg(money(p.idleRate, 4));
        pieces.append(running + QStringLiteral(" ** ") + idle);
    }
    return pieces.join(QStringLiteral("|| "));
}

QJsonObject record(const Machine &m, qint64 now)
{
    const bool running = m.status == QLatin1String("running");
    const double sessionMinutes = running && m.startSecs > 0 ? double(now - m.startSecs) / 60.0 : 0.0;
    QJsonObject o;
    o.insert(QStringLiteral("vm_id"), m.id);
    o.insert(QStringLiteral("vm_user_instance_name"), m.name);
    o.insert(QStringLiteral("vm_user_instance_title"), m.title);
    o.insert(QStringLiteral("instance_name"), m.instanceName);
    o.insert(QStringLiteral("platform"), m.platform);
    o.insert(QStringLiteral("os_version"), m.osVersion);
    o.insert(QStringLiteral("template_id"), QString::number(m.templateId));
    o.insert(QStringLiteral("status"), m.status);
    o.insert(QStringLiteral("gce_insert_time"), m.insertSecs);
    o.insert(QStringLiteral("gce_start_time"), QString::number(m.startSecs));
    o.insert(QStringLiteral("favourite"), m.favourite ? QStringLiteral("true") : QStringLiteral("false"));
    o.insert(QStringLiteral("username"), m.username);
    if (!m.rdpAddress.isEmpty())
        o.insert(QStringLiteral("rdp_public_address"), m.rdpAddress);
    o.insert(QStringLiteral("vm_idle_time"), QString::number(qint64(m.idleSeconds / 60)));
    o.insert(QStringLiteral("vm_poweron_time"), qint64(m.runSeconds / 60));
    o.insert(QStringLiteral("vm_rate"), money(m.rate, 4));
    o.insert(QStringLiteral("vm_poweron_cost"), money(m.runCost));
    o.insert(QStringLiteral("vm_idle_cost"), money(m.idleCost));
    o.insert(QStringLiteral("vm_idle_rate"), money(m.idleRate, 4));
    o.insert(QStringLiteral("vm_total_cost"), money(m.runCost + m.idleCost));
    o.insert(QStringLiteral("vm_current_session_run_time"), QString::number(sessionMinutes, 'f', 2));
    o.insert(QStringLiteral("vm_poweron_time_ps"), qint64(m.runSecondsPs / 60));
    o.insert(QStringLiteral("vm_idle_time_ps"), qint64(m.idleSecondsPs / 60));
    o.insert(QStringLiteral("vm_poweron_cost_ps"), money(m.runCostPs));
    o.insert(QStringLiteral("vm_idle_cost_ps"), money(m.idleCostPs));
    o.insert(QStringLiteral("vm_last_date_ps"), formatUtc(m.periodStartSecs));
    const QString history = priceHistoryString(m);
    o.insert(QStringLiteral("vm_price_history_string"),
             history.isEmpty() ? QJsonValue() : QJsonValue(history));
    return o;
}

} // namespace demo::machines
