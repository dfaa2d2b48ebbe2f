#pragma once

#include "hostservices.h"

#include <QHash>
#include <QProcessEnvironment>
#include <QQuickItem>
#include <QString>
#include <QUrl>
#include <memory>

class QQuickView;
class QSharedMemory;
class Platform;
class SystemNotifier;

// The bridge through which the user interface reaches the operating system and the host process.
// Published to QML as the context property "context". Its parent item is the view's content item, which
// also owns it. The core reaches it through HostServices.
class Context : public QQuickItem, public HostServices {
    Q_OBJECT
public:
    // platform: owned; notifier: not owned, may be null (then system notifications are off).
    Context(QQuickView *view, const QProcessEnvironment &startupEnvironment, QSharedMemory *instanceGuard,
            std::unique_ptr<Platform> platform, SystemNotifier *notifier);
    ~Context() override;

    Q_INVOKABLE void openUrl(const QUrl &url) const override;
    Q_INVOKABLE unsigned int openRdp(const QString &rdpFileContents) const override;
    unsigned int openRdpWatched(const QString &rdpFileContents,
                                const RemoteDesktopFailure &onEarlyFailure) const override;
    Q_INVOKABLE void raiseWindow() const override;
    Q_INVOKABLE void clearAccessCacheAndCookies() const override;
    Q_INVOKABLE void quit();
    Q_INVOKABLE void copyToClipboard(const QString &text);
    Q_INVOKABLE bool isAutoStartupEnabled() const;
    Q_INVOKABLE void setIsAutoStartupEnabled(bool enabled);
    Q_INVOKABLE float getCurrentScalingFactor() const;
    Q_INVOKABLE void setScalingFactor(float factor);
    Q_INVOKABLE QString getMaterialVariant() const;
    Q_INVOKABLE void setMaterialVariant(const QString &variant);
    Q_INVOKABLE QString getMaterialTheme() const;
    Q_INVOKABLE void setMaterialTheme(const QString &variant);
    // The renderer setting ("Automatic", "Hardware", "Software"): the one in effect since start, and the
    // one stored for the next start.
    Q_INVOKABLE QString getRendering() const;
    Q_INVOKABLE void setRendering(const QString &mode);
    Q_INVOKABLE void restartApplication();
    Q_INVOKABLE bool saveToFile(const QString &data, const QString &file) const;
    Q_INVOKABLE QString encrypt(const QString &data) const override;
    Q_INVOKABLE void systemNotification(const QString &message) const override;
    void systemNotification(const QString &message, const QList<NotificationAction> &actions,
                            const NotificationResponse &onResponse) const override;

    // Not for QML: the platform (the session's Remote Desktop launcher unprotects through it).
    [[nodiscard]] Platform *platform() const;

private:
    QQuickView *m_view;
    QProcessEnvironment m_startupEnvironment;
    QSharedMemory *m_instanceGuard;
    std::unique_ptr<Platform> m_platform;
    SystemNotifier *m_notifier;
    // The answers awaited from shown notifications, by notifier id (the oldest are dropped past a bound).
    mutable QHash<qint64, NotificationResponse> m_responses;
    QString m_renderingAtStart;
};
