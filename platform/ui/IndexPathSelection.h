#pragma once

#include <optional>
#include <vector>

#include "platform/ui/IndexPath.h"
#include "platform/ui/IndexPathRemap.h"

namespace platform {

// The selected rows of a table or items of a collection, kept in index path order (the
// order the phone reports them in).
class IndexPathSelection {
public:
    const std::vector<IndexPath>& paths() const { return m_paths; }
    std::optional<IndexPath> first() const;
    bool contains(const IndexPath& path) const;
    void set(const IndexPath& path, bool selected);
    void clear() { m_paths.clear(); }
    // Selected rows follow their row; a row that went is no longer selected.
    void remap(const IndexPathRemap& remap);

private:
    std::vector<IndexPath> m_paths;
};

}  // namespace platform
