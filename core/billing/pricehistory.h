#pragma once

#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantList>

// One past price period of a computer, as the service's price-history text describes it. Cost and rate
// texts are kept as the service wrote them, units included; the minutes are numbers.
struct PricePeriod {
    Q_GADGET
    Q_PROPERTY(QString runningDate MEMBER runningDate)
    Q_PROPERTY(QString runningCost MEMBER runningCost)
    Q_PROPERTY(double runningMinutes MEMBER runningMinutes)
    Q_PROPERTY(QString runningRate MEMBER runningRate)
    Q_PROPERTY(QString idleCost MEMBER idleCost)
    Q_PROPERTY(double idleMinutes MEMBER idleMinutes)
    Q_PROPERTY(QString idleRate MEMBER idleRate)

public:
    QString runningDate;
    QString runningCost;
    double runningMinutes = 0;
    QString runningRate;
    QString idleCost;
    double idleMinutes = 0;
    QString idleRate;

    bool operator==(const PricePeriod &other) const;
};
Q_DECLARE_METATYPE(PricePeriod)

// Reads a computer's price-history text: periods oldest first, separated by "|| "; each a running part
// and an idle part joined by "**":
//   Running Cost <period> = <cost> (<minutes> minutes @ <rate>) ** Idle Cost <period> = <cost> (...)
namespace PriceHistory {

// The periods, newest first. A piece that does not follow the form (no "**", no " = ", no "(", no
// " minutes @ ", minutes that are not a number) is skipped with a log line; the others still show.
[[nodiscard]] QList<PricePeriod> parse(const QString &text);

// The periods as the billing page shows them: one map per period, newest first, with the texts
// "title" ("Between <date> UTC"), "runningCost" ("<cost> | "), "runningDetail" ("approx. <duration> @
// <rate>"), "idleCost" and "idleDetail".
[[nodiscard]] QVariantList displayRows(const QString &text);

} // namespace PriceHistory
