#include "components/sidemenu/SideViewController.h"

#include <algorithm>
#include <cmath>

#include "platform/ui/PanGestureRecognizer.h"
#include "platform/ui/TapGestureRecognizer.h"
#include "platform/ui/View.h"

namespace platform::components {

namespace {

// Only sideways drags move the menu, so vertical scrolling in the root view stays its own.
class SidewaysPanGestureRecognizer : public PanGestureRecognizer {
public:
    using PanGestureRecognizer::PanGestureRecognizer;

protected:
    bool canBeginWithMovement(Point start, Point current) const override {
        return std::abs(current.x - start.x) > std::abs(current.y - start.y);
    }
};

}  // namespace

SideViewController::SideViewController() = default;

SideViewController::~SideViewController() {
    if (auto view = rootView(); view && m_rootPan) {
        view->removeGestureRecognizer(m_rootPan.get());
    }
}

// --- Setup ------------------------------------------------------------------------------

void SideViewController::viewDidLoad() {
    std::weak_ptr<ViewController> weak = weak_from_this();
    auto onPan = [weak](GestureRecognizer& recognizer) {
        if (auto self = std::static_pointer_cast<SideViewController>(weak.lock())) {
            self->handlePan(static_cast<PanGestureRecognizer&>(recognizer));
        }
    };
    m_rootPan = std::make_shared<SidewaysPanGestureRecognizer>(onPan);
    m_coverPan = std::make_shared<SidewaysPanGestureRecognizer>(onPan);
    m_rootPan->setEnabled(m_needSwipeShowMenu);
    m_coverPan->setEnabled(m_needSwipeShowMenu);

    m_cover = View::make<View>();
    m_cover->setBackgroundColor(Color::clear());
    m_cover->setHandle("side-menu-cover");
    m_cover->addGestureRecognizer(m_coverPan);
    m_cover->addGestureRecognizer(
        std::make_shared<TapGestureRecognizer>([weak](GestureRecognizer&) {
            if (auto self = std::static_pointer_cast<SideViewController>(weak.lock())) {
                self->hideSideViewController(true);
            }
        }));

    installRootView();
}

void SideViewController::setRootViewController(std::shared_ptr<ViewController> controller) {
    if (controller == m_root) {
        return;
    }
    if (m_root) {
        if (isViewLoaded()) {
            hideSideViewController(false);
        }
        if (auto old = rootView()) {
            if (m_rootPan) {
                old->removeGestureRecognizer(m_rootPan.get());
            }
            if (old->superview() == viewIfLoaded()) {
                old->removeFromSuperview();
            }
        }
        m_root->willMoveToParentViewController(nullptr);
        m_root->removeFromParentViewController();
    }
    m_root = std::move(controller);
    if (!m_root) {
        return;
    }
    addChildViewController(m_root);
    if (isViewLoaded()) {
        installRootView();
    }
    m_root->didMoveToParentViewController(this);
}

void SideViewController::installRootView() {
    if (!m_root) {
        return;
    }
    auto container = view();
    auto rootView = m_root->view();
    rootView->setFrame(container->bounds());
    rootView->setAutoresizingMask(AutoresizingMask::FlexibleWidth |
                                  AutoresizingMask::FlexibleHeight);
    if (m_cover && m_cover->superview() == container) {
        container->insertSubviewBelow(rootView, m_cover.get());
    } else {
        container->addSubview(rootView);
    }
    if (m_rootPan) {
        rootView->addGestureRecognizer(m_rootPan);
    }
    m_offset = 0;
}

void SideViewController::setLeftViewController(std::shared_ptr<ViewController> controller) {
    setPanelController(Showing::Left, std::move(controller));
}

void SideViewController::setRightViewController(std::shared_ptr<ViewController> controller) {
    setPanelController(Showing::Right, std::move(controller));
}

void SideViewController::setPanelController(Showing side,
                                            std::shared_ptr<ViewController> controller) {
    Panel& target = panel(side);
    if (controller == target.controller) {
        return;
    }
    if (target.controller) {
        if (m_showing == side) {
            hideSideViewController(false);
        }
        hideAtOnce(target);
        target.controller->willMoveToParentViewController(nullptr);
        target.controller->removeFromParentViewController();
    }
    target.controller = std::move(controller);
    target.phase = Phase::Hidden;
    if (target.controller) {
        addChildViewController(target.controller);
        target.controller->didMoveToParentViewController(this);
    }
}

void SideViewController::setLeftViewShowWidth(double width) {
    m_left.width = std::max(0.0, width);
    if (isShowingLeft()) {
        moveRoot(m_left.width);
    }
}

void SideViewController::setRightViewShowWidth(double width) {
    m_right.width = std::max(0.0, width);
    if (isShowingRight()) {
        moveRoot(-m_right.width);
    }
}

void SideViewController::setNeedSwipeShowMenu(bool need) {
    m_needSwipeShowMenu = need;
    if (m_rootPan) {
        m_rootPan->setEnabled(need);
        m_coverPan->setEnabled(need);
    }
}

// --- Showing and hiding -----------------------------------------------------------------

void SideViewController::showLeftViewController(bool animated) {
    showPanel(Showing::Left, animated);
}

void SideViewController::showRightViewController(bool animated) {
    showPanel(Showing::Right, animated);
}

void SideViewController::showPanel(Showing side, bool animated) {
    Panel& shown = panel(side);
    if (!shown.controller) {
        return;
    }
    loadViewIfNeeded();
    std::uint64_t transition = ++m_transition;
    hideAtOnce(panel(side == Showing::Left ? Showing::Right : Showing::Left));
    attach(shown, animated);
    m_showing = side;
    installCover();
    double target = side == Showing::Right ? -shown.width : shown.width;
    if (!animated) {
        moveRoot(target);
        finishShow(shown);
        return;
    }
    std::weak_ptr<ViewController> weak = weak_from_this();
    View::animate(
        m_animationDuration, [this, target] { moveRoot(target); },
        [weak, transition, side](bool) {
            auto self = std::static_pointer_cast<SideViewController>(weak.lock());
            if (self && self->m_transition == transition) {
                self->finishShow(self->panel(side));
            }
        });
}

void SideViewController::hideSideViewController(bool animated) {
    std::uint64_t transition = ++m_transition;
    m_showing = Showing::None;
    removeCover();
    beginHide(m_left, animated);
    beginHide(m_right, animated);
    if (!isViewLoaded()) {
        return;
    }
    if (!animated) {
        moveRoot(0);
        finishHide(m_left);
        finishHide(m_right);
        return;
    }
    std::weak_ptr<ViewController> weak = weak_from_this();
    View::animate(
        m_animationDuration, [this] { moveRoot(0); },
        [weak, transition](bool) {
            auto self = std::static_pointer_cast<SideViewController>(weak.lock());
            if (self && self->m_transition == transition) {
                self->finishHide(self->m_left);
                self->finishHide(self->m_right);
            }
        });
}

void SideViewController::moveRoot(double offset) {
    m_offset = offset;
    auto root = rootView();
    if (!root || !isViewLoaded() || root->superview() != viewIfLoaded()) {
        return;
    }
    Rect resting = view()->bounds();
    if (rootViewMoveBlock) {
        rootViewMoveBlock(*root, resting, offset);
    } else {
        root->setFrame(resting.offsetBy(offset, 0));
    }
    if (m_cover && m_cover->superview()) {
        m_cover->setFrame(root->frame());
    }
}

// A panel's appearance: Hidden -> Appearing (view in, viewWillAppear) -> Shown (viewDidAppear)
// -> Disappearing (viewWillDisappear) -> Hidden (view out, viewDidDisappear). The callbacks
// come only while the container itself is on screen; a container that appears later passes
// them on to the panel whose view it holds.
void SideViewController::attach(Panel& shown, bool animated) {
    if (!shown.controller || shown.phase == Phase::Appearing || shown.phase == Phase::Shown) {
        return;
    }
    auto container = view();
    auto panelView = shown.controller->view();
    // Before the view goes in, so that the callbacks are the ones of this transition and
    // not the plain "view entered a window" ones.
    if (isAppearedOrAppearing()) {
        shown.controller->beginAppearanceTransition(true, animated);
    }
    if (panelView->superview() != container) {
        panelView->setFrame(container->bounds());
        panelView->setAutoresizingMask(AutoresizingMask::FlexibleWidth |
                                       AutoresizingMask::FlexibleHeight);
        if (auto root = rootView(); root && root->superview() == container) {
            container->insertSubviewBelow(panelView, root.get());
        } else {
            container->insertSubview(panelView, 0);
        }
    }
    shown.phase = Phase::Appearing;
}

void SideViewController::finishShow(Panel& shown) {
    if (!shown.controller || shown.phase != Phase::Appearing) {
        return;
    }
    shown.phase = Phase::Shown;
    shown.controller->endAppearanceTransition();
}

void SideViewController::beginHide(Panel& hidden, bool animated) {
    if (!hidden.controller || (hidden.phase != Phase::Appearing && hidden.phase != Phase::Shown)) {
        return;
    }
    hidden.phase = Phase::Disappearing;
    hidden.controller->beginAppearanceTransition(false, animated);
}

void SideViewController::finishHide(Panel& hidden) {
    if (!hidden.controller || hidden.phase != Phase::Disappearing) {
        return;
    }
    hidden.phase = Phase::Hidden;
    if (auto panelView = hidden.controller->viewIfLoaded();
        panelView && panelView->superview() == viewIfLoaded()) {
        panelView->removeFromSuperview();
    }
    hidden.controller->endAppearanceTransition();
}

void SideViewController::hideAtOnce(Panel& hidden) {
    beginHide(hidden, false);
    finishHide(hidden);
}

void SideViewController::installCover() {
    auto root = rootView();
    if (!m_cover || !root || root->superview() != viewIfLoaded()) {
        return;
    }
    if (m_cover->superview() != viewIfLoaded()) {
        view()->insertSubviewAbove(m_cover, root.get());
    }
    m_cover->setFrame(root->frame());
}

void SideViewController::removeCover() {
    if (m_cover) {
        m_cover->removeFromSuperview();
    }
}

std::shared_ptr<View> SideViewController::rootView() const {
    return m_root ? m_root->viewIfLoaded() : nullptr;
}

// --- Dragging ---------------------------------------------------------------------------

void SideViewController::handlePan(PanGestureRecognizer& pan) {
    switch (pan.state()) {
        case GestureState::Began:
            m_panStartOffset = m_offset;
            dragTo(m_panStartOffset + pan.translationInView(nullptr).x);
            break;
        case GestureState::Changed:
            dragTo(m_panStartOffset + pan.translationInView(nullptr).x);
            break;
        case GestureState::Ended:
            settle(pan.velocityInView(nullptr).x);
            break;
        case GestureState::Cancelled:
            if (m_panStartOffset < 0) {
                showRightViewController(true);
            } else if (m_panStartOffset > 0) {
                showLeftViewController(true);
            } else {
                hideSideViewController(true);
            }
            break;
        default:
            break;
    }
}

void SideViewController::dragTo(double offset) {
    double least = m_right.controller ? -m_right.width : 0;
    double most = m_left.controller ? m_left.width : 0;
    offset = std::clamp(offset, least, most);
    // The panel about to be uncovered goes in under the root view as the drag starts to
    // show it; the other one goes away.
    if (offset < 0) {
        hideAtOnce(m_left);
        attach(m_right, true);
    } else if (offset > 0) {
        hideAtOnce(m_right);
        attach(m_left, true);
    }
    moveRoot(offset);
}

void SideViewController::settle(double velocity) {
    double offset = m_offset;
    if (offset < 0) {
        bool open = velocity < -kFlickVelocity ||
                    (velocity <= kFlickVelocity && offset <= -m_right.width / 2);
        open ? showRightViewController(true) : hideSideViewController(true);
    } else if (offset > 0) {
        bool open = velocity > kFlickVelocity ||
                    (velocity >= -kFlickVelocity && offset >= m_left.width / 2);
        open ? showLeftViewController(true) : hideSideViewController(true);
    } else {
        hideSideViewController(true);
    }
}

std::shared_ptr<ViewController> SideViewController::childForRotation() const {
    return m_root;
}

}  // namespace platform::components
