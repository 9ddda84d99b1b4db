// How long one run of page script takes when it spends its time inside built-in calls, in
// operators that copy a megabyte at a time, in the host's own calls, in the engine's error
// hooks or its garbage collector: each case runs in a web view on the real clock, as a page
// script, a handler or an evaluated script (or, for the last, as a page with no script at
// all), and the probe prints its wall and CPU time. A case may first run a script of its own,
// untimed. The cases that take a page down time what replacing a page whose scripts ran takes,
// the old page freed. A watchdog ends the probe, and says so, when one case is still running
// after 30 s.
//   builtin_deadline_probe [CASE]   (the case's number from 0; all of them by default)
// Target: every case ends within its run's limit (1 s) plus 0.1 s; a page is taken down within
// 0.2 s.
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
    enum { PageScript, Handler, Evaluated, StaticPage, TakenDown } how;
    const char* script;
    // The page of a StaticPage case.
    std::string (*page)() = nullptr;
    // Evaluated in the page before the timed part, in a run of its own.
    const char* setup = nullptr;
};

std::string attributePage();
std::string manyAttributesPage();

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
    // Loops whose every turn is one call or operator over a megabyte or more, on local
    // variables (no property access to count): the instructions between two of the
    // executor's checks copy or scan gigabytes.
    {"encodeURIComponent of 1 MB in for(;;)", Case::PageScript,
     "(function () { var E = encodeURIComponent, s = 'a'.repeat(1 << 20);"
     " for (;;) { E(s); } })()"},
    {"t = s + s over 1 MB in for(;;)", Case::Evaluated,
     "(function () { var s = 'a'.repeat(1 << 20), t; for (;;) { t = s + s; } })()"},
    {"indexOf over 6 MB for 12 MB in for(;;)", Case::Evaluated,
     "(function () { var s = 'a'.repeat(6 << 20), t = s + s, i = s.indexOf;"
     " for (;;) { i.call(s, t); } })()"},
    {"indexOf of a missing character in 8 MB in for(;;)", Case::Evaluated,
     "(function () { var s = 'a'.repeat(8 << 20), i = s.indexOf;"
     " for (;;) { i.call(s, 'b'); } })()"},
    {"repeat to 2 MB in for(;;)", Case::Evaluated,
     "(function () { var r = String.prototype.repeat; for (;;) { r.call('ab', 1 << 20); } })()"},
    {"split of 1 MB in for(;;)", Case::Evaluated,
     "(function () { var s = 'a'.repeat(1 << 20), p = s.split; for (;;) { p.call(s, 'b'); } })()"},
    {"join of two 1 MB strings in for(;;)", Case::Evaluated,
     "(function () { var a = ['a'.repeat(1 << 20), 'b'.repeat(1 << 20)], j = a.join;"
     " for (;;) { j.call(a, ''); } })()"},
    {"JSON.stringify of 1 MB in for(;;)", Case::Evaluated,
     "(function () { var s = 'a'.repeat(1 << 20), f = JSON.stringify; for (;;) { f(s); } })()"},
    {"JSON.parse of 1 MB in for(;;)", Case::Evaluated,
     "(function () { var j = JSON.stringify('a'.repeat(1 << 20)), f = JSON.parse;"
     " for (;;) { f(j); } })()"},
    {"regular expression over 1 MB in for(;;)", Case::Evaluated,
     "(function () { var s = 'a'.repeat(1 << 20), r = /a/, p = s.replace;"
     " for (;;) { p.call(s, r, 'b'); } })()"},
    {"string comparison of 4 MB in for(;;)", Case::Evaluated,
     "(function () { var s = 'a'.repeat(1 << 22), u = s.slice(1) + 'b'; for (;;) { s < u; } })()"},
    {"trim of 4 MB of blanks in for(;;)", Case::Evaluated,
     "(function () { var w = ' '.repeat(1 << 22), t = w.trim; for (;;) { t.call(w); } })()"},
    {"typed array set of 8 MB in for(;;)", Case::Evaluated,
     "(function () { var a = new Uint8Array(8 << 20), b = new Uint8Array(8 << 20), s = a.set;"
     " for (;;) { s.call(a, b); } })()"},
    {"Object.keys of 200,000 names in for(;;)", Case::Evaluated,
     "(function () { var o = {}, k = Object.keys; for (var i = 0; i < 200000; i++) { o['k' + i] = "
     "i; }"
     " for (;;) { k(o); } })()"},
    // The host's own calls: one element of 100,000 attributes, written by a script and served
    // as a page of 1.5 MB.
    {"innerHTML of one element with 100,000 attributes", Case::Evaluated,
     "var a = []; for (var i = 0; i < 100000; i++) { a.push('a' + i + '=\\'1\\''); }"
     " document.body.innerHTML = '<p ' + a.join(' ') + '>x</p>';"},
    {"a 1.5 MB page of one element with 100,000 attributes", Case::StaticPage, nullptr,
     attributePage},
    {"a 16 MB page of elements with 64 attributes each", Case::StaticPage, nullptr,
     manyAttributesPage},
    // The engine's own object: its error hooks run script while an error is being made, its
    // finalizers while a page is taken down, its collector on demand. A page that cannot reach
    // it ends at its first line.
    {"Duktape.errCreate looping indexOf over 1 MB, null.x", Case::Evaluated,
     "(function () { var s = 'a'.repeat(1 << 20), i = s.indexOf;"
     " Duktape.errCreate = function (e) { for (;;) { i.call(s, 'b'); } };"
     " for (;;) { try { null.x; } catch (e) {} } })()"},
    {"Duktape.errThrow looping indexOf over 4 MB, null.x", Case::Evaluated,
     "(function () { var s = 'a'.repeat(1 << 22), i = s.indexOf;"
     " Duktape.errThrow = function (e) { for (;;) { i.call(s, 'b'); } };"
     " for (;;) { try { null.x; } catch (e) {} } })()"},
    {"a throwing Duktape.fin finalizer, page taken down", Case::TakenDown,
     "var s = 'a'.repeat(1 << 20), i = s.indexOf; window.kept = {};"
     "Duktape.fin(kept, function () { for (var n = 0; n < 1e6; n++) { i.call(s, 'b'); }"
     " null.x; });"},
    {"200,000 Duktape.fin finalizers that loop, taken down", Case::TakenDown,
     "var f = function () { for (var n = 0; n < 1000; n++) {} }; window.kept = [];"
     "for (var n = 0; n < 200000; n++) { var o = {}; Duktape.fin(o, f); kept.push(o); }"},
    {"for(;;) Duktape.gc() over 120,000 live objects", Case::Evaluated,
     "(function () { var g = Duktape.gc; for (;;) { g(); } })()", nullptr,
     "window.kept = []; for (var n = 0; n < 120000; n++) { kept.push({n: n}); }"},
    // Without the engine's object: collections that allocation brings on.
    {"cyclic garbage over 120,000 live objects", Case::Evaluated,
     "(function () { for (;;) { var a = {}; a.a = a; } })()", nullptr,
     "window.kept = []; for (var n = 0; n < 120000; n++) { kept.push({n: n}); }"},
    {"churn in a heap filled to its limit", Case::Evaluated,
     "(function () { var k = kept; for (;;) { try { k.push([k.length]); } catch (e) {} } })()",
     nullptr, "window.kept = []; try { for (;;) { kept.push({n: kept.length}); } } catch (e) {}"},
    {"a page of a heap filled to its limit taken down", Case::TakenDown,
     "window.kept = []; try { for (;;) { kept.push({n: kept.length}); } } catch (e) {}"},
};

// One element whose 100,000 attributes make up a page of about 1.5 MB.
std::string attributePage() {
    std::string html = "<title>t</title><p";
    for (int i = 0; i < 100'000; ++i) {
        html += " a" + std::to_string(i) + "=\"1\"";
    }
    return html + ">x</p>";
}

// As many elements as fit in 16 MB, each with as many attributes as a tag may keep, each as
// short as an attribute can be: the most comparing of names the parser can be made to do.
std::string manyAttributesPage() {
    std::string tag = "<b";
    for (int c = 0; c < 64; ++c) {
        tag += ' ';
        tag += char('a' + c / 26);
        tag += char('a' + c % 26);
    }
    tag += "></b>";
    std::string html = "<title>t</title>";
    while (html.size() + tag.size() < (16u << 20)) {
        html += tag;
    }
    return html;
}

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
            c.how == Case::PageScript || c.how == Case::TakenDown
                ? "<title>t</title><script>" + std::string(c.script) + "</script>"
            : c.how == Case::Handler
                ? "<title>t</title><button onclick=\"" + std::string(c.script) + "\">Run</button>"
            : c.how == Case::StaticPage ? c.page()
                                        : std::string("<title>t</title>");
        if (c.how != Case::PageScript && c.how != Case::StaticPage) {
            web.loadHTMLString(html, "http://school.invalid/");
            RunLoop::main().runUntil([&] { return !web.isLoading(); }, std::chrono::seconds(60));
        }
        if (c.setup) {
            web.stringByEvaluatingJavaScriptFromString(c.setup);
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
            case Case::StaticPage:
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
            case Case::TakenDown:
                web.loadHTMLString("<title>next</title>", "http://school.invalid/next");
                RunLoop::main().runUntil([&] { return !web.isLoading(); },
                                         std::chrono::seconds(60));
                // The old page is freed on a later turn of the loop.
                RunLoop::main().runPending();
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
