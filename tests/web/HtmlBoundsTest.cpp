#include <gtest/gtest.h>

#include <string>

#include "platform/web/HtmlBounds.h"

using platform::boundHtml;
using platform::HtmlBounds;

namespace {

std::string repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

HtmlBounds depth(int levels) {
    HtmlBounds bounds;
    bounds.maxDepth = levels;
    return bounds;
}

TEST(HtmlBoundsTest, OnlyNestingThatPilesUpIsFlattened) {
    // Elements the next one closes, void ones, self-closed SVG shapes and tags inside
    // comments, quoted attributes and scripts never count as nesting.
    const std::string sloppy =
        "<ul>" + repeat("<li>item", 50) + "</ul>" + repeat("<p>para", 50) +
        repeat("<br><img src=x>", 50) + "<svg>" + repeat("<path d=\"M0 0\"/>", 50) + "</svg>" +
        "<!-- " + repeat("<div>", 50) + " -->" + "<a title=\"" + repeat("<div>", 50) + "\">x</a>" +
        "<script>var s = '" + repeat("<div>", 50) + "';</script>";
    auto kept = boundHtml(sloppy, depth(4));
    EXPECT_FALSE(kept.flattened);
    EXPECT_FALSE(kept.cut);
    EXPECT_EQ(kept.html, sloppy);

    // What does pile up loses its start and end tags past the limit, keeping its text, and
    // what follows the deep part stays where it was.
    auto flat =
        boundHtml(repeat("<div>", 6) + "deep" + repeat("</div>", 6) + "<b>after</b>", depth(4));
    EXPECT_TRUE(flat.flattened);
    EXPECT_EQ(flat.html, repeat("<div>", 4) + "deep" + repeat("</div>", 4) + "<b>after</b>");

    // An end tag that closes an outer element closes what was left out inside it too.
    auto closed = boundHtml("<section>" + repeat("<span>", 5) + "x</section><i>y</i>", depth(2));
    EXPECT_EQ(closed.html, "<section><span>x</section><i>y</i>");
}

TEST(HtmlBoundsTest, ThePageIsCutAtItsElementAndByteBudget) {
    HtmlBounds bounds;
    bounds.maxElements = 3;
    auto cut = boundHtml("<p>one<p>two<p>three<p>four", bounds);
    EXPECT_TRUE(cut.cut);
    EXPECT_EQ(cut.elements, 3u);
    EXPECT_EQ(cut.html, "<p>one<p>two<p>three");

    // Never inside a character: "校" is three bytes.
    bounds = HtmlBounds();
    bounds.maxBytes = 5;
    auto bytes = boundHtml("学校学校", bounds);
    EXPECT_TRUE(bytes.cut);
    EXPECT_EQ(bytes.html, "学");

    // A tag left open at the end is handed on as it is, for the parser to drop.
    EXPECT_EQ(boundHtml("<p>text<a href=\"x", HtmlBounds()).html, "<p>text<a href=\"x");
}

HtmlBounds attributes(std::size_t count) {
    HtmlBounds bounds;
    bounds.maxAttributes = count;
    return bounds;
}

TEST(HtmlBoundsTest, AttributesPastTheBoundAreLeftOutOfTheirTag) {
    // The first ones stay, in every way an attribute is written; what follows the tag stays.
    auto kept = boundHtml("<p id=a class = 'b c' hidden title=\"x>y\" data-x=1 lang=zh>text</p>",
                          attributes(3));
    EXPECT_TRUE(kept.attributesDropped);
    EXPECT_EQ(kept.html, "<p id=a class = 'b c' hidden >text</p>");

    // A self-closed tag stays closed; a '>' inside a quoted value does not end the tag; end
    // tags lose theirs too.
    auto closed =
        boundHtml("<svg><path d=\"M0 0\" a='>' b c/><rect/></svg></p x y z>", attributes(2));
    EXPECT_EQ(closed.html, "<svg><path d=\"M0 0\" a='>' /><rect/></svg></p x y >");

    // Within the bound nothing changes, odd writing included.
    const std::string odd = "<a =x b=\"1\"c d / e>link</a><br/ f><img src=x alt=>";
    auto same = boundHtml(odd, attributes(5));
    EXPECT_FALSE(same.attributesDropped);
    EXPECT_EQ(same.html, odd);
}

TEST(HtmlBoundsTest, AHundredThousandAttributesOnOneTagBecomeTheBound) {
    std::string tag = "<div";
    for (int i = 0; i < 100'000; ++i) {
        tag += " a" + std::to_string(i) + "=\"1\"";
    }
    auto kept = boundHtml("<p>before</p>" + tag + ">inside</div><p>after</p>", HtmlBounds());
    EXPECT_TRUE(kept.attributesDropped);
    EXPECT_NE(kept.html.find(" a63=\"1\""), std::string::npos);
    EXPECT_EQ(kept.html.find(" a64="), std::string::npos);
    EXPECT_TRUE(kept.html.ends_with(">inside</div><p>after</p>"));
    EXPECT_LT(kept.html.size(), 1000u);
}

TEST(HtmlBoundsTest, AttributesPastThePagesBoundAreLeftOutWhereverTheyStand) {
    HtmlBounds bounds;
    bounds.maxTotalAttributes = 5;
    auto kept = boundHtml("<p a b>1</p><p c d>2</p><p e f>3</p><p g>4</p>", bounds);
    EXPECT_TRUE(kept.attributesDropped);
    EXPECT_EQ(kept.html, "<p a b>1</p><p c d>2</p><p e >3</p><p >4</p>");
}

// A paragraph, then `open` formatting elements each unlike the others, then `paragraphs`
// paragraphs of one letter: the parser makes all that are open again in each paragraph.
std::string formattingLeftOpen(int open, int paragraphs) {
    std::string html = "<p>first words";
    for (int i = 0; i < open; ++i) {
        html += "<b class=c" + std::to_string(i) + ">";
    }
    return html + repeat("<p>x", paragraphs);
}

TEST(HtmlBoundsTest, FormattingLeftOpenIsBoundedByWhatTheParserWouldMakeAgain) {
    // The list is held to its bound: the tags past it are left out, their text stays.
    HtmlBounds bounds;
    bounds.maxOpenFormatting = 4;
    auto few = boundHtml(formattingLeftOpen(6, 1) + "</b>", bounds);
    EXPECT_FALSE(few.cut);
    EXPECT_EQ(few.html, formattingLeftOpen(4, 1));

    // Made again in every paragraph: the page is cut where that passes its bound, with what
    // came before it whole.
    bounds = HtmlBounds();
    bounds.maxRemade = 100;
    auto cut = boundHtml(formattingLeftOpen(10, 50), bounds);
    EXPECT_TRUE(cut.cut);
    EXPECT_TRUE(cut.remadePastBound);
    EXPECT_EQ(cut.html, formattingLeftOpen(10, 10) + "<p>");

    // The blowup itself: 240 open, 50,000 paragraphs, some 200 KB, keeps its first words.
    auto blowup = boundHtml(formattingLeftOpen(240, 50000), HtmlBounds());
    EXPECT_TRUE(blowup.remadePastBound);
    EXPECT_LT(blowup.html.size(), std::size_t(20000));
    EXPECT_EQ(blowup.html.rfind("<p>first words", 0), 0u);
}

TEST(HtmlBoundsTest, FormattingThatIsClosedOrEndsWithItsCellIsNotCountedAsMadeAgain) {
    // Closed where it is opened; around the paragraphs (never out of the open elements);
    // alike, of which the parser keeps three; opened in a paragraph of a table's cell, which
    // ends it with the cell.
    std::string rows;
    for (int i = 0; i < 150; ++i) {
        rows += "<tr><td><p><b class=k" + std::to_string(i) + ">cell<p>more";
    }
    const std::string sloppy = repeat("<p><b class=k>bold</b> <i>it</i> <a href=x>link</a>", 3000) +
                               "</p><font size=2>" + repeat("<div>in font</div>", 3000) +
                               "</font>" + repeat("<p><font size=2>same", 40) + "<table>" + rows +
                               "</table><div><em>em</em></div><p>after";
    // Some 270 made again, each where a browser makes it too.
    HtmlBounds bounds;
    bounds.maxRemade = 400;
    auto kept = boundHtml(sloppy, bounds);
    EXPECT_FALSE(kept.cut);
    EXPECT_TRUE(kept.html == sloppy);

    // A bold run across paragraphs is made again in each, as a browser shows it, up to the
    // bound.
    bounds.maxRemade = 10;
    EXPECT_FALSE(boundHtml("<p><b>bold" + repeat("<p>still bold", 10), bounds).cut);
    EXPECT_TRUE(boundHtml("<p><b>bold" + repeat("<p>still bold", 11), bounds).remadePastBound);
}

}  // namespace
