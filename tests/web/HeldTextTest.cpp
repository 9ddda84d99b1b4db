#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Renderer.h"
#include "platform/web/HtmlLayout.h"
#include "tests/web/PageTestSupport.h"

using namespace platform;

namespace {

// A paragraph that holds only its text breaks that text into lines itself; one that holds
// anything else beside it leaves them to the layout engine, a word at a time. Both must come
// out the same: the same lines, the same height, the text's frame and every pixel.
struct Shown {
    Size size;
    Rect frame;
    std::string picture;  // PNG
};

Shown layOut(const std::string& body, double width) {
    HtmlLayout layout("<html><body style=\"margin:8px\">" + body + "</body></html>", nullptr);
    layout.layOut(width, 600);
    Shown shown;
    shown.size = layout.size();
    shown.frame = layout.itemFrames(1).front();
    BitmapContext context(Size{width, shown.size.height + 10});
    layout.paint(context, Rect{{0, 0}, {width, shown.size.height + 10}});
    shown.picture = context.makeImage().pngData();
    return shown;
}

// The paragraph `open`...</p> holding `text` alone, and holding it beside an empty element;
// or a list's item, with `tag` "li".
void expectSameLines(const std::string& open, const std::string& text,
                     const std::string& tag = "p") {
    const std::string list = tag == "li" ? "<ol>" : "";
    const std::string listEnd = tag == "li" ? "</ol>" : "";
    const std::string alone =
        list + open + " data-campus-text=\"0\">" + text + "</" + tag + ">" + listEnd;
    const std::string beside = list + open + "><campus-item data-campus-item=\"0\">" + text +
                               "</campus-item><b></b></" + tag + ">" + listEnd;
    for (double width = 60; width <= 420; width += 7) {
        SCOPED_TRACE(::testing::Message() << open << " at " << width);
        const Shown own = layOut(alone, width);
        const Shown engine = layOut(beside, width);
        ASSERT_EQ(own.size.height, engine.size.height);
        EXPECT_EQ(own.frame, engine.frame);
        EXPECT_TRUE(own.picture == engine.picture);
    }
}

const std::vector<std::string>& texts() {
    static const std::vector<std::string> all = {
        "关于2024年清明节放假安排的通知：请各单位（含附属单位）于本周内报送材料，逾期不候。",
        "The library opens at eight on weekdays, and the reading room stays open until ten.",
        "  Leading and trailing spaces,   runs of spaces\nand new lines\tand tabs.  ",
        "混排 mixed 文字 with English words、标点「引号」and numbers 12345 在一起。",
        "a b c d e f g h i j k l m n o p q r s t u v w x y z a b c d e f g h i j k l m",
        "Supercalifragilisticexpialidocious-hyphenated-words/with/slashes and a "
        "https://news.lanxi-campus.example/2024/notice-0411.html address.",
    };
    return all;
}

TEST(HeldTextTest, APlainParagraphBreaksItsLinesAsTheEngineDoes) {
    for (const std::string& text : texts()) {
        expectSameLines("<p", text);
    }
}

TEST(HeldTextTest, AlignedAndStyledParagraphsToo) {
    for (const std::string& text : texts()) {
        expectSameLines("<p style=\"text-align:center\"", text);
        expectSameLines("<p style=\"text-align:right;padding:0 13px;border:2px solid\"", text);
        expectSameLines("<p style=\"font-size:22px;line-height:1.8;text-decoration:underline\"",
                        text);
        expectSameLines("<p style=\"text-indent:2em\"", text);
        expectSameLines("<p style=\"text-indent:-10px;margin-left:20px\"", text);
        expectSameLines("<li", text, "li");
    }
}

TEST(HeldTextTest, ParagraphsTheEngineLaysOutItselfAreLeftToIt) {
    // Indented by a share of the width, justified, shrunk to fit, floated beside: the
    // engine's own lines.
    const std::string& text = texts()[0];
    expectSameLines("<p style=\"text-indent:10%\"", text);
    expectSameLines("<p style=\"text-align:justify\"", text);
    expectSameLines("<p style=\"float:left;width:60%\"", text);
    expectSameLines("<p style=\"white-space:nowrap\"", text);
    expectSameLines("<p style=\"text-transform:uppercase\"", texts()[1]);
}

// In a web view: a paragraph on a phone turned either way shows as it does on a phone held
// that way from the start.
class HeldTextPageTest : public pagetest::PageEngineTest {
protected:
    std::string shotAt(double width) {
        web()->setFrame(Rect{{0, 0}, {width, 600}});
        web()->layoutIfNeeded();
        return renderToImage(*web()).pngData();
    }
};

TEST_F(HeldTextPageTest, ATurnedPageShowsItsParagraphsAsIfHeldSoFromTheStart) {
    const std::string page = "<body><h1>通知</h1><p>" + texts()[0] + texts()[1] +
                             "</p><p>" + texts()[3] + "</p></body>";
    const std::string url = serve("/pages/turned.html", page);
    std::map<int, std::string> fresh;
    for (const int width : {320, 375, 568}) {
        web()->setFrame(Rect{{0, 0}, {double(width), 600}});
        open(url);
        fresh[width] = shotAt(width);
    }
    for (const int from : {320, 375, 568}) {
        web()->setFrame(Rect{{0, 0}, {double(from), 600}});
        open(url);
        shotAt(from);
        for (const int to : {320, 375, 568}) {
            SCOPED_TRACE(::testing::Message() << from << " turned to " << to);
            EXPECT_TRUE(shotAt(to) == fresh[to]);  // a failure need not print the pictures
        }
    }
}

}  // namespace

