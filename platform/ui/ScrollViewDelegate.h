#pragma once

#include <memory>

#include "platform/graphics/Geometry.h"

namespace platform {

class ScrollView;
class View;

// The phone's UIScrollViewDelegate. Every method is optional; the defaults do what "not
// implemented" does. Table and collection delegates derive from it (virtually, so one class
// can serve both).
class ScrollViewDelegate {
public:
    virtual ~ScrollViewDelegate() = default;

    // Every change of the content offset: drags, deceleration, offsets set in code.
    virtual void scrollViewDidScroll(ScrollView& /*scrollView*/) {}
    virtual void scrollViewWillBeginDragging(ScrollView& /*scrollView*/) {}
    // The finger lifts; `targetContentOffset` is where the content will come to rest and may
    // be changed. `velocity` gives the direction of the release (points per millisecond).
    virtual void scrollViewWillEndDragging(ScrollView& /*scrollView*/, Point /*velocity*/,
                                           Point& /*targetContentOffset*/) {}
    virtual void scrollViewDidEndDragging(ScrollView& /*scrollView*/, bool /*willDecelerate*/) {}
    virtual void scrollViewWillBeginDecelerating(ScrollView& /*scrollView*/) {}
    virtual void scrollViewDidEndDecelerating(ScrollView& /*scrollView*/) {}
    // After setContentOffset(..., animated = true), once the animation's time has passed.
    virtual void scrollViewDidEndScrollingAnimation(ScrollView& /*scrollView*/) {}

    // The view that zooming scales; none means the scroll view does not zoom.
    virtual std::shared_ptr<View> viewForZoomingInScrollView(ScrollView& /*scrollView*/) {
        return nullptr;
    }
    virtual void scrollViewWillBeginZooming(ScrollView& /*scrollView*/, View* /*view*/) {}
    virtual void scrollViewDidZoom(ScrollView& /*scrollView*/) {}
    virtual void scrollViewDidEndZooming(ScrollView& /*scrollView*/, View* /*view*/,
                                         double /*scale*/) {}

    // A tap on the status bar.
    virtual bool scrollViewShouldScrollToTop(ScrollView& /*scrollView*/) { return true; }
    virtual void scrollViewDidScrollToTop(ScrollView& /*scrollView*/) {}
};

}  // namespace platform
