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

namespace {

// The target of an anchor's opening tag: the href attribute, quoted either way or bare.
QString hrefOf(const QString &tag)
{
    static const QRegularExpression href(
        QStringLiteral("\\shref\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = href.match(tag);
    if (!match.hasMatch())
        return {};
    for (int group = 1; group <= 3; ++group) {
        if (match.capturedStart(group) >= 0)
            return match.captured(group);
    }
    return {};
}

// Anchors whose target can never open (file:, javascript:, relative or host-less) become spans: their
// text shows as plain text instead of a link that does nothing when clicked. A span keeps the text rich,
// so entities in it still read as before.
QString unwrapDeadLinks(const QString &text)
{
    static const QRegularExpression anchor(QStringLiteral("<\\s*a\\b[^>]*>"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression closing(QStringLiteral("<\\s*/\\s*a\\s*>"),
                                            QRegularExpression::CaseInsensitiveOption);
    QString shown = text;
    qsizetype from = 0;
    while (true) {
        const QRegularExpressionMatch open = anchor.match(shown, from);
        if (!open.hasMatch())
            break;
        if (NotificationPolicy::isOpenableLink(hrefOf(open.captured()))) {
            from = open.capturedEnd();
            continue;
        }
        shown.replace(open.capturedStart(), open.capturedLength(), QStringLiteral("<span>"));
        from = open.capturedStart() + 6;
        const QRegularExpressionMatch close = closing.match(shown, from);
        const QRegularExpressionMatch nextOpen = anchor.match(shown, from);
        // Qt closes an unterminated anchor at the next one; only a closing tag before that belongs here.
        if (close.hasMatch() && (!nextOpen.hasMatch() || close.capturedStart() < nextOpen.capturedStart()))
            shown.replace(close.capturedStart(), close.capturedLength(), QStringLiteral("</span>"));
    }
    return shown;
}

} // namespace

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
    return unwrapDeadLinks(shown);
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
