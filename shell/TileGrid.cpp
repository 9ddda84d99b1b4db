#include "shell/TileGrid.h"

#include <algorithm>

using platform::Point;
using platform::Rect;

int TileGrid::rowCountForScreenWidth(double width) {
    return width == 320 ? 4 : 5;
}

TileGrid::TileGrid(int rowCount) : m_rowCount(std::max(1, rowCount)) {}

int TileGrid::startRow(std::size_t shownCount) const {
    const int n = static_cast<int>(shownCount);
    return n / m_rowCount + (n % m_rowCount != 0 ? 2 : 1);
}

Rect TileGrid::shownSlot(std::size_t index) const {
    const int i = static_cast<int>(index);
    return {{kLeft + kPitch * (i % m_rowCount), kTop + kPitch * (i / m_rowCount)},
            {kPitch, kPitch}};
}

Rect TileGrid::hiddenSlot(std::size_t index, int startRow) const {
    return shownSlot(index).offsetBy(0, kPitch * startRow);
}

double TileGrid::headerY(int startRow) const {
    return kPitch * startRow + kHeaderOffset;
}

double TileGrid::hiddenTop(int startRow) const {
    return kPitch * startRow + kTop;
}

Point TileGrid::dragCentre(Point location, Point grab) {
    // Half the pitch, in whole points.
    constexpr double kHalf = 32;
    return {location.x - grab.x + kHalf, location.y - grab.y + kHalf};
}

bool TileGrid::overTile(Point m, std::size_t count, double top) const {
    if (!(m.x > kLeft))
        return false;
    const int n = static_cast<int>(count);
    const int fullRows = n / m_rowCount;
    const int lastRow = n % m_rowCount;
    const double fullBottom = top + kPitch * fullRows;
    if (m.y > top && m.x < kPitch * m_rowCount + kLeft && m.y < fullBottom)
        return true;
    return m.x < kPitch * lastRow + kLeft && m.y > fullBottom && m.y < fullBottom + kPitch;
}

bool TileGrid::overShownTile(Point centre, std::size_t count) const {
    return overTile(centre, count, kTop);
}

bool TileGrid::overHiddenTile(Point centre, std::size_t count, int startRow) const {
    return overTile(centre, count, hiddenTop(startRow));
}

std::size_t TileGrid::indexAt(Point m, double top, std::size_t limit) const {
    // Whole points, and division that truncates toward zero: a centre a little left of or
    // above the area still counts as its first column or row.
    const int column = (static_cast<int>(m.x) - static_cast<int>(kLeft)) / static_cast<int>(kPitch);
    const int row = (static_cast<int>(m.y) - static_cast<int>(top)) / static_cast<int>(kPitch);
    const int index = column + m_rowCount * row;
    // A hit means an occupied slot, so the index never passes the count; the bound keeps an
    // insertion inside the array whatever the caller asks.
    return std::min(static_cast<std::size_t>(std::max(0, index)), limit);
}

std::size_t TileGrid::shownIndexAt(Point centre, std::size_t limit) const {
    return indexAt(centre, kTop, limit);
}

std::size_t TileGrid::hiddenIndexAt(Point centre, int startRow, std::size_t limit) const {
    return indexAt(centre, hiddenTop(startRow), limit);
}
