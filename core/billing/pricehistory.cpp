#include "pricehistory.h"

#include "logging.h"
#include "utils/utils.h"

#include <QVariantMap>
#include <optional>

namespace {

const QString kRunningPrefix = QStringLiteral("Running Cost ");
const QString kEquals = QStringLiteral(" = ");
const QString kMinutesAt = QStringLiteral(" minutes @ ");

// "<cost> (<minutes> minutes @ <rest>": the cost text, the minutes and what follows " minutes @ ".
struct CostPart {
    QString cost;
    double minutes = 0;
    QString rest;
};

std::optional<CostPart> costPart(const QString &afterEquals)
{
    const qsizetype open = afterEquals.indexOf(QLatin1Char('('));
    if (open < 0)
        return std::nullopt;
    const QString inner = afterEquals.mid(open + 1);
    const qsizetype at = inner.indexOf(kMinutesAt);
    if (at < 0)
        return std::nullopt;
    bool ok = false;
    const double minutes = inner.left(at).trimmed().toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return CostPart{afterEquals.left(open), minutes, inner.mid(at + kMinutesAt.size())};
}

std::optional<PricePeriod> parsePiece(const QString &piece)
{
    const qsizetype stars = piece.indexOf(QLatin1String("**"));
    if (stars < 0)
        return std::nullopt;
    const QString running = piece.left(stars);
    QString idle = piece.mid(stars + 2);
    // A third "**" would belong to nothing: only the first two parts count.
    const qsizetype moreStars = idle.indexOf(QLatin1String("**"));
    if (moreStars >= 0)
        idle.truncate(moreStars);

    const qsizetype runningEq = running.indexOf(kEquals);
    const qsizetype idleEq = idle.indexOf(kEquals);
    if (runningEq < 0 || idleEq < 0)
        return std::nullopt;
    const auto run = costPart(running.mid(runningEq + kEquals.size()));
    const auto idl = costPart(idle.mid(idleEq + kEquals.size()));
    if (!run || !idl)
        return std::nullopt;

    PricePeriod period;
    QString date = running.left(runningEq).trimmed();
    if (date.startsWith(kRunningPrefix.trimmed()))
        date = date.mid(kRunningPrefix.trimmed().size()).trimmed();
    period.runningDate = date;
    period.runningCost = run->cost;
    period.runningMinutes = run->minutes;
    // "<rate>) ": the closing parenthesis and the blank before "**" are not part of the rate.
    QString runRate = run->rest.trimmed();
    if (runRate.endsWith(QLatin1Char(')')))
        runRate.chop(1);
    period.runningRate = runRate;
    period.idleCost = idl->cost;
    period.idleMinutes = idl->minutes;
    const qsizetype close = idl->rest.indexOf(QLatin1Char(')'));
    period.idleRate = (close < 0 ? idl->rest : idl->rest.left(close)).trimmed();
    return period;
}

} // namespace

bool PricePeriod::operator==(const PricePeriod &o) const
{
    return runningDate == o.runningDate && runningCost == o.runningCost &&
           runningMinutes == o.runningMinutes && runningRate == o.runningRate && idleCost == o.idleCost &&
           idleMinutes == o.idleMinutes && idleRate == o.idleRate;
}

namespace PriceHistory {

QList<PricePeriod> parse(const QString &text)
{
    QList<PricePeriod> periods;
    const QStringList pieces = text.split(QStringLiteral("|| "), Qt::SkipEmptyParts);
    for (const QString &piece : pieces) {
        if (piece.trimmed().isEmpty())
            continue;
        if (const auto period = parsePiece(piece))
            periods.prepend(*period); // newest first
        else
            qCWarning(lcCore).noquote()
                << "price history: skipped a period that does not follow the form:" << piece.left(300);
    }
    return periods;
}

QVariantList displayRows(const QString &text)
{
    QVariantList rows;
    for (const PricePeriod &p : parse(text)) {
        rows.append(QVariantMap{
            {QStringLiteral("title"), QStringLiteral("Between ") + p.runningDate + QStringLiteral(" UTC")},
            {QStringLiteral("runningCost"), p.runningCost + QStringLiteral(" | ")},
            {QStringLiteral("runningDetail"), QStringLiteral("approx. ") +
                                                  Utils::formatMinutes(p.runningMinutes) +
                                                  QStringLiteral(" @ ") + p.runningRate},
            {QStringLiteral("idleCost"), p.idleCost + QStringLiteral(" | ")},
            {QStringLiteral("idleDetail"), QStringLiteral("approx. ") + Utils::formatMinutes(p.idleMinutes) +
                                               QStringLiteral(" @ ") + p.idleRate},
        });
    }
    return rows;
}

} // namespace PriceHistory
