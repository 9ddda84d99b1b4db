#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/graphics/Image.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/ScrollView.h"
#include "tests/support/InkTestSupport.h"
#include "tests/web/PageTestSupport.h"

using namespace platform;

namespace {

// A page kept between its scripts' changes: what a change shows, where, and that the views
// over the page stay the same views.
class PageKeptTest : public pagetest::PageEngineTest {
protected:
    void show(const std::string& html) { open(serve("/pages/kept.html", html)); }

    // The right edge of the dark ink on the rows of `area`; -1 without any.
    static double inkRight(const Image& shot, const Rect& area) {
        const Rect rows{{0, area.minY()}, {double(shot.pixelWidth()), area.height()}};
        const Rect ink = testsupport::inkBounds(shot, rows, [](std::uint32_t p) {
            return ((p >> 16 & 0xff) + (p >> 8 & 0xff) + (p & 0xff)) / 3 < 110;
        });
        return ink.isEmpty() ? -1 : ink.maxX() - 1;
    }
};

constexpr const char* kPage =
    "<html><head><style>.note{color:#222;font-size:18px}</style></head><body>"
    "<h1>通知</h1>"
    "<p class=\"note\">状态：<span id=\"status\">未读</span></p>"
    "<p id=\"first\">短</p>"
    "<p id=\"second\">下面一段</p>"
    "<p>留言：<input id=\"field\" value=\"请\"></p>"
    "<p><a href=\"#\" onclick=\"document.getElementById('status').innerText = '点过'; "
    "return false\">点这里</a></p>"
    "</body></html>";

TEST_F(PageKeptTest, AScriptsTextChangeShowsInTheSameViewsWithTheNewTextDrawnThere) {
    show(kPage);
    auto status = viewOf("#status \"未读\"");
    auto second = viewOf("#second");
    ASSERT_TRUE(status) << driver.outline();
    const Rect before = frameOf("#status");
    const double inkBefore = inkRight(renderToImage(*web()), before);

    eval("document.getElementById('status').innerText = '已读，并已转发给全体教职工'");
    web()->layoutIfNeeded();
    EXPECT_EQ(viewOf("#status \"已读，并已转发给全体教职工\""), status) << driver.outline();
    EXPECT_EQ(viewOf("#second"), second);
    const Rect after = frameOf("#status");
    EXPECT_EQ(after.minY(), before.minY());
    EXPECT_GT(after.width(), before.width() * 4);
    // Drawn in the page's style for it, where the view now says.
    EXPECT_GT(inkRight(renderToImage(*web()), after), inkBefore + 100);
    EXPECT_NEAR(inkRight(renderToImage(*web()), after), after.maxX(), 3);
}

TEST_F(PageKeptTest, ABlockThatGrowsPushesWhatFollowsDown) {
    show(kPage);
    const Rect second = frameOf("#second");
    std::string longText;
    for (int i = 0; i < 6; ++i) {
        longText += "关于2024年清明节放假安排的通知现予发布。";
    }
    eval("document.getElementById('first').innerText = '" + longText + "'");
    web()->layoutIfNeeded();
    EXPECT_GT(frameOf("#first").height(), 40);
    EXPECT_GT(frameOf("#second").minY(), second.minY() + 30);
    // And back: it follows up again.
    eval("document.getElementById('first').innerText = '短'");
    web()->layoutIfNeeded();
    EXPECT_EQ(frameOf("#second"), second);
}

TEST_F(PageKeptTest, ATypedValueShowsInItsFieldAndATapAfterChangesStillRunsItsHandler) {
    show(kPage);
    const Rect field = frameOf("#field");
    ASSERT_FALSE(field.isEmpty()) << driver.outline();
    EXPECT_LT(inkRight(renderToImage(*web()), field.insetBy(2, 4)), field.minX() + 30);
    std::string typed;
    for (const char* key : {"你", "好", "，", "老", "师"}) {
        typed += key;
        eval("document.getElementById('field').value = '" + typed + "'");
        web()->layoutIfNeeded();
    }
    EXPECT_TRUE(outlineShows("#field \"你好，老师\"")) << driver.outline();
    EXPECT_GT(inkRight(renderToImage(*web()), field.insetBy(2, 4)), field.minX() + 60);

    ASSERT_TRUE(driver.tap("点这里"));
    web()->layoutIfNeeded();
    EXPECT_TRUE(outlineShows("#status \"点过\"")) << driver.outline();
}

TEST_F(PageKeptTest, NewMarkupIsShownWithItsLinksAndTheTurnedPageKeepsItsViews) {
    show(kPage);
    eval("document.getElementById('status').innerHTML = '<a href=\"/pages/next.html\">下一页</a>'");
    web()->layoutIfNeeded();
    EXPECT_TRUE(outlineShows("link \"下一页\" -> /pages/next.html")) << driver.outline();
    EXPECT_FALSE(frameOf("下一页").isEmpty());

    auto second = viewOf("#second");
    const Rect narrow = frameOf("#second");
    web()->setFrame(Rect{{0, 0}, {768, 1024}});
    web()->layoutIfNeeded();
    EXPECT_EQ(viewOf("#second"), second);
    EXPECT_GT(frameOf("#second").width(), narrow.width() + 300);
}

TEST_F(PageKeptTest, TheNextPageReplacesTheOldOnesViewsAtOnce) {
    show(kPage);
    open(serve("/pages/other.html", "<p id=\"other\">另一页</p>"));
    EXPECT_TRUE(outlineShows("#other \"另一页\"")) << driver.outline();
    EXPECT_FALSE(outlineShows("#second")) << driver.outline();
    EXPECT_EQ(web()->scrollView()->subviews().front()->subviews().size(), 1u);
}

}  // namespace
