#include "autostart.h"

#include "logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

QString XdgAutoStart::entryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::ConfigLocation) +
           QStringLiteral("/autostart/vantorix.desktop");
}

bool XdgAutoStart::isEnabled()
{
    return QFileInfo::exists(entryPath());
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
    QString value;
    for (const QChar c : quoted) {
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
        case u'%':
            value += QLatin1String("%%");
            break;
        default:
            value += c;
        }
    }
    return QLatin1Char('"') + value + QStringLiteral("\" --start-minimized");
}

QByteArray XdgAutoStart::entryText(const QString &executablePath)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=vantorix\n"
                          "Exec=%1\n")
        .arg(execValue(executablePath))
        .toUtf8();
}

bool XdgAutoStart::setEnabled(bool enabled)
{
    const QString path = entryPath();
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
