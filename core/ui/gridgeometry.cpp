#include "ui/gridgeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// How far below a whole number a quotient may land and still count as it (double division of a width by
// width / n is off by a few units in the last place).
constexpr double kQuotientTolerance = 1e-6;

// A card, top to bottom (ComputerGridCard.qml): the 1 px rule, 20 px to the preview, the preview,
// 10 px to the 20 px platform line, 5 px to the name row, and the name row's top plus 60 px in all.
constexpr double kRule = 1;
constexpr double kAbovePreview = 20;
constexpr double kPreviewAspect = 1080.0 / 1920.0;
constexpr double kAbovePlatformLine = 10;
constexpr double kPlatformLine = 20;
constexpr double kAboveNameRow = 5;
constexpr double kFromNameRow = 60;

int atLeastOne(double columns)
{
    if (!(columns >= 1))
        return 1;
    return int(std::min(columns, double(std::numeric_limits<int>::max())));
}

} // namespace

int GridGeometry::columnCount(double width, double columnWidth)
{
    if (!std::isfinite(width) || !std::isfinite(columnWidth) || columnWidth <= 0)
        return 1;
    return atLeastOne(std::floor(width / columnWidth + kQuotientTolerance));
}

int GridGeometry::fewestColumns(double width)
{
    return columnCount(width, 600);
}

int GridGeometry::mostColumns(double width)
{
    if (!std::isfinite(width))
        return 1;
    return atLeastOne(std::floor(width / 200) - 1);
}

int GridGeometry::rowCount(int count, int columns)
{
    if (count <= 0)
        return 0;
    columns = std::max(columns, 1);
    return (count + columns - 1) / columns;
}

double GridGeometry::layoutWidth(int columns, double cellWidth)
{
    return (std::max(columns, 1) + 0.5) * cellWidth;
}

double GridGeometry::cardHeight(double cardWidth)
{
    return kRule + kAbovePreview + std::max(cardWidth, 0.0) * kPreviewAspect + kAbovePlatformLine
           + kPlatformLine + kAboveNameRow + kFromNameRow;
}

double GridGeometry::cellHeight(double cellWidth)
{
    return cardHeight(cellWidth - kSpacing) + kSpacing;
}
