#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

#include "platform/graphics/FixedMetricsMeasurer.h"
#include "platform/graphics/PangoTextMeasurer.h"

namespace platform {
namespace {

const Font kBody = Font::systemFont(17);

TEST(PangoTextMeasurerTest, UnitsArePointsAndLongerTextIsWider) {
    PangoTextMeasurer pango;
    double line = pango.lineHeight(kBody);
    // One line of a 17-point font is a little taller than 17 points, as on the phone (20.3).
    EXPECT_GT(line, 17);
    EXPECT_LT(line, 26);
    EXPECT_NEAR(pango.lineHeight(Font::systemFont(34)), 2 * line, 0.5);
    Size shortText = pango.boundingSize("Library", kBody, Size{});
    Size longText = pango.boundingSize("Library opening hours", kBody, Size{});
    EXPECT_GT(shortText.width, 0);
    EXPECT_GT(longText.width, shortText.width);
    EXPECT_DOUBLE_EQ(longText.height, shortText.height) << "one run, one line";
    EXPECT_GT(pango.boundingSize("Library", Font::boldSystemFont(17), Size{}).width, 0);
}

TEST(PangoTextMeasurerTest, NarrowWidthWrapsIntoMoreHeight) {
    PangoTextMeasurer pango;
    std::string text = "The meeting has moved to the second floor of the main building";
    Size oneRun = pango.boundingSize(text, kBody, Size{});
    Size wrapped = pango.boundingSize(text, kBody, Size{120, 0});
    EXPECT_GT(wrapped.height, 3 * oneRun.height - 0.01);
    EXPECT_LE(wrapped.width, 120);
    EXPECT_GT(wrapped.width, 60) << "lines are filled before breaking";
    // Long words break inside when they must fit.
    Size word = pango.boundingSize("Supercalifragilisticexpialidocious", kBody, Size{60, 0});
    EXPECT_LE(word.width, 60);
    EXPECT_GT(word.height, 2 * pango.lineHeight(kBody) - 0.01);
}

TEST(PangoTextMeasurerTest, HeightLimitCountsOnlyLinesThatFit) {
    PangoTextMeasurer pango;
    std::string text = "one two three four five six seven eight nine ten eleven twelve";
    double line = pango.lineHeight(kBody);
    Size unlimited = pango.boundingSize(text, kBody, Size{80, 0});
    ASSERT_GT(unlimited.height, 3 * line - 0.01);
    Size twoLines = pango.boundingSize(text, kBody, Size{80, 2.5 * line});
    EXPECT_NEAR(twoLines.height, 2 * line, 0.01);
    Size tooShort = pango.boundingSize(text, kBody, Size{80, 1});
    EXPECT_NEAR(tooShort.height, line, 0.01) << "the first line always counts";
}

TEST(PangoTextMeasurerTest, LineBreaksAndEmptyText) {
    PangoTextMeasurer pango;
    double line = pango.lineHeight(kBody);
    EXPECT_NEAR(pango.boundingSize("a\nb\nc", kBody, Size{}).height, 3 * line, 0.01);
    EXPECT_EQ(pango.boundingSize("", kBody, Size{}), (Size{0, 0}));
    EXPECT_EQ(pango.boundingSize("text", Font::systemFont(0), Size{}), (Size{0, 0}));
    EXPECT_GT(pango.boundingSize("bad \xFF\xFE bytes", kBody, Size{}).width, 0);
}

TEST(PangoTextMeasurerTest, ChineseTextUsesTheBundledCjkFont) {
    PangoTextMeasurer pango;
    std::string text = "校园新闻";
    std::vector<std::string> families = pango.resolvedFamilies(text, kBody);
    ASSERT_EQ(families.size(), 1u);
    EXPECT_EQ(families.front(), "WenQuanYi Micro Hei");
    Size size = pango.boundingSize(text, kBody, Size{});
    // Ideographs are square: about one em each.
    EXPECT_NEAR(size.width, 4 * 17, 4);
    EXPECT_GT(size.height, 17);
    EXPECT_EQ(pango.resolvedFamilies("Mixed 中文 text", kBody),
              std::vector<std::string>{"WenQuanYi Micro Hei"});
}

TEST(PangoTextMeasurerTest, MeasuresTheSameFromManyThreads) {
    PangoTextMeasurer pango;
    std::string text = "通知 notice 公告 announcement";
    Size expected = pango.boundingSize(text, kBody, Size{90, 0});
    std::vector<int> mismatches(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 25; ++i) {
                if (!(pango.boundingSize(text, kBody, Size{90, 0}) == expected)) {
                    ++mismatches[t];
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

TEST(FixedMetricsMeasurerTest, CountsCodePointsAndWrapsByCharactersAndAtLineBreaks) {
    FixedMetricsMeasurer fixed;
    EXPECT_EQ(fixed.boundingSize("abcd", Font::systemFont(10), Size{}), (Size{40, 12}));
    EXPECT_EQ(fixed.boundingSize("你好", Font::systemFont(10), Size{}), (Size{20, 12}));
    EXPECT_EQ(fixed.boundingSize("", Font::systemFont(10), Size{}), (Size{0, 0}));
    EXPECT_DOUBLE_EQ(fixed.lineHeight(Font::systemFont(10)), 12);
    FixedMetricsMeasurer narrow(0.5, 1.5);
    Font font = Font::systemFont(20);  // 10 wide, 30 high
    EXPECT_EQ(narrow.boundingSize("abcdefg", font, Size{35, 0}), (Size{30, 90}));
    EXPECT_EQ(narrow.boundingSize("ab\n\nabcd", font, Size{}), (Size{40, 90}));
    EXPECT_EQ(narrow.boundingSize("abc", font, Size{5, 0}), (Size{10, 90})) << "one per line";
    EXPECT_EQ(narrow.boundingSize("abcdefg", font, Size{35, 65}), (Size{30, 60}));
    EXPECT_EQ(narrow.boundingSize("abcdefg", font, Size{35, 10}), (Size{30, 30}));
}

TEST(TextMeasurerTest, TestsCanInjectAMeasurerAndRestorePango) {
    TextMeasurer::setCurrent(std::make_shared<FixedMetricsMeasurer>());
    EXPECT_EQ(TextMeasurer::current().boundingSize("abc", Font::systemFont(10), Size{}),
              (Size{30, 12}));
    TextMeasurer::setCurrent(nullptr);
    EXPECT_NE(dynamic_cast<const PangoTextMeasurer*>(&TextMeasurer::current()), nullptr);
}

}  // namespace
}  // namespace platform
