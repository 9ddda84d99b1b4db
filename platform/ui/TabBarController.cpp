#include "platform/ui/TabBarController.h"

#include <algorithm>

#include "platform/ui/InterfaceRotation.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TabBarControllerDelegate.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/View.h"

namespace platform {

TabBarController::TabBarController() : m_tabBar(View::make<TabBar>()) {
    m_tabBar->setHandle("tabBar");
}

TabBarController::~TabBarController() = default;

std::shared_ptr<ViewController> TabBarController::selectedViewController() const {
    const auto& children = viewControllers();
    return m_selectedIndex < children.size() ? children[m_selectedIndex] : nullptr;
}

void TabBarController::setSelectedViewController(
    const std::shared_ptr<ViewController>& controller) {
    const auto& children = viewControllers();
    auto it = std::find(children.begin(), children.end(), controller);
    if (it != children.end()) {
        setSelectedIndex(size_t(it - children.begin()));
    }
}

void TabBarController::setViewControllers(std::vector<std::shared_ptr<ViewController>> controllers,
                                          bool /*animated*/) {
    connectTabBar();
    auto self = weak_from_this().lock();
    std::vector<std::shared_ptr<ViewController>> list;
    for (auto& c : controllers) {
        if (!c || std::find(list.begin(), list.end(), c) != list.end()) {
            continue;
        }
        auto parent = c->parentViewController();
        if (parent && parent.get() != this) {
            continue;
        }
        list.push_back(c);
    }
    auto oldChildren = viewControllers();
    auto oldSelected = selectedViewController();
    auto contains = [](const auto& v, const auto& c) {
        return std::find(v.begin(), v.end(), c) != v.end();
    };
    std::vector<std::shared_ptr<ViewController>> added;
    std::vector<std::shared_ptr<ViewController>> removed;
    for (auto& c : list) {
        if (!contains(oldChildren, c)) {
            added.push_back(c);
            c->willMoveToParentViewController(this);
        }
    }
    for (auto& c : oldChildren) {
        if (!contains(list, c)) {
            removed.push_back(c);
            c->willMoveToParentViewController(nullptr);
        }
    }
    setChildren(list);

    size_t index = 0;
    if (auto it = std::find(list.begin(), list.end(), oldSelected);
        oldSelected && it != list.end()) {
        index = size_t(it - list.begin());
    } else if (m_selectedIndex < list.size()) {
        index = m_selectedIndex;
    }
    m_selectedIndex = index;
    auto newSelected = selectedViewController();
    updateTabBarItems();

    replaceSelected(oldSelected, newSelected);
    for (auto& c : removed) {
        releaseChild(*c);
        c->didMoveToParentViewController(nullptr);
    }
    for (auto& c : added) {
        c->didMoveToParentViewController(this);
    }
    layoutContent();
}

void TabBarController::setSelectedIndex(size_t index) {
    if (index >= viewControllers().size() || index == m_selectedIndex) {
        return;
    }
    switchTo(index);
}

void TabBarController::switchTo(size_t index) {
    auto self = weak_from_this().lock();
    auto oldSelected = selectedViewController();
    m_selectedIndex = index;
    auto newSelected = selectedViewController();
    replaceSelected(oldSelected, newSelected);
    m_tabBar->setSelectedItem(newSelected ? newSelected->tabBarItem().shared_from_this() : nullptr);
    layoutContent();
    // The tab now shown answers for the container.
    if (oldSelected != newSelected && isAppeared()) {
        InterfaceRotation::attemptRotationToDeviceOrientation();
    }
}

void TabBarController::replaceSelected(const std::shared_ptr<ViewController>& oldSelected,
                                       const std::shared_ptr<ViewController>& newSelected) {
    if (oldSelected == newSelected) {
        return;
    }
    bool onScreen = isAppeared();
    bool comingOn = isAppearing();
    if (onScreen || comingOn) {
        if (newSelected) {
            newSelected->view();
        }
        if (oldSelected) {
            oldSelected->beginAppearanceTransition(false, false);
            if (comingOn) {
                oldSelected->endAppearanceTransition();
            }
        }
        if (newSelected) {
            newSelected->beginAppearanceTransition(true, false);
        }
    }
    if (auto view = viewIfLoaded()) {
        if (oldSelected) {
            if (auto oldView = oldSelected->viewIfLoaded();
                oldView && oldView->superview() == view) {
                oldView->removeFromSuperview();
            }
        }
        if (newSelected) {
            view->insertSubview(newSelected->view(), 0);
        }
    }
    if (onScreen) {
        if (oldSelected) {
            oldSelected->endAppearanceTransition();
        }
        if (newSelected) {
            newSelected->endAppearanceTransition();
        }
    }
}

void TabBarController::tabTapped(size_t index) {
    const auto& children = viewControllers();
    if (index >= children.size()) {
        return;
    }
    auto self = weak_from_this().lock();
    auto controller = children[index];
    auto delegate = m_delegate.lock();
    if (delegate && !delegate->shouldSelectViewController(*this, controller)) {
        return;
    }
    if (index == m_selectedIndex) {
        if (auto nav = std::dynamic_pointer_cast<NavigationController>(controller)) {
            nav->popToRootViewController(true);
        }
    } else {
        switchTo(index);
    }
    if (delegate) {
        delegate->didSelectViewController(*this, controller);
    }
}

void TabBarController::connectTabBar() {
    std::weak_ptr<ViewController> weak = weak_from_this();
    if (weak.expired()) {
        return;
    }
    m_tabBar->onItemTapped = [weak](size_t index) {
        if (auto self = weak.lock()) {
            static_cast<TabBarController&>(*self).tabTapped(index);
        }
    };
    m_tabBar->onTranslucencyChange = [weak] {
        if (auto self = weak.lock()) {
            static_cast<TabBarController&>(*self).layoutContent();
        }
    };
}

void TabBarController::updateTabBarItems() {
    std::vector<std::shared_ptr<TabBarItem>> items;
    for (auto& c : viewControllers()) {
        items.push_back(c->tabBarItem().shared_from_this());
    }
    m_tabBar->setItems(items);
    auto selected = selectedViewController();
    m_tabBar->setSelectedItem(selected ? selected->tabBarItem().shared_from_this() : nullptr);
}

void TabBarController::updateTabBarVisibility() {
    layoutContent();
}

void TabBarController::loadView() {
    auto view = View::make<View>(Screen::main().bounds());
    view->setAutoresizingMask(AutoresizingMask::FlexibleWidth | AutoresizingMask::FlexibleHeight);
    setView(view);
    view->addSubview(m_tabBar);
    connectTabBar();
    if (auto selected = selectedViewController()) {
        view->insertSubview(selected->view(), 0);
    }
    layoutContent();
}

void TabBarController::viewWillLayoutSubviews() {
    layoutContent();
}

void TabBarController::layoutContent() {
    auto view = viewIfLoaded();
    if (!view) {
        return;
    }
    Rect b = view->bounds();
    auto selected = selectedViewController();
    auto nav = std::dynamic_pointer_cast<NavigationController>(selected);
    bool barShown = !(nav && nav->wantsBottomBarHidden());
    m_tabBar->setHidden(!barShown);
    m_tabBar->setFrame(Rect{{b.origin.x, b.origin.y + b.size.height - TabBar::kHeight},
                            {b.size.width, TabBar::kHeight}});
    m_tabBar->layoutIfNeeded();
    if (!selected) {
        return;
    }
    auto selectedView = selected->view();
    if (selectedView->superview() != view) {
        view->insertSubview(selectedView, 0);
    }
    double covered = barShown && !m_tabBar->isTranslucent() ? TabBar::kHeight : 0;
    selectedView->setAutoresizingMask(AutoresizingMask::FlexibleWidth |
                                      AutoresizingMask::FlexibleHeight);
    selectedView->setFrame(Rect{b.origin, {b.size.width, b.size.height - covered}});
}

std::vector<std::shared_ptr<ViewController>> TabBarController::childrenForAppearance() const {
    if (auto selected = selectedViewController()) {
        return {selected};
    }
    return {};
}

std::shared_ptr<ViewController> TabBarController::childForRotation() const {
    return selectedViewController();
}

}  // namespace platform
