#pragma once

#include <QJsonObject>
#include <QString>
#include <QtGlobal>

// The mirrored fields of one entry of the service's computer list, read with their defaults and
// conversions. Computer holds one of these; the list merge reads every entry into one before deciding
// whether it updates a record, creates one or skips the entry.
struct ComputerData {
    qint64 identifier{};       // "vm_id"
    QString userInstanceName;  // "vm_user_instance_name"
    QString userInstanceTitle; // "vm_user_instance_title"
    QString instanceName;      // "instance_name"
    int platform{1};           // "platform" (Computer::Platform; -1 for a platform this client does not know)
    QString osVersionInfo;     // "os_version"
    int templateIdentifier{};  // "template_id"
    int status{8};             // "status" (Computer::Status)
    qint64 createdTime{};      // "gce_insert_time", seconds since the epoch
    qint64 lastStartedTime{};  // "gce_start_time", seconds since the epoch; 0: never started
    bool isFavourite{};        // "favourite"
    QString username;          // "username"
    QString rdpPublicAddress;  // "rdp_public_address"
    int computerIdleTime{};    // "vm_idle_time", minutes
    int computerPowerOnTime{}; // "vm_poweron_time", minutes
    double computerPowerOnRate{};   // "vm_rate", credits per hour
    double computerPowerOnCost{};   // "vm_poweron_cost"
    double computerIdleCost{};      // "vm_idle_cost"
    double computerIdleRate{};      // "vm_idle_rate", credits per hour
    double computerTotalCost{};     // "vm_total_cost"
    double sessionRunTime{};        // "vm_current_session_run_time", minutes
    int computerPowerOnTimePs{};    // "vm_poweron_time_ps"
    int computerIdleTimePs{};       // "vm_idle_time_ps"
    double computerPowerOnCostPs{}; // "vm_poweron_cost_ps"
    double computerIdleCostPs{};    // "vm_idle_cost_ps"
    QString computerLastDatePs;     // "vm_last_date_ps"
    QString priceHistoryStr;        // "vm_price_history_string"

    // Why an entry cannot become a record.
    enum class Problem {
        None,
        NotAnObject,   // the entry is not a JSON object
        NoIdentifier,  // "vm_id" is missing or not a number
        EmptyStatus,   // "status" is the empty text
        UnknownStatus, // "status" is a text that names no known state (logged by the conversion)
    };

    // Reads one list entry. Fields that are missing or do not parse take their defaults; a status that is
    // missing or not a text counts as terminated. `problem` tells why the entry is unusable, if it is.
    [[nodiscard]] static ComputerData fromJson(const QJsonValue &entry, Problem *problem);
};
