#include "profileeditor.h"

#include "api/apiclient.h"
#include "api/apirequests.h"
#include "logging.h"
#include "records/user.h"
#include "shell.h"
#include "utils/jsonread.h"

#include <QJsonObject>

namespace {
const char *const kSessionFlag = "updatingUserData";
} // namespace

ProfileEditor::ProfileEditor(ApiClient *api, Shell *shell, User *user, QObject *session, QObject *parent)
    : QObject(parent), m_api(api), m_shell(shell), m_user(user), m_session(session)
{
    m_saveTimer.setInterval(kSaveQueueIntervalMs);
    connect(&m_saveTimer, &QTimer::timeout, this, &ProfileEditor::onSaveTick);
    if (user) {
        m_vatValidated = user->validVat();
        connect(user, &User::firstNameChanged, this, [this] { followUser(FirstName); });
        connect(user, &User::lastNameChanged, this, [this] { followUser(LastName); });
        connect(user, &User::vatNumberChanged, this, [this] { followUser(VatNumber); });
        connect(user, &User::companyNameChanged, this, [this] { followUser(CompanyName); });
        connect(user, &User::companyAddressChanged, this, [this] { followUser(CompanyAddress); });
        connect(user, &User::phoneNumberChanged, this, [this] { followUser(Phone); });
        connect(user, &User::countryChanged, this, [this] { followUser(Country); });
        connect(user, &User::isEuResidentChanged, this, [this] { followUser(EuResident); });
        connect(user, &User::vatNumberChanged, this, &ProfileEditor::vatStateChanged);
    }
    resetFromUser();
}

QString ProfileEditor::vatMessage() const
{
    return vatFieldValid() ? QString()
                           : QStringLiteral("Vat number must be validated for EU company VAT exemption.");
}

QString ProfileEditor::validateButtonText() const
{
    return m_vatValidated ? QStringLiteral("Valid ✓") : QStringLiteral("Validate");
}

bool ProfileEditor::validateButtonEnabled() const
{
    const QString stored = m_user ? m_user->vatNumber() : QString();
    return !m_validatingVat && (normalizedVatNumber() != stored || !m_vatValidated);
}

ProfileData ProfileEditor::formData() const
{
    ProfileData d;
    d.firstName = m_firstName;
    d.lastName = m_lastName;
    d.euResident = m_euResident;
    d.vatNumber = normalizedVatNumber();
    d.validVat = m_vatValidated;
    d.userCountry = m_country;
    d.phone = m_phone;
    d.companyName = m_companyName;
    d.companyAddress = m_companyAddress;
    return d;
}

void ProfileEditor::setText(Field field, QString &member, const QString &value, bool byUser)
{
    if (byUser)
        m_edited.insert(field);
    if (member == value)
        return;
    member = value;
    Q_EMIT formChanged();
    if (field == VatNumber)
        Q_EMIT vatStateChanged();
}

void ProfileEditor::setFirstName(const QString &value)
{
    setText(FirstName, m_firstName, value, true);
}

void ProfileEditor::setLastName(const QString &value)
{
    setText(LastName, m_lastName, value, true);
}

void ProfileEditor::setCompanyName(const QString &value)
{
    setText(CompanyName, m_companyName, value, true);
}

void ProfileEditor::setCompanyAddress(const QString &value)
{
    setText(CompanyAddress, m_companyAddress, value, true);
}

void ProfileEditor::setPhone(const QString &value)
{
    setText(Phone, m_phone, value, true);
}

void ProfileEditor::setEuResident(bool value)
{
    m_edited.insert(EuResident);
    if (value == m_euResident)
        return;
    m_euResident = value;
    Q_EMIT formChanged();
    Q_EMIT vatStateChanged();
}

void ProfileEditor::editVatNumber(const QString &value)
{
    setText(VatNumber, m_vatNumber, value, true);
    setVatValidated(false);
}

void ProfileEditor::selectCountry(const QString &name)
{
    setText(Country, m_country, name, true);
    if (m_vatValidated && !m_vatNumber.isEmpty()) {
        setText(VatNumber, m_vatNumber, QString(), true);
        setVatValidated(false);
        notify(QStringLiteral("VAT number reset due to country change."), int(Shell::Level::Error));
    }
}

void ProfileEditor::setAvailableCountries(const QStringList &countries)
{
    if (countries == m_countries)
        return;
    m_countries = countries;
    Q_EMIT availableCountriesChanged();
}

void ProfileEditor::setVatValidated(bool validated)
{
    if (validated == m_vatValidated)
        return;
    m_vatValidated = validated;
    Q_EMIT vatValidatedChanged();
    Q_EMIT vatStateChanged();
    if (!validated) {
        // An unvalidated number cannot claim the EU exemption; the service learns it at once.
        setEuResident(false);
        requestSave(true);
    }
}

void ProfileEditor::followUser(Field field)
{
    if (!m_user || m_edited.contains(field))
        return;
    switch (field) {
    case FirstName:
        setText(field, m_firstName, m_user->firstName(), false);
        break;
    case LastName:
        setText(field, m_lastName, m_user->lastName(), false);
        break;
    case VatNumber:
        setText(field, m_vatNumber, m_user->vatNumber(), false);
        break;
    case CompanyName:
        setText(field, m_companyName, m_user->companyName(), false);
        break;
    case CompanyAddress:
        setText(field, m_companyAddress, m_user->companyAddress(), false);
        break;
    case Phone:
        setText(field, m_phone, m_user->phoneNumber(), false);
        break;
    case Country:
        setText(field, m_country, m_user->country(), false);
        break;
    case EuResident:
        if (m_euResident != m_user->isEuResident()) {
            m_euResident = m_user->isEuResident();
            Q_EMIT formChanged();
            Q_EMIT vatStateChanged();
        }
        break;
    }
}

void ProfileEditor::resetFromUser()
{
    m_edited.clear();
    for (Field f : {FirstName, LastName, VatNumber, CompanyName, CompanyAddress, Phone, Country, EuResident})
        followUser(f);
}

void ProfileEditor::requestSave(bool silent)
{
    m_silent = silent;
    m_saveTimer.start(); // restarts a running queue
}

bool ProfileEditor::sessionBusy() const
{
    return m_session && m_session->property(kSessionFlag).toBool();
}

void ProfileEditor::setSessionBusy(bool busy) const
{
    if (m_session)
        m_session->setProperty(kSessionFlag, busy);
}

void ProfileEditor::onSaveTick()
{
    if (sessionBusy())
        return; // a user-data refresh (or another save) is in flight: try again on the next tick
    m_saveTimer.stop();
    send(m_silent);
}

void ProfileEditor::setUpdating(bool updating)
{
    if (updating == m_updatingUserData)
        return;
    m_updatingUserData = updating;
    Q_EMIT updatingUserDataChanged();
    Q_EMIT vatStateChanged(); // canUpdate
}

void ProfileEditor::send(bool silent)
{
    const QString email = m_user ? m_user->email() : QString();
    if (!m_api || email.isEmpty()) {
        qCWarning(lcCore) << "profile: no service client or no signed-in user; nothing saved";
        return;
    }
    const ProfileData sent = formData();
    setSessionBusy(true);
    if (!silent)
        setUpdating(true);

    ApiHandlers h;
    // The save belongs to the session, not to this form: its outcome (an error above all) still reaches
    // the window and the user record when the user has left the page before the answer came.
    h.context = m_session;
    h.notifyThrough(m_shell);
    // The session's flag must come down even when the form has gone in the meantime.
    h.finished = [session = m_session, guard = QPointer<ProfileEditor>(this)] {
        if (session)
            session->setProperty(kSessionFlag, false);
        if (guard)
            guard->setUpdating(false);
    };
    h.networkFailure = [](const QString &error) {
        qCWarning(lcCore).noquote() << "profile: the save got no answer:" << error;
    };
    h.success = [guard = QPointer<ProfileEditor>(this), shell = m_shell, user = m_user, silent,
                 sent](const ApiReply &reply) {
        if (!silent && reply.value.isString() && shell)
            shell->notify(reply.value.toString(), Shell::Level::Info);
        if (user) {
            user->setFirstName(sent.firstName);
            user->setLastName(sent.lastName);
            user->setVatNumber(sent.vatNumber);
            user->setValidVat(sent.validVat);
            user->setIsEuResident(sent.euResident);
            user->setCountry(sent.userCountry);
            user->setPhoneNumber(sent.phone);
            user->setCompanyName(sent.companyName);
            user->setCompanyAddress(sent.companyAddress);
        }
        if (!guard)
            return;
        // The country follows the user's again; other edits made meanwhile stay.
        guard->m_edited.remove(Country);
        guard->followUser(Country);
    };
    m_api->send(ApiRequests::updateUserProfile(email, sent), h);
}

void ProfileEditor::validateVat()
{
    if (!m_shell || m_validatingVat)
        return;
    m_shell->confirm(QStringLiteral("Validate"),
                     QStringLiteral("If validation succeeds the company address and country will be replaced "
                                    "with the validated ones."),
                     QStringLiteral("Ok"), QStringLiteral("Cancel"),
                     [guard = QPointer<ProfileEditor>(this)] {
                         if (!guard || !guard->m_api || guard->m_validatingVat)
                             return;
                         ProfileEditor *self = guard;
                         self->m_validatingVat = true;
                         Q_EMIT self->validatingVatChanged();
                         Q_EMIT self->vatStateChanged();
                         ApiHandlers h;
                         h.context = self;
                         h.notifyThrough(self->m_shell);
                         h.finished = [guard] {
                             if (!guard)
                                 return;
                             guard->m_validatingVat = false;
                             Q_EMIT guard->validatingVatChanged();
                             Q_EMIT guard->vatStateChanged();
                         };
                         const QString checked = self->normalizedVatNumber();
                         h.success = [self, checked](const ApiReply &reply) {
                             self->applyVatInfo(reply.value, checked);
                         };
                         self->m_api->send(ApiRequests::getVatInfo(checked), h);
                     },
                     {});
}

void ProfileEditor::applyVatInfo(const QJsonValue &result, const QString &checkedNumber)
{
    if (checkedNumber != normalizedVatNumber()) {
        // The field was edited while the check ran: the answer is about a number the form no longer
        // holds, and must never validate the new one.
        qCInfo(lcCore) << "profile: a VAT check answer for a number no longer in the form is ignored";
        return;
    }
    const QJsonObject info = result.toObject();
    const QString serviceError = JsonRead::text(info.value(QStringLiteral("error_message")));
    // Only an answer that names the company counts as a validated number; an error object does not.
    const bool valid =
        result.isObject() && serviceError.isEmpty() &&
        (info.contains(QStringLiteral("company_name")) || info.contains(QStringLiteral("company_address")));
    if (!valid) {
        if (m_vatValidated)
            setVatValidated(false);
        notify(serviceError.isEmpty() ? QStringLiteral("Invalid EU VAT number") : serviceError,
               int(Shell::Level::Error));
        return;
    }
    setCompanyName(JsonRead::text(info.value(QStringLiteral("company_name"))));
    setCompanyAddress(JsonRead::text(info.value(QStringLiteral("company_address"))));
    const QString country = JsonRead::text(info.value(QStringLiteral("country_name")));
    if (!country.isEmpty() && (m_countries.isEmpty() || m_countries.contains(country)))
        setText(Country, m_country, country, true);
    setVatValidated(true);
    requestSave(false);
}

void ProfileEditor::notify(const QString &message, int level)
{
    if (m_shell)
        m_shell->notify(message, Shell::Level(level));
    else
        qCInfo(lcCore).noquote() << "profile notice:" << message;
}
