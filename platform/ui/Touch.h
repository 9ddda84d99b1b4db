#pragma once

#include <memory>
#include <vector>

#include "platform/graphics/Geometry.h"

namespace platform {

class View;

enum class TouchPhase { Began, Moved, Stationary, Ended, Cancelled };

// One finger on the screen. Locations are kept in the coordinates of the window (the root
// of the view tree) the touch was delivered to.
struct Touch {
    Point location;
    Point previousLocation;
    TouchPhase phase = TouchPhase::Began;
    // The view the touch began in (the hit-test result).
    std::weak_ptr<View> view;

    // null = window coordinates.
    Point locationInView(const View* inView) const;
    Point previousLocationInView(const View* inView) const;
};

using Touches = std::vector<Touch>;

// How far a finger may wander from where it went down and still tap a row or an item. Past it
// the touch is a drag, which on the phone the scroll view takes over, so the row is not
// selected however the finger lifts.
inline constexpr double kTapMovementTolerance = 10;

// Whether the touch is now farther than the tolerance from `began` (window coordinates).
bool movedBeyondTapTolerance(const Touch& touch, Point began);

}  // namespace platform
