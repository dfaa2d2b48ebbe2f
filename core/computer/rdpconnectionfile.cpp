#include "computer/rdpconnectionfile.h"

namespace {

bool holdsControlCharacter(const QString &text)
{
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            return true;
    }
    return false;
}

} // namespace

QString RdpConnectionFile::text() const
{
    QStringList lines{QStringLiteral("full address:s:") + address, QStringLiteral("username:s:") + username};
    if (!encryptedPassword.isEmpty()) {
        lines << QStringLiteral("password 51:b:") + encryptedPassword
              << QStringLiteral("remoteapplicationmode:i:0");
    }
    lines << displayLines;
    return lines.join(QStringLiteral("\r\n"));
}

bool RdpConnectionFile::hasSafeFields() const
{
    return !holdsControlCharacter(address) && !holdsControlCharacter(username);
}
