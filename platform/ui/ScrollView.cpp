#include "platform/ui/ScrollView.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "platform/foundation/RunLoop.h"
#include "platform/ui/ScrollViewDelegate.h"
#include "platform/ui/ScrollViewObserver.h"
#include "platform/ui/ScrollViewPanGestureRecognizer.h"

namespace platform {

namespace {

// Offsets closer than this are the same offset (layout arithmetic in doubles).
constexpr double kEpsilon = 1e-6;

int sign(double value) {
    return value > kEpsilon ? 1 : (value < -kEpsilon ? -1 : 0);
}

}  // namespace

ScrollView::ScrollView() {
    init();
}

ScrollView::ScrollView(const Rect& frame) : View(frame) {
    init();
}

ScrollView::~ScrollView() = default;

void ScrollView::init() {
    // Scroll views show only what lies inside them, as on the phone.
    setClipsToBounds(true);
    m_pan = std::make_shared<ScrollViewPanGestureRecognizer>();
    addGestureRecognizer(m_pan);
}

// --- Content ------------------------------------------------------------------------------

void ScrollView::setBounds(const Rect& bounds) {
    Point old = contentOffset();
    View::setBounds(bounds);
    if (!(old == bounds.origin)) {
        offsetChanged();
    }
}

void ScrollView::offsetChanged() {
    // The delegate may let the last reference to this view go.
    auto self = weak_from_this().lock();
    contentOffsetDidChange();
    if (auto delegate = this->delegate()) {
        delegate->scrollViewDidScroll(*this);
    }
    notifyObservers([this](ScrollViewObserver& observer) { observer.scrollViewDidScroll(*this); });
}

void ScrollView::addObserver(std::weak_ptr<ScrollViewObserver> observer) {
    m_observers.push_back(std::move(observer));
}

void ScrollView::removeObserver(const ScrollViewObserver* observer) {
    std::erase_if(m_observers, [observer](const auto& weak) {
        auto strong = weak.lock();
        return !strong || strong.get() == observer;
    });
}

void ScrollView::notifyObservers(const std::function<void(ScrollViewObserver&)>& event) {
    // A copy: an observer may add or remove observers while it hears of the event.
    auto observers = m_observers;
    for (const auto& weak : observers) {
        if (auto observer = weak.lock()) {
            event(*observer);
        }
    }
}

void ScrollView::setContentOffset(Point offset) {
    if (!std::isfinite(offset.x) || !std::isfinite(offset.y)) {
        return;
    }
    setBounds(Rect{offset, bounds().size});
}

void ScrollView::setContentOffset(Point offset, bool animated) {
    if (!animated) {
        setContentOffset(offset);
        return;
    }
    if (offset == contentOffset()) {
        return;
    }
    auto self = weak_from_this().lock();
    std::uint64_t animation = ++m_scrollAnimation;
    setContentOffset(offset);
    std::weak_ptr<View> weak = weak_from_this();
    RunLoop::main().postDelayed(seconds(kScrollAnimationDuration), [weak, animation] {
        auto view = std::static_pointer_cast<ScrollView>(weak.lock());
        if (!view || view->m_scrollAnimation != animation) {
            return;
        }
        if (auto delegate = view->delegate()) {
            delegate->scrollViewDidEndScrollingAnimation(*view);
        }
    });
}

void ScrollView::setContentSize(Size size) {
    m_contentSize = size;
    notifyObservers(
        [this](ScrollViewObserver& observer) { observer.scrollViewDidChangeContentSize(*this); });
    if (m_tracking || m_dragging || m_decelerating) {
        return;
    }
    Point offset = contentOffset();
    Point max = maximumContentOffset();
    Point adjusted{offset.x > max.x + kEpsilon ? max.x : offset.x,
                   offset.y > max.y + kEpsilon ? max.y : offset.y};
    if (!(adjusted == offset)) {
        setContentOffset(adjusted);
    }
}

void ScrollView::setContentInset(const EdgeInsets& inset) {
    m_contentInset = inset;
}

Point ScrollView::minimumContentOffset() const {
    return {-m_contentInset.left, -m_contentInset.top};
}

Point ScrollView::maximumContentOffset() const {
    Point min = minimumContentOffset();
    Size size = bounds().size;
    return {std::max(min.x, m_contentSize.width + m_contentInset.right - size.width),
            std::max(min.y, m_contentSize.height + m_contentInset.bottom - size.height)};
}

Point ScrollView::clampOffset(Point offset) const {
    Point min = minimumContentOffset();
    Point max = maximumContentOffset();
    return {std::clamp(offset.x, min.x, max.x), std::clamp(offset.y, min.y, max.y)};
}

void ScrollView::scrollRectToVisible(const Rect& rect, bool animated) {
    Point offset = contentOffset();
    Size size = bounds().size;
    if (rect.maxX() > offset.x + size.width) {
        offset.x = rect.maxX() - size.width;
    }
    if (rect.minX() < offset.x) {
        offset.x = rect.minX();
    }
    if (rect.maxY() > offset.y + size.height) {
        offset.y = rect.maxY() - size.height;
    }
    if (rect.minY() < offset.y) {
        offset.y = rect.minY();
    }
    setContentOffset(clampOffset(offset), animated);
}

bool ScrollView::scrollToTop() {
    auto self = weak_from_this().lock();
    auto delegate = this->delegate();
    if (!m_scrollsToTop || (delegate && !delegate->scrollViewShouldScrollToTop(*this))) {
        return false;
    }
    setContentOffset({contentOffset().x, minimumContentOffset().y});
    if (delegate) {
        delegate->scrollViewDidScrollToTop(*this);
    }
    return true;
}

void ScrollView::setScrollEnabled(bool enabled) {
    m_scrollEnabled = enabled;
    m_pan->setEnabled(enabled);
}

bool ScrollView::canScrollHorizontally() const {
    if (!m_scrollEnabled) {
        return false;
    }
    double extent = m_contentSize.width + m_contentInset.left + m_contentInset.right;
    return extent > bounds().size.width + kEpsilon || (m_bounces && m_alwaysBounceHorizontal);
}

bool ScrollView::canScrollVertically() const {
    if (!m_scrollEnabled) {
        return false;
    }
    double extent = m_contentSize.height + m_contentInset.top + m_contentInset.bottom;
    return extent > bounds().size.height + kEpsilon || (m_bounces && m_alwaysBounceVertical);
}

bool ScrollView::canScrollAlong(Point movement) const {
    bool horizontal = canScrollHorizontally() && sign(movement.x) != 0;
    bool vertical = canScrollVertically() && sign(movement.y) != 0;
    if (!m_directionalLockEnabled) {
        return horizontal || vertical;
    }
    // A locked drag follows its main axis only.
    return std::abs(movement.x) >= std::abs(movement.y) ? horizontal : vertical;
}

// --- Drags --------------------------------------------------------------------------------

bool ScrollView::beginDragging() {
    if (!m_scrollEnabled) {
        return false;
    }
    auto self = weak_from_this().lock();
    m_tracking = true;
    m_dragging = true;
    m_dragTranslation = {};
    m_lockedAxis = 0;
    if (auto delegate = this->delegate()) {
        delegate->scrollViewWillBeginDragging(*this);
    }
    return true;
}

void ScrollView::dragStep(Point delta) {
    if (!m_dragging) {
        return;
    }
    if (!canScrollHorizontally()) {
        delta.x = 0;
    }
    if (!canScrollVertically()) {
        delta.y = 0;
    }
    if (m_directionalLockEnabled) {
        if (m_lockedAxis == 0 && (sign(delta.x) != 0 || sign(delta.y) != 0)) {
            m_lockedAxis = std::abs(delta.x) >= std::abs(delta.y) ? 1 : 2;
        }
        if (m_lockedAxis == 1) {
            delta.y = 0;
        } else if (m_lockedAxis == 2) {
            delta.x = 0;
        }
    }
    m_dragTranslation = {m_dragTranslation.x + delta.x, m_dragTranslation.y + delta.y};
    // Steps are relative to where the content is now, so a delegate that moves the offset
    // while the finger is down (a looping banner) keeps the drag going from there.
    Point offset = contentOffset();
    Point next{offset.x - delta.x, offset.y - delta.y};
    if (!m_bounces) {
        next = clampOffset(next);
    }
    setContentOffset(next);
}

Point ScrollView::restingOffset() const {
    Point offset = contentOffset();
    if (m_pagingEnabled) {
        Size page = bounds().size;
        // The content moves against the finger, so a drag to the left heads for later pages.
        int directions[2] = {-sign(m_dragTranslation.x), -sign(m_dragTranslation.y)};
        double* values[2] = {&offset.x, &offset.y};
        double sizes[2] = {page.width, page.height};
        for (int axis = 0; axis < 2; ++axis) {
            if (sizes[axis] <= 0) {
                continue;
            }
            double position = *values[axis] / sizes[axis];
            double target;
            if (directions[axis] > 0) {
                target = std::ceil(position - kEpsilon);
            } else if (directions[axis] < 0) {
                target = std::floor(position + kEpsilon);
            } else {
                target = std::round(position);
            }
            *values[axis] = target * sizes[axis];
        }
    }
    return clampOffset(offset);
}

void ScrollView::endDragging() {
    if (!m_dragging) {
        return;
    }
    auto self = weak_from_this().lock();
    m_tracking = false;
    Point target = restingOffset();
    Point proposed = target;
    Point velocity{-double(sign(m_dragTranslation.x)), -double(sign(m_dragTranslation.y))};
    auto delegate = this->delegate();
    if (delegate) {
        delegate->scrollViewWillEndDragging(*this, velocity, target);
    }
    bool targetChosen = !(target == proposed);
    m_dragging = false;
    // A scripted drag always lifts with speed, so the content always decelerates.
    if (delegate) {
        delegate->scrollViewDidEndDragging(*this, true);
    }
    notifyObservers(
        [this](ScrollViewObserver& observer) { observer.scrollViewDidEndDragging(*this); });
    if (!targetChosen) {
        // What the delegate did on lifting (a refresh control widening the insets) counts.
        target = restingOffset();
    }
    m_decelerating = true;
    if ((delegate = this->delegate())) {
        delegate->scrollViewWillBeginDecelerating(*this);
    }
    setContentOffset(target);
    m_decelerating = false;
    if ((delegate = this->delegate())) {
        delegate->scrollViewDidEndDecelerating(*this);
    }
}

bool ScrollView::dragGesture(Point translation) {
    if (!canScrollAlong(translation)) {
        return false;
    }
    auto self = weak_from_this().lock();
    if (!beginDragging()) {
        return false;
    }
    Point step{translation.x / kDragSteps, translation.y / kDragSteps};
    for (int i = 0; i < kDragSteps && m_dragging; ++i) {
        dragStep(step);
    }
    endDragging();
    return true;
}

bool ScrollView::dragBy(Point translation) {
    return dragGesture(translation);
}

bool ScrollView::scrollToPage(int page, bool horizontal) {
    Size size = bounds().size;
    Point offset = contentOffset();
    Point target = offset;
    if (horizontal) {
        target.x = page * size.width;
    } else {
        target.y = page * size.height;
    }
    target = clampOffset(target);
    return dragGesture({offset.x - target.x, offset.y - target.y});
}

bool ScrollView::pullBeyondTop(double distance) {
    double top = minimumContentOffset().y;
    return dragGesture({0, contentOffset().y - top + std::max(0.0, distance)});
}

bool ScrollView::pullBeyondBottom(double distance) {
    double bottom = maximumContentOffset().y;
    return dragGesture({0, contentOffset().y - bottom - std::max(0.0, distance)});
}

int ScrollView::currentPage(bool horizontal) const {
    double size = horizontal ? bounds().size.width : bounds().size.height;
    if (size <= 0) {
        return 0;
    }
    double offset = horizontal ? contentOffset().x : contentOffset().y;
    return int(std::lround(offset / size));
}

// --- Zoom ---------------------------------------------------------------------------------

void ScrollView::setZoomScale(double scale, bool /*animated*/) {
    auto self = weak_from_this().lock();
    auto delegate = this->delegate();
    auto view = delegate ? delegate->viewForZoomingInScrollView(*this) : nullptr;
    if (!view || !std::isfinite(scale)) {
        return;
    }
    scale = std::clamp(scale, m_minimumZoomScale, std::max(m_minimumZoomScale, m_maximumZoomScale));
    if (std::abs(scale - m_zoomScale) < kEpsilon) {
        return;
    }
    // The point of the content in the middle of the view stays in the middle.
    Size size = bounds().size;
    Point offset = contentOffset();
    double ratio = scale / m_zoomScale;
    Point middle{(offset.x + size.width / 2) * ratio, (offset.y + size.height / 2) * ratio};
    m_zoomScale = scale;
    Size base = view->bounds().size;
    view->setTransform(AffineTransform::makeScale(scale, scale));
    view->setCenter({base.width * scale / 2, base.height * scale / 2});
    m_contentSize = {base.width * scale, base.height * scale};
    setContentOffset(clampOffset({middle.x - size.width / 2, middle.y - size.height / 2}));
    if ((delegate = this->delegate())) {
        delegate->scrollViewDidZoom(*this);
    }
}

bool ScrollView::pinchToScale(double scale) {
    auto self = weak_from_this().lock();
    auto delegate = this->delegate();
    auto view = delegate ? delegate->viewForZoomingInScrollView(*this) : nullptr;
    if (!view || m_maximumZoomScale <= m_minimumZoomScale) {
        return false;
    }
    m_zooming = true;
    delegate->scrollViewWillBeginZooming(*this, view.get());
    setZoomScale(scale);
    m_zooming = false;
    if ((delegate = this->delegate())) {
        delegate->scrollViewDidEndZooming(*this, view.get(), m_zoomScale);
    }
    return true;
}

std::string ScrollView::describe() const {
    std::ostringstream out;
    Point offset = contentOffset();
    out << "scroll view at " << offset.x << "," << offset.y;
    return out.str();
}

}  // namespace platform
