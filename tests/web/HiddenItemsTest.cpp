#include <gtest/gtest.h>

#include <string>

#include "tests/web/PageTestSupport.h"

using namespace platform;

namespace {

// A link or a field whose element the page hides (display:none, where it stands or above it)
// has no view on the page: the outline does not list it and no tap reaches it, whether it
// was hidden from the start or a script hid it after it showed.
class HiddenItemsTest : public pagetest::PageEngineTest {
protected:
    HiddenItemsTest() { delegate->refused = "/go/"; }

    void show(const std::string& html) { open(serve("/pages/hidden.html", html)); }

    void useWidth(double width) {
        window->setFrame(Rect{{0, 0}, {width, 1024}});
        web()->setFrame(Rect{{0, 0}, {width, 1024}});
        window->layoutIfNeeded();
        web()->layoutIfNeeded();
    }

    bool asked(const std::string& path) const {
        for (const auto& url : delegate->asked) {
            if (url.find(path) != std::string::npos) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(HiddenItemsTest, ALinkOrFieldHiddenFromTheStartHasNoView) {
    for (const double width : {320.0, 375.0, 768.0}) {
        SCOPED_TRACE(width);
        useWidth(width);
        show(
            "<div style=\"display:none\"><p><a href=\"/go/hidden\">隐藏的链接</a>"
            "<input id=\"secret\" value=\"秘密\"></p></div>"
            "<p><a href=\"/go/shown\">显示的链接</a> <input id=\"name\" value=\"张三\"></p>"
            "<p><a href=\"/go/styled\" style=\"display:none\">无框的链接</a></p>");
        EXPECT_TRUE(outlineShows("link \"显示的链接\"")) << driver.outline();
        EXPECT_TRUE(outlineShows("name")) << driver.outline();
        for (const char* hidden : {"隐藏的链接", "secret", "无框的链接"}) {
            EXPECT_FALSE(outlineShows(hidden)) << hidden << "\n" << driver.outline();
            EXPECT_FALSE(driver.tap(hidden)) << hidden;
        }
        EXPECT_FALSE(asked("/go/hidden"));
        EXPECT_FALSE(asked("/go/styled"));
    }
}

TEST_F(HiddenItemsTest, ALinkOrFieldAScriptHidesLosesItsView) {
    for (const double width : {320.0, 375.0, 768.0}) {
        SCOPED_TRACE(width);
        useWidth(width);
        const std::string items =
            "<a href=\"/go/notice\">会议通知</a> <input id=\"room\" value=\"三楼\">";
        show(
            "<style>.gone { display: none }</style><p>上面一段</p>"
            "<div id=\"wrap\"><div>" +
            items + "</div></div><p><a href=\"/go/after\">其后的链接</a></p>");
        const Rect shown = frameOf("link \"会议通知\"");
        ASSERT_FALSE(shown.isEmpty()) << driver.outline();
        ASSERT_TRUE(outlineShows("room")) << driver.outline();

        eval("document.getElementById('wrap').innerHTML = '<div class=\"gone\">" + items +
             "</div>'");
        web()->layoutIfNeeded();
        EXPECT_FALSE(outlineShows("会议通知")) << driver.outline();
        EXPECT_FALSE(outlineShows("room")) << driver.outline();
        // A tap where the link stood reaches what shows there now, not the hidden link.
        window->tap(web()->convertPointTo(Point{shown.midX(), shown.midY()}, nullptr));
        EXPECT_FALSE(asked("/go/notice"));
        EXPECT_TRUE(driver.tap("其后的链接"));
        EXPECT_TRUE(asked("/go/after"));
        delegate->asked.clear();
    }
}

TEST_F(HiddenItemsTest, ALabelTheStyleHidesOnceAScriptEmptiesItLosesItsView) {
    for (const double width : {320.0, 375.0, 768.0}) {
        SCOPED_TRACE(width);
        useWidth(width);
        show(
            "<style>label:empty { display: none }</style>"
            "<p><label for=\"room\" id=\"hint\">房间号码</label></p><p><input id=\"room\"></p>");
        const Rect shown = frameOf("房间号码");
        ASSERT_FALSE(shown.isEmpty()) << driver.outline();
        eval("document.getElementById('hint').innerText = ''");
        web()->layoutIfNeeded();
        // A tap where the label stood is on nothing now: its field is not focused.
        window->tap(web()->convertPointTo(Point{shown.midX(), shown.midY()}, nullptr));
        EXPECT_FALSE(outlineShows("(editing)")) << driver.outline();
        ASSERT_TRUE(driver.tap("room"));
        EXPECT_TRUE(outlineShows("(editing)")) << driver.outline();
        web()->endEditing(true);
    }
}

}  // namespace
