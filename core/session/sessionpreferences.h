#pragma once

#include "session/sessionevent.h"

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <cmath>

class QSettings;

// The signed-in session's persisted preferences: view options, filters, ordering, the encrypted Remote
// Desktop passwords and the in-app and system notification switches. Each property is stored under the
// top-level settings key of its own name the moment it changes, and loaded from the store when the
// object is created. MainContext derives from this, so QML reads every preference on `main`.
class SessionPreferences : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool disableAllNotifications READ disableAllNotifications WRITE setDisableAllNotifications
                   NOTIFY disableAllNotificationsChanged)
    Q_PROPERTY(double refreshRate READ refreshRate WRITE setRefreshRate NOTIFY refreshRateChanged)
    Q_PROPERTY(double gridCardColumnWidth READ gridCardColumnWidth WRITE setGridCardColumnWidth NOTIFY
                   gridCardColumnWidthChanged)
    Q_PROPERTY(bool filterStatusPendingProvisioning READ filterStatusPendingProvisioning WRITE
                   setFilterStatusPendingProvisioning NOTIFY filterStatusPendingProvisioningChanged)
    Q_PROPERTY(bool filterStatusProvisioning READ filterStatusProvisioning WRITE setFilterStatusProvisioning
                   NOTIFY filterStatusProvisioningChanged)
    Q_PROPERTY(bool filterStatusStaging READ filterStatusStaging WRITE setFilterStatusStaging NOTIFY
                   filterStatusStagingChanged)
    Q_PROPERTY(bool filterStatusRunning READ filterStatusRunning WRITE setFilterStatusRunning NOTIFY
                   filterStatusRunningChanged)
    Q_PROPERTY(bool filterStatusStopping READ filterStatusStopping WRITE setFilterStatusStopping NOTIFY
                   filterStatusStoppingChanged)
    Q_PROPERTY(bool filterStatusSuspending READ filterStatusSuspending WRITE setFilterStatusSuspending NOTIFY
                   filterStatusSuspendingChanged)
    Q_PROPERTY(bool filterStatusSuspended READ filterStatusSuspended WRITE setFilterStatusSuspended NOTIFY
                   filterStatusSuspendedChanged)
    Q_PROPERTY(bool filterStatusRepairing READ filterStatusRepairing WRITE setFilterStatusRepairing NOTIFY
                   filterStatusRepairingChanged)
    Q_PROPERTY(bool filterStatusTerminated READ filterStatusTerminated WRITE setFilterStatusTerminated NOTIFY
                   filterStatusTerminatedChanged)
    Q_PROPERTY(bool filterStatusDeleted READ filterStatusDeleted WRITE setFilterStatusDeleted NOTIFY
                   filterStatusDeletedChanged)
    Q_PROPERTY(bool filterPlatformWindows READ filterPlatformWindows WRITE setFilterPlatformWindows NOTIFY
                   filterPlatformWindowsChanged)
    Q_PROPERTY(bool filterPlatformLinux READ filterPlatformLinux WRITE setFilterPlatformLinux NOTIFY
                   filterPlatformLinuxChanged)
    Q_PROPERTY(bool filterPlatformMac READ filterPlatformMac WRITE setFilterPlatformMac NOTIFY
                   filterPlatformMacChanged)
    Q_PROPERTY(QString filterUserInstanceName READ filterUserInstanceName WRITE setFilterUserInstanceName
                   NOTIFY filterUserInstanceNameChanged)
    Q_PROPERTY(int computerOrder READ computerOrder WRITE setComputerOrder NOTIFY computerOrderChanged)
    Q_PROPERTY(bool showVMConnectionWarningNotification READ showVMConnectionWarningNotification WRITE
                   setShowVMConnectionWarningNotification NOTIFY showVMConnectionWarningNotificationChanged)
    Q_PROPERTY(bool enableDesktopPreviews READ enableDesktopPreviews WRITE setEnableDesktopPreviews NOTIFY
                   enableDesktopPreviewsChanged)
    Q_PROPERTY(QVariantMap computerEncryptedPasswords READ computerEncryptedPasswords WRITE
                   setComputerEncryptedPasswords NOTIFY computerEncryptedPasswordsChanged)
    Q_PROPERTY(bool creditsPurchasedNotificationApp READ creditsPurchasedNotificationApp WRITE
                   setCreditsPurchasedNotificationApp NOTIFY creditsPurchasedNotificationAppChanged)
    Q_PROPERTY(bool creditsPurchasedNotificationSystem READ creditsPurchasedNotificationSystem WRITE
                   setCreditsPurchasedNotificationSystem NOTIFY creditsPurchasedNotificationSystemChanged)
    Q_PROPERTY(bool creditsDepletedNotificationApp READ creditsDepletedNotificationApp WRITE
                   setCreditsDepletedNotificationApp NOTIFY creditsDepletedNotificationAppChanged)
    Q_PROPERTY(bool creditsDepletedNotificationSystem READ creditsDepletedNotificationSystem WRITE
                   setCreditsDepletedNotificationSystem NOTIFY creditsDepletedNotificationSystemChanged)
    Q_PROPERTY(bool lowCreditsNotificationApp READ lowCreditsNotificationApp WRITE
                   setLowCreditsNotificationApp NOTIFY lowCreditsNotificationAppChanged)
    Q_PROPERTY(bool lowCreditsNotificationSystem READ lowCreditsNotificationSystem WRITE
                   setLowCreditsNotificationSystem NOTIFY lowCreditsNotificationSystemChanged)
    Q_PROPERTY(bool createdMachineNotificationApp READ createdMachineNotificationApp WRITE
                   setCreatedMachineNotificationApp NOTIFY createdMachineNotificationAppChanged)
    Q_PROPERTY(bool createdMachineNotificationSystem READ createdMachineNotificationSystem WRITE
                   setCreatedMachineNotificationSystem NOTIFY createdMachineNotificationSystemChanged)
    Q_PROPERTY(bool startedMachineNotificationApp READ startedMachineNotificationApp WRITE
                   setStartedMachineNotificationApp NOTIFY startedMachineNotificationAppChanged)
    Q_PROPERTY(bool startedMachineNotificationSystem READ startedMachineNotificationSystem WRITE
                   setStartedMachineNotificationSystem NOTIFY startedMachineNotificationSystemChanged)
    Q_PROPERTY(bool stoppedMachineNotificationApp READ stoppedMachineNotificationApp WRITE
                   setStoppedMachineNotificationApp NOTIFY stoppedMachineNotificationAppChanged)
    Q_PROPERTY(bool stoppedMachineNotificationSystem READ stoppedMachineNotificationSystem WRITE
                   setStoppedMachineNotificationSystem NOTIFY stoppedMachineNotificationSystemChanged)
    Q_PROPERTY(bool resetMachineNotificationApp READ resetMachineNotificationApp WRITE
                   setResetMachineNotificationApp NOTIFY resetMachineNotificationAppChanged)
    Q_PROPERTY(bool resetMachineNotificationSystem READ resetMachineNotificationSystem WRITE
                   setResetMachineNotificationSystem NOTIFY resetMachineNotificationSystemChanged)
    Q_PROPERTY(bool deletedMachineNotificationApp READ deletedMachineNotificationApp WRITE
                   setDeletedMachineNotificationApp NOTIFY deletedMachineNotificationAppChanged)
    Q_PROPERTY(bool deletedMachineNotificationSystem READ deletedMachineNotificationSystem WRITE
                   setDeletedMachineNotificationSystem NOTIFY deletedMachineNotificationSystemChanged)
    Q_PROPERTY(bool runningForXHoursNotificationApp READ runningForXHoursNotificationApp WRITE
                   setRunningForXHoursNotificationApp NOTIFY runningForXHoursNotificationAppChanged)
    Q_PROPERTY(bool runningForXHoursNotificationSystem READ runningForXHoursNotificationSystem WRITE
                   setRunningForXHoursNotificationSystem NOTIFY runningForXHoursNotificationSystemChanged)
    // The credit-exhaustion guard speaks up when the hours left fall below this many hours; 0 turns it off.
    Q_PROPERTY(double creditGuardHours READ creditGuardHours WRITE setCreditGuardHours NOTIFY
                   creditGuardHoursChanged)

public:
    // log10(7000): the polling interval of 7 seconds.
    static inline const double kDefaultRefreshRate = std::log10(7000.0);

    // settings: not owned, may be null (nothing is then stored or loaded).
    explicit SessionPreferences(QSettings *settings, QObject *parent = nullptr);

    // The in-app and the system switch of an event.
    [[nodiscard]] bool appSwitch(SessionEvent event) const;
    [[nodiscard]] bool systemSwitch(SessionEvent event) const;

    // The polling interval in milliseconds: 10 to the power refreshRate, kept within 1 s and 10 min so
    // that a damaged stored value cannot flood the service or stop the polling.
    [[nodiscard]] int refreshIntervalMs() const;

    // The status filter menu's three buttons. Each sets all ten status flags (true hides the status);
    // the platform flags are left alone.
    // "Check All": every status shown.
    Q_INVOKABLE void showAllStatuses();
    // "Uncheck All": running, stopped and deleted computers hidden, every other status shown.
    Q_INVOKABLE void hideMenuStatuses();
    // "Default": only deleted computers hidden.
    Q_INVOKABLE void defaultStatusFilters();

    [[nodiscard]] bool disableAllNotifications() const { return m_disableAllNotifications; }
    [[nodiscard]] double refreshRate() const { return m_refreshRate; }
    [[nodiscard]] double gridCardColumnWidth() const { return m_gridCardColumnWidth; }
    [[nodiscard]] bool filterStatusPendingProvisioning() const { return m_filterStatusPendingProvisioning; }
    [[nodiscard]] bool filterStatusProvisioning() const { return m_filterStatusProvisioning; }
    [[nodiscard]] bool filterStatusStaging() const { return m_filterStatusStaging; }
    [[nodiscard]] bool filterStatusRunning() const { return m_filterStatusRunning; }
    [[nodiscard]] bool filterStatusStopping() const { return m_filterStatusStopping; }
    [[nodiscard]] bool filterStatusSuspending() const { return m_filterStatusSuspending; }
    [[nodiscard]] bool filterStatusSuspended() const { return m_filterStatusSuspended; }
    [[nodiscard]] bool filterStatusRepairing() const { return m_filterStatusRepairing; }
    [[nodiscard]] bool filterStatusTerminated() const { return m_filterStatusTerminated; }
    [[nodiscard]] bool filterStatusDeleted() const { return m_filterStatusDeleted; }
    [[nodiscard]] bool filterPlatformWindows() const { return m_filterPlatformWindows; }
    [[nodiscard]] bool filterPlatformLinux() const { return m_filterPlatformLinux; }
    [[nodiscard]] bool filterPlatformMac() const { return m_filterPlatformMac; }
    [[nodiscard]] QString filterUserInstanceName() const { return m_filterUserInstanceName; }
    [[nodiscard]] int computerOrder() const { return m_computerOrder; }
    [[nodiscard]] bool showVMConnectionWarningNotification() const
    {
        return m_showVMConnectionWarningNotification;
    }
    [[nodiscard]] bool enableDesktopPreviews() const { return m_enableDesktopPreviews; }
    [[nodiscard]] QVariantMap computerEncryptedPasswords() const { return m_computerEncryptedPasswords; }
    [[nodiscard]] bool creditsPurchasedNotificationApp() const { return m_creditsPurchasedNotificationApp; }
    [[nodiscard]] bool creditsPurchasedNotificationSystem() const
    {
        return m_creditsPurchasedNotificationSystem;
    }
    [[nodiscard]] bool creditsDepletedNotificationApp() const { return m_creditsDepletedNotificationApp; }
    [[nodiscard]] bool creditsDepletedNotificationSystem() const
    {
        return m_creditsDepletedNotificationSystem;
    }
    [[nodiscard]] bool lowCreditsNotificationApp() const { return m_lowCreditsNotificationApp; }
    [[nodiscard]] bool lowCreditsNotificationSystem() const { return m_lowCreditsNotificationSystem; }
    [[nodiscard]] bool createdMachineNotificationApp() const { return m_createdMachineNotificationApp; }
    [[nodiscard]] bool createdMachineNotificationSystem() const { return m_createdMachineNotificationSystem; }
    [[nodiscard]] bool startedMachineNotificationApp() const { return m_startedMachineNotificationApp; }
    [[nodiscard]] bool startedMachineNotificationSystem() const { return m_startedMachineNotificationSystem; }
    [[nodiscard]] bool stoppedMachineNotificationApp() const { return m_stoppedMachineNotificationApp; }
    [[nodiscard]] bool stoppedMachineNotificationSystem() const { return m_stoppedMachineNotificationSystem; }
    [[nodiscard]] bool resetMachineNotificationApp() const { return m_resetMachineNotificationApp; }
    [[nodiscard]] bool resetMachineNotificationSystem() const { return m_resetMachineNotificationSystem; }
    [[nodiscard]] bool deletedMachineNotificationApp() const { return m_deletedMachineNotificationApp; }
    [[nodiscard]] bool deletedMachineNotificationSystem() const { return m_deletedMachineNotificationSystem; }
    [[nodiscard]] bool runningForXHoursNotificationApp() const { return m_runningForXHoursNotificationApp; }
    [[nodiscard]] bool runningForXHoursNotificationSystem() const
    {
        return m_runningForXHoursNotificationSystem;
    }

    void setDisableAllNotifications(bool value);
    void setRefreshRate(double value);
    void setGridCardColumnWidth(double value);
    void setFilterStatusPendingProvisioning(bool value);
    void setFilterStatusProvisioning(bool value);
    void setFilterStatusStaging(bool value);
    void setFilterStatusRunning(bool value);
    void setFilterStatusStopping(bool value);
    void setFilterStatusSuspending(bool value);
    void setFilterStatusSuspended(bool value);
    void setFilterStatusRepairing(bool value);
    void setFilterStatusTerminated(bool value);
    void setFilterStatusDeleted(bool value);
    void setFilterPlatformWindows(bool value);
    void setFilterPlatformLinux(bool value);
    void setFilterPlatformMac(bool value);
    void setFilterUserInstanceName(const QString &value);
    void setComputerOrder(int value);
    void setShowVMConnectionWarningNotification(bool value);
    void setEnableDesktopPreviews(bool value);
    void setComputerEncryptedPasswords(const QVariantMap &value);
    void setCreditsPurchasedNotificationApp(bool value);
    void setCreditsPurchasedNotificationSystem(bool value);
    void setCreditsDepletedNotificationApp(bool value);
    void setCreditsDepletedNotificationSystem(bool value);
    void setLowCreditsNotificationApp(bool value);
    void setLowCreditsNotificationSystem(bool value);
    void setCreatedMachineNotificationApp(bool value);
    void setCreatedMachineNotificationSystem(bool value);
    void setStartedMachineNotificationApp(bool value);
    void setStartedMachineNotificationSystem(bool value);
    void setStoppedMachineNotificationApp(bool value);
    void setStoppedMachineNotificationSystem(bool value);
    void setResetMachineNotificationApp(bool value);
    void setResetMachineNotificationSystem(bool value);
    void setDeletedMachineNotificationApp(bool value);
    void setDeletedMachineNotificationSystem(bool value);
    void setRunningForXHoursNotificationApp(bool value);
    void setRunningForXHoursNotificationSystem(bool value);
    // Kept within 0 and 99 hours; a value that is not a number is refused.
    void setCreditGuardHours(double value);
    [[nodiscard]] double creditGuardHours() const { return m_creditGuardHours; }

Q_SIGNALS:
    void disableAllNotificationsChanged();
    void refreshRateChanged();
    void creditGuardHoursChanged();
    void gridCardColumnWidthChanged();
    void filterStatusPendingProvisioningChanged();
    void filterStatusProvisioningChanged();
    void filterStatusStagingChanged();
    void filterStatusRunningChanged();
    void filterStatusStoppingChanged();
    void filterStatusSuspendingChanged();
    void filterStatusSuspendedChanged();
    void filterStatusRepairingChanged();
    void filterStatusTerminatedChanged();
    void filterStatusDeletedChanged();
    void filterPlatformWindowsChanged();
    void filterPlatformLinuxChanged();
    void filterPlatformMacChanged();
    void filterUserInstanceNameChanged();
    void computerOrderChanged();
    void showVMConnectionWarningNotificationChanged();
    void enableDesktopPreviewsChanged();
    void computerEncryptedPasswordsChanged();
    void creditsPurchasedNotificationAppChanged();
    void creditsPurchasedNotificationSystemChanged();
    void creditsDepletedNotificationAppChanged();
    void creditsDepletedNotificationSystemChanged();
    void lowCreditsNotificationAppChanged();
    void lowCreditsNotificationSystemChanged();
    void createdMachineNotificationAppChanged();
    void createdMachineNotificationSystemChanged();
    void startedMachineNotificationAppChanged();
    void startedMachineNotificationSystemChanged();
    void stoppedMachineNotificationAppChanged();
    void stoppedMachineNotificationSystemChanged();
    void resetMachineNotificationAppChanged();
    void resetMachineNotificationSystemChanged();
    void deletedMachineNotificationAppChanged();
    void deletedMachineNotificationSystemChanged();
    void runningForXHoursNotificationAppChanged();
    void runningForXHoursNotificationSystemChanged();

protected:
    [[nodiscard]] QSettings *settings() const { return m_settings; }

private:
    void setStatusFilters(bool running, bool terminated, bool deleted);
    template <typename T>
    void store(T &member, const T &value, const char *key, void (SessionPreferences::*changed)());
    template <typename T> void load(T &member, const char *key);

    QSettings *m_settings = nullptr;
    bool m_disableAllNotifications = false;
    double m_refreshRate = kDefaultRefreshRate;
    double m_creditGuardHours = 2;
    double m_gridCardColumnWidth = 340;
    bool m_filterStatusPendingProvisioning = false;
    bool m_filterStatusProvisioning = false;
    bool m_filterStatusStaging = false;
    bool m_filterStatusRunning = false;
    bool m_filterStatusStopping = false;
    bool m_filterStatusSuspending = false;
    bool m_filterStatusSuspended = false;
    bool m_filterStatusRepairing = false;
    bool m_filterStatusTerminated = false;
    bool m_filterStatusDeleted = true;
    bool m_filterPlatformWindows = false;
    bool m_filterPlatformLinux = false;
    bool m_filterPlatformMac = false;
    QString m_filterUserInstanceName = QString();
    int m_computerOrder = 0;
    bool m_showVMConnectionWarningNotification = true;
    bool m_enableDesktopPreviews = true;
    QVariantMap m_computerEncryptedPasswords = QVariantMap();
    bool m_creditsPurchasedNotificationApp = true;
    bool m_creditsPurchasedNotificationSystem = true;
    bool m_creditsDepletedNotificationApp = true;
    bool m_creditsDepletedNotificationSystem = true;
    bool m_lowCreditsNotificationApp = true;
    bool m_lowCreditsNotificationSystem = true;
    bool m_createdMachineNotificationApp = true;
    bool m_createdMachineNotificationSystem = true;
    bool m_startedMachineNotificationApp = true;
    bool m_startedMachineNotificationSystem = true;
    bool m_stoppedMachineNotificationApp = true;
    bool m_stoppedMachineNotificationSystem = true;
    bool m_resetMachineNotificationApp = true;
    bool m_resetMachineNotificationSystem = true;
    bool m_deletedMachineNotificationApp = true;
    bool m_deletedMachineNotificationSystem = true;
    bool m_runningForXHoursNotificationApp = true;
    bool m_runningForXHoursNotificationSystem = true;
};
