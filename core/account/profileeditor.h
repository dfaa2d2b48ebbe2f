#pragma once

#include <QJsonValue>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QtQml/qqmlregistration.h>

class ApiClient;
class Shell;
class User;
struct ProfileData;

// The profile form of the account page: its values, the VAT number rules and the saving of the profile
// ("update_user_data"). The fields show the user's values and follow them (the session's polling may
// change them) until the user edits them.
//
// Saves are queued on a repeating 100 ms timer and go out on the first tick at which the session's
// `updatingUserData` flag is false; the save sets that flag while it runs (so the session's own user-data
// poll waits) and clears it on every completion path, even when the form is gone by then. A visible save
// shows the cover and its success text; a silent save (after the VAT number lost its validation) shows
// only errors.
class ProfileEditor : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("ProfileEditor is provided by the session")
    Q_PROPERTY(QString firstName READ firstName WRITE setFirstName NOTIFY formChanged)
    Q_PROPERTY(QString lastName READ lastName WRITE setLastName NOTIFY formChanged)
    Q_PROPERTY(QString vatNumber READ vatNumber WRITE editVatNumber NOTIFY formChanged)
    Q_PROPERTY(QString companyName READ companyName WRITE setCompanyName NOTIFY formChanged)
    Q_PROPERTY(QString companyAddress READ companyAddress WRITE setCompanyAddress NOTIFY formChanged)
    Q_PROPERTY(QString phone READ phone WRITE setPhone NOTIFY formChanged)
    Q_PROPERTY(QString selectedCountry READ selectedCountry WRITE selectCountry NOTIFY formChanged)
    Q_PROPERTY(bool euResident READ euResident WRITE setEuResident NOTIFY formChanged)
    Q_PROPERTY(bool vatValidated READ vatValidated NOTIFY vatValidatedChanged)
    // The VAT field is valid unless the EU box is checked and the number is not validated.
    Q_PROPERTY(bool vatFieldValid READ vatFieldValid NOTIFY vatStateChanged)
    Q_PROPERTY(QString vatMessage READ vatMessage NOTIFY vatStateChanged)
    Q_PROPERTY(QString validateButtonText READ validateButtonText NOTIFY vatStateChanged)
    Q_PROPERTY(bool validateButtonEnabled READ validateButtonEnabled NOTIFY vatStateChanged)
    Q_PROPERTY(bool validatingVat READ validatingVat NOTIFY validatingVatChanged)
    // A visible save is in flight (the form's cover).
    Q_PROPERTY(bool updatingUserData READ updatingUserData NOTIFY updatingUserDataChanged)
    Q_PROPERTY(bool canUpdate READ canUpdate NOTIFY vatStateChanged)
    // The country names the country box offers; a validated VAT number's country is taken only when it
    // is one of them (any country while the list is empty).
    Q_PROPERTY(QStringList availableCountries READ availableCountries WRITE setAvailableCountries NOTIFY
                   availableCountriesChanged)

public:
    static constexpr int kSaveQueueIntervalMs = 100;

    // `session` carries the bool property "updatingUserData" (read and written through the meta-object)
    // and may go away before a save's answer; `api`, `shell` and `user` are not owned (`shell` may be
    // null).
    ProfileEditor(ApiClient *api, Shell *shell, User *user, QObject *session, QObject *parent = nullptr);

    [[nodiscard]] QString firstName() const { return m_firstName; }
    [[nodiscard]] QString lastName() const { return m_lastName; }
    [[nodiscard]] QString vatNumber() const { return m_vatNumber; }
    [[nodiscard]] QString companyName() const { return m_companyName; }
    [[nodiscard]] QString companyAddress() const { return m_companyAddress; }
    [[nodiscard]] QString phone() const { return m_phone; }
    [[nodiscard]] QString selectedCountry() const { return m_country; }
    [[nodiscard]] bool euResident() const { return m_euResident; }
    [[nodiscard]] bool vatValidated() const { return m_vatValidated; }
    [[nodiscard]] bool vatFieldValid() const { return !(m_euResident && !m_vatValidated); }
    [[nodiscard]] QString vatMessage() const;
    [[nodiscard]] QString validateButtonText() const;
    [[nodiscard]] bool validateButtonEnabled() const;
    [[nodiscard]] bool validatingVat() const { return m_validatingVat; }
    [[nodiscard]] bool updatingUserData() const { return m_updatingUserData; }
    [[nodiscard]] bool canUpdate() const { return !m_updatingUserData && vatFieldValid(); }
    [[nodiscard]] QStringList availableCountries() const { return m_countries; }
    [[nodiscard]] bool savePending() const { return m_saveTimer.isActive(); }
    // The VAT number as it is sent: upper-cased and trimmed.
    [[nodiscard]] QString normalizedVatNumber() const { return m_vatNumber.trimmed().toUpper(); }
    // What a save sends now.
    [[nodiscard]] ProfileData formData() const;

    // User edits.
    void setFirstName(const QString &value);
    void setLastName(const QString &value);
    void setCompanyName(const QString &value);
    void setCompanyAddress(const QString &value);
    void setPhone(const QString &value);
    void setEuResident(bool value);
    // An edit of the VAT number: the number is no longer validated.
    void editVatNumber(const QString &value);
    // The user picks a country: a validated VAT number of the old country is emptied.
    void selectCountry(const QString &name);
    void setAvailableCountries(const QStringList &countries);

    // The form shows the user's values again (edits are dropped).
    Q_INVOKABLE void resetFromUser();
    // "Update Changes": a visible save.
    Q_INVOKABLE void save() { requestSave(false); }
    // Queues a save (the latest request decides whether it is silent).
    Q_INVOKABLE void requestSave(bool silent);
    // "Validate": asks first, then checks the VAT number with the service ("get_vat_info").
    Q_INVOKABLE void validateVat();
    // Applies the answer of a VAT check of `checkedNumber`: `false` when the answer was not JSON, else the
    // reply object. An answer for a number other than the form's is ignored.
    void applyVatInfo(const QJsonValue &result, const QString &checkedNumber);

Q_SIGNALS:
    void formChanged();
    void vatValidatedChanged();
    void vatStateChanged();
    void validatingVatChanged();
    void updatingUserDataChanged();
    void availableCountriesChanged();

private:
    enum Field { FirstName, LastName, VatNumber, CompanyName, CompanyAddress, Phone, Country, EuResident };

    void setText(Field field, QString &member, const QString &value, bool byUser);
    void setVatValidated(bool validated);
    void followUser(Field field);
    void onSaveTick();
    void send(bool silent);
    [[nodiscard]] bool sessionBusy() const;
    void setSessionBusy(bool busy) const;
    void setUpdating(bool updating);
    void notify(const QString &message, int level);

    ApiClient *m_api;
    Shell *m_shell;
    QPointer<User> m_user;
    QPointer<QObject> m_session;
    QTimer m_saveTimer;
    bool m_silent = false;
    QSet<int> m_edited;

    QString m_firstName;
    QString m_lastName;
    QString m_vatNumber;
    QString m_companyName;
    QString m_companyAddress;
    QString m_phone;
    QString m_country;
    bool m_euResident = false;
    bool m_vatValidated = false;
    bool m_validatingVat = false;
    bool m_updatingUserData = false;
    QStringList m_countries;
};
