#pragma once

#include <memory>
#include <vector>

#include "platform/ui/ViewController.h"

namespace platform {

class TabBar;
class TabBarControllerDelegate;

// The phone's UITabBarController: one child per tab, the selected child's view above the
// tab bar (or under it, when the bar is translucent), switched by taps on the bar. A tap
// asks the delegate first; a refusal keeps the current tab. Tapping the selected tab of a
// navigation stack goes back to its root. The tab bar hides while the selected stack shows
// a screen that hides the bottom bar.
class TabBarController : public ViewController {
public:
    TabBarController();
    ~TabBarController() override;

    const std::vector<std::shared_ptr<ViewController>>& viewControllers() const {
        return childViewControllers();
    }
    void setViewControllers(std::vector<std::shared_ptr<ViewController>> controllers,
                            bool animated = false);

    size_t selectedIndex() const { return m_selectedIndex; }
    // Switches without asking the delegate; an index out of range is ignored.
    void setSelectedIndex(size_t index);
    std::shared_ptr<ViewController> selectedViewController() const;
    // The shown child answers for the container (InterfaceRotation).
    std::shared_ptr<ViewController> childForRotation() const override;
    void setSelectedViewController(const std::shared_ptr<ViewController>& controller);

    const std::shared_ptr<TabBar>& tabBar() const { return m_tabBar; }
    std::shared_ptr<TabBarControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<TabBarControllerDelegate> delegate) {
        m_delegate = std::move(delegate);
    }

    // What a tap on the tab bar's button `index` does.
    void tabTapped(size_t index);
    // Lays out again after the selected stack changed what it wants of the tab bar.
    void updateTabBarVisibility();

    void loadView() override;
    void viewWillLayoutSubviews() override;

protected:
    std::vector<std::shared_ptr<ViewController>> childrenForAppearance() const override;

private:
    void switchTo(size_t index);
    // Shows the newly selected child in place of the old one, with the appearance calls the
    // phone makes when the tab bar controller is on screen or coming on.
    void replaceSelected(const std::shared_ptr<ViewController>& oldSelected,
                         const std::shared_ptr<ViewController>& newSelected);
    void connectTabBar();
    void updateTabBarItems();
    void layoutContent();

    size_t m_selectedIndex{0};
    std::shared_ptr<TabBar> m_tabBar;
    std::weak_ptr<TabBarControllerDelegate> m_delegate;
};

}  // namespace platform
