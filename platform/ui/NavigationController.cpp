#include "platform/ui/NavigationController.h"

#include <algorithm>

#include "platform/foundation/Log.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Application.h"
#include "platform/ui/GestureRecognizerDelegate.h"
#include "platform/ui/InterfaceRotation.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ScreenEdgePanGestureRecognizer.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/View.h"

namespace platform {

// The pop gesture's own delegate: nothing to go back to, or a screen with its own left
// items (a custom back button), means no swipe back.
class NavigationController::PopGestureGate : public GestureRecognizerDelegate {
public:
    // The gate belongs to the controller and dies with it; the recogniser holds it weakly.
    explicit PopGestureGate(NavigationController* controller) : m_controller(controller) {}

    bool gestureRecognizerShouldBegin(GestureRecognizer& /*recognizer*/) override {
        const auto& stack = m_controller->viewControllers();
        if (stack.size() < 2) {
            return false;
        }
        auto& item = stack.back()->navigationItem();
        return item.leftBarButtonItems().empty() && !item.hidesBackButton();
    }

private:
    NavigationController* m_controller;
};

NavigationController::NavigationController()
    : m_navigationBar(View::make<NavigationBar>()),
      m_popGesture(std::make_shared<ScreenEdgePanGestureRecognizer>()) {
    m_navigationBar->setHandle("navigationBar");
    m_popGestureGate = std::make_shared<PopGestureGate>(this);
    m_popGesture->setDelegate(m_popGestureGate);
}

NavigationController::NavigationController(std::shared_ptr<ViewController> root)
    : NavigationController() {
    if (root && !root->parentViewController()) {
        root->willMoveToParentViewController(this);
        attachChild(root, 0);
        root->didMoveToParentViewController(this);
        updateBarItems();
    }
}

NavigationController::~NavigationController() = default;

std::shared_ptr<ViewController> NavigationController::topViewController() const {
    const auto& stack = viewControllers();
    return stack.empty() ? nullptr : stack.back();
}

std::shared_ptr<ViewController> NavigationController::visibleViewController() const {
    if (auto presented = presentedViewController()) {
        return presented;
    }
    return topViewController();
}

void NavigationController::pushViewController(std::shared_ptr<ViewController> controller,
                                              bool animated) {
    if (!controller || controller->parentViewController() ||
        controller->presentingViewController()) {
        log("Warning: pushing a view controller that is already shown is not supported");
        return;
    }
    auto stack = viewControllers();
    stack.push_back(std::move(controller));
    transition(std::move(stack), animated);
}

std::shared_ptr<ViewController> NavigationController::popViewController(bool animated) {
    auto stack = viewControllers();
    if (stack.size() < 2) {
        return nullptr;
    }
    auto popped = stack.back();
    stack.pop_back();
    transition(std::move(stack), animated);
    return popped;
}

std::vector<std::shared_ptr<ViewController>> NavigationController::popToRootViewController(
    bool animated) {
    auto stack = viewControllers();
    if (stack.size() < 2) {
        return {};
    }
    std::vector<std::shared_ptr<ViewController>> popped(stack.begin() + 1, stack.end());
    transition({stack.front()}, animated);
    return popped;
}

std::vector<std::shared_ptr<ViewController>> NavigationController::popToViewController(
    const std::shared_ptr<ViewController>& controller, bool animated) {
    auto stack = viewControllers();
    auto it = std::find(stack.begin(), stack.end(), controller);
    if (it == stack.end() || it + 1 == stack.end()) {
        return {};
    }
    std::vector<std::shared_ptr<ViewController>> popped(it + 1, stack.end());
    stack.erase(it + 1, stack.end());
    transition(std::move(stack), animated);
    return popped;
}

void NavigationController::setViewControllers(
    std::vector<std::shared_ptr<ViewController>> controllers, bool animated) {
    std::vector<std::shared_ptr<ViewController>> stack;
    for (auto& controller : controllers) {
        if (!controller || std::find(stack.begin(), stack.end(), controller) != stack.end()) {
            continue;
        }
        auto parent = controller->parentViewController();
        if (parent && parent.get() != this) {
            continue;
        }
        stack.push_back(controller);
    }
    transition(std::move(stack), animated);
}

void NavigationController::transition(std::vector<std::shared_ptr<ViewController>> stack,
                                      bool animated) {
    // A transition still running completes first, as if its animation had ended.
    m_transition.flush();
    auto self = weak_from_this().lock();

    auto oldStack = viewControllers();
    auto oldTop = oldStack.empty() ? nullptr : oldStack.back();
    auto newTop = stack.empty() ? nullptr : stack.back();
    auto contains = [](const auto& list, const auto& c) {
        return std::find(list.begin(), list.end(), c) != list.end();
    };
    std::vector<std::shared_ptr<ViewController>> added;
    std::vector<std::shared_ptr<ViewController>> removed;
    for (auto& c : stack) {
        if (!contains(oldStack, c)) {
            added.push_back(c);
        }
    }
    for (auto& c : oldStack) {
        if (!contains(stack, c)) {
            removed.push_back(c);
        }
    }
    bool forward = newTop && !contains(oldStack, newTop);

    for (auto& c : added) {
        c->willMoveToParentViewController(this);
        c->setMovingToParent(true);
    }
    for (auto& c : removed) {
        c->willMoveToParentViewController(nullptr);
        c->setMovingFromParent(true);
    }
    setChildren(stack);

    bool changesTop = oldTop != newTop;
    bool onScreen = isAppeared();
    bool comingOn = isAppearing();
    if (changesTop && (onScreen || comingOn)) {
        if (newTop) {
            newTop->view();
        }
        if (oldTop) {
            oldTop->beginAppearanceTransition(false, animated && onScreen);
            if (comingOn) {
                oldTop->endAppearanceTransition();
            }
        }
        if (newTop) {
            // While this controller is still coming on, the new top finishes appearing
            // with it.
            newTop->beginAppearanceTransition(true, animated && onScreen);
        }
    }
    if (auto view = viewIfLoaded(); view && newTop && changesTop) {
        auto topView = newTop->view();
        if (forward) {
            view->insertSubviewBelow(topView, m_navigationBar.get());
        } else {
            view->insertSubview(topView, 0);
        }
    }
    layoutContent();
    updateBarItems();
    notifyTabBarController();

    std::weak_ptr<ViewController> weakSelf = self;
    auto finish = [weakSelf, oldTop, newTop, added, removed, changesTop, onScreen] {
        auto alive = weakSelf.lock();
        if (!alive) {
            return;
        }
        auto* nav = static_cast<NavigationController*>(alive.get());
        if (changesTop && oldTop) {
            auto oldView = oldTop->viewIfLoaded();
            if (oldView && nav->isViewLoaded() && oldView->superview() == nav->view()) {
                oldView->removeFromSuperview();
            }
        }
        if (changesTop && onScreen) {
            if (oldTop) {
                oldTop->endAppearanceTransition();
            }
            if (newTop) {
                newTop->endAppearanceTransition();
            }
        }
        for (auto& c : removed) {
            nav->releaseChild(*c);
            c->setMovingFromParent(false);
            c->didMoveToParentViewController(nullptr);
        }
        for (auto& c : added) {
            c->setMovingToParent(false);
            c->didMoveToParentViewController(nav);
        }
        // The screen now on top answers for the stack: a screen laid out for landscape turns
        // to a turned device, and leaving it turns an upright-only stack back.
        if (changesTop && onScreen) {
            InterfaceRotation::attemptRotationToDeviceOrientation();
        }
    };
    m_transition.schedule(animated && onScreen && changesTop ? animation::kNavigationTransition : 0,
                          std::move(finish));
}

void NavigationController::loadView() {
    auto view = View::make<View>(Screen::main().bounds());
    view->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
    setView(view);
    view->addSubview(m_navigationBar);

    std::weak_ptr<ViewController> weak = weak_from_this();
    m_navigationBar->onBack = [weak] {
        if (auto self = weak.lock()) {
            static_cast<NavigationController&>(*self).popViewController(true);
        }
    };
    m_navigationBar->onTranslucencyChange = [weak] {
        auto self = weak.lock();
        if (!self) {
            return;
        }
        auto& navigation = static_cast<NavigationController&>(*self);
        // Only a screen already in place moves under or below the bar. One still being pushed
        // (changing the bar from its own viewDidLoad) is placed by its push: putting it on
        // screen from here would start its appearance before it has finished loading.
        auto top = navigation.topViewController();
        auto topView = top ? top->viewIfLoaded() : nullptr;
        if (topView && topView->superview() == navigation.viewIfLoaded()) {
            navigation.layoutContent();
        }
    };
    m_popGesture->removeAllTargets();
    m_popGesture->addTarget([weak](GestureRecognizer&) {
        if (auto self = weak.lock()) {
            static_cast<NavigationController&>(*self).handlePopGesture();
        }
    });
    view->addGestureRecognizer(m_popGesture);
    layoutContent();
}

void NavigationController::viewWillLayoutSubviews() {
    layoutContent();
}

void NavigationController::layoutContent() {
    auto view = viewIfLoaded();
    if (!view) {
        return;
    }
    Rect b = view->bounds();
    // The bar sits under the status bar when this view reaches the top of the screen.
    double statusBar = Application::shared().statusBarFrame().size.height;
    double topOnScreen = view->convertPointTo(b.origin, nullptr).y;
    double barY = std::max(0.0, statusBar - topOnScreen);
    bool barShown = !m_navigationBarHidden;
    m_navigationBar->setHidden(!barShown);
    m_navigationBar->setFrame(
        Rect{{b.origin.x, b.origin.y + barY}, {b.size.width, NavigationBar::kHeight}});
    m_navigationBar->layoutIfNeeded();

    auto top = topViewController();
    if (!top) {
        return;
    }
    auto topView = top->view();
    if (topView->superview() != view) {
        view->insertSubviewBelow(topView, m_navigationBar.get());
    }
    bool underBar = hasAny(top->edgesForExtendedLayout(), RectEdge::Top) &&
                    (m_navigationBar->isTranslucent() || top->extendedLayoutIncludesOpaqueBars());
    double y = (!barShown || underBar) ? 0 : barY + NavigationBar::kHeight;
    topView->setAutoresizingMask(AutoresizingMask::FlexibleWidth |
                                 AutoresizingMask::FlexibleHeight);
    topView->setFrame(Rect{{b.origin.x, b.origin.y + y}, {b.size.width, b.size.height - y}});
}

void NavigationController::setNavigationBarHidden(bool hidden, bool /*animated*/) {
    m_navigationBarHidden = hidden;
    layoutContent();
}

std::shared_ptr<GestureRecognizer> NavigationController::interactivePopGestureRecognizer() const {
    return m_popGesture;
}

void NavigationController::handlePopGesture() {
    // Headless: the swipe does not drag the screen along; a swipe past the middle pops.
    if (m_popGesture->state() != GestureState::Ended) {
        return;
    }
    auto view = viewIfLoaded();
    double width = view ? view->bounds().size.width : Screen::main().size().width;
    if (m_popGesture->translationInView(view.get()).x > width / 2) {
        popViewController(true);
    }
}

void NavigationController::updateBarItems() {
    std::vector<std::shared_ptr<NavigationItem>> items;
    for (auto& c : viewControllers()) {
        items.push_back(c->navigationItem().shared_from_this());
    }
    m_navigationBar->setItems(std::move(items));
}

void NavigationController::notifyTabBarController() {
    if (auto tabs = tabBarController()) {
        tabs->updateTabBarVisibility();
    }
}

bool NavigationController::wantsBottomBarHidden() const {
    const auto& stack = viewControllers();
    return std::any_of(stack.begin() + std::min<size_t>(1, stack.size()), stack.end(),
                       [](const auto& c) { return c->hidesBottomBarWhenPushed(); });
}

TabBarItem& NavigationController::tabBarItem() {
    const auto& stack = viewControllers();
    if (!hasOwnTabBarItem() && !stack.empty()) {
        return stack.front()->tabBarItem();
    }
    return ViewController::tabBarItem();
}

std::vector<std::shared_ptr<ViewController>> NavigationController::childrenForAppearance() const {
    if (auto top = topViewController()) {
        return {top};
    }
    return {};
}

std::shared_ptr<ViewController> NavigationController::childForRotation() const {
    return topViewController();
}

}  // namespace platform
