#pragma once

#include <QImage>
#include <QList>
#include <QString>

class QQuickItem;

// The checks the screenshot gallery runs over one rendered screen: every visible text shows all of itself
// (inside its box and its clipping ancestors, over no other text), and stands out from the pixels behind
// it. `window` is the grabbed image of the window whose content item is `content`.
namespace ScreenChecks {

// One finding: what is wrong with which text, and the measured figure.
struct Finding {
    QString text;
    QString where;
    QString problem;
};

[[nodiscard]] QList<Finding> inspect(QQuickItem *content, const QImage &window);

} // namespace ScreenChecks
