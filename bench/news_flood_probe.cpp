// One launch of the client whose first news page answers with a huge list, for the news_flood
// benchmark: the services (the demo ones, with the news reply replaced) run in a forked child,
// so only the client's memory and time count. The client launches on a fresh data directory,
// the home page asks for its first page, and the probe runs the main loop until every row has
// been taken in and the screen is drawn. It prints
//   ok|failed ROWS BODY_BYTES SECONDS CPU_SECONDS PEAK_KB
// with the seconds and the CPU seconds of the client from launch (receiving the reply
// included) and the peak resident memory of the whole process.
//   news_flood_probe [ITEMS]   (default 300000)
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/ForkedServer.h"
#include "bench/HomePage.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/Window.h"
#include "shell/AppDelegate.h"

namespace {

const char* const kNewsPath = "/vobels/services/api/news/getNews.do";

// About 80 bytes an item, as a list of short headlines with empty bodies would be.
std::string newsBody(std::size_t items) {
    std::string body = "{\"News\":[";
    for (std::size_t i = 0; i < items; ++i) {
        if (i > 0)
            body += ',';
        const std::string n = std::to_string(i);
        body += "{\"id\":" + n + ",\"imgUrl\":\"/n/" + n + ".jpg\",\"xwbt\":\"校闻" + n +
                "\",\"fbsj\":\"2026-11-30\",\"xwnr\":\"\"}";
    }
    return body + "]}";
}

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t items = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 300000;
    bench::ForkedServer server([items](const bench::ForkedServer::Announce& announce) {
        fakes::FakeSchoolServices services;
        std::string body = newsBody(items);
        const std::size_t size = body.size();
        services.setReply("GET", kNewsPath, fakes::Reply{.body = std::move(body)});
        announce(services.start(), size);
        for (;;) pause();
    });
    if (server.port() == 0)
        return 1;
    const auto home =
        std::filesystem::temp_directory_path() / ("campus-news-flood-" + std::to_string(getpid()));
    std::filesystem::remove_all(home);
    setenv("CAMPUS_HOME", home.c_str(), 1);
    setenv("CAMPUS_SERVICES", server.base().c_str(), 1);
    platform::setLogSink([](const std::string&) {});

    platform::RunLoop::main().bindToCurrentThread();
    const auto start = std::chrono::steady_clock::now();
    const double cpuAtStart = cpuSeconds();
    auto app = AppDelegate::launchApplication();
    auto page = bench::homePage(*app);
    bool shown =
        page && platform::RunLoop::main().runUntil(
                    [&] { return page->allNewsArr().size() >= items; }, std::chrono::seconds(120));
    if (shown) {
        // What the user sees: the screen laid out and drawn with the first rows.
        shown = !platform::renderToImage(*app->window()).isNull();
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpu = cpuSeconds() - cpuAtStart;
    std::printf("%s %zu %zu %.3f %.3f %ld\n", shown ? "ok" : "failed",
                page ? page->allNewsArr().size() : 0, server.value(), seconds, cpu,
                bench::peakResidentKb());
    std::fflush(stdout);
    server.stop();
    std::filesystem::remove_all(home);
    // Tearing down 300,000 rows is not what is measured.
    _exit(shown ? 0 : 1);
}
