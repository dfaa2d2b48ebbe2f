#pragma once

#include "session/sessionevent.h"

#include <QObject>

class QSettings;

// The signed-in session's notification settings: the master switch of its in-app notifications, the
// in-app and the system switch of each event, and the credit guard's threshold. Each is stored under the
// top-level settings key of its own name the moment it changes, and loaded from the store when the object
// is created. SessionPreferences (and through it MainContext) derives from this, so QML reads every switch
// on `main`.
class NotificationPreferences : public QObject {
    Q_OBJECT
    // The master switch: no in-app notification of the session while it is on.
    Q_PROPERTY(bool disableAllNotifications READ disableAllNotifications WRITE setDisableAllNotifications
                   NOTIFY disableAllNotificationsChanged)
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
    // settings: not owned, may be null (nothing is then stored or loaded).
    explicit NotificationPreferences(QSettings *settings, QObject *parent = nullptr);

    // The in-app and the system switch of an event.
    [[nodiscard]] bool appSwitch(SessionEvent event) const;
    [[nodiscard]] bool systemSwitch(SessionEvent event) const;

    [[nodiscard]] bool disableAllNotifications() const { return m_disableAllNotifications; }
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
    [[nodiscard]] double creditGuardHours() const { return m_creditGuardHours; }

    void setDisableAllNotifications(bool value);
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

Q_SIGNALS:
    void disableAllNotificationsChanged();
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
    void creditGuardHoursChanged();

protected:
    [[nodiscard]] QSettings *settings() const { return m_settings; }

private:
    QSettings *m_settings = nullptr;
    bool m_disableAllNotifications = false;
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
    double m_creditGuardHours = 2;
};
