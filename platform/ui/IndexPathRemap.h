#pragma once

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "platform/ui/IndexPath.h"

namespace platform {

// Moves every key of a map keyed by index path through `remap` (IndexPath ->
// std::optional<IndexPath>); entries whose key it drops are handed to `dropped`.
template <typename T, typename Remap, typename Drop>
void remapIndexPathKeys(std::map<IndexPath, T>& map, Remap remap, Drop dropped) {
    std::map<IndexPath, T> result;
    for (auto& [path, value] : map) {
        if (auto moved = remap(path)) {
            result[*moved] = std::move(value);
        } else {
            dropped(path, value);
        }
    }
    map = std::move(result);
}

// The same for a sorted list of index paths; it stays sorted.
template <typename Remap>
void remapIndexPaths(std::vector<IndexPath>& paths, Remap remap) {
    std::vector<IndexPath> result;
    for (const auto& path : paths) {
        if (auto moved = remap(path)) {
            result.push_back(*moved);
        }
    }
    std::sort(result.begin(), result.end());
    paths = std::move(result);
}

}  // namespace platform
