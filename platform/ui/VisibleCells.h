#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/ui/IndexPath.h"
#include "platform/ui/IndexPathRemap.h"
#include "platform/ui/IndexPathSelection.h"
#include "platform/ui/VisibleViews.h"

namespace platform {

// The cells a table or collection shows, by index path, together with its selection: a
// shown cell is selected exactly while its path is. Both follow the data's updates.
template <typename Cell>
class VisibleCells : public VisibleViews<IndexPath, Cell> {
public:
    using Entries = typename VisibleViews<IndexPath, Cell>::Entries;

    const std::vector<IndexPath>& selectedIndexPaths() const { return m_selection.paths(); }
    std::optional<IndexPath> firstSelectedIndexPath() const { return m_selection.first(); }
    bool isSelected(const IndexPath& path) const { return m_selection.contains(path); }
    // Selects or deselects the path and its cell, if shown.
    void setSelected(const IndexPath& path, bool selected) {
        m_selection.set(path, selected);
        if (auto cell = this->find(path)) {
            cell->setSelected(selected);
        }
    }
    // Forgets the selection without touching cells (they are about to be recycled).
    void clearSelection() { m_selection.clear(); }
    // Calls `deselect` for every selected path but `keep` (every one when there is none). It
    // runs over a copy, since deselecting may tell a delegate that changes the selection.
    template <typename Deselect>
    void forEachSelectedOtherThan(const std::optional<IndexPath>& keep,
                                  const Deselect& deselect) const {
        auto selected = m_selection.paths();
        for (const auto& path : selected) {
            if (!keep || path != *keep) {
                deselect(path);
            }
        }
    }
    // Selection by code (no delegate): none deselects all; a single selection lets go of the
    // other paths first.
    void select(const std::optional<IndexPath>& path, bool allowsMultipleSelection) {
        if (!path || !allowsMultipleSelection) {
            forEachSelectedOtherThan(path, [this](const IndexPath& p) { setSelected(p, false); });
        }
        if (path) {
            setSelected(*path, true);
        }
    }

    void setHighlighted(const IndexPath& path, bool highlighted) {
        if (auto cell = this->find(path)) {
            cell->setHighlighted(highlighted);
        }
    }

    // Moves cells and selection through the data's changes; returns the cells whose rows
    // went, once all have been moved.
    Entries follow(const std::vector<IndexPathRemap>& remaps) {
        Entries gone;
        for (const auto& remap : remaps) {
            for (auto& entry : this->remap(remap)) {
                gone.push_back(std::move(entry));
            }
            m_selection.remap(remap);
        }
        return gone;
    }

private:
    IndexPathSelection m_selection;
};

}  // namespace platform
