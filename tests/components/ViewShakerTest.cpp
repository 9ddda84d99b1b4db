#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "components/shaker/ViewShaker.h"
#include "platform/foundation/RunLoop.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/View.h"

using namespace platform;
using namespace platform::components;

namespace {

class ViewShakerTest : public ::testing::Test {
protected:
    void advance(double s) { scope.advance(s); }

    bool bothAtIdentity() const {
        return account->transform().isIdentity() && password->transform().isIdentity();
    }

    platform::testing::UiTestScope scope;
    std::shared_ptr<View> account = View::make<View>(Rect{{42, 323}, {291, 50}});
    std::shared_ptr<View> password = View::make<View>(Rect{{42, 390}, {291, 50}});
};

TEST_F(ViewShakerTest, CompletionRunsOnceWhenTheDurationIsOverWithTheViewsBackInPlace) {
    ViewShaker shaker({account, password});
    int completions = 0;
    shaker.shakeWithDuration(0.6, [&] { ++completions; });
    EXPECT_TRUE(shaker.isShaking());

    advance(0.59);
    EXPECT_EQ(completions, 0);
    advance(0.02);
    EXPECT_EQ(completions, 1);
    EXPECT_TRUE(bothAtIdentity());
    EXPECT_FALSE(shaker.isShaking());

    advance(2);
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(account->frame(), (Rect{{42, 323}, {291, 50}}));
}

TEST_F(ViewShakerTest, ViewsSwingToBothSidesTogetherWhileShaking) {
    ViewShaker shaker({account, password});
    shaker.shakeWithDuration(0.6, {});
    bool left = false;
    bool right = false;
    for (int i = 0; i < 11; ++i) {
        const AffineTransform& t = account->transform();
        EXPECT_EQ(t, password->transform());
        EXPECT_EQ(t.ty, 0);
        left = left || t.tx < 0;
        right = right || t.tx > 0;
        advance(0.05);
    }
    EXPECT_TRUE(left);
    EXPECT_TRUE(right);
}

TEST_F(ViewShakerTest, ShakeOutlivesTheShakerAndStillCompletes) {
    auto shaker = std::make_unique<ViewShaker>(std::vector<std::shared_ptr<View>>{account});
    int completions = 0;
    shaker->shakeWithDuration(0.6, [&] { ++completions; });
    shaker.reset();

    advance(0.6);
    EXPECT_EQ(completions, 1);
    EXPECT_TRUE(account->transform().isIdentity());
}

TEST_F(ViewShakerTest, ShakeDuringAShakeRestartsItAndEachCompletionRunsOnce) {
    ViewShaker shaker({account, password});
    int first = 0;
    int second = 0;
    shaker.shakeWithDuration(0.6, [&] { ++first; });
    advance(0.3);
    shaker.shakeWithDuration(0.6, [&] { ++second; });

    advance(0.3);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0);
    EXPECT_TRUE(shaker.isShaking());

    advance(0.3);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
    EXPECT_TRUE(bothAtIdentity());
}

TEST_F(ViewShakerTest, NonsenseDurationFinishesAtOnceInsteadOfHanging) {
    ViewShaker shaker(account);
    int completions = 0;
    shaker.shakeWithDuration(-1, [&] { ++completions; });
    shaker.shakeWithDuration(std::nan(""), [&] { ++completions; });
    RunLoop::main().runPending();
    EXPECT_EQ(completions, 2);
    EXPECT_TRUE(account->transform().isIdentity());
}

}  // namespace
