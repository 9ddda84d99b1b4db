// What a web page costs as it grows: a news page of 10 KB, 50 KB, 200 KB and 1 MB (headings,
// paragraphs of Chinese text with links and bold words, a list, a field and a status line),
// shown in a web view of a 375x667 phone:
//   first   the page shown from its HTML (parsed, its scripts run, laid out, its views made);
//   change  a script changes the status line's text, and the screen's next layout pass;
//   key     a script sets the field's value (what a typed key does), and the layout pass;
//   turn    the phone turns (the web view's width changes), and the layout pass;
//   scroll  one frame of the page scrolled to another place, drawn at scale 2.
// And a 50 KB page with 8 pictures loaded from the fake services beside the same page without
// them. After the runs, a table of the mean main-thread CPU times in milliseconds is printed
// (the steadier figure on a busy machine; the console shows wall time beside it).
// Run by hand: build/bench/web_page_growth. Targets: change and key within 8 ms at 50 KB and
// 50 ms at 1 MB; a scroll frame of the 1 MB page within 16 ms; the page with pictures within
// 1.2x the page without.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/View.h"
#include "platform/ui/WebView.h"

namespace {

using namespace platform;

constexpr double kPhoneWidth = 375;
constexpr double kPhoneHeight = 667;

// A news page of about `bytes`, with `pictures` pictures of no given size spread over it.
std::string newsPage(std::size_t bytes, int pictures = 0) {
    std::string page =
        "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>校园新闻</title>"
        "<style>body{font-size:16px;color:#333} h2{color:#036} .note{color:#666}"
        " td{border:1px solid #ccc}</style></head><body>"
        "<h1>学校召开2024年春季学期工作会议</h1>"
        "<p>状态：<span id=\"status\">未读</span></p>"
        "<p>留言：<input id=\"field\" type=\"text\" value=\"\"></p>";
    const std::size_t room = bytes > page.size() + 200 ? bytes - page.size() - 200 : 0;
    std::string body;
    int n = 0;
    const int pictureEvery = pictures > 0 ? 1 + int(room / 420) / pictures : 0;
    int placed = 0;
    while (body.size() < room) {
        ++n;
        if (n % 12 == 1) {
            body += "<h2>第" + std::to_string(n / 12 + 1) + "部分 工作安排</h2>";
        }
        body += "<p>　　" + std::to_string(n) +
                "、会议要求各学院、各部门<b>高度重视</b>，明确责任分工，结合实际抓好贯彻落实，"
                "详见<a href=\"/news/" +
                std::to_string(n) +
                ".html\">通知全文</a>。各单位要认真组织学习，确保各项工作有序推进。</p>";
        if (n % 9 == 0) {
            body += "<ul><li>教学工作按校历进行。</li><li>请于周五前报送材料。</li></ul>";
        }
        if (pictureEvery > 0 && placed < pictures && n % pictureEvery == 0) {
            body += "<p><img src=\"/pictures/" + std::to_string(placed++) + ".jpg\"></p>";
        }
    }
    while (placed < pictures) {
        body += "<p><img src=\"/pictures/" + std::to_string(placed++) + ".jpg\"></p>";
    }
    page += body;
    page +=
        "<p class=\"note\" style=\"text-align:right\">党委办公室<br>2024年03月01日</p>"
        "</body></html>";
    return page;
}

// A photo as a news page carries one: 320x200, with some detail.
std::string photo(int seed) {
    std::vector<std::uint32_t> argb(320 * 200);
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 320; ++x) {
            const auto r = std::uint32_t((x * 3 + seed * 40) & 0xff);
            const auto g = std::uint32_t((y * 5 + x) & 0xff);
            const auto b = std::uint32_t((x ^ y) & 0xff);
            argb[std::size_t(y) * 320 + std::size_t(x)] = 0xff000000u | r << 16 | g << 8 | b;
        }
    }
    return Image::fromARGB(320, 200, std::move(argb)).jpegData(0.8);
}

fakes::FakeSchoolServices& server() {
    static fakes::FakeSchoolServices* instance = [] {
        auto* s = new fakes::FakeSchoolServices();
        s->start();
        s->setReply("GET", "/grown/plain.html",
                    fakes::Reply{200, "text/html;charset=UTF-8", newsPage(50 * 1024)});
        s->setReply("GET", "/grown/pictures.html",
                    fakes::Reply{200, "text/html;charset=UTF-8", newsPage(50 * 1024, 8)});
        for (int n = 0; n < 8; ++n) {
            s->setReply("GET", "/pictures/" + std::to_string(n) + ".jpg",
                        fakes::Reply{200, "image/jpeg", photo(n)});
        }
        return s;
    }();
    return *instance;
}

// A web view of the phone's size showing the page of `kilobytes` KB.
std::shared_ptr<WebView> shownPage(int kilobytes) {
    RunLoop::main().bindToCurrentThread();
    platform::setLogSink([](const std::string&) {});
    auto web = View::make<WebView>(Rect{{0, 0}, {kPhoneWidth, kPhoneHeight}});
    web->loadHTMLString(newsPage(std::size_t(kilobytes) * 1024), "http://campus.invalid/");
    RunLoop::main().runUntil([&] { return !web->isLoading(); }, std::chrono::seconds(30));
    web->layoutIfNeeded();
    return web;
}

void BM_First(benchmark::State& state) {
    RunLoop::main().bindToCurrentThread();
    platform::setLogSink([](const std::string&) {});
    const std::string html = newsPage(std::size_t(state.range(0)) * 1024);
    auto web = View::make<WebView>(Rect{{0, 0}, {kPhoneWidth, kPhoneHeight}});
    for (auto _ : state) {
        web->loadHTMLString(html, "http://campus.invalid/");
        RunLoop::main().runUntil([&] { return !web->isLoading(); }, std::chrono::seconds(30));
        web->layoutIfNeeded();
        if (web->pageItems().empty()) {
            state.SkipWithError("the page did not show");
        }
    }
}

void BM_Change(benchmark::State& state) {
    auto web = shownPage(int(state.range(0)));
    int n = 0;
    for (auto _ : state) {
        web->stringByEvaluatingJavaScriptFromString(
            "document.getElementById('status').innerText = '已读 " + std::to_string(++n) + "'");
        web->layoutIfNeeded();
    }
}

void BM_Key(benchmark::State& state) {
    auto web = shownPage(int(state.range(0)));
    std::string typed;
    for (auto _ : state) {
        typed = typed.size() >= 30 ? "" : typed + "a";
        web->stringByEvaluatingJavaScriptFromString("document.getElementById('field').value = '" +
                                                    typed + "'");
        web->layoutIfNeeded();
    }
}

void BM_Turn(benchmark::State& state) {
    auto web = shownPage(int(state.range(0)));
    bool turned = false;
    for (auto _ : state) {
        turned = !turned;
        web->setFrame(turned ? Rect{{0, 0}, {kPhoneHeight, kPhoneWidth}}
                             : Rect{{0, 0}, {kPhoneWidth, kPhoneHeight}});
        web->layoutIfNeeded();
    }
}

void BM_Scroll(benchmark::State& state) {
    auto web = shownPage(int(state.range(0)));
    const auto& scroller = web->scrollView();
    const double range = std::max(0.0, scroller->contentSize().height - kPhoneHeight);
    BitmapContext frame(Size{kPhoneWidth, kPhoneHeight}, 2, true);
    double y = 0;
    for (auto _ : state) {
        // A frame of a fling: a screen's third further each time, round the page.
        y += kPhoneHeight / 3;
        if (y > range) {
            y = 0;
        }
        scroller->setContentOffset(Point{0, y});
        renderView(*web, frame);
    }
    state.counters["page_height"] = scroller->contentSize().height;
}

void BM_LoadWithPictures(benchmark::State& state) {
    RunLoop::main().bindToCurrentThread();
    platform::setLogSink([](const std::string&) {});
    const std::string url =
        server().baseUrl() + (state.range(0) > 0 ? "/grown/pictures.html" : "/grown/plain.html");
    auto web = View::make<WebView>(Rect{{0, 0}, {kPhoneWidth, kPhoneHeight}});
    for (auto _ : state) {
        web->loadRequest(URLRequest{url});
        RunLoop::main().runUntil([&] { return !web->isLoading(); }, std::chrono::seconds(30));
        web->layoutIfNeeded();
    }
    state.counters["page_height"] = web->scrollView()->contentSize().height;
    server().clearRequests();
}

constexpr int kSizes[] = {10, 50, 200, 1024};

void sizes(benchmark::internal::Benchmark* bench) {
    for (int size : kSizes) {
        bench->Arg(size);
    }
}

BENCHMARK(BM_First)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Change)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Key)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Turn)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scroll)->Apply(sizes)->Unit(benchmark::kMillisecond);
// A load takes long enough that the default few runs leave the ratio to chance.
BENCHMARK(BM_LoadWithPictures)
    ->Arg(0)
    ->Arg(8)
    ->Iterations(30)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// Passes every run on to the console and keeps each one's mean time for the table.
class TableReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs) {
            if (!run.error_occurred && run.run_type == Run::RT_Iteration) {
                times[run.benchmark_name()] = run.GetAdjustedCPUTime() * 1e3 /
                                              benchmark::GetTimeUnitMultiplier(run.time_unit);
            }
        }
    }
    std::map<std::string, double> times;
};

void printTable(const std::map<std::string, double>& times) {
    std::printf("\nms of main-thread CPU per operation, 375x667 phone\n%-8s %9s %9s %9s %9s %9s\n",
                "page", "first", "change", "key", "turn", "scroll");
    for (int size : kSizes) {
        std::printf("%-8s", (std::to_string(size) + " KB").c_str());
        for (const char* name : {"BM_First", "BM_Change", "BM_Key", "BM_Turn", "BM_Scroll"}) {
            auto found = times.find(std::string(name) + "/" + std::to_string(size));
            if (found == times.end()) {
                std::printf(" %9s", "-");
            } else {
                std::printf(" %9.2f", found->second);
            }
        }
        std::printf("\n");
    }
    auto plain = times.find("BM_LoadWithPictures/0/real_time");
    auto pictures = times.find("BM_LoadWithPictures/8/real_time");
    if (plain != times.end() && pictures != times.end() && plain->second > 0) {
        std::printf("50 KB page load: %.2f ms without pictures, %.2f ms with 8 (%.2fx)\n",
                    plain->second, pictures->second, pictures->second / plain->second);
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printTable(reporter.times);
    benchmark::Shutdown();
    return 0;
}
