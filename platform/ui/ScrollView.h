#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/View.h"

namespace platform {

class PanGestureRecognizer;
class ScrollViewDelegate;
class ScrollViewObserver;

// The phone's UIScrollView. The content offset is the bounds origin: the point of the
// content shown at the view's top-left corner. Nothing moves by itself; the content moves
// when code sets the offset, when a finger drags it (a pan recogniser on the view, fed by
// the window's touches), or through the scripted gestures below, which the tests and the
// UI driver use. Every gesture tells the delegate what the phone tells it, in the phone's
// order, and decelerates at once (no momentum is simulated).
class ScrollView : public View {
public:
    ScrollView();
    explicit ScrollView(const Rect& frame);
    ~ScrollView() override;

    std::shared_ptr<ScrollViewDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<ScrollViewDelegate> delegate) {
        m_delegate = std::move(delegate);
    }
    // Observers hear of scrolls, the end of drags and content size changes beside the
    // delegate (controls inside the scroll view that must not take the delegate's place).
    void addObserver(std::weak_ptr<ScrollViewObserver> observer);
    void removeObserver(const ScrollViewObserver* observer);

    // --- Content --------------------------------------------------------------------------
    Point contentOffset() const { return bounds().origin; }
    // Reports scrollViewDidScroll when the offset changes, nothing else.
    void setContentOffset(Point offset);
    // Animated: the offset applies at once (reported through scrollViewDidScroll) and
    // scrollViewDidEndScrollingAnimation follows after kScrollAnimationDuration on the
    // run loop's clock. Nothing is reported when the offset does not change.
    void setContentOffset(Point offset, bool animated);
    Size contentSize() const { return m_contentSize; }
    // A content that shrinks below the shown offset pulls the offset back, unless a finger
    // holds it.
    void setContentSize(Size size);
    const EdgeInsets& contentInset() const { return m_contentInset; }
    void setContentInset(const EdgeInsets& inset);
    const EdgeInsets& scrollIndicatorInsets() const { return m_scrollIndicatorInsets; }
    void setScrollIndicatorInsets(const EdgeInsets& insets) { m_scrollIndicatorInsets = insets; }
    // The range the offset rests in: from minus the top/left insets to the content's far
    // edge (plus insets) less the view's size, never below the minimum.
    Point minimumContentOffset() const;
    Point maximumContentOffset() const;
    // Scrolls as little as possible to show the rect (content coordinates), within the range.
    void scrollRectToVisible(const Rect& rect, bool animated);
    // A tap on the status bar: scrolls to the top when scrollsToTop is on and the delegate
    // agrees. Returns whether it scrolled.
    bool scrollToTop();

    // --- Behaviour ------------------------------------------------------------------------
    bool isPagingEnabled() const { return m_pagingEnabled; }
    void setPagingEnabled(bool enabled) { m_pagingEnabled = enabled; }
    bool bounces() const { return m_bounces; }
    void setBounces(bool bounces) { m_bounces = bounces; }
    bool alwaysBounceVertical() const { return m_alwaysBounceVertical; }
    void setAlwaysBounceVertical(bool value) { m_alwaysBounceVertical = value; }
    bool alwaysBounceHorizontal() const { return m_alwaysBounceHorizontal; }
    void setAlwaysBounceHorizontal(bool value) { m_alwaysBounceHorizontal = value; }
    bool isScrollEnabled() const { return m_scrollEnabled; }
    void setScrollEnabled(bool enabled);
    bool isDirectionalLockEnabled() const { return m_directionalLockEnabled; }
    void setDirectionalLockEnabled(bool enabled) { m_directionalLockEnabled = enabled; }
    bool showsHorizontalScrollIndicator() const { return m_showsHorizontalScrollIndicator; }
    void setShowsHorizontalScrollIndicator(bool shows) { m_showsHorizontalScrollIndicator = shows; }
    bool showsVerticalScrollIndicator() const { return m_showsVerticalScrollIndicator; }
    void setShowsVerticalScrollIndicator(bool shows) { m_showsVerticalScrollIndicator = shows; }
    bool scrollsToTop() const { return m_scrollsToTop; }
    void setScrollsToTop(bool value) { m_scrollsToTop = value; }

    bool isTracking() const { return m_tracking; }
    bool isDragging() const { return m_dragging; }
    bool isDecelerating() const { return m_decelerating; }
    bool isZooming() const { return m_zooming; }

    // Whether a finger may move the content horizontally / vertically: scrolling is on and
    // the content is wider / taller than the view, or it always bounces on that axis.
    bool canScrollHorizontally() const;
    bool canScrollVertically() const;

    // --- Zoom -----------------------------------------------------------------------------
    // Zooming needs a view from the delegate and a maximum above the minimum.
    double minimumZoomScale() const { return m_minimumZoomScale; }
    void setMinimumZoomScale(double scale) { m_minimumZoomScale = scale; }
    double maximumZoomScale() const { return m_maximumZoomScale; }
    void setMaximumZoomScale(double scale) { m_maximumZoomScale = scale; }
    double zoomScale() const { return m_zoomScale; }
    // Scales the delegate's zooming view (clamped to the range) about the middle of what
    // shows, makes the content its scaled size and reports scrollViewDidZoom.
    void setZoomScale(double scale, bool animated = false);

    std::shared_ptr<PanGestureRecognizer> panGestureRecognizer() const { return m_pan; }

    // --- Scripted gestures ------------------------------------------------------------------
    // A finger drags the content by `translation` (the finger's movement: dragging left by
    // 100 points moves the offset 100 points right) in kDragSteps moves, then lifts with
    // speed and the content decelerates to rest: with paging, on the nearest page boundary
    // in the drag's direction; without, at the nearest offset in range. Without bounces the
    // drag itself stops at the content's edges. Returns false (and reports nothing) when the
    // view cannot scroll that way.
    bool dragBy(Point translation);
    // A swipe that brings page `page` (a view-sized step from offset 0) into view.
    bool scrollToPage(int page, bool horizontal = true);
    // A drag down past the top edge until the offset stands `distance` beyond it (the
    // pull-to-refresh gesture). The overscrolled offset is reported through did-scroll and
    // did-end-dragging; then the content springs back to the top, through the deceleration
    // callbacks. Without bounces the content stops at the edge.
    bool pullBeyondTop(double distance);
    // The same past the bottom edge (pull up to load more).
    bool pullBeyondBottom(double distance);
    // Two fingers pinch to `scale` (clamped), with the zooming callbacks.
    bool pinchToScale(double scale);
    // The page (a view-sized step) nearest to the offset.
    int currentPage(bool horizontal = true) const;

    // The phases of a drag, shared by the pan recogniser and the scripted gestures.
    // Returns false when dragging cannot start.
    bool beginDragging();
    // The finger moved by `delta` since the last step.
    void dragStep(Point delta);
    void endDragging();
    // Whether a finger moving this way would scroll the content.
    bool canScrollAlong(Point movement) const;

    void setBounds(const Rect& bounds) override;
    std::string describe() const override;

    static constexpr double kScrollAnimationDuration = 0.3;
    static constexpr int kDragSteps = 4;

protected:
    // Called on every change of the content offset, before the delegate hears of it; tables
    // and collections bring their cells into line here.
    virtual void contentOffsetDidChange() {}

private:
    void init();
    void offsetChanged();
    Point clampOffset(Point offset) const;
    Point restingOffset() const;
    bool dragGesture(Point translation);
    void notifyObservers(const std::function<void(ScrollViewObserver&)>& event);

    std::weak_ptr<ScrollViewDelegate> m_delegate;
    std::vector<std::weak_ptr<ScrollViewObserver>> m_observers;
    std::shared_ptr<PanGestureRecognizer> m_pan;
    Size m_contentSize;
    EdgeInsets m_contentInset;
    EdgeInsets m_scrollIndicatorInsets;
    bool m_pagingEnabled{false};
    bool m_bounces{true};
    bool m_alwaysBounceVertical{false};
    bool m_alwaysBounceHorizontal{false};
    bool m_scrollEnabled{true};
    bool m_directionalLockEnabled{false};
    bool m_showsHorizontalScrollIndicator{true};
    bool m_showsVerticalScrollIndicator{true};
    bool m_scrollsToTop{true};
    bool m_tracking{false};
    bool m_dragging{false};
    bool m_decelerating{false};
    bool m_zooming{false};
    double m_minimumZoomScale{1};
    double m_maximumZoomScale{1};
    double m_zoomScale{1};
    // The finger's movement over the current drag, and the axis a directional lock chose
    // (0 none yet, 1 horizontal, 2 vertical).
    Point m_dragTranslation;
    int m_lockedAxis{0};
    // Identifies the latest animated scroll, so only its end is reported.
    std::uint64_t m_scrollAnimation{0};
};

}  // namespace platform
