#pragma once

#include <cstddef>

#include "platform/graphics/Geometry.h"

// The tile editor's grid, in points of the editor's view: where each slot of the shown and the
// hidden area stands, where the hidden area's header goes, and which occupied slot a dragged
// tile's centre lies over. The pitch is 65 both ways; the shown area's first row is at y 50
// and every row starts at x 25. Pure arithmetic, so the drag rules can be tested without views.
class TileGrid {
public:
    static constexpr double kPitch = 65;
    static constexpr double kLeft = 25;
    static constexpr double kTop = 50;
    // The hidden area's header bar sits this far below the top of its start row's pitch.
    static constexpr double kHeaderOffset = 7;
    static constexpr double kHeaderHeight = 27;

    // Tiles per row: 4 on a screen exactly 320 points wide, 5 on any other.
    static int rowCountForScreenWidth(double width);

    explicit TileGrid(int rowCount);

    // kRowNo.
    int rowCount() const { return m_rowCount; }

    // S: the row the hidden area starts at, with `shownCount` tiles shown: the shown rows plus
    // one row for the hidden area's header (1 for an empty shown area).
    int startRow(std::size_t shownCount) const;
    platform::Rect shownSlot(std::size_t index) const;
    platform::Rect hiddenSlot(std::size_t index, int startRow) const;
    double headerY(int startRow) const;
    // The top of the hidden area's first row.
    double hiddenTop(int startRow) const;

    // Where the centre of a dragged tile is: the finger at `location` (in the editor's view)
    // holds the tile at `grab` (in the tile's own coordinates).
    static platform::Point dragCentre(platform::Point location, platform::Point grab);

    // Whether the centre lies over an occupied slot of the shown area holding `count` tiles
    // (`buttonInArrayArea1:Point:`), or of the hidden area (`buttonInArrayArea2:Point:`).
    // The empty rest of the last row and the slots past it are not hits.
    bool overShownTile(platform::Point centre, std::size_t count) const;
    bool overHiddenTile(platform::Point centre, std::size_t count, int startRow) const;

    // The index of the slot under the centre, counted from the area's first slot and never
    // past `limit` (the area's count once the dragged tile has left it).
    std::size_t shownIndexAt(platform::Point centre, std::size_t limit) const;
    std::size_t hiddenIndexAt(platform::Point centre, int startRow, std::size_t limit) const;

private:
    bool overTile(platform::Point centre, std::size_t count, double top) const;
    std::size_t indexAt(platform::Point centre, double top, std::size_t limit) const;

    int m_rowCount;
};
