#include <gtest/gtest.h>

#include "platform/webkit/Viewport.h"

// How a page is laid out and scaled on the 375-point phone, from its viewport.

using platform::webkit::fitViewport;

namespace {

TEST(ViewportTest, APageWithoutOneIsLaidOutWideAndFitted) {
    const auto fit = fitViewport(std::nullopt, 375);
    EXPECT_EQ(fit.layoutWidth, 980);
    EXPECT_NEAR(fit.initialScale, 375.0 / 980, 1e-9);
    EXPECT_EQ(fit.minimumScale, 0.25);
    EXPECT_EQ(fit.maximumScale, 5);
    EXPECT_TRUE(fit.userScalable);
}

TEST(ViewportTest, DeviceWidthANumberOrAnInitialScaleDecideTheWidth) {
    EXPECT_EQ(fitViewport("width=device-width, initial-scale=1", 375).layoutWidth, 375);
    EXPECT_EQ(fitViewport("width=device-width, initial-scale=1", 375).initialScale, 1);
    const auto numbered = fitViewport("width=600", 375);
    EXPECT_EQ(numbered.layoutWidth, 600);
    EXPECT_NEAR(numbered.initialScale, 375.0 / 600, 1e-9);
    EXPECT_NEAR(fitViewport("initial-scale=2.0", 375).layoutWidth, 187.5, 1e-9);
}

TEST(ViewportTest, BoundsHoldTheScaleAndAPageThatMayNotBeScaledStaysAtItsOwn) {
    const auto bounded = fitViewport("width=980; minimum-scale=0.5; maximum-scale=2", 375);
    EXPECT_EQ(bounded.initialScale, 0.5);  // fitting would be 0.38, below the page's minimum
    EXPECT_EQ(bounded.maximumScale, 2);
    const auto fixed = fitViewport("width=device-width,user-scalable=no", 375);
    EXPECT_FALSE(fixed.userScalable);
    EXPECT_EQ(fixed.minimumScale, 1);
    EXPECT_EQ(fixed.maximumScale, 1);
    // A minimum past the maximum, and what is not understood, change nothing else.
    const auto odd = fitViewport("minimum-scale=4, maximum-scale=2, colour=red, width=", 375);
    EXPECT_LE(odd.minimumScale, odd.maximumScale);
    EXPECT_EQ(odd.layoutWidth, 980);
}

}  // namespace
