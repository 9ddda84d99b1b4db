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

}  // namespace
