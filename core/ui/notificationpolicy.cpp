#include "notificationpolicy.h"

#include <QRegularExpression>
#include <QUrl>

bool NotificationPolicy::isOpenableLink(const QString &link)
{
    const QUrl url(link.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty())
        return false;
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

QString NotificationPolicy::displayText(const QString &text)
{
    static const QRegularExpression imageTag(QStringLiteral("<\\s*img\\b[^>]*>?"),
                                             QRegularExpression::CaseInsensitiveOption);
    QString shown = text;
    // Removing a tag can join the text around it into a new one ("<<img>img src=...>"): repeat until
    // nothing is removed.
    qsizetype length = -1;
    while (length != shown.size()) {
        length = shown.size();
        shown.remove(imageTag);
    }
    return shown;
}

int NotificationPolicy::waitBeforeRemoval(int lifespan)
{
    return lifespan > 0 ? qMax(lifespan, kDisappearDuration) : 0;
}

QVariant NotificationPolicy::levelColor(const QVariant &level, const QColor &accent)
{
    bool ok = false;
    const double number = level.toDouble(&ok);
    if (!ok || level.typeId() == QMetaType::QString || level.typeId() == QMetaType::Bool)
        return {};
    if (number == 2) // Error: Material Red 500
        return QColor(QStringLiteral("#f44336"));
    if (number == 0) // Info
        return accent;
    if (number == 1) // Warning: Material Orange 800
        return QColor(QStringLiteral("#ef6c00"));
    return {};
}
