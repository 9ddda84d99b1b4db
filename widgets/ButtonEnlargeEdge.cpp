#include "widgets/ButtonEnlargeEdge.h"

#include <cmath>

#include "platform/ui/Button.h"

void setEnlargeEdge(platform::Button& button, float size) {
    setEnlargeEdgeWithTop(button, size, size, size, size);
}

void setEnlargeEdgeWithTop(platform::Button& button, float top, float right, float bottom,
                           float left) {
    if (!std::isfinite(top) || !std::isfinite(right) || !std::isfinite(bottom) ||
        !std::isfinite(left)) {
        return;
    }
    // The button's own hit test reads these, so every touch path (hit-testing, tracking)
    // sees the same area.
    button.setTouchAreaOutsets(platform::EdgeInsets{top, left, bottom, right});
}

platform::Rect enlargedRect(const platform::Button& button) {
    platform::Rect bounds = button.bounds();
    const auto& edges = button.touchAreaOutsets();
    if (!edges) {
        return bounds;
    }
    return platform::Rect{{bounds.origin.x - edges->left, bounds.origin.y - edges->top},
                          {bounds.size.width + edges->left + edges->right,
                           bounds.size.height + edges->top + edges->bottom}};
}
