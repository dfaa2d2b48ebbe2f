// The operations on one computer: power, favourite, rename, Windows password reset, preview and the
// Remote Desktop connection. Each runs in the session it is given.
#include "computer/computer.h"

#include "api/apirequests.h"
#include "logging.h"
#include "session/jscallback.h"
#include "session/maincontext.h"
#include "utils/jsonread.h"
#include "utils/utils.h"

#include <QJsonObject>

namespace {

const char *const kUnknownRdpAddress = "Unkown RDP address for machine.";
const char *const kInvalidConnectionData = "Invalid connection data received from the service.";
const char *const kRdpNote =
    "Note: if you are unable to connect via RDP then please wait a few minuites for your computer to fully "
    "start up.";
const char *const kNoCachedPassword =
    "For security purposes, the password for this machine is stored locally in an encrypted format.\n"
    "We have not detected the password for this machine stored locally.\n\n"
    "Possible causes:\n"
    "- The machine you are trying to access was initially created on another PC and the password was cached "
    "on that PC, so it is not available on this one.\n"
    "- You have reinstalled the Vantorix app or cleaned your registry, and the cached password was deleted, "
    "so is no longer available for RDP autologin.\n\n"
    "Please update your password if you want to use the RDP autologin feature. If you don't update it, you "
    "can still login by manually entering the password in the RDP login prompt.";

bool usable(MainContext *mainContext)
{
    if (mainContext && mainContext->api())
        return true;
    qCWarning(lcCore) << "Computer operation without a session; ignored";
    return false;
}

} // namespace

void Computer::startUserVMInstance(MainContext *mainContext)
{
    runPowerOperation(PowerOperation::Start, mainContext);
}

void Computer::stopUserVMInstance(MainContext *mainContext)
{
    runPowerOperation(PowerOperation::Stop, mainContext);
}

void Computer::resetUserVMInstance(MainContext *mainContext)
{
    runPowerOperation(PowerOperation::Reset, mainContext);
}

void Computer::deleteUserVMInstance(MainContext *mainContext)
{
    runPowerOperation(PowerOperation::Delete, mainContext);
}

void Computer::runPowerOperation(PowerOperation operation, MainContext *mainContext)
{
    if (!usable(mainContext))
        return;
    if (operation == PowerOperation::Start) {
        setB64ScreenshotBuffer1(QString());
        setB64ScreenshotBuffer2(QString());
    }
    setStatusChanging(true);
    mainContext->stopRefreshTimer();

    QPointer<Computer> self(this);
    QPointer<MainContext> session(mainContext);
    // A list reply requested before this operation would overwrite the status it sets: wait for it.
    if (mainContext->loadingComputersInternal()) {
        mainContext->setTimeout(
            [self, session, operation] {
                if (self && session)
                    self->runPowerOperation(operation, session);
            },
            MainContext::kOperationRetryMs);
        return;
    }

    static const ApiRequests::PowerOperation kRequests[] = {
        ApiRequests::PowerOperation::Start, ApiRequests::PowerOperation::Stop,
        ApiRequests::PowerOperation::Reset, ApiRequests::PowerOperation::Delete};
    ApiHandlers handlers = mainContext->handlersFor(this);
    handlers.finished = [self, session] {
        if (self)
            self->setStatusChanging(false);
        if (session)
            session->restartRefreshTimer();
    };
    handlers.success = [this, session, operation](const ApiReply &reply) {
        applyPowerSuccess(operation, JsonRead::text(reply.value), session);
    };
    mainContext->api()->send(
        ApiRequests::powerOperation(kRequests[int(operation)], mainContext->userEmail(), m_data.identifier),
        handlers);
}

void Computer::applyPowerSuccess(PowerOperation operation, const QString &successText,
                                 MainContext *mainContext)
{
    static const SessionEvent kEvents[] = {SessionEvent::MachineStarted, SessionEvent::MachineStopped,
                                           SessionEvent::MachineReset, SessionEvent::MachineDeleted};
    static const Status kStatuses[] = {Provisioning, Stopping, Repairing, Deleted};
    if (mainContext)
        mainContext->raiseEvent(kEvents[int(operation)], successText);
    // Shown at once, ahead of the next list poll, which reports whatever the service then says.
    setStatus(kStatuses[int(operation)]);
}

void Computer::setFavouriteStatus(bool value, MainContext *mainContext)
{
    if (!usable(mainContext))
        return;
    setFavouriteStatusChanging(true);
    mainContext->stopRefreshTimer();

    QPointer<Computer> self(this);
    QPointer<MainContext> session(mainContext);
    if (mainContext->loadingComputersInternal()) {
        mainContext->setTimeout(
            [self, session, value] {
                if (self && session)
                    self->setFavouriteStatus(value, session);
            },
            MainContext::kOperationRetryMs);
        return;
    }

    ApiHandlers handlers = mainContext->handlersFor(this);
    handlers.finished = [self, session] {
        if (self)
            self->setFavouriteStatusChanging(false);
        if (session) {
            session->setTimeout(
                [session] {
                    if (session)
                        session->restartRefreshTimer();
                },
                MainContext::kFavouriteResumeMs);
        }
    };
    handlers.success = [this, value](const ApiReply &) { setIsFavourite(value); };
    mainContext->api()->send(
        ApiRequests::setFavouriteVmInstance(mainContext->userEmail(), m_data.identifier, value), handlers);
}

ApiHandlers Computer::beginDataChange(MainContext *mainContext)
{
    // A change of the record's own data: busy, and no poll may overwrite it until the answer is in.
    setVmDataChanging(true);
    mainContext->stopRefreshTimer();
    ApiHandlers handlers = mainContext->handlersFor(this);
    handlers.finished = [self = QPointer<Computer>(this), session = QPointer<MainContext>(mainContext)] {
        if (self)
            self->setVmDataChanging(false);
        if (session)
            session->restartRefreshTimer();
    };
    return handlers;
}

void Computer::editVMInstance(const QString &newUserInstanceName, MainContext *mainContext,
                              const QJSValue &successCb)
{
    rename(newUserInstanceName, mainContext, JsCallback::from(successCb));
}

void Computer::rename(const QString &newUserInstanceName, MainContext *mainContext,
                      std::function<void()> successCb)
{
    if (!usable(mainContext))
        return;
    const ValidationResult check = Utils::validateComputerName(newUserInstanceName);
    if (!check.valid) {
        mainContext->notify(check.message, Shell::Level::Error);
        return;
    }
    ApiHandlers handlers = beginDataChange(mainContext);
    handlers.success = [this, newUserInstanceName, successCb](const ApiReply &) {
        setUserInstanceName(newUserInstanceName);
        if (successCb)
            successCb();
    };
    mainContext->api()->send(
        ApiRequests::editUserVmInstance(mainContext->userEmail(), m_data.identifier, newUserInstanceName),
        handlers);
}

void Computer::resetPassword(const QString &newPassword, MainContext *mainContext, const QJSValue &successCb)
{
    resetWindowsPassword(newPassword, mainContext, JsCallback::from(successCb));
}

void Computer::resetWindowsPassword(const QString &newPassword, MainContext *mainContext,
                                    std::function<void()> successCb)
{
    if (!usable(mainContext))
        return;
    const ValidationResult check = Utils::validateComputerPassword(newPassword);
    if (!check.valid) {
        mainContext->notify(check.message, Shell::Level::Error);
        return;
    }
    QPointer<MainContext> session(mainContext);
    ApiHandlers handlers = beginDataChange(mainContext);
    handlers.success = [session, successCb](const ApiReply &reply) {
        const QString text = JsonRead::text(reply.value);
        if (session && !text.trimmed().isEmpty())
            session->notify(text, Shell::Level::Info);
        if (successCb)
            successCb();
    };
    mainContext->api()->send(
        ApiRequests::resetWinPassword(mainContext->userEmail(), m_data.identifier, newPassword), handlers);
}

void Computer::updateScreenshot(MainContext *mainContext)
{
    if (!usable(mainContext))
        return;
    QPointer<MainContext> session(mainContext);
    ApiHandlers handlers = mainContext->handlersFor(this);
    // A preview that cannot be fetched (a desktop whose picture is over the size limit, a service that
    // does not answer) would fail again at every tick: logged once until a preview arrives again.
    handlers.ownFailureLog = true;
    handlers.networkFailure = [this](const QString &error) {
        if (m_previewFailureLogged)
            return;
        m_previewFailureLogged = true;
        qCWarning(lcCore).noquote() << "The preview of computer" << m_data.identifier
                                    << "could not be fetched:" << error
                                    << "(not logged again until a preview arrives)";
    };
    handlers.success = [this, session](const ApiReply &reply) {
        m_previewFailureLogged = false;
        const QJsonValue image = reply.reply.toObject().value(QLatin1String("b64_screenshot"));
        if (!image.isString()) {
            qCWarning(lcCore).noquote() << "Preview reply without an image:" << reply.reply;
            if (session)
                session->notify(QString::fromUtf8(ApiTexts::kUnexpectedError), Shell::Level::Error);
            return;
        }
        // The new image goes to the hidden buffer, which then becomes the shown one.
        if (m_screenShotUseBuffer1) {
            setB64ScreenshotBuffer2(image.toString());
            setScreenShotUseBuffer1(false);
        } else {
            setB64ScreenshotBuffer1(image.toString());
            setScreenShotUseBuffer1(true);
        }
    };
    mainContext->api()->send(ApiRequests::getVmScreenshot(mainContext->userEmail(), m_data.identifier),
                             handlers);
}

void Computer::connectViaRDP(MainContext *mainContext)
{
    if (!mainContext)
        return;
    const QString stored = mainContext->encryptedPasswordFor(m_data.identifier);
    if (m_data.rdpPublicAddress.isEmpty()) {
        mainContext->notify(QString::fromUtf8(kUnknownRdpAddress), Shell::Level::Error);
        return;
    }
    if (!hasSafeConnectionData()) {
        // A line break in either value would add settings of the service's choosing to the connection
        // file (drive redirection, an alternate shell): nothing is written and no client is started.
        qCWarning(lcCore) << "Computer" << m_data.identifier
                          << ": refusing to connect, the address or user name holds a control character";
        mainContext->notify(QString::fromUtf8(kInvalidConnectionData), Shell::Level::Error);
        return;
    }
    QPointer<MainContext> session(mainContext);
    QPointer<Computer> self(this);
    const QStringList display = mainContext->connection()->display().fileLines();
    if (!stored.isEmpty()) {
        if (mainContext->showVMConnectionWarningNotification()) {
            mainContext->confirm(QStringLiteral("Opening RDP"), QString::fromUtf8(kRdpNote),
                                 QStringLiteral("Don't show again"), QStringLiteral("Ok"),
                                 [session] {
                                     if (session)
                                         session->setShowVMConnectionWarningNotification(false);
                                 },
                                 {});
        }
        // The note does not hold up the connection.
        mainContext->openRdp(rdpFileContents(stored, display), m_data.userInstanceName);
        return;
    }
    const QString withoutPassword = rdpFileContents(QString(), display);
    const QString name = m_data.userInstanceName;
    mainContext->confirm(
        QStringLiteral("Autologin unavailable - No RDP Password Cached"),
        QString::fromUtf8(kNoCachedPassword), QStringLiteral("Skip password update"),
        QStringLiteral("Update Password"),
        [session, withoutPassword, name] {
            if (session)
                session->openRdp(withoutPassword, name);
        },
        [session, self] {
            if (session && self)
                Q_EMIT session->resetCachedPassword(self);
        });
}
