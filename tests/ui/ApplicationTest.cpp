#include <gtest/gtest.h>

#include "platform/ui/ApplicationDelegate.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "tests/ui/UiTestSupport.h"

namespace uitest {
namespace {

using namespace platform;

using ApplicationTest = UiTest;

TEST_F(ApplicationTest, OnlyURLsSomeAppCanTakeAreOpened) {
    auto& app = Application::shared();
    EXPECT_TRUE(app.openURL("tel://13800000000"));
    EXPECT_FALSE(app.canOpenURL("campuschat://app"));
    EXPECT_FALSE(app.openURL("campuschat://app"));
    EXPECT_FALSE(app.openURL("no scheme"));
    EXPECT_EQ(app.openedURLs(), (std::vector<std::string>{"tel://13800000000"}));
}

// Records the launch sequence.
class RecordingDelegate : public ApplicationDelegate {
public:
    bool didFinishLaunchingWithOptions(Application&, const platform::Json&) override {
        events.push_back("launch");
        return true;
    }
    void applicationDidBecomeActive(Application&) override { events.push_back("active"); }
    void applicationDidEnterBackground(Application&) override { events.push_back("background"); }
    std::vector<std::string> events;
};

TEST_F(ApplicationTest, LaunchFinishesThenBecomesActive) {
    auto delegate = std::make_shared<RecordingDelegate>();
    Application::shared().setDelegate(delegate);
    EXPECT_TRUE(Application::shared().launch());
    Application::shared().enterBackground();
    EXPECT_EQ(delegate->events, (std::vector<std::string>{"launch", "active", "background"}));
}

// Keeps the main window, as an application delegate does.
class WindowDelegate : public ApplicationDelegate {
public:
    std::shared_ptr<Window> window() const override { return mainWindow; }
    std::shared_ptr<Window> mainWindow;
};

TEST_F(ApplicationTest, TheDelegatesWindowIsReachableThroughTheApplication) {
    auto plain = std::make_shared<RecordingDelegate>();
    Application::shared().setDelegate(plain);
    EXPECT_FALSE(Application::shared().delegate()->window());
    auto delegate = std::make_shared<WindowDelegate>();
    delegate->mainWindow = View::make<Window>();
    Application::shared().setDelegate(delegate);
    EXPECT_EQ(Application::shared().delegate()->window(), delegate->mainWindow);
}

TEST_F(ApplicationTest, HidingTheStatusBarMovesTheNavigationBarUp) {
    auto nav = std::make_shared<NavigationController>(std::make_shared<ViewController>());
    auto window = showWindow(nav);
    EXPECT_EQ(nav->navigationBar()->frame().origin.y, 20);
    Application::shared().setStatusBarHidden(true);
    RunLoop::main().runPending();
    EXPECT_EQ(nav->navigationBar()->frame().origin.y, 0);
}

TEST_F(ApplicationTest, ShownWindowsAreListedAndTheLastMadeKeyIsKey) {
    auto first = View::make<Window>();
    auto second = View::make<Window>();
    first->makeKeyAndVisible();
    second->makeKeyAndVisible();
    EXPECT_EQ(Application::shared().windows(),
              (std::vector<std::shared_ptr<Window>>{first, second}));
    EXPECT_TRUE(second->isKeyWindow());
    EXPECT_FALSE(first->isKeyWindow());
    second.reset();
    EXPECT_EQ(Application::shared().windows().size(), 1u);
}

}  // namespace
}  // namespace uitest
