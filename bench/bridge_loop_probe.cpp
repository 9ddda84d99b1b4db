// CPU time a hostile school page costs while it sits in the web container: each `callback` the
// client runs sets location.href to "getStorage" again and then spins until its process is
// ended, and the client answers every command with the next callback. With WebKit the page's
// spinning is its web process's: that process is ended once it stops answering, and the
// container shows its fail view. Counted: the client's own process (its main thread, the
// engine's GTK thread, its pool) and each process it started (the web and network processes,
// the display), read from /proc while they live. The page comes from a forked child, which is
// left out, as is what the probe's looks at /proc cost.
//   bridge_loop_probe [SECONDS]   (default 10)
// Target: under 3 s of CPU in the client and all its processes together in 10 s, the page's
// process ended and the container's fail view shown.
#include <httplib.h>
#include <time.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "bench/CpuTime.h"
#include "bench/ForkedServer.h"
#include "bench/ProcessTree.h"
#include "client/ServiceConfig.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "platform/web/WebError.h"
#include "webcontainer/WebDetailViewController.h"

namespace {

using namespace platform;

constexpr const char* kLoopingPage =
    "<title>loop</title><script>"
    "var replies = 0;"
    "function ask() { location.href = 'lanxi-bridge://getStorage=' +"
    "  encodeURIComponent(JSON.stringify({key: 'k'})); }"
    "function callback(reply) { replies++; document.title = 'replies ' + replies; ask();"
    "  for (;;) {} }"
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
    int replies = 0;
    setLogSink([&](const std::string& line) {
        replies += line.find("callback(") != std::string::npos ? 1 : 0;
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

        bench::Descendants children;
        double looking = 0;
        const double before = bench::cpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        const auto end = start + std::chrono::seconds(seconds);
        double endedAfter = -1;
        // Looked at every tenth of a second, so that a process ended meanwhile is counted up
        // to its last tenth.
        while (std::chrono::steady_clock::now() < end) {
            RunLoop::main().runFor(std::chrono::milliseconds(100));
            const double lookStart = bench::threadCpuSeconds();
            children.look();
            looking += bench::threadCpuSeconds() - lookStart;
            const auto& web = page->webView();
            if (endedAfter < 0 && web && web->lastError() &&
                web->lastError()->code == WebError::kWebProcessEnded) {
                endedAfter =
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            }
        }
        const double used = bench::cpuSeconds() - before - looking;
        double childTotal = 0;
        std::printf("after %2d s   replies sent %d\n", seconds, replies);
        std::printf("client       CPU %.2f s\n", used);
        for (const auto& [name, cpu] : children.cpuByName()) {
            std::printf("  %-18s CPU %.2f s\n", name.c_str(), cpu);
            childTotal += cpu;
        }
        std::printf("children     CPU %.2f s (all their life)\n", childTotal);
        std::printf("together     CPU %.2f s\n", used + childTotal);
        if (endedAfter >= 0)
            std::printf("page ended   after %.1f s, fail view %s\n", endedAfter,
                        page->isFailViewShowing() ? "shown" : "not shown");
        else
            std::printf("page ended   no\n");
        const auto& web = page->webView();
        std::printf("page         %s\n", web ? web->pageTitle().c_str() : "(none)");
    }
    setLogSink(nullptr);
    server.stop();
    return 0;
}
