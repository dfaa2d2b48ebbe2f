// The account side of the session: the user-data poll with its credit notices, the credits monitor and
// the banner refresh.
#include "session/maincontext.h"

#include "api/apirequests.h"
#include "logging.h"
#include "session/sessionevent.h"
#include "utils/jsonread.h"

#include <QJsonArray>
#include <QJsonObject>

void MainContext::updateUserData()
{
    if (!m_api || !m_user)
        return;
    setUpdatingUserData(true);
    ApiHandlers handlers = handlersFor(this);
    handlers.mode = ApiPolicy::Mode::Polling;
    handlers.finished = [self = QPointer<MainContext>(this)] {
        if (self)
            self->setUpdatingUserData(false);
    };
    handlers.success = [this](const ApiReply &reply) {
        if (!reply.value.isObject()) {
            qCWarning(lcCore) << "user_data is not an object; ignored";
            return;
        }
        applyUserData(reply.value.toObject());
    };
    m_api->send(ApiRequests::getUserData(userEmail()), handlers);
}

void MainContext::applyUserData(const QJsonObject &userData)
{
    if (!m_user)
        return;
    // The credit notices weigh the new balance against the threshold and history the user has now,
    // before this reply's values are applied.
    if (const auto credits = User::creditsIn(userData)) {
        const auto notice =
            EventRules::creditNotice(*credits, m_user->lowCreditsThreshold(), m_user->hasOwnedCredits() != 0,
                                     m_lowCreditsNotificationShown, m_creditsDepletedNotificationShown);
        if (notice == EventRules::CreditNotice::Low) {
            m_lowCreditsNotificationShown = true;
            Q_EMIT lowCreditsNotificationShownChanged();
            raiseEvent(SessionEvent::LowCredits, QString::fromUtf8(EventRules::kLowCredits));
        } else if (notice == EventRules::CreditNotice::Depleted) {
            m_creditsDepletedNotificationShown = true;
            Q_EMIT creditsDepletedNotificationShownChanged();
            raiseEvent(SessionEvent::CreditsDepleted, QString::fromUtf8(EventRules::kCreditsDepleted));
        }
    }
    // Credits first (the credits monitor reacts to the change), then the other fields in order.
    m_user->updateFromUserData(userData);
}

void MainContext::onUserCreditsChanged()
{
    if (!m_user)
        return;
    const double credits = m_user->credits();
    if (EventRules::creditsFellBelowMonitorLimit(m_oldCredits, credits))
        notify(QString::fromUtf8(EventRules::kCreditsMonitor), Shell::Level::Warning);
    if (m_oldCredits != credits) {
        m_oldCredits = credits;
        Q_EMIT oldCreditsChanged();
    }
    updateCreditForecast();
}

void MainContext::getBannerInfo()
{
    if (!m_api)
        return;
    ApiHandlers handlers = handlersFor(this);
    handlers.success = [this](const ApiReply &reply) { applyBanners(reply.value); };
    m_api->send(ApiRequests::getBanners(userEmail()), handlers);
}

void MainContext::applyBanners(const QJsonValue &banners)
{
    if (!banners.isArray()) {
        qCWarning(lcCore) << "banners is not a list; ignored";
        return;
    }
    for (const QJsonValue &value : banners.toArray()) {
        if (!value.isObject()) {
            qCWarning(lcCore) << "Skipping a banner entry that is not an object";
            continue;
        }
        const QJsonObject banner = value.toObject();
        const QString position = JsonRead::text(banner.value(QLatin1String("position")));
        const bool top = position.contains(QLatin1String("top"));
        const bool dark = position.contains(QLatin1String("dark"));
        Banner *slot =
            top ? (dark ? m_topBannerDark : m_topBannerLight) : (dark ? m_leftBannerDark : m_leftBannerLight);
        slot->setLink(JsonRead::text(banner.value(QLatin1String("link"))));
        slot->setSource(JsonRead::text(banner.value(QLatin1String("image"))));
    }
}
