#include "platform/ui/ScreenEdgePanGestureRecognizer.h"

#include <cmath>

#include "platform/ui/View.h"

namespace platform {

void ScreenEdgePanGestureRecognizer::touchesBegan(const Touches& touches) {
    PanGestureRecognizer::touchesBegan(touches);
    auto owner = view();
    if (!owner) {
        return;
    }
    Point p = locationInView(owner.get());
    Rect b = owner->bounds();
    bool nearLeft = hasAny(m_edges, RectEdge::Left) && p.x - b.minX() <= kEdgeWidth;
    bool nearRight = hasAny(m_edges, RectEdge::Right) && b.maxX() - p.x <= kEdgeWidth;
    if (!nearLeft && !nearRight) {
        setState(GestureState::Failed);
    }
}

bool ScreenEdgePanGestureRecognizer::canBeginWithMovement(Point start, Point current) const {
    double dx = current.x - start.x;
    double dy = current.y - start.y;
    if (std::abs(dx) <= std::abs(dy)) {
        return false;
    }
    return hasAny(m_edges, RectEdge::Left) ? dx > 0 : dx < 0;
}

}  // namespace platform
