#include <gtest/gtest.h>

#include <memory>

#include "client/SignInState.h"
#include "components/sidemenu/SideViewController.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TabBarItem.h"
#include "shell/AppDelegate.h"
#include "signin/LoginViewController.h"
#include "tests/shell/ShellTestSupport.h"

using namespace shelltest;
using platform::TabBarController;

namespace {

class TabGateTest : public ShellTest {
protected:
    void SetUp() override { defaults().setBool(true, SignInKey::firstLaunch); }

    std::shared_ptr<TabBarController> tabs() const {
        return std::dynamic_pointer_cast<TabBarController>(
            delegate->sideViewController()->rootViewController());
    }
    std::shared_ptr<LoginViewController> signInPage() const {
        return std::dynamic_pointer_cast<LoginViewController>(driver.currentScreen());
    }
};

TEST_F(TabGateTest, SignedOutTheMeetingTabPresentsTheSignInPageAndKeepsTheTab) {
    launch();

    ASSERT_TRUE(driver.tap("tab1"));
    settle();
    auto page = signInPage();
    ASSERT_TRUE(page) << driver.outline();
    EXPECT_EQ(page->modalTransitionStyle(), platform::ModalTransitionStyle::CoverVertical);
    EXPECT_FALSE(page->isWebLogin());
    EXPECT_EQ(tabs()->selectedIndex(), 0u);

    // Closing it leaves the tab that was selected.
    ASSERT_TRUE(driver.tap("close"));
    settle();
    EXPECT_FALSE(signInPage());
    EXPECT_EQ(tabs()->selectedIndex(), 0u);
}

TEST_F(TabGateTest, SignedOutSettingsSwitchesAndTheDirectoryIsGatedFromThere) {
    launch();

    ASSERT_TRUE(driver.tap("tab3"));
    settle();
    EXPECT_EQ(tabs()->selectedIndex(), 3u);
    EXPECT_FALSE(signInPage());

    ASSERT_TRUE(driver.tap("tab2"));
    settle();
    EXPECT_TRUE(signInPage()) << driver.outline();
    EXPECT_EQ(tabs()->selectedIndex(), 3u);
}

TEST_F(TabGateTest, TheGateGoesByTabPositionWhateverTheTabsAreCalled) {
    launch();
    const auto& stacks = tabs()->viewControllers();
    stacks[AppDelegate::kMeetingTabIndex]->tabBarItem().setTitle("设置");
    stacks[AppDelegate::kSettingsTabIndex]->tabBarItem().setTitle("会议");

    ASSERT_TRUE(driver.tap("tab3"));
    settle();
    EXPECT_FALSE(signInPage());
    EXPECT_EQ(tabs()->selectedIndex(), AppDelegate::kSettingsTabIndex);

    ASSERT_TRUE(driver.tap("tab1"));
    settle();
    EXPECT_TRUE(signInPage()) << driver.outline();
    EXPECT_EQ(tabs()->selectedIndex(), AppDelegate::kSettingsTabIndex);
}

TEST_F(TabGateTest, SignedInEveryTabSwitchesWithoutTheSignInPage) {
    defaults().setBool(true, SignInKey::isLogin);
    launch();

    auto side = delegate->sideViewController();
    EXPECT_TRUE(side->needSwipeShowMenu());  // the home page allows it for a signed-in user
    for (size_t tab : {1u, 2u, 3u, 0u}) {
        ASSERT_TRUE(driver.tap("tab" + std::to_string(tab)));
        settle();
        EXPECT_EQ(tabs()->selectedIndex(), tab);
        EXPECT_FALSE(signInPage()) << "tab " << tab;
        // Only the home page lets the side menu be swiped open.
        EXPECT_EQ(side->needSwipeShowMenu(), tab == 0) << "tab " << tab;
    }
}

}  // namespace
