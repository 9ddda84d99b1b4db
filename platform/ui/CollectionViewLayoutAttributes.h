#pragma once

#include <string>

#include "platform/graphics/Geometry.h"
#include "platform/ui/IndexPath.h"

namespace platform {

enum class CollectionElementCategory { Cell, SupplementaryView };

// The supplementary kinds a flow layout makes.
inline constexpr char kCollectionElementKindSectionHeader[] =
    "UICollectionElementKindSectionHeader";
inline constexpr char kCollectionElementKindSectionFooter[] =
    "UICollectionElementKindSectionFooter";

// Where a layout puts one item or supplementary view (the phone's
// UICollectionViewLayoutAttributes), in content coordinates.
struct CollectionViewLayoutAttributes {
    IndexPath indexPath;
    Rect frame;
    CollectionElementCategory category = CollectionElementCategory::Cell;
    // The supplementary kind; empty for cells.
    std::string kind;
    int zIndex = 0;
    bool hidden = false;
    double alpha = 1;

    Point center() const { return {frame.midX(), frame.midY()}; }
    Size size() const { return frame.size; }
};

}  // namespace platform
