#include <gtest/gtest.h>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/TextRun.h"

using namespace platform;

namespace {

// Runs of text as a page's layout measures them: word by word, so the widths of the pieces
// must add up to the width of the whole, and what is drawn must lie where it was measured.
TEST(TextRunTest, WidthsAddUpAndGrowWithTheFont) {
    RunFont font;
    const double one = runWidth("中", font);
    EXPECT_GT(one, 0);
    EXPECT_NEAR(runWidth("中文字", font), 3 * one, 0.5);
    RunFont large = font;
    large.size = 32;
    EXPECT_NEAR(runWidth("中", large), 2 * one, 0.5);
    EXPECT_EQ(runWidth("", font), 0);
    EXPECT_GT(runWidth("\xff\xfe bad", font), 0);  // invalid UTF-8 is replaced, not refused

    const RunFontMetrics metrics = runFontMetrics(font);
    EXPECT_NEAR(metrics.ascent + metrics.descent, metrics.height, 0.01);
    EXPECT_GT(metrics.height, font.size * 0.9);
    EXPECT_GT(metrics.xHeight, 0);
    RunFont unusable = font;
    unusable.size = -1;
    EXPECT_EQ(runFontMetrics(unusable).height, 0);
}

TEST(TextRunTest, ARunIsDrawnOnOneLineFromItsTopLeftCorner) {
    BitmapContext context(Size{200, 40}, 1);
    context.fillRect(Rect{{0, 0}, {200, 40}}, Color::white());
    RunFont font;
    const std::string text = "校园 campus 通知";
    context.drawTextRun(text, font, Color::black(), Point{20, 10});
    const Image picture = context.makeImage();
    int minX = 200;
    int maxX = -1;
    int minY = 40;
    int maxY = -1;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 200; ++x) {
            if ((picture.pixelAt(x, y) & 0xff) < 128) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
        }
    }
    ASSERT_GE(maxX, 0);
    EXPECT_GE(minX, 20);
    EXPECT_LE(maxX, 20 + runWidth(text, font) + 1);
    EXPECT_GE(minY, 10);
    EXPECT_LE(maxY, 10 + runFontMetrics(font).height + 1);
}

}  // namespace
