#include "appearance.h"
#include "screenchecks.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QObject>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSaveFile>
#include <QTextStream>

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

namespace {

// The gallery shows the program as it starts: the stored appearance's defaults (the dense variant, the
// dark palette) in the theme of the run, put before the Material style reads them.
void registerGallery()
{
    Appearance::Stored stored;
    stored.materialTheme = GalleryInspector::theme();
    Appearance::apply(Appearance::compute(stored, QProcessEnvironment::systemEnvironment()));
    qmlRegisterSingletonType<GalleryInspector>(
        "VantorixGallery", 1, 0, "Gallery",
        [](QQmlEngine *, QJSEngine *) -> QObject * { return new GalleryInspector; });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(registerGallery)

QString GalleryInspector::theme()
{
    return qEnvironmentVariable("QT_QUICK_CONTROLS_MATERIAL_THEME") == QLatin1String("Dark")
               ? QStringLiteral("Dark")
               : QStringLiteral("Light");
}

QString GalleryInspector::folder()
{
    const QString dir = qEnvironmentVariable("VANTORIX_GALLERY_DIR");
    return dir.isEmpty() ? QDir::current().filePath(QStringLiteral("gallery")) : dir;
}

QStringList GalleryInspector::shoot(QQuickItem *item, const QString &screen)
{
    QQuickWindow *window = item ? item->window() : nullptr;
    if (!window)
        return {QStringLiteral("%1: no window to grab").arg(screen)};
    const QImage image = window->grabWindow();
    const QString label = QStringLiteral("%1 %2 %3").arg(screen, theme()).arg(window->width());
    QStringList lines;
    if (!QDir().mkpath(folder()) ||
        !image.save(QDir(folder()).filePath(
            QStringLiteral("%1--%2--%3.png").arg(screen, theme()).arg(window->width()))))
        lines.append(label + QStringLiteral(": the grab could not be saved in ") + folder());
    for (const ScreenChecks::Finding &f : ScreenChecks::inspect(window->contentItem(), image))
        lines.append(QStringLiteral("%1: \"%2\" (%3) %4").arg(label, f.text.left(80), f.where, f.problem));
    return lines;
}

bool GalleryInspector::writeIndex() const
{
    // Rows: screens in the order their grabs were made; columns: theme, then width.
    const QDir dir(folder());
    QStringList screens, columns;
    QHash<QString, QString> grabs; // "<screen> <theme> <width>" -> file name
    for (const QFileInfo &file :
         dir.entryInfoList({QStringLiteral("*--*--*.png")}, QDir::Files, QDir::Time | QDir::Reversed)) {
        const QStringList parts = file.completeBaseName().split(QStringLiteral("--"));
        if (parts.size() != 3)
            continue;
        const QString column = parts[1] + QLatin1Char(' ') + parts[2];
        if (!screens.contains(parts[0]))
            screens.append(parts[0]);
        if (!columns.contains(column))
            columns.append(column);
        grabs.insert(parts[0] + QLatin1Char(' ') + column, file.fileName());
    }
    std::sort(columns.begin(), columns.end(), [](const QString &a, const QString &b) {
        return std::pair(a.section(u' ', 0, 0), a.section(u' ', 1).toInt()) <
               std::pair(b.section(u' ', 0, 0), b.section(u' ', 1).toInt());
    });
    QSaveFile out(dir.filePath(QStringLiteral("index.html")));
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QTextStream html(&out);
    html << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>vantorix screens</title>\n"
            "<style>body{font-family:sans-serif;background:#888}td{vertical-align:top;padding:4px}"
            "img{width:400px;border:1px solid #333}th{text-align:left}</style></head><body>\n"
            "<h1>Every screen, both themes, three widths</h1>\n<table>\n<tr><th>screen</th>";
    for (const QString &column : columns)
        html << "<th>" << column << " px</th>";
    for (const QString &screen : screens) {
        html << "</tr>\n<tr><th>" << screen << "</th>";
        for (const QString &column : columns) {
            const QString file = grabs.value(screen + QLatin1Char(' ') + column);
            html << "<td>";
            if (!file.isEmpty())
                html << "<a href=\"" << file << "\"><img src=\"" << file << "\" loading=\"lazy\"></a>";
            html << "</td>";
        }
    }
    html << "</tr>\n</table></body></html>\n";
    return out.commit();
}

#include "galleryinspector.moc"
