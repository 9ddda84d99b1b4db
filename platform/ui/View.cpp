#include "platform/ui/View.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/ui/AlertPresenter.h"
#include "platform/ui/Application.h"
#include "platform/ui/DisplayChanges.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/ModalAlert.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace platform {

namespace {

// The system's default tint (the phone's blue).
Color systemTint() {
    return Color::rgba(0, 122.0f / 255.0f, 1);
}

// How a change of `delta` in the superview's extent is shared among the flexible parts of
// one axis: in proportion to their current lengths, or evenly when those are all zero.
std::array<double, 3> shareOut(double delta, std::array<bool, 3> flexible,
                               std::array<double, 3> lengths) {
    std::array<double, 3> shares{0, 0, 0};
    int count = 0;
    double total = 0;
    for (int i = 0; i < 3; ++i) {
        if (flexible[i]) {
            ++count;
            total += std::max(0.0, lengths[i]);
        }
    }
    if (count == 0) {
        return shares;
    }
    for (int i = 0; i < 3; ++i) {
        if (!flexible[i]) {
            continue;
        }
        shares[i] = total > 0 ? delta * std::max(0.0, lengths[i]) / total : delta / count;
    }
    return shares;
}

// The roots a front end draws: the key window (whose own hidden flag is checked with the rest
// of the way up) and the alert views that float above it outside any view tree.
bool isDrawnRoot(const View& root) {
    if (auto* window = dynamic_cast<const Window*>(&root)) {
        return window->isKeyWindow();
    }
    for (const auto& alert : AlertPresenter::shared().visibleAlerts()) {
        if (dynamic_cast<const View*>(alert.get()) == &root) {
            return true;
        }
    }
    return false;
}

}  // namespace

View::View(const Rect& frame) {
    setFrame(frame);
}

View::~View() {
    for (auto& subview : m_subviews) {
        subview->m_superview = nullptr;
    }
    for (auto& recognizer : m_gestureRecognizers) {
        recognizer->m_view = nullptr;
    }
}

// --- Geometry ---------------------------------------------------------------------------

Rect View::frame() const {
    Rect local{{-m_bounds.size.width / 2, -m_bounds.size.height / 2}, m_bounds.size};
    if (!m_transform.isIdentity()) {
        local = m_transform.apply(local);
    }
    return Rect{{local.origin.x + m_center.x, local.origin.y + m_center.y}, local.size};
}

void View::setFrame(const Rect& frame) {
    Size oldSize = m_bounds.size;
    Point oldCenter = m_center;
    m_bounds.size = frame.size;
    // The transform turns about the center, so its translation is all that moves the
    // frame's middle away from the center.
    m_center = {frame.origin.x + frame.size.width / 2 - m_transform.tx,
                frame.origin.y + frame.size.height / 2 - m_transform.ty};
    if (!(oldSize == frame.size) || !(oldCenter == m_center)) {
        setNeedsDisplay();
    }
    if (!(oldSize == frame.size)) {
        boundsSizeChanged(oldSize);
    }
}

void View::setBounds(const Rect& bounds) {
    Rect old = m_bounds;
    m_bounds = bounds;
    if (!(old == bounds)) {
        setNeedsDisplay();
    }
    if (!(old.size == bounds.size)) {
        boundsSizeChanged(old.size);
    } else if (!(old.origin == bounds.origin)) {
        setNeedsLayout();
    }
}

void View::setCenter(Point center) {
    setDisplayed(m_center, center);
}

void View::setTransform(const AffineTransform& transform) {
    setDisplayed(m_transform, transform);
}

void View::boundsSizeChanged(Size oldSize) {
    if (m_autoresizesSubviews) {
        auto subviews = m_subviews;
        for (auto& subview : subviews) {
            subview->resizeWithOldSuperviewSize(oldSize);
        }
    }
    setNeedsLayout();
}

void View::resizeWithOldSuperviewSize(Size oldSize) {
    if (!m_superview || m_autoresizingMask == AutoresizingMask::None) {
        return;
    }
    Size newSize = m_superview->m_bounds.size;
    Rect f = frame();
    auto has = [this](AutoresizingMask flag) { return hasAny(m_autoresizingMask, flag); };
    auto dx =
        shareOut(newSize.width - oldSize.width,
                 {has(AutoresizingMask::FlexibleLeftMargin), has(AutoresizingMask::FlexibleWidth),
                  has(AutoresizingMask::FlexibleRightMargin)},
                 {f.origin.x, f.size.width, oldSize.width - f.origin.x - f.size.width});
    auto dy =
        shareOut(newSize.height - oldSize.height,
                 {has(AutoresizingMask::FlexibleTopMargin), has(AutoresizingMask::FlexibleHeight),
                  has(AutoresizingMask::FlexibleBottomMargin)},
                 {f.origin.y, f.size.height, oldSize.height - f.origin.y - f.size.height});
    setFrame(Rect{{f.origin.x + dx[0], f.origin.y + dy[0]},
                  {f.size.width + dx[1], f.size.height + dy[1]}});
}

// --- Appearance -------------------------------------------------------------------------

void View::setAlpha(double alpha) {
    double old = m_alpha;
    m_alpha = std::clamp(alpha, 0.0, 1.0);
    // Below 0.01 a view is not drawn at all, whatever the exact value.
    if (m_alpha != old && !m_hidden && (m_alpha >= 0.01 || old >= 0.01)) {
        visibilityChanged();
    }
}

void View::setHidden(bool hidden) {
    if (m_hidden == hidden) {
        return;
    }
    m_hidden = hidden;
    visibilityChanged();
}

void View::visibilityChanged() {
    if (m_superview ? shownUpFrom(m_superview) : isDrawnRoot(*this)) {
        noteDisplayChange();
    }
}

bool View::shownUpFrom(const View* view) {
    const View* root = nullptr;
    for (; view; view = view->m_superview) {
        if (view->m_hidden || view->m_alpha < 0.01) {
            return false;
        }
        root = view;
    }
    return root && isDrawnRoot(*root);
}

bool View::isOnScreen() const {
    return shownUpFrom(this);
}

void View::setNeedsDisplay() {
    if (shownUpFrom(this)) {
        noteDisplayChange();
    }
}

Color View::tintColor() const {
    for (const View* view = this; view; view = view->m_superview) {
        if (view->m_tintColor) {
            return *view->m_tintColor;
        }
    }
    return systemTint();
}

void View::setTintColor(std::optional<Color> color) {
    Color old = tintColor();
    m_tintColor = color;
    notifyTintChange();
    // What reads the tint (a system button's title, a checkmark) is drawn below this view.
    if (!(old == tintColor())) {
        setNeedsDisplay();
    }
}

void View::notifyTintChange() {
    tintColorDidChange();
    auto subviews = m_subviews;
    for (auto& subview : subviews) {
        if (!subview->m_tintColor) {
            subview->notifyTintChange();
        }
    }
}

// --- Hierarchy --------------------------------------------------------------------------

std::shared_ptr<View> View::superview() const {
    return m_superview ? m_superview->weak_from_this().lock() : nullptr;
}

void View::addSubview(std::shared_ptr<View> view) {
    insertSubviewAt(std::move(view), SIZE_MAX);
}

void View::insertSubview(std::shared_ptr<View> view, size_t index) {
    insertSubviewAt(std::move(view), index);
}

void View::insertSubviewBelow(std::shared_ptr<View> view, const View* sibling) {
    auto it = std::find_if(m_subviews.begin(), m_subviews.end(),
                           [sibling](const auto& s) { return s.get() == sibling; });
    insertSubviewAt(std::move(view),
                    it == m_subviews.end() ? SIZE_MAX : size_t(it - m_subviews.begin()));
}

void View::insertSubviewAbove(std::shared_ptr<View> view, const View* sibling) {
    auto it = std::find_if(m_subviews.begin(), m_subviews.end(),
                           [sibling](const auto& s) { return s.get() == sibling; });
    insertSubviewAt(std::move(view),
                    it == m_subviews.end() ? SIZE_MAX : size_t(it - m_subviews.begin()) + 1);
}

void View::insertSubviewAt(std::shared_ptr<View> view, size_t index) {
    if (!view || view.get() == this || isDescendantOf(view.get())) {
        return;
    }
    if (view->m_superview == this) {
        // Only the order changes.
        auto it = std::find(m_subviews.begin(), m_subviews.end(), view);
        size_t current = size_t(it - m_subviews.begin());
        m_subviews.erase(it);
        if (index != SIZE_MAX && index > current) {
            --index;
        }
        index = std::min(index, m_subviews.size());
        m_subviews.insert(m_subviews.begin() + index, view);
        if (index != current) {
            view->setNeedsDisplay();
        }
        return;
    }
    Window* oldWindow = view->windowPtr();
    Window* newWindow = windowPtr();
    if (oldWindow != newWindow && view->containsFirstResponder()) {
        Application::shared().resignFirstResponderForced();
    }
    view->willMoveToSuperview(this);
    if (view->m_superview) {
        view->detachFromSuperview();
    }
    m_subviews.insert(m_subviews.begin() + std::min(index, m_subviews.size()), view);
    view->m_superview = this;
    view->setNeedsDisplay();
    didAddSubview(*view);
    view->didMoveToSuperview();
    if (oldWindow != newWindow) {
        view->notifyWindowChange(oldWindow, newWindow);
    }
    if (!view->m_tintColor) {
        // It now inherits a tint from here.
        view->notifyTintChange();
    }
    setNeedsLayout();
}

void View::detachFromSuperview() {
    View* parent = m_superview;
    bool wasSeen = shownUpFrom(this);
    parent->willRemoveSubview(*this);
    // Sought from the top: views leave mostly in the reverse of their coming, so that a
    // screen letting go of many views, last first, does so in time linear in their number.
    auto it = std::find_if(parent->m_subviews.rbegin(), parent->m_subviews.rend(),
                           [this](const auto& s) { return s.get() == this; });
    // The caller holds a reference, so erasing the parent's cannot destroy this view.
    if (it != parent->m_subviews.rend()) {
        parent->m_subviews.erase(std::next(it).base());
    }
    m_superview = nullptr;
    if (wasSeen) {
        noteDisplayChange();
    }
    parent->setNeedsLayout();
}

void View::removeFromSuperview() {
    if (!m_superview) {
        return;
    }
    // Keeps this view alive while its superview lets it go.
    auto self = weak_from_this().lock();
    if (containsFirstResponder()) {
        Application::shared().resignFirstResponderForced();
    }
    Window* oldWindow = windowPtr();
    willMoveToSuperview(nullptr);
    detachFromSuperview();
    didMoveToSuperview();
    if (oldWindow) {
        notifyWindowChange(oldWindow, nullptr);
    }
}

void View::exchangeSubviews(size_t index1, size_t index2) {
    if (index1 < m_subviews.size() && index2 < m_subviews.size() && index1 != index2) {
        std::swap(m_subviews[index1], m_subviews[index2]);
        if (shownUpFrom(m_subviews[index1].get()) || shownUpFrom(m_subviews[index2].get())) {
            noteDisplayChange();
        }
    }
}

void View::bringSubviewToFront(const View* view) {
    auto it = std::find_if(m_subviews.begin(), m_subviews.end(),
                           [view](const auto& s) { return s.get() == view; });
    if (it != m_subviews.end() && it + 1 != m_subviews.end()) {
        std::rotate(it, it + 1, m_subviews.end());
        m_subviews.back()->setNeedsDisplay();
    }
}

void View::sendSubviewToBack(const View* view) {
    auto it = std::find_if(m_subviews.begin(), m_subviews.end(),
                           [view](const auto& s) { return s.get() == view; });
    if (it != m_subviews.end() && it != m_subviews.begin()) {
        std::rotate(m_subviews.begin(), it, it + 1);
        m_subviews.front()->setNeedsDisplay();
    }
}

bool View::isDescendantOf(const View* view) const {
    for (const View* v = this; v; v = v->m_superview) {
        if (v == view) {
            return true;
        }
    }
    return false;
}

View* View::rootView() const {
    const View* view = this;
    while (view->m_superview) {
        view = view->m_superview;
    }
    return const_cast<View*>(view);
}

Window* View::windowPtr() const {
    return dynamic_cast<Window*>(rootView());
}

std::shared_ptr<Window> View::window() const {
    Window* window = windowPtr();
    if (!window) {
        return nullptr;
    }
    return std::static_pointer_cast<Window>(window->weak_from_this().lock());
}

std::shared_ptr<View> View::viewWithTag(int tag) {
    if (m_tag == tag) {
        return weak_from_this().lock();
    }
    for (auto& subview : m_subviews) {
        if (auto found = subview->viewWithTag(tag)) {
            return found;
        }
    }
    return nullptr;
}

std::shared_ptr<ViewController> View::viewController() const {
    return m_viewController ? m_viewController->weak_from_this().lock() : nullptr;
}

void View::notifyWindowChange(Window* oldWindow, Window* newWindow) {
    didMoveToWindow();
    if (m_viewController) {
        m_viewController->viewMovedToWindow(newWindow != nullptr);
    }
    auto subviews = m_subviews;
    for (auto& subview : subviews) {
        subview->notifyWindowChange(oldWindow, newWindow);
    }
}

// --- Layout -----------------------------------------------------------------------------

void View::setNeedsLayout() {
    m_needsLayout = true;
    if (Window* window = windowPtr()) {
        window->scheduleLayoutPass();
    }
}

void View::layoutIfNeeded() {
    auto self = weak_from_this().lock();
    if (m_needsLayout) {
        m_needsLayout = false;
        if (m_viewController) {
            m_viewController->viewWillLayoutSubviews();
        }
        layoutSubviews();
        if (m_viewController) {
            m_viewController->viewDidLayoutSubviews();
        }
    }
    auto subviews = m_subviews;
    for (auto& subview : subviews) {
        subview->layoutIfNeeded();
    }
}

Size View::sizeThatFits(Size /*size*/) const {
    return m_bounds.size;
}

void View::sizeToFit() {
    Rect f = frame();
    setFrame(Rect{f.origin, sizeThatFits(m_bounds.size)});
}

// --- Coordinates ------------------------------------------------------------------------

Point View::pointToSuperview(Point point) const {
    Point anchor{m_bounds.origin.x + m_bounds.size.width / 2,
                 m_bounds.origin.y + m_bounds.size.height / 2};
    Point q{point.x - anchor.x, point.y - anchor.y};
    if (!m_transform.isIdentity()) {
        q = m_transform.apply(q);
    }
    return {q.x + m_center.x, q.y + m_center.y};
}

Point View::pointFromSuperview(Point point) const {
    Point anchor{m_bounds.origin.x + m_bounds.size.width / 2,
                 m_bounds.origin.y + m_bounds.size.height / 2};
    Point q{point.x - m_center.x, point.y - m_center.y};
    if (!m_transform.isIdentity()) {
        q = m_transform.inverted().apply(q);
    }
    return {q.x + anchor.x, q.y + anchor.y};
}

Point View::pointToRoot(Point point) const {
    for (const View* view = this; view->m_superview; view = view->m_superview) {
        point = view->pointToSuperview(point);
    }
    return point;
}

Point View::pointFromRoot(Point point) const {
    if (!m_superview) {
        return point;
    }
    return pointFromSuperview(m_superview->pointFromRoot(point));
}

Point View::convertPointTo(Point point, const View* view) const {
    Point root = pointToRoot(point);
    return view ? view->pointFromRoot(root) : root;
}

Point View::convertPointFrom(Point point, const View* view) const {
    Point root = view ? view->pointToRoot(point) : point;
    return pointFromRoot(root);
}

namespace {

Rect boundingBox(const std::array<Point, 4>& corners) {
    double minX = corners[0].x, maxX = corners[0].x, minY = corners[0].y, maxY = corners[0].y;
    for (const Point& p : corners) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    return Rect{{minX, minY}, {maxX - minX, maxY - minY}};
}

std::array<Point, 4> cornersOf(const Rect& rect) {
    return {Point{rect.minX(), rect.minY()}, Point{rect.maxX(), rect.minY()},
            Point{rect.minX(), rect.maxY()}, Point{rect.maxX(), rect.maxY()}};
}

}  // namespace

Rect View::convertRectTo(const Rect& rect, const View* view) const {
    auto corners = cornersOf(rect);
    for (Point& p : corners) {
        p = convertPointTo(p, view);
    }
    return boundingBox(corners);
}

Rect View::convertRectFrom(const Rect& rect, const View* view) const {
    auto corners = cornersOf(rect);
    for (Point& p : corners) {
        p = convertPointFrom(p, view);
    }
    return boundingBox(corners);
}

// --- Hit testing and events -------------------------------------------------------------

std::shared_ptr<View> View::hitTest(Point point) {
    if (m_hidden || m_alpha < 0.01 || !m_userInteractionEnabled || !pointInside(point)) {
        return nullptr;
    }
    auto subviews = m_subviews;
    for (auto it = subviews.rbegin(); it != subviews.rend(); ++it) {
        if (auto hit = (*it)->hitTest((*it)->pointFromSuperview(point))) {
            return hit;
        }
    }
    return weak_from_this().lock();
}

bool View::pointInside(Point point) const {
    return m_bounds.contains(point);
}

Responder* View::nextResponder() const {
    if (m_viewController) {
        return m_viewController;
    }
    return m_superview;
}

bool View::becomeFirstResponder() {
    auto& app = Application::shared();
    auto current = app.firstResponder();
    if (current.get() == this) {
        return true;
    }
    if (!canBecomeFirstResponder()) {
        return false;
    }
    if (current && !current->resignFirstResponder()) {
        return false;
    }
    app.setFirstResponder(weak_from_this());
    return true;
}

bool View::resignFirstResponder() {
    auto& app = Application::shared();
    if (app.firstResponder().get() == this) {
        app.setFirstResponder({});
    }
    return true;
}

bool View::isFirstResponder() const {
    return Application::shared().firstResponder().get() == this;
}

bool View::containsFirstResponder() const {
    auto current = Application::shared().firstResponder();
    return current && current->isDescendantOf(this);
}

bool View::endEditing(bool force) {
    if (!containsFirstResponder()) {
        return true;
    }
    auto current = Application::shared().firstResponder();
    if (current->resignFirstResponder()) {
        return true;
    }
    if (force) {
        Application::shared().setFirstResponder({});
        return true;
    }
    return false;
}

void View::addGestureRecognizer(std::shared_ptr<GestureRecognizer> recognizer) {
    if (!recognizer || recognizer->m_view == this) {
        return;
    }
    if (recognizer->m_view) {
        recognizer->m_view->removeGestureRecognizer(recognizer.get());
    }
    recognizer->m_view = this;
    m_gestureRecognizers.push_back(std::move(recognizer));
}

void View::removeGestureRecognizer(const GestureRecognizer* recognizer) {
    auto it = std::find_if(m_gestureRecognizers.begin(), m_gestureRecognizers.end(),
                           [recognizer](const auto& r) { return r.get() == recognizer; });
    if (it != m_gestureRecognizers.end()) {
        (*it)->m_view = nullptr;
        m_gestureRecognizers.erase(it);
    }
}

std::string View::describe() const {
    return "view";
}

}  // namespace platform
