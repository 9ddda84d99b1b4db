#include <gtest/gtest.h>

#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TabBarButton.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/TabBarControllerDelegate.h"
#include "platform/ui/TabBarItem.h"
#include "tests/ui/UiTestSupport.h"

namespace uitest {
namespace {

using namespace platform;

// Refuses the tab titled "会议", as the sign-in gate does for signed-out users.
class Gate : public TabBarControllerDelegate {
public:
    bool shouldSelectViewController(TabBarController&,
                                    const std::shared_ptr<ViewController>& controller) override {
        asked.push_back(controller->tabBarItem().title());
        return controller->tabBarItem().title() != "会议";
    }
    void didSelectViewController(TabBarController&,
                                 const std::shared_ptr<ViewController>& controller) override {
        selected.push_back(controller->tabBarItem().title());
    }
    std::vector<std::string> asked;
    std::vector<std::string> selected;
};

class TabBarTest : public UiTest {
protected:
    void SetUp() override {
        const char* titles[] = {"新闻", "会议", "设置"};
        const char* names[] = {"A", "B", "C"};
        for (int i = 0; i < 3; ++i) {
            roots.push_back(std::make_shared<RecordingController>(names[i], log));
            roots.back()->tabBarItem().setTitle(titles[i]);
            navs.push_back(std::make_shared<NavigationController>(roots.back()));
        }
        tabs = std::make_shared<TabBarController>();
        tabs->setViewControllers({navs[0], navs[1], navs[2]});
        tabs->setDelegate(gate);
        window = showWindow(tabs);
        log->clear();
    }

    void tapTab(size_t index) {
        auto button = tabs->tabBar()->itemButtons().at(index);
        Rect r = button->convertRectTo(button->bounds(), nullptr);
        window->tap(Point{r.midX(), r.midY()});
    }

    std::shared_ptr<Log> log = std::make_shared<Log>();
    std::vector<std::shared_ptr<RecordingController>> roots;
    std::vector<std::shared_ptr<NavigationController>> navs;
    std::shared_ptr<TabBarController> tabs;
    std::shared_ptr<Gate> gate = std::make_shared<Gate>();
    std::shared_ptr<Window> window;
};

TEST_F(TabBarTest, TabsShowTheirRootScreensItemsAndBadges) {
    auto& buttons = tabs->tabBar()->itemButtons();
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(buttons[1]->titleLabel()->text(), "会议");
    EXPECT_TRUE(buttons[0]->isSelected());
    EXPECT_FALSE(buttons[2]->isSelected());
    EXPECT_EQ(buttons[2]->frame(), (Rect{{250, 0}, {125, 49}}));

    roots[2]->tabBarItem().setBadgeValue("3");
    auto badge = buttons[2]->badgeLabel();
    EXPECT_FALSE(badge->isHidden());
    EXPECT_EQ(badge->text(), "3");
    roots[2]->tabBarItem().setBadgeValue("");
    EXPECT_TRUE(badge->isHidden());
}

TEST_F(TabBarTest, TappingATabSwitchesScreensInThePhonesOrder) {
    tapTab(2);
    EXPECT_EQ(tabs->selectedIndex(), 2u);
    EXPECT_EQ(*log, (Log{"C.didLoad", "A.willDisappear", "C.willAppear", "A.didDisappear",
                         "C.didAppear"}));
    EXPECT_EQ(gate->asked, (std::vector<std::string>{"设置"}));
    EXPECT_EQ(gate->selected, (std::vector<std::string>{"设置"}));
    EXPECT_TRUE(tabs->tabBar()->itemButtons()[2]->isSelected());
    EXPECT_FALSE(tabs->tabBar()->itemButtons()[0]->isSelected());
    EXPECT_EQ(roots[0]->view()->window(), nullptr);
}

TEST_F(TabBarTest, ARefusedTabKeepsTheCurrentOneButCodeMayChooseIt) {
    tapTab(1);
    EXPECT_EQ(gate->asked, (std::vector<std::string>{"会议"}));
    EXPECT_TRUE(gate->selected.empty());
    EXPECT_EQ(tabs->selectedIndex(), 0u);
    EXPECT_TRUE(log->empty());
    EXPECT_TRUE(tabs->tabBar()->itemButtons()[0]->isSelected());
    EXPECT_FALSE(tabs->tabBar()->itemButtons()[1]->isSelected());

    // Choosing the tab in code does not ask the delegate; a tab that is not there is ignored.
    tabs->setSelectedIndex(1);
    EXPECT_EQ(tabs->selectedViewController(), navs[1]);
    EXPECT_EQ(gate->asked.size(), 1u);
    tabs->setSelectedIndex(7);
    EXPECT_EQ(tabs->selectedIndex(), 1u);
}

TEST_F(TabBarTest, AScreenThatHidesTheBottomBarHidesTheTabBarWhilePushed) {
    tabs->tabBar()->setTranslucent(false);
    EXPECT_EQ(navs[0]->view()->frame().size.height, 667 - 49);

    auto detail = std::make_shared<ViewController>();
    detail->setHidesBottomBarWhenPushed(true);
    navs[0]->pushViewController(detail, false);
    EXPECT_TRUE(tabs->tabBar()->isHidden());
    EXPECT_EQ(navs[0]->view()->frame().size.height, 667);

    navs[0]->popViewController(false);
    EXPECT_FALSE(tabs->tabBar()->isHidden());
    EXPECT_EQ(navs[0]->view()->frame().size.height, 667 - 49);
}

TEST_F(TabBarTest, TappingTheSelectedTabGoesBackToTheRootOfItsStack) {
    navs[0]->pushViewController(std::make_shared<ViewController>(), false);
    tapTab(0);
    advance(1);
    EXPECT_EQ(navs[0]->viewControllers().size(), 1u);
}

}  // namespace
}  // namespace uitest
