#include "demostate.h"

#include "seeddata.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>
#include <QUuid>

#include <algorithm>
#include <cstdio>

namespace demo {

namespace {

QByteArray hashPassword(const QByteArray &salt, const QString &password)
{
    // Iterated salted hash: good enough for an in-memory demo, and never the clear text.
    QByteArray digest = salt + password.toUtf8();
    for (int i = 0; i < 1000; ++i)
        digest = QCryptographicHash::hash(salt + digest, QCryptographicHash::Sha256);
    return digest;
}

QString randomToken(QRandomGenerator &rng, int length)
{
    static const char alphabet[] = "ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnpqrstuvwxyz23456789";
    QString token;
    for (int i = 0; i < length; ++i)
        token.append(QLatin1Char(alphabet[rng.bounded(int(sizeof(alphabet) - 1))]));
    return token;
}

} // namespace

DemoState::DemoState(const DemoConfig &config) : m_config(config), m_clock(config.timeScale)
{
    reset();
}

void DemoState::reset()
{
    m_rng.seed(m_config.seed);
    m_clock.restart();
    m_accounts.clear();
    m_machines.clear();
    m_payments.clear();
    m_logs.clear();
    m_outbox.clear();
    m_activationKeys.clear();
    m_resetCodes.clear();
    m_nextAccountId = 1;
    m_nextMachineId = 101;
    m_nextPaymentId = 5001;
    seed::populate(*this);
}

void DemoState::advance()
{
    const qint64 t = now();
    for (auto &[id, m] : m_machines) {
        const double cost = machines::advance(m, t);
        Account *account = accountById(m.accountId);
        if (account && cost > 0)
            account->credits = qMax(0.0, account->credits - cost);
    }
    for (auto &[id, account] : m_accounts) {
        if (account.credits <= 0)
            stopForNoCredits(account, t);
    }
    for (auto &[id, p] : m_payments) {
        if (p.invoiceStatus == QLatin1String("REQUESTED") && p.invoiceSentAt > 0 && p.invoiceSentAt <= t) {
            p.invoiceStatus = QStringLiteral("SENT");
            if (Account *account = accountById(p.accountId)) {
                sendEmail(account->email, QStringLiteral("Your invoice"),
                          QStringLiteral("Invoice for payment %1 (%2 %3) attached.")
                              .arg(p.id)
                              .arg(machines::money(p.amount, 2), p.currency));
            }
        }
    }
}

void DemoState::stopForNoCredits(Account &account, qint64 t)
{
    for (Machine *m : machinesOf(account.id)) {
        if (machines::isRunningFamily(m->status)) {
            machines::stop(*m, t, durations());
            addLog(account.id, m->id,
                   QStringLiteral("Machine \"%1\" stopped because the credits are depleted.").arg(m->name),
                   t);
        }
    }
}

Account &DemoState::addAccount(const QString &login, const QString &email, const QString &password)
{
    Account &a = m_accounts[m_nextAccountId];
    a.id = m_nextAccountId++;
    a.login = login;
    a.email = email;
    a.displayName = login;
    a.registeredSecs = now();
    a.emailNotifications = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    setPassword(a, password);
    return a;
}

Account *DemoState::accountByEmail(const QString &email)
{
    for (auto &[id, a] : m_accounts) {
        if (a.email.compare(email, Qt::CaseInsensitive) == 0)
            return &a;
    }
    return nullptr;
}

Account *DemoState::accountByLoginOrEmail(const QString &id)
{
    if (Account *a = accountByEmail(id))
        return a;
    for (auto &[key, a] : m_accounts) {
        if (a.login == id)
            return &a;
    }
    return nullptr;
}

Account *DemoState::accountById(int id)
{
    auto it = m_accounts.find(id);
    return it == m_accounts.end() ? nullptr : &it->second;
}

void DemoState::setPassword(Account &account, const QString &password)
{
    account.passwordSalt = QUuid::createUuid().toRfc4122();
    account.passwordHash = hashPassword(account.passwordSalt, password);
}

bool DemoState::checkPassword(const Account &account, const QString &password)
{
    return hashPassword(account.passwordSalt, password) == account.passwordHash;
}

QString DemoState::newActivationKey(Account &account)
{
    const QString key = randomToken(m_rng, 24);
    account.activationKey = key;
    m_activationKeys.insert(key, account.id);
    return key;
}

Account *DemoState::activate(const QString &key)
{
    const auto it = m_activationKeys.constFind(key);
    if (it == m_activationKeys.constEnd())
        return nullptr;
    Account *account = accountById(it.value());
    if (account)
        account->activated = true;
    return account;
}

QString DemoState::newResetCode(const Account &account)
{
    const QString code = randomToken(m_rng, 10);
    m_resetCodes.insert(code, ResetCode{account.id, now() + 3600});
    return code;
}

bool DemoState::resetCodeValid(const QString &code) const
{
    const auto it = m_resetCodes.constFind(code);
    return it != m_resetCodes.constEnd() && it->expiresSecs >= now();
}

Account *DemoState::takeResetCode(const QString &code)
{
    if (!resetCodeValid(code))
        return nullptr;
    const ResetCode reset = m_resetCodes.take(code);
    return accountById(reset.accountId);
}

Machine &DemoState::addMachine(int accountId)
{
    Machine &m = m_machines[m_nextMachineId];
    m.id = m_nextMachineId++;
    m.accountId = accountId;
    m.insertSecs = now();
    m.accruedTo = now();
    m.periodStartSecs = now();
    return m;
}

void DemoState::setMachinePassword(Machine &machine, const QString &password)
{
    const QByteArray salt = QUuid::createUuid().toRfc4122();
    machine.winPasswordHash = salt + hashPassword(salt, password);
    if (!m_config.rdpSamFile.isEmpty())
        writeSamEntry(machine.username, password);
}

void DemoState::writeSamEntry(const QString &user, const QString &password) const
{
    // One line per user, "user:::<NT hash>:::"; the NT hash is MD4 over the password in UTF-16LE.
    QByteArray utf16;
    for (const QChar c : password) {
        utf16.append(char(c.unicode() & 0xff));
        utf16.append(char(c.unicode() >> 8));
    }
    const QByteArray line =
        user.toUtf8() + ":::" + QCryptographicHash::hash(utf16, QCryptographicHash::Md4).toHex() + ":::";
    QByteArrayList kept;
    QFile file(m_config.rdpSamFile);
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray &existing : file.readAll().split('\n')) {
            if (!existing.trimmed().isEmpty() && !existing.startsWith(user.toUtf8() + ':'))
                kept << existing;
        }
        file.close();
    }
    kept << line;
    QSaveFile out(m_config.rdpSamFile);
    if (!out.open(QIODevice::WriteOnly) || out.write(kept.join('\n') + '\n') < 0 || !out.commit())
        std::fprintf(stderr, "Cannot write the SAM file %s\n", qPrintable(m_config.rdpSamFile));
}

Machine *DemoState::machine(int accountId, int machineId)
{
    auto it = m_machines.find(machineId);
    if (it == m_machines.end() || it->second.accountId != accountId)
        return nullptr;
    return &it->second;
}

QList<Machine *> DemoState::machinesOf(int accountId)
{
    QList<Machine *> result;
    for (auto &[id, m] : m_machines) {
        if (m.accountId == accountId)
            result.append(&m);
    }
    return result;
}

const Template *DemoState::templateById(int id) const
{
    for (const Template &t : m_templates) {
        if (t.id == id)
            return &t;
    }
    return nullptr;
}

Payment &DemoState::addPayment(int accountId, int id)
{
    if (id <= 0)
        id = m_nextPaymentId++;
    Payment &p = m_payments[id];
    p.id = id;
    p.accountId = accountId;
    p.dateSecs = now();
    p.token = randomToken(m_rng, 20);
    p.key = QStringLiteral("PAYID-") + randomToken(m_rng, 16).toUpper();
    return p;
}

Payment *DemoState::paymentByToken(const QString &token)
{
    for (auto &[id, p] : m_payments) {
        if (p.token == token)
            return &p;
    }
    return nullptr;
}

Payment *DemoState::payment(int accountId, int paymentId)
{
    auto it = m_payments.find(paymentId);
    if (it == m_payments.end() || it->second.accountId != accountId)
        return nullptr;
    return &it->second;
}

QList<Payment *> DemoState::paymentsOf(int accountId)
{
    QList<Payment *> result;
    for (auto &[id, p] : m_payments) {
        if (p.accountId == accountId)
            result.prepend(&p); // newest first
    }
    return result;
}

bool DemoState::completePayment(Payment &p)
{
    if (p.status != QLatin1String("Pending"))
        return false;
    p.status = QStringLiteral("Completed");
    p.invoiceStatus = QStringLiteral("NOT REQUESTED");
    if (Account *account = accountById(p.accountId)) {
        account->credits += p.credits;
        account->hasOwnedCredits = true;
        addLog(account->id, 0,
               QStringLiteral("Payment %1 completed: %2 credits added.")
                   .arg(p.id)
                   .arg(machines::money(p.credits, 2)));
        if (account->emailNotifications.contains(1))
            sendEmail(
                account->email, QStringLiteral("Payment completed"),
                QStringLiteral("%1 credits were added to your account.").arg(machines::money(p.credits, 2)));
    }
    return true;
}

void DemoState::addLog(int accountId, int machineId, const QString &details, qint64 secs)
{
    m_logs.append(LogEntry{secs < 0 ? now() : secs, accountId, machineId, details});
}

QList<const LogEntry *> DemoState::logsOf(int accountId, int machineId) const
{
    QList<const LogEntry *> result;
    for (const LogEntry &e : m_logs) {
        if (e.accountId == accountId && (machineId == 0 || e.machineId == machineId))
            result.append(&e);
    }
    std::stable_sort(result.begin(), result.end(),
                     [](const LogEntry *a, const LogEntry *b) { return a->secs > b->secs; });
    return result;
}

void DemoState::sendEmail(const QString &to, const QString &subject, const QString &body)
{
    m_outbox.append(Email{to, subject, body});
    if (m_config.printEmails) {
        QString line = QStringLiteral("EMAIL to %1: %2 - %3").arg(to, subject, body);
        line.replace(QLatin1Char('\n'), QLatin1Char(' '));
        std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stdout);
        std::fflush(stdout);
    }
}

} // namespace demo
