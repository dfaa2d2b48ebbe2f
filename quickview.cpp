#include "quickview.h"

#include <QEvent>

bool QuickView::event(QEvent *event)
{
    if (event->type() == QEvent::Close) {
        hide();
        event->accept();
        return true;
    }
    return QQuickWindow::event(event);
}
