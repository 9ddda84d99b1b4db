#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "platform/ui/IndexPath.h"

namespace platform {

// Where an index path stands after one change to the data; none when its row or item went.
using IndexPathRemap = std::function<std::optional<IndexPath>(const IndexPath&)>;

// The changes tables and collections follow, each as the remaps to apply in order to their
// shown cells and selection. Several rows inserted (or deleted) at once are taken one at a
// time, in the order that keeps the later ones' paths meaningful.
std::vector<IndexPathRemap> remapsForInsertedItems(std::vector<IndexPath> inserted);
std::vector<IndexPathRemap> remapsForDeletedItems(std::vector<IndexPath> deleted);
std::vector<IndexPathRemap> remapsForInsertedSections(std::vector<int> inserted);
std::vector<IndexPathRemap> remapsForDeletedSections(std::vector<int> deleted);
std::vector<IndexPathRemap> remapsForMove(const IndexPath& from, const IndexPath& to);

}  // namespace platform
