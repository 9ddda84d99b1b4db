#include <gtest/gtest.h>

#include "components/refresh/ScrollViewRefresh.h"
#include "platform/ui/ScrollView.h"
#include "tests/testing/DriverTestSupport.h"

namespace drivertest {
namespace {

using namespace platform;

using ScrollingTest = DriverTest;

TEST_F(ScrollingTest, PullingDownATableRunsItsRefreshHeaderAndPullingUpLoadsMore) {
    auto screen = showSample();
    int refreshes = 0;
    int loads = 0;
    components::addHeaderWithCallback(*screen->table, [&] { ++refreshes; });
    components::addFooterWithCallback(*screen->table, [&] { ++loads; });

    ASSERT_TRUE(driver.pullDown().ok);
    EXPECT_EQ(refreshes, 1);
    EXPECT_NE(driver.outline().find("refresh header"), std::string::npos) << driver.outline();
    components::headerEndRefreshing(*screen->table);
    ASSERT_TRUE(driver.pullUp("s1").ok);
    EXPECT_EQ(loads, 1);
}

TEST_F(ScrollingTest, ContentThatFitsWithoutBounceCannotBePulled) {
    auto screen = showSample();
    auto still = View::make<ScrollView>(Rect{{0, 420}, {300, 100}});
    still->setContentSize(Size{300, 100});
    screen->view()->addSubview(still);
    std::string handle = driver.handleOf(*still);
    EXPECT_EQ(driver.pullDown(still).error,
              "cannot pull " + handle + ": it does not scroll that way");
    EXPECT_EQ(driver.pullDown("b1").error, "not a scroll view: b1");
}

TEST_F(ScrollingTest, SwipesAPagingViewToAPage) {
    auto screen = showSample();
    auto pages = View::make<ScrollView>(Rect{{0, 420}, {300, 100}});
    pages->setPagingEnabled(true);
    pages->setContentSize(Size{900, 100});
    screen->view()->addSubview(pages);
    std::string handle = driver.handleOf(*pages);

    ASSERT_TRUE(driver.swipeToPage(handle, 2).ok);
    EXPECT_EQ(pages->contentOffset().x, 600);
    ASSERT_TRUE(driver.swipeToPage(pages, 1).ok);
    EXPECT_EQ(pages->contentOffset().x, 300);
    EXPECT_EQ(driver.swipeToPage(handle, 3).error, "no such page: 3 (of 3)");
}

TEST_F(ScrollingTest, WaitMovesTheManualClock) {
    showSample();
    bool fired = false;
    RunLoop::main().postDelayed(seconds(2), [&] { fired = true; });
    ASSERT_TRUE(driver.wait(1.5).ok);
    EXPECT_FALSE(fired);
    ASSERT_TRUE(driver.wait(0.5).ok);
    EXPECT_TRUE(fired);
    EXPECT_FALSE(driver.wait(-1).ok);
}

}  // namespace
}  // namespace drivertest
