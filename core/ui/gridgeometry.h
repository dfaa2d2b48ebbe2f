#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

// The arithmetic of the computers page's card grids, in one place so that the column count that sizes a
// grid is the one its view lays out, and so that a row's height never depends on which cards happen to
// be built. Widths are in pixels, as the views have them.
class GridGeometry : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    // The gap between cards: each card keeps half of it on either side and below itself.
    static constexpr int kSpacing = 16;

    using QObject::QObject;

    // Columns of at least `columnWidth` that fit in `width`, at least one. A width of exactly n columns
    // counts n even when the division lands a hair below n (the grid-size slider sets the column width to
    // width / n). A column width that is not a positive number gives one column.
    Q_INVOKABLE [[nodiscard]] static int columnCount(double width, double columnWidth);
    // The ends of the grid-size slider: the fewest columns (600 px each) and the most (200 px each, less one).
    Q_INVOKABLE [[nodiscard]] static int fewestColumns(double width);
    Q_INVOKABLE [[nodiscard]] static int mostColumns(double width);
    // The rows that `count` cards take in `columns` columns.
    Q_INVOKABLE [[nodiscard]] static int rowCount(int count, int columns);
    // The width to give a grid view with cells `cellWidth` wide so that it lays out exactly `columns` of
    // them: half a cell more than the columns need, so that no rounding of the view's own division of its
    // width by the cell width can take a column away or add one.
    Q_INVOKABLE [[nodiscard]] static double layoutWidth(int columns, double cellWidth);
    // A card's height at a given width: its fixed parts (rule, gaps, platform line, name row, user name)
    // and the 16:9 preview, which is as wide as the card.
    Q_INVOKABLE [[nodiscard]] static double cardHeight(double cardWidth);
    // A cell's height for a given cell width: the card (the cell less the spacing) and the spacing below it.
    Q_INVOKABLE [[nodiscard]] static double cellHeight(double cellWidth);
};
