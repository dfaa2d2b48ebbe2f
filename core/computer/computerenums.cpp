// The fixed tables behind Computer's enumerations.
#include "computer/computer.h"

#include <array>

namespace {

struct StatusRow {
    Computer::Status status;
    const char *serviceString;
    const char *label;
    int orderRank;
    const char *hidingFilter;
};

// Indexed by the enumeration value.
constexpr std::array<StatusRow, 10> kStatuses{{
    {Computer::PendingProvisioning, "pending_provisioning", "Pending", 9, "filterStatusPendingProvisioning"},
    {Computer::Provisioning, "provisioning", "Provisioning", 5, "filterStatusProvisioning"},
    {Computer::Staging, "staging", "Staging", 4, "filterStatusStaging"},
    {Computer::Running, "running", "Running", 0, "filterStatusRunning"},
    {Computer::Stopping, "stopping", "Stopping", 1, "filterStatusStopping"},
    {Computer::Suspending, "suspending", "Suspending", 2, "filterStatusSuspending"},
    {Computer::Suspended, "suspended", "Suspended", 6, "filterStatusSuspended"},
    {Computer::Repairing, "repairing", "Rebooting", 3, "filterStatusRepairing"},
    {Computer::Terminated, "terminated", "Stopped", 7, "filterStatusTerminated"},
    {Computer::Deleted, "deleted", "Deleted", 8, "filterStatusDeleted"},
}};

struct PlatformRow {
    Computer::Platform platform;
    const char *serviceString;
    const char *label;
    const char *icon;
};

constexpr std::array<PlatformRow, 3> kPlatforms{{
    {Computer::Windows, "windows", "Windows", "qrc:///assets/icons/windows-icon.svg"},
    {Computer::Linux, "linux", "Linux", "qrc:///assets/icons/linux-icon.svg"},
    {Computer::Mac, "mac", "Mac", ""},
}};

constexpr std::array<const char *, 3> kSortableTexts{{
    "Order by activity", // LastStartedTime
    "Order by name",     // UserInstanceName
    "Order by status",   // StatusProperty
}};

const StatusRow *statusRow(int status)
{
    if (status < 0 || status >= int(kStatuses.size()))
        return nullptr;
    return &kStatuses[std::size_t(status)];
}

const PlatformRow *platformRow(int platform)
{
    if (platform < 0 || platform >= int(kPlatforms.size()))
        return nullptr;
    return &kPlatforms[std::size_t(platform)];
}

QString notAvailable()
{
    return QStringLiteral("NA");
}

} // namespace

QString Computer::statusLabel(int status)
{
    const StatusRow *row = statusRow(status);
    return row ? QString::fromLatin1(row->label) : notAvailable();
}

int Computer::statusOrder(int status)
{
    const StatusRow *row = statusRow(status);
    return row ? row->orderRank : 9;
}

QString Computer::statusServiceString(int status)
{
    const StatusRow *row = statusRow(status);
    return row ? QString::fromLatin1(row->serviceString) : QString();
}

QString Computer::statusHidingFilter(int status)
{
    const StatusRow *row = statusRow(status);
    return row ? QString::fromLatin1(row->hidingFilter) : QString();
}

std::optional<Computer::Status> Computer::statusFromServiceString(const QString &text)
{
    for (const StatusRow &row : kStatuses) {
        if (text == QLatin1String(row.serviceString))
            return row.status;
    }
    return std::nullopt;
}

QString Computer::platformLabel(int platform)
{
    const PlatformRow *row = platformRow(platform);
    return row ? QString::fromLatin1(row->label) : notAvailable();
}

QString Computer::platformIcon(int platform)
{
    const PlatformRow *row = platformRow(platform);
    return row ? QString::fromLatin1(row->icon) : QString();
}

QString Computer::platformServiceString(int platform)
{
    const PlatformRow *row = platformRow(platform);
    return row ? QString::fromLatin1(row->serviceString) : QString();
}

std::optional<Computer::Platform> Computer::platformFromServiceString(const QString &text)
{
    for (const PlatformRow &row : kPlatforms) {
        if (text == QLatin1String(row.serviceString))
            return row.platform;
    }
    return std::nullopt;
}

QString Computer::sortablePropertyText(int property)
{
    if (property < 0 || property >= int(kSortableTexts.size()))
        return QString();
    return QString::fromLatin1(kSortableTexts[std::size_t(property)]);
}
