#pragma once

#include "hostservices.h"
#include "ui/secretprotector.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <memory>

class ApiClient;
class LocalCommandServer;
class UiShell;
namespace demo {
class DemoServer;
}

// A reversible stand-in for the bridge's data protection: clearly not the clear text, and text that it
// did not make cannot be unprotected.
class FakeProtector : public SecretProtector {
public:
    [[nodiscard]] QString protect(const QString &secret) const override;
    [[nodiscard]] QString unprotect(const QString &protectedText) const override;
};

// Stands in for the bridge ("context") and records what the views asked of it.
class FakeContext : public QObject {
    Q_OBJECT
    Q_PROPERTY(QStringList openedUrls MEMBER openedUrls NOTIFY changed)
    Q_PROPERTY(QStringList systemNotifications MEMBER systemNotifications NOTIFY changed)
    Q_PROPERTY(int raised MEMBER raised NOTIFY changed)
    // The application settings as the bridge keeps them: the values in effect since start (`current...`,
    // set by tests) and the values stored for the next start.
    Q_PROPERTY(bool autoStartup MEMBER autoStartup NOTIFY changed)
    Q_PROPERTY(double currentScalingFactor MEMBER currentScalingFactor NOTIFY changed)
    Q_PROPERTY(double storedScalingFactor MEMBER storedScalingFactor NOTIFY changed)
    Q_PROPERTY(QString currentTheme MEMBER currentTheme NOTIFY changed)
    Q_PROPERTY(QString storedTheme MEMBER storedTheme NOTIFY changed)
    Q_PROPERTY(QString currentRendering MEMBER currentRendering NOTIFY changed)
    Q_PROPERTY(QString storedRendering MEMBER storedRendering NOTIFY changed)
    Q_PROPERTY(QVariantList scalingFactorsStored MEMBER scalingFactorsStored NOTIFY changed)
    Q_PROPERTY(int restarts MEMBER restarts NOTIFY changed)

public:
    using QObject::QObject;
    Q_INVOKABLE void openUrl(const QUrl &url) { record(openedUrls, url.toString()); }
    Q_INVOKABLE void systemNotification(const QString &message) { record(systemNotifications, message); }
    Q_INVOKABLE void raiseWindow() { set(raised, raised + 1); }
    Q_INVOKABLE void quit() {}
    Q_INVOKABLE void reset();
    Q_INVOKABLE bool isAutoStartupEnabled() const { return autoStartup; }
    Q_INVOKABLE void setIsAutoStartupEnabled(bool enabled) { set(autoStartup, enabled); }
    Q_INVOKABLE float getCurrentScalingFactor() const { return float(currentScalingFactor); }
    Q_INVOKABLE void setScalingFactor(float factor);
    Q_INVOKABLE QString getMaterialTheme() const { return currentTheme; }
    Q_INVOKABLE void setMaterialTheme(const QString &theme) { set(storedTheme, theme); }
    Q_INVOKABLE QString getRendering() const { return currentRendering; }
    Q_INVOKABLE void setRendering(const QString &mode) { set(storedRendering, mode); }
    Q_INVOKABLE void restartApplication() { set(restarts, restarts + 1); }

    QStringList openedUrls;
    QStringList systemNotifications;
    int raised = 0;
    bool autoStartup = false;
    double currentScalingFactor = 1.0;
    double storedScalingFactor = 1.0;
    QString currentTheme = QStringLiteral("Light");
    QString storedTheme = QStringLiteral("Light");
    QString currentRendering = QStringLiteral("Automatic");
    QString storedRendering = QStringLiteral("Automatic");
    QVariantList scalingFactorsStored;
    int restarts = 0;

Q_SIGNALS:
    void changed();

private:
    template <typename T> void set(T &field, const T &value)
    {
        field = value;
        Q_EMIT changed();
    }
    template <typename T> void record(QList<T> &list, const T &value)
    {
        list.append(value);
        Q_EMIT changed();
    }
};

// The bridge's operating-system effects as the session reaches them: records what it was asked.
class FakeHost : public QObject, public HostServices {
    Q_OBJECT
    Q_PROPERTY(int rdpLaunches READ rdpLaunches NOTIFY changed)
    Q_PROPERTY(QString lastRdpFile READ lastRdpFile NOTIFY changed)
    Q_PROPERTY(int cacheClears READ cacheClears NOTIFY changed)

public:
    FakeHost(FakeContext *context, const FakeProtector *protector)
        : m_context(context), m_protector(protector)
    {
    }
    void openUrl(const QUrl &url) const override { m_context->openUrl(url); }
    unsigned int openRdp(const QString &rdpFileContents) const override;
    [[nodiscard]] QString encrypt(const QString &data) const override { return m_protector->protect(data); }
    void systemNotification(const QString &message) const override { m_context->systemNotification(message); }
    void clearAccessCacheAndCookies() const override;
    void raiseWindow() const override { m_context->raiseWindow(); }
    Q_INVOKABLE void reset();

    [[nodiscard]] int rdpLaunches() const { return m_rdpLaunches; }
    [[nodiscard]] QString lastRdpFile() const { return m_lastRdpFile; }
    [[nodiscard]] int cacheClears() const { return m_cacheClears; }

Q_SIGNALS:
    void changed() const;

private:
    FakeContext *m_context;
    const FakeProtector *m_protector;
    mutable int m_rdpLaunches = 0;
    mutable QString m_lastRdpFile;
    mutable int m_cacheClears = 0;
};

// What the view tests need beyond the views: the demo service (in this process), the local command
// server, the settings store and the fakes. Published to the tests as "testKit".
class ViewsTestKit : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString serviceUrl READ serviceUrl CONSTANT)

public:
    explicit ViewsTestKit(QObject *parent = nullptr);
    ~ViewsTestKit() override;

    bool startService();
    void attach(ApiClient *client, UiShell *shell, LocalCommandServer *commandServer);
    [[nodiscard]] QString serviceUrl() const;
    [[nodiscard]] FakeContext *context() { return &m_context; }
    [[nodiscard]] const FakeProtector *protector() const { return &m_protector; }
    [[nodiscard]] FakeHost *host() { return &m_host; }

    // A text message as if it had arrived at the local command server.
    Q_INVOKABLE void sendCommand(const QString &message);
    // A test control of the demo service (fault, fault/clear, reset...), e.g. ("fault",
    // "action=x&kind=drop").
    Q_INVOKABLE QVariant control(const QString &what, const QString &query = QString());
    // The activation link the service mailed to this address, opened as a browser would (activates).
    Q_INVOKABLE bool activate(const QString &email);
    // The password reset code in the last reset mail to this address; "" when there is none.
    Q_INVOKABLE QString resetCode(const QString &email) const
    {
        return lastMailed(email, QStringLiteral("reset code is ([^ .]+)"));
    }
    // The service's log of the requests of an action: how many, and the path of the last one.
    Q_INVOKABLE int requestCount(const QString &action) const { return int(requestPaths(action).size()); }
    Q_INVOKABLE QString lastRequest(const QString &action) const;

    Q_INVOKABLE QVariant settingsValue(const QString &key) const;
    Q_INVOKABLE void setSettingsValue(const QString &key, const QVariant &value);
    Q_INVOKABLE void clearSettings();
    Q_INVOKABLE QString unprotect(const QString &protectedText) const
    {
        return m_protector.unprotect(protectedText);
    }

    // Points the service client at a closed port (true) or back at the demo service.
    Q_INVOKABLE void setServiceUnreachable(bool unreachable);
    Q_INVOKABLE int pendingRequests() const;
    // C++ requests through the shell, as the core makes them.
    Q_INVOKABLE void coreNotify(const QString &message, int level, int lifespan);
    Q_INVOKABLE void coreConfirm(const QString &title, const QString &okText, const QString &cancelText);
    Q_INVOKABLE QStringList coreAnswers() const { return m_coreAnswers; }

private:
    // The first group of `pattern` in the last mail to `email` where it matches.
    [[nodiscard]] QString lastMailed(const QString &email, const QString &pattern) const;
    [[nodiscard]] QStringList requestPaths(const QString &action) const;

    std::unique_ptr<demo::DemoServer> m_server;
    FakeContext m_context;
    FakeProtector m_protector;
    FakeHost m_host{&m_context, &m_protector};
    ApiClient *m_client = nullptr;
    UiShell *m_shell = nullptr;
    LocalCommandServer *m_commandServer = nullptr;
    QStringList m_coreAnswers;
};
