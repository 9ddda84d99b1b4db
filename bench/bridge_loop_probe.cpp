// CPU time of the whole client while a school page whose bridge reply sends the next command
// and then loops sits in the web container: each `callback` sets location.href to
// "getStorage" and spins until its run is stopped, and the client answers every command with
// the next callback. The page comes from a forked child, so only the client is counted.
// Prints the replies the page's callback was given and the CPU time used in the window.
//   bridge_loop_probe [SECONDS]   (default 10)
// Target: under 3 s of CPU in 10 s.
#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "bench/CpuTime.h"
#include "bench/ForkedServer.h"
#include "client/ServiceConfig.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "webcontainer/WebDetailViewController.h"

namespace {

using namespace platform;

constexpr const char* kLoopingPage =
    "<title>loop</title><script>"
    "var replies = 0;"
    "function ask() { location.href = 'lanxi-bridge://getStorage=' +"
    "  encodeURIComponent(JSON.stringify({key: 'k'})); }"
    "function callback(reply) { replies++; ask(); for (;;) {} }"
    "ask();"
    "</script>";

void serve(const bench::ForkedServer::Announce& announce) {
    httplib::Server server;
    server.Get("/loop.html", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(kLoopingPage, "text/html;charset=UTF-8");
    });
    announce(server.bind_to_any_port("127.0.0.1"), 0);
    server.listen_after_bind();
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    bench::ForkedServer server(serve);
    if (server.port() == 0) {
        return 1;
    }
    int timeouts = 0;
    setLogSink([&](const std::string& line) {
        timeouts += line.find("execution timeout") != std::string::npos ? 1 : 0;
    });
    // The page is the school's: the bridge answers only the school's pages.
    ServiceConfig::shared().pointAllAt(server.base());
    {
        testing::UiTestScope scope(Size{375, 667}, false);
        auto window = View::make<Window>();
        auto page = std::make_shared<WebDetailViewController>();
        page->setTitleStr("loop");
        page->setUrlStr(server.base() + "/loop.html");
        window->setRootViewController(std::make_shared<NavigationController>(page));
        window->makeKeyAndVisible();

        const double before = bench::cpuSeconds();
        RunLoop::main().runFor(std::chrono::seconds(seconds));
        const double used = bench::cpuSeconds() - before;
        const auto& web = page->webView();
        std::printf("after %2d s  %d runs stopped, CPU %.2f s\n", seconds, timeouts, used);
        std::printf("page        %s\n", web ? web->pageTitle().c_str() : "(none)");
    }
    setLogSink(nullptr);
    server.stop();
    return 0;
}
