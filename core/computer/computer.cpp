// The record: construction, the list merge's assignment and the property setters with their signals.
#include "computer/computer.h"

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
