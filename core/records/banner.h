#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// One advertising banner slot: an image and the link it opens. An empty source means no banner; an empty
// link means the banner is not clickable.
class Banner : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(Position position READ position WRITE setPosition NOTIFY positionChanged)
    Q_PROPERTY(QString link READ link WRITE setLink NOTIFY linkChanged)
    Q_PROPERTY(QString source READ source WRITE setSource NOTIFY sourceChanged)

public:
    enum Position {
        Top = 0,
        Left = 1,
    };
    Q_ENUM(Position)

    explicit Banner(QObject *parent = nullptr);
    explicit Banner(Position position, QObject *parent = nullptr);

    [[nodiscard]] Position position() const { return m_position; }
    [[nodiscard]] QString link() const { return m_link; }
    [[nodiscard]] QString source() const { return m_source; }

    void setPosition(Position value);
    void setLink(const QString &value);
    void setSource(const QString &value);

Q_SIGNALS:
    void positionChanged();
    void linkChanged();
    void sourceChanged();

private:
    Position m_position = Top;
    QString m_link;
    QString m_source;
};
