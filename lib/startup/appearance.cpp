#include "appearance.h"

#include <QSettings>

namespace Appearance {

Stored readStored(QSettings &settings)
{
    Stored s;
    s.scalingFactor = settings.value(QStringLiteral("scalingFactor"), s.scalingFactor).toString();
    s.materialVariant = settings.value(QStringLiteral("materialVariant"), s.materialVariant).toString();
    s.materialTheme = settings.value(QStringLiteral("materialTheme"), s.materialTheme).toString();
    return s;
}

Assignments compute(const Stored &stored, const QProcessEnvironment &inherited)
{
    Assignments out;
    out.emplaceBack("QT_SCALE_FACTOR", stored.scalingFactor.toUtf8());

    auto inheritedOr = [&inherited](const char *name, const QString &fallback) {
        const QString value = inherited.value(QString::fromLatin1(name));
        return value.isEmpty() ? fallback : value;
    };
    const QString variant = inheritedOr("QT_QUICK_CONTROLS_MATERIAL_VARIANT", stored.materialVariant);
    out.emplaceBack("QT_QUICK_CONTROLS_MATERIAL_VARIANT", variant.toUtf8());
    const QString theme = inheritedOr("QT_QUICK_CONTROLS_MATERIAL_THEME", stored.materialTheme);
    out.emplaceBack("QT_QUICK_CONTROLS_MATERIAL_THEME", theme.toUtf8());

    if (theme != QLatin1String("Light")) {
        out.emplaceBack("QT_QUICK_CONTROLS_MATERIAL_ACCENT", "#0060b2");
        out.emplaceBack("QT_QUICK_CONTROLS_MATERIAL_PRIMARY", "light gray");
        out.emplaceBack("QT_QUICK_CONTROLS_MATERIAL_FOREGROUND", "light gray");
        out.emplaceBack("QT_QUICK_CONTROLS_MATERIAL_BACKGROUND", "#1a1a1a");
    }
    return out;
}

void apply(const Assignments &assignments)
{
    for (const auto &[name, value] : assignments)
        qputenv(name.constData(), value);
}

} // namespace Appearance
