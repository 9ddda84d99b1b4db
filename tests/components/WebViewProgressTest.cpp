#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "components/webprogress/WebViewProgress.h"
#include "components/webprogress/WebViewProgressDelegate.h"
#include "components/webprogress/WebViewProgressView.h"
#include "platform/foundation/RunLoop.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/WebView.h"
#include "tests/net/TestServer.h"

using namespace platform;
using namespace platform::components;

namespace {

constexpr const char* kPage = "http://pages.lanxi-campus.example/";

// Hears everything the proxy passes on and refuses the command addresses of a page.
class Screen : public WebViewDelegate, public WebViewProgressDelegate {
public:
    bool shouldStartLoadWithRequest(WebView&, const URLRequest& request,
                                    WebViewNavigationType) override {
        calls.push_back("should " + request.url);
        return request.url.find("command") == std::string::npos;
    }
    void webViewDidStartLoad(WebView&) override { calls.push_back("start"); }
    void webViewDidFinishLoad(WebView&) override { calls.push_back("finish"); }
    void didFailLoadWithError(WebView&, const WebError& error) override {
        calls.push_back("fail " + std::to_string(error.code));
    }
    void webViewProgress(WebViewProgress&, float value) override { values.push_back(value); }

    bool heard(const std::string& call) const {
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }

    std::vector<std::string> calls;
    std::vector<float> values;
};

class WebViewProgressTest : public ::testing::Test {
protected:
    WebViewProgressTest() {
        webView->setDelegate(proxy);
        proxy->setWebViewProxyDelegate(screen);
        proxy->setProgressDelegate(screen);
    }
    void load(const std::string& text) {
        webView->loadHTMLString("<p>" + text + "</p>", std::string(kPage) + text);
    }
    // The page's loads and their delegate calls come in on later turns of the main loop.
    bool waitFor(const std::function<bool()>& condition) {
        return RunLoop::main().runUntil(condition, std::chrono::seconds(20));
    }
    // Until the web view has nothing under way, and the calls it posted have been made.
    void settle() {
        EXPECT_TRUE(waitFor([] { return !WebView::anyBusy(); }));
        scope.advance(0.01);
    }

    platform::testing::UiTestScope scope;
    nettest::TestServer server;
    std::shared_ptr<WebView> webView = View::make<WebView>(Rect{{0, 0}, {375, 603}});
    std::shared_ptr<WebViewProgress> proxy = std::make_shared<WebViewProgress>();
    std::shared_ptr<Screen> screen = std::make_shared<Screen>();
};

TEST_F(WebViewProgressTest, PassesEveryCallOnFirstAndMovesFromZeroToFull) {
    load("a");
    settle();
    EXPECT_EQ(screen->calls,
              (std::vector<std::string>{"should " + std::string(kPage) + "a", "start", "finish"}));
    EXPECT_EQ(screen->values, (std::vector<float>{0.0f, 0.1f, 1.0f}));
    EXPECT_FLOAT_EQ(proxy->progress(), 1.0f);
}

TEST_F(WebViewProgressTest, ANavigationTheScreenRefusesLeavesTheProgressAsItIs) {
    load("a");
    settle();
    screen->calls.clear();
    screen->values.clear();
    const std::string command = "http://pages.lanxi-campus.example/command=x";
    // The page navigating by script: the screen is asked on a later turn, and refuses.
    ASSERT_TRUE(webView->simulateNavigation(command));
    ASSERT_TRUE(waitFor([&] { return screen->heard("should " + command); }));
    settle();
    EXPECT_EQ(screen->calls, (std::vector<std::string>{"should " + command}));
    EXPECT_TRUE(screen->values.empty());
    EXPECT_FLOAT_EQ(proxy->progress(), 1.0f);
    EXPECT_EQ(webView->pageURL(), std::string(kPage) + "a");
}

TEST_F(WebViewProgressTest, ALoadReplacedByAnotherDoesNotFillTheLine) {
    // A page whose answer is held: its load is under way until the next load replaces it.
    server.serve("/held/a", "<p>a</p>");
    webView->loadRequest(URLRequest{server.url("/held/a")});
    ASSERT_TRUE(waitFor([&] { return screen->heard("start"); }))
        << ::testing::PrintToString(screen->calls);
    load("b");
    settle();
    // The app's new load cancels the one under way. WebKit asks about the new one and
    // cancels the old one in either order (as a browser checks a navigation before it stops
    // the load it replaces), so the two are compared in one order.
    auto calls = screen->calls;
    if (calls.size() > 3 && calls[2] != "fail -999")
        std::swap(calls[2], calls[3]);
    EXPECT_EQ(calls,
              (std::vector<std::string>{"should " + server.url("/held/a"), "start", "fail -999",
                                        "should " + std::string(kPage) + "b", "start", "finish"}))
        << ::testing::PrintToString(screen->calls);
    // 0 for each page asked for, then the replacement's own way to the end; never a full
    // line between.
    EXPECT_EQ(screen->values, (std::vector<float>{0.0f, 0.1f, 0.0f, 0.1f, 1.0f}));
    EXPECT_FLOAT_EQ(proxy->progress(), 1.0f);
}

TEST_F(WebViewProgressTest, AStoppedLoadFillsTheLine) {
    load("a");
    settle();
    screen->calls.clear();
    screen->values.clear();
    server.serve("/held/c", "<p>c</p>");
    webView->loadRequest(URLRequest{server.url("/held/c")});
    ASSERT_TRUE(waitFor([&] { return screen->heard("start"); }));
    webView->stopLoading();
    settle();
    EXPECT_EQ(screen->calls,
              (std::vector<std::string>{"should " + server.url("/held/c"), "start", "fail -999"}));
    EXPECT_EQ(screen->values, (std::vector<float>{0.0f, 0.1f, 1.0f}));
    EXPECT_FLOAT_EQ(proxy->progress(), 1.0f);
}

TEST_F(WebViewProgressTest, ALoadStoppedRightAfterItWasAskedForNeverShowsAndTheLineStaysFull) {
    load("a");
    settle();
    screen->calls.clear();
    load("c");
    webView->stopLoading();
    settle();
    // Whether the screen was asked about it or not, the page stays and the line ends full.
    EXPECT_FALSE(screen->heard("finish")) << ::testing::PrintToString(screen->calls);
    EXPECT_EQ(webView->pageURL(), std::string(kPage) + "a");
    EXPECT_FLOAT_EQ(proxy->progress(), 1.0f);
}

class WebViewProgressViewTest : public ::testing::Test {
protected:
    platform::testing::UiTestScope scope;
    std::shared_ptr<View> bar = View::make<View>(Rect{{0, 20}, {375, 44}});
    std::shared_ptr<WebViewProgressView> line =
        View::make<WebViewProgressView>(Rect{{0, 42}, {375, 2}});
    WebViewProgressViewTest() { bar->addSubview(line); }

    static constexpr double kHold =
        WebViewProgressView::kBarAnimationDuration + WebViewProgressView::kFadeOutDelay;
};

TEST_F(WebViewProgressViewTest, AFullLineStaysAMomentThenFadesAndEmpties) {
    line->setProgress(0.1f, true);
    EXPECT_TRUE(line->isShowingProgress());
    EXPECT_NEAR(line->progressBarView()->frame().size.width, 37.5, 1e-3);

    line->setProgress(1, true);
    EXPECT_DOUBLE_EQ(line->progressBarView()->frame().size.width, 375);
    scope.advance(kHold - 0.01);
    EXPECT_TRUE(line->isShowingProgress());
    scope.advance(0.02);
    EXPECT_FALSE(line->isShowingProgress());
    scope.advance(WebViewProgressView::kFadeAnimationDuration);
    EXPECT_FLOAT_EQ(line->progress(), 0);
    EXPECT_DOUBLE_EQ(line->progressBarView()->frame().size.width, 0);
}

TEST_F(WebViewProgressViewTest, ANewLoadBeforeOrDuringTheFadeKeepsItsLine) {
    line->setProgress(1, true);
    scope.advance(kHold / 2);
    line->setProgress(0.1f, true);  // a new page asked for before the fade began
    scope.advance(kHold + WebViewProgressView::kFadeAnimationDuration);
    EXPECT_TRUE(line->isShowingProgress());
    EXPECT_FLOAT_EQ(line->progress(), 0.1f);

    line->setProgress(1, true);
    scope.advance(kHold + 0.01);  // fading now
    line->setProgress(0.1f, true);
    scope.advance(WebViewProgressView::kFadeAnimationDuration);
    EXPECT_TRUE(line->isShowingProgress());
    EXPECT_NEAR(line->progressBarView()->frame().size.width, 37.5, 1e-3);
}

TEST_F(WebViewProgressViewTest, OutOfRangeValuesAreHeldToTheLine) {
    line->setProgress(-1);
    EXPECT_FLOAT_EQ(line->progress(), 0);
    line->setProgress(std::numeric_limits<float>::quiet_NaN());
    EXPECT_FLOAT_EQ(line->progress(), 0);
    line->setProgress(0.5f);
    line->setProgress(2);
    EXPECT_FLOAT_EQ(line->progress(), 1);
}

}  // namespace
