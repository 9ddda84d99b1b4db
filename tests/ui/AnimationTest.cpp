#include <gtest/gtest.h>

#include "platform/ui/View.h"
#include "tests/ui/UiTestSupport.h"

namespace uitest {
namespace {

using namespace platform;

using AnimationTest = UiTest;

TEST_F(AnimationTest, TheEndStateIsThereAtOnceAndTheCompletionComesAfterTheDuration) {
    auto view = View::make<View>(Rect{{0, 0}, {10, 10}});
    std::vector<bool> finished;
    View::animate(
        0.3, [&] { view->setAlpha(0); }, [&](bool done) { finished.push_back(done); });
    EXPECT_EQ(view->alpha(), 0);
    advance(0.29);
    EXPECT_TRUE(finished.empty());
    advance(0.02);
    EXPECT_EQ(finished, (std::vector<bool>{true}));

    // A delay adds to the wait.
    View::animateWithDuration(
        0.2, 0.5, AnimationOptions::CurveEaseOut, [] {},
        [&](bool done) { finished.push_back(done); });
    advance(0.6);
    EXPECT_EQ(finished.size(), 1u);
    advance(0.2);
    EXPECT_EQ(finished.size(), 2u);
}

TEST_F(AnimationTest, ACompletionHoldingTheViewWeaklyDoesNothingOnceTheViewIsGone) {
    auto view = View::make<View>();
    int touched = 0;
    std::weak_ptr<View> weak = view;
    View::animate(
        0.25, [&] { view->setHidden(true); },
        [weak, &touched](bool) {
            if (auto alive = weak.lock()) {
                alive->removeFromSuperview();
                ++touched;
            }
        });
    view.reset();
    EXPECT_TRUE(weak.expired());  // the pending completion does not keep it
    advance(1);
    EXPECT_EQ(touched, 0);
}

TEST_F(AnimationTest, ChainedAnimationsRunInTurn) {
    auto view = View::make<View>();
    std::vector<double> alphas;
    View::animate(
        0.2, [&] { view->setAlpha(0.7); },
        [&](bool) {
            alphas.push_back(view->alpha());
            View::animate(
                0.2, [&] { view->setAlpha(0.1); }, [&](bool) { alphas.push_back(view->alpha()); });
        });
    advance(0.2);
    EXPECT_EQ(alphas.size(), 1u);
    advance(0.2);
    ASSERT_EQ(alphas.size(), 2u);
    EXPECT_DOUBLE_EQ(alphas[0], 0.7);
    EXPECT_DOUBLE_EQ(alphas[1], 0.1);
}

}  // namespace
}  // namespace uitest
