#include "session/connectionpreferences.h"

#include <QSettings>

#include <algorithm>

namespace {

int storedInt(QSettings *settings, const char *key, int fallback)
{
    bool ok = false;
    const int value = settings->value(QLatin1String(key)).toInt(&ok);
    return ok ? value : fallback;
}

} // namespace

ConnectionPreferences::ConnectionPreferences(QSettings *settings, QObject *parent)
    : QObject(parent), m_settings(settings)
{
    if (!m_settings)
        return;
    m_display.mode = storedInt(m_settings, "rdpDisplayMode", m_display.mode);
    m_display.windowWidth = storedInt(m_settings, "rdpWindowWidth", m_display.windowWidth);
    m_display.windowHeight = storedInt(m_settings, "rdpWindowHeight", m_display.windowHeight);
    m_display.allMonitors = m_settings->value(QStringLiteral("rdpAllMonitors"), false).toBool();
    m_display.dynamicResolution = m_settings->value(QStringLiteral("rdpDynamicResolution"), false).toBool();
    m_display.scalePercent = storedInt(m_settings, "rdpScalePercent", m_display.scalePercent);
    normalise();
}

void ConnectionPreferences::normalise()
{
    if (m_display.mode < RdpDisplay::ClientDefault || m_display.mode > RdpDisplay::Window)
        m_display.mode = RdpDisplay::ClientDefault;
    m_display.windowWidth = std::clamp(m_display.windowWidth, RdpDisplay::kMinSize, RdpDisplay::kMaxSize);
    m_display.windowHeight =
        std::clamp(m_display.windowHeight, RdpDisplay::kMinSize / 2, RdpDisplay::kMaxSize);
    m_display.scalePercent = RdpDisplay::nearestScale(m_display.scalePercent);
}

void ConnectionPreferences::store(const char *key, const QVariant &value)
{
    if (!m_settings)
        return;
    m_settings->setValue(QLatin1String(key), value);
    m_settings->sync();
}

template <typename T> static bool assign(T &member, const T &value)
{
    if (member == value)
        return false;
    member = value;
    return true;
}

void ConnectionPreferences::setDisplayMode(int value)
{
    const RdpDisplay before = m_display;
    m_display.mode = value;
    normalise();
    if (before.mode == m_display.mode)
        return;
    store("rdpDisplayMode", m_display.mode);
    Q_EMIT changed();
}

void ConnectionPreferences::setWindowWidth(int value)
{
    if (!assign(m_display.windowWidth, std::clamp(value, RdpDisplay::kMinSize, RdpDisplay::kMaxSize)))
        return;
    store("rdpWindowWidth", m_display.windowWidth);
    Q_EMIT changed();
}

void ConnectionPreferences::setWindowHeight(int value)
{
    if (!assign(m_display.windowHeight, std::clamp(value, RdpDisplay::kMinSize / 2, RdpDisplay::kMaxSize)))
        return;
    store("rdpWindowHeight", m_display.windowHeight);
    Q_EMIT changed();
}

void ConnectionPreferences::setAllMonitors(bool value)
{
    if (!assign(m_display.allMonitors, value))
        return;
    store("rdpAllMonitors", value);
    Q_EMIT changed();
}

void ConnectionPreferences::setDynamicResolution(bool value)
{
    if (!assign(m_display.dynamicResolution, value))
        return;
    store("rdpDynamicResolution", value);
    Q_EMIT changed();
}

void ConnectionPreferences::setScalePercent(int value)
{
    if (!assign(m_display.scalePercent, RdpDisplay::nearestScale(value)))
        return;
    store("rdpScalePercent", m_display.scalePercent);
    Q_EMIT changed();
}
