#include "platform/ui/IndexPathSelection.h"

#include <algorithm>

namespace platform {

std::optional<IndexPath> IndexPathSelection::first() const {
    if (m_paths.empty()) {
        return std::nullopt;
    }
    return m_paths.front();
}

bool IndexPathSelection::contains(const IndexPath& path) const {
    return std::binary_search(m_paths.begin(), m_paths.end(), path);
}

void IndexPathSelection::set(const IndexPath& path, bool selected) {
    auto it = std::lower_bound(m_paths.begin(), m_paths.end(), path);
    bool present = it != m_paths.end() && *it == path;
    if (selected && !present) {
        m_paths.insert(it, path);
    } else if (!selected && present) {
        m_paths.erase(it);
    }
}

void IndexPathSelection::remap(const IndexPathRemap& remap) {
    std::vector<IndexPath> result;
    for (const auto& path : m_paths) {
        if (auto moved = remap(path)) {
            result.push_back(*moved);
        }
    }
    std::sort(result.begin(), result.end());
    m_paths = std::move(result);
}

}  // namespace platform
