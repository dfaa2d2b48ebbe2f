#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>

class QQuickItem;

// The checks the screenshot gallery runs over one rendered screen: every visible text shows all of itself
// (inside its box and its clipping ancestors, over no other text), and stands out from the pixels behind
// it. `window` is the grabbed image of the window whose content item is `content`.
namespace ScreenChecks {

// WCAG relative luminance contrast between two opaque colours (1 to 21).
[[nodiscard]] double contrastRatio(const QColor &a, const QColor &b);

// The most common colour of `image` inside `rect` that is not close to `avoid`; invalid for an empty rect.
[[nodiscard]] QColor backgroundBehind(const QImage &image, const QRect &rect, const QColor &avoid);

// One finding: what is wrong with which text, and the measured figure.
struct Finding {
    QString text;
    QString where;
    QString problem;
};

[[nodiscard]] QList<Finding> inspect(QQuickItem *content, const QImage &window);

} // namespace ScreenChecks
