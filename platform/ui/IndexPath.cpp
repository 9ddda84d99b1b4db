#include "platform/ui/IndexPath.h"

#include <ostream>

namespace platform {

std::ostream& operator<<(std::ostream& out, const IndexPath& path) {
    return out << "[" << path.section << ", " << path.row << "]";
}

IndexPath indexPathAfterMove(const IndexPath& path, const IndexPath& from, const IndexPath& to) {
    if (path == from) {
        return to;
    }
    IndexPath result = path;
    if (result.section == from.section && result.row > from.row) {
        --result.row;
    }
    if (result.section == to.section && result.row >= to.row) {
        ++result.row;
    }
    return result;
}

IndexPath indexPathAfterInsertion(const IndexPath& path, const IndexPath& inserted) {
    IndexPath result = path;
    if (result.section == inserted.section && result.row >= inserted.row) {
        ++result.row;
    }
    return result;
}

std::optional<IndexPath> indexPathAfterDeletion(const IndexPath& path, const IndexPath& deleted) {
    if (path == deleted) {
        return std::nullopt;
    }
    IndexPath result = path;
    if (result.section == deleted.section && result.row > deleted.row) {
        --result.row;
    }
    return result;
}

}  // namespace platform
