#pragma once

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "shell/TileGrid.h"

// The tile editor's arrangement: the live order of the shown and the hidden area, and the rules
// by which a tap or a drag moves a tile between and within them. The tiles' views only mirror
// it: after every change they are laid out from these two arrays, so what the editor shows is
// always what it stores on leaving.
//
// `Tile` is whatever names a tile (the editor uses its tile views; tests use numbers); it is
// compared with == and never looked into.
template <typename Tile>
class TileEditorModel {
public:
    enum class Area { Shown, Hidden };

    // What one drag step did: the area the tile left, the one it went to, and whether it went
    // to the end of that area (rather than into an occupied slot).
    struct Move {
        Area from;
        Area to;
        bool appended;
    };

    TileEditorModel(TileGrid grid, std::vector<Tile> shown, std::vector<Tile> hidden)
        : m_grid(grid), m_shown(std::move(shown)), m_hidden(std::move(hidden)) {}

    const TileGrid& grid() const { return m_grid; }
    const std::vector<Tile>& shown() const { return m_shown; }
    const std::vector<Tile>& hidden() const { return m_hidden; }
    const std::vector<Tile>& area(Area which) const {
        return which == Area::Shown ? m_shown : m_hidden;
    }

    // The area holding the tile, if either does.
    std::optional<Area> areaOf(const Tile& tile) const {
        if (indexIn(m_shown, tile))
            return Area::Shown;
        if (indexIn(m_hidden, tile))
            return Area::Hidden;
        return std::nullopt;
    }

    // S from the live shown count.
    int startRow() const { return m_grid.startRow(m_shown.size()); }
    double headerY() const { return m_grid.headerY(startRow()); }

    // Where the tile belongs now, if it is in either area.
    std::optional<platform::Rect> slotOf(const Tile& tile) const {
        if (auto i = indexIn(m_shown, tile))
            return m_grid.shownSlot(*i);
        if (auto i = indexIn(m_hidden, tile))
            return m_grid.hiddenSlot(*i, startRow());
        return std::nullopt;
    }

    // One step of a drag: the dragged tile's centre is now at `centre`. Over an occupied slot
    // of either area the tile takes that slot; elsewhere above the hidden area's first row it
    // goes to the end of the shown area, and below that to the end of the hidden area.
    // Nothing moves while the shown area is empty, while the centre lies over the first shown
    // slot (that slot is never given away), or while the first shown tile is the one dragged
    // (it always lies under its own centre). The tile is taken by value: it may name an
    // element of the arrays that the step rearranges.
    std::optional<Move> dragTo(Tile tile, platform::Point centre) {
        const auto from = areaOf(tile);
        if (!from || m_shown.empty())
            return std::nullopt;
        if (m_shown.front() == tile || m_grid.shownSlot(0).contains(centre))
            return std::nullopt;
        // The rows of the hidden area are those before this step.
        const int start = startRow();
        if (m_grid.overShownTile(centre, m_shown.size())) {
            take(tile, *from);
            const auto index = m_grid.shownIndexAt(centre, m_shown.size());
            m_shown.insert(m_shown.begin() + static_cast<long>(index), tile);
            return Move{*from, Area::Shown, false};
        }
        if (centre.y < m_grid.hiddenTop(start)) {
            take(tile, *from);
            m_shown.push_back(tile);
            return Move{*from, Area::Shown, true};
        }
        if (m_grid.overHiddenTile(centre, m_hidden.size(), start)) {
            take(tile, *from);
            const auto index = m_grid.hiddenIndexAt(centre, start, m_hidden.size());
            m_hidden.insert(m_hidden.begin() + static_cast<long>(index), tile);
            return Move{*from, Area::Hidden, false};
        }
        if (centre.y > m_grid.hiddenTop(start)) {
            take(tile, *from);
            m_hidden.push_back(tile);
            return Move{*from, Area::Hidden, true};
        }
        return std::nullopt;
    }

    // A tap: the tile goes to the end of the other area. Returns the area it is in now.
    std::optional<Area> tap(Tile tile) {
        const auto from = areaOf(tile);
        if (!from)
            return std::nullopt;
        take(tile, *from);
        const Area to = *from == Area::Shown ? Area::Hidden : Area::Shown;
        mutableArea(to).push_back(tile);
        return to;
    }

private:
    static std::optional<std::size_t> indexIn(const std::vector<Tile>& tiles, const Tile& tile) {
        auto found = std::find(tiles.begin(), tiles.end(), tile);
        if (found == tiles.end())
            return std::nullopt;
        return static_cast<std::size_t>(found - tiles.begin());
    }

    std::vector<Tile>& mutableArea(Area which) { return which == Area::Shown ? m_shown : m_hidden; }

    void take(const Tile& tile, Area from) {
        auto& tiles = mutableArea(from);
        tiles.erase(std::find(tiles.begin(), tiles.end(), tile));
    }

    TileGrid m_grid;
    std::vector<Tile> m_shown;
    std::vector<Tile> m_hidden;
};
