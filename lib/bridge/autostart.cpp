#include "autostart.h"

#include "buildidentity.h"
#include "logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

// The string escapes of the desktop entry format: backslash, line feed, carriage return and tab.
QString escapeString(const QString &text)
{
    QString value;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\':
            value += QLatin1String("\\\\");
            break;
        case u'\n':
            value += QLatin1String("\\n");
            break;
        case u'\r':
            value += QLatin1String("\\r");
            break;
        case u'\t':
            value += QLatin1String("\\t");
            break;
        default:
            value += c;
        }
    }
    return value;
}

} // namespace

QString XdgAutoStart::entryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::ConfigLocation) +
           QStringLiteral("/autostart/" VANTORIX_APP_ID ".desktop");
}

QString XdgAutoStart::legacyEntryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::ConfigLocation) +
           QStringLiteral("/autostart/vantorix.desktop");
}

bool XdgAutoStart::isEnabled()
{
    return QFileInfo::exists(entryPath()) || QFileInfo::exists(legacyEntryPath());
}

QString XdgAutoStart::execValue(const QString &executablePath)
{
    // Inside a quoted argument, ", `, $ and \ take a backslash; then the string escapes of the format apply
    // to the whole value (\ doubles again, control characters are written as escapes), and % is doubled
    // because it starts a field code.
    QString quoted;
    for (const QChar c : executablePath) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    const QString value = escapeString(quoted).replace(QLatin1Char('%'), QLatin1String("%%"));
    return QLatin1Char('"') + value + QStringLiteral("\" --start-minimized");
}

QByteArray XdgAutoStart::entryText(const QString &executablePath)
{
    // Named and drawn like the installed program's menu entry; TryExec makes the desktop skip the entry
    // once the program is gone (uninstalled) instead of failing to start it at every login.
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Vantorix\n"
                          "Icon=" VANTORIX_APP_ID "\n"
                          "TryExec=%1\n"
                          "Exec=%2\n")
        .arg(escapeString(executablePath), execValue(executablePath))
        .toUtf8();
}

bool XdgAutoStart::setEnabled(bool enabled)
{
    const QString path = entryPath();
    // The entry of an earlier version goes either way: it is replaced by the new one, or switched off.
    const QString legacy = legacyEntryPath();
    if (QFileInfo::exists(legacy) && !QFile::remove(legacy)) {
        qCWarning(lcHost) << "Could not remove the earlier autostart entry" << legacy;
        return false;
    }
    if (!enabled) {
        if (QFileInfo::exists(path) && !QFile::remove(path)) {
            qCWarning(lcHost) << "Could not remove the autostart entry" << path;
            return false;
        }
        return true;
    }

    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        qCWarning(lcHost) << "Could not create the autostart folder for" << path;
        return false;
    }
    QSaveFile file(path);
    const QByteArray text = entryText(QCoreApplication::applicationFilePath());
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        qCWarning(lcHost) << "Could not write the autostart entry" << path << file.errorString();
        return false;
    }
    return true;
}
