#include "computer/computerdata.h"

#include "computer/computer.h"
#include "utils/jsonread.h"
#include "utils/utils.h"

#include <QJsonValue>

namespace {

// Status conversion without a detour through QVariant for the common, exact spelling (this runs for every
// computer at every poll); other spellings go through Utils, which also logs unknown texts.
std::optional<Computer::Status> readStatus(const QJsonValue &value)
{
    if (!value.isString())
        return Computer::Terminated;
    const QString text = value.toString();
    if (auto exact = Computer::statusFromServiceString(text))
        return exact;
    return Utils::statusEnum(QVariant(text));
}

int readPlatform(const QJsonValue &value)
{
    if (value.isString()) {
        if (auto exact = Computer::platformFromServiceString(value.toString()))
            return *exact;
    }
    const auto platform = Utils::platformEnum(value.toVariant());
    return platform ? int(*platform) : -1;
}

qint64 readSeconds(const QJsonValue &value)
{
    const double seconds = JsonRead::real(value, 0);
    if (seconds < -9.0e15 || seconds > 9.0e15)
        return 0;
    return qint64(seconds);
}

QString textOr(const QJsonObject &o, const char *key, const QString &fallback)
{
    return JsonRead::text(o.value(QLatin1String(key)), fallback);
}

} // namespace

ComputerData ComputerData::fromJson(const QJsonValue &entry, Problem *problem)
{
    ComputerData d;
    Problem found = Problem::None;
    if (!entry.isObject()) {
        if (problem)
            *problem = Problem::NotAnObject;
        return d;
    }
    const QJsonObject o = entry.toObject();
    auto at = [&o](const char *key) { return o.value(QLatin1String(key)); };

    const QJsonValue id = at("vm_id");
    d.identifier = JsonRead::integer64(id, -1);
    if (d.identifier < 0 || (!id.isDouble() && !id.isString()))
        found = Problem::NoIdentifier;

    d.userInstanceName = textOr(o, "vm_user_instance_name", QStringLiteral("Unnamed"));
    d.userInstanceTitle = textOr(o, "vm_user_instance_title", QStringLiteral("Un-Titled"));
    d.instanceName = textOr(o, "instance_name", QString());
    d.platform = readPlatform(at("platform"));
    d.osVersionInfo = textOr(o, "os_version", QString());
    d.templateIdentifier = JsonRead::integer(at("template_id"), 0);

    const QJsonValue status = at("status");
    if (status.isString() && status.toString().isEmpty()) {
        if (found == Problem::None)
            found = Problem::EmptyStatus;
    } else if (const auto converted = readStatus(status)) {
        d.status = *converted;
    } else if (found == Problem::None) {
        found = Problem::UnknownStatus;
    }

    d.createdTime = readSeconds(at("gce_insert_time"));
    d.lastStartedTime = readSeconds(at("gce_start_time"));
    d.isFavourite = JsonRead::boolean(at("favourite"));
    d.username = textOr(o, "username", QStringLiteral("Unkown User"));
    d.rdpPublicAddress = textOr(o, "rdp_public_address", QString());
    d.computerIdleTime = JsonRead::integer(at("vm_idle_time"), 0);
    d.computerPowerOnTime = JsonRead::integer(at("vm_poweron_time"), 0);
    d.computerPowerOnRate = JsonRead::real(at("vm_rate"), 0);
    d.computerPowerOnCost = JsonRead::real(at("vm_poweron_cost"), 0);
    d.computerIdleCost = JsonRead::real(at("vm_idle_cost"), 0);
    d.computerIdleRate = JsonRead::real(at("vm_idle_rate"), 0);
    d.computerTotalCost = JsonRead::real(at("vm_total_cost"), 0);
    d.sessionRunTime = JsonRead::real(at("vm_current_session_run_time"), 0);
    d.computerPowerOnTimePs = JsonRead::integer(at("vm_poweron_time_ps"), 0);
    d.computerIdleTimePs = JsonRead::integer(at("vm_idle_time_ps"), 0);
    d.computerPowerOnCostPs = JsonRead::real(at("vm_poweron_cost_ps"), 0);
    d.computerIdleCostPs = JsonRead::real(at("vm_idle_cost_ps"), 0);
    d.computerLastDatePs = textOr(o, "vm_last_date_ps", QString());
    d.priceHistoryStr = textOr(o, "vm_price_history_string", QString());

    if (problem)
        *problem = found;
    return d;
}
