// The card grids' arithmetic, swept over the widths a window can give the page: the column count that
// sizes a grid is the one its view lays out, and every card lies inside the grid's drawn area.

#include "ui/gridgeometry.h"

#include <QTest>

#include <cmath>
#include <limits>

namespace {

// What a grid view lays out for a width and a cell width: as many whole cells as fit, at least one.
int viewColumns(double viewWidth, double cellWidth)
{
    return std::max(1, int(std::floor(viewWidth / cellWidth)));
}

} // namespace

class TestGridGeometry : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Content widths 300-2600 px in quarter pixels, the slider's 1-12 columns and a few fixed column widths,
    // 0-15 favourites beside a main grid of up to two rows and a bit.
    void everyCardInsideTheDrawnArea()
    {
        const double fixedWidths[] = {200, 250, 340, 341.5, 480, 600};
        int checked = 0;
        for (double width = 300; width <= 2600; width += 0.25) {
            for (int choice = -int(std::size(fixedWidths)); choice <= 12; ++choice) {
                if (choice == 0)
                    continue;
                // A slider choice sets the column width to width / n; the columns must then be n.
                const double columnWidth = choice > 0 ? width / choice : fixedWidths[-choice - 1];
                const int columns = GridGeometry::columnCount(width, columnWidth);
                if (choice > 0 && columns != choice)
                    QFAIL(qPrintable(QStringLiteral("width %1: chose %2 columns, got %3").arg(width).arg(choice).arg(columns)));
                if (choice < 0 && columns != std::max(1, int(std::floor(width / columnWidth))))
                    QFAIL(qPrintable(QStringLiteral("width %1, column width %2: %3 columns").arg(width).arg(columnWidth).arg(columns)));

                // The main grid: its view lays out the columns that size its height, inside its width.
                const double cellWidth = width / columns;
                const int laidOut = viewColumns(GridGeometry::layoutWidth(columns, cellWidth), cellWidth);
                if (laidOut != columns)
                    QFAIL(qPrintable(QStringLiteral("width %1: %2 columns, the view lays out %3").arg(width).arg(columns).arg(laidOut)));
                const double cellHeight = GridGeometry::cellHeight(cellWidth);
                for (int count = 1; count <= 2 * columns + 1; ++count) {
                    const double height = GridGeometry::rowCount(count, columns) * cellHeight;
                    const int last = count - 1;
                    const double right = (last % laidOut + 1) * cellWidth;
                    const double bottom = (last / laidOut + 1) * cellHeight;
                    if (right > width + 1e-6 || bottom > height + 1e-6)
                        QFAIL(qPrintable(QStringLiteral("width %1, %2 columns, %3 cards: the last card outside")
                                             .arg(width).arg(columns).arg(count)));
                }

                // The favourites strip: one row of its cards, in the main grid's cells (or in the column
                // width when there is no main grid), as wide as its cards.
                for (const double stripCell : {cellWidth, columnWidth}) {
                    for (int favourites = 0; favourites <= 15; ++favourites) {
                        const int stripColumns = std::max(favourites, 1);
                        const double stripWidth = stripCell * stripColumns;
                        const int stripLaidOut = viewColumns(GridGeometry::layoutWidth(stripColumns, stripCell), stripCell);
                        if (stripLaidOut != stripColumns || favourites * stripCell > stripWidth + 1e-6)
                            QFAIL(qPrintable(QStringLiteral("width %1, %2 favourites: the view lays out %3 columns")
                                                 .arg(width).arg(favourites).arg(stripLaidOut)));
                        ++checked;
                    }
                }
            }
        }
        QVERIFY(checked > 1000000);
    }

    void oddValues_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("columnWidth");
        QTest::addColumn<int>("columns");
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("narrower than a column") << 150.0 << 340.0 << 1;
        QTest::newRow("zero width") << 0.0 << 340.0 << 1;
        QTest::newRow("zero column width") << 1024.0 << 0.0 << 1;
        QTest::newRow("negative column width") << 1024.0 << -340.0 << 1;
        QTest::newRow("column width not a number") << 1024.0 << nan << 1;
        QTest::newRow("width not a number") << nan << 340.0 << 1;
        QTest::newRow("infinite column width") << 1024.0 << inf << 1;
    }
    void oddValues()
    {
        QFETCH(double, width);
        QFETCH(double, columnWidth);
        QFETCH(int, columns);
        QCOMPARE(GridGeometry::columnCount(width, columnWidth), columns);
    }

    void sliderEnds_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<int>("fewest");
        QTest::addColumn<int>("most");
        QTest::newRow("narrow") << 300.0 << 1 << 1;
        QTest::newRow("1024") << 1024.0 << 1 << 4;
        QTest::newRow("1200") << 1200.0 << 2 << 5;
        QTest::newRow("2600") << 2600.0 << 4 << 12;
    }
    void sliderEnds()
    {
        QFETCH(double, width);
        QFETCH(int, fewest);
        QFETCH(int, most);
        QCOMPARE(GridGeometry::fewestColumns(width), fewest);
        QCOMPARE(GridGeometry::mostColumns(width), most);
    }

    // The row height follows the cell width alone: the card's fixed parts and its 16:9 preview.
    void rowHeight()
    {
        QCOMPARE(GridGeometry::cellHeight(340), 132 + (340 - 16) * 9.0 / 16);
        QCOMPARE(GridGeometry::cardHeight(0), 116.0);
        QCOMPARE(GridGeometry::rowCount(0, 3), 0);
        QCOMPARE(GridGeometry::rowCount(7, 3), 3);
        QCOMPARE(GridGeometry::rowCount(7, 0), 7);
    }
};

QTEST_APPLESS_MAIN(TestGridGeometry)

#include "tst_gridgeometry.moc"
