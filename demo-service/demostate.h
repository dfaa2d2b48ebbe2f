#pragma once

#include "democonfig.h"
#include "machines.h"
#include "records.h"
#include "simclock.h"

#include <QHash>
#include <QJsonArray>
#include <QRandomGenerator>

#include <map>

namespace demo {

// Everything the service knows, in memory: accounts, computers, payments, logs and the outbox.
// Time-dependent state is brought up to date by advance() before each request is served.
class DemoState {
public:
    explicit DemoState(const DemoConfig &config);

    [[nodiscard]] const DemoConfig &config() const { return m_config; }
    // The address a computer gets: the configured real server's, or the made-up one given.
    [[nodiscard]] QString rdpAddressOr(const QString &madeUp) const
    {
        return m_config.rdpAddress.isEmpty() ? madeUp : m_config.rdpAddress;
    }
    [[nodiscard]] qint64 now() const { return m_clock.nowSecs(); }
    [[nodiscard]] SimClock &clock() { return m_clock; }
    [[nodiscard]] QRandomGenerator &rng() { return m_rng; }
    [[nodiscard]] machines::Durations durations() { return machines::Durations::draw(m_rng); }

    // Drops everything and builds the seed data again (same seed, same data).
    void reset();
    // Accrues costs, burns credits, runs lifecycle steps and moves invoice statuses up to now.
    void advance();

    // Accounts
    Account &addAccount(const QString &login, const QString &email, const QString &password);
    [[nodiscard]] Account *accountByEmail(const QString &email);
    [[nodiscard]] Account *accountByLoginOrEmail(const QString &id);
    [[nodiscard]] Account *accountById(int id);
    void setPassword(Account &account, const QString &password);
    [[nodiscard]] static bool checkPassword(const Account &account, const QString &password);
    [[nodiscard]] QString newActivationKey(Account &account);
    [[nodiscard]] Account *activate(const QString &key);
    [[nodiscard]] QString newResetCode(const Account &account);
    // Consumes a reset code; returns the account it belongs to, or nullptr when unknown or expired.
    [[nodiscard]] Account *takeResetCode(const QString &code);
    [[nodiscard]] bool resetCodeValid(const QString &code) const;

    // Computers
    Machine &addMachine(int accountId);
    // Also the real Remote Desktop server's password for the computer's user, when there is one.
    void setMachinePassword(Machine &machine, const QString &password);
    [[nodiscard]] Machine *machine(int accountId, int machineId);
    [[nodiscard]] QList<Machine *> machinesOf(int accountId);
    [[nodiscard]] const QList<Template> &templates() const { return m_templates; }
    [[nodiscard]] const Template *templateById(int id) const;
    void setTemplates(const QList<Template> &templates) { m_templates = templates; }

    // Payments
    // `id` 0 takes the next free identifier.
    Payment &addPayment(int accountId, int id = 0);
    [[nodiscard]] Payment *paymentByToken(const QString &token);
    [[nodiscard]] Payment *payment(int accountId, int paymentId);
    [[nodiscard]] QList<Payment *> paymentsOf(int accountId);
    // Marks a pending payment completed and credits the account. False when it was not pending.
    bool completePayment(Payment &payment);

    // Logs, newest first; machineId 0 gives the whole account log.
    void addLog(int accountId, int machineId, const QString &details, qint64 secs = -1);
    [[nodiscard]] QList<const LogEntry *> logsOf(int accountId, int machineId) const;

    // Outbox of the service's e-mails.
    void sendEmail(const QString &to, const QString &subject, const QString &body);
    [[nodiscard]] const QList<Email> &outbox() const { return m_outbox; }

private:
    void stopForNoCredits(Account &account, qint64 now);
    void writeSamEntry(const QString &user, const QString &password) const;

    DemoConfig m_config;
    SimClock m_clock;
    QRandomGenerator m_rng;
    std::map<int, Account> m_accounts;
    std::map<int, Machine> m_machines;
    std::map<int, Payment> m_payments;
    QList<LogEntry> m_logs;
    QList<Email> m_outbox;
    QList<Template> m_templates;
    QHash<QString, int> m_activationKeys;
    QHash<QString, ResetCode> m_resetCodes;
    int m_nextAccountId = 1;
    int m_nextMachineId = 1;
    int m_nextPaymentId = 1;
};

} // namespace demo
