#include <gtest/gtest.h>

#include <string>

#include "platform/graphics/Image.h"
#include "platform/ui/Renderer.h"
#include "tests/support/InkTestSupport.h"
#include "tests/web/PageTestSupport.h"

using namespace platform;
using testsupport::darkInk;

namespace {

// Text beside a float keeps to the room the float leaves, however it is laid out: a paragraph
// the layout breaks into lines itself, and a paragraph a script changed, laid out again in
// its place. Read from where the text's ink lands in the web view's picture, at the phones'
// and the tablet's widths.
class FloatBesideTextTest : public pagetest::PageEngineTest {
protected:
    void show(const std::string& html) { open(serve("/pages/float.html", html)); }

    void useWidth(double width) {
        web()->setFrame(Rect{{0, 0}, {width, 1024}});
        web()->layoutIfNeeded();
    }

    // A pale box floated left of what follows, 120 points wide and 160 high, at the page's
    // top left (inside the body's margin).
    static std::string floatBox() {
        return "<div id=\"box\" style=\"float:left;width:120px;height:160px;"
               "background-color:#dde8f4\"></div>";
    }
    static Rect floatArea() { return Rect{{8, 8}, {120, 160}}; }

    // Whether the picture shows text in the float's box, or past the page's right margin.
    static void expectTextBesideTheFloat(const Image& shot, double width) {
        EXPECT_TRUE(darkInk(shot, floatArea()).isEmpty()) << "text under the float";
        EXPECT_TRUE(darkInk(shot, Rect{{width - 7, 0}, {7, 1024}}).isEmpty())
            << "text past the margin";
        // And the text's lines beside the float start right of it.
        const Rect beside = darkInk(shot, Rect{{0, 8}, {width, 150}});
        EXPECT_FALSE(beside.isEmpty());
        EXPECT_GE(beside.minX(), floatArea().maxX());
    }
};

TEST_F(FloatBesideTextTest, AParagraphBesideAFloatBreaksItsLinesInTheRoomLeft) {
    std::string text;
    for (int i = 0; i < 30; ++i) {
        text += "校园网络服务的评价与建议，";
    }
    for (const double width : {320.0, 375.0, 768.0}) {
        SCOPED_TRACE(width);
        useWidth(width);
        show(floatBox() + "<p>" + text + "</p>");
        const Image shot = renderToImage(*web());
        expectTextBesideTheFloat(shot, width);
        // Past the float the lines take the whole width again.
        const Rect below = darkInk(shot, Rect{{0, floatArea().maxY() + 4}, {width, 400}});
        ASSERT_FALSE(below.isEmpty()) << driver.outline();
        EXPECT_LT(below.minX(), floatArea().minX() + 4);
    }
}

TEST_F(FloatBesideTextTest, AParagraphAScriptChangedBesideAFloatStaysInTheRoomLeft) {
    for (const double width : {320.0, 375.0, 768.0}) {
        SCOPED_TRACE(width);
        useWidth(width);
        // Its lines run beside the float and on below it.
        std::string more;
        for (int i = 0; i < 8; ++i) {
            more += "校园网络服务的评价与建议，";
        }
        show(floatBox() + "<p>状态：<span id=\"status\">未签到</span>" + more + "</p>");
        expectTextBesideTheFloat(renderToImage(*web()), width);
        // As long as it was, so that laying out its paragraph alone could seem enough.
        eval("document.getElementById('status').innerText = '已签到'");
        web()->layoutIfNeeded();
        ASSERT_TRUE(outlineShows("#status \"已签到\"")) << driver.outline();
        const Image shot = renderToImage(*web());
        expectTextBesideTheFloat(shot, width);
        EXPECT_GE(frameOf("#status ").minX(), floatArea().maxX());
    }
}

}  // namespace
