#include "platform/ui/Touch.h"

#include "platform/ui/View.h"

namespace platform {

Point Touch::locationInView(const View* inView) const {
    return inView ? inView->convertPointFrom(location, nullptr) : location;
}

bool movedBeyondTapTolerance(const Touch& touch, Point began) {
    const double dx = touch.location.x - began.x;
    const double dy = touch.location.y - began.y;
    return dx * dx + dy * dy > kTapMovementTolerance * kTapMovementTolerance;
}

Point Touch::previousLocationInView(const View* inView) const {
    return inView ? inView->convertPointFrom(previousLocation, nullptr) : previousLocation;
}

}  // namespace platform
