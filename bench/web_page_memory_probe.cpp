// Peak memory of one hostile page opened in a web view the way a screen shows it: fetched from
// a server (in a forked child, so only the client is counted), parsed, its scripts run, laid
// out on a phone-sized screen and read as an outline. Prints the page's size, the peak resident
// memory before and after, and how long it took.
//   web_page_memory_probe KIND [KILOBYTES]
// KIND: nested-tables (default 146 KB), text (one paragraph; default 4096 KB), links (one link
// a line; default 4096 KB), tags (empty paragraphs; default 4096 KB) or growing-dom (a script
// that keeps adding elements). A watchdog ends the probe, and says so, past 3 GB or 60 s.
// Targets: a 4 MB page peaks under 300 MB, and any page within the document body cap (64 MB)
// under 1 GB.
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "bench/ForkedServer.h"
#include "platform/foundation/RunLoop.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/Application.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "tests/support/WebPageScreen.h"

namespace {

using namespace platform;

std::string page(const std::string& kind, std::size_t bytes) {
    std::string html = "<html><head><title>" + kind + "</title></head><body>";
    if (kind == "nested-tables") {
        while (html.size() < bytes) {
            html += "<table><tr><td>";
        }
    } else if (kind == "text") {
        html += "<p>";
        for (int n = 0; html.size() < bytes; ++n) {
            html += "第" + std::to_string(n) + "段说明文字，some words of the page's text. ";
        }
    } else if (kind == "links") {
        for (int n = 0; html.size() < bytes; ++n) {
            std::string id = std::to_string(n);
            html += "<a href=\"/news/" + id + ".html\">新闻 " + id + "</a><br>\n";
        }
    } else if (kind == "tags") {
        while (html.size() < bytes) {
            html += "<p>";
        }
    } else if (kind == "growing-dom") {
        // Each round nests one more element holding a hundred thousand paragraphs.
        html +=
            "<div id=\"n0\"></div><script>"
            "var chunk = '<p>row</p>'.repeat(100000);"
            "for (var i = 0;; i++) {"
            "  document.getElementById('n' + i).innerHTML ="
            "      chunk + '<div id=\"n' + (i + 1) + '\"></div>';"
            "}</script>";
    }
    return html + "</body></html>";
}

// Serves the page from the forked child, which makes it, so that the client's peak leaves it
// out; announces the port and the page's size.
void serve(const std::string& kind, std::size_t bytes,
           const bench::ForkedServer::Announce& announce) {
    const std::string body = page(kind, bytes);
    httplib::Server server;
    server.Get("/page.html", [&body](const httplib::Request&, httplib::Response& res) {
        // Of known length, so sent as it is rather than compressed on the way.
        res.set_content_provider(body.size(), "text/html;charset=UTF-8",
                                 [&body](size_t offset, size_t length, httplib::DataSink& sink) {
                                     return sink.write(body.data() + offset, length);
                                 });
    });
    announce(server.bind_to_any_port("127.0.0.1"), body.size());
    server.listen_after_bind();
}

using PageScreen = testsupport::WebPageScreen;

}  // namespace

int main(int argc, char** argv) {
    std::string kind = argc > 1 ? argv[1] : "nested-tables";
    std::size_t kilobytes = argc > 2                  ? std::strtoul(argv[2], nullptr, 10)
                            : kind == "nested-tables" ? 146
                                                      : 4096;
    bench::ForkedServer server([&](const bench::ForkedServer::Announce& announce) {
        serve(kind, kilobytes * 1024, announce);
    });
    if (server.port() == 0) {
        return 1;
    }
    const std::size_t size = server.value();

    testing::UiTestScope scope(Size{375, 667}, false);
    auto screen = std::make_shared<PageScreen>();
    auto window = View::make<Window>();
    window->setRootViewController(screen);
    window->makeKeyAndVisible();
    testing::UIDriver driver(Application::shared());

    const long before = bench::peakResidentKb();
    const auto start = std::chrono::steady_clock::now();
    std::atomic<bool> finished{false};
    std::thread watchdog([&] {
        while (!finished) {
            long resident = bench::statusKb("VmRSS:");
            double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            if (resident > 3L * 1024 * 1024 || seconds > 60) {
                std::printf("page        %s, %zu KB\n", kind.c_str(), size / 1024);
                std::printf("stopped     by the watchdog at %.0f MB resident after %.1f s\n",
                            resident / 1024.0, seconds);
                std::fflush(stdout);
                server.stop();
                _exit(2);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });

    screen->webView->loadRequest(URLRequest{server.base() + "/page.html"});
    RunLoop::main().runUntil([&] { return !screen->webView->isLoading(); },
                             std::chrono::seconds(120));
    const double loaded =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    window->layoutIfNeeded();
    std::size_t outline = driver.outline().size();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    finished = true;
    watchdog.join();
    const long after = bench::peakResidentKb();
    server.stop();

    std::printf("page        %s, %zu KB\n", kind.c_str(), size / 1024);
    std::printf("shown       %zu items, outline %zu KB\n", screen->webView->pageItems().size(),
                outline / 1024);
    std::printf("peak before %.1f MB\n", before / 1024.0);
    std::printf("peak after  %.1f MB\n", after / 1024.0);
    std::printf("time        %.2f s (loaded at %.2f s)%s\n", seconds, loaded,
                screen->webView->lastError() ? ", the load failed" : "");
    return 0;
}
