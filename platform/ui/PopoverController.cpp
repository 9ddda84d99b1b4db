#include "platform/ui/PopoverController.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "platform/graphics/Color.h"
#include "platform/ui/Application.h"
#include "platform/ui/DisplayChanges.h"
#include "platform/ui/Touch.h"
#include "platform/ui/View.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace platform {

namespace {

std::weak_ptr<PopoverController>& lastVisible() {
    static std::weak_ptr<PopoverController> popover;
    return popover;
}

class PopoverPanel : public View {
public:
    using View::View;
    std::string describe() const override { return "popover"; }
};

struct Placement {
    PopoverArrowDirection arrow;
    Rect frame;
    double room;  // the share of the content that fits
};

const Color kEdge = Color::whiteAlpha(0.7f, 1);
constexpr double kArrowSide = 16;
// How far the arrow (kArrowSide turned half a right angle, centred on the panel's edge) stands
// out of the panel: the panel keeps that far off the rectangle, so that the arrow's tip meets
// the rectangle's edge and covers nothing of it (a select's text).
const double kArrowReach = kArrowSide * std::sqrt(0.5);

// Where the panel goes on one side of `anchor` inside `area`.
Placement placeOn(PopoverArrowDirection arrow, const Rect& anchor, const Rect& area, Size want) {
    double roomWidth = area.size.width;
    double roomHeight = area.size.height;
    switch (arrow) {
        case PopoverArrowDirection::Up:
            roomHeight = area.maxY() - anchor.maxY() - kArrowReach;
            break;
        case PopoverArrowDirection::Down:
            roomHeight = anchor.minY() - kArrowReach - area.minY();
            break;
        case PopoverArrowDirection::Left:
            roomWidth = area.maxX() - anchor.maxX() - kArrowReach;
            break;
        default:
            roomWidth = anchor.minX() - kArrowReach - area.minX();
            break;
    }
    Size size{std::clamp(want.width, 0.0, std::max(0.0, roomWidth)),
              std::clamp(want.height, 0.0, std::max(0.0, roomHeight))};
    const double midX = anchor.minX() + anchor.size.width / 2;
    const double midY = anchor.minY() + anchor.size.height / 2;
    auto clampX = [&](double x) {
        return std::clamp(x, area.minX(), std::max(area.minX(), area.maxX() - size.width));
    };
    auto clampY = [&](double y) {
        return std::clamp(y, area.minY(), std::max(area.minY(), area.maxY() - size.height));
    };
    Point origin;
    switch (arrow) {
        case PopoverArrowDirection::Up:
            origin = {clampX(midX - size.width / 2), anchor.maxY() + kArrowReach};
            break;
        case PopoverArrowDirection::Down:
            origin = {clampX(midX - size.width / 2), anchor.minY() - kArrowReach - size.height};
            break;
        case PopoverArrowDirection::Left:
            origin = {anchor.maxX() + kArrowReach, clampY(midY - size.height / 2)};
            break;
        default:
            origin = {anchor.minX() - kArrowReach - size.width, clampY(midY - size.height / 2)};
            break;
    }
    double wanted = want.width * want.height;
    double room = wanted > 0 ? (size.width * size.height) / wanted : 0;
    return Placement{arrow, Rect{origin, size}, room};
}

// The arrow is a square turned half a right angle, half of it out of the panel's edge on the
// side of the rectangle, pointing at the rectangle's middle (kept within the panel's edge).
Point arrowCentre(PopoverArrowDirection arrow, const Rect& panel, const Rect& anchor) {
    const double midX = std::clamp(anchor.minX() + anchor.size.width / 2, panel.minX() + kArrowSide,
                                   panel.maxX() - kArrowSide);
    const double midY = std::clamp(anchor.minY() + anchor.size.height / 2,
                                   panel.minY() + kArrowSide, panel.maxY() - kArrowSide);
    switch (arrow) {
        case PopoverArrowDirection::Up:
            return {midX, panel.minY()};
        case PopoverArrowDirection::Down:
            return {midX, panel.maxY()};
        case PopoverArrowDirection::Left:
            return {panel.minX(), midY};
        default:
            return {panel.maxX(), midY};
    }
}

}  // namespace

// The window-sized view under the panel: a touch that lifts outside the panel closes the
// popover. Touches inside reach the panel's views first and may come here along the
// responder chain; those are not outside.
class PopoverController::Backdrop : public View {
public:
    Backdrop(const Rect& frame, std::shared_ptr<PopoverController> owner)
        : View(frame), m_owner(std::move(owner)) {}

    void touchesEnded(const Touches& touches) override {
        auto owner = m_owner;
        if (!owner || !owner->m_panel || touches.empty()) {
            return;
        }
        Point at = touches.front().locationInView(this);
        if (!owner->m_panel->frame().contains(at)) {
            owner->tappedOutside();
        }
    }
    void touchesBegan(const Touches&) override {}
    void touchesMoved(const Touches&) override {}
    void touchesCancelled(const Touches&) override {}
    std::string describe() const override { return "popover backdrop"; }
    // The window turned (or resized): the popover is placed again beside its rectangle.
    void layoutSubviews() override {
        if (m_owner) {
            m_owner->place(*this);
        }
    }
    void release() { m_owner.reset(); }

private:
    std::shared_ptr<PopoverController> m_owner;
};

PopoverController::PopoverController(std::shared_ptr<ViewController> content)
    : m_content(std::move(content)) {}

PopoverController::~PopoverController() = default;

void PopoverController::presentFromRect(const Rect& rect, View& view,
                                        PopoverArrowDirection directions, bool /*animated*/) {
    auto window = view.window();
    if (m_panel || !window || !m_content) {
        return;
    }
    m_anchorView = view.weak_from_this();
    m_anchorRect = rect;
    m_directions =
        directions == PopoverArrowDirection::Unknown ? PopoverArrowDirection::Any : directions;
    auto backdrop = View::make<Backdrop>(window->bounds(), shared_from_this());
    // The screen dims a little under the popover, as the tablet's does.
    backdrop->setBackgroundColor(Color::whiteAlpha(0, 0.15f));
    backdrop->setHandle("popover-outside");
    backdrop->setAutoresizingMask(AutoresizingMask::FlexibleWidth |
                                  AutoresizingMask::FlexibleHeight);
    auto panel = View::make<PopoverPanel>(Rect{});
    panel->setBackgroundColor(Color::white());
    panel->setCornerRadius(8);
    panel->setClipsToBounds(true);
    panel->setBorderWidth(1);
    panel->setBorderColor(kEdge);
    auto contentView = m_content->view();
    contentView->setAutoresizingMask(AutoresizingMask::FlexibleWidth |
                                     AutoresizingMask::FlexibleHeight);
    m_backdrop = backdrop;
    m_panel = panel;
    m_arrowView = View::make<View>(Rect{{0, 0}, {kArrowSide, kArrowSide}});
    m_arrowView->setBackgroundColor(Color::white());
    m_arrowView->setBorderWidth(1);
    m_arrowView->setBorderColor(kEdge);
    m_arrowView->setUserInteractionEnabled(false);
    place(*window);
    contentView->setFrame(panel->bounds());
    lastVisible() = weak_from_this();
    m_content->beginAppearanceTransition(true, false);
    panel->addSubview(contentView);
    backdrop->addSubview(m_arrowView);
    backdrop->addSubview(panel);
    window->addSubview(backdrop);
    contentView->layoutIfNeeded();
    m_content->endAppearanceTransition();
    noteDisplayChange();
}

void PopoverController::place(const View& window) {
    auto anchorView = m_anchorView.lock();
    if (!m_panel || !anchorView) {
        return;
    }
    const Rect windowArea = window.bounds();
    const double top = std::max(kMargin, Application::shared().statusBarFrame().size.height);
    const Rect area{{kMargin, top},
                    {std::max(0.0, windowArea.size.width - 2 * kMargin),
                     std::max(0.0, windowArea.size.height - top - kMargin)}};
    const Rect anchor = anchorView->convertRectTo(m_anchorRect, nullptr);
    std::optional<Placement> chosen;
    for (auto arrow : {PopoverArrowDirection::Up, PopoverArrowDirection::Down,
                       PopoverArrowDirection::Left, PopoverArrowDirection::Right}) {
        if (!hasAny(m_directions, arrow)) {
            continue;
        }
        Placement placement = placeOn(arrow, anchor, area, m_contentSize);
        if (placement.room >= 1) {
            chosen = placement;
            break;
        }
        if (!chosen || placement.room > chosen->room) {
            chosen = placement;
        }
    }
    if (!chosen) {
        return;
    }
    m_arrow = chosen->arrow;
    m_panel->setFrame(chosen->frame);
    m_arrowView->setTransform(AffineTransform::identity());
    m_arrowView->setCenter(arrowCentre(chosen->arrow, chosen->frame, anchor));
    m_arrowView->setTransform(AffineTransform::makeRotation(M_PI / 4));
}

void PopoverController::dismissPopover(bool /*animated*/) {
    close();
}

void PopoverController::tappedOutside() {
    auto self = shared_from_this();
    auto delegate = m_delegate.lock();
    if (delegate && !delegate->popoverControllerShouldDismissPopover(*this)) {
        return;
    }
    close();
    if (delegate) {
        delegate->popoverControllerDidDismissPopover(*this);
    }
}

void PopoverController::close() {
    if (!m_panel) {
        return;
    }
    auto self = shared_from_this();
    m_content->beginAppearanceTransition(false, false);
    if (auto contentView = m_content->viewIfLoaded()) {
        contentView->removeFromSuperview();
    }
    auto backdrop = std::move(m_backdrop);
    m_panel.reset();
    m_arrowView.reset();
    m_arrow = PopoverArrowDirection::Unknown;
    backdrop->removeFromSuperview();
    static_cast<Backdrop&>(*backdrop).release();
    m_content->endAppearanceTransition();
    noteDisplayChange();
}

Rect PopoverController::panelFrame() const {
    return m_panel ? m_panel->frame() : Rect{};
}

std::shared_ptr<PopoverController> PopoverController::visible() {
    auto popover = lastVisible().lock();
    return popover && popover->isPopoverVisible() ? popover : nullptr;
}

}  // namespace platform
