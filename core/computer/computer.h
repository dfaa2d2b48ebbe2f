#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <optional>

// One cloud computer (a virtual machine instance) of the signed-in account.
//
// The enumerations and their fixed tables (service strings, labels, ordering ranks, icons) live in the
// first section; they are the one table every part of the client uses. The record's properties and the
// operations on one computer follow in the second section.
class Computer : public QObject {
    Q_OBJECT
    QML_ELEMENT

public:
    // ---------------------------------------------------------------------------------------------
    // Enumerations (tables in computerenums.cpp)
    // ---------------------------------------------------------------------------------------------

    // The instance states the cloud provider reports, passed through by the service.
    enum Status {
        PendingProvisioning = 0,
        Provisioning = 1,
        Staging = 2,
        Running = 3,
        Stopping = 4,
        Suspending = 5,
        Suspended = 6,
        Repairing = 7,
        Terminated = 8,
        Deleted = 9,
    };
    Q_ENUM(Status)

    enum Platform {
        Windows = 0,
        Linux = 1,
        Mac = 2,
    };
    Q_ENUM(Platform)

    // What the computers page orders by (persisted as a number).
    enum SortableProperty {
        LastStartedTime = 0,
        UserInstanceName = 1,
        StatusProperty = 2,
    };
    Q_ENUM(SortableProperty)

    // Label shown to the user; "NA" for a value outside the enumeration.
    [[nodiscard]] static QString statusLabel(int status);
    // Rank when ordering by status, lower first; 9 for a value outside the enumeration.
    [[nodiscard]] static int statusOrder(int status);
    // The service's status string ("running", ...); empty for a value outside the enumeration.
    [[nodiscard]] static QString statusServiceString(int status);
    // The session preference that hides computers in this status ("filterStatusRunning", ...); empty
    // for a value outside the enumeration.
    [[nodiscard]] static QString statusHidingFilter(int status);
    // Exact (already lower-cased) lookup of a service status string; no value when unknown. Utils adds
    // the lenient reading and the log line on top of this.
    [[nodiscard]] static std::optional<Status> statusFromServiceString(const QString &text);

    // "Windows", "Linux", "Mac"; "NA" for a value outside the enumeration.
    [[nodiscard]] static QString platformLabel(int platform);
    // Icon resource of the platform; empty when it has none.
    [[nodiscard]] static QString platformIcon(int platform);
    [[nodiscard]] static QString platformServiceString(int platform);
    [[nodiscard]] static std::optional<Platform> platformFromServiceString(const QString &text);

    // Menu text of an ordering ("Order by activity", ...); empty for a value outside the enumeration.
    [[nodiscard]] static QString sortablePropertyText(int property);

    // ---------------------------------------------------------------------------------------------
    // The record
    // ---------------------------------------------------------------------------------------------

    explicit Computer(QObject *parent = nullptr);
};
