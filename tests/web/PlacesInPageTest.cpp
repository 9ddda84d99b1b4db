// Links to places within a page, as a browser follows them: the page scrolls, nothing is
// fetched, the page stays the same page, and back goes to where the user was.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/foundation/RunLoop.h"
#include "tests/web/PageTestSupport.h"

using namespace platform;

namespace {

// A notice of four sections, each 3,000 points high under a 100-point table of contents, on a
// screen 2,400 high: section 1's make-up exams at 1,600, section 2 at 3,100, section 3 at 6,100,
// section 4 at 9,100; the page can scroll to 9,700 at most.
constexpr const char* kNotice =
    "<html><head><title>期末考试安排</title><style>body{margin:0} p{margin:0}"
    " .sec{height:3000px}</style></head><body>"
    "<p style=\"height:100px\"><a href=\"#sec2\">到第二节</a> <a href=\"#part3\">到第三节</a>"
    " <a href=\"#%E7%AC%AC%E5%9B%9B%E8%8A%82\">到第四节</a></p>"
    "<div class=\"sec\" id=\"sec1\"><p style=\"height:1500px\">第一节 考试时间</p>"
    "<a name=\"makeup\"></a><p>补考</p></div>"
    "<div class=\"sec\" id=\"sec2\"><p style=\"height:1000px\">第二节 考场</p>"
    "<a href=\"#top\">返回顶部</a> <a href=\"#\">回到开头</a> <a href=\"#nowhere\">到无处</a></div>"
    "<div class=\"sec\"><a name=\"part3\">第三节 注意事项</a></div>"
    "<div class=\"sec\" id=\"第四节\">第四节 联系人</div>"
    "<script>var state = 'kept';</script></body></html>";

class CountingDelegate : public pagetest::RecordingDelegate {
public:
    void webViewDidStartLoad(WebView&) override { ++starts; }
    void webViewDidFinishLoad(WebView&) override { ++finishes; }
    int starts = 0;
    int finishes = 0;
};

class PlacesInPageTest : public pagetest::PageEngineTest {
protected:
    PlacesInPageTest() { web()->setDelegate(counting); }

    double shownFrom() { return web()->scrollView()->contentOffset().y; }
    void scrollTo(double y) { web()->scrollView()->setContentOffset(Point{0, y}); }
    // What a script asked for goes on a later turn.
    void letScriptsNavigate() { RunLoop::main().runPending(); }
    std::size_t fetched(const std::string& path) { return server.requestsTo(path).size(); }

    std::shared_ptr<CountingDelegate> counting = std::make_shared<CountingDelegate>();
};

TEST_F(PlacesInPageTest, ALinkToAnIdBringsItToTheTopOfTheSamePageAndBackReturnsWhereTheUserWas) {
    const std::string notice = serve("/notice/exam.html", kNotice);
    open(notice);
    const std::uint64_t page = web()->pageIdentity();
    const auto chain = web()->pageSourceChain();
    const int started = counting->starts;
    const int finished = counting->finishes;
    ASSERT_EQ(shownFrom(), 0);

    ASSERT_TRUE(driver.tap("到第二节"));
    EXPECT_EQ(shownFrom(), 3100);
    // Asked as any link is, with the page's own address and the fragment...
    EXPECT_EQ(counting->asked.back(), notice + "#sec2");
    EXPECT_EQ(counting->types.back(), WebViewNavigationType::LinkClicked);
    // ...but not loaded: nothing fetched, no load heard of, the same page and its scripts.
    ASSERT_TRUE(settle());
    EXPECT_EQ(fetched("/notice/exam.html"), 1u);
    EXPECT_EQ(counting->starts, started);
    EXPECT_EQ(counting->finishes, finished);
    EXPECT_EQ(web()->pageIdentity(), page);
    EXPECT_EQ(web()->pageSourceChain(), chain);
    EXPECT_EQ(eval("state"), "kept");
    EXPECT_EQ(web()->pageURL(), notice + "#sec2");
    EXPECT_EQ(eval("location.hash + ' ' + location.href"), "#sec2 " + notice + "#sec2");

    // The user reads on, and goes back to the top by the section's link.
    scrollTo(3500);
    ASSERT_TRUE(driver.tap("返回顶部"));
    EXPECT_EQ(shownFrom(), 0);

    // Back goes to each place the user left, then forward again; still the same page.
    ASSERT_TRUE(web()->canGoBack());
    web()->goBack();
    EXPECT_EQ(shownFrom(), 3500);
    EXPECT_EQ(web()->pageURL(), notice + "#sec2");
    web()->goBack();
    EXPECT_EQ(shownFrom(), 0);
    EXPECT_EQ(web()->pageURL(), notice);
    EXPECT_EQ(eval("location.hash"), "");
    EXPECT_FALSE(web()->canGoBack());
    // Forward, too, finds each place as the user left it.
    web()->goForward();
    EXPECT_EQ(shownFrom(), 3500);
    web()->goForward();
    EXPECT_EQ(shownFrom(), 0);
    ASSERT_TRUE(settle());
    EXPECT_EQ(fetched("/notice/exam.html"), 1u);
    EXPECT_EQ(counting->starts, started);
    EXPECT_EQ(counting->finishes, finished);
    EXPECT_EQ(web()->pageIdentity(), page);
    EXPECT_EQ(eval("state"), "kept");
}

TEST_F(PlacesInPageTest, NamedAnchorsScriptsAndTheTopAreFoundAsABrowserFindsThem) {
    const std::string notice = serve("/notice/exam.html", kNotice);
    open(notice);

    // An <a name>, and an id written as the address escapes it.
    ASSERT_TRUE(driver.tap("到第三节"));
    EXPECT_NEAR(shownFrom(), 6100, 2);
    scrollTo(0);
    ASSERT_TRUE(driver.tap("到第四节"));
    EXPECT_EQ(shownFrom(), 9100);
    // An empty <a name> stands where its line does.
    eval("location.hash = 'makeup'");
    letScriptsNavigate();
    EXPECT_NEAR(shownFrom(), 1600, 2);

    // A script setting the hash, or the address with a fragment.
    eval("location.hash = 'sec2'");
    letScriptsNavigate();
    EXPECT_EQ(shownFrom(), 3100);
    EXPECT_EQ(web()->pageURL(), notice + "#sec2");
    scrollTo(0);
    eval("location.href = location.href.split('#')[0] + '#part3'");
    letScriptsNavigate();
    EXPECT_NEAR(shownFrom(), 6100, 2);

    // "#top" names nothing here, and is the top; so is "#".
    scrollTo(3500);
    ASSERT_TRUE(driver.tap("回到开头"));
    EXPECT_EQ(shownFrom(), 0);

    // A fragment that names nothing leaves the page where it stands.
    scrollTo(3500);
    ASSERT_TRUE(driver.tap("到无处"));
    EXPECT_EQ(shownFrom(), 3500);
    eval("location.hash = 'nothing'");
    letScriptsNavigate();
    EXPECT_EQ(shownFrom(), 3500);
    EXPECT_EQ(web()->pageURL(), notice + "#nothing");
    ASSERT_TRUE(settle());
    EXPECT_EQ(fetched("/notice/exam.html"), 1u);
    EXPECT_EQ(eval("state"), "kept");

    // Where something is named "top", "#top" goes there.
    const std::string other = serve("/notice/other.html",
                                    "<title>其他</title><style>body{margin:0} p{margin:0}</style>"
                                    "<p style=\"height:500px\"><a href=\"#top\">返回顶部</a></p>"
                                    "<div id=\"top\" style=\"height:5000px\">顶部</div>");
    open(other);
    ASSERT_TRUE(driver.tap("返回顶部"));
    EXPECT_EQ(shownFrom(), 500);
}

TEST_F(PlacesInPageTest, APageOpenedAtAPlaceShowsItThereAndANewPageAtItsTop) {
    const std::string notice = serve("/notice/exam.html", kNotice);
    const std::string index =
        serve("/notice/index.html",
              "<title>通知目录</title><style>body{margin:0} p{margin:0}</style>"
              "<p style=\"height:5000px\"><a href=\"exam.html#part3\">注意事项</a></p>"
              "<p style=\"height:5000px\"><a href=\"exam.html\">考试安排</a></p>");
    open(index);
    ASSERT_TRUE(driver.tap("注意事项"));
    ASSERT_TRUE(settle());
    EXPECT_EQ(web()->pageTitle(), "期末考试安排");
    EXPECT_NEAR(shownFrom(), 6100, 2);
    // The server is asked for the page, never for the fragment.
    ASSERT_EQ(fetched("/notice/exam.html"), 1u);
    EXPECT_EQ(server.requestsTo("/notice/exam.html").back().target, "/notice/exam.html");

    // Back to the list, where the user was; from its foot, a page opened anew shows its top.
    web()->goBack();
    ASSERT_TRUE(settle());
    EXPECT_EQ(shownFrom(), 0);
    scrollTo(4000);
    ASSERT_TRUE(driver.tap("考试安排"));
    ASSERT_TRUE(settle());
    EXPECT_EQ(web()->pageTitle(), "期末考试安排");
    EXPECT_EQ(shownFrom(), 0);
    web()->goBack();
    ASSERT_TRUE(settle());
    EXPECT_EQ(web()->pageTitle(), "通知目录");
    EXPECT_EQ(shownFrom(), 4000);
}

}  // namespace
