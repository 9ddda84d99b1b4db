#include <gtest/gtest.h>

#include <string>

#include "fakes/WebPages.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Renderer.h"
#include "tests/support/InkTestSupport.h"
#include "tests/web/PageTestSupport.h"

using namespace platform;
using testsupport::darkInk;

namespace {

// The space between a page's paragraphs is a browser's: a block's top margin and that of its
// first child collapse into one, so a paragraph inside a <div> or <form> stands as far below
// the one before it as a paragraph alone would. Read from where the page's elements stand and
// where their ink is, at the phones' and the tablet's widths.
class BlockMarginsTest : public pagetest::PageEngineTest {
protected:
    void show(const std::string& html) { open(serve("/pages/margins.html", html)); }

    void useWidth(double width) {
        web()->setFrame(Rect{{0, 0}, {width, 1024}});
        web()->layoutIfNeeded();
    }

    // How far the element's top stands below the top of the one before it.
    double step(const std::string& above, const std::string& below) {
        const Rect top = frameOf(above);
        const Rect bottom = frameOf(below);
        EXPECT_FALSE(top.isEmpty()) << above << "\n" << driver.outline();
        EXPECT_FALSE(bottom.isEmpty()) << below << "\n" << driver.outline();
        return bottom.minY() - top.minY();
    }
};

TEST_F(BlockMarginsTest, AParagraphFirstInABlockStandsAsFarBelowThePreviousAsOneAlone) {
    for (const double width : {320.0, 375.0, 768.0}) {
        SCOPED_TRACE(width);
        useWidth(width);
        show(
            "<div><p id=\"first\">第一段</p></div>"
            "<p id=\"alone\">单独一段</p>"
            "<div><p id=\"inDiv\">盒中一段</p></div>"
            "<form><p id=\"inForm\">表单中一段</p></form>"
            "<div><div><p id=\"nested\">两层盒中一段</p></div></div>"
            "<p id=\"after\">其后一段</p>"
            "<div style=\"padding-top:10px\"><p id=\"padded\">留白盒中一段</p></div>");
        // A paragraph's step: a line and one margin between, as between two alone.
        const double alone = step("#first ", "#alone ");
        EXPECT_GT(alone, 30);
        EXPECT_LT(alone, 45);
        EXPECT_NEAR(step("#alone ", "#inDiv "), alone, 0.5);
        EXPECT_NEAR(step("#inDiv ", "#inForm "), alone, 0.5);
        EXPECT_NEAR(step("#inForm ", "#nested "), alone, 0.5);
        EXPECT_NEAR(step("#nested ", "#after "), alone, 0.5);
        // Padding stands between the two margins: they stay apart.
        EXPECT_NEAR(step("#after ", "#padded "), alone + 10 + 16, 0.5);
        // The first paragraph's margin collapses with the page's own, as the page's first
        // paragraph does: a browser's 16 from the top.
        EXPECT_NEAR(frameOf("#first ").minY(), 16, 0.5);

        // And the ink: each paragraph's text starts one step below the last's.
        const Image shot = renderToImage(*web());
        const double inkAlone = darkInk(shot, frameOf("#alone ")).minY();
        const double inkInForm = darkInk(shot, frameOf("#inForm ")).minY();
        const double inkInDiv = darkInk(shot, frameOf("#inDiv ")).minY();
        EXPECT_NEAR(inkInDiv - inkAlone, alone, 1);
        EXPECT_NEAR(inkInForm - inkInDiv, alone, 1);
    }
}

TEST_F(BlockMarginsTest, TheQuestionnairesFormStandsAsFarBelowTheAnswererAsItsFirstPage) {
    // The first page's question is a paragraph alone under the answerer's, the second's
    // account row is the first paragraph of its form: the same step down on both.
    for (const double width : {320.0, 375.0, 768.0}) {
        SCOPED_TRACE(width);
        useWidth(width);
        show(fakes::questionnairePage("20050031", "1"));
        const double first = step("#account ", "text \"1. 您对学校食堂的整体满意度：\"");
        show(fakes::questionnairePage("20050031", "2"));
        const double second = step("#account ", "text \"答卷账号：\"");
        EXPECT_GT(first, 30);
        // The account row holds a field taller than its words, which sets them a few points
        // lower in their line; a margin left uncollapsed would add a whole 16.
        EXPECT_GE(second, first);
        EXPECT_LT(second, first + 8);
    }
}

TEST_F(BlockMarginsTest, AFirstChildsMarginCollapsesAcrossWhiteSpaceAndFollowsAScriptsChange) {
    // Laid out as real pages are written, each tag on a line of its own: the spaces between
    // the tags make no line, and the paragraph's margin still collapses with its blocks'.
    for (const double width : {320.0, 375.0, 768.0}) {
        SCOPED_TRACE(width);
        useWidth(width);
        show(
            "<p id=\"above\">上一段</p>\n"
            "<div class=\"wrap\">\n"
            "  <div id=\"lead\">\n"
            "    <p style=\"margin-top:40px\">盒中一段</p>\n"
            "  </div>\n"
            "</div>\n"
            "<p id=\"below\">其后一段</p>\n");
        const double alone = step("#lead ", "#below ");
        EXPECT_GT(alone, 30);
        EXPECT_LT(alone, 45);
        EXPECT_NEAR(step("#above ", "#lead "), alone + 40 - 16, 0.5);

        // A script writes the block's words over its paragraph: laid out again at the same
        // width, the block around it takes the margin it has now (none of its own), not the
        // one it found before.
        eval("document.getElementById('lead').innerText = '盒中一段'");
        web()->layoutIfNeeded();
        EXPECT_NEAR(step("#above ", "#lead "), alone, 0.5);
        EXPECT_NEAR(step("#lead ", "#below "), alone, 0.5);
    }
}

}  // namespace
