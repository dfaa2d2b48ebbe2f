#pragma once

#include <QQuickView>

// The main window. Closing it only hides it: the process, the tray icon and the local command server
// go on, and the window comes back through the bridge's raiseWindow().
class QuickView : public QQuickView {
    Q_OBJECT
public:
    using QQuickView::QQuickView;

protected:
    bool event(QEvent *event) override;
};
