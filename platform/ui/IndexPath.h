#pragma once

#include <compare>
#include <iosfwd>
#include <optional>

namespace platform {

// A row of a table or an item of a collection: a section and a position in it. Tables call
// the position `row`, collections `item`; both name the same number.
struct IndexPath {
    int section = 0;
    int row = 0;

    static IndexPath forRow(int row, int section) { return IndexPath{section, row}; }
    static IndexPath forItem(int item, int section) { return IndexPath{section, item}; }
    int item() const { return row; }

    // Section first, then row, as the phone sorts index paths.
    auto operator<=>(const IndexPath&) const = default;
};

std::ostream& operator<<(std::ostream&, const IndexPath&);

// Where an index path stands after the item at `from` moved to `to` (`to` names the slot
// in the final arrangement).
IndexPath indexPathAfterMove(const IndexPath& path, const IndexPath& from, const IndexPath& to);
// Where an index path stands after an item was inserted at `inserted`.
IndexPath indexPathAfterInsertion(const IndexPath& path, const IndexPath& inserted);
// Where an index path stands after the item at `deleted` went; none for that item itself.
std::optional<IndexPath> indexPathAfterDeletion(const IndexPath& path, const IndexPath& deleted);

}  // namespace platform
