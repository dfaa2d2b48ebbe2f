#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QQuickItem;

// The screenshot gallery's eyes, published to QML as the singleton `Gallery` (module VantorixGallery):
// grabs the window of an item, saves it as <screen>--<theme>--<width>.png in the gallery folder, runs the
// text-fit and contrast checks over it, and writes the index page that shows every grab side by side.
class GalleryInspector : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString theme READ theme CONSTANT)
    Q_PROPERTY(QString folder READ folder CONSTANT)

public:
    using QObject::QObject;

    // The Material theme of this run ("Dark" or "Light").
    [[nodiscard]] static QString theme();
    // VANTORIX_GALLERY_DIR, else "gallery" in the working folder.
    [[nodiscard]] static QString folder();

    // One line per finding: "<screen> <theme> <width>: "<text>" (<where>) <problem>".
    Q_INVOKABLE QStringList shoot(QQuickItem *item, const QString &screen);
    // index.html over every grab in the folder (both themes, once both runs have written theirs).
    Q_INVOKABLE bool writeIndex() const;
};
