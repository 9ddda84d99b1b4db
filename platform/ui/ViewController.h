#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Application.h"
#include "platform/ui/InterfaceOrientation.h"
#include "platform/ui/RectEdge.h"
#include "platform/ui/Responder.h"

namespace platform {

class NavigationController;
class NavigationItem;
class TabBarController;
class TabBarItem;
class View;
class Window;
class PendingTransition;

enum class ModalTransitionStyle { CoverVertical, FlipHorizontal, CrossDissolve, PartialCurl };

enum class ModalPresentationStyle {
    FullScreen,
    PageSheet,
    FormSheet,
    CurrentContext,
    Custom,
    OverFullScreen,
    OverCurrentContext,
    Popover,
};

// The phone's UIViewController. Controllers live in std::shared_ptr; a parent owns its
// children and a presenting controller owns the one it presents; the links back (parent,
// presenting controller) do not own.
//
// The view is made on first use: loadView() (override it to build the view in code; the
// default is a plain view the size of the screen), then viewDidLoad(). Appearance
// callbacks come in the phone's order:
//   push:     new viewDidLoad, old viewWillDisappear, new viewWillAppear,
//             old viewDidDisappear, new viewDidAppear
//   pop:      top viewWillDisappear, below viewWillAppear, top viewDidDisappear,
//             below viewDidAppear
//   present:  presented viewDidLoad, presenter viewWillDisappear, presented viewWillAppear,
//             presented viewDidAppear, presenter viewDidDisappear
//   dismiss:  presented viewWillDisappear, presenter viewWillAppear, presenter viewDidAppear,
//             presented viewDidDisappear
//   tab switch and window root change: as push.
// Containers pass them on to the children on screen. The "Did" half of an animated
// transition comes after the transition's duration on the main run loop's clock; without
// animation everything happens before the call returns.
class ViewController : public Responder, public std::enable_shared_from_this<ViewController> {
public:
    ViewController();
    ~ViewController() override;
    ViewController(const ViewController&) = delete;
    ViewController& operator=(const ViewController&) = delete;

    // --- View -------------------------------------------------------------------------
    // Loads the view if needed.
    const std::shared_ptr<View>& view();
    std::shared_ptr<View> viewIfLoaded() const { return m_view; }
    bool isViewLoaded() const { return m_view != nullptr; }
    void loadViewIfNeeded() { view(); }
    // For loadView overrides (and for dropping a view that is not on screen).
    void setView(std::shared_ptr<View> view);

    virtual void loadView();
    virtual void viewDidLoad() {}
    virtual void viewWillAppear(bool /*animated*/) {}
    virtual void viewDidAppear(bool /*animated*/) {}
    virtual void viewWillDisappear(bool /*animated*/) {}
    virtual void viewDidDisappear(bool /*animated*/) {}
    virtual void viewWillLayoutSubviews() {}
    virtual void viewDidLayoutSubviews() {}
    virtual void didReceiveMemoryWarning() {}

    // Drives the appearance callbacks; containers call these for their children. Repeated
    // calls in the same direction do nothing.
    void beginAppearanceTransition(bool appearing, bool animated);
    void endAppearanceTransition();
    // Whether the view is on screen as far as the callbacks go (viewDidAppear came last).
    bool isAppeared() const { return m_appearance == Appearance::Appeared; }

    // --- Items and titles ---------------------------------------------------------------
    const std::string& title() const { return m_title; }
    // Also the title of the navigation item and the tab bar item.
    void setTitle(std::string title);
    NavigationItem& navigationItem();
    // A navigation controller's item is that of its root controller unless it has its own.
    virtual TabBarItem& tabBarItem();
    bool hidesBottomBarWhenPushed() const { return m_hidesBottomBarWhenPushed; }
    void setHidesBottomBarWhenPushed(bool hides) { m_hidesBottomBarWhenPushed = hides; }

    // --- Containment --------------------------------------------------------------------
    std::shared_ptr<ViewController> parentViewController() const;
    const std::vector<std::shared_ptr<ViewController>>& childViewControllers() const {
        return m_children;
    }
    void addChildViewController(std::shared_ptr<ViewController> child);
    void removeFromParentViewController();
    virtual void willMoveToParentViewController(ViewController* /*parent*/) {}
    virtual void didMoveToParentViewController(ViewController* /*parent*/) {}
    // The nearest navigation / tab bar controller above this one.
    std::shared_ptr<NavigationController> navigationController() const;
    std::shared_ptr<TabBarController> tabBarController() const;

    bool isMovingToParentViewController() const { return m_movingToParent; }
    bool isMovingFromParentViewController() const { return m_movingFromParent; }
    // Set by containers while a child is being added or removed.
    void setMovingToParent(bool moving) { m_movingToParent = moving; }
    void setMovingFromParent(bool moving) { m_movingFromParent = moving; }

    // --- Modal presentation -------------------------------------------------------------
    // Presentation goes to the top of this controller's containers (or to the controller
    // presented there). Nothing happens, apart from a logged warning, when that controller
    // is already presenting or its view is not in a window.
    void presentViewController(std::shared_ptr<ViewController> controller, bool animated,
                               std::function<void()> completion = {});
    // Dismisses what this controller presented, or else the presentation this controller is
    // part of. A second dismiss while one is running is ignored.
    void dismissViewController(bool animated, std::function<void()> completion = {});
    std::shared_ptr<ViewController> presentedViewController() const;
    std::shared_ptr<ViewController> presentingViewController() const;
    bool isBeingPresented() const { return m_beingPresented; }
    bool isBeingDismissed() const { return m_beingDismissed; }

    ModalTransitionStyle modalTransitionStyle() const { return m_modalTransitionStyle; }
    void setModalTransitionStyle(ModalTransitionStyle style) { m_modalTransitionStyle = style; }
    ModalPresentationStyle modalPresentationStyle() const { return m_modalPresentationStyle; }
    void setModalPresentationStyle(ModalPresentationStyle style) {
        m_modalPresentationStyle = style;
    }

    // --- Layout settings ----------------------------------------------------------------
    bool automaticallyAdjustsScrollViewInsets() const { return m_adjustsScrollViewInsets; }
    void setAutomaticallyAdjustsScrollViewInsets(bool adjusts) {
        m_adjustsScrollViewInsets = adjusts;
    }
    RectEdge edgesForExtendedLayout() const { return m_edgesForExtendedLayout; }
    void setEdgesForExtendedLayout(RectEdge edges) { m_edgesForExtendedLayout = edges; }
    bool extendedLayoutIncludesOpaqueBars() const { return m_extendedLayoutIncludesOpaqueBars; }
    void setExtendedLayoutIncludesOpaqueBars(bool includes) {
        m_extendedLayoutIncludesOpaqueBars = includes;
    }
    // How much of the view's top and bottom the bars cover (the phone's layout guides).
    double topLayoutGuideLength() const;
    double bottomLayoutGuideLength() const;
    virtual StatusBarStyle preferredStatusBarStyle() const { return StatusBarStyle::Default; }
    virtual bool prefersStatusBarHidden() const { return false; }

    // --- Rotation -----------------------------------------------------------------------
    // Asked of the top controller when the device turns (InterfaceRotation). From version 6
    // on: whether it turns at all, and which orientations it takes (by default those the
    // application declares, Application::supportedInterfaceOrientations). Before version 6
    // only shouldAutorotateToInterfaceOrientation is asked; by default it answers from the
    // supported orientations. Containers pass every one of these questions to the child they
    // show (childForRotation), so that a screen pushed or selected decides for itself.
    virtual bool shouldAutorotate() const;
    virtual InterfaceOrientationMask supportedInterfaceOrientations() const;
    virtual bool shouldAutorotateToInterfaceOrientation(InterfaceOrientation orientation);
    // The child a container shows, which answers the rotation questions for it; none by default.
    virtual std::shared_ptr<ViewController> childForRotation() const { return nullptr; }
    // Told of a rotation that was taken, before and after the layout pass.
    virtual void willRotateToInterfaceOrientation(InterfaceOrientation /*to*/,
                                                  double /*duration*/) {}
    virtual void didRotateFromInterfaceOrientation(InterfaceOrientation /*from*/) {}
    // The interface's orientation (the status bar's).
    InterfaceOrientation interfaceOrientation() const;
    // Drive the two callbacks through this controller, its children on screen and what it
    // presents, outer first; InterfaceRotation calls them on the windows' root controllers.
    void willRotate(InterfaceOrientation to, double duration);
    void didRotate(InterfaceOrientation from);

    // --- Responder ----------------------------------------------------------------------
    Responder* nextResponder() const override;

protected:
    // The children that appear and disappear with this controller. By default those whose
    // views are inside this controller's view.
    virtual std::vector<std::shared_ptr<ViewController>> childrenForAppearance() const;
    // For containers that keep their children in their own order.
    void attachChild(const std::shared_ptr<ViewController>& child, size_t index);
    void detachChild(ViewController& child);
    // Makes `children` the children in that order. Controllers that leave keep their
    // parent link until releaseChild, so they still find their container while they go.
    void setChildren(std::vector<std::shared_ptr<ViewController>> children);
    void releaseChild(ViewController& child);
    // Whether the appearance callbacks say this controller is on screen or coming on.
    bool isAppearedOrAppearing() const;
    bool isAppearing() const;
    bool hasOwnTabBarItem() const { return m_tabBarItem != nullptr; }
    // The controller presentations start from: the top of the container chain.
    ViewController* presentationRoot();
    const ViewController* presentationRoot() const;

private:
    friend class View;
    enum class Appearance { Disappeared, Appearing, Appeared, Disappearing };

    // The view of a child entered or left a window outside a transition of its parent.
    void viewMovedToWindow(bool inWindow);
    void finishPresentation();
    void finishDismissal();

    std::shared_ptr<View> m_view;
    ViewController* m_parent{nullptr};
    std::vector<std::shared_ptr<ViewController>> m_children;
    std::shared_ptr<ViewController> m_presented;
    std::weak_ptr<ViewController> m_presenting;
    std::unique_ptr<PendingTransition> m_modalTransition;

    Appearance m_appearance{Appearance::Disappeared};
    bool m_appearanceAnimated{false};
    std::string m_title;
    std::shared_ptr<NavigationItem> m_navigationItem;
    std::shared_ptr<TabBarItem> m_tabBarItem;
    std::weak_ptr<Window> m_coveredInWindow;
    bool m_hidesBottomBarWhenPushed{false};
    bool m_movingToParent{false};
    bool m_movingFromParent{false};
    bool m_beingPresented{false};
    bool m_beingDismissed{false};
    ModalTransitionStyle m_modalTransitionStyle{ModalTransitionStyle::CoverVertical};
    ModalPresentationStyle m_modalPresentationStyle{ModalPresentationStyle::FullScreen};
    bool m_adjustsScrollViewInsets{true};
    RectEdge m_edgesForExtendedLayout{RectEdge::All};
    bool m_extendedLayoutIncludesOpaqueBars{false};
};

}  // namespace platform
