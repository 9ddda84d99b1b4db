#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "components/webprogress/WebViewProgress.h"
#include "components/webprogress/WebViewProgressDelegate.h"
#include "components/webprogress/WebViewProgressView.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/WebView.h"

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
    void settle() { scope.advance(0.01); }

    platform::testing::UiTestScope scope;
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
    screen->values.clear();
    EXPECT_FALSE(webView->simulateNavigation("http://pages.lanxi-campus.example/command=x"));
    settle();
    EXPECT_TRUE(screen->values.empty());
    EXPECT_FLOAT_EQ(proxy->progress(), 1.0f);
}

TEST_F(WebViewProgressTest, ALoadReplacedByAnotherDoesNotFillTheLineButAStoppedOneDoes) {
    load("a");
    load("b");  // replaces "a" before it came
    settle();
    EXPECT_EQ(screen->calls.size(), 5u);
    EXPECT_EQ(screen->calls[2], "fail -999");
    // 0 for each start, then the replacement's own way to the end; never a full line between.
    EXPECT_EQ(screen->values, (std::vector<float>{0.0f, 0.0f, 0.1f, 1.0f}));

    screen->values.clear();
    load("c");
    webView->stopLoading();
    settle();
    EXPECT_EQ(screen->calls.back(), "fail -999");
    EXPECT_EQ(screen->values, (std::vector<float>{0.0f, 1.0f}));
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
