// The session's payments, account forms and log hosts: the controllers live in their own areas; the
// session creates them with its collaborators and turns a completed payment into its event notice.

#include "session/maincontext.h"

#include "session/sessionevent.h"

void MainContext::setUpPayments()
{
    m_payments = new PaymentsController(m_api, m_sessionShell.get(), m_host, m_user, this);
    connect(m_payments, &PaymentsController::userPaymentsChanged, this, &MainContext::userPaymentsChanged);
    connect(m_payments, &PaymentsController::romainianVatRateChanged, this,
            &MainContext::romainianVatRateChanged);
    connect(m_payments, &PaymentsController::paymentCompleted, this, [this] {
        raiseEvent(SessionEvent::CreditsPurchased, QString::fromUtf8(EventRules::kPaymentCompleted));
    });
    m_emailPreferences = new EmailPreferences(m_api, m_sessionShell.get(), m_user, this);
}

QList<UserPayment *> MainContext::userPayments() const
{
    return m_payments->userPayments();
}

double MainContext::romainianVatRate() const
{
    return m_payments->romainianVatRate();
}

void MainContext::listUserPayments()
{
    m_payments->listUserPayments();
}

void MainContext::requestInvoice(int paymentId)
{
    m_payments->requestInvoice(paymentId);
}

void MainContext::purchaseCredits(qint64 amount)
{
    m_payments->purchaseCredits(amount);
}

void MainContext::updateRomainianVatRate()
{
    m_payments->updateRomainianVatRate();
}

double MainContext::getVatModifiedAmount(double amount) const
{
    return m_payments->getVatModifiedAmount(amount);
}

LogsController *MainContext::createAccountLogs(QObject *view)
{
    return new LogsController(
        LogsController::Scope::Account, m_api, m_sessionShell.get(),
        [user = m_user] { return user ? user->email() : QString(); }, view);
}

LogsController *MainContext::createComputerLogs(QObject *view)
{
    return new LogsController(
        LogsController::Scope::Machine, m_api, m_sessionShell.get(),
        [user = m_user] { return user ? user->email() : QString(); }, view);
}

ProfileEditor *MainContext::createProfileEditor(QObject *view)
{
    return new ProfileEditor(m_api, m_sessionShell.get(), m_user, this, view);
}
