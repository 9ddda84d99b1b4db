#include <gtest/gtest.h>

#include <string>

#include "platform/graphics/Image.h"
#include "platform/ui/Renderer.h"
#include "platform/web/LineBreaks.h"
#include "tests/support/InkTestSupport.h"
#include "tests/web/PageTestSupport.h"

using namespace platform;
using testsupport::darkInk;

namespace {

std::string repeated(const std::string& letter, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += letter;
    }
    return text;
}

// A word is cut between its characters only when it is longer than the longest a line keeps
// whole: one of exactly that length stands whole on its line, past a box too narrow for it;
// one character more and it is cut to the box. Read from where the words stand and where
// their ink is, in a box narrower than either, at the phones' and the tablet's widths.
class LongWordBoundTest : public pagetest::PageEngineTest {
protected:
    void show(const std::string& html) { open(serve("/pages/words.html", html)); }

    void useWidth(double width) {
        web()->setFrame(Rect{{0, 0}, {width, 1024}});
        web()->layoutIfNeeded();
    }
};

TEST_F(LongWordBoundTest, AWordOfTheLongestLengthKeptWholeIsNotCutAndOneLongerIs) {
    constexpr double kBox = 50;
    constexpr std::size_t kWhole = linebreaks::kLongWordClusters;
    for (const double width : {320.0, 375.0, 768.0}) {
        for (const std::string letter : {"m", "é"}) {
            SCOPED_TRACE(::testing::Message() << width << " " << letter);
            useWidth(width);
            show("<div style=\"width:50px\"><p><span id=\"whole\">" + repeated(letter, kWhole) +
                 "</span></p><p><span id=\"cut\">" + repeated(letter, kWhole + 1) +
                 "</span></p></div>");
            const Image shot = renderToImage(*web());
            const Rect whole = frameOf("#whole ");
            const Rect cut = frameOf("#cut ");
            ASSERT_FALSE(whole.isEmpty()) << driver.outline();
            ASSERT_FALSE(cut.isEmpty()) << driver.outline();
            // Whole: one line, its ink running on past the box.
            const Rect wholeInk = darkInk(shot, whole);
            EXPECT_LT(whole.height(), 30);
            EXPECT_GT(wholeInk.maxX(), 8 + kBox + 20);
            // Cut: lines of their own, each inside the box.
            const Rect cutInk = darkInk(shot, cut);
            EXPECT_GT(cut.height(), 2 * whole.height() - 1);
            EXPECT_LE(cutInk.maxX(), 8 + kBox + 1);
            EXPECT_FALSE(cutInk.isEmpty());
        }
    }
}

}  // namespace
