// CPU time of the whole client while a page that loads the next page sits on screen: each page
// of the chain busy-waits 950 ms in its script (inside one run's limit) and then sets
// location.href to the next one. The pages come from a forked child, so only the client is
// counted. Prints the pages loaded and the CPU time used in the window, then where back goes
// and what the client does on the page it lands on.
//   page_chain_probe [SECONDS]   (default 10)
// Target: under 3 s of CPU in 10 s, and back lands before the chain and stays there.
#include <httplib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "bench/CpuTime.h"
#include "bench/ForkedServer.h"
#include "platform/foundation/RunLoop.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "tests/support/WebPageScreen.h"

namespace {

using namespace platform;

void serve(const bench::ForkedServer::Announce& announce) {
    httplib::Server server;
    server.Get("/home.html", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("<title>home</title><a href=\"/chain/1.html\">chain</a>",
                        "text/html;charset=UTF-8");
    });
    server.Get(R"(/chain/(\d+)\.html)", [](const httplib::Request& req, httplib::Response& res) {
        const int n = std::atoi(req.matches[1].str().c_str());
        res.set_content("<title>page " + std::to_string(n) +
                            "</title><script>var start = Date.now();"
                            "while (Date.now() - start < 950) {}"
                            "location.href = '/chain/" +
                            std::to_string(n + 1) + ".html';</script>",
                        "text/html;charset=UTF-8");
    });
    announce(server.bind_to_any_port("127.0.0.1"), 0);
    server.listen_after_bind();
}

using PageScreen = testsupport::WebPageScreen;

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 10;
    bench::ForkedServer server(serve);
    if (server.port() == 0) {
        return 1;
    }
    testing::UiTestScope scope(Size{375, 667}, false);
    auto screen = std::make_shared<PageScreen>();
    auto window = View::make<Window>();
    window->setRootViewController(screen);
    window->makeKeyAndVisible();
    auto& web = *screen->webView;

    web.loadRequest(URLRequest{server.base() + "/home.html"});
    RunLoop::main().runUntil([&] { return !web.isLoading(); }, std::chrono::seconds(10));
    std::printf("start       %s\n", web.pageTitle().c_str());

    // The user follows the link into the chain.
    const double before = bench::cpuSeconds();
    web.simulateNavigation(server.base() + "/chain/1.html");
    RunLoop::main().runFor(std::chrono::seconds(seconds));
    const double used = bench::cpuSeconds() - before;
    std::printf("after %2d s  %s, CPU %.2f s\n", seconds, web.pageTitle().c_str(), used);

    // Back, three times, each followed by two seconds on the page it lands on.
    for (int back = 1; back <= 3 && web.canGoBack(); ++back) {
        const double at = bench::cpuSeconds();
        web.goBack();
        RunLoop::main().runFor(std::chrono::seconds(2));
        std::printf("back %d      %s after 2 s, CPU %.2f s\n", back, web.pageTitle().c_str(),
                    bench::cpuSeconds() - at);
    }
    server.stop();
    return 0;
}
