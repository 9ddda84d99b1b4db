#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fakes/WebPages.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/ScrollView.h"
#include "platform/web/LineBreaks.h"
#include "tests/support/InkTestSupport.h"
#include "tests/web/PageTestSupport.h"

using namespace platform;
using testsupport::darkInk;

namespace {

// Lines of a page break where the language allows, at any width: read from where the page's
// runs and elements stand, and from the ink in the web view's picture.
class LineBreakingTest : public pagetest::PageEngineTest {
protected:
    void show(const std::string& html) { open(serve("/pages/shown.html", html)); }

    void useWidth(double width) {
        web()->setFrame(Rect{{0, 0}, {width, 667}});
        web()->layoutIfNeeded();
    }

    static bool sameLine(const Rect& a, const Rect& b) {
        return !a.isEmpty() && !b.isEmpty() && std::abs(a.midY() - b.midY()) < 4;
    }
};

TEST_F(LineBreakingTest, TheMailboxKeepsItsBracketsWithTheAccountTypeAtEveryWidth) {
    show(fakes::mailboxPage("6AC5D33F60150AB", "teacher"));
    for (double width = 150; width <= 420; width += 3) {
        SCOPED_TRACE(width);
        useWidth(width);
        const Rect open = frameOf("text \"（\"");
        const Rect type = frameOf("#type \"teacher\"");
        const Rect close = frameOf("text \"）\"");
        ASSERT_FALSE(open.isEmpty()) << driver.outline();
        EXPECT_TRUE(sameLine(open, type));
        EXPECT_TRUE(sameLine(type, close));
        EXPECT_LT(open.maxX(), type.minX() + 1);
    }
    // Painted where they stand: the brackets' ink on the type's line.
    useWidth(200);
    const Image shot = renderToImage(*web());
    const Rect type = darkInk(shot, frameOf("#type \"teacher\""));
    EXPECT_TRUE(sameLine(darkInk(shot, frameOf("text \"（\"")), type));
    EXPECT_TRUE(sameLine(darkInk(shot, frameOf("text \"）\"")), type));
}

TEST_F(LineBreakingTest, NoLineStartsWithClosingPunctuationOrEndsWithAnOpeningOne) {
    // One element a character, so that every break the layout makes falls at an element's
    // edge, where the text of both sides decides.
    const std::vector<std::string> characters = {
        "请", "各", "单", "位", "（", "含", "附", "属", "单", "位", "）", "于", "本",
        "周", "内", "报", "送", "材", "料", "，", "逾", "期", "不", "候", "。", "「",
        "通", "知", "」", "见", "附", "件", "、", "表", "格", "与", "说", "明", "。"};
    std::string html = "<p>";
    for (std::size_t i = 0; i < characters.size(); ++i) {
        html += "<span id=\"c" + std::to_string(i) + "\">" + characters[i] + "</span>";
    }
    show(html + "</p>");
    const std::string closing = "）。，、」";
    const std::string opening = "（「";
    for (double width = 120; width <= 380; width += 4) {
        SCOPED_TRACE(width);
        useWidth(width);
        std::vector<Rect> frames;
        for (std::size_t i = 0; i < characters.size(); ++i) {
            frames.push_back(frameOf("#c" + std::to_string(i) + " "));
            ASSERT_FALSE(frames.back().isEmpty()) << driver.outline();
        }
        for (std::size_t i = 1; i < characters.size(); ++i) {
            if (closing.find(characters[i]) != std::string::npos) {
                EXPECT_TRUE(sameLine(frames[i - 1], frames[i]))
                    << characters[i] << " starts a line";
            }
            if (opening.find(characters[i - 1]) != std::string::npos) {
                EXPECT_TRUE(sameLine(frames[i - 1], frames[i]))
                    << characters[i - 1] << " ends a line";
            }
        }
    }
}

TEST_F(LineBreakingTest, AWordTooLongForItsLineIsCutBetweenCharacters) {
    useWidth(320);
    std::string word;
    for (int i = 0; i < 12; ++i) {
        word += "6AC5D33F60";
    }
    std::string accents;
    for (int i = 0; i < 40; ++i) {
        accents += "é";
    }
    show("<p>账号：<span id=\"id\">" + word +
         "</span>（<span id=\"type\">teacher</span>）</p><p id=\"accents\">" + accents + "</p>");
    const Image shot = renderToImage(*web());
    for (const std::string line : {"#id ", "#accents "}) {
        SCOPED_TRACE(line);
        const Rect frame = frameOf(line);
        ASSERT_FALSE(frame.isEmpty()) << driver.outline();
        // Held inside the screen, on lines of its own.
        EXPECT_LE(frame.maxX(), 320 - 8 + 1);
        EXPECT_GT(frame.height(), 30);
        EXPECT_FALSE(darkInk(shot, frame).isEmpty());
    }
    // Nothing is drawn past the margin, and short words around it still stand whole.
    EXPECT_TRUE(darkInk(shot, Rect{{320 - 7, 0}, {7, 667}}).isEmpty());
    EXPECT_TRUE(sameLine(frameOf("#type "), frameOf("text \"）\"")));
}

TEST_F(LineBreakingTest, ListMarkersStandLevelWithTheirItemsText) {
    for (const double width : {320.0, 375.0, 768.0}) {
        SCOPED_TRACE(width);
        useWidth(width);
        show(
            "<ul><li id=\"plain\">普通条目</li>"
            "<li id=\"button\"><button onclick=\"void 0\">按钮</button>之后的说明</li>"
            "<li id=\"large\"><span style=\"font-size:28px\">大字</span>条目</li></ul>");
        const Image shot = renderToImage(*web());
        // How far below the bottom of the item's last characters (plain text in each item)
        // the middle of its marker stands; `first` is the item's first box, `last` its text.
        auto offsetOf = [&](const Rect& first, const Rect& last) {
            EXPECT_FALSE(first.isEmpty()) << driver.outline();
            const Rect line = first.unionWith(last);
            const Rect marker =
                darkInk(shot, Rect{{0, line.minY() - 4}, {first.minX() - 1, line.height() + 8}});
            const Rect ink = darkInk(shot, last);
            const Rect text =
                darkInk(shot, Rect{{ink.maxX() - 30, ink.minY()}, {31, ink.height()}});
            EXPECT_FALSE(marker.isEmpty());
            EXPECT_FALSE(text.isEmpty());
            return marker.midY() - text.maxY();
        };
        const double plain = offsetOf(frameOf("#plain "), frameOf("#plain "));
        EXPECT_NEAR(offsetOf(frameOf("button \"按钮\""), frameOf("text \"之后的说明\"")), plain,
                    2.5);
        EXPECT_NEAR(offsetOf(frameOf("#large "), frameOf("#large ")), plain, 2.5);
    }
}

}  // namespace

namespace {

// Long words are found the same whether the text is read whole by ICU or passed over as
// plainly holding none: a text is read whole when a long unbreakable tail follows it after a
// space, and its own words must come out as they do alone.
TEST(LongWordsTest, ATextsLongWordsAreTheSameHoweverItIsRead) {
    const std::vector<std::string> parts = {
        "说", "明", "，", "。", "（", "）", "「", "」", " ", "  ", "a", "Z", "7", "callback",
        "—", "…", "/", "-", "https://news.lanxi-campus.example/", "abcdefghijklmnopq", "１２", "々", "é"};
    const std::string tail(40, 'x');
    std::uint32_t seed = 12345;
    for (int n = 0; n < 3000; ++n) {
        std::string text;
        const int count = 1 + int(seed % 14);
        for (int i = 0; i < count; ++i) {
            seed = seed * 1103515245u + 12345u;
            text += parts[(seed >> 8) % parts.size()];
        }
        text += "字";  // ends where the tail after a space surely starts a new word
        SCOPED_TRACE(text);
        auto alone = linebreaks::longWords(text);
        auto read = linebreaks::longWords(text + " " + tail);
        ASSERT_FALSE(read.empty());
        read.pop_back();  // the tail's own
        EXPECT_EQ(alone, read);
    }
}

}  // namespace
