#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/graphics/Geometry.h"
#include "platform/ui/ViewController.h"

namespace platform {
class GestureRecognizer;
class PanGestureRecognizer;
class View;
}  // namespace platform

namespace platform::components {

// The side-menu container: the root controller's view fills the container and slides aside
// to uncover a panel underneath, the right panel by moving left (the left one by moving
// right). A panel's view is in the container only while it shows, and its controller gets
// the appearance callbacks each time it is shown and hidden. While a panel shows, a tap on
// what is left of the root view on screen closes it. With the swipe on, dragging the root
// view sideways opens and closes the panels.
class SideViewController : public ViewController {
public:
    // The root view's frame when no panel shows is `orginFrame` (the container's bounds); the
    // block places it `xoffset` points to the side of that (negative: to the left).
    using RootViewMoveBlock = std::function<void(View& rootView, Rect orginFrame, double xoffset)>;

    static constexpr double kDefaultShowWidth = 260;
    static constexpr double kDefaultAnimationDuration = 0.25;
    // A drag released faster than this (points per second) opens or closes the panel
    // whatever its position.
    static constexpr double kFlickVelocity = 500;

    SideViewController();
    ~SideViewController() override;

    std::shared_ptr<ViewController> rootViewController() const { return m_root; }
    void setRootViewController(std::shared_ptr<ViewController> controller);
    std::shared_ptr<ViewController> leftViewController() const { return m_left.controller; }
    void setLeftViewController(std::shared_ptr<ViewController> controller);
    std::shared_ptr<ViewController> rightViewController() const { return m_right.controller; }
    void setRightViewController(std::shared_ptr<ViewController> controller);

    // How far the root view moves aside to show each panel.
    double leftViewShowWidth() const { return m_left.width; }
    void setLeftViewShowWidth(double width);
    double rightViewShowWidth() const { return m_right.width; }
    void setRightViewShowWidth(double width);
    double animationDuration() const { return m_animationDuration; }
    void setAnimationDuration(double seconds) { m_animationDuration = seconds; }

    // Absent: the root view's frame becomes orginFrame moved by xoffset.
    RootViewMoveBlock rootViewMoveBlock;

    bool needSwipeShowMenu() const { return m_needSwipeShowMenu; }
    void setNeedSwipeShowMenu(bool need);

    // Animated: the root view moves at once (headless animation) and the panel's
    // viewDidAppear / viewDidDisappear follow after the animation's duration.
    void showLeftViewController(bool animated);
    void showRightViewController(bool animated);
    void hideSideViewController(bool animated);
    bool isShowingLeft() const { return m_showing == Showing::Left; }
    bool isShowingRight() const { return m_showing == Showing::Right; }
    // Where the root view is relative to its resting place.
    double rootViewOffset() const { return m_offset; }

    void viewDidLoad() override;
    // The root controller answers for the container: the panels show beside it and turn
    // with it.
    std::shared_ptr<ViewController> childForRotation() const override;

private:
    enum class Showing { None, Left, Right };
    enum class Phase { Hidden, Appearing, Shown, Disappearing };
    struct Panel {
        std::shared_ptr<ViewController> controller;
        double width{kDefaultShowWidth};
        Phase phase{Phase::Hidden};
    };

    Panel& panel(Showing side) { return side == Showing::Left ? m_left : m_right; }
    void setPanelController(Showing side, std::shared_ptr<ViewController> controller);
    void showPanel(Showing side, bool animated);
    void installRootView();
    void moveRoot(double offset);
    void attach(Panel& panel, bool animated);
    void finishShow(Panel& panel);
    void beginHide(Panel& panel, bool animated);
    void finishHide(Panel& panel);
    void hideAtOnce(Panel& panel);
    void installCover();
    void removeCover();
    void handlePan(PanGestureRecognizer& pan);
    void dragTo(double offset);
    void settle(double velocity);
    std::shared_ptr<View> rootView() const;

    std::shared_ptr<ViewController> m_root;
    Panel m_left;
    Panel m_right;
    Showing m_showing{Showing::None};
    double m_offset{0};
    double m_panStartOffset{0};
    double m_animationDuration{kDefaultAnimationDuration};
    bool m_needSwipeShowMenu{true};
    // Bumped by every show and hide, so an animation that a newer one overtook does not
    // finish.
    std::uint64_t m_transition{0};
    // On the root view: opens a panel by dragging.
    std::shared_ptr<PanGestureRecognizer> m_rootPan;
    // Over the root view while a panel shows: takes taps (close) and drags.
    std::shared_ptr<View> m_cover;
    std::shared_ptr<PanGestureRecognizer> m_coverPan;
};

}  // namespace platform::components
