#include "session/sessionpreferences.h"

#include "logging.h"

#include <QSettings>

#include <algorithm>
#include <type_traits>

SessionPreferences::SessionPreferences(QSettings *settings, QObject *parent)
    : QObject(parent), m_settings(settings)
{
    if (!m_settings)
        return;
    load(m_disableAllNotifications, "disableAllNotifications");
    load(m_refreshRate, "refreshRate");
    load(m_gridCardColumnWidth, "gridCardColumnWidth");
    load(m_filterStatusPendingProvisioning, "filterStatusPendingProvisioning");
    load(m_filterStatusProvisioning, "filterStatusProvisioning");
    load(m_filterStatusStaging, "filterStatusStaging");
    load(m_filterStatusRunning, "filterStatusRunning");
    load(m_filterStatusStopping, "filterStatusStopping");
    load(m_filterStatusSuspending, "filterStatusSuspending");
    load(m_filterStatusSuspended, "filterStatusSuspended");
    load(m_filterStatusRepairing, "filterStatusRepairing");
    load(m_filterStatusTerminated, "filterStatusTerminated");
    load(m_filterStatusDeleted, "filterStatusDeleted");
    load(m_filterPlatformWindows, "filterPlatformWindows");
    load(m_filterPlatformLinux, "filterPlatformLinux");
    load(m_filterPlatformMac, "filterPlatformMac");
    load(m_filterUserInstanceName, "filterUserInstanceName");
    load(m_computerOrder, "computerOrder");
    load(m_showVMConnectionWarningNotification, "showVMConnectionWarningNotification");
    load(m_enableDesktopPreviews, "enableDesktopPreviews");
    load(m_computerEncryptedPasswords, "computerEncryptedPasswords");
    load(m_creditsPurchasedNotificationApp, "creditsPurchasedNotificationApp");
    load(m_creditsPurchasedNotificationSystem, "creditsPurchasedNotificationSystem");
    load(m_creditsDepletedNotificationApp, "creditsDepletedNotificationApp");
    load(m_creditsDepletedNotificationSystem, "creditsDepletedNotificationSystem");
    load(m_lowCreditsNotificationApp, "lowCreditsNotificationApp");
    load(m_lowCreditsNotificationSystem, "lowCreditsNotificationSystem");
    load(m_createdMachineNotificationApp, "createdMachineNotificationApp");
    load(m_createdMachineNotificationSystem, "createdMachineNotificationSystem");
    load(m_startedMachineNotificationApp, "startedMachineNotificationApp");
    load(m_startedMachineNotificationSystem, "startedMachineNotificationSystem");
    load(m_stoppedMachineNotificationApp, "stoppedMachineNotificationApp");
    load(m_stoppedMachineNotificationSystem, "stoppedMachineNotificationSystem");
    load(m_resetMachineNotificationApp, "resetMachineNotificationApp");
    load(m_resetMachineNotificationSystem, "resetMachineNotificationSystem");
    load(m_deletedMachineNotificationApp, "deletedMachineNotificationApp");
    load(m_deletedMachineNotificationSystem, "deletedMachineNotificationSystem");
    load(m_runningForXHoursNotificationApp, "runningForXHoursNotificationApp");
    load(m_runningForXHoursNotificationSystem, "runningForXHoursNotificationSystem");
    load(m_creditGuardHours, "creditGuardHours");
    m_creditGuardHours = std::clamp(m_creditGuardHours, 0.0, 99.0);
}

template <typename T>
void SessionPreferences::store(T &member, const T &value, const char *key,
                               void (SessionPreferences::*changed)())
{
    if (member == value)
        return;
    member = value;
    if (m_settings) {
        m_settings->setValue(QLatin1String(key), QVariant::fromValue(value));
        m_settings->sync();
    }
    Q_EMIT(this->*changed)();
}

template <typename T> void SessionPreferences::load(T &member, const char *key)
{
    const QString name = QLatin1String(key);
    if (!m_settings->contains(name))
        return;
    QVariant stored = m_settings->value(name);
    if constexpr (std::is_same_v<T, double>) {
        bool ok = false;
        const double value = stored.toDouble(&ok);
        if (ok && std::isfinite(value))
            member = value;
        else
            qCWarning(lcCore) << "Ignoring the stored value of" << name;
    } else if constexpr (std::is_same_v<T, int>) {
        bool ok = false;
        const int value = stored.toInt(&ok);
        if (ok)
            member = value;
        else
            qCWarning(lcCore) << "Ignoring the stored value of" << name;
    } else if constexpr (std::is_same_v<T, QVariantMap>) {
        if (stored.canConvert<QVariantMap>())
            member = stored.toMap();
        else
            qCWarning(lcCore) << "Ignoring the stored value of" << name;
    } else {
        member = stored.value<T>();
    }
}

void SessionPreferences::setStatusFilters(bool running, bool terminated, bool deleted)
{
    setFilterStatusPendingProvisioning(false);
    setFilterStatusProvisioning(false);
    setFilterStatusStaging(false);
    setFilterStatusRunning(running);
    setFilterStatusStopping(false);
    setFilterStatusSuspending(false);
    setFilterStatusSuspended(false);
    setFilterStatusRepairing(false);
    setFilterStatusTerminated(terminated);
    setFilterStatusDeleted(deleted);
}

void SessionPreferences::showAllStatuses()
{
    setStatusFilters(false, false, false);
}

void SessionPreferences::hideMenuStatuses()
{
    setStatusFilters(true, true, true);
}

void SessionPreferences::defaultStatusFilters()
{
    setStatusFilters(false, false, true);
}

int SessionPreferences::refreshIntervalMs() const
{
    const double ms = std::pow(10.0, m_refreshRate);
    if (!std::isfinite(ms))
        return 7000;
    return int(std::lround(std::clamp(ms, 1000.0, 600000.0)));
}

bool SessionPreferences::appSwitch(SessionEvent event) const
{
    switch (event) {
    case SessionEvent::CreditsPurchased:
        return m_creditsPurchasedNotificationApp;
    case SessionEvent::CreditsDepleted:
        return m_creditsDepletedNotificationApp;
    case SessionEvent::LowCredits:
    case SessionEvent::CreditGuard:
        return m_lowCreditsNotificationApp;
    case SessionEvent::MachineCreated:
        return m_createdMachineNotificationApp;
    case SessionEvent::MachineStarted:
        return m_startedMachineNotificationApp;
    case SessionEvent::MachineStopped:
        return m_stoppedMachineNotificationApp;
    case SessionEvent::MachineReset:
        return m_resetMachineNotificationApp;
    case SessionEvent::MachineDeleted:
        return m_deletedMachineNotificationApp;
    case SessionEvent::RunningForXHours:
        return m_runningForXHoursNotificationApp;
    }
    return false;
}

bool SessionPreferences::systemSwitch(SessionEvent event) const
{
    switch (event) {
    case SessionEvent::CreditsPurchased:
        return m_creditsPurchasedNotificationSystem;
    case SessionEvent::CreditsDepleted:
        return m_creditsDepletedNotificationSystem;
    case SessionEvent::LowCredits:
    case SessionEvent::CreditGuard:
        return m_lowCreditsNotificationSystem;
    case SessionEvent::MachineCreated:
        return m_createdMachineNotificationSystem;
    case SessionEvent::MachineStarted:
        return m_startedMachineNotificationSystem;
    case SessionEvent::MachineStopped:
        return m_stoppedMachineNotificationSystem;
    case SessionEvent::MachineReset:
        return m_resetMachineNotificationSystem;
    case SessionEvent::MachineDeleted:
        return m_deletedMachineNotificationSystem;
    case SessionEvent::RunningForXHours:
        return m_runningForXHoursNotificationSystem;
    }
    return false;
}

void SessionPreferences::setDisableAllNotifications(bool value)
{
    store(m_disableAllNotifications, value, "disableAllNotifications",
          &SessionPreferences::disableAllNotificationsChanged);
}

void SessionPreferences::setRefreshRate(double value)
{
    store(m_refreshRate, value, "refreshRate", &SessionPreferences::refreshRateChanged);
}

void SessionPreferences::setCreditGuardHours(double value)
{
    if (!std::isfinite(value)) {
        qCWarning(lcCore) << "Ignoring a credit guard threshold that is not a number";
        return;
    }
    store(m_creditGuardHours, std::clamp(value, 0.0, 99.0), "creditGuardHours",
          &SessionPreferences::creditGuardHoursChanged);
}

void SessionPreferences::setGridCardColumnWidth(double value)
{
    store(m_gridCardColumnWidth, value, "gridCardColumnWidth",
          &SessionPreferences::gridCardColumnWidthChanged);
}

void SessionPreferences::setFilterStatusPendingProvisioning(bool value)
{
    store(m_filterStatusPendingProvisioning, value, "filterStatusPendingProvisioning",
          &SessionPreferences::filterStatusPendingProvisioningChanged);
}

void SessionPreferences::setFilterStatusProvisioning(bool value)
{
    store(m_filterStatusProvisioning, value, "filterStatusProvisioning",
          &SessionPreferences::filterStatusProvisioningChanged);
}

void SessionPreferences::setFilterStatusStaging(bool value)
{
    store(m_filterStatusStaging, value, "filterStatusStaging",
          &SessionPreferences::filterStatusStagingChanged);
}

void SessionPreferences::setFilterStatusRunning(bool value)
{
    store(m_filterStatusRunning, value, "filterStatusRunning",
          &SessionPreferences::filterStatusRunningChanged);
}

void SessionPreferences::setFilterStatusStopping(bool value)
{
    store(m_filterStatusStopping, value, "filterStatusStopping",
          &SessionPreferences::filterStatusStoppingChanged);
}

void SessionPreferences::setFilterStatusSuspending(bool value)
{
    store(m_filterStatusSuspending, value, "filterStatusSuspending",
          &SessionPreferences::filterStatusSuspendingChanged);
}

void SessionPreferences::setFilterStatusSuspended(bool value)
{
    store(m_filterStatusSuspended, value, "filterStatusSuspended",
          &SessionPreferences::filterStatusSuspendedChanged);
}

void SessionPreferences::setFilterStatusRepairing(bool value)
{
    store(m_filterStatusRepairing, value, "filterStatusRepairing",
          &SessionPreferences::filterStatusRepairingChanged);
}

void SessionPreferences::setFilterStatusTerminated(bool value)
{
    store(m_filterStatusTerminated, value, "filterStatusTerminated",
          &SessionPreferences::filterStatusTerminatedChanged);
}

void SessionPreferences::setFilterStatusDeleted(bool value)
{
    store(m_filterStatusDeleted, value, "filterStatusDeleted",
          &SessionPreferences::filterStatusDeletedChanged);
}

void SessionPreferences::setFilterPlatformWindows(bool value)
{
    store(m_filterPlatformWindows, value, "filterPlatformWindows",
          &SessionPreferences::filterPlatformWindowsChanged);
}

void SessionPreferences::setFilterPlatformLinux(bool value)
{
    store(m_filterPlatformLinux, value, "filterPlatformLinux",
          &SessionPreferences::filterPlatformLinuxChanged);
}

void SessionPreferences::setFilterPlatformMac(bool value)
{
    store(m_filterPlatformMac, value, "filterPlatformMac", &SessionPreferences::filterPlatformMacChanged);
}

void SessionPreferences::setFilterUserInstanceName(const QString &value)
{
    store(m_filterUserInstanceName, value, "filterUserInstanceName",
          &SessionPreferences::filterUserInstanceNameChanged);
}

void SessionPreferences::setComputerOrder(int value)
{
    store(m_computerOrder, value, "computerOrder", &SessionPreferences::computerOrderChanged);
}

void SessionPreferences::setShowVMConnectionWarningNotification(bool value)
{
    store(m_showVMConnectionWarningNotification, value, "showVMConnectionWarningNotification",
          &SessionPreferences::showVMConnectionWarningNotificationChanged);
}

void SessionPreferences::setEnableDesktopPreviews(bool value)
{
    store(m_enableDesktopPreviews, value, "enableDesktopPreviews",
          &SessionPreferences::enableDesktopPreviewsChanged);
}

void SessionPreferences::setComputerEncryptedPasswords(const QVariantMap &value)
{
    store(m_computerEncryptedPasswords, value, "computerEncryptedPasswords",
          &SessionPreferences::computerEncryptedPasswordsChanged);
}

void SessionPreferences::setCreditsPurchasedNotificationApp(bool value)
{
    store(m_creditsPurchasedNotificationApp, value, "creditsPurchasedNotificationApp",
          &SessionPreferences::creditsPurchasedNotificationAppChanged);
}

void SessionPreferences::setCreditsPurchasedNotificationSystem(bool value)
{
    store(m_creditsPurchasedNotificationSystem, value, "creditsPurchasedNotificationSystem",
          &SessionPreferences::creditsPurchasedNotificationSystemChanged);
}

void SessionPreferences::setCreditsDepletedNotificationApp(bool value)
{
    store(m_creditsDepletedNotificationApp, value, "creditsDepletedNotificationApp",
          &SessionPreferences::creditsDepletedNotificationAppChanged);
}

void SessionPreferences::setCreditsDepletedNotificationSystem(bool value)
{
    store(m_creditsDepletedNotificationSystem, value, "creditsDepletedNotificationSystem",
          &SessionPreferences::creditsDepletedNotificationSystemChanged);
}

void SessionPreferences::setLowCreditsNotificationApp(bool value)
{
    store(m_lowCreditsNotificationApp, value, "lowCreditsNotificationApp",
          &SessionPreferences::lowCreditsNotificationAppChanged);
}

void SessionPreferences::setLowCreditsNotificationSystem(bool value)
{
    store(m_lowCreditsNotificationSystem, value, "lowCreditsNotificationSystem",
          &SessionPreferences::lowCreditsNotificationSystemChanged);
}

void SessionPreferences::setCreatedMachineNotificationApp(bool value)
{
    store(m_createdMachineNotificationApp, value, "createdMachineNotificationApp",
          &SessionPreferences::createdMachineNotificationAppChanged);
}

void SessionPreferences::setCreatedMachineNotificationSystem(bool value)
{
    store(m_createdMachineNotificationSystem, value, "createdMachineNotificationSystem",
          &SessionPreferences::createdMachineNotificationSystemChanged);
}

void SessionPreferences::setStartedMachineNotificationApp(bool value)
{
    store(m_startedMachineNotificationApp, value, "startedMachineNotificationApp",
          &SessionPreferences::startedMachineNotificationAppChanged);
}

void SessionPreferences::setStartedMachineNotificationSystem(bool value)
{
    store(m_startedMachineNotificationSystem, value, "startedMachineNotificationSystem",
          &SessionPreferences::startedMachineNotificationSystemChanged);
}

void SessionPreferences::setStoppedMachineNotificationApp(bool value)
{
    store(m_stoppedMachineNotificationApp, value, "stoppedMachineNotificationApp",
          &SessionPreferences::stoppedMachineNotificationAppChanged);
}

void SessionPreferences::setStoppedMachineNotificationSystem(bool value)
{
    store(m_stoppedMachineNotificationSystem, value, "stoppedMachineNotificationSystem",
          &SessionPreferences::stoppedMachineNotificationSystemChanged);
}

void SessionPreferences::setResetMachineNotificationApp(bool value)
{
    store(m_resetMachineNotificationApp, value, "resetMachineNotificationApp",
          &SessionPreferences::resetMachineNotificationAppChanged);
}

void SessionPreferences::setResetMachineNotificationSystem(bool value)
{
    store(m_resetMachineNotificationSystem, value, "resetMachineNotificationSystem",
          &SessionPreferences::resetMachineNotificationSystemChanged);
}

void SessionPreferences::setDeletedMachineNotificationApp(bool value)
{
    store(m_deletedMachineNotificationApp, value, "deletedMachineNotificationApp",
          &SessionPreferences::deletedMachineNotificationAppChanged);
}

void SessionPreferences::setDeletedMachineNotificationSystem(bool value)
{
    store(m_deletedMachineNotificationSystem, value, "deletedMachineNotificationSystem",
          &SessionPreferences::deletedMachineNotificationSystemChanged);
}

void SessionPreferences::setRunningForXHoursNotificationApp(bool value)
{
    store(m_runningForXHoursNotificationApp, value, "runningForXHoursNotificationApp",
          &SessionPreferences::runningForXHoursNotificationAppChanged);
}

void SessionPreferences::setRunningForXHoursNotificationSystem(bool value)
{
    store(m_runningForXHoursNotificationSystem, value, "runningForXHoursNotificationSystem",
          &SessionPreferences::runningForXHoursNotificationSystemChanged);
}
