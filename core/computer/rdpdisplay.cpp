#include "computer/rdpdisplay.h"

#include <QHash>

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace {

constexpr int kScales[] = {100, 125, 150, 175, 200, 250, 300};

// "key:i:value" lines whose value is a whole number, by key (a later line wins, as in the clients).
QHash<QString, int> integerLines(const QString &text)
{
    QHash<QString, int> values;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        const int typeAt = trimmed.indexOf(QLatin1String(":i:"));
        if (typeAt <= 0)
            continue;
        bool ok = false;
        const int value = trimmed.mid(typeAt + 3).toInt(&ok);
        if (ok)
            values.insert(trimmed.left(typeAt), value);
    }
    return values;
}

} // namespace

int RdpDisplay::nearestScale(int percent)
{
    return *std::min_element(std::begin(kScales), std::end(kScales), [percent](int a, int b) {
        return std::abs(a - percent) < std::abs(b - percent);
    });
}

QList<int> RdpDisplay::scaleSteps()
{
    return QList<int>(std::begin(kScales), std::end(kScales));
}

QStringList RdpDisplay::fileLines() const
{
    QStringList lines;
    if (mode == FullScreen) {
        lines << QStringLiteral("screen mode id:i:2");
    } else if (mode == Window) {
        lines << QStringLiteral("screen mode id:i:1")
              << QStringLiteral("desktopwidth:i:%1").arg(std::clamp(windowWidth, kMinSize, kMaxSize))
              << QStringLiteral("desktopheight:i:%1").arg(std::clamp(windowHeight, kMinSize / 2, kMaxSize));
    }
    if (allMonitors)
        lines << QStringLiteral("use multimon:i:1");
    if (dynamicResolution)
        lines << QStringLiteral("dynamic resolution:i:1");
    const int scale = nearestScale(scalePercent);
    if (scale != 100)
        lines << QStringLiteral("desktopscalefactor:i:%1").arg(scale);
    return lines;
}

QStringList RdpDisplay::freeRdpArguments(const QString &connectionText)
{
    const QHash<QString, int> values = integerLines(connectionText);
    QStringList arguments;
    const int mode = values.value(QStringLiteral("screen mode id"), 0);
    if (mode == 2) {
        arguments << QStringLiteral("/f");
    } else if (mode == 1) {
        const int width = values.value(QStringLiteral("desktopwidth"), 0);
        const int height = values.value(QStringLiteral("desktopheight"), 0);
        if (width >= kMinSize && width <= kMaxSize && height >= kMinSize / 2 && height <= kMaxSize)
            arguments << QStringLiteral("/size:%1x%2").arg(width).arg(height);
    }
    if (values.value(QStringLiteral("use multimon"), 0) == 1)
        arguments << QStringLiteral("/multimon");
    if (values.value(QStringLiteral("dynamic resolution"), 0) == 1)
        arguments << QStringLiteral("/dynamic-resolution");
    const int scale = values.value(QStringLiteral("desktopscalefactor"), 100);
    if (scale != 100 && nearestScale(scale) == scale)
        arguments << QStringLiteral("/scale-desktop:%1").arg(scale);
    return arguments;
}
