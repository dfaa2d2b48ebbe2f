// The record: construction and the property setters with their signals.
#include "records/user.h"

#include "records/assign.h"

User::User(QObject *parent) : QObject(parent)
{
}

void User::setId(const QString &value)
{
    Records::assign(this, m_id, value, &User::idChanged);
}

void User::setLogin(const QString &value)
{
    Records::assign(this, m_login, value, &User::loginChanged);
}

void User::setName(const QString &value)
{
    Records::assign(this, m_name, value, &User::nameChanged);
}

void User::setEmail(const QString &value)
{
    Records::assign(this, m_email, value, &User::emailChanged);
}

void User::setPassword(const QString &value)
{
    Records::assign(this, m_password, value, &User::passwordChanged);
}

void User::setUrl(const QString &value)
{
    Records::assign(this, m_url, value, &User::urlChanged);
}

void User::setRegistered(const QString &value)
{
    Records::assign(this, m_registered, value, &User::registeredChanged);
}

void User::setActivationKey(const QString &value)
{
    Records::assign(this, m_activationKey, value, &User::activationKeyChanged);
}

void User::setStatus(const QString &value)
{
    Records::assign(this, m_status, value, &User::statusChanged);
}

void User::setDisplayName(const QString &value)
{
    Records::assign(this, m_displayName, value, &User::displayNameChanged);
}

void User::setCredits(double value)
{
    Records::assign(this, m_credits, value, &User::creditsChanged);
}

void User::setLowCreditsThreshold(double value)
{
    Records::assign(this, m_lowCreditsThreshold, value, &User::lowCreditsThresholdChanged);
}

void User::setHasOwnedCredits(int value)
{
    Records::assign(this, m_hasOwnedCredits, value, &User::hasOwnedCreditsChanged);
}

void User::setCountry(const QString &value)
{
    Records::assign(this, m_country, value, &User::countryChanged);
}

void User::setVat(double value)
{
    Records::assign(this, m_vat, value, &User::vatChanged);
}

void User::setIsEuResident(bool value)
{
    Records::assign(this, m_isEuResident, value, &User::isEuResidentChanged);
}

void User::setValidVat(bool value)
{
    Records::assign(this, m_validVat, value, &User::validVatChanged);
}

void User::setFirstName(const QString &value)
{
    Records::assign(this, m_firstName, value, &User::firstNameChanged);
}

void User::setLastName(const QString &value)
{
    Records::assign(this, m_lastName, value, &User::lastNameChanged);
}

void User::setPhoneNumber(const QString &value)
{
    Records::assign(this, m_phoneNumber, value, &User::phoneNumberChanged);
}

void User::setCompanyName(const QString &value)
{
    Records::assign(this, m_companyName, value, &User::companyNameChanged);
}

void User::setCompanyAddress(const QString &value)
{
    Records::assign(this, m_companyAddress, value, &User::companyAddressChanged);
}

void User::setVatNumber(const QString &value)
{
    Records::assign(this, m_vatNumber, value, &User::vatNumberChanged);
}

void User::setMachineRunningForXHours(int value)
{
    Records::assign(this, m_machineRunningForXHours, value, &User::machineRunningForXHoursChanged);
}

void User::setNotificationCreditsPurchase(bool value)
{
    Records::assign(this, m_notificationCreditsPurchase, value, &User::notificationCreditsPurchaseChanged);
}

void User::setNotificationCreditsDepleted(bool value)
{
    Records::assign(this, m_notificationCreditsDepleted, value, &User::notificationCreditsDepletedChanged);
}

void User::setNotificationLowCredits(bool value)
{
    Records::assign(this, m_notificationLowCredits, value, &User::notificationLowCreditsChanged);
}

void User::setNotificationMachineCreated(bool value)
{
    Records::assign(this, m_notificationMachineCreated, value, &User::notificationMachineCreatedChanged);
}

void User::setNotificationMachineStarted(bool value)
{
    Records::assign(this, m_notificationMachineStarted, value, &User::notificationMachineStartedChanged);
}

void User::setNotificationMachineStopped(bool value)
{
    Records::assign(this, m_notificationMachineStopped, value, &User::notificationMachineStoppedChanged);
}

void User::setNotificationMachineReset(bool value)
{
    Records::assign(this, m_notificationMachineReset, value, &User::notificationMachineResetChanged);
}

void User::setNotificationMachineDeleted(bool value)
{
    Records::assign(this, m_notificationMachineDeleted, value, &User::notificationMachineDeletedChanged);
}

void User::setNotificationMachineRunningForXHours(bool value)
{
    Records::assign(this, m_notificationMachineRunningForXHours, value,
                    &User::notificationMachineRunningForXHoursChanged);
}
