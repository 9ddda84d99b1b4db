#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Image.h"
#include "platform/web/HtmlBackground.h"
#include "platform/web/HtmlLayout.h"
#include "platform/web/HtmlStyleBounds.h"
#include "platform/web/WebPage.h"
#include "tests/support/LayoutBombs.h"

using namespace platform;
using testsupport::nested;

namespace {

// Each bound on what a page may make the layout do sits at its limit here: a page just under
// it is laid out whole, and one just over it shows the cut.

std::string repeated(std::string_view text, std::size_t count) {
    std::string out;
    out.reserve(text.size() * count);
    for (std::size_t i = 0; i < count; ++i) {
        out += text;
    }
    return out;
}

// A page laid out on a phone's screen, with its marked items' frames and its first screen.
struct Laid {
    std::vector<Rect> frames;
    Image shot;
};

Laid layOut(const std::string& html, std::size_t items = 2, Size screen = {375, 667}) {
    HtmlLayout layout(html, std::make_shared<HtmlPictures>(nullptr));
    layout.layOut(screen.width, screen.height);
    BitmapContext context(screen);
    context.fillRect(Rect{{0, 0}, screen}, Color::rgba(1, 1, 1, 1));
    layout.paint(context, Rect{{0, 0}, screen});
    return Laid{layout.itemFrames(items), context.makeImage()};
}

bool red(std::uint32_t argb) {
    return ((argb >> 16) & 0xff) > 150 && ((argb >> 8) & 0xff) < 90 && (argb & 0xff) < 90;
}

int redPixels(const Laid& laid, const Rect& area) {
    int count = 0;
    for (int y = std::max(0, int(area.minY()));
         y < std::min(laid.shot.pixelHeight(), int(std::ceil(area.maxY()))); ++y) {
        for (int x = std::max(0, int(area.minX()));
             x < std::min(laid.shot.pixelWidth(), int(std::ceil(area.maxX()))); ++x) {
            count += red(laid.shot.pixelAt(x, y)) ? 1 : 0;
        }
    }
    return count;
}

// Whether the page's rule made the marked text red.
bool styledRed(const std::string& style, const std::string& body, Size screen = {375, 667}) {
    const Laid laid = layOut("<style>" + style + "</style>" + body, 1, screen);
    EXPECT_FALSE(laid.frames.at(0).isEmpty());
    return redPixels(laid, laid.frames.at(0)) > 0;
}

const std::string kMarked =
    "<p><span id=\"t\" class=\"t\" data-campus-item=\"0\">marked</span></p>";

// --- Style sheets ---------------------------------------------------------------------------

TEST(StyleBoundsTest, MediaBlocksApplyUpToTheirNestingBoundAndDeeperOnesAreLeftOut) {
    const int bound = 16;
    auto page = [](int depth) { return nested("@media all{", "}", depth, ".t{color:#dc0000}"); };
    EXPECT_TRUE(styledRed(page(bound), kMarked));
    EXPECT_FALSE(styledRed(page(bound + 1), kMarked));
    // What follows the block left out stays.
    EXPECT_TRUE(styledRed(page(bound + 1) + "#t{color:#dc0000}", kMarked));

    StyleSheetBounder sheets;
    const std::string deep = page(bound + 1);
    EXPECT_EQ(sheets.bound(deep + "p{color:blue}"),
              nested("@media all{", "}", bound, "") + "p{color:blue}");
    EXPECT_EQ(sheets.figures().blocksLeftOut, 1u);
}

TEST(StyleBoundsTest, AnElementAScriptReplacesIsStyledByTheSheetsAsBoundedForTheEngine) {
    // The page's own reading of its sheets styles what a script's change brings: as the
    // engine styled the page, within the same bounds.
    auto replacedIsRed = [](int depth) {
        const std::string html = "<style>" +
                                 nested("@media all{", "}", depth, ".t{color:#dc0000}") +
                                 "</style>" + "<p><span data-campus-item=\"0\">before</span></p>";
        HtmlLayout layout(html, std::make_shared<HtmlPictures>(nullptr));
        layout.layOut(375, 667);
        EXPECT_TRUE(layout.replaceItem(0, "<span data-campus-item=\"0\" class=\"t\">after</span>"));
        layout.layOut(375, 667);
        BitmapContext context(Size{375, 667});
        context.fillRect(Rect{{0, 0}, {375, 667}}, Color::rgba(1, 1, 1, 1));
        layout.paint(context, Rect{{0, 0}, {375, 667}});
        const Laid laid{layout.itemFrames(1), context.makeImage()};
        EXPECT_FALSE(laid.frames[0].isEmpty());
        return redPixels(laid, laid.frames[0]) > 0;
    };
    EXPECT_TRUE(replacedIsRed(16));
    EXPECT_FALSE(replacedIsRed(17));
}

TEST(StyleBoundsTest, SelectorsApplyUpToTheirParenthesesBoundAndDeeperOnesAreLeftOut) {
    const int bound = 16;
    // A span is not a b, whatever the b is not.
    auto selector = [](int depth) { return "span" + nested(":not(b", ")", depth, ""); };
    EXPECT_TRUE(styledRed(selector(bound) + "{color:#dc0000}", kMarked));
    EXPECT_FALSE(styledRed(selector(bound + 1) + "{color:#dc0000}", kMarked));
    // The rule keeps its other selectors.
    EXPECT_TRUE(styledRed(selector(bound + 1) + ",#t{color:#dc0000}", kMarked));
}

TEST(StyleBoundsTest, SelectorsApplyUpToTheirConditionsBoundAndLongerOnesAreLeftOut) {
    const int bound = 32;
    // Each :not(b) is a condition (a .x within it would be another).
    auto selector = [](int conditions) {
        return "span" + repeated(":not(b)", std::size_t(conditions)) + "{color:#dc0000}";
    };
    EXPECT_TRUE(styledRed(selector(bound), kMarked));
    EXPECT_FALSE(styledRed(selector(bound + 1), kMarked));
    // An attribute's test is one as well, whatever else the selector holds.
    auto attributes = [](int conditions) {
        return "span" + repeated("[data-campus-item]", std::size_t(conditions)) + "{color:#dc0000}";
    };
    EXPECT_TRUE(styledRed(attributes(bound), kMarked));
    EXPECT_FALSE(styledRed(attributes(bound + 1), kMarked));
    EXPECT_FALSE(styledRed(
        "span.t#t" + repeated("[id]", std::size_t(bound - 1)) + "{color:#dc0000}", kMarked));
}

TEST(StyleBoundsTest, ARuleKeepsItsFirstSelectorsUpToTheBound) {
    const std::size_t bound = 256;
    auto rule = [](std::size_t others) {
        return repeated(".other,", others) + ".t{color:#dc0000}";
    };
    EXPECT_TRUE(styledRed(rule(bound - 1), kMarked));
    EXPECT_FALSE(styledRed(rule(bound), kMarked));

    StyleSheetBounder sheets;
    sheets.bound(rule(bound));
    EXPECT_EQ(sheets.figures().rules, bound);
    EXPECT_EQ(sheets.figures().selectorsLeftOut, 1u);
}

TEST(StyleBoundsTest, APageKeepsItsFirstRulesUpToTheBoundOverAllItsSheets) {
    const std::size_t bound = 4000;
    // Half the rules in one sheet, the rest in another: the bound counts them together.
    auto page = [](std::size_t others) {
        return "<style>" + repeated(".other{color:blue}", others / 2) + "</style><style>" +
               repeated(".other{color:blue}", others - others / 2) + ".t{color:#dc0000}</style>" +
               kMarked;
    };
    auto shownRed = [](const std::string& html) {
        const Laid laid = layOut(html, 1);
        return redPixels(laid, laid.frames.at(0)) > 0;
    };
    EXPECT_TRUE(shownRed(page(bound - 1)));
    EXPECT_FALSE(shownRed(page(bound)));
}

TEST(StyleBoundsTest, SheetsWithinTheBoundsAreReadAsTheEngineReadsThem) {
    StyleSheetBounder sheets;
    const std::string sheet =
        "p,  div > a:not(.x) , \"a,b\" {color:red}\n@media screen and (min-width:10px){"
        "@media print{b{x:y}}i{z:w}}@import url(x.css);\nq{}";
    EXPECT_EQ(sheets.bound(sheet), sheet);
    EXPECT_EQ(sheets.figures().rules, 9u);
    EXPECT_FALSE(sheets.figures().cut);
    // Comments go, as the engine takes them out, one made by taking out another too.
    EXPECT_EQ(withoutComments("a/**/{b:c}/*x*/"), "a{b:c}");
    EXPECT_EQ(withoutComments("/*a/*b*/c*/d/*"), "c*/d");
    EXPECT_EQ(withoutComments("x//**/*y*/z"), "xz");
    // A '}' that closes nothing ends what stands before it.
    EXPECT_EQ(StyleSheetBounder().bound("a}b{c:d}"), "b{c:d}");
    EXPECT_EQ(StyleSheetBounder().bound(repeated("a}", 1000) + "b{c:d} e{f:g}"), "b{c:d} e{f:g}");
}

TEST(StyleBoundsTest, ASelectorOfMoreStepsThanAreTriedIsLeftOutUnread) {
    StyleSheetBounder sheets;
    EXPECT_EQ(sheets.bound(repeated("div ", 16) + "span{c:d}"), repeated("div ", 16) + "span{c:d}");
    EXPECT_EQ(sheets.bound(repeated("div > ", 17) + "span{c:d}"), "");
    EXPECT_EQ(sheets.figures().selectorsLeftOut, 1u);
}

// --- Selector matching ------------------------------------------------------------------------

TEST(SelectorBoundsTest, ASelectorMatchesUpToSixteenCombinatorsAndNoneBeyond) {
    const std::string body =
        "<section>" +
        nested("<div>", "</div>", 30,
               "<span id=\"t\" class=\"t\" data-campus-item=\"0\">marked</span>") +
        "</section>";
    EXPECT_TRUE(styledRed("section" + repeated(" div", 15) + " span{color:#dc0000}", body));
    EXPECT_FALSE(styledRed("section" + repeated(" div", 16) + " span{color:#dc0000}", body));
}

TEST(SelectorBoundsTest, AStylePassMatchesWalksUpToAMillionStepsAndNoMore) {
    // Each b's walk looks for a .u among all the siblings before it, and finds none: n
    // siblings cost n(n-1)/2 steps. Once the pass has spent its steps, the span after them
    // is not matched either.
    auto laterIsRed = [](std::size_t siblings) {
        return styledRed(".u ~ b{color:blue} section span{color:#dc0000}",
                         "<p>" + repeated("<b></b>", siblings) +
                             "</p><section><span data-campus-item=\"0\">later</span></section>");
    };
    // Five per cent either side of a million.
    EXPECT_TRUE(laterIsRed(1378));
    EXPECT_FALSE(laterIsRed(1449));
}

TEST(SelectorBoundsTest, WalksAreRememberedSoThatACostlySelectorLeavesTheRestMatched) {
    // Twelve descendant steps that never match over thirty nested divs: each way of choosing
    // the ancestors is tried once only, and a later element is still styled.
    const std::string style =
        "p" + repeated(" div", 12) + "{color:blue} section div span{color:#dc0000}";
    EXPECT_TRUE(styledRed(style, nested("<div>", "</div>", 30, "deep") +
                                     "<section><div><span data-campus-item=\"0\">later</span>"
                                     "</div></section>"));
}

// --- Boxes ------------------------------------------------------------------------------------

TEST(BoxBoundsTest, FloatsNestUpToTheBoundAndDeeperOnesLayOutAsBlocks) {
    // The innermost float holds a box: the text after it stands beside it while it floats,
    // and under it once it is a block.
    auto page = [](int depth) {
        return nested("<div style=\"float:left\">", "</div>", depth - 1,
                      "<div style=\"float:left\"><b data-campus-item=\"0\">in</b></div>"
                      "<i data-campus-item=\"1\">after</i>");
    };
    const Laid under = layOut(page(8));
    ASSERT_FALSE(under.frames[0].isEmpty());
    EXPECT_LT(std::abs(under.frames[1].midY() - under.frames[0].midY()), 2.0);
    EXPECT_GE(under.frames[1].minX(), under.frames[0].maxX());
    const Laid over = layOut(page(9));
    ASSERT_FALSE(over.frames[0].isEmpty());
    EXPECT_GE(over.frames[1].minY(), over.frames[0].maxY());
}

TEST(BoxBoundsTest, FloatsOfAFormattingContextUpToTheBoundFloatAndLaterOnesLayOutInTheFlow) {
    // Floats one point wide stack in from the right; the last, marked, floats beside them
    // or, in the flow, starts at the left margin. Side by side in one block, or each in a
    // block of its own in the same formatting context, they count alike; a box that holds a
    // context of its own (one that hides its overflow) counts its floats apart.
    const std::string dot = "<span style=\"float:right;width:1px;height:1px\"></span>";
    const std::string last = "<span style=\"float:right\" data-campus-item=\"0\">last</span>";
    auto siblings = [&](int floats) { return repeated(dot, std::size_t(floats - 1)) + last; };
    auto apart = [&](int floats) {
        return repeated("<div>" + dot + "</div>", std::size_t(floats - 1)) + "<div>" + last +
               "</div>";
    };
    auto ownContexts = [&](int floats) {
        return "<div>" + repeated(dot, 200) + "</div>" + "<div style=\"overflow:hidden\">" +
               siblings(floats - 200) + "</div>";
    };
    for (const auto& [name, page] :
         std::vector<std::pair<std::string, std::function<std::string(int)>>>{
             {"siblings", siblings}, {"apart", apart}}) {
        SCOPED_TRACE(name);
        const Laid under = layOut("<body style=\"margin:0\">" + page(256) + "</body>", 1);
        ASSERT_FALSE(under.frames[0].isEmpty());
        EXPECT_GT(under.frames[0].minX(), 20);
        EXPECT_LE(under.frames[0].maxX(), 375 - 255 + 1);
        const Laid over = layOut("<body style=\"margin:0\">" + page(257) + "</body>", 1);
        ASSERT_FALSE(over.frames[0].isEmpty());
        EXPECT_LT(over.frames[0].minX(), 1);
    }
    const Laid own = layOut("<body style=\"margin:0\">" + ownContexts(257) + "</body>", 1);
    ASSERT_FALSE(own.frames[0].isEmpty());
    EXPECT_GT(own.frames[0].minX(), 20);
}

// --- Tables -----------------------------------------------------------------------------------

TEST(TableBoundsTest, AColumnSpanReachesAThousandColumnsAndNoMore) {
    auto page = [](int columns) {
        const std::string span = std::to_string(columns);
        return "<table><tr><td colspan=\"" + span + "\" data-campus-item=\"0\">wide</td></tr><tr>" +
               repeated("<td>c</td>", std::size_t(columns - 1)) +
               "<td data-campus-item=\"1\">c</td></tr></table>";
    };
    const Laid under = layOut(page(1000), 2, Size{375, 667});
    EXPECT_GE(under.frames[0].maxX(), under.frames[1].maxX() - 1);
    const Laid over = layOut(page(1001), 2, Size{375, 667});
    EXPECT_LE(over.frames[0].maxX(), over.frames[1].minX() + 1);
}

TEST(TableBoundsTest, ARowSpanPastWhatTheEngineCountsInStillSpansTheRowsBelow) {
    // Read whole, the span would wrap around to one row in the engine's numbers; held to
    // 65,534 as browsers hold it, it reaches down past the second row, whose cell stands in
    // the next column.
    auto page = [](const std::string& span) {
        return "<table><tr><td rowspan=\"" + span +
               "\" data-campus-item=\"0\">tall</td><td>a</td></tr>"
               "<tr><td data-campus-item=\"1\">b</td></tr></table>";
    };
    for (const std::string span : {"65534", "65535", "4294967297"}) {
        SCOPED_TRACE(span);
        const Laid laid = layOut(page(span));
        ASSERT_FALSE(laid.frames[0].isEmpty());
        EXPECT_GT(laid.frames[1].minX(), laid.frames[0].maxX() - 1);
        EXPECT_GT(laid.frames[0].maxY(), laid.frames[1].minY());
    }
}

TEST(TableBoundsTest, ATableLaysOutAsATableUpToItsSlotBoundCountingCellsThatReachDown) {
    // The first row is a thousand columns wide, and its first cell reaches down into the
    // second row, where its five hundred columns come before that row's own: 1,500 slots a
    // row.
    auto page = [](std::size_t rows) {
        return "<table><tr><td colspan=\"500\" rowspan=\"2\">r</td><td colspan=\"500\">s</td>"
               "</tr>" +
               repeated("<tr><td>x</td></tr>", rows - 2) +
               "<tr><td data-campus-item=\"0\">a</td><td data-campus-item=\"1\">b</td></tr>"
               "</table>";
    };
    const Laid under = layOut(page(166));  // 249,000 slots
    ASSERT_FALSE(under.frames[0].isEmpty());
    EXPECT_LT(std::abs(under.frames[1].midY() - under.frames[0].midY()), 2.0);
    const Laid over = layOut(page(167));  // 250,500 slots: the rows lay out as blocks
    ASSERT_FALSE(over.frames[0].isEmpty());
    EXPECT_GE(over.frames[1].minY(), over.frames[0].maxY());
}

// --- Painting ---------------------------------------------------------------------------------

TEST(BackgroundBoundsTest, TilesArePaintedWithinTheBoxAlone) {
    const Image tile = Image::fromARGB(8, 8, std::vector<std::uint32_t>(64, 0xffdc0000u));
    // A few tiles drawn one by one, and many drawn as a pattern: neither reaches past the box.
    for (const double height : {10.0, 300.0}) {
        SCOPED_TRACE(height);
        BitmapContext context(100, 400);
        context.fillRect(Rect{{0, 0}, {100, 400}}, Color::rgba(1, 1, 1, 1));
        BackgroundTiling tiling;
        tiling.box = Rect{{0, 0}, {50, height}};
        tiling.tile = Size{8, 8};
        tiling.repeatX = tiling.repeatY = true;
        paintBackgroundTiles(context, tile, tiling, Rect{{0, 0}, {100, 400}});
        const Image shot = context.makeImage();
        const int bottom = int(height) - 1;
        EXPECT_TRUE(red(shot.pixelAt(49, bottom)));
        EXPECT_FALSE(red(shot.pixelAt(51, bottom)));
        EXPECT_FALSE(red(shot.pixelAt(49, bottom + 2)));
    }
}

// --- What a page shows ------------------------------------------------------------------------

TEST(ShownTextBoundsTest, APageShowsItsTextUpToTheBoundAndMarksWhatItLeavesOut) {
    constexpr std::size_t kParagraph = 16u << 10;
    constexpr std::size_t kShown = 2u << 20;
    static_assert(kShown == WebPage::kMaxShownText);
    const std::size_t paragraphs = kShown / kParagraph;
    auto shown = [&](const std::string& after) {
        const std::string html =
            "<body>" + repeated("<p>" + std::string(kParagraph, 'a') + "</p>", paragraphs) + after +
            "</body>";
        return WebPage(html, "http://pages.example.invalid/", "", [](const std::string&) {})
            .items();
    };
    const auto whole = shown("");
    std::size_t bytes = 0;
    for (const auto& item : whole) {
        bytes += item.text.size();
    }
    EXPECT_EQ(bytes, kShown);
    EXPECT_NE(whole.back().text, "…");
    const auto cut = shown("<p>z</p>");
    EXPECT_EQ(cut.back().text, "…");
    EXPECT_EQ(cut.size(), whole.size() + 1);
}

}  // namespace
