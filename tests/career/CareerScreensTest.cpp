#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "career/EmploymentViewController.h"
#include "client/ServiceConfig.h"
#include "components/sidemenu/SideViewController.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/net/HttpClient.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/Button.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Window.h"
#include "tests/career/CareerTestSupport.h"
#include "widgets/EmploymentScrollView.h"

namespace {

// The career screens pushed from a screen inside the side-menu container, as from the home
// page; the swipe that opens the menu is on until they appear.
class CareerScreensTest : public careertest::CareerScreenTest {
protected:
    void push(const std::shared_ptr<platform::ViewController>& screen) {
        navigation->pushViewController(screen, true);
        scope.advance(1);
    }
    bool waitForReplies() { return quiet(); }
};

TEST_F(CareerScreensTest, TheEmploymentHubShowsTheFourListsAsTabs) {
    auto hub = std::make_shared<EmploymentViewController>();
    push(hub);

    EXPECT_EQ(hub->title(), "就业服务");
    EXPECT_FALSE(side->needSwipeShowMenu());
    driver.outline();  // lays the screen out; the pager builds itself then
    ASSERT_TRUE(hub->employmentSV()->isBuilt());
    std::vector<std::string> tabs;
    for (const auto& button : hub->employmentSV()->buttons()) tabs.push_back(button->title());
    EXPECT_EQ(tabs, (std::vector<std::string>{" 招聘信息 ", " 实习信息 ", "   招聘会   ",
                                              "   宣讲会   "}));

    ASSERT_TRUE(driver.tap("宣讲会")) << driver.outline();
    scope.advance(1);
    EXPECT_EQ(hub->employmentSV()->scroll2()->currentPage(), 3);

    ASSERT_TRUE(driver.back());
    scope.advance(1);
    EXPECT_EQ(navigation->topViewController(), opener);
}

}  // namespace
