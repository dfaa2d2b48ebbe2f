// The session's timers: the polling of the user data and the computer list, the banner refresh and the
// clock the views read as `now`.
#include "session/maincontext.h"

void MainContext::startTimers()
{
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
