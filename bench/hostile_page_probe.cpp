// What a hostile page costs the client, through WebKit: a news item whose body is the page, or
// the web container showing it from a school host. The screen is opened as a tap does, left on
// the screen for a while, then the user goes back and the probe watches a while longer. Counted
// are the client's own process (its main thread, WebKit's GTK thread, its pool) and every
// process it started (the web and network processes, the display), from before the screen
// opens to the end; the page's server runs in a forked child and is left out, and so is the
// probe's own watching thread. Each page runs in a client process of its own.
//   hostile_page_probe [news|container] [--stay SECONDS] [--after SECONDS] [KIND...]
// KIND: sound (a plain body, what any page costs), spin (a script that never ends), slices
// (keeps a CPU busy in 40 ms slices, answering in between), memory (allocates as fast as it can),
// dom (keeps adding paragraphs), paint (repaints without end), text (20 MB of paragraphs).
// Default: news, --stay 6, --after 3, every kind. Each client starts WebKit cold (the program
// warms it once the news list shows), so "opening" includes loading it; `sound` shows what that
// and any page cost.
// Figures: at most 3 s of CPU in all the client's processes and 600 MB in them at once, and
// `back` answered at once (the main thread never held for long).
#include <httplib.h>
#include <pthread.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "bench/CpuTime.h"
#include "bench/ForkedServer.h"
#include "bench/ProcessTree.h"
#include "campus/NewsDetailsViewController.h"
#include "client/ServiceConfig.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/WebView.h"
#include "platform/ui/Window.h"
#include "platform/web/WebError.h"
#include "webcontainer/WebDetailViewController.h"

namespace {

using Clock = std::chrono::steady_clock;

const std::vector<std::string> kKinds = {"sound", "spin",  "slices", "memory",
                                         "dom",   "paint", "text"};

std::string body(const std::string& kind) {
    const std::string lead = "<p>学校召开教学工作会议。</p>";
    if (kind == "spin")
        return lead + "<script>for (;;) {}</script>";
    if (kind == "slices")
        return lead +
               "<script>(function work() { var end = performance.now() + 40;"
               " while (performance.now() < end) {} setTimeout(work, 0); })();</script>";
    if (kind == "memory")
        return lead +
               "<script>var kept = []; (function eat() { for (var i = 0; i < 16; i++)"
               " kept.push(new Uint8Array(4 << 20).fill(7)); setTimeout(eat, 0); })();</script>";
    if (kind == "dom")
        return lead +
               "<script>(function grow() { var part = document.createDocumentFragment();"
               " for (var i = 0; i < 5000; i++) { var p = document.createElement('p');"
               " p.textContent = '第' + i + '段'; part.appendChild(p); }"
               " document.body.appendChild(part); setTimeout(grow, 0); })();</script>";
    if (kind == "paint")
        return lead +
               "<div id=\"x\" style=\"height:400px\"></div><script>var n = 0;"
               "(function paint() { document.getElementById('x').style.background ="
               " 'hsl(' + (n++ % 360) + ',80%,50%)'; document.title = 'n' + n;"
               " requestAnimationFrame(paint); })();</script>";
    if (kind == "text") {
        std::string text;
        text.reserve(21 << 20);
        for (int i = 0; text.size() < (20u << 20); ++i)
            text += "<p>第" + std::to_string(i) + "段：学校召开教学工作会议，布置本学期工作。</p>";
        return text;
    }
    return lead;
}

void serve(const bench::ForkedServer::Announce& announce) {
    httplib::Server server;
    for (const auto& kind : kKinds) {
        const std::string page = "<html><head><meta charset=\"utf-8\"><title>" + kind +
                                 "</title></head><body>" + body(kind) + "</body></html>";
        server.Get("/CM/" + kind + ".html",
                   [page](const httplib::Request&, httplib::Response& res) {
                       res.set_content(page, "text/html;charset=UTF-8");
                   });
    }
    announce(server.bind_to_any_port("127.0.0.1"), 0);
    server.listen_after_bind();
}

// Looks at the process tree every 50 ms, and at how long the main thread takes to run a task
// posted to it. Its own CPU is kept apart.
class Watcher {
public:
    Watcher() : m_thread([this] { run(); }) {}
    ~Watcher() { stop(); }
    void stop() {
        if (!m_thread.joinable())
            return;
        m_stopping = true;
        m_thread.join();
    }
    double ownCpuSeconds() const { return m_ownCpu; }
    // The longest a task posted to the main thread waited, since the last call.
    double takeLongestMainWaitSeconds() { return double(m_longestWaitUs.exchange(0)) / 1e6; }
    long peakResidentKb() const { return m_peakResidentKb; }
    const bench::Descendants& descendants() const { return m_descendants; }
    std::mutex& mutex() { return m_mutex; }

private:
    void run() {
        while (!m_stopping) {
            {
                std::lock_guard lock(m_mutex);
                const long client = bench::statusKb("VmRSS:");
                const long others = m_descendants.look();
                m_peakResidentKb = std::max(m_peakResidentKb, client + others);
            }
            if (!m_waiting) {
                m_waiting = true;
                const auto posted = Clock::now();
                platform::RunLoop::main().post([this, posted] {
                    const long long waited =
                        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - posted)
                            .count();
                    if (waited > m_longestWaitUs)
                        m_longestWaitUs = waited;
                    m_waiting = false;
                });
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        m_ownCpu = bench::threadCpuSeconds();
    }

    std::atomic<bool> m_stopping{false};
    std::atomic<bool> m_waiting{false};
    std::atomic<long long> m_longestWaitUs{0};
    std::mutex m_mutex;
    bench::Descendants m_descendants;
    long m_peakResidentKb{0};
    std::atomic<double> m_ownCpu{0};
    std::thread m_thread;
};

struct Options {
    bool container = false;
    double stay = 6;
    double after = 3;
    std::vector<std::string> kinds;
};

void runFor(double seconds) {
    platform::RunLoop::main().runFor(std::chrono::milliseconds(long(seconds * 1000)));
}

int probe(const Options& options, const std::string& kind, const std::string& base) {
    platform::setLogSink([](const std::string&) {});
    const auto home = std::filesystem::temp_directory_path() /
                      ("campus-hostile-page-" + std::to_string(getpid()));
    std::filesystem::create_directories(home);
    setenv("CAMPUS_HOME", home.c_str(), 1);
    ServiceConfig::shared().pointAllAt(base);
    platform::RunLoop::main().bindToCurrentThread();
    int result = 0;
    {
        platform::testing::UiTestScope scope(platform::Size{375, 667}, false);
        platform::testing::UIDriver driver;
        auto window = platform::View::make<platform::Window>();
        auto opener = std::make_shared<platform::ViewController>();
        auto navigation = std::make_shared<platform::NavigationController>(opener);
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        window->layoutIfNeeded();

        const double cpuBefore = bench::cpuSeconds();
        Watcher watcher;
        const auto opened = Clock::now();
        std::shared_ptr<platform::WebView> web;
        std::weak_ptr<platform::ViewController> shownPage;
        std::function<bool()> failShown;
        if (options.container) {
            auto page = std::make_shared<WebDetailViewController>();
            page->setTitleStr(kind);
            page->setUrlStr(base + "/CM/" + kind + ".html");
            page->setHidesBottomBarWhenPushed(true);
            navigation->pushViewController(page, true);
            web = page->webView();
            shownPage = page;
            std::weak_ptr<WebDetailViewController> weak = page;
            failShown = [weak] {
                auto shown = weak.lock();
                return shown && shown->isFailViewShowing();
            };
        } else {
            auto page = std::make_shared<NewsDetailsViewController>();
            page->setNaviTitleStr("新闻详情");
            page->setTitleStr("学校召开教学工作会议");
            page->setTimeStr("2026-11-30 09:00");
            page->setContentStr(body(kind));
            page->setHidesBottomBarWhenPushed(true);
            navigation->pushViewController(page, true);
            web = page->contentWebView();
            shownPage = page;
            failShown = [] { return false; };
        }
        // Watched through the stay, a tenth at a time. The first second starts WebKit and its
        // processes, which the main thread waits for in part (the module's loading).
        double endedAfter = -1;
        std::string endedWhy;
        double heldOpening = -1;
        while (Clock::now() - opened < std::chrono::milliseconds(long(options.stay * 1000))) {
            runFor(0.1);
            if (heldOpening < 0 && Clock::now() - opened >= std::chrono::seconds(1))
                heldOpening = watcher.takeLongestMainWaitSeconds();
            if (endedAfter < 0 && web && web->lastError() &&
                web->lastError()->code == platform::WebError::kWebProcessEnded) {
                endedAfter = std::chrono::duration<double>(Clock::now() - opened).count();
                endedWhy = web->lastError()->description;
            }
        }
        const double heldShown = watcher.takeLongestMainWaitSeconds();
        const bool failViewShown = failShown();
        const std::string title = web ? web->pageTitle() : "";
        web.reset();

        // The user goes back.
        const auto backAt = Clock::now();
        const bool tapped = driver.back().ok;
        const double tapSeconds = std::chrono::duration<double>(Clock::now() - backAt).count();
        const bool below = navigation->topViewController() == opener;
        // The page (its web view, its process) goes once the transition has ended.
        const bool left = platform::RunLoop::main().runUntil([&] { return shownPage.expired(); },
                                                             std::chrono::seconds(10));
        const double leftSeconds = std::chrono::duration<double>(Clock::now() - backAt).count();
        double childCpuAtBack = 0;
        {
            std::lock_guard lock(watcher.mutex());
            childCpuAtBack = watcher.descendants().cpuSeconds();
        }
        runFor(options.after);
        watcher.stop();
        const double heldAfterBack = watcher.takeLongestMainWaitSeconds();
        const double clientCpu = bench::cpuSeconds() - cpuBefore - watcher.ownCpuSeconds();
        const auto& descendants = watcher.descendants();
        const double childCpu = descendants.cpuSeconds();

        std::printf("== %s in the %s\n", kind.c_str(), options.container ? "container" : "news");
        std::printf(
            "  page      %s\n",
            endedAfter >= 0
                ? ("ended after " + std::to_string(endedAfter).substr(0, 4) + " s: " + endedWhy)
                      .c_str()
                : ("shown to the end, title \"" + title.substr(0, 24) + "\"").c_str());
        if (options.container)
            std::printf("  fail view %s\n", failViewShown ? "shown" : "not shown");
        std::printf(
            "  CPU       client %.2f s + its processes %.2f s = %.2f s"
            " (processes after the page went: %.2f s)\n",
            clientCpu, childCpu, clientCpu + childCpu, childCpu - childCpuAtBack);
        const auto peaks = descendants.peakResidentKbByName();
        for (const auto& [name, cpu] : descendants.cpuByName())
            std::printf("    %-16s %5.2f s  %5.0f MB\n", name.c_str(), cpu,
                        peaks.at(name) / 1024.0);
        std::printf(
            "  memory    all at once (sampled) %.0f MB; client peak %.0f MB;"
            " peaks of each added %.0f MB\n",
            watcher.peakResidentKb() / 1024.0, bench::peakResidentKb() / 1024.0,
            (bench::peakResidentKb() + descendants.peakResidentKbSum()) / 1024.0);
        std::printf("  back      %s in %.0f ms%s, page let go after %.0f ms%s\n",
                    tapped ? "tapped" : "NOT TAPPED", tapSeconds * 1000,
                    below ? " (screen below on top)" : "", leftSeconds * 1000,
                    left ? "" : " (NEVER)");
        std::printf(
            "  main      held at most %.0f ms opening, %.0f ms while shown,"
            " %.0f ms after back\n",
            heldOpening * 1000, heldShown * 1000, heldAfterBack * 1000);
        std::fflush(stdout);
        result = tapped && below && left ? 0 : 1;
    }
    std::filesystem::remove_all(home);
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "news" || arg == "container") {
            options.container = arg == "container";
        } else if ((arg == "--stay" || arg == "--after") && i + 1 < argc) {
            (arg == "--stay" ? options.stay : options.after) = std::atof(argv[++i]);
        } else {
            bool known = false;
            for (const auto& kind : kKinds) known = known || kind == arg;
            if (!known) {
                std::fprintf(stderr, "unknown kind of page: %s\n", arg.c_str());
                return 2;
            }
            options.kinds.push_back(arg);
        }
    }
    if (options.kinds.empty())
        options.kinds = kKinds;
    bench::ForkedServer server(serve);
    if (server.port() == 0)
        return 1;
    int failures = 0;
    for (const auto& kind : options.kinds) {
        const pid_t child = fork();
        if (child == 0)
            _exit(probe(options, kind, server.base()));
        int status = 0;
        waitpid(child, &status, 0);
        failures += !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    server.stop();
    return failures == 0 ? 0 : 1;
}
