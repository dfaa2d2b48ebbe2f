#pragma once

#include <QObject>
#include <QString>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// The billing page's figures for QML. Every function takes the computer's values as arguments, so a
// binding such as `text: BillingFormat.creditsText(computer.computerPowerOnCost)` follows the computer
// as the session's polling updates it.
class BillingFormat : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    explicit BillingFormat(QObject *parent = nullptr);

    Q_INVOKABLE [[nodiscard]] static QString sessionCostText(double sessionRunTime, double powerOnRate);
    Q_INVOKABLE [[nodiscard]] static QString sessionDetailText(double sessionRunTime, double powerOnRate);
    Q_INVOKABLE [[nodiscard]] static QString creditsText(double credits);
    Q_INVOKABLE [[nodiscard]] static QString approxText(double minutes);
    Q_INVOKABLE [[nodiscard]] static QString currentPeriodTitle(const QString &lastDatePs);
    Q_INVOKABLE [[nodiscard]] static QString periodCostText(double costPs);
    Q_INVOKABLE [[nodiscard]] static QString periodDetailText(double minutesPs, double ratePerHour);
    Q_INVOKABLE [[nodiscard]] static bool showsSessionRow(bool isPoweredOn);
    Q_INVOKABLE [[nodiscard]] static bool showsCurrentPeriod(bool isDeleted);
    Q_INVOKABLE [[nodiscard]] static bool showsPriceHistory(const QString &priceHistoryStr);
    // The earlier price periods, newest first (see PriceHistory::displayRows).
    Q_INVOKABLE [[nodiscard]] static QVariantList priceHistoryRows(const QString &priceHistoryStr);
};
