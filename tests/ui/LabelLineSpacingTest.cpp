#include <gtest/gtest.h>

#include <memory>

#include "platform/graphics/FixedMetricsMeasurer.h"
#include "platform/ui/Label.h"

namespace {

// Ten-point characters on twelve-point lines.
class LabelLineSpacingTest : public ::testing::Test {
protected:
    LabelLineSpacingTest() {
        platform::TextMeasurer::setCurrent(
            std::make_shared<platform::FixedMetricsMeasurer>(1.0, 1.2));
    }
    ~LabelLineSpacingTest() override { platform::TextMeasurer::setCurrent(nullptr); }
};

TEST_F(LabelLineSpacingTest, TheSpacingGoesBetweenLinesOnly) {
    auto label = platform::View::make<platform::Label>(platform::Rect{{0, 0}, {40, 0}});
    label->setFont(platform::Font::systemFont(10));
    label->setNumberOfLines(0);
    label->setLineSpacing(8);

    label->setText("一二三");
    EXPECT_DOUBLE_EQ(label->sizeThatFits({40, 0}).height, 12);
    // Three lines of four characters: two gaps.
    label->setText("一二三四五六七八九十壹贰");
    EXPECT_DOUBLE_EQ(label->sizeThatFits({40, 0}).height, 3 * 12 + 2 * 8);
    label->sizeToFit();
    EXPECT_DOUBLE_EQ(label->frame().size.height, 52);
}

}  // namespace
