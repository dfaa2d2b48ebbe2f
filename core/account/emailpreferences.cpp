#include "emailpreferences.h"

#include "api/apiclient.h"
#include "api/apirequests.h"
#include "logging.h"
#include "records/user.h"
#include "shell.h"

namespace {
constexpr int kFirst = User::CreditsPurchase;
constexpr int kLast = User::MachineRunningForXHours;
} // namespace

EmailPreferences::EmailPreferences(ApiClient *api, Shell *shell, User *user, QObject *parent)
    : QObject(parent), m_api(api), m_shell(shell), m_user(user)
{
    if (!user)
        return;
    for (auto signal : {&User::notificationCreditsPurchaseChanged, &User::notificationCreditsDepletedChanged,
                        &User::notificationLowCreditsChanged, &User::notificationMachineCreatedChanged,
                        &User::notificationMachineStartedChanged, &User::notificationMachineStoppedChanged,
                        &User::notificationMachineResetChanged, &User::notificationMachineDeletedChanged,
                        &User::notificationMachineRunningForXHoursChanged})
        connect(user, signal, this, &EmailPreferences::emailChoicesChanged);
}

bool EmailPreferences::anyEmailOn() const
{
    if (!m_user)
        return false;
    for (int n = kFirst; n <= kLast; ++n) {
        if (m_user->emailNotification(n))
            return true;
    }
    return false;
}

QList<int> EmailPreferences::numbersAfterToggle(const User &user, int number)
{
    QList<int> on;
    for (int n = kFirst; n <= kLast; ++n) {
        const bool enabled = user.emailNotification(n);
        if (n == number ? !enabled : enabled)
            on.append(n);
    }
    return on;
}

bool EmailPreferences::isValidHoursText(const QString &text)
{
    if (text.isEmpty() || text.size() > 2)
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    const int hours = text.toInt();
    return hours >= kMinHours && hours <= kMaxHours;
}

void EmailPreferences::setUpdatingEmail(bool updating)
{
    if (updating == m_updatingEmail)
        return;
    m_updatingEmail = updating;
    Q_EMIT updatingEmailSettingsChanged();
}

void EmailPreferences::setUpdatingHours(bool updating)
{
    if (updating == m_updatingHours)
        return;
    m_updatingHours = updating;
    Q_EMIT updatingUserDataChanged();
}

void EmailPreferences::notify(const QString &message, int level)
{
    if (m_shell)
        m_shell->notify(message, Shell::Level(level));
    else
        qCInfo(lcCore).noquote() << "preferences notice:" << message;
}

void EmailPreferences::sendEmailChoices(const ApiRequest &request, std::function<void()> applied)
{
    setUpdatingEmail(true);
    ApiHandlers h;
    h.context = this;
    h.notifyThrough(m_shell);
    h.finished = [guard = QPointer<EmailPreferences>(this)] {
        if (guard)
            guard->setUpdatingEmail(false);
    };
    h.networkFailure = [](const QString &error) {
        qCWarning(lcCore).noquote() << "preferences: the e-mail choices got no answer:" << error;
    };
    h.success = [applied = std::move(applied)](const ApiReply &) { applied(); };
    m_api->send(request, h);
}

bool EmailPreferences::toggleEmail(int number)
{
    if (m_updatingEmail || !m_api || !m_user || number < kFirst || number > kLast)
        return false;
    const QList<int> on = numbersAfterToggle(*m_user, number);
    // The value asked for, not a flip at the answer: a user-data poll may have brought it in between.
    const bool requested = on.contains(number);
    sendEmailChoices(ApiRequests::updateEmailNotifications(m_user->email(), on), [this, number, requested] {
        if (m_user)
            m_user->setEmailNotification(number, requested);
    });
    return true;
}

bool EmailPreferences::setAllEmail(bool on)
{
    if (m_updatingEmail || !m_api || !m_user)
        return false;
    sendEmailChoices(ApiRequests::setAllEmailNotifications(m_user->email(), on), [this, on] {
        if (m_user) {
            for (int n = kFirst; n <= kLast; ++n)
                m_user->setEmailNotification(n, on);
        }
        notify(on ? QStringLiteral("Enabled all email notifications")
                  : QStringLiteral("Disabled all email notifications"),
               int(Shell::Level::Info));
    });
    return true;
}

bool EmailPreferences::submitRunningHours(const QString &text)
{
    if (m_updatingHours || !m_api || !m_user || !isValidHoursText(text))
        return false;
    const int hours = text.toInt();
    setUpdatingHours(true);
    ApiHandlers h;
    h.context = this;
    h.notifyThrough(m_shell);
    h.finished = [guard = QPointer<EmailPreferences>(this)] {
        if (guard)
            guard->setUpdatingHours(false);
    };
    h.networkFailure = [](const QString &error) {
        qCWarning(lcCore).noquote() << "preferences: the running-time threshold got no answer:" << error;
    };
    h.success = [this, hours](const ApiReply &reply) {
        if (reply.value.isString())
            notify(reply.value.toString(), int(Shell::Level::Info));
        if (m_user)
            m_user->setMachineRunningForXHours(hours);
    };
    m_api->send(ApiRequests::updateRunningThreshold(m_user->email(), text), h);
    return true;
}
