#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/ScrollView.h"
#include "platform/web/HtmlEngineBudget.h"
#include "tests/support/LayoutBombs.h"
#include "tests/web/PageTestSupport.h"

using namespace platform;

namespace {

// Pages made to crash or stall the layout engine: each is laid out and painted, shows its
// text, and what ordinary pages rely on (selectors, spans, tiled backgrounds) still holds.
class HostileLayoutTest : public pagetest::PageEngineTest {
protected:
    static constexpr std::uint32_t kTile = 0xff336699u;

    HostileLayoutTest() {
        BitmapContext tile(2, 2);
        tile.fillRect(Rect{{0, 0}, {2, 2}},
                      Color::rgba(0x33 / 255.0f, 0x66 / 255.0f, 0x99 / 255.0f, 1));
        server.setReply("GET", "/pages/tile.png", fakes::Reply{200, "image/png", tile.pngData()});
    }

    void show(const std::string& html) { open(serve("/pages/shown.html", html)); }

    void useScreen(double width, double height) {
        web()->setFrame(Rect{{0, 0}, {width, height}});
        web()->layoutIfNeeded();
    }

    static int pixelsIn(const Image& picture, const Rect& area,
                        const std::function<bool(int r, int g, int b)>& wanted) {
        int count = 0;
        for (int y = std::max(0, int(area.minY()));
             y < std::min(picture.pixelHeight(), int(std::ceil(area.maxY()))); ++y) {
            for (int x = std::max(0, int(area.minX()));
                 x < std::min(picture.pixelWidth(), int(std::ceil(area.maxX()))); ++x) {
                const std::uint32_t argb = picture.pixelAt(x, y);
                count += wanted((argb >> 16) & 0xff, (argb >> 8) & 0xff, argb & 0xff) ? 1 : 0;
            }
        }
        return count;
    }
    static bool dark(int r, int g, int b) { return (r + g + b) / 3 < 160; }
    static bool red(int r, int g, int b) { return r > 150 && g < 90 && b < 90; }
    static bool blue(int r, int g, int b) { return b > 150 && r < 90 && g < 90; }
    static bool isTile(std::uint32_t argb) {
        auto near = [&](int shift) {
            return std::abs(int((argb >> shift) & 0xff) - int((kTile >> shift) & 0xff)) < 8;
        };
        return near(16) && near(8) && near(0);
    }
};

TEST_F(HostileLayoutTest, EveryPageMadeToStallTheLayoutIsLaidOutAndShowsItsText) {
    for (const Size screen : {Size{375, 667}, Size{768, 1024}}) {
        useScreen(screen.width, screen.height);
        for (const auto& bomb : testsupport::layoutBombs("tile.png")) {
            SCOPED_TRACE(bomb.name + " at " + std::to_string(int(screen.width)));
            show(bomb.html);
            const Rect shown = frameOf("shown\"");
            ASSERT_FALSE(shown.isEmpty()) << driver.outline();
            if (shown.maxY() < screen.height) {
                EXPECT_GT(pixelsIn(renderToImage(*web()), shown, dark), 0);
            }
        }
    }
}

TEST_F(HostileLayoutTest, APageThatOutrunsTheLayoutEnginesBudgetShowsItsTextPlain) {
    // The engine's CPU time moves a hundredth of a second at every reading: a rule of 2,000
    // selectors over 500 elements is a million selector tests, some 500 readings.
    struct Stepping : Clock {
        TimePoint now() const override { return at += std::chrono::milliseconds(10); }
        mutable TimePoint at;
    };
    struct SteppedEngineTime {
        SteppedEngineTime() { HtmlEngineBudget::setClock(std::make_shared<Stepping>()); }
        ~SteppedEngineTime() { HtmlEngineBudget::setClock(nullptr); }
    } stepped;
    std::string selectors;
    for (int i = 0; i < 2000; ++i) {
        selectors += (i ? ",b.k" : "b.k") + std::to_string(i);
    }
    std::string html = "<style>" + selectors + "{color:#dc0000}</style><p>shown</p><p>";
    for (int i = 0; i < 500; ++i) {
        html += "<b>w</b> ";
    }
    show(html + "</p>");
    EXPECT_TRUE(logged("shown as plain text")) << logText();
    const Rect shown = frameOf("shown\"");
    ASSERT_FALSE(shown.isEmpty()) << driver.outline();
    EXPECT_GT(pixelsIn(renderToImage(*web()), shown, dark), 0);
}

TEST_F(HostileLayoutTest, SelectorsOfManyStepsStillMatchWhereTheyShould) {
    std::string html =
        "<style>section div div div div div div div div div div div div span {color:#dc0000}"
        "i ~ b ~ b ~ b ~ b ~ b ~ b ~ b ~ b ~ b ~ b ~ b ~ b {color:#dc0000}"
        "section > div > span {color:#0000dc}</style>"
        "<section>" +
        testsupport::nested("<div>", "</div>", 30, "<span id=\"deep\">deep text</span>") +
        "</section><section><div><span id=\"near\">near text</span></div></section><p><i>i</i>";
    for (int n = 0; n < 40; ++n) {
        html += "<b>b</b>";
    }
    html += "<b id=\"last\">last</b></p><p><b id=\"alone\">alone</b></p>";
    show(html);
    const Image shot = renderToImage(*web());
    // Twelve descendant steps over 30 levels: the deepest span is red, and only one level
    // below its section a span is blue, as the child steps say.
    EXPECT_GT(pixelsIn(shot, frameOf("#deep"), red), 0) << driver.outline();
    EXPECT_EQ(pixelsIn(shot, frameOf("#deep"), blue), 0);
    EXPECT_GT(pixelsIn(shot, frameOf("#near"), blue), 0);
    EXPECT_EQ(pixelsIn(shot, frameOf("#near"), red), 0);
    // Twelve sibling steps: a b after an i and eleven b's is red, one after none is not.
    EXPECT_GT(pixelsIn(shot, frameOf("#last"), red), 0);
    EXPECT_EQ(pixelsIn(shot, frameOf("#alone"), red), 0);
    EXPECT_GT(pixelsIn(shot, frameOf("#alone"), dark), 0);
}

TEST_F(HostileLayoutTest, SpansAreClampedAsBrowsersDoAndOrdinarySpansStillSpan) {
    show(
        "<table><tr><td id=\"wide\" colspan=\"2147483647\">wide</td></tr>"
        "<tr><td id=\"a\">aaaa</td><td id=\"b\">bbbb</td><td id=\"c\">cccc</td></tr>"
        "<tr><td id=\"two\" colspan=\" +2\">two</td><td>x</td></tr>"
        "<tr><td id=\"one\" colspan=\"many\">one</td><td>y</td><td>z</td></tr></table>");
    const Rect a = frameOf("#a");
    const Rect b = frameOf("#b");
    const Rect c = frameOf("#c");
    ASSERT_FALSE(a.isEmpty()) << driver.outline();
    EXPECT_LT(a.maxX(), b.minX());
    EXPECT_LT(b.maxX(), c.minX());
    // The huge span covers the table's three columns (and the empty ones it makes).
    const Rect wide = frameOf("#wide");
    EXPECT_LE(wide.minX(), a.minX() + 1);
    EXPECT_GE(wide.maxX(), c.maxX() - 1);
    // " +2" spans two columns; what is not a number spans one.
    const Rect two = frameOf("#two");
    EXPECT_GE(two.maxX(), b.maxX() - 1);
    EXPECT_LT(two.maxX(), c.minX());
    const Rect one = frameOf("#one");
    EXPECT_LT(one.maxX(), b.minX());
}

TEST_F(HostileLayoutTest, ABackgroundPictureIsTiledOverWhatIsDrawnWhereverThatIs) {
    useScreen(375, 667);
    show(
        "<body style=\"margin:0\">"
        "<div style=\"height:100px;background-image:url(tile.png);background-repeat:repeat-x\">"
        "</div><div style=\"width:10000px;height:100000px;background-image:url(tile.png)\">"
        "</div></body>");
    Image shot = renderToImage(*web());
    // The band repeats across only: its first two rows are the picture, the rest is not.
    EXPECT_TRUE(isTile(shot.pixelAt(5, 0)));
    EXPECT_TRUE(isTile(shot.pixelAt(370, 1)));
    EXPECT_FALSE(isTile(shot.pixelAt(5, 50)));
    // The huge box is covered wherever the screen shows it, far down it too.
    EXPECT_TRUE(isTile(shot.pixelAt(3, 101)));
    EXPECT_TRUE(isTile(shot.pixelAt(371, 660)));
    web()->scrollView()->setContentOffset(Point{0, 50'000});
    shot = renderToImage(*web());
    EXPECT_TRUE(isTile(shot.pixelAt(10, 10)));
    EXPECT_TRUE(isTile(shot.pixelAt(300, 600)));
}

}  // namespace
