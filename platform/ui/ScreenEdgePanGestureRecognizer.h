#pragma once

#include "platform/ui/PanGestureRecognizer.h"
#include "platform/ui/RectEdge.h"

namespace platform {

// A pan that must start next to one edge of its view (Left or Right) and move away from it.
class ScreenEdgePanGestureRecognizer : public PanGestureRecognizer {
public:
    using PanGestureRecognizer::PanGestureRecognizer;

    static constexpr double kEdgeWidth = 20;

    RectEdge edges() const { return m_edges; }
    void setEdges(RectEdge edges) { m_edges = edges; }

    void touchesBegan(const Touches& touches) override;

protected:
    bool canBeginWithMovement(Point start, Point current) const override;

private:
    RectEdge m_edges{RectEdge::Left};
};

}  // namespace platform
