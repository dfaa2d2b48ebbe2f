#pragma once

#include <QObject>

#include <QtQml/qqmlregistration.h>
#include <functional>

class ApiClient;
class HostServices;
class MainContext;
class QQmlEngine;
class QJSEngine;
class QSettings;
class Shell;
class User;

// How the window creates a session per sign-in without knowing the process-wide services.
//
// Start-up (main.cpp) registers the services once:
//     SessionFactory::setServices(&apiClient, &uiShell, &bridge, &settings);
// An ApiClient or Shell left null falls back to the one registered with UiServices. QML then calls
//     var session = SessionFactory.create(user, parentItem)
// and destroys the session (or its parent) when `signedOutRequested` or `resetPasswordRequested` fires.
class SessionFactory : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    explicit SessionFactory(QObject *parent = nullptr);
    static SessionFactory *create(QQmlEngine *engine, QJSEngine *scriptEngine);

    // None is owned; each must outlive every session created afterwards. Any may be null.
    static void setServices(ApiClient *api, Shell *shell, const HostServices *host, QSettings *settings);
    // Told of every session created from then on (the tray follows the signed-in session); a session's
    // end is its `destroyed` signal. An empty function stops it.
    static void setSessionObserver(std::function<void(MainContext *)> observer);

    // A new session for the signed-in user, owned by `parent` (by the JavaScript engine when null).
    // Null when no user is given.
    Q_INVOKABLE MainContext *create(User *user, QObject *parent = nullptr);
};
