#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "client/SignInState.h"
#include "components/intro/IntroductionViewController.h"
#include "components/sidemenu/SideViewController.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TabBarItem.h"
#include "platform/ui/Window.h"
#include "shell/RightViewController.h"
#include "tests/shell/ShellTestSupport.h"

using namespace shelltest;
using platform::TabBarController;

namespace {

class StartupTest : public ShellTest {
protected:
    std::shared_ptr<TabBarController> tabBarController() const {
        return std::dynamic_pointer_cast<TabBarController>(
            delegate->sideViewController()->rootViewController());
    }
    std::vector<std::string> tabTitles() const {
        std::vector<std::string> titles;
        for (const auto& stack : tabBarController()->viewControllers()) {
            titles.push_back(stack->tabBarItem().title());
        }
        return titles;
    }
};

// --- Introduction ---------------------------------------------------------------------------

TEST_F(StartupTest, FirstLaunchCoversTheTabBarWithTheIntroductionUntilTheUserEnters) {
    launch(375, 667);

    auto intro = delegate->intro();
    ASSERT_TRUE(intro);
    EXPECT_EQ(intro->coverImageNames(), (std::vector<std::string>{"6-1", "6-2", "6-3"}));
    EXPECT_TRUE(intro->backgroundImageNames().empty());
    // On top of everything in the window.
    ASSERT_FALSE(delegate->window()->subviews().empty());
    EXPECT_EQ(delegate->window()->subviews().back(), intro->view());
    EXPECT_EQ(intro->view()->frame(), delegate->window()->bounds());

    ASSERT_TRUE(driver.swipeToPage(intro->pagingScrollView(), 3));
    settle();

    EXPECT_EQ(delegate->intro(), nullptr);
    EXPECT_EQ(intro->view()->superview(), nullptr);
    EXPECT_EQ(delegate->window()->subviews().back(), delegate->sideViewController()->view());
    EXPECT_NE(driver.findByHandle("tab0"), nullptr);
}

TEST_F(StartupTest, TheIntroductionNeverShowsAgainEvenIfTheFirstLaunchEndedBeforeEntering) {
    launch(375, 667);
    ASSERT_TRUE(delegate->intro());

    relaunch(375, 667);

    EXPECT_EQ(delegate->intro(), nullptr);
    EXPECT_TRUE(defaults().boolForKey(SignInKey::firstLaunch));
    EXPECT_NE(driver.findByHandle("tab0"), nullptr);
}

TEST_F(StartupTest, EachPhoneSizeGetsItsOwnIntroductionPages) {
    struct Case {
        double width, height;
        std::vector<std::string> covers;
    };
    for (const auto& c : std::vector<Case>{{320, 480, {"4-1", "4-2", "4-3"}},
                                           {320, 568, {"5-1", "5-2", "5-3"}},
                                           {414, 736, {"6+1", "6+2", "6+3"}}}) {
        defaults().removeObjectForKey(SignInKey::firstLaunch);
        defaults().synchronize();
        relaunch(c.width, c.height);
        ASSERT_TRUE(delegate->intro()) << c.width << "x" << c.height;
        EXPECT_EQ(delegate->intro()->coverImageNames(), c.covers);
    }
}

TEST_F(StartupTest, AnUnknownScreenGetsNoIntroductionButCountsAsLaunched) {
    launch(768, 1024);

    EXPECT_EQ(delegate->intro(), nullptr);
    EXPECT_TRUE(defaults().boolForKey(SignInKey::firstLaunch));
    EXPECT_NE(driver.findByHandle("tab0"), nullptr);

    // Even on a phone size with pages, nothing shows after that.
    relaunch(375, 667);
    EXPECT_EQ(delegate->intro(), nullptr);
}

// --- Main window ----------------------------------------------------------------------------

TEST_F(StartupTest, TheWindowHoldsFourTabsInTheSideMenuContainer) {
    defaults().setBool(true, SignInKey::firstLaunch);
    launch();

    EXPECT_EQ(delegate->window(), platform::Application::shared().keyWindow());
    EXPECT_EQ(delegate->window()->rootViewController(), delegate->sideViewController());
    EXPECT_EQ(platform::Application::shared().statusBarStyle(),
              platform::StatusBarStyle::LightContent);

    ASSERT_TRUE(tabBarController());
    // The home page titles its own tab once its view has loaded.
    auto titles = tabTitles();
    ASSERT_EQ(titles.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(titles.begin() + 1, titles.end()),
              (std::vector<std::string>{"会议", "通讯录", "设置"}));
    EXPECT_EQ(tabBarController()->selectedIndex(), 0u);
    EXPECT_TRUE(std::dynamic_pointer_cast<RightViewController>(
        delegate->sideViewController()->rightViewController()));
    for (const auto& stack : tabBarController()->viewControllers()) {
        auto navigation = std::dynamic_pointer_cast<platform::NavigationController>(stack);
        ASSERT_TRUE(navigation);
        EXPECT_FALSE(navigation->navigationBar()->isTranslucent());
    }
    EXPECT_FALSE(tabBarController()->tabBar()->isTranslucent());
}

// --- Side menu ------------------------------------------------------------------------------

TEST_F(StartupTest, TheSidePanelScalesWithTheScreenAndTheTabsSlideAsideForIt) {
    struct Case {
        double width, height, panel;
    };
    defaults().setBool(true, SignInKey::firstLaunch);
    for (const auto& c : std::vector<Case>{{320, 568, 256}, {375, 667, 300}, {414, 736, 331.2}}) {
        relaunch(c.width, c.height);
        auto side = delegate->sideViewController();
        EXPECT_DOUBLE_EQ(side->rightViewShowWidth(), c.panel) << c.width;

        side->showRightViewController(false);
        settle();
        auto root = tabBarController()->view();
        EXPECT_DOUBLE_EQ(root->frame().origin.x, -c.panel) << c.width;
        EXPECT_EQ(root->frame().size, (platform::Size{c.width, c.height}));
        EXPECT_TRUE(delegate->sideViewController()->rightViewController()->isAppeared());

        side->hideSideViewController(false);
        settle();
        EXPECT_DOUBLE_EQ(root->frame().origin.x, 0) << c.width;
    }
}

}  // namespace
