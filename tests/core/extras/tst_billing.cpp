// The billing page's figures and number formats, and the price-history parser.
#include "billing/billingfigures.h"
#include "billing/billingformat.h"
#include "billing/pricehistory.h"

#include <QRegularExpression>
#include <QTest>
#include <QVariantMap>

namespace {

QString piece(const QString &from, const QString &to, const QString &runCost, int runMinutes,
              const QString &runRate, const QString &idleCost, int idleMinutes, const QString &idleRate)
{
    const QString period = QStringLiteral("(%1) - (%2)").arg(from, to);
    return QStringLiteral("Running Cost %1 = %2 (%3 minutes @ %4) ** Idle Cost %1 = %5 (%6 minutes @ %7)")
        .arg(period, runCost)
        .arg(runMinutes)
        .arg(runRate, idleCost)
        .arg(idleMinutes)
        .arg(idleRate);
}

} // namespace

class TestBilling : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void figures_data()
    {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<QString>("expected");
        // 90 minutes at 0.5 credits/h: 0.75 credits.
        QTest::newRow("session cost") << BillingFormat::sessionCostText(90, 0.5) << "0.75000 credits";
        QTest::newRow("session cost rounds to five decimals")
            << BillingFormat::sessionCostText(1, 0.123456) << "0.00206 credits";
        QTest::newRow("approx") << BillingFormat::approxText(3 * 24 * 60 + 5) << "approx. 3:00:05 (D:h:m)";
        QTest::newRow("period cost") << BillingFormat::periodCostText(1.5) << "1.5 credits | ";
        QTest::newRow("period detail")
            << BillingFormat::periodDetailText(45, 0.25) << "approx. 45 (min) @ 0.25 credits/hour";
        // Numbers as a script would print them.
        QTest::newRow("whole") << BillingFigures::plainNumber(1.0) << "1";
        QTest::newRow("zero") << BillingFigures::plainNumber(0.0) << "0";
        QTest::newRow("negative zero") << BillingFigures::plainNumber(-0.0) << "0";
        QTest::newRow("float noise kept") << BillingFigures::plainNumber(0.1 + 0.2) << "0.30000000000000004";
        QTest::newRow("small, not in exponent form") << BillingFigures::plainNumber(0.00001) << "0.00001";
        QTest::newRow("large") << BillingFigures::plainNumber(123456.5) << "123456.5";
        QTest::newRow("negative") << BillingFigures::plainNumber(-2.25) << "-2.25";
    }

    void figures()
    {
        QFETCH(QString, actual);
        QFETCH(QString, expected);
        QCOMPARE(actual, expected);
    }

    void priceHistoryMalformed_data()
    {
        QTest::addColumn<QString>("bad");
        QTest::newRow("no **") << QStringLiteral("Running Cost (x) = 1 credits (10 minutes @ 0.1 credits/h)");
        QTest::newRow("no =") << QStringLiteral(
            "Running Cost (x) 1 credits (10 minutes @ 0.1) ** Idle Cost (x) = 2 "
            "credits (20 minutes @ 0.2)");
        QTest::newRow("no minutes @")
            << QStringLiteral("Running Cost (x) = 1 credits (10 min at 0.1) ** Idle Cost (x) "
                              "= 2 credits (20 minutes @ 0.2)");
        QTest::newRow("no parenthesis")
            << QStringLiteral("Running Cost (x) = 1 credits ** Idle Cost (x) = 2 credits");
        QTest::newRow("minutes not a number") << QStringLiteral(
            "Running Cost (x) = 1 credits (ten minutes @ 0.1) ** Idle Cost (x) = 2 credits (20 "
            "minutes @ 0.2)");
        QTest::newRow("garbage") << QStringLiteral("\u0000**==((");
        QTest::newRow("only empty pieces around it") << QString();
    }

    void priceHistoryMalformed()
    {
        QFETCH(QString, bad);
        const QString good = piece(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("1 credits"), 10,
                                   QStringLiteral("0.1 credits/h"), QStringLiteral("2 credits"), 20,
                                   QStringLiteral("0.2 credits/h"));
        if (!bad.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("price history: skipped")));
        // The bad piece sits between two good ones; both good ones still show.
        const QString text = good + QStringLiteral("|| ") + bad + QStringLiteral("|| ") + good;
        const QList<PricePeriod> periods = PriceHistory::parse(text);
        QCOMPARE(periods.size(), 2);
        for (const PricePeriod &p : periods) {
            QCOMPARE(p.runningRate, QStringLiteral("0.1 credits/h"));
            QCOMPARE(p.idleRate, QStringLiteral("0.2 credits/h"));
        }
    }

    void priceHistoryRows()
    {
        const QString text =
            piece(QStringLiteral("2024-01-01 00:00:00"), QStringLiteral("2024-01-02 00:00:00"),
                  QStringLiteral("1.20 credits"), 90, QStringLiteral("0.8000 credits/h"),
                  QStringLiteral("0.10 credits"), 1350, QStringLiteral("0.0044 credits/h"));
        const QVariantList rows = BillingFormat::priceHistoryRows(text);
        QCOMPARE(rows.size(), 1);
        const QVariantMap row = rows.first().toMap();
        QCOMPARE(row.value("title").toString(),
                 QStringLiteral("Between (2024-01-01 00:00:00) - (2024-01-02 00:00:00) UTC"));
        QCOMPARE(row.value("runningCost").toString(), QStringLiteral("1.20 credits  | "));
        QCOMPARE(row.value("runningDetail").toString(),
                 QStringLiteral("approx. 1:30 (h:m) @ 0.8000 credits/h"));
        QCOMPARE(row.value("idleDetail").toString(),
                 QStringLiteral("approx. 22:30 (h:m) @ 0.0044 credits/h"));
        QVERIFY(BillingFormat::priceHistoryRows(QString()).isEmpty());
        QVERIFY(BillingFormat::priceHistoryRows(QStringLiteral("|| || ")).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestBilling)
#include "tst_billing.moc"
