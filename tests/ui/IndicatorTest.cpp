#include <gtest/gtest.h>

#include <cmath>

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/ProgressView.h"

using namespace platform;

namespace {

TEST(ActivityIndicatorTest, ShowsOnlyWhileSpinningUnlessToldNotToHide) {
    auto spinner = View::make<ActivityIndicatorView>(ActivityIndicatorViewStyle::Gray);
    EXPECT_TRUE(spinner->isHidden());
    spinner->startAnimating();
    EXPECT_TRUE(spinner->isAnimating());
    EXPECT_FALSE(spinner->isHidden());
    spinner->stopAnimating();
    EXPECT_TRUE(spinner->isHidden());

    spinner->setHidesWhenStopped(false);
    spinner->setHidden(false);
    spinner->startAnimating();
    spinner->stopAnimating();
    EXPECT_FALSE(spinner->isHidden());
    EXPECT_EQ(spinner->describe(), "activity indicator (stopped)");
}

TEST(ActivityIndicatorTest, LargeStyleIsLargerAroundTheSameCenter) {
    auto spinner = View::make<ActivityIndicatorView>(ActivityIndicatorViewStyle::Gray);
    spinner->setCenter(Point{139.5, 75.5});
    spinner->setStyle(ActivityIndicatorViewStyle::WhiteLarge);

    EXPECT_EQ(spinner->frame().size, (Size{37, 37}));
    EXPECT_EQ(spinner->center(), (Point{139.5, 75.5}));
}

TEST(ProgressTest, ProgressIsClampedToTheBar) {
    auto bar = View::make<ProgressView>(Rect{{10, 30}, {200, 20}});
    bar->setProgress(1.5f, true);
    EXPECT_FLOAT_EQ(bar->progress(), 1.0f);
    bar->setProgress(-0.2f);
    EXPECT_FLOAT_EQ(bar->progress(), 0.0f);
    bar->setProgress(std::nanf(""));
    EXPECT_FLOAT_EQ(bar->progress(), 0.0f);
    bar->setProgress(0.5f);
    EXPECT_EQ(bar->describe(), "progress 50%");
}

}  // namespace
