// A front end that draws the screen redraws only when the display count moves (see
// platform/ui/DisplayChanges.h). These cases walk the client's own screens and let each stand
// idle: nothing on them changes, so the count must stand still however long the clock runs.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/foundation/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/DisplayChanges.h"
#include "platform/ui/Window.h"
#include "tests/shell/HomeTestSupport.h"

namespace {

class IdleDisplayTest : public hometest::HomeTest {
protected:
    // Turns of the run loop over `seconds` of the clock, each laying out the key window as a
    // front end does before it draws; how far the count moved meanwhile.
    std::uint64_t movesWhileIdle(double seconds = 60) {
        auto window = platform::Application::shared().keyWindow();
        std::uint64_t before = platform::displayGeneration();
        for (double t = 0; t < seconds; t += 0.25) {
            scope.advance(0.25);
            platform::RunLoop::main().runPending();
            if (window) {
                window->layoutIfNeeded();
            }
        }
        return platform::displayGeneration() - before;
    }
};

TEST_F(IdleDisplayTest, TheHomePageWithItsNewsAndTilesStandsStill) {
    launch();
    settleScreen();
    EXPECT_EQ(movesWhileIdle(), 0u) << driver.outline();

    // More news is a change; the longer list then stands still again.
    std::uint64_t before = platform::displayGeneration();
    ASSERT_TRUE(driver.pullUp("news").ok) << driver.outline();
    settleScreen();
    EXPECT_GT(platform::displayGeneration(), before);
    EXPECT_EQ(movesWhileIdle(), 0u) << driver.outline();
}

TEST_F(IdleDisplayTest, PushedScreensAndTheWebContainerStandStill) {
    storeSignIn(nullptr, shelltest::kTeacher);
    launch();
    settleScreen();

    for (const char* tile : {"通知公告", "移动考勤"}) {
        std::uint64_t before = platform::displayGeneration();
        ASSERT_TRUE(driver.tap(tile).ok) << tile << "\n" << driver.outline();
        settleScreen();
        EXPECT_GT(platform::displayGeneration(), before) << tile;
        EXPECT_EQ(movesWhileIdle(), 0u) << tile << "\n" << driver.outline();
        ASSERT_TRUE(driver.back().ok) << tile << "\n" << driver.outline();
        settleScreen();
        EXPECT_EQ(movesWhileIdle(), 0u) << "back from " << tile << "\n" << driver.outline();
    }
}

}  // namespace
