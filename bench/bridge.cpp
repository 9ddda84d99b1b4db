// What a page of the web container costs: loading the bridge demo page, grown to 50 KB, from
// the fake services into a web view (fetch, parse, run its scripts, lay out what it shows),
// beside a bare libcurl GET of the same page; and laying the page out again after a script
// changed it, which is most of the web view's own share.
// Run by hand: build/bench/bridge. Target: the load under 3x the bare GET.

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <chrono>
#include <memory>
#include <string>

#include "fakes/FakeSchoolServices.h"
#include "fakes/WebPages.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/HttpClient.h"
#include "platform/ui/View.h"
#include "platform/ui/WebView.h"

namespace {

using namespace platform;

constexpr const char* kPagePath = "/bridge-demo-50k.html";
constexpr std::size_t kPageSize = 50 * 1024;

// The demo page with notes added before its end until it is 50 KB.
std::string grownDemoPage() {
    std::string page = fakes::bridgeDemoPage();
    const std::string end = "</body>";
    std::string notes;
    for (int n = 1; page.size() + notes.size() < kPageSize; ++n) {
        notes += "<p>说明 " + std::to_string(n) +
                 "：点按上面的命令，客户端执行后把回复交给页面的 callback，"
                 "回复显示在页首。</p>\n";
    }
    page.insert(page.rfind(end), notes);
    return page;
}

fakes::FakeSchoolServices& server() {
    static fakes::FakeSchoolServices* instance = [] {
        auto* s = new fakes::FakeSchoolServices();
        s->start();
        s->setReply("GET", kPagePath,
                    fakes::Reply{200, "text/html;charset=UTF-8", grownDemoPage()});
        return s;
    }();
    return *instance;
}

std::string pageURL() {
    return server().baseUrl() + kPagePath;
}

size_t collect(char* data, size_t size, size_t count, void* out) {
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
}

void BM_LoadDemoPage50K(benchmark::State& state) {
    const std::string url = pageURL();
    RunLoop::main().bindToCurrentThread();
    auto web = View::make<WebView>(Rect{{0, 0}, {375, 603}});
    for (auto _ : state) {
        web->loadRequest(URLRequest{url});
        RunLoop::main().runUntil([&] { return !web->isLoading(); }, std::chrono::seconds(10));
        if (web->pageItems().empty() || web->pageHTML().size() < kPageSize) {
            state.SkipWithError("the page did not load");
        }
    }
    state.counters["bytes"] = double(web->pageHTML().size());
    server().clearRequests();
}
BENCHMARK(BM_LoadDemoPage50K)->UseRealTime()->Unit(benchmark::kMicrosecond);

// The same GET the web view makes, without the web view: a new connection each time, and
// (with the argument 1) offering compression as the client does, so that both sides of the
// comparison move the same bytes and make the server do the same work.
// Making the views of what the page shows again (text measured for every block of it).
void BM_LayOutDemoPage50K(benchmark::State& state) {
    const std::string url = pageURL();
    RunLoop::main().bindToCurrentThread();
    auto web = View::make<WebView>(Rect{{0, 0}, {375, 603}});
    web->loadRequest(URLRequest{url});
    RunLoop::main().runUntil([&] { return !web->isLoading(); }, std::chrono::seconds(10));
    for (auto _ : state) {
        web->stringByEvaluatingJavaScriptFromString("callback({message: 'again'})");
        web->layoutIfNeeded();
    }
    server().clearRequests();
}
BENCHMARK(BM_LayOutDemoPage50K)->Unit(benchmark::kMicrosecond);

void BM_BareCurlGetDemoPage50K(benchmark::State& state) {
    const std::string url = pageURL();
    const bool compressed = state.range(0) != 0;
    for (auto _ : state) {
        CURL* curl = curl_easy_init();
        std::string body;
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        if (compressed) {
            curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
        }
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collect);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
        curl_easy_perform(curl);
        curl_easy_cleanup(curl);
        benchmark::DoNotOptimize(body);
    }
    server().clearRequests();
}
BENCHMARK(BM_BareCurlGetDemoPage50K)->Arg(0)->Arg(1)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
