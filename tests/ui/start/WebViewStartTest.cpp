#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "platform/foundation/RunLoop.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "platform/webkit/EngineLoader.h"
#include "tests/net/TestServer.h"

// The first web view of a process is made before the engine has loaded: its load waits for the
// engine off the main thread, and the page comes once it has.

namespace {

using namespace platform;
using namespace std::chrono_literals;

bool waitFor(const std::function<bool()>& condition) {
    return RunLoop::main().runUntil(condition, 20s);
}

// One test: only the first web view of the process finds the engine not yet loaded.
TEST(WebViewStartTest, ALoadAskedWhileTheEngineStartsIsUnderWayAndShowsItsPageUnlessStopped) {
    ASSERT_FALSE(webkit::isLoaded());
    platform::testing::UiTestScope scope;
    nettest::TestServer server;
    server.serve(
        "/first",
        "<html><head><meta charset=utf-8><title>第一页</title></head><body>p</body></html>");
    server.serve("/stopped", "<p>s</p>");
    auto window = View::make<Window>();
    auto screen = std::make_shared<ViewController>();
    auto web = View::make<WebView>(Rect{{0, 0}, {375, 603}});
    auto stopped = View::make<WebView>(Rect{{0, 0}, {375, 603}});
    screen->view()->addSubview(web);
    screen->view()->addSubview(stopped);
    window->setRootViewController(screen);
    window->makeKeyAndVisible();

    stopped->loadHTMLString("<p>x</p>", server.url("/stopped"));
    EXPECT_TRUE(stopped->isLoading());
    stopped->stopLoading();
    EXPECT_FALSE(stopped->isLoading());

    web->loadRequest(URLRequest{server.url("/first")});
    // Under way at once, as a load is on the phone; nothing is shown yet.
    EXPECT_TRUE(web->isLoading());
    EXPECT_TRUE(WebView::anyBusy());
    EXPECT_FALSE(web->hasPage());
    // Nothing to run a script in before the page: an empty answer, not a wait.
    EXPECT_EQ(web->stringByEvaluatingJavaScriptFromString("1 + 1"), "");

    ASSERT_TRUE(waitFor([&] { return web->hasPage() && !WebView::anyBusy(); }));
    EXPECT_TRUE(webkit::isLoaded());
    EXPECT_EQ(web->pageTitle(), "第一页");
    EXPECT_EQ(web->stringByEvaluatingJavaScriptFromString("1 + 1"), "2");
    // The stopped load never went.
    EXPECT_FALSE(stopped->hasPage());
    EXPECT_FALSE(stopped->isLoading());
}

}  // namespace
