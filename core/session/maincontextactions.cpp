// Operations the views ask the session for: bulk power operations, creating a computer, the template
// list, the Remote Desktop hand-off and the stored Remote Desktop passwords.
#include "session/maincontext.h"

#include "api/apirequests.h"
#include "hostservices.h"
#include "logging.h"
#include "session/jscallback.h"
#include "session/sessionevent.h"
#include "utils/jsonread.h"
#include "utils/utils.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

using Operation = void (Computer::*)(MainContext *);

Operation operationNamed(const QString &name)
{
    if (name == QLatin1String("startUserVMInstance"))
        return &Computer::startUserVMInstance;
    if (name == QLatin1String("stopUserVMInstance"))
        return &Computer::stopUserVMInstance;
    if (name == QLatin1String("resetUserVMInstance"))
        return &Computer::resetUserVMInstance;
    if (name == QLatin1String("deleteUserVMInstance"))
        return &Computer::deleteUserVMInstance;
    return nullptr;
}

} // namespace

void MainContext::startInstances(const QVariantList &computers)
{
    startInstances(computersFrom(computers));
}

void MainContext::stopInstances(const QVariantList &computers)
{
    stopInstances(computersFrom(computers));
}

void MainContext::resetInstances(const QVariantList &computers)
{
    resetInstances(computersFrom(computers));
}

void MainContext::deleteInstances(const QVariantList &computers)
{
    deleteInstances(computersFrom(computers));
}

void MainContext::performInstancesAction(const QVariantList &computers, const QString &verb,
                                         const QString &operationName, bool forceConfirmationPopup)
{
    performInstancesAction(computersFrom(computers), verb, operationName, forceConfirmationPopup);
}

void MainContext::startInstances(const QList<Computer *> &computers)
{
    performInstancesAction(computers, QStringLiteral("start"), QStringLiteral("startUserVMInstance"));
}

void MainContext::stopInstances(const QList<Computer *> &computers)
{
    performInstancesAction(computers, QStringLiteral("stop"), QStringLiteral("stopUserVMInstance"));
}

void MainContext::resetInstances(const QList<Computer *> &computers)
{
    performInstancesAction(computers, QStringLiteral("reboot"), QStringLiteral("resetUserVMInstance"));
}

void MainContext::deleteInstances(const QList<Computer *> &computers)
{
    // The deletion dialog has already had the account password re-entered.
    for (Computer *c : computers) {
        if (c)
            c->deleteUserVMInstance(this);
    }
}

void MainContext::performInstancesAction(const QList<Computer *> &computers, const QString &verb,
                                         const QString &operationName, bool forceConfirmationPopup)
{
    if (computers.isEmpty())
        return;
    const Operation operation = operationNamed(operationName);
    if (!operation) {
        qCWarning(lcCore) << "Unknown computer operation" << operationName;
        return;
    }
    QList<QPointer<Computer>> targets;
    for (Computer *c : computers)
        targets.append(c);
    auto run = [this, targets, operation] {
        for (const QPointer<Computer> &c : targets) {
            if (c)
                (c.data()->*operation)(this);
        }
    };
    if (!(m_confirmationPopupsEnabled || forceConfirmationPopup)) {
        run();
        return;
    }
    const QString capitalised = verb.isEmpty() ? verb : verb.at(0).toUpper() + verb.mid(1);
    const QString subject = computers.size() > 1
                                ? QString::number(computers.size()) + QStringLiteral(" computers?")
                                : computers.first()->userInstanceName() + QLatin1Char('?');
    confirm(capitalised + QLatin1Char(' ') + subject,
            QStringLiteral("Are you sure you want to ") + verb + QLatin1Char(' ') + subject, capitalised,
            QStringLiteral("Cancel"), run, {});
}

void MainContext::insertVMInstance(const QString &computerName, int templateIdentifier,
                                   const QString &computerUsername, const QString &computerPassword)
{
    const ValidationResult check = Utils::validateComputerName(computerName);
    if (!check.valid) {
        notify(check.message, Shell::Level::Error);
        return;
    }
    if (!m_api)
        return;
    notify(QStringLiteral("Starting Machine"), Shell::Level::Info);
    ApiHandlers handlers = handlersFor(this);
    handlers.success = [this, computerName, computerPassword](const ApiReply &reply) {
        const qint64 id = JsonRead::integer64(reply.value, -1);
        const QString encrypted = m_host ? m_host->encrypt(computerPassword) : QString();
        if (id < 0)
            qCWarning(lcCore) << "Created computer has no usable vm_id; its password is not stored";
        else if (encrypted.isEmpty())
            qCWarning(lcCore) << "The new computer's password could not be protected; it is not stored";
        else
            storeEncryptedPassword(id, encrypted);
        raiseEvent(SessionEvent::MachineCreated, EventRules::createdMachineText(computerName));
    };
    // The service may still create the computer after the time limit, and a second request would make a
    // duplicate: say that the outcome is unknown and look at the list at once instead.
    handlers.timedOut = [this, computerName](const QString &error) {
        qCWarning(lcCore).noquote() << "insert_vm_instance:" << error << "; the outcome is unknown";
        notify(QStringLiteral("No answer from the service about \"%1\": it may still be created. Check the "
                              "list before you try again.")
                   .arg(computerName),
               Shell::Level::Warning);
        listUserVMInstances();
    };
    m_api->send(ApiRequests::insertVmInstance(userEmail(), computerName, templateIdentifier, computerUsername,
                                              computerPassword),
                handlers);
}

void MainContext::getAvailableVmTemplateList()
{
    if (!m_api)
        return;
    ApiHandlers handlers = handlersFor(this);
    handlers.success = [this](const ApiReply &reply) {
        setComputerTemplates(ComputerTemplate::listFromJson(JsonRead::entries(reply.value), this));
    };
    m_api->send(ApiRequests::listAvailableVmTemplates(userEmail()), handlers);
}

void MainContext::setComputerTemplates(const QList<ComputerTemplate *> &value)
{
    if (m_computerTemplates == value)
        return;
    const QList<ComputerTemplate *> old = m_computerTemplates;
    m_computerTemplates = value;
    Q_EMIT computerTemplatesChanged();
    // Records of an earlier load are dropped once nothing lists them.
    for (ComputerTemplate *t : old) {
        if (!m_computerTemplates.contains(t) && t->parent() == this)
            t->deleteLater();
    }
}

ComputerTemplate *MainContext::getComputerTemplateByIdentifier(int identifier) const
{
    for (ComputerTemplate *t : m_computerTemplates) {
        if (t->identifier() == identifier)
            return t;
    }
    return nullptr;
}

void MainContext::openRdp(const QString &rdpFileContents, const QString &computerName)
{
    notify(QStringLiteral("Opening external RDP session."), Shell::Level::Info);
    if (!m_host) {
        qCWarning(lcCore) << "No host services: Remote Desktop cannot be started";
        return;
    }
    QPointer<MainContext> self(this);
    const auto failed = [self, computerName](const QString &reason) {
        const QString message = computerName.isEmpty()
                                    ? QStringLiteral("Could not connect: %1").arg(reason)
                                    : QStringLiteral("Could not connect to %1: %2").arg(computerName, reason);
        qCWarning(lcCore) << message;
        if (self)
            self->notify(message, Shell::Level::Error);
    };
    const unsigned int exitCode = m_host->openRdpWatched(rdpFileContents, failed);
    qCInfo(lcCore) << "MSTSC exit code:" << exitCode;
}

void MainContext::storeEncryptedPassword(qint64 identifier, const QString &encryptedPassword)
{
    QVariantMap passwords = computerEncryptedPasswords();
    passwords.insert(QString::number(identifier), encryptedPassword);
    setComputerEncryptedPasswords(passwords);
}

QString MainContext::encryptedPasswordFor(qint64 identifier) const
{
    const QVariant stored = computerEncryptedPasswords().value(QString::number(identifier));
    return stored.typeId() == QMetaType::QString ? stored.toString() : QString();
}

void MainContext::selectComputer(qint64 identifier, bool shiftModifier)
{
    QList<qint64> selection = m_selectedComputers;
    const bool selected = selection.contains(identifier);
    if (shiftModifier) {
        if (selected)
            selection.removeAll(identifier);
        else
            selection.append(identifier);
    } else {
        selection = selected ? QList<qint64>() : QList<qint64>{identifier};
    }
    setSelectedComputers(selection);
}

bool MainContext::deleteWithAccountPassword(const QVariantList &computers, const QString &accountPassword)
{
    if (!m_user || accountPassword != m_user->password()) {
        notify(QStringLiteral("Invalid password. Cancelling deletion request."), Shell::Level::Error);
        return false;
    }
    deleteInstances(computers);
    return true;
}

bool MainContext::updateStoredPassword(Computer *computer, const QString &password)
{
    if (!computer)
        return false;
    const QString encrypted = m_host ? m_host->encrypt(password) : QString();
    if (encrypted.isEmpty()) {
        // An empty entry would read as "no stored password" anyway; say so instead of pretending.
        qCWarning(lcCore) << "The computer's password could not be protected; it is not stored";
        notify(QStringLiteral("The password could not be stored securely."), Shell::Level::Error);
        return false;
    }
    storeEncryptedPassword(computer->identifier(), encrypted);
    return true;
}

bool MainContext::resetComputerPasswordTo(Computer *computer, const QString &newPassword,
                                          const QJSValue &successCb)
{
    if (!computer)
        return false;
    const QString username = computer->username().toLower();
    // A computer without a user name has nothing the password could contain.
    if (!username.isEmpty() && newPassword.toLower().contains(username)) {
        notify(QStringLiteral("Machine password can not contain the machines username."),
               Shell::Level::Error);
        return false;
    }
    QPointer<MainContext> session(this);
    QPointer<Computer> target(computer);
    const std::function<void()> done = JsCallback::from(successCb);
    computer->resetWindowsPassword(newPassword, this, [session, target, newPassword, done] {
        if (session && target)
            session->updateStoredPassword(target, newPassword);
        if (done)
            done();
    });
    return true;
}
