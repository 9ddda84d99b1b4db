#pragma once

#include "platform/ui/PanGestureRecognizer.h"

namespace platform {

// The pan recogniser a scroll view carries: it begins only when the finger moves a way the
// scroll view can scroll (so a vertical table inside a horizontal pager leaves sideways
// swipes to the pager), and drives the scroll view's drag.
class ScrollViewPanGestureRecognizer : public PanGestureRecognizer {
public:
    ScrollViewPanGestureRecognizer();

protected:
    bool canBeginWithMovement(Point start, Point current) const override;

private:
    void drive();

    Point m_lastTranslation;
    bool m_dragging{false};
};

}  // namespace platform
