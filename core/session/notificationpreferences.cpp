#include "session/notificationpreferences.h"

#include "logging.h"
#include "session/storedpreference.h"

#include <algorithm>
#include <cmath>

NotificationPreferences::NotificationPreferences(QSettings *settings, QObject *parent)
    : QObject(parent), m_settings(settings)
{
    if (!m_settings)
        return;
    StoredPreference::read(*m_settings, "disableAllNotifications", m_disableAllNotifications);
    StoredPreference::read(*m_settings, "creditsPurchasedNotificationApp", m_creditsPurchasedNotificationApp);
    StoredPreference::read(*m_settings, "creditsPurchasedNotificationSystem",
                           m_creditsPurchasedNotificationSystem);
    StoredPreference::read(*m_settings, "creditsDepletedNotificationApp", m_creditsDepletedNotificationApp);
    StoredPreference::read(*m_settings, "creditsDepletedNotificationSystem",
                           m_creditsDepletedNotificationSystem);
    StoredPreference::read(*m_settings, "lowCreditsNotificationApp", m_lowCreditsNotificationApp);
    StoredPreference::read(*m_settings, "lowCreditsNotificationSystem", m_lowCreditsNotificationSystem);
    StoredPreference::read(*m_settings, "createdMachineNotificationApp", m_createdMachineNotificationApp);
    StoredPreference::read(*m_settings, "createdMachineNotificationSystem",
                           m_createdMachineNotificationSystem);
    StoredPreference::read(*m_settings, "startedMachineNotificationApp", m_startedMachineNotificationApp);
    StoredPreference::read(*m_settings, "startedMachineNotificationSystem",
                           m_startedMachineNotificationSystem);
    StoredPreference::read(*m_settings, "stoppedMachineNotificationApp", m_stoppedMachineNotificationApp);
    StoredPreference::read(*m_settings, "stoppedMachineNotificationSystem",
                           m_stoppedMachineNotificationSystem);
    StoredPreference::read(*m_settings, "resetMachineNotificationApp", m_resetMachineNotificationApp);
    StoredPreference::read(*m_settings, "resetMachineNotificationSystem", m_resetMachineNotificationSystem);
    StoredPreference::read(*m_settings, "deletedMachineNotificationApp", m_deletedMachineNotificationApp);
    StoredPreference::read(*m_settings, "deletedMachineNotificationSystem",
                           m_deletedMachineNotificationSystem);
    StoredPreference::read(*m_settings, "runningForXHoursNotificationApp", m_runningForXHoursNotificationApp);
    StoredPreference::read(*m_settings, "runningForXHoursNotificationSystem",
                           m_runningForXHoursNotificationSystem);
    StoredPreference::read(*m_settings, "creditGuardHours", m_creditGuardHours);
    m_creditGuardHours = std::clamp(m_creditGuardHours, 0.0, 99.0);
}

bool NotificationPreferences::appSwitch(SessionEvent event) const
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

bool NotificationPreferences::systemSwitch(SessionEvent event) const
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

void NotificationPreferences::setCreditGuardHours(double value)
{
    if (!std::isfinite(value)) {
        qCWarning(lcCore) << "Ignoring a credit guard threshold that is not a number";
        return;
    }
    StoredPreference::store(this, m_settings, m_creditGuardHours, std::clamp(value, 0.0, 99.0),
                            "creditGuardHours", &NotificationPreferences::creditGuardHoursChanged);
}

void NotificationPreferences::setDisableAllNotifications(bool value)
{
    StoredPreference::store(this, m_settings, m_disableAllNotifications, value, "disableAllNotifications",
                            &NotificationPreferences::disableAllNotificationsChanged);
}

void NotificationPreferences::setCreditsPurchasedNotificationApp(bool value)
{
    StoredPreference::store(this, m_settings, m_creditsPurchasedNotificationApp, value,
                            "creditsPurchasedNotificationApp",
                            &NotificationPreferences::creditsPurchasedNotificationAppChanged);
}

void NotificationPreferences::setCreditsPurchasedNotificationSystem(bool value)
{
    StoredPreference::store(this, m_settings, m_creditsPurchasedNotificationSystem, value,
                            "creditsPurchasedNotificationSystem",
                            &NotificationPreferences::creditsPurchasedNotificationSystemChanged);
}

void NotificationPreferences::setCreditsDepletedNotificationApp(bool value)
{
    StoredPreference::store(this, m_settings, m_creditsDepletedNotificationApp, value,
                            "creditsDepletedNotificationApp",
                            &NotificationPreferences::creditsDepletedNotificationAppChanged);
}

void NotificationPreferences::setCreditsDepletedNotificationSystem(bool value)
{
    StoredPreference::store(this, m_settings, m_creditsDepletedNotificationSystem, value,
                            "creditsDepletedNotificationSystem",
                            &NotificationPreferences::creditsDepletedNotificationSystemChanged);
}

void NotificationPreferences::setLowCreditsNotificationApp(bool value)
{
    StoredPreference::store(this, m_settings, m_lowCreditsNotificationApp, value, "lowCreditsNotificationApp",
                            &NotificationPreferences::lowCreditsNotificationAppChanged);
}

void NotificationPreferences::setLowCreditsNotificationSystem(bool value)
{
    StoredPreference::store(this, m_settings, m_lowCreditsNotificationSystem, value,
                            "lowCreditsNotificationSystem",
                            &NotificationPreferences::lowCreditsNotificationSystemChanged);
}

void NotificationPreferences::setCreatedMachineNotificationApp(bool value)
{
    StoredPreference::store(this, m_settings, m_createdMachineNotificationApp, value,
                            "createdMachineNotificationApp",
                            &NotificationPreferences::createdMachineNotificationAppChanged);
}

void NotificationPreferences::setCreatedMachineNotificationSystem(bool value)
{
    StoredPreference::store(this, m_settings, m_createdMachineNotificationSystem, value,
                            "createdMachineNotificationSystem",
                            &NotificationPreferences::createdMachineNotificationSystemChanged);
}

void NotificationPreferences::setStartedMachineNotificationApp(bool value)
{
    StoredPreference::store(this, m_settings, m_startedMachineNotificationApp, value,
                            "startedMachineNotificationApp",
                            &NotificationPreferences::startedMachineNotificationAppChanged);
}

void NotificationPreferences::setStartedMachineNotificationSystem(bool value)
{
    StoredPreference::store(this, m_settings, m_startedMachineNotificationSystem, value,
                            "startedMachineNotificationSystem",
                            &NotificationPreferences::startedMachineNotificationSystemChanged);
}

void NotificationPreferences::setStoppedMachineNotificationApp(bool value)
{
    StoredPreference::store(this, m_settings, m_stoppedMachineNotificationApp, value,
                            "stoppedMachineNotificationApp",
                            &NotificationPreferences::stoppedMachineNotificationAppChanged);
}

void NotificationPreferences::setStoppedMachineNotificationSystem(bool value)
{
    StoredPreference::store(this, m_settings, m_stoppedMachineNotificationSystem, value,
                            "stoppedMachineNotificationSystem",
                            &NotificationPreferences::stoppedMachineNotificationSystemChanged);
}

void NotificationPreferences::setResetMachineNotificationApp(bool value)
{
    StoredPreference::store(this, m_settings, m_resetMachineNotificationApp, value,
                            "resetMachineNotificationApp",
                            &NotificationPreferences::resetMachineNotificationAppChanged);
}

void NotificationPreferences::setResetMachineNotificationSystem(bool value)
{
    StoredPreference::store(this, m_settings, m_resetMachineNotificationSystem, value,
                            "resetMachineNotificationSystem",
                            &NotificationPreferences::resetMachineNotificationSystemChanged);
}

void NotificationPreferences::setDeletedMachineNotificationApp(bool value)
{
    StoredPreference::store(this, m_settings, m_deletedMachineNotificationApp, value,
                            "deletedMachineNotificationApp",
                            &NotificationPreferences::deletedMachineNotificationAppChanged);
}

void NotificationPreferences::setDeletedMachineNotificationSystem(bool value)
{
    StoredPreference::store(this, m_settings, m_deletedMachineNotificationSystem, value,
                            "deletedMachineNotificationSystem",
                            &NotificationPreferences::deletedMachineNotificationSystemChanged);
}

void NotificationPreferences::setRunningForXHoursNotificationApp(bool value)
{
    StoredPreference::store(this, m_settings, m_runningForXHoursNotificationApp, value,
                            "runningForXHoursNotificationApp",
                            &NotificationPreferences::runningForXHoursNotificationAppChanged);
}

void NotificationPreferences::setRunningForXHoursNotificationSystem(bool value)
{
    StoredPreference::store(this, m_settings, m_runningForXHoursNotificationSystem, value,
                            "runningForXHoursNotificationSystem",
                            &NotificationPreferences::runningForXHoursNotificationSystemChanged);
}
