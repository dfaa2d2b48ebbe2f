// What a computer's mirrored fields imply: its burn rate, which power operations it allows, the card's
// last-started text and its Remote Desktop connection text.
#include "computer/computer.h"

#include "computer/rdpconnectionfile.h"

#include <QDateTime>

#include <algorithm>

double Computer::currentBurnRate() const
{
    if (m_data.status == Running)
        return m_data.computerPowerOnRate;
    if (m_data.status == Deleted)
        return 0;
    return m_data.computerIdleRate;
}

bool Computer::canStart() const
{
    if (m_statusChanging)
        return false;
    switch (m_data.status) {
    case PendingProvisioning:
    case Provisioning:
    case Staging:
    case Running:
    case Deleted:
        return false;
    default:
        return true;
    }
}

bool Computer::canStop() const
{
    return !m_statusChanging && m_data.status != Deleted && !canStart();
}

bool Computer::canDelete() const
{
    return !m_statusChanging && m_data.status != Deleted;
}

QString Computer::lastStartedText(int status, qint64 lastStartedSeconds, qint64 nowSeconds)
{
    const bool up =
        status == PendingProvisioning || status == Provisioning || status == Staging || status == Running;
    const QString prefix = up ? QStringLiteral("Started ") : QStringLiteral("Last started ");
    const double seconds = double(std::max<qint64>(nowSeconds - lastStartedSeconds, 0));
    // The thresholds compare the exact values; only the shown number is rounded.
    const double minutes = seconds / 60.0;
    const double hours = minutes / 60.0;
    const double days = hours / 24.0;
    if (seconds < 60)
        return prefix + QStringLiteral("a few seconds ago");
    if (minutes < 60)
        return prefix + QString::number(qRound64(minutes)) + QStringLiteral(" minuites ago");
    if (hours < 24)
        return prefix + QString::number(qRound64(hours)) + QStringLiteral(" hours ago");
    return prefix + QString::number(qRound64(days)) + QStringLiteral(" days ago");
}

QString Computer::lastStartedDescription() const
{
    return lastStartedText(m_data.status, m_data.lastStartedTime, QDateTime::currentSecsSinceEpoch());
}

bool Computer::hasSafeConnectionData() const
{
    return RdpConnectionFile{m_data.rdpPublicAddress, m_data.username, {}, {}}.hasSafeFields();
}

QString Computer::rdpFileContents(const QString &encryptedPassword, const QStringList &displayLines) const
{
    return RdpConnectionFile{m_data.rdpPublicAddress, m_data.username, encryptedPassword, displayLines}
        .text();
}
