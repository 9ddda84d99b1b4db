#pragma once

#include <memory>
#include <vector>

#include "platform/ui/PendingTransition.h"
#include "platform/ui/ViewController.h"

namespace platform {

class GestureRecognizer;
class GestureRecognizerDelegate;
class NavigationBar;
class ScreenEdgePanGestureRecognizer;

// The phone's UINavigationController: a stack of screens with a navigation bar. The top
// screen's view fills the controller's view below the bar (or under it, when the bar is
// translucent and the screen extends its layout there). Its children are the stack.
//
// The interactive pop gesture (a pan from the left edge) pops the top screen. Its default
// delegate lets it start only when there is a screen to go back to and the top screen has
// no left bar items of its own; a screen may replace or clear that delegate.
class NavigationController : public ViewController {
public:
    NavigationController();
    explicit NavigationController(std::shared_ptr<ViewController> root);
    ~NavigationController() override;

    const std::vector<std::shared_ptr<ViewController>>& viewControllers() const {
        return childViewControllers();
    }
    void setViewControllers(std::vector<std::shared_ptr<ViewController>> controllers,
                            bool animated = false);
    std::shared_ptr<ViewController> topViewController() const;
    // The shown child answers for the container (InterfaceRotation).
    std::shared_ptr<ViewController> childForRotation() const override;
    // The top screen, or what it (or this controller) presents.
    std::shared_ptr<ViewController> visibleViewController() const;

    // Pushing a screen that is already in a stack is ignored.
    void pushViewController(std::shared_ptr<ViewController> controller, bool animated);
    // Null, with nothing changed, when only the root is left.
    std::shared_ptr<ViewController> popViewController(bool animated);
    std::vector<std::shared_ptr<ViewController>> popToRootViewController(bool animated);
    std::vector<std::shared_ptr<ViewController>> popToViewController(
        const std::shared_ptr<ViewController>& controller, bool animated);

    const std::shared_ptr<NavigationBar>& navigationBar() const { return m_navigationBar; }
    bool isNavigationBarHidden() const { return m_navigationBarHidden; }
    void setNavigationBarHidden(bool hidden, bool animated = false);

    std::shared_ptr<GestureRecognizer> interactivePopGestureRecognizer() const;

    // Whether the tab bar of an enclosing tab bar controller should hide for the stack.
    bool wantsBottomBarHidden() const;

    TabBarItem& tabBarItem() override;
    void loadView() override;
    void viewWillLayoutSubviews() override;

protected:
    std::vector<std::shared_ptr<ViewController>> childrenForAppearance() const override;

private:
    class PopGestureGate;

    // Replaces the stack; `animated` only affects the timing of the "Did" callbacks.
    void transition(std::vector<std::shared_ptr<ViewController>> stack, bool animated);
    void layoutContent();
    void updateBarItems();
    void notifyTabBarController();
    void handlePopGesture();

    std::shared_ptr<NavigationBar> m_navigationBar;
    bool m_navigationBarHidden{false};
    std::shared_ptr<ScreenEdgePanGestureRecognizer> m_popGesture;
    std::shared_ptr<PopGestureGate> m_popGestureGate;
    PendingTransition m_transition;
};

}  // namespace platform
