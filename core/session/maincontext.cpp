// The session object's construction and wiring, its collaborators, sign-out and its own page and flag
// properties. The window's services are forwarded in maincontextshell.cpp, the timers run in
// maincontexttimers.cpp.
#include "session/maincontext.h"

#include "hostservices.h"

#include <QSettings>

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

    startTimers();

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
