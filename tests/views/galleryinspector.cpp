#include "galleryinspector.h"

#include "appearance.h"
#include "screenchecks.h"

#include <QCoreApplication>
#include <QDir>
#include <QMap>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSaveFile>
#include <QTextStream>

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
    QFileInfoList files =
        dir.entryInfoList({QStringLiteral("*--*--*.png")}, QDir::Files, QDir::Time | QDir::Reversed);
    QStringList screens;
    QMap<QString, QStringList> columns; // "Dark--0600" -> file names by screen index
    QMap<QString, QString> byKey;
    for (const QFileInfo &file : files) {
        const QStringList parts = file.completeBaseName().split(QStringLiteral("--"));
        if (parts.size() != 3)
            continue;
        if (!screens.contains(parts[0]))
            screens.append(parts[0]);
        const QString column = parts[1] + QStringLiteral("--") + parts[2].rightJustified(4, QLatin1Char('0'));
        columns[column];
        byKey.insert(parts[0] + QLatin1Char('|') + column, file.fileName());
    }
    QSaveFile out(dir.filePath(QStringLiteral("index.html")));
    if (!out.open(QIODevice::WriteOnly))
        return false;
    QTextStream html(&out);
    html << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>vantorix screens</title>\n"
            "<style>body{font-family:sans-serif;background:#888}td{vertical-align:top;padding:4px}"
            "img{width:400px;border:1px solid #333}th{text-align:left}</style></head><body>\n"
            "<h1>Every screen, both themes, three widths</h1>\n<table>\n<tr><th>screen</th>";
    for (auto it = columns.cbegin(); it != columns.cend(); ++it)
        html << "<th>"
             << QString(it.key())
                    .replace(QStringLiteral("--0"), QStringLiteral(" "))
                    .replace(QStringLiteral("--"), QStringLiteral(" "))
             << " px</th>";
    html << "</tr>\n";
    for (const QString &screen : screens) {
        html << "<tr><th>" << screen << "</th>";
        for (auto it = columns.cbegin(); it != columns.cend(); ++it) {
            const QString file = byKey.value(screen + QLatin1Char('|') + it.key());
            html << "<td>";
            if (!file.isEmpty())
                html << "<a href=\"" << file << "\"><img src=\"" << file << "\" loading=\"lazy\"></a>";
            html << "</td>";
        }
        html << "</tr>\n";
    }
    html << "</table></body></html>\n";
    return out.commit();
}
