// How long one run of page script takes when it spends its time inside built-in calls: each
// case runs in a web view on the real clock, as a page script, a handler or an evaluated
// script, and the probe prints its wall and CPU time. A watchdog ends the probe, and says so,
// when one case is still running after 30 s.
//   builtin_deadline_probe [CASE]   (the case's number from 0; all of them by default)
// Target: every case ends within about its run's limit (1 s) plus a small margin.
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "bench/CpuTime.h"
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

using PageScreen = testsupport::WebPageScreen;

struct Case {
    const char* name;
    enum { PageScript, Handler, Evaluated } how;
    const char* script;
};

const Case kCases[] = {
    {"indexOf over {length: 2^31-1}, page script", Case::PageScript,
     "Array.prototype.indexOf.call({length: 2147483647}, 1)"},
    {"new Array(2e8).join(''), handler", Case::Handler, "new Array(2e8).join('')"},
    {"indexOf over {length: 3e6} in for(;;) try/catch", Case::Evaluated,
     "for (;;) { try { Array.prototype.indexOf.call({length: 3e6}, 1) } catch (e) {} }"},
    {"sort over {length: 2^31-1}", Case::Evaluated,
     "Array.prototype.sort.call({length: 2147483647})"},
    {"splice over {length: 2^31-1}", Case::Evaluated,
     "Array.prototype.splice.call({length: 2147483647}, 0, 1)"},
    {"JSON.stringify of a sparse array", Case::Evaluated,
     "var a = []; a.length = 4294967295; JSON.stringify(a)"},
    {"quadratic string search", Case::Evaluated,
     "var s = 'a'.repeat(1 << 22); s.indexOf(s.slice(1 << 21) + 'b')"},
    {"global replace in 4 MB", Case::Evaluated, "'a'.repeat(1 << 22).replace(/a/g, 'b')"},
};

}  // namespace

int main(int argc, char** argv) {
    const int only = argc > 1 ? std::atoi(argv[1]) : -1;
    testing::UiTestScope scope(Size{375, 667}, false);
    auto window = View::make<Window>();
    window->makeKeyAndVisible();
    testing::UIDriver driver(Application::shared());

    int number = -1;
    for (const Case& c : kCases) {
        if (++number != only && only >= 0) {
            continue;
        }
        // A web view of its own, so that each case starts with the whole of the web view's
        // script time over time.
        auto screen = std::make_shared<PageScreen>();
        window->setRootViewController(screen);
        window->layoutIfNeeded();
        auto& web = *screen->webView;
        const std::string html =
            c.how == Case::PageScript
                ? "<title>t</title><script>" + std::string(c.script) + "</script>"
            : c.how == Case::Handler
                ? "<title>t</title><button onclick=\"" + std::string(c.script) + "\">Run</button>"
                : std::string("<title>t</title>");
        if (c.how != Case::PageScript) {
            web.loadHTMLString(html, "http://school.invalid/");
            RunLoop::main().runUntil([&] { return !web.isLoading(); }, std::chrono::seconds(10));
        }
        std::atomic<bool> done{false};
        std::thread watchdog([&] {
            for (int tenth = 0; tenth < 300 && !done; ++tenth) {
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
            if (!done) {
                std::printf("%-50s still running after 30 s\n", c.name);
                std::fflush(stdout);
                _exit(2);
            }
        });
        const auto start = std::chrono::steady_clock::now();
        const double cpu = bench::cpuSeconds();
        switch (c.how) {
            case Case::PageScript:
                web.loadHTMLString(html, "http://school.invalid/");
                RunLoop::main().runUntil([&] { return !web.isLoading(); },
                                         std::chrono::seconds(60));
                break;
            case Case::Handler:
                driver.tap("Run");
                break;
            case Case::Evaluated:
                web.stringByEvaluatingJavaScriptFromString(c.script);
                break;
        }
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double used = bench::cpuSeconds() - cpu;
        done = true;
        watchdog.join();
        std::printf("%-50s %.2f s, CPU %.2f s\n", c.name, wall, used);
    }
    return 0;
}
