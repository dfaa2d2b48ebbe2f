#include "billingformat.h"

#include "billingfigures.h"
#include "pricehistory.h"

BillingFormat::BillingFormat(QObject *parent) : QObject(parent)
{
}

QString BillingFormat::sessionCostText(double sessionRunTime, double powerOnRate)
{
    return BillingFigures::creditsText(BillingFigures::sessionCost(sessionRunTime, powerOnRate));
}

QString BillingFormat::sessionDetailText(double sessionRunTime, double powerOnRate)
{
    return BillingFigures::sessionDetailText(sessionRunTime, powerOnRate);
}

QString BillingFormat::creditsText(double credits)
{
    return BillingFigures::creditsText(credits);
}

QString BillingFormat::approxText(double minutes)
{
    return BillingFigures::approxText(minutes);
}

QString BillingFormat::currentPeriodTitle(const QString &lastDatePs)
{
    return BillingFigures::currentPeriodTitle(lastDatePs);
}

QString BillingFormat::periodCostText(double costPs)
{
    return BillingFigures::periodCostText(costPs);
}

QString BillingFormat::periodDetailText(double minutesPs, double ratePerHour)
{
    return BillingFigures::periodDetailText(minutesPs, ratePerHour);
}

bool BillingFormat::showsSessionRow(bool isPoweredOn)
{
    return BillingFigures::showsSessionRow(isPoweredOn);
}

bool BillingFormat::showsCurrentPeriod(bool isDeleted)
{
    return BillingFigures::showsCurrentPeriod(isDeleted);
}

bool BillingFormat::showsPriceHistory(const QString &priceHistoryStr)
{
    return BillingFigures::showsPriceHistory(priceHistoryStr);
}

QVariantList BillingFormat::priceHistoryRows(const QString &priceHistoryStr)
{
    return PriceHistory::displayRows(priceHistoryStr);
}
