#include "session/sessionfactory.h"

#include "logging.h"
#include "session/maincontext.h"
#include "ui/uiservices.h"

#include <QQmlEngine>

namespace {

struct Services {
    ApiClient *api = nullptr;
    Shell *shell = nullptr;
    const HostServices *host = nullptr;
    QSettings *settings = nullptr;
    std::function<void(MainContext *)> observer;
};

Services &services()
{
    static Services s;
    return s;
}

} // namespace

SessionFactory::SessionFactory(QObject *parent) : QObject(parent)
{
}

SessionFactory *SessionFactory::create(QQmlEngine *engine, QJSEngine *scriptEngine)
{
    Q_UNUSED(scriptEngine)
    return new SessionFactory(engine);
}

void SessionFactory::setServices(ApiClient *api, Shell *shell, const HostServices *host, QSettings *settings)
{
    Services &s = services();
    s.api = api;
    s.shell = shell;
    s.host = host;
    s.settings = settings;
}

void SessionFactory::setSessionObserver(std::function<void(MainContext *)> observer)
{
    services().observer = std::move(observer);
}

MainContext *SessionFactory::create(User *user, QObject *parent)
{
    if (!user) {
        qCWarning(lcCore) << "A session needs a signed-in user";
        return nullptr;
    }
    const Services &s = services();
    ApiClient *api = s.api ? s.api : UiServices::apiClient();
    Shell *shell = s.shell ? s.shell : UiServices::shell();
    auto *session = new MainContext(api, shell, s.host, user, s.settings, parent);
    if (parent)
        QQmlEngine::setObjectOwnership(session, QQmlEngine::CppOwnership);
    if (s.observer)
        s.observer(session);
    return session;
}
