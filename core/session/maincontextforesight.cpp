// Foresight on top of the polls: how long the balance lasts, the guard that warns before it runs out, and
// the answers to the running-time reminder's system notification (stop now, or remind again later).
#include "session/maincontext.h"

#include "hostservices.h"
#include "logging.h"
#include "session/creditforecast.h"
#include "session/sessionevent.h"

namespace {

const QString kBuyCreditsAction = QStringLiteral("buy-credits");
const QString kStopAction = QStringLiteral("stop");
const QString kKeepRunningAction = QStringLiteral("keep-running");
// The account view's payments tab.
constexpr int kPaymentHistoryPage = 1;

} // namespace

QString MainContext::hoursLeftText() const
{
    return CreditForecast::hoursLeftText(m_hoursLeft);
}

void MainContext::updateCreditForecast()
{
    std::optional<double> hours;
    if (m_anyRunning && m_user)
        hours = CreditForecast::hoursLeft(m_user->credits(), m_currentBurnRate);
    if (hours != m_hoursLeft) {
        m_hoursLeft = hours;
        Q_EMIT creditForecastChanged();
    }
    Q_EMIT overviewChanged();
    const CreditForecast::GuardStep step =
        CreditForecast::guardStep(m_creditGuardArmed, m_hoursLeft, creditGuardHours());
    m_creditGuardArmed = step.armed;
    if (!step.fire)
        return;
    qCInfo(lcCore) << "Credit guard: about" << *m_hoursLeft << "hours left";
    raiseEvent(SessionEvent::CreditGuard, CreditForecast::guardText(*m_hoursLeft, m_currentBurnRate),
               {{kBuyCreditsAction, QStringLiteral("Buy credits")}},
               [self = QPointer<MainContext>(this)](const QString &key) {
                   if (self && (key == kBuyCreditsAction || key == QLatin1String(kNotificationClicked)))
                       self->showPayments();
               });
}

void MainContext::showPayments()
{
    setMyAccountPageIndex(kPaymentHistoryPage);
    setPageIndex(Account);
    if (m_host)
        m_host->raiseWindow();
}

void MainContext::showComputer(qint64 identifier)
{
    setPageIndex(Computers);
    if (m_host)
        m_host->raiseWindow();
    Q_EMIT computerRevealRequested(identifier);
}

void MainContext::raiseRunningReminder(Computer *computer, const QString &name, int runningHours,
                                       int snoozeHours)
{
    const qint64 id = computer->identifier();
    const int hours = snoozeHours;
    raiseEvent(SessionEvent::RunningForXHours, EventRules::runningForHoursText(name, runningHours),
               {{kStopAction, QStringLiteral("Stop")}, {kKeepRunningAction, QStringLiteral("Keep running")}},
               [self = QPointer<MainContext>(this), id, hours](const QString &key) {
                   if (!self)
                       return;
                   if (key == kStopAction)
                       self->stopFromReminder(id);
                   else if (key == kKeepRunningAction)
                       self->snoozeReminder(id, hours);
                   else
                       self->showComputer(id);
               });
}

void MainContext::stopFromReminder(qint64 identifier)
{
    Computer *computer = computerById(identifier);
    if (!computer || m_signingOut) {
        qCInfo(lcCore) << "The reminder's Stop came for a computer no longer listed:" << identifier;
        return;
    }
    // The notification asked; the outcome is told like a card's Stop.
    computer->stopUserVMInstance(this);
}

void MainContext::snoozeReminder(qint64 identifier, int hours)
{
    const Computer *computer = computerById(identifier);
    if (!computer || hours <= 0)
        return;
    m_reminderDueMinutes.insert(identifier, computer->sessionRunTime() + hours * 60.0);
}

bool MainContext::takeSnoozedReminder(qint64 identifier, double previousMinutes, double newMinutes)
{
    const auto due = m_reminderDueMinutes.constFind(identifier);
    if (due == m_reminderDueMinutes.cend())
        return false;
    if (newMinutes < previousMinutes) {
        m_reminderDueMinutes.erase(due);
        return false;
    }
    if (!EventRules::snoozedReminderDue(previousMinutes, newMinutes, *due))
        return false;
    m_reminderDueMinutes.erase(due);
    return true;
}
