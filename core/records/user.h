#pragma once

#include "utils/utils.h"

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <optional>

// The signed-in account: identity, credit balance, billing identity and the account's e-mail notification
// choices kept by the service. Built from the sign-in reply; the user-data poll and the account views
// change it in place. Owned by whoever holds the signed-in state. The record is in user.cpp, the reading of
// replies in userjson.cpp, the e-mail choices' table in useremailchoices.cpp.
class User : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString id READ id WRITE setId NOTIFY idChanged)
    Q_PROPERTY(QString login READ login WRITE setLogin NOTIFY loginChanged)
    Q_PROPERTY(QString name READ name WRITE setName NOTIFY nameChanged)
    Q_PROPERTY(QString email READ email WRITE setEmail NOTIFY emailChanged)
    Q_PROPERTY(QString password READ password WRITE setPassword NOTIFY passwordChanged)
    Q_PROPERTY(QString url READ url WRITE setUrl NOTIFY urlChanged)
    Q_PROPERTY(QString registered READ registered WRITE setRegistered NOTIFY registeredChanged)
    Q_PROPERTY(QString activationKey READ activationKey WRITE setActivationKey NOTIFY activationKeyChanged)
    Q_PROPERTY(QString status READ status WRITE setStatus NOTIFY statusChanged)
    Q_PROPERTY(QString displayName READ displayName WRITE setDisplayName NOTIFY displayNameChanged)
    Q_PROPERTY(double credits READ credits WRITE setCredits NOTIFY creditsChanged)
    Q_PROPERTY(double lowCreditsThreshold READ lowCreditsThreshold WRITE setLowCreditsThreshold NOTIFY
                   lowCreditsThresholdChanged)
    Q_PROPERTY(
        int hasOwnedCredits READ hasOwnedCredits WRITE setHasOwnedCredits NOTIFY hasOwnedCreditsChanged)
    Q_PROPERTY(QString country READ country WRITE setCountry NOTIFY countryChanged)
    Q_PROPERTY(double vat READ vat WRITE setVat NOTIFY vatChanged)
    Q_PROPERTY(bool isEuResident READ isEuResident WRITE setIsEuResident NOTIFY isEuResidentChanged)
    Q_PROPERTY(bool validVat READ validVat WRITE setValidVat NOTIFY validVatChanged)
    Q_PROPERTY(QString firstName READ firstName WRITE setFirstName NOTIFY firstNameChanged)
    Q_PROPERTY(QString lastName READ lastName WRITE setLastName NOTIFY lastNameChanged)
    Q_PROPERTY(QString phoneNumber READ phoneNumber WRITE setPhoneNumber NOTIFY phoneNumberChanged)
    Q_PROPERTY(QString companyName READ companyName WRITE setCompanyName NOTIFY companyNameChanged)
    Q_PROPERTY(
        QString companyAddress READ companyAddress WRITE setCompanyAddress NOTIFY companyAddressChanged)
    Q_PROPERTY(QString vatNumber READ vatNumber WRITE setVatNumber NOTIFY vatNumberChanged)
    Q_PROPERTY(int machineRunningForXHours READ machineRunningForXHours WRITE setMachineRunningForXHours
                   NOTIFY machineRunningForXHoursChanged)
    Q_PROPERTY(bool notificationCreditsPurchase READ notificationCreditsPurchase WRITE
                   setNotificationCreditsPurchase NOTIFY notificationCreditsPurchaseChanged)
    Q_PROPERTY(bool notificationCreditsDepleted READ notificationCreditsDepleted WRITE
                   setNotificationCreditsDepleted NOTIFY notificationCreditsDepletedChanged)
    Q_PROPERTY(bool notificationLowCredits READ notificationLowCredits WRITE setNotificationLowCredits NOTIFY
                   notificationLowCreditsChanged)
    Q_PROPERTY(bool notificationMachineCreated READ notificationMachineCreated WRITE
                   setNotificationMachineCreated NOTIFY notificationMachineCreatedChanged)
    Q_PROPERTY(bool notificationMachineStarted READ notificationMachineStarted WRITE
                   setNotificationMachineStarted NOTIFY notificationMachineStartedChanged)
    Q_PROPERTY(bool notificationMachineStopped READ notificationMachineStopped WRITE
                   setNotificationMachineStopped NOTIFY notificationMachineStoppedChanged)
    Q_PROPERTY(bool notificationMachineReset READ notificationMachineReset WRITE setNotificationMachineReset
                   NOTIFY notificationMachineResetChanged)
    Q_PROPERTY(bool notificationMachineDeleted READ notificationMachineDeleted WRITE
                   setNotificationMachineDeleted NOTIFY notificationMachineDeletedChanged)
    Q_PROPERTY(bool notificationMachineRunningForXHours READ notificationMachineRunningForXHours WRITE
                   setNotificationMachineRunningForXHours NOTIFY notificationMachineRunningForXHoursChanged)

public:
    // The account's e-mail notifications. The numbers are also what the service expects in the
    // "email_notifications" list of a preferences update.
    enum EmailNotification {
        CreditsPurchase = 1,
        CreditsDepleted = 2,
        LowCredits = 3,
        MachineCreated = 4,
        MachineStarted = 5,
        MachineStopped = 6,
        MachineReset = 7,
        MachineDeleted = 8,
        MachineRunningForXHours = 9,
    };
    Q_ENUM(EmailNotification)

    // The key of a notification number in the service's "email_notifications" object; empty when the
    // number is not an EmailNotification.
    [[nodiscard]] static QString emailNotificationKey(int number);

    explicit User(QObject *parent = nullptr);

    // Builds the user from the "data" object of the sign-in reply and the password typed at sign-in.
    // Every field is read leniently (see JsonRead) with the defaults of a fresh account. Refuses with a
    // warning, returning nullptr, when "data" names no e-mail address: every signed-in request is made
    // with it.
    [[nodiscard]] static User *fromLoginData(const QJsonObject &data, const QString &password,
                                             QObject *parent = nullptr);

    // Applies the "user_data" object of a user-data poll. Credits, threshold, credit history, country,
    // VAT fields, phone and company are changed only when their key is present; the running-time
    // threshold and the nine e-mail choices are always set (-1 and false when missing). Names, VAT number
    // and the identity fields are left alone.
    void updateFromUserData(const QJsonObject &userData);

    // The balance a "user_data" object would set, when it names one ("user_credit"; 0 when it does not
    // parse). Lets the caller weigh the credit notices against the current values before applying it.
    [[nodiscard]] static std::optional<double> creditsIn(const QJsonObject &userData);

    // An e-mail choice by its EmailNotification number; false for an unlisted number.
    Q_INVOKABLE [[nodiscard]] bool emailNotification(int number) const;
    // Sets an e-mail choice by number; an unlisted number is ignored.
    Q_INVOKABLE void setEmailNotification(int number, bool enabled);

    [[nodiscard]] QString id() const { return m_id; }
    [[nodiscard]] QString login() const { return m_login; }
    [[nodiscard]] QString name() const { return m_name; }
    [[nodiscard]] QString email() const { return m_email; }
    [[nodiscard]] QString password() const { return m_password; }
    [[nodiscard]] QString url() const { return m_url; }
    [[nodiscard]] QString registered() const { return m_registered; }
    [[nodiscard]] QString activationKey() const { return m_activationKey; }
    [[nodiscard]] QString status() const { return m_status; }
    [[nodiscard]] QString displayName() const { return m_displayName; }
    [[nodiscard]] double credits() const { return m_credits; }
    [[nodiscard]] double lowCreditsThreshold() const { return m_lowCreditsThreshold; }
    [[nodiscard]] int hasOwnedCredits() const { return m_hasOwnedCredits; }
    [[nodiscard]] QString country() const { return m_country; }
    [[nodiscard]] double vat() const { return m_vat; }
    [[nodiscard]] bool isEuResident() const { return m_isEuResident; }
    [[nodiscard]] bool validVat() const { return m_validVat; }
    [[nodiscard]] QString firstName() const { return m_firstName; }
    [[nodiscard]] QString lastName() const { return m_lastName; }
    [[nodiscard]] QString phoneNumber() const { return m_phoneNumber; }
    [[nodiscard]] QString companyName() const { return m_companyName; }
    [[nodiscard]] QString companyAddress() const { return m_companyAddress; }
    [[nodiscard]] QString vatNumber() const { return m_vatNumber; }
    [[nodiscard]] int machineRunningForXHours() const { return m_machineRunningForXHours; }
    [[nodiscard]] bool notificationCreditsPurchase() const { return m_notificationCreditsPurchase; }
    [[nodiscard]] bool notificationCreditsDepleted() const { return m_notificationCreditsDepleted; }
    [[nodiscard]] bool notificationLowCredits() const { return m_notificationLowCredits; }
    [[nodiscard]] bool notificationMachineCreated() const { return m_notificationMachineCreated; }
    [[nodiscard]] bool notificationMachineStarted() const { return m_notificationMachineStarted; }
    [[nodiscard]] bool notificationMachineStopped() const { return m_notificationMachineStopped; }
    [[nodiscard]] bool notificationMachineReset() const { return m_notificationMachineReset; }
    [[nodiscard]] bool notificationMachineDeleted() const { return m_notificationMachineDeleted; }
    [[nodiscard]] bool notificationMachineRunningForXHours() const
    {
        return m_notificationMachineRunningForXHours;
    }

    void setId(const QString &value);
    void setLogin(const QString &value);
    void setName(const QString &value);
    void setEmail(const QString &value);
    void setPassword(const QString &value);
    void setUrl(const QString &value);
    void setRegistered(const QString &value);
    void setActivationKey(const QString &value);
    void setStatus(const QString &value);
    void setDisplayName(const QString &value);
    void setCredits(double value);
    void setLowCreditsThreshold(double value);
    void setHasOwnedCredits(int value);
    void setCountry(const QString &value);
    void setVat(double value);
    void setIsEuResident(bool value);
    void setValidVat(bool value);
    void setFirstName(const QString &value);
    void setLastName(const QString &value);
    void setPhoneNumber(const QString &value);
    void setCompanyName(const QString &value);
    void setCompanyAddress(const QString &value);
    void setVatNumber(const QString &value);
    void setMachineRunningForXHours(int value);
    void setNotificationCreditsPurchase(bool value);
    void setNotificationCreditsDepleted(bool value);
    void setNotificationLowCredits(bool value);
    void setNotificationMachineCreated(bool value);
    void setNotificationMachineStarted(bool value);
    void setNotificationMachineStopped(bool value);
    void setNotificationMachineReset(bool value);
    void setNotificationMachineDeleted(bool value);
    void setNotificationMachineRunningForXHours(bool value);

Q_SIGNALS:
    void idChanged();
    void loginChanged();
    void nameChanged();
    void emailChanged();
    void passwordChanged();
    void urlChanged();
    void registeredChanged();
    void activationKeyChanged();
    void statusChanged();
    void displayNameChanged();
    void creditsChanged();
    void lowCreditsThresholdChanged();
    void hasOwnedCreditsChanged();
    void countryChanged();
    void vatChanged();
    void isEuResidentChanged();
    void validVatChanged();
    void firstNameChanged();
    void lastNameChanged();
    void phoneNumberChanged();
    void companyNameChanged();
    void companyAddressChanged();
    void vatNumberChanged();
    void machineRunningForXHoursChanged();
    void notificationCreditsPurchaseChanged();
    void notificationCreditsDepletedChanged();
    void notificationLowCreditsChanged();
    void notificationMachineCreatedChanged();
    void notificationMachineStartedChanged();
    void notificationMachineStoppedChanged();
    void notificationMachineResetChanged();
    void notificationMachineDeletedChanged();
    void notificationMachineRunningForXHoursChanged();

private:
    // Sets the nine e-mail choices from an "email_notifications" value (all false when it is not an
    // object).
    void applyEmailNotifications(const QJsonValue &emailNotifications);
    void applyUserData(const QJsonObject &data, bool onlyPresent);

    QString m_id;
    QString m_login;
    QString m_name;
    QString m_email;
    QString m_password;
    QString m_url;
    QString m_registered;
    QString m_activationKey;
    QString m_status;
    QString m_displayName;
    double m_credits = 0;
    double m_lowCreditsThreshold = Utils::defaultLowCreditsThreshold;
    int m_hasOwnedCredits = 0;
    QString m_country = QStringLiteral("NA");
    double m_vat = 0;
    bool m_isEuResident = false;
    bool m_validVat = false;
    QString m_firstName;
    QString m_lastName;
    QString m_phoneNumber;
    QString m_companyName;
    QString m_companyAddress;
    QString m_vatNumber;
    int m_machineRunningForXHours = -1;
    bool m_notificationCreditsPurchase = false;
    bool m_notificationCreditsDepleted = false;
    bool m_notificationLowCredits = false;
    bool m_notificationMachineCreated = false;
    bool m_notificationMachineStarted = false;
    bool m_notificationMachineStopped = false;
    bool m_notificationMachineReset = false;
    bool m_notificationMachineDeleted = false;
    bool m_notificationMachineRunningForXHours = false;
};
