#include "session/maincontext.h"

#include "hostservices.h"
#include "logging.h"

#include <QJSEngine>
#include <QSettings>

namespace {

Shell::Level levelFrom(int level)
{
    switch (level) {
    case int(Shell::Level::Warning):
        return Shell::Level::Warning;
    case int(Shell::Level::Error):
        return Shell::Level::Error;
    default:
        return Shell::Level::Info;
    }
}

// Wraps a QML function as a C++ callback; an empty or non-callable value gives an empty callback.
std::function<void()> callbackFrom(const QJSValue &function)
{
    if (!function.isCallable())
        return {};
    return [function]() mutable {
        const QJSValue result = function.call();
        if (result.isError())
            qCWarning(lcCore) << "Callback failed:" << result.toString();
    };
}

} // namespace

MainContext::MainContext(ApiClient *api, Shell *shell, const HostServices *host, User *user,
                         QSettings *settings, QObject *parent)
    : SessionPreferences(settings, parent), m_api(api), m_shell(shell), m_host(host), m_user(user),
      m_now(QDateTime::currentDateTime()), m_favouriteModel(new MachineListModel(this)),
      m_standardModel(new MachineListModel(this)), m_topBannerDark(new Banner(Banner::Top, this)),
      m_topBannerLight(new Banner(Banner::Top, this)), m_leftBannerDark(new Banner(Banner::Left, this)),
      m_leftBannerLight(new Banner(Banner::Left, this)), m_refreshTimer(new QTimer(this)),
      m_bannerTimer(new QTimer(this)), m_nowTimer(new QTimer(this))
{
    m_connection = new ConnectionPreferences(settings, this);
    if (m_api)
        connect(m_api, &ApiClient::sessionUnauthorized, this, &MainContext::signOut);
    if (m_user)
        connect(m_user, &User::creditsChanged, this, &MainContext::onUserCreditsChanged);
    if (m_shell)
        m_sessionShell =
            std::make_unique<SessionShell>(m_shell, [this] { return disableAllNotifications(); });
    setUpPayments();

    // Everything the derived lists read, besides the records themselves.
    const auto derivedInputs = {
        &SessionPreferences::filterStatusPendingProvisioningChanged,
        &SessionPreferences::filterStatusProvisioningChanged,
        &SessionPreferences::filterStatusStagingChanged,
        &SessionPreferences::filterStatusRunningChanged,
        &SessionPreferences::filterStatusStoppingChanged,
        &SessionPreferences::filterStatusSuspendingChanged,
        &SessionPreferences::filterStatusSuspendedChanged,
        &SessionPreferences::filterStatusRepairingChanged,
        &SessionPreferences::filterStatusTerminatedChanged,
        &SessionPreferences::filterStatusDeletedChanged,
        &SessionPreferences::filterPlatformWindowsChanged,
        &SessionPreferences::filterPlatformLinuxChanged,
        &SessionPreferences::filterPlatformMacChanged,
        &SessionPreferences::filterUserInstanceNameChanged,
        &SessionPreferences::computerOrderChanged,
    };
    for (auto signal : derivedInputs)
        connect(this, signal, this, &MainContext::scheduleDerivedLists);
    connect(this, &MainContext::selectedComputersChanged, this, &MainContext::scheduleDerivedLists);
    connect(this, &MainContext::computersChanged, this, &MainContext::scheduleDerivedLists);
    connect(this, &SessionPreferences::creditGuardHoursChanged, this, &MainContext::updateCreditForecast);

    m_refreshTimer->setInterval(refreshIntervalMs());
    connect(this, &SessionPreferences::refreshRateChanged, this,
            [this] { m_refreshTimer->setInterval(refreshIntervalMs()); });
    connect(m_refreshTimer, &QTimer::timeout, this, [this] {
        if (!m_updatingUserData)
            updateUserData();
        if (!m_loadingComputersInternal)
            listUserVMInstances();
    });
    m_refreshTimer->start();

    m_bannerTimer->setInterval(kBannerRefreshMs);
    connect(m_bannerTimer, &QTimer::timeout, this, &MainContext::getBannerInfo);
    m_bannerTimer->start();

    m_nowTimer->setInterval(1000);
    connect(m_nowTimer, &QTimer::timeout, this, [this] {
        m_now = QDateTime::currentDateTime();
        Q_EMIT nowChanged();
    });
    m_nowTimer->start();

    recomputeDerivedLists();
    getBannerInfo();
}

MainContext::~MainContext() = default;

QString MainContext::userEmail() const
{
    return m_user ? m_user->email() : QString();
}

ApiHandlers MainContext::handlersFor(QObject *context)
{
    ApiHandlers handlers;
    handlers.context = context;
    handlers.notify = [self = QPointer<MainContext>(this)](const QString &message, Shell::Level level) {
        if (self)
            self->notify(message, level);
    };
    return handlers;
}

void MainContext::stopRefreshTimer()
{
    m_refreshTimer->stop();
}

void MainContext::restartRefreshTimer()
{
    if (m_signingOut)
        return;
    m_refreshTimer->start();
}

void MainContext::raiseEvent(SessionEvent event, const QString &text,
                             const QList<NotificationAction> &actions, const NotificationResponse &onResponse)
{
    if (text.trimmed().isEmpty()) {
        // A success value that was not text ({"success": true}): there is nothing to tell the user.
        qCInfo(lcCore) << "An event without text is not announced:" << int(event);
        return;
    }
    if (appSwitch(event)) {
        const Shell::Level level =
            event == SessionEvent::LowCredits || event == SessionEvent::CreditGuard ? Shell::Level::Warning
            : event == SessionEvent::CreditsDepleted                                ? Shell::Level::Error
                                                                                    : Shell::Level::Info;
        notify(text, level);
    }
    if (!systemSwitch(event) || !m_host)
        return;
    if (onResponse)
        m_host->systemNotification(text, actions, onResponse);
    else
        m_host->systemNotification(text);
}

void MainContext::notification(const QString &message, int level, const QVariant &parentItem, int alignment,
                               int lifespan)
{
    Q_UNUSED(parentItem)
    Q_UNUSED(alignment)
    if (disableAllNotifications() || !m_shell)
        return;
    m_shell->notify(message, levelFrom(level), lifespan);
}

void MainContext::notify(const QString &message, Shell::Level level)
{
    notification(message, int(level));
}

void MainContext::confirm(const QString &title, const QString &message, const QString &okText,
                          const QString &cancelText, const QJSValue &callback, const QJSValue &cancelCallback)
{
    confirm(title, message, okText, cancelText, callbackFrom(callback), callbackFrom(cancelCallback));
}

void MainContext::confirm(const QString &title, const QString &message, const QString &okText,
                          const QString &cancelText, std::function<void()> accepted,
                          std::function<void()> cancelled)
{
    if (!m_shell)
        return;
    // The popup may be answered after the session has gone; the callbacks then do nothing.
    auto guard = [self = QPointer<MainContext>(this)](std::function<void()> fn) -> std::function<void()> {
        if (!fn)
            return {};
        return [self, fn] {
            if (self)
                fn();
        };
    };
    m_shell->confirm(title, message, okText, cancelText, guard(std::move(accepted)),
                     guard(std::move(cancelled)));
}

void MainContext::setTimeout(const QJSValue &callback, int delayMilliseconds)
{
    setTimeout(callbackFrom(callback), delayMilliseconds);
}

void MainContext::setTimeout(std::function<void()> callback, int delayMilliseconds)
{
    if (!callback)
        return;
    auto guarded = [self = QPointer<MainContext>(this), callback = std::move(callback)] {
        if (self)
            callback();
    };
    if (m_shell)
        m_shell->setTimeout(std::move(guarded), delayMilliseconds);
    else
        QTimer::singleShot(delayMilliseconds, this, std::move(guarded));
}

void MainContext::signOut()
{
    startSignOut(false);
}

void MainContext::resetPassword()
{
    startSignOut(true);
}

void MainContext::startSignOut(bool toPasswordReset)
{
    // A second request (a 401 from another reply in flight) changes nothing: the first one finishes.
    if (m_signingOut)
        return;
    m_signingOut = true;
    m_refreshTimer->stop();
    if (QSettings *store = settings()) {
        store->setValue(QStringLiteral("loginPassword"), QString());
        store->sync();
    }
    Q_EMIT signingOut();
    if (m_host)
        m_host->clearAccessCacheAndCookies();
    setTimeout(
        [this, toPasswordReset] {
            if (toPasswordReset)
                Q_EMIT resetPasswordRequested();
            else
                Q_EMIT signedOutRequested();
        },
        kSignOutDelayMs);
}

void MainContext::setPageIndex(int value)
{
    if (m_pageIndex == value)
        return;
    m_pageIndex = value;
    Q_EMIT pageIndexChanged();
}

void MainContext::setMyAccountPageIndex(int value)
{
    if (m_myAccountPageIndex == value)
        return;
    m_myAccountPageIndex = value;
    Q_EMIT myAccountPageIndexChanged();
}

void MainContext::setConfirmationPopupsEnabled(bool value)
{
    if (m_confirmationPopupsEnabled == value)
        return;
    m_confirmationPopupsEnabled = value;
    Q_EMIT confirmationPopupsEnabledChanged();
}

void MainContext::setUpdatingUserData(bool value)
{
    if (m_updatingUserData == value)
        return;
    m_updatingUserData = value;
    Q_EMIT updatingUserDataChanged();
}

void MainContext::setSelectedComputers(const QList<qint64> &value)
{
    if (m_selectedComputers == value)
        return;
    m_selectedComputers = value;
    Q_EMIT selectedComputersChanged();
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

void MainContext::setLoadingFlags(bool internal, bool visible)
{
    if (m_loadingComputersInternal != internal) {
        m_loadingComputersInternal = internal;
        Q_EMIT loadingComputersInternalChanged();
    }
    if (m_loadingComputers != visible) {
        m_loadingComputers = visible;
        Q_EMIT loadingComputersChanged();
    }
}
