#include "session/sessionpreferences.h"

#include "session/storedpreference.h"

#include <algorithm>

SessionPreferences::SessionPreferences(QSettings *settings, QObject *parent)
    : NotificationPreferences(settings, parent)
{
    QSettings *store = this->settings();
    if (!store)
        return;
    StoredPreference::read(*store, "refreshRate", m_refreshRate);
    StoredPreference::read(*store, "gridCardColumnWidth", m_gridCardColumnWidth);
    StoredPreference::read(*store, "filterStatusPendingProvisioning", m_filterStatusPendingProvisioning);
    StoredPreference::read(*store, "filterStatusProvisioning", m_filterStatusProvisioning);
    StoredPreference::read(*store, "filterStatusStaging", m_filterStatusStaging);
    StoredPreference::read(*store, "filterStatusRunning", m_filterStatusRunning);
    StoredPreference::read(*store, "filterStatusStopping", m_filterStatusStopping);
    StoredPreference::read(*store, "filterStatusSuspending", m_filterStatusSuspending);
    StoredPreference::read(*store, "filterStatusSuspended", m_filterStatusSuspended);
    StoredPreference::read(*store, "filterStatusRepairing", m_filterStatusRepairing);
    StoredPreference::read(*store, "filterStatusTerminated", m_filterStatusTerminated);
    StoredPreference::read(*store, "filterStatusDeleted", m_filterStatusDeleted);
    StoredPreference::read(*store, "filterPlatformWindows", m_filterPlatformWindows);
    StoredPreference::read(*store, "filterPlatformLinux", m_filterPlatformLinux);
    StoredPreference::read(*store, "filterPlatformMac", m_filterPlatformMac);
    StoredPreference::read(*store, "filterUserInstanceName", m_filterUserInstanceName);
    StoredPreference::read(*store, "computerOrder", m_computerOrder);
    StoredPreference::read(*store, "showVMConnectionWarningNotification",
                           m_showVMConnectionWarningNotification);
    StoredPreference::read(*store, "enableDesktopPreviews", m_enableDesktopPreviews);
    StoredPreference::read(*store, "computerEncryptedPasswords", m_computerEncryptedPasswords);
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

void SessionPreferences::setRefreshRate(double value)
{
    StoredPreference::store(this, settings(), m_refreshRate, value, "refreshRate",
                            &SessionPreferences::refreshRateChanged);
}

void SessionPreferences::setGridCardColumnWidth(double value)
{
    StoredPreference::store(this, settings(), m_gridCardColumnWidth, value, "gridCardColumnWidth",
                            &SessionPreferences::gridCardColumnWidthChanged);
}

void SessionPreferences::setFilterStatusPendingProvisioning(bool value)
{
    StoredPreference::store(this, settings(), m_filterStatusPendingProvisioning, value,
                            "filterStatusPendingProvisioning",
                            &SessionPreferences::filterStatusPendingProvisioningChanged);
}

void SessionPreferences::setFilterStatusProvisioning(bool value)
{
    StoredPreference::store(this, settings(), m_filterStatusProvisioning, value, "filterStatusProvisioning",
                            &SessionPreferences::filterStatusProvisioningChanged);
}

void SessionPreferences::setFilterStatusStaging(bool value)
{
    StoredPreference::store(this, settings(), m_filterStatusStaging, value, "filterStatusStaging",
                            &SessionPreferences::filterStatusStagingChanged);
}

void SessionPreferences::setFilterStatusRunning(bool value)
{
    StoredPreference::store(this, settings(), m_filterStatusRunning, value, "filterStatusRunning",
                            &SessionPreferences::filterStatusRunningChanged);
}

void SessionPreferences::setFilterStatusStopping(bool value)
{
    StoredPreference::store(this, settings(), m_filterStatusStopping, value, "filterStatusStopping",
                            &SessionPreferences::filterStatusStoppingChanged);
}

void SessionPreferences::setFilterStatusSuspending(bool value)
{
    StoredPreference::store(this, settings(), m_filterStatusSuspending, value, "filterStatusSuspending",
                            &SessionPreferences::filterStatusSuspendingChanged);
}

void SessionPreferences::setFilterStatusSuspended(bool value)
{
    StoredPreference::store(this, settings(), m_filterStatusSuspended, value, "filterStatusSuspended",
                            &SessionPreferences::filterStatusSuspendedChanged);
}

void SessionPreferences::setFilterStatusRepairing(bool value)
{
    StoredPreference::store(this, settings(), m_filterStatusRepairing, value, "filterStatusRepairing",
                            &SessionPreferences::filterStatusRepairingChanged);
}

void SessionPreferences::setFilterStatusTerminated(bool value)
{
    StoredPreference::store(this, settings(), m_filterStatusTerminated, value, "filterStatusTerminated",
                            &SessionPreferences::filterStatusTerminatedChanged);
}

void SessionPreferences::setFilterStatusDeleted(bool value)
{
    StoredPreference::store(this, settings(), m_filterStatusDeleted, value, "filterStatusDeleted",
                            &SessionPreferences::filterStatusDeletedChanged);
}

void SessionPreferences::setFilterPlatformWindows(bool value)
{
    StoredPreference::store(this, settings(), m_filterPlatformWindows, value, "filterPlatformWindows",
                            &SessionPreferences::filterPlatformWindowsChanged);
}

void SessionPreferences::setFilterPlatformLinux(bool value)
{
    StoredPreference::store(this, settings(), m_filterPlatformLinux, value, "filterPlatformLinux",
                            &SessionPreferences::filterPlatformLinuxChanged);
}

void SessionPreferences::setFilterPlatformMac(bool value)
{
    StoredPreference::store(this, settings(), m_filterPlatformMac, value, "filterPlatformMac",
                            &SessionPreferences::filterPlatformMacChanged);
}

void SessionPreferences::setFilterUserInstanceName(const QString &value)
{
    StoredPreference::store(this, settings(), m_filterUserInstanceName, value, "filterUserInstanceName",
                            &SessionPreferences::filterUserInstanceNameChanged);
}

void SessionPreferences::setComputerOrder(int value)
{
    StoredPreference::store(this, settings(), m_computerOrder, value, "computerOrder",
                            &SessionPreferences::computerOrderChanged);
}

void SessionPreferences::setShowVMConnectionWarningNotification(bool value)
{
    StoredPreference::store(this, settings(), m_showVMConnectionWarningNotification, value,
                            "showVMConnectionWarningNotification",
                            &SessionPreferences::showVMConnectionWarningNotificationChanged);
}

void SessionPreferences::setEnableDesktopPreviews(bool value)
{
    StoredPreference::store(this, settings(), m_enableDesktopPreviews, value, "enableDesktopPreviews",
                            &SessionPreferences::enableDesktopPreviewsChanged);
}

void SessionPreferences::setComputerEncryptedPasswords(const QVariantMap &value)
{
    StoredPreference::store(this, settings(), m_computerEncryptedPasswords, value,
                            "computerEncryptedPasswords",
                            &SessionPreferences::computerEncryptedPasswordsChanged);
}
