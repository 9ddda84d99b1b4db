// CPU time and peak memory of opening one news item's detail page, as a tap on its row does:
// the page pushed on a phone-sized screen, laid out around its title and drawn. Each kind of
// title is opened in a child process of its own, so that one's peak does not hide another's.
// Prints, a kind a line, the title's size, the CPU seconds of opening the page, and the peak
// resident memory it added (beyond the title itself, which the reply already held). The web
// engine is loaded first, as the client warms it once the news list shows: the body's page
// runs in a web process of its own, and what is measured is the title's.
//   news_detail_probe [KIND...]   (default: every kind)
// KIND: plain (a headline), rtl ("\u202e\u05d0a\u200f" a million times, 9 MB), rtl-quarter (a
// quarter of that) or arabic (Arabic words, 9 MB).
// Goal: every kind opens within 0.2 s of CPU and under 100 MB more than plain.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/CpuTime.h"
#include "bench/ForkedServer.h"
#include "campus/NewsDetailsViewController.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"
#include "platform/webkit/EngineLoader.h"

namespace {

const std::vector<std::string> kKinds = {"plain", "rtl", "rtl-quarter", "arabic"};

std::string repeated(const std::string& piece, std::size_t times) {
    std::string text;
    text.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) text += piece;
    return text;
}

std::string title(const std::string& kind) {
    if (kind == "rtl")
        return repeated("\u202e\u05d0a\u200f", 1000000);
    if (kind == "rtl-quarter")
        return repeated("\u202e\u05d0a\u200f", 250000);
    if (kind == "arabic")
        return repeated("\u0623\u062e\u0628\u0627\u0631 ", 9000000 / 11);
    return "我校召开2024年春季学期教学工作会议";
}

int openPage(const std::string& kind) {
    platform::setLogSink([](const std::string&) {});
    platform::testing::UiTestScope scope(platform::Size{375, 667}, false);
    auto window = platform::View::make<platform::Window>();
    auto navigation = std::make_shared<platform::NavigationController>(
        std::make_shared<platform::ViewController>());
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    window->layoutIfNeeded();

    if (!platform::webkit::engine()) {
        std::fprintf(stderr, "%s\n", platform::webkit::loadError().c_str());
        return 1;
    }
    std::string text = title(kind);
    const std::size_t bytes = text.size();
    const long before = bench::peakResidentKb();
    const double cpuBefore = bench::cpuSeconds();
    auto page = std::make_shared<NewsDetailsViewController>();
    page->setTitleStr(std::move(text));
    page->setTimeStr("2026-11-30 09:00");
    page->setContentStr("<p>正文内容</p>");
    page->setHidesBottomBarWhenPushed(true);
    navigation->pushViewController(page, false);
    platform::RunLoop::main().runUntil([] { return false; }, std::chrono::milliseconds(50));
    window->layoutIfNeeded();
    const bool shown = !platform::renderToImage(*window).isNull();
    const double cpu = bench::cpuSeconds() - cpuBefore;
    const long after = bench::peakResidentKb();
    std::printf("%-12s %8zu KB  %s  cpu %.3f s  peak added %.1f MB\n", kind.c_str(), bytes / 1024,
                shown ? "shown " : "FAILED", cpu, (after - before) / 1024.0);
    std::fflush(stdout);
    return shown ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> kinds(argv + 1, argv + argc);
    if (kinds.empty())
        kinds = kKinds;
    int failures = 0;
    for (const auto& kind : kinds) {
        bool known = false;
        for (const auto& k : kKinds) known = known || k == kind;
        if (!known) {
            std::fprintf(stderr, "unknown kind of title: %s\n", kind.c_str());
            return 2;
        }
        const pid_t child = fork();
        if (child == 0)
            _exit(openPage(kind));
        int status = 0;
        waitpid(child, &status, 0);
        failures += !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    return failures == 0 ? 0 : 1;
}
