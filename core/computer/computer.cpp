#include "computer/computer.h"

#include <QDateTime>
#include <QStringList>

#include <algorithm>

Computer::Computer(QObject *parent) : QObject(parent)
{
}

Computer::Computer(const ComputerData &data, QObject *parent) : QObject(parent), m_data(data)
{
}

void Computer::assign(const ComputerData &data)
{
    m_assigning = true;
    setUserInstanceName(data.userInstanceName);
    setUserInstanceTitle(data.userInstanceTitle);
    setInstanceName(data.instanceName);
    setPlatform(data.platform);
    setOsVersionInfo(data.osVersionInfo);
    setTemplateIdentifier(data.templateIdentifier);
    setStatus(data.status);
    setCreatedTime(data.createdTime);
    setLastStartedTime(data.lastStartedTime);
    setIsFavourite(data.isFavourite);
    setUsername(data.username);
    setRdpPublicAddress(data.rdpPublicAddress);
    setComputerIdleTime(data.computerIdleTime);
    setComputerPowerOnTime(data.computerPowerOnTime);
    setComputerPowerOnRate(data.computerPowerOnRate);
    setComputerPowerOnCost(data.computerPowerOnCost);
    setComputerIdleCost(data.computerIdleCost);
    setComputerIdleRate(data.computerIdleRate);
    setComputerTotalCost(data.computerTotalCost);
    setSessionRunTime(data.sessionRunTime);
    setComputerPowerOnTimePs(data.computerPowerOnTimePs);
    setComputerIdleTimePs(data.computerIdleTimePs);
    setComputerPowerOnCostPs(data.computerPowerOnCostPs);
    setComputerIdleCostPs(data.computerIdleCostPs);
    setComputerLastDatePs(data.computerLastDatePs);
    setPriceHistoryStr(data.priceHistoryStr);
    m_assigning = false;
}

void Computer::setSourceEntry(const QCborMap &entry)
{
    m_sourceEntry = entry;
    m_hasSourceEntry = true;
}

bool Computer::isSourceEntry(const QCborMap &entry) const
{
    return m_hasSourceEntry && m_sourceEntry == entry;
}

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

namespace {

// Control characters (C0, DEL, C1) and the Unicode line and paragraph separators.
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

bool Computer::hasSafeConnectionData() const
{
    return !holdsControlCharacter(m_data.rdpPublicAddress) && !holdsControlCharacter(m_data.username);
}

QString Computer::rdpFileContents(const QString &encryptedPassword, const QStringList &displayLines) const
{
    QStringList lines{QStringLiteral("full address:s:") + m_data.rdpPublicAddress,
                      QStringLiteral("username:s:") + m_data.username};
    if (!encryptedPassword.isEmpty()) {
        lines << QStringLiteral("password 51:b:") + encryptedPassword
              << QStringLiteral("remoteapplicationmode:i:0");
    }
    lines << displayLines;
    return lines.join(QStringLiteral("\r\n"));
}

void Computer::setIdentifier(qint64 value)
{
    if (!updateField(m_data.identifier, value, &Computer::identifierChanged))
        return;
    Q_EMIT listInputsChanged();
}

void Computer::setUserInstanceName(const QString &value)
{
    if (!updateField(m_data.userInstanceName, value, &Computer::userInstanceNameChanged))
        return;
    Q_EMIT listInputsChanged();
}

void Computer::setUserInstanceTitle(const QString &value)
{
    updateField(m_data.userInstanceTitle, value, &Computer::userInstanceTitleChanged);
}

void Computer::setInstanceName(const QString &value)
{
    updateField(m_data.instanceName, value, &Computer::instanceNameChanged);
}

void Computer::setPlatform(int value)
{
    if (!updateField(m_data.platform, value, &Computer::platformChanged))
        return;
    Q_EMIT listInputsChanged();
}

void Computer::setOsVersionInfo(const QString &value)
{
    updateField(m_data.osVersionInfo, value, &Computer::osVersionInfoChanged);
}

void Computer::setTemplateIdentifier(int value)
{
    updateField(m_data.templateIdentifier, value, &Computer::templateIdentifierChanged);
}

void Computer::setStatus(int value)
{
    if (!updateField(m_data.status, value, &Computer::statusChanged))
        return;
    Q_EMIT capabilitiesChanged();
    Q_EMIT currentBurnRateChanged();
    Q_EMIT listInputsChanged();
}

void Computer::setCreatedTime(qint64 value)
{
    updateField(m_data.createdTime, value, &Computer::createdTimeChanged);
}

void Computer::setLastStartedTime(qint64 value)
{
    if (!updateField(m_data.lastStartedTime, value, &Computer::lastStartedTimeChanged))
        return;
    Q_EMIT listInputsChanged();
}

void Computer::setIsFavourite(bool value)
{
    if (!updateField(m_data.isFavourite, value, &Computer::isFavouriteChanged))
        return;
    Q_EMIT listInputsChanged();
}

void Computer::setUsername(const QString &value)
{
    updateField(m_data.username, value, &Computer::usernameChanged);
}

void Computer::setRdpPublicAddress(const QString &value)
{
    updateField(m_data.rdpPublicAddress, value, &Computer::rdpPublicAddressChanged);
}

void Computer::setComputerIdleTime(int value)
{
    updateField(m_data.computerIdleTime, value, &Computer::computerIdleTimeChanged);
}

void Computer::setComputerPowerOnTime(int value)
{
    updateField(m_data.computerPowerOnTime, value, &Computer::computerPowerOnTimeChanged);
}

void Computer::setComputerPowerOnRate(double value)
{
    if (!updateField(m_data.computerPowerOnRate, value, &Computer::computerPowerOnRateChanged))
        return;
    Q_EMIT currentBurnRateChanged();
    Q_EMIT listInputsChanged();
}

void Computer::setComputerPowerOnCost(double value)
{
    updateField(m_data.computerPowerOnCost, value, &Computer::computerPowerOnCostChanged);
}

void Computer::setComputerIdleCost(double value)
{
    updateField(m_data.computerIdleCost, value, &Computer::computerIdleCostChanged);
}

void Computer::setComputerIdleRate(double value)
{
    if (!updateField(m_data.computerIdleRate, value, &Computer::computerIdleRateChanged))
        return;
    Q_EMIT currentBurnRateChanged();
    Q_EMIT listInputsChanged();
}

void Computer::setComputerTotalCost(double value)
{
    updateField(m_data.computerTotalCost, value, &Computer::computerTotalCostChanged);
}

void Computer::setSessionRunTime(double value)
{
    updateField(m_data.sessionRunTime, value, &Computer::sessionRunTimeChanged);
}

void Computer::setComputerPowerOnTimePs(int value)
{
    updateField(m_data.computerPowerOnTimePs, value, &Computer::computerPowerOnTimePsChanged);
}

void Computer::setComputerIdleTimePs(int value)
{
    updateField(m_data.computerIdleTimePs, value, &Computer::computerIdleTimePsChanged);
}

void Computer::setComputerPowerOnCostPs(double value)
{
    updateField(m_data.computerPowerOnCostPs, value, &Computer::computerPowerOnCostPsChanged);
}

void Computer::setComputerIdleCostPs(double value)
{
    updateField(m_data.computerIdleCostPs, value, &Computer::computerIdleCostPsChanged);
}

void Computer::setComputerLastDatePs(const QString &value)
{
    updateField(m_data.computerLastDatePs, value, &Computer::computerLastDatePsChanged);
}

void Computer::setPriceHistoryStr(const QString &value)
{
    updateField(m_data.priceHistoryStr, value, &Computer::priceHistoryStrChanged);
}

void Computer::setStatusChanging(bool value)
{
    if (!update(m_statusChanging, value, &Computer::statusChangingChanged))
        return;
    Q_EMIT capabilitiesChanged();
    Q_EMIT listInputsChanged();
}

void Computer::setFavouriteStatusChanging(bool value)
{
    update(m_favouriteStatusChanging, value, &Computer::favouriteStatusChangingChanged);
}

void Computer::setVmDataChanging(bool value)
{
    update(m_vmDataChanging, value, &Computer::vmDataChangingChanged);
}

void Computer::setScreenShotUseBuffer1(bool value)
{
    update(m_screenShotUseBuffer1, value, &Computer::screenShotUseBuffer1Changed);
}

void Computer::setB64ScreenshotBuffer1(const QString &value)
{
    update(m_b64ScreenshotBuffer1, value, &Computer::b64ScreenshotBuffer1Changed);
}

void Computer::setB64ScreenshotBuffer2(const QString &value)
{
    update(m_b64ScreenshotBuffer2, value, &Computer::b64ScreenshotBuffer2Changed);
}
