#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/graphics/Image.h"
#include "platform/ui/Renderer.h"
#include "tests/support/InkTestSupport.h"
#include "tests/web/PageTestSupport.h"

using namespace platform;
using testsupport::darkInk;
using testsupport::inkBounds;
using testsupport::isNear;

namespace {

// The old presentational attributes school pages still carry (table border, cellpadding,
// bgcolor, font, center, hr, body and img attributes) drawn as a phone's browser draws them, and
// below every rule of the page's own style. Read from where the page's elements stand and from
// the pixels of the page as the web view draws it.
class PresentationalAttributesTest : public pagetest::PageEngineTest {
protected:
    void show(const std::string& html) {
        open(serve("/pages/attributes.html", html));
        shot = renderToImage(*web());
    }

    // Where the element with the id stands, in the web view (and the picture's) pixels.
    Rect frame(const std::string& id) {
        const Rect found = frameOf("#" + id + " ");
        EXPECT_FALSE(found.isEmpty()) << id << "\n" << driver.outline();
        return found;
    }

    std::uint32_t at(double x, double y) const { return shot.pixelAt(int(x), int(y)); }
    bool isWhite(double x, double y) const { return isNear(at(x, y), 0xffffff); }
    static int brightness(std::uint32_t argb) {
        return int(((argb >> 16) & 0xff) + ((argb >> 8) & 0xff) + (argb & 0xff)) / 3;
    }

    // Every pixel within `area` that is not the page's white.
    Rect paintIn(const Rect& area) const {
        return inkBounds(shot, area, [](std::uint32_t argb) { return !isNear(argb, 0xffffff); });
    }
    Rect colorIn(const Rect& area, std::uint32_t rgb) const {
        return inkBounds(shot, area, [rgb](std::uint32_t argb) { return isNear(argb, rgb); });
    }
    // The columns from x0 up to x1 painted at height y, and the rows from y0 up to y1 at x.
    std::vector<int> paintedColumns(double y, double x0, double x1) const {
        std::vector<int> painted;
        for (int x = int(x0); x < int(x1); ++x) {
            if (!isWhite(x, y)) {
                painted.push_back(x);
            }
        }
        return painted;
    }
    std::vector<int> paintedRows(double x, double y0, double y1) const {
        std::vector<int> painted;
        for (int y = int(y0); y < int(y1); ++y) {
            if (!isWhite(x, y)) {
                painted.push_back(y);
            }
        }
        return painted;
    }

    Image shot;
};

// --- Tables -----------------------------------------------------------------------------------

// A cell's text stands within its padding (1 pixel unless cellpadding says), its rule, the table's
// spacing (2 unless cellspacing says) and the table's edge, from the body's 8 pixels on: a table
// with border="1" puts its edge at 8 and its first cell's rule at 11, as a browser does.
TEST_F(PresentationalAttributesTest, ATableBorderDrawsItsEdgeAndARuleAroundEveryCell) {
    show(
        "<table border=\"1\"><tr><td id=\"a\">节次</td><td id=\"b\">星期一</td></tr>"
        "<tr><td id=\"c\">一二节</td><td id=\"d\">高等数学</td></tr></table>"
        "<table border=\"0\"><tr><td id=\"e\">三四节</td><td id=\"f\">大学英语</td></tr>"
        "</table>"
        "<table border><tr><td id=\"g\">五六节</td></tr></table>"
        "<table border=\"3\"><tr><td id=\"h\">七八节</td></tr></table>");
    const Rect a = frame("a");
    const Rect b = frame("b");
    const Rect c = frame("c");
    const Rect d = frame("d");
    // Left of the first column and above the first row: the table's edge, then the cell's rule.
    EXPECT_EQ(paintedColumns(a.midY(), 0, a.minX()), (std::vector<int>{8, 11}));
    EXPECT_EQ(paintedRows(a.midX(), 0, a.minY()), (std::vector<int>{8, 11}));
    // Between two cells: the first one's rule, the spacing, the second one's.
    EXPECT_EQ(paintedColumns(a.midY(), a.maxX(), b.minX()),
              (std::vector<int>{int(a.maxX()) + 1, int(a.maxX()) + 4}));
    EXPECT_EQ(paintedRows(c.midX(), a.maxY(), c.minY()),
              (std::vector<int>{int(a.maxY()) + 1, int(a.maxY()) + 4}));
    // Right of the last column: the cell's rule, then the table's edge.
    const std::vector<int> right = paintedColumns(d.midY(), d.maxX(), 375);
    EXPECT_EQ(right, (std::vector<int>{int(d.maxX()) + 1, int(d.maxX()) + 4}));
    // The table's edge is raised (lit on its top and left, shaded on its bottom and right), each
    // cell's rule sunk (shaded on its top and left).
    ASSERT_EQ(right.size(), 2u);
    EXPECT_GT(brightness(at(8, a.midY())), brightness(at(right[1], d.midY())) + 40);
    EXPECT_LT(brightness(at(11, a.midY())), brightness(at(right[0], d.midY())) - 40);
    EXPECT_LT(brightness(at(a.midX(), 11)), brightness(at(right[0], d.midY())) - 40);

    // border="0": neither edge nor rules.
    EXPECT_TRUE(paintedColumns(frame("e").midY(), 0, frame("e").minX()).empty());
    EXPECT_TRUE(paintedColumns(frame("e").midY(), frame("e").maxX(), frame("f").minX()).empty());
    // A border without a number is one pixel wide; one of 3 is three, its cells' rules one.
    EXPECT_EQ(paintedColumns(frame("g").midY(), 0, frame("g").minX()), (std::vector<int>{8, 11}));
    EXPECT_EQ(paintedColumns(frame("h").midY(), 0, frame("h").minX()),
              (std::vector<int>{8, 9, 10, 13}));
}

TEST_F(PresentationalAttributesTest, CellpaddingMovesTheTextInAndCellspacingSetsTheCellsApart) {
    show(
        "<table cellpadding=\"10\" cellspacing=\"8\"><tr><td id=\"a\">甲</td>"
        "<td id=\"b\">乙</td></tr><tr><td id=\"c\">丙</td><td>丁</td></tr></table>"
        "<table cellpadding=\"0\" cellspacing=\"0\"><tr><td id=\"d\">甲</td><td id=\"e\">乙</td>"
        "</tr></table>");
    const Rect a = frame("a");
    // The body's 8, the spacing's 8, the padding's 10.
    EXPECT_NEAR(a.minX(), 26, 0.5);
    EXPECT_NEAR(a.minY(), 26, 0.5);
    // Between two cells' texts: a padding, the spacing, a padding.
    EXPECT_NEAR(frame("b").minX() - a.maxX(), 28, 0.5);
    EXPECT_NEAR(frame("c").minY() - a.maxY(), 28, 0.5);
    // None of either: the texts touch the body's edge and each other.
    EXPECT_NEAR(frame("d").minX(), 8, 0.5);
    EXPECT_NEAR(frame("e").minX() - frame("d").maxX(), 0, 0.5);
}

TEST_F(PresentationalAttributesTest, WidthsAndHeightsArePixelsOrShares) {
    // Each table in a colour of its own, to be found by it.
    show(
        "<table width=\"300\" height=\"120\" bgcolor=\"#ffff00\"><tr><td id=\"a\" width=\"200\" "
        "height=\"50\" bgcolor=\"#ff0000\">甲</td><td>乙</td></tr></table>"
        "<table width=\"50%\" bgcolor=\"#00ffff\"><tr><td>一半</td></tr></table>"
        "<table width=\"0\" bgcolor=\"#ff00ff\"><tr><td>零宽</td></tr></table>"
        "<table width=\"wide\" bgcolor=\"#00ff00\"><tr><td>字宽</td></tr></table>");
    const Rect page{{0, 0}, {375, 600}};
    const Rect sized = colorIn(page, 0xffff00);
    EXPECT_NEAR(sized.width(), 300, 0.5);
    EXPECT_NEAR(sized.height(), 120, 0.5);
    // The cell: its width and its padding; as tall as its row, which takes the table's height.
    const Rect cell = colorIn(page, 0xff0000);
    EXPECT_GE(cell.width(), 200);
    EXPECT_LE(cell.width(), 202);
    EXPECT_NEAR(cell.height(), 120 - 4, 1);
    // A share of the page's width within the body's margins.
    EXPECT_NEAR(colorIn(page, 0x00ffff).width(), (375 - 16) / 2.0, 1);
    // A width of 0 or of no number is no width: the table fits its text.
    const Rect zero = colorIn(page, 0xff00ff);
    EXPECT_GT(zero.width(), 20);
    EXPECT_LT(zero.width(), 80);
    EXPECT_NEAR(colorIn(page, 0x00ff00).width(), zero.width(), 1);
}

TEST_F(PresentationalAttributesTest, BgcolorPaintsTheTableTheRowAndTheCellInLegacyColours) {
    show(
        "<table bgcolor=\"#ffff00\" cellspacing=\"10\">"
        "<tr bgcolor=\"green\"><td id=\"a\" bgcolor=\"crimsonish\" width=\"80\" "
        "height=\"40\">甲</td><td id=\"b\" width=\"80\" height=\"40\">乙</td>"
        "<td id=\"c\" bgcolor=\"#00f\" width=\"80\" height=\"40\">丙</td>"
        "<td id=\"d\" bgcolor=\" #ff000 \" width=\"80\" height=\"40\">丁</td></tr></table>"
        "<table><tr><td id=\"e\" bgcolor=\"transparent\" width=\"80\" height=\"40\">戊</td>"
        "<td id=\"f\" bgcolor=\"0ff000000ff0\" width=\"80\" height=\"40\">己</td></tr></table>");
    // The table's colour shows in its spacing, the row's in its cell without a colour of its
    // own, each cell's own beside its text. As a browser reads them, "crimsonish" is #c00000 and
    // "#ff000" (a digit short) #ff0000, "0ff000000ff0" (zeros leading each third) #ff00ff;
    // "transparent" is no colour.
    const Rect a = frame("a");
    EXPECT_TRUE(isNear(at(a.minX() - 6, a.midY()), 0xffff00));
    EXPECT_TRUE(isNear(at(a.minX() + 70, a.midY()), 0xc00000));
    EXPECT_TRUE(isNear(at(frame("b").minX() + 70, frame("b").midY()), 0x008000));
    EXPECT_TRUE(isNear(at(frame("c").minX() + 70, frame("c").midY()), 0x0000ff));
    EXPECT_TRUE(isNear(at(frame("d").minX() + 70, frame("d").midY()), 0xff0000));
    EXPECT_TRUE(isNear(at(frame("f").minX() + 70, frame("f").midY()), 0xff00ff));
    EXPECT_TRUE(isWhite(frame("e").minX() + 70, frame("e").midY()));
}

TEST_F(PresentationalAttributesTest, AlignAndValignPlaceTablesAndTheTextOfCells) {
    show(
        "<table width=\"300\" cellpadding=\"0\"><tr>"
        "<td id=\"low\" align=\"right\" valign=\"bottom\" height=\"80\">右下</td></tr>"
        "<tr align=\"center\" valign=\"top\"><td id=\"high\" height=\"80\">中上</td></tr></table>"
        "<table align=\"center\" width=\"100\" bgcolor=\"#ff0000\"><tr><td>居中</td></tr></table>"
        "<center><table width=\"100\" bgcolor=\"#00ff00\"><tr><td>居中</td></tr></table>"
        "<span id=\"words\">居中的字</span></center>"
        "<div align=\"right\"><table width=\"100\" bgcolor=\"#0000ff\"><tr><td>靠右</td></tr>"
        "</table></div>"
        "<table align=\"right\" width=\"100\" bgcolor=\"#ffff00\"><tr><td>右浮</td></tr></table>"
        "<p id=\"beside\">表旁</p>");
    // The first cell spans the table less its spacing: 10 to 306, 10 to 90 down; its text
    // stands in its bottom right corner, the next row's at the top of its middle.
    const Rect low = frame("low");
    EXPECT_NEAR(low.maxX(), 306, 0.5);
    EXPECT_NEAR(low.maxY(), 90, 0.5);
    const Rect lowInk = darkInk(shot, low);
    EXPECT_NEAR(lowInk.maxX(), 306, 2);
    EXPECT_GT(lowInk.minY(), 60);
    EXPECT_GT(lowInk.maxY(), 80);
    const Rect highInk = darkInk(shot, frame("high"));
    EXPECT_NEAR(highInk.midX(), (10 + 306) / 2.0, 2);
    EXPECT_LT(highInk.minY(), 92 + 8);

    const Rect page{{0, 0}, {375, 600}};
    const double middle = 375 / 2.0;
    EXPECT_NEAR(colorIn(page, 0xff0000).midX(), middle, 1);
    EXPECT_NEAR(colorIn(page, 0x00ff00).midX(), middle, 1);
    EXPECT_NEAR(darkInk(shot, frame("words")).midX(), middle, 2);
    EXPECT_NEAR(colorIn(page, 0x0000ff).maxX(), 375 - 8, 1);
    // A right-aligned table floats: the next paragraph stands beside it.
    const Rect floated = colorIn(page, 0xffff00);
    EXPECT_NEAR(floated.maxX(), 375 - 8, 1);
    EXPECT_LT(frame("beside").minY(), floated.maxY());
    const Rect beside = frame("beside");
    EXPECT_FALSE(
        darkInk(shot, Rect{beside.origin, {floated.minX() - beside.minX(), beside.height()}})
            .isEmpty());
}

TEST_F(PresentationalAttributesTest, NowrapKeepsACellsTextOnOneLineUnlessTheCellHasAPixelWidth) {
    const std::string text = "一二三四五六七八九十一二三四五六七八九十";
    show("<table width=\"120\"><tr><td nowrap id=\"kept\">" + text +
         "</td></tr></table>"
         "<table width=\"120\"><tr><td id=\"wrapped\">" +
         text +
         "</td></tr></table>"
         "<table width=\"120\"><tr><td nowrap width=\"100\" id=\"sized\">" +
         text +
         "</td></tr></table>"
         "<table width=\"120\"><tr><td nowrap width=\"50%\" id=\"share\">" +
         text + "</td></tr></table>");
    const double line = frame("kept").height();
    EXPECT_LT(line, 30);
    EXPECT_GT(frame("kept").width(), 200);
    EXPECT_GT(frame("wrapped").height(), 2 * line);
    EXPECT_GT(frame("sized").height(), 2 * line);
    EXPECT_NEAR(frame("share").height(), line, 0.5);
}

// --- Text -------------------------------------------------------------------------------------

TEST_F(PresentationalAttributesTest, FontColoursSizesAndFacesItsText) {
    show(
        "<p><font color=\"red\" id=\"red\">红色的字</font></p>"
        "<p><font color=\"#0000ff\" id=\"blue\">蓝色的字</font></p>"
        "<p><font size=\"1\" id=\"s1\">字</font><font size=\"7\" id=\"s7\">字</font>"
        "<font size=\"4\" id=\"s4\">字</font><font size=\"+1\" id=\"up\">字</font>"
        "<font size=\"-5\" id=\"down\">字</font><font size=\"+9\" id=\"top\">字</font></p>"
        "<p><font face=\"monospace\" id=\"narrow\">iiii</font></p>"
        "<p><font face=\"monospace\" id=\"wide\">WWWW</font></p>");
    const Rect red = frame("red");
    EXPECT_FALSE(colorIn(red, 0xff0000).isEmpty());
    EXPECT_TRUE(colorIn(red, 0x000000).isEmpty());
    EXPECT_FALSE(colorIn(frame("blue"), 0x0000ff).isEmpty());
    // Sizes 1 to 7 are a browser's 10 to 48 pixels; +n and -n step from 3, within 1 to 7.
    const double small = darkInk(shot, frame("s1")).height();
    const double large = darkInk(shot, frame("s7")).height();
    EXPECT_NEAR(large / small, 48.0 / 10.0, 0.8);
    EXPECT_NEAR(frame("up").width(), frame("s4").width(), 0.5);
    EXPECT_NEAR(frame("down").width(), frame("s1").width(), 0.5);
    EXPECT_NEAR(frame("top").width(), frame("s7").width(), 0.5);
    // A fixed-width face: every letter as wide as another.
    EXPECT_NEAR(frame("narrow").width(), frame("wide").width(), 1);
}

TEST_F(PresentationalAttributesTest, ARuleTakesItsSizeWidthAndColour) {
    show(
        "<p id=\"p1\">一</p><hr noshade size=\"4\"><p id=\"p2\">二</p>"
        "<hr size=\"10\"><p id=\"p3\">三</p>"
        "<hr color=\"red\" size=\"6\" width=\"100\"><p id=\"p4\">四</p>");
    auto between = [&](const char* above, const char* below) {
        return Rect{{0, frame(above).maxY()}, {375, frame(below).minY() - frame(above).maxY()}};
    };
    // Unshaded: a solid bar as tall as its size, one colour through.
    const Rect bar = paintIn(between("p1", "p2"));
    EXPECT_NEAR(bar.height(), 4, 0.5);
    EXPECT_NEAR(bar.width(), 375 - 16, 1);
    for (int row = 1; row < 4; ++row) {
        EXPECT_EQ(at(bar.midX(), bar.minY() + row), at(bar.midX(), bar.minY())) << row;
    }
    // Shaded: a groove as tall as its size, its inside the page's.
    const Rect groove = paintIn(between("p2", "p3"));
    EXPECT_NEAR(groove.height(), 10, 0.5);
    EXPECT_TRUE(isWhite(groove.midX(), groove.midY()));
    // A colour gives its border and its inside; a width its length, centred.
    const Rect redBar = paintIn(between("p3", "p4"));
    EXPECT_NEAR(redBar.height(), 6, 0.5);
    // Its width is its inside's; its border, half its size, stands round it.
    EXPECT_NEAR(redBar.width(), 100 + 6, 0.5);
    EXPECT_NEAR(redBar.midX(), 375 / 2.0, 1);
    EXPECT_EQ(colorIn(redBar, 0xff0000).height(), redBar.height());
}

TEST_F(PresentationalAttributesTest, TheBodyColoursThePageItsTextAndItsLinks) {
    show(
        "<body bgcolor=\"#ccddee\" text=\"#008000\" link=\"#ff00ff\">"
        "<p id=\"words\">正文的字</p><p><a href=\"/pages/next.html\" id=\"link\">下一页</a></p>"
        "</body>");
    EXPECT_TRUE(isNear(at(2, 2), 0xccddee));
    EXPECT_TRUE(isNear(at(frame("words").maxX() - 2, frame("words").midY()), 0xccddee));
    EXPECT_FALSE(colorIn(frame("words"), 0x008000).isEmpty());
    const Rect link = frameOf("link \"下一页\"");
    ASSERT_FALSE(link.isEmpty()) << driver.outline();
    EXPECT_FALSE(colorIn(link, 0xff00ff).isEmpty());
    EXPECT_TRUE(colorIn(link, 0x008000).isEmpty());
    // The page's colour fills the screen below its text, as a browser's canvas.
    EXPECT_TRUE(isNear(at(370, 2000), 0xccddee));
}

TEST_F(PresentationalAttributesTest, APicturesAlignSpaceAndBorderPlaceAndFrameIt) {
    show(
        "<p><img id=\"pic\" align=\"left\" width=\"40\" height=\"30\" hspace=\"10\" vspace=\"5\" "
        "border=\"3\"><span id=\"beside\">图旁文字</span></p>"
        "<p style=\"clear:both\"><span id=\"before\">字</span><img id=\"middle\" align=\"middle\" "
        "width=\"10\" height=\"60\"><span id=\"after\">字</span></p>"
        "<p><span id=\"before2\">字</span><img id=\"top\" align=\"top\" width=\"10\" "
        "height=\"60\"></p>");
    // Floated left at the paragraph's top (16 down), within its space and its 3-pixel border.
    const Rect pic = frame("pic");
    EXPECT_NEAR(pic.minX(), 8 + 10 + 3, 0.5);
    EXPECT_NEAR(pic.minY(), 16 + 5 + 3, 0.5);
    EXPECT_NEAR(pic.width(), 40, 0.5);
    EXPECT_NEAR(pic.height(), 30, 0.5);
    EXPECT_EQ(paintedColumns(pic.midY(), 0, pic.minX()), (std::vector<int>{18, 19, 20}));
    EXPECT_EQ(paintedRows(pic.midX(), 0, pic.minY()), (std::vector<int>{21, 22, 23}));
    // The text runs beside it, past its border and its space, its first line
    const Rect beside = frame("beside");
    EXPECT_NEAR(beside.minX(), pic.maxX() + 3 + 10, 0.5);
    // at the picture's top, not on a line as tall as the picture.
    EXPECT_LT(beside.minY(), pic.minY() + 5);
    // Middle: the picture's middle stands level with the line's text.
    EXPECT_NEAR(frame("middle").midY(), darkInk(shot, frame("after")).midY(), 5);
    // Top: the picture's top with the line's top.
    EXPECT_NEAR(frame("top").minY(), frame("before2").minY(), 2);
}

// --- The page's own style -------------------------------------------------------------------

TEST_F(PresentationalAttributesTest, ThePagesOwnStyleWinsOverEveryAttribute) {
    show(
        "<style>td.own { background: #0000ff; padding: 0 } .bare td { border: none }"
        " font.own { color: #008000 } table.narrow { width: 150px } * { font-size: 16px }"
        " body { background-color: #ffffff }</style>"
        "<body bgcolor=\"#ff0000\">"
        "<table cellpadding=\"10\" cellspacing=\"0\"><tr><td id=\"a\" class=\"own\" "
        "bgcolor=\"red\" width=\"80\" height=\"40\">甲</td>"
        "<td id=\"b\" bgcolor=\"red\" style=\"background-color: #0000ff\" width=\"80\" "
        "height=\"40\">乙</td></tr></table>"
        "<table border=\"2\" class=\"bare\"><tr><td id=\"c\">丙</td></tr></table>"
        "<p><font color=\"red\" class=\"own\" id=\"green\">绿</font></p>"
        "<table width=\"300\" class=\"narrow\" bgcolor=\"#ffff00\"><tr><td>窄</td></tr></table>"
        "<p><font size=\"7\" id=\"big\">大</font><span id=\"plain\">大</span></p></body>");
    // A rule of the page's style sheet, and its style attribute, over bgcolor.
    EXPECT_TRUE(isNear(at(frame("a").maxX() - 3, frame("a").maxY() - 3), 0x0000ff));
    EXPECT_TRUE(isNear(at(frame("b").maxX() - 3, frame("b").maxY() - 3), 0x0000ff));
    // The page's padding of 0 over cellpadding: the text at the body's edge.
    EXPECT_NEAR(frame("a").minX(), 8, 0.5);
    // The table's edge stays; its cells' rules are the page's: none.
    EXPECT_EQ(paintedColumns(frame("c").midY(), 0, frame("c").minX()), (std::vector<int>{8, 9}));
    EXPECT_FALSE(colorIn(frame("green"), 0x008000).isEmpty());
    EXPECT_TRUE(colorIn(frame("green"), 0xff0000).isEmpty());
    EXPECT_NEAR(colorIn(Rect{{0, 0}, {375, 600}}, 0xffff00).width(), 150, 0.5);
    EXPECT_NEAR(frame("big").height(), frame("plain").height(), 0.5);
    EXPECT_TRUE(isWhite(370, 2000));
}

}  // namespace
