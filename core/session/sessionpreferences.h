#pragma once

#include "session/notificationpreferences.h"

#include <QString>
#include <QVariantMap>

#include <cmath>

class QSettings;

// The signed-in session's persisted view preferences: the polling interval, the grid's column width, the
// computers page's filters and ordering, the connection warning and the desktop previews, and the
// protected Remote Desktop passwords by computer. Each property is stored under the top-level settings key
// of its own name the moment it changes, and loaded from the store when the object is created. The
// notification settings come from the base class; MainContext derives from this, so QML reads every
// preference on `main`.
class SessionPreferences : public NotificationPreferences {
    Q_OBJECT
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

public:
    // log10(7000): the polling interval of 7 seconds.
    static inline const double kDefaultRefreshRate = std::log10(7000.0);

    // settings: not owned, may be null (nothing is then stored or loaded).
    explicit SessionPreferences(QSettings *settings, QObject *parent = nullptr);

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

Q_SIGNALS:
    void refreshRateChanged();
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

private:
    void setStatusFilters(bool running, bool terminated, bool deleted);

    double m_refreshRate = kDefaultRefreshRate;
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
};
