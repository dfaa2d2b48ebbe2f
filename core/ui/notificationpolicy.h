#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

// The rules of in-app notifications that are not layout: which colour a level gets, which links in a
// notification may be opened and what of a styled text is shown. Notification texts can quote the
// service's replies, so they are treated as untrusted.
class NotificationPolicy : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    static constexpr int kDefaultLifespan = 10000;
    static constexpr int kDisappearDuration = 200;

    using QObject::QObject;

    // Only web links open from a notification; anything else (file:, javascript:, custom schemes) does not.
    Q_INVOKABLE [[nodiscard]] static bool isOpenableLink(const QString &link);
    // The text with every image tag removed, so that a styled text never makes the view fetch an image,
    // and with the anchors that could never open shown as plain text.
    Q_INVOKABLE [[nodiscard]] static QString displayText(const QString &text);
    // How long a notification waits before it starts to disappear; 0 means it stays until closed.
    Q_INVOKABLE [[nodiscard]] static int waitBeforeRemoval(int lifespan);
    // The background for a level: Error red 500, Info the accent colour, Warning orange 800; any other
    // value gives no colour (an invalid QVariant, undefined in QML).
    Q_INVOKABLE [[nodiscard]] static QVariant levelColor(const QVariant &level, const QColor &accent);
};
