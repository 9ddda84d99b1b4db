// A label or a text view handed megabytes of text (a reply's headline, say) lays out and draws
// only what its box could show, cut with an ellipsis.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/graphics/TextCut.h"
#include "platform/ui/Label.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/TextView.h"
#include "tests/ui/UiTestSupport.h"

namespace {

using namespace platform;

// Right-to-left overrides and marks round a letter, a million times: 9 MB, four million
// characters.
std::string hostileHeadline() {
    std::string text;
    text.reserve(9000000);
    for (int i = 0; i < 1000000; ++i) text += "\u202e\u05d0a\u200f";
    return text;
}

class LongTextTest : public uitest::UiTest {};

TEST_F(LongTextTest, AGrowingLabelTakesTheHeightOfWhatItCouldShowAndDrawsIt) {
    const Font font = Font::boldSystemFont(18);
    const std::string headline = hostileHeadline();
    auto label = View::make<Label>(Rect{{0, 0}, {345, 0}});
    label->setFont(font);
    label->setNumberOfLines(0);
    label->setText(headline);
    const Size fits = label->sizeThatFits({345, 0});

    auto shown = View::make<Label>(Rect{{0, 0}, {345, 0}});
    shown->setFont(font);
    shown->setNumberOfLines(0);
    shown->setText(cutToBox(headline, font, TextBox{345, 0, 0}));
    EXPECT_EQ(fits, shown->sizeThatFits({345, 0}));
    EXPECT_GT(fits.height, 0);
    EXPECT_LT(fits.height, 20 * 1024);

    label->setFrame(Rect{{0, 0}, fits});
    EXPECT_FALSE(renderToImage(*label).isNull());
    // The text itself stays as it was given.
    EXPECT_EQ(label->text().size(), headline.size());
}

TEST_F(LongTextTest, ATextViewScrollsOverWhatItCouldShowAndNoMore) {
    const std::string headline = hostileHeadline();
    auto view = View::make<TextView>(Rect{{0, 0}, {320, 400}});
    view->setText(headline);
    const double content = view->contentSize().height;
    auto shown = View::make<TextView>(Rect{{0, 0}, {320, 400}});
    shown->setText(cutToBox(headline, view->font(), TextBox{320 - 8 - 2, 0, 0}));
    EXPECT_DOUBLE_EQ(content, shown->contentSize().height);
    EXPECT_GT(content, 400);
    EXPECT_LT(content, 20 * 1024);
    EXPECT_FALSE(renderToImage(*view).isNull());
}

}  // namespace
