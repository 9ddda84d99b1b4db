#include <gtest/gtest.h>

#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/ButtonEnlargeEdge.h"

namespace widgettest {
namespace {

using namespace platform;

using ButtonEnlargeEdgeTest = WidgetTest;

std::shared_ptr<Button> smallButton() {
    return View::make<Button>(Rect{{100, 100}, {40, 20}});
}

TEST_F(ButtonEnlargeEdgeTest, TenPointsAcceptTouchesTenPointsOutOnEverySideButNotEleven) {
    auto button = smallButton();
    setEnlargeEdge(*button, 10);
    EXPECT_EQ(enlargedRect(*button), (Rect{{-10, -10}, {60, 40}}));
    // Left and top.
    EXPECT_TRUE(button->pointInside({-10, 10}));
    EXPECT_FALSE(button->pointInside({-11, 10}));
    EXPECT_TRUE(button->pointInside({20, -10}));
    EXPECT_FALSE(button->pointInside({20, -11}));
    // Right and bottom: the far edges themselves are outside, as for any rectangle.
    EXPECT_TRUE(button->pointInside({49.9, 10}));
    EXPECT_FALSE(button->pointInside({51, 10}));
    EXPECT_TRUE(button->pointInside({20, 29.9}));
    EXPECT_FALSE(button->pointInside({20, 31}));
}

TEST_F(ButtonEnlargeEdgeTest, ATapJustOutsideAnEnlargedButtonStillTriggersIt) {
    std::shared_ptr<View> content;
    auto window = showWindow(content);
    auto button = smallButton();
    content->addSubview(button);
    int taps = 0;
    button->addTarget([&](Control&) { ++taps; }, ControlEvent::TouchUpInside);
    Point outsideLeft = button->convertPointTo({-8, 10}, nullptr);

    window->tap(outsideLeft);
    EXPECT_EQ(taps, 0);
    setEnlargeEdge(*button, 10);
    window->tap(outsideLeft);
    EXPECT_EQ(taps, 1);
}

TEST_F(ButtonEnlargeEdgeTest, WithoutAnEdgeOrWithZeroItIsAPlainButton) {
    auto button = smallButton();
    EXPECT_EQ(enlargedRect(*button), button->bounds());
    setEnlargeEdge(*button, 0);
    EXPECT_EQ(enlargedRect(*button), button->bounds());
    EXPECT_TRUE(button->pointInside({0, 0}));
    EXPECT_TRUE(button->pointInside({39.9, 19.9}));
    EXPECT_FALSE(button->pointInside({-0.5, 10}));
    EXPECT_FALSE(button->pointInside({40, 10}));
}

TEST_F(ButtonEnlargeEdgeTest, EachEdgeIsItsOwnAndANegativeOneShrinks) {
    auto button = smallButton();
    setEnlargeEdgeWithTop(*button, 5, -10, 0, 20);
    EXPECT_EQ(enlargedRect(*button), (Rect{{-20, -5}, {50, 25}}));
    EXPECT_TRUE(button->pointInside({-20, 0}));
    EXPECT_TRUE(button->pointInside({10, -5}));
    EXPECT_FALSE(button->pointInside({35, 10}));  // the right 10 points are taken away
    EXPECT_FALSE(button->pointInside({10, 20}));
}

TEST_F(ButtonEnlargeEdgeTest, TheLastValuesSetWinButANonNumberLeavesTheButtonAsItWas) {
    auto button = smallButton();
    setEnlargeEdge(*button, 30);
    setEnlargeEdgeWithTop(*button, 1, 2, 3, 4);
    EXPECT_EQ(enlargedRect(*button), (Rect{{-4, -1}, {46, 24}}));
    setEnlargeEdge(*button, 10);
    setEnlargeEdgeWithTop(*button, std::numeric_limits<float>::quiet_NaN(), 0, 0, 0);
    EXPECT_EQ(enlargedRect(*button), (Rect{{-10, -10}, {60, 40}}));
}

}  // namespace
}  // namespace widgettest
