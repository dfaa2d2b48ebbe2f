#pragma once

#include "computer/rdpdisplay.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

class QSettings;

// The Remote Desktop section of the application settings: full screen or a window of a given size, all
// monitors, resizing with the window, the scale. Each value is stored under its own top-level settings key
// the moment it changes; out-of-range values are brought into range. The session reaches it as
// `main.connection`; connections made after a change use the new values.
class ConnectionPreferences : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Reached as MainContext.connection")

    // RdpDisplay::Mode: 0 as the client decides, 1 full screen, 2 window.
    Q_PROPERTY(int displayMode READ displayMode WRITE setDisplayMode NOTIFY changed)
    Q_PROPERTY(int windowWidth READ windowWidth WRITE setWindowWidth NOTIFY changed)
    Q_PROPERTY(int windowHeight READ windowHeight WRITE setWindowHeight NOTIFY changed)
    Q_PROPERTY(bool allMonitors READ allMonitors WRITE setAllMonitors NOTIFY changed)
    Q_PROPERTY(bool dynamicResolution READ dynamicResolution WRITE setDynamicResolution NOTIFY changed)
    // 100-300, one of the steps RdpDisplay::nearestScale allows.
    Q_PROPERTY(int scalePercent READ scalePercent WRITE setScalePercent NOTIFY changed)
    // The scales the slider steps through.
    Q_PROPERTY(QList<int> scaleSteps READ scaleSteps CONSTANT)

public:
    // settings: not owned, may be null (nothing stored or loaded).
    explicit ConnectionPreferences(QSettings *settings, QObject *parent = nullptr);

    [[nodiscard]] const RdpDisplay &display() const { return m_display; }
    [[nodiscard]] int displayMode() const { return m_display.mode; }
    [[nodiscard]] int windowWidth() const { return m_display.windowWidth; }
    [[nodiscard]] int windowHeight() const { return m_display.windowHeight; }
    [[nodiscard]] bool allMonitors() const { return m_display.allMonitors; }
    [[nodiscard]] bool dynamicResolution() const { return m_display.dynamicResolution; }
    [[nodiscard]] int scalePercent() const { return m_display.scalePercent; }
    [[nodiscard]] static QList<int> scaleSteps() { return RdpDisplay::scaleSteps(); }

    void setDisplayMode(int value);
    void setWindowWidth(int value);
    void setWindowHeight(int value);
    void setAllMonitors(bool value);
    void setDynamicResolution(bool value);
    void setScalePercent(int value);

Q_SIGNALS:
    void changed();

private:
    // Brings every value into range.
    void normalise();
    void store(const char *key, const QVariant &value);

    QSettings *m_settings = nullptr;
    RdpDisplay m_display;
};
