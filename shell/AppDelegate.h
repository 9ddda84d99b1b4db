#pragma once

#include <cstddef>
#include <memory>

#include "platform/ui/ApplicationDelegate.h"
#include "platform/ui/TabBarControllerDelegate.h"

namespace platform {
class TabBarController;
class ViewController;
class Window;
namespace components {
class IntroductionViewController;
class SideViewController;
}  // namespace components
}  // namespace platform

// The application's delegate. At launch it builds the one window and everything that stays on
// screen for the life of the process: four tabs, each a navigation stack, inside the side-menu
// container whose right panel is the side menu; on the very first launch it lays the
// introduction pages over the window. As the tab bar's delegate it keeps signed-out users out
// of the meeting and staff-directory tabs.
class AppDelegate : public platform::ApplicationDelegate,
                    public platform::TabBarControllerDelegate,
                    public std::enable_shared_from_this<AppDelegate> {
public:
    // The tabs by position in the tab bar. The meeting and staff-directory tabs need a
    // signed-in user.
    static constexpr size_t kNewsTabIndex = 0;
    static constexpr size_t kMeetingTabIndex = 1;
    static constexpr size_t kAddressBookTabIndex = 2;
    static constexpr size_t kSettingsTabIndex = 3;

    AppDelegate();
    ~AppDelegate() override;

    // The running delegate (the one set on the application), for screens that reach the
    // side-menu container; null when the application has no AppDelegate.
    static std::shared_ptr<AppDelegate> shared();
    // Makes a new delegate the application's and launches: what the program's main does.
    static std::shared_ptr<AppDelegate> launchApplication();

    std::shared_ptr<platform::Window> window() const override { return m_window; }
    const std::shared_ptr<platform::components::SideViewController>& sideViewController() const {
        return m_sideViewController;
    }
    // The introduction pages while they show; null otherwise.
    const std::shared_ptr<platform::components::IntroductionViewController>& intro() const {
        return m_intro;
    }

    bool didFinishLaunchingWithOptions(platform::Application& application,
                                       const platform::Json& options) override;

    // The sign-in gate of the tabs.
    bool shouldSelectViewController(
        platform::TabBarController& tabBarController,
        const std::shared_ptr<platform::ViewController>& controller) override;

private:
    std::shared_ptr<platform::TabBarController> makeTabBarController();

    std::shared_ptr<platform::Window> m_window;
    std::shared_ptr<platform::components::SideViewController> m_sideViewController;
    std::shared_ptr<platform::components::IntroductionViewController> m_intro;
};
