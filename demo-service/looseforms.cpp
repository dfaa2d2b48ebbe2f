#include "looseforms.h"

#include <QJsonArray>

namespace demo::loose {

QJsonValue otherNumberForm(const QJsonValue &value)
{
    if (value.isDouble())
        return QJsonValue(value.toVariant().toString());
    if (value.isString()) {
        bool ok = false;
        const double number = value.toString().toDouble(&ok);
        if (ok)
            return number;
    }
    return value;
}

void flipNumbers(QJsonObject &record, std::initializer_list<const char *> keys)
{
    for (const char *key : keys) {
        const QString name = QLatin1String(key);
        if (record.contains(name))
            record.insert(name, otherNumberForm(record.value(name)));
    }
}

QJsonValue flag(bool value, int index)
{
    switch (index % 5) {
    case 0:
        return value ? QStringLiteral("1") : QStringLiteral("0");
    case 1:
        return value ? QStringLiteral("true") : QStringLiteral("false");
    case 2:
        return value ? QStringLiteral("yes") : QString();
    case 3:
        return value;
    default:
        return value ? 1 : 0;
    }
}

void unset(QJsonObject &record, const QString &key, int index)
{
    if (index % 2 == 0)
        record.insert(key, QJsonValue::Null);
    else
        record.remove(key);
}

namespace {

bool demoFlag(const QJsonValue &value)
{
    const QString text = value.toString();
    return text == QLatin1String("true") || text == QLatin1String("1");
}

} // namespace

void machineRecord(QJsonObject &o, int index)
{
    flipNumbers(o, {"vm_id", "template_id", "gce_insert_time", "gce_start_time", "vm_idle_time",
                    "vm_poweron_time", "vm_rate", "vm_poweron_cost", "vm_idle_cost", "vm_idle_rate",
                    "vm_total_cost", "vm_current_session_run_time", "vm_poweron_time_ps", "vm_idle_time_ps",
                    "vm_poweron_cost_ps", "vm_idle_cost_ps"});
    o.insert(QStringLiteral("favourite"), flag(demoFlag(o.value(QStringLiteral("favourite"))), index));
    if (!o.contains(QStringLiteral("rdp_public_address")))
        unset(o, QStringLiteral("rdp_public_address"), index);
    if (o.value(QStringLiteral("vm_price_history_string")).isNull())
        o.remove(QStringLiteral("vm_price_history_string"));
}

void templateRecord(QJsonObject &o, int index)
{
    flipNumbers(o, {"template_id", "price", "disk_size"});
    o.insert(QStringLiteral("enable_display"), flag(true, index + 3));
    o.insert(QStringLiteral("external_ip"), flag(true, index + 4));
    o.insert(QStringLiteral("rename_host_to_instance_name"), flag(index % 2 == 0, index + 2));
}

void paymentRecord(QJsonObject &o, int index)
{
    flipNumbers(o, {"payment_id", "payment_amount", "vat_amount"});
    if (!o.contains(QStringLiteral("payment_link")))
        unset(o, QStringLiteral("payment_link"), index);
}

void accountFields(QJsonObject &o)
{
    flipNumbers(o, {"ID", "user_status", "user_credit", "low_credits_threshold", "user_vat"});
    o.insert(QStringLiteral("has_owned_credits"),
             flag(demoFlag(o.value(QStringLiteral("has_owned_credits"))), 3));
    o.insert(QStringLiteral("eu_resident"), flag(demoFlag(o.value(QStringLiteral("eu_resident"))), 2));
    o.insert(QStringLiteral("valid_vat"), flag(demoFlag(o.value(QStringLiteral("valid_vat"))), 4));
    for (const char *key : {"first_name", "vat_number", "user_country"}) {
        if (o.contains(QLatin1String(key)) && o.value(QLatin1String(key)).toString().isEmpty())
            o.insert(QLatin1String(key), QJsonValue::Null);
    }
    if (o.contains(QStringLiteral("last_name")) && o.value(QStringLiteral("last_name")).toString().isEmpty())
        o.remove(QStringLiteral("last_name"));
    if (!o.contains(QStringLiteral("machine_running_for_x_hours_value")))
        o.insert(QStringLiteral("machine_running_for_x_hours_value"), QJsonValue::Null);
    // Each choice in the form its number picks, so that the choices that are on (and those that are off)
    // come in every form.
    static const char *const numbered[] = {"credits_purchase", "credits_depleted", "low_credit",
                                           "machine_created",  "machine_started",  "machine_stopped",
                                           "machine_reset",    "machine_deleted",  "machine_running_for_x_hours"};
    QJsonObject emails = o.value(QStringLiteral("email_notifications")).toObject();
    for (int n = 1; n <= 9; ++n) {
        const QString key = QLatin1String(numbered[n - 1]);
        if (emails.contains(key))
            emails.insert(key, flag(demoFlag(emails.value(key)), n));
    }
    o.insert(QStringLiteral("email_notifications"), emails);
}

} // namespace demo::loose
