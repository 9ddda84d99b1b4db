#include "platform/ui/IndexPathRemap.h"

#include <algorithm>
#include <functional>

namespace platform {

std::vector<IndexPathRemap> remapsForInsertedItems(std::vector<IndexPath> inserted) {
    // Lowest first: each insertion's path already counts the ones before it.
    std::sort(inserted.begin(), inserted.end());
    std::vector<IndexPathRemap> remaps;
    for (const auto& path : inserted) {
        remaps.emplace_back([path](const IndexPath& p) -> std::optional<IndexPath> {
            return indexPathAfterInsertion(p, path);
        });
    }
    return remaps;
}

std::vector<IndexPathRemap> remapsForDeletedItems(std::vector<IndexPath> deleted) {
    // Highest first: each deletion's path is still the one the caller named.
    std::sort(deleted.begin(), deleted.end(), std::greater<>());
    std::vector<IndexPathRemap> remaps;
    for (const auto& path : deleted) {
        remaps.emplace_back([path](const IndexPath& p) { return indexPathAfterDeletion(p, path); });
    }
    return remaps;
}

std::vector<IndexPathRemap> remapsForInsertedSections(std::vector<int> inserted) {
    std::sort(inserted.begin(), inserted.end());
    std::vector<IndexPathRemap> remaps;
    for (int section : inserted) {
        remaps.emplace_back([section](const IndexPath& p) -> std::optional<IndexPath> {
            return p.section >= section ? IndexPath{p.section + 1, p.row} : p;
        });
    }
    return remaps;
}

std::vector<IndexPathRemap> remapsForDeletedSections(std::vector<int> deleted) {
    std::sort(deleted.begin(), deleted.end(), std::greater<>());
    std::vector<IndexPathRemap> remaps;
    for (int section : deleted) {
        remaps.emplace_back([section](const IndexPath& p) -> std::optional<IndexPath> {
            if (p.section == section) {
                return std::nullopt;
            }
            return p.section > section ? IndexPath{p.section - 1, p.row} : p;
        });
    }
    return remaps;
}

std::vector<IndexPathRemap> remapsForMove(const IndexPath& from, const IndexPath& to) {
    return {[from, to](const IndexPath& p) -> std::optional<IndexPath> {
        return indexPathAfterMove(p, from, to);
    }};
}

}  // namespace platform
