#include "utils/styles.h"

Styles::Styles(QObject *parent) : Styles(qEnvironmentVariable(kThemeVariable), parent)
{
}

Styles::Styles(const QString &materialTheme, QObject *parent)
    : QObject(parent), m_light(materialTheme == QLatin1String("Light"))
{
}

QColor Styles::pick(const char *light, const char *dark) const
{
    return QColor(QLatin1String(m_light ? light : dark));
}

// Light values use the Material Grey palette (shades 200, 300, 500, 700) where the dark ones are custom.
QColor Styles::updateUserDataPaneBackgroundColor() const
{
    return pick("#ffffffff", "#131720");
}

QColor Styles::sidebarBackgroundColor() const
{
    return pick("#eeeeee", "#0e1219");
}

QColor Styles::sidebarGreetingsColor() const
{
    return pick("#616161", "lightgray");
}

QColor Styles::sidebarCreditsColor() const
{
    return pick("black", "white");
}

QColor Styles::appBackgroundColor() const
{
    return pick("#e0e0e0", "#0a0c0e");
}

QColor Styles::computersFilterButton() const
{
    return pick("#dfe6f1", "#222c3c");
}

QColor Styles::sidebarSeparatorColor() const
{
    return pick("#9e9e9e", "#616161");
}

QColor Styles::accentTextColor() const
{
    return pick("#0060b2", "#64b5f6");
}
