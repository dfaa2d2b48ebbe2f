#include "context.h"

#include "logging.h"
#include "platform.h"
#include "rendererchoice.h"
#include "systemnotifier.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QProcess>
#include <QQmlEngine>
#include <QQuickView>
#include <QSaveFile>
#include <QScreen>
#include <QSettings>
#include <QSharedMemory>

#include <algorithm>
#include <cmath>

namespace {

const QString kScalingFactorKey = QStringLiteral("scalingFactor");
const QString kMaterialVariantKey = QStringLiteral("materialVariant");
const QString kMaterialThemeKey = QStringLiteral("materialTheme");

QString storedRendering()
{
    QSettings settings;
    return RendererChoice::modeName(RendererChoice::readMode(settings));
}

} // namespace

Context::Context(QQuickView *view, const QProcessEnvironment &startupEnvironment,
                 QSharedMemory *instanceGuard, std::unique_ptr<Platform> platform, SystemNotifier *notifier)
    : m_view(view), m_startupEnvironment(startupEnvironment), m_instanceGuard(instanceGuard),
      m_platform(std::move(platform)), m_notifier(notifier), m_renderingAtStart(storedRendering())
{
    if (m_view) {
        // An invisible item under the content item; the view destroys it with its content.
        setParentItem(m_view->contentItem());
        setParent(m_view->contentItem());
    }
    if (m_notifier) {
        connect(m_notifier, &SystemNotifier::activated, this, &Context::raiseWindow);
        connect(m_notifier, &SystemNotifier::actionInvoked, this, [this](qint64 id, const QString &key) {
            const NotificationResponse response = m_responses.take(id);
            if (response)
                response(key);
        });
        connect(m_notifier, &SystemNotifier::closed, this, [this](qint64 id) { m_responses.remove(id); });
        // Logged when the outcome is known: -1 when the notification could not be shown.
        connect(m_notifier, &SystemNotifier::shown, this,
                [](qint64 id) { qCDebug(lcHost).noquote() << "Show toast:" << id; });
    }
}

Context::~Context() = default;

Platform *Context::platform() const
{
    return m_platform.get();
}

void Context::openUrl(const QUrl &url) const
{
    QDesktopServices::openUrl(url);
}

unsigned int Context::openRdp(const QString &rdpFileContents) const
{
    return openRdpWatched(rdpFileContents, {});
}

unsigned int Context::openRdpWatched(const QString &rdpFileContents,
                                     const RemoteDesktopFailure &onEarlyFailure) const
{
    if (!m_platform)
        return 2;
    return m_platform->startRemoteDesktop(rdpFileContents, onEarlyFailure);
}

void Context::raiseWindow() const
{
    if (!m_view)
        return;
    const QRect geometry = m_view->geometry();
    if (m_platform)
        m_platform->activateWindow(m_view);
    m_view->show();
    m_view->setGeometry(geometry);

    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize available = screen->availableSize();
    const QRect frame = m_view->frameGeometry();
    if (available.width() <= frame.width() && available.height() <= frame.height()) {
        m_view->setWidth(available.width());
        m_view->setHeight(available.height());
        m_view->setVisibility(QWindow::Maximized);
        return;
    }
    // A window still at the origin was never placed. Where the window manager adds a frame, a window at the
    // origin has its frame there and its client area just inside it.
    if (m_view->position() == QPoint(0, 0) || m_view->framePosition() == QPoint(0, 0)) {
        m_view->setPosition((available.width() - m_view->width()) / 2,
                            (available.height() - m_view->height()) / 2);
    }
}

void Context::clearAccessCacheAndCookies() const
{
    if (!m_view || !m_view->engine())
        return;
    QNetworkAccessManager *manager = m_view->engine()->networkAccessManager();
    if (!manager)
        return;
    manager->clearAccessCache();
    // The manager deletes its previous jar and owns the new one.
    manager->setCookieJar(new QNetworkCookieJar(manager));
}

void Context::quit()
{
    QCoreApplication::quit();
}

void Context::copyToClipboard(const QString &text)
{
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->setText(text, QClipboard::Clipboard);
}

bool Context::isAutoStartupEnabled() const
{
    return m_platform && m_platform->isAutoStartEnabled();
}

void Context::setIsAutoStartupEnabled(bool enabled)
{
    if (m_platform)
        m_platform->setAutoStartEnabled(enabled);
}

float Context::getCurrentScalingFactor() const
{
    bool ok = false;
    const float factor = qEnvironmentVariable("QT_SCALE_FACTOR").toFloat(&ok);
    return ok && std::isfinite(factor) ? factor : 1.0f;
}

void Context::setScalingFactor(float factor)
{
    QSettings settings;
    settings.setValue(kScalingFactorKey, factor);
}

QString Context::getMaterialVariant() const
{
    return QString::fromUtf8(qgetenv("QT_QUICK_CONTROLS_MATERIAL_VARIANT"));
}

void Context::setMaterialVariant(const QString &variant)
{
    QSettings settings;
    settings.setValue(kMaterialVariantKey, variant);
}

QString Context::getMaterialTheme() const
{
    return QString::fromUtf8(qgetenv("QT_QUICK_CONTROLS_MATERIAL_THEME"));
}

void Context::setMaterialTheme(const QString &variant)
{
    QSettings settings;
    settings.setValue(kMaterialThemeKey, variant);
}

QString Context::getRendering() const
{
    return m_renderingAtStart;
}

void Context::setRendering(const QString &mode)
{
    const RendererChoice::Mode parsed = RendererChoice::parseMode(mode);
    if (RendererChoice::modeName(parsed) != mode)
        qCDebug(lcHost) << "Unknown rendering setting" << mode << "stored as"
                        << RendererChoice::modeName(parsed);
    QSettings settings;
    RendererChoice::writeMode(settings, parsed);
}

void Context::restartApplication()
{
    QStringList arguments = QCoreApplication::arguments();
    if (!arguments.isEmpty())
        arguments.removeFirst();

    // The new instance must be able to take the guard; it is taken back if the start fails.
    const qsizetype guardSize = m_instanceGuard ? m_instanceGuard->size() : 0;
    if (m_instanceGuard)
        m_instanceGuard->detach();

    QProcess process;
    process.setProgram(QCoreApplication::applicationFilePath());
    process.setArguments(arguments);
    process.setProcessEnvironment(m_startupEnvironment);
    if (!process.startDetached()) {
        qCWarning(lcHost) << "Could not start a new instance; staying open:" << process.errorString();
        if (m_instanceGuard && guardSize > 0 && !m_instanceGuard->create(guardSize))
            qCWarning(lcHost) << "Could not take the single-instance guard back:"
                              << m_instanceGuard->errorString();
        return;
    }
    QCoreApplication::quit();
}

bool Context::saveToFile(const QString &data, const QString &file) const
{
    QSaveFile saveFile(file);
    if (!saveFile.open(QIODevice::WriteOnly | QIODevice::Text)) {
        qCDebug(lcHost) << "Could not open" << file << "for saving:" << saveFile.errorString();
        return false;
    }
    const QByteArray bytes = data.toUtf8();
    if (saveFile.write(bytes) != bytes.size()) {
        qCDebug(lcHost) << "Could not write" << file << ":" << saveFile.errorString();
        saveFile.cancelWriting();
        return false;
    }
    if (!saveFile.commit()) {
        qCDebug(lcHost) << "Could not save" << file << ":" << saveFile.errorString();
        return false;
    }
    return true;
}

QString Context::encrypt(const QString &data) const
{
    if (!m_platform)
        return {};
    return m_platform->protect(data);
}

void Context::systemNotification(const QString &message) const
{
    if (!m_notifier || !m_notifier->isAvailable()) {
        qCDebug(lcHost).noquote() << "Show toast:" << -1;
        return;
    }
    m_notifier->show(message);
}

void Context::systemNotification(const QString &message, const QList<NotificationAction> &actions,
                                 const NotificationResponse &onResponse) const
{
    if (!m_notifier || !m_notifier->isAvailable()) {
        qCDebug(lcHost).noquote() << "Show toast:" << -1;
        return;
    }
    const qint64 id = m_notifier->show(message, actions);
    if (id < 0 || !onResponse)
        return;
    constexpr int kMaxAwaited = 64;
    if (m_responses.size() >= kMaxAwaited)
        m_responses.remove(std::min_element(m_responses.keyBegin(), m_responses.keyEnd()).operator*());
    m_responses.insert(id, onResponse);
}
