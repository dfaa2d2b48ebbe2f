#include "plaineffects.h"

#include <QGuiApplication>
#include <QQmlAbstractUrlInterceptor>
#include <QQmlEngine>
#include <QQuickWindow>

namespace PlainEffects {

namespace {

// Whether Qt Quick renders in software: chosen (setting, probe, QT_QUICK_BACKEND), or fallen back to
// because the platform has no OpenGL (which only the windows' scene graphs know).
bool softwareInUse()
{
    if (QQuickWindow::graphicsApi() == QSGRendererInterface::Software)
        return true;
    const QWindowList windows = QGuiApplication::topLevelWindows();
    for (QWindow *window : windows) {
        const auto *quickWindow = qobject_cast<QQuickWindow *>(window);
        const QSGRendererInterface *renderer = quickWindow ? quickWindow->rendererInterface() : nullptr;
        if (renderer && renderer->graphicsApi() == QSGRendererInterface::Software)
            return true;
    }
    return false;
}

class ElevationInterceptor : public QQmlAbstractUrlInterceptor {
public:
    QUrl intercept(const QUrl &url, DataType type) override
    {
        // Asked when the style's effect is first used, by then the back-end is settled (a platform
        // without OpenGL falls back to the software back-end without being told).
        if (type == QmlFile &&
            url.path().endsWith(QLatin1String("/QtQuick/Controls/Material/impl/ElevationEffect.qml")) &&
            softwareInUse())
            return QUrl(QStringLiteral("qrc:/Vantorix/controls/PlainElevationEffect.qml"));
        return url;
    }
};

} // namespace

void install(QQmlEngine *engine)
{
    if (!engine)
        return;
    static ElevationInterceptor interceptor;
    engine->addUrlInterceptor(&interceptor);
}

} // namespace PlainEffects
