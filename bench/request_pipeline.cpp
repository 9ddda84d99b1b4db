// The cost of one list request as a screen makes it: build the URL, GET a 10-row "News" page
// from the fake services on loopback, decode it and fill the records. Beside it, a bare libcurl
// GET of the same URL, so the client's own overhead shows as the difference. And the decoding
// and filling of a 10,000-row reply alone, and the decoding of a reply whose one object has
// 320,000 members (3.6 MB; target under 200 ms).
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include "client/NetRequest.h"
#include "client/NetTool.h"
#include "client/News.h"
#include "client/ServiceConfig.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/HttpClient.h"

namespace {

fakes::FakeSchoolServices& server() {
    static fakes::FakeSchoolServices* instance = [] {
        auto* s = new fakes::FakeSchoolServices();
        s->start();
        ServiceConfig::shared().pointAllAt(s->baseUrl());
        return s;
    }();
    return *instance;
}

size_t collect(char* data, size_t size, size_t count, void* out) {
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
}

void BM_ClientPipeline(benchmark::State& state) {
    server();
    platform::RunLoop::main().bindToCurrentThread();
    for (auto _ : state) {
        std::vector<News> rows;
        bool done = false;
        NetTool::shareInstance().getWithURL(
            NetRequest::tarnwhisleWithPageNum(1, 10),
            [&](const platform::Json& reply) {
                rows = recordsFromList<News>(reply, "News");
                done = true;
            },
            [&](const NetError&) { done = true; });
        platform::RunLoop::main().runUntil([&] { return done; }, std::chrono::seconds(10));
        if (rows.size() != 10)
            state.SkipWithError("expected 10 rows");
        benchmark::DoNotOptimize(rows);
    }
    server().clearRequests();
}
BENCHMARK(BM_ClientPipeline)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_BareCurlGet(benchmark::State& state) {
    server();
    std::string url = NetRequest::tarnwhisleWithPageNum(1, 10).url;
    for (auto _ : state) {
        CURL* curl = curl_easy_init();
        std::string body;
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collect);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
        curl_easy_perform(curl);
        curl_easy_cleanup(curl);
        benchmark::DoNotOptimize(body);
    }
    server().clearRequests();
}
BENCHMARK(BM_BareCurlGet)->UseRealTime()->Unit(benchmark::kMicrosecond);

void BM_DecodeAndFill10000Rows(benchmark::State& state) {
    platform::Json reply = {{"News", platform::Json::array()}};
    for (int i = 0; i < 10000; ++i)
        reply["News"].push_back({{"id", i},
                                 {"imgUrl", "/upload/news/" + std::to_string(i) + ".jpg"},
                                 {"xwbt", "我校举办第" + std::to_string(i) + "届学术交流会"},
                                 {"fbsj", "2026-11-30 09:00"},
                                 {"xwnr", "<p>正文内容</p>"}});
    std::string body = reply.dump();
    for (auto _ : state) {
        platform::Json decoded;
        std::string whyNot;
        decodeJSONReply(200, "application/json", body, decoded, whyNot);
        auto rows = recordsFromList<News>(decoded, "News");
        benchmark::DoNotOptimize(rows);
    }
}
BENCHMARK(BM_DecodeAndFill10000Rows)->Unit(benchmark::kMillisecond);

// One object of 320,000 members, written as text so that making it costs nothing measured.
void BM_Decode320kMembers(benchmark::State& state) {
    std::string body = "{";
    for (int i = 0; i < 320000; ++i) {
        if (i)
            body += ',';
        body += "\"k" + std::to_string(i) + "\":" + std::to_string(i % 100);
    }
    body += '}';
    std::size_t members = 0;
    for (auto _ : state) {
        platform::Json decoded;
        std::string whyNot;
        decodeJSONReply(200, "application/json", body, decoded, whyNot);
        members = decoded.size();
    }
    if (members != 320000)
        state.SkipWithError("expected 320000 members");
    state.counters["bytes"] = double(body.size());
}
BENCHMARK(BM_Decode320kMembers)->Unit(benchmark::kMillisecond);

// The platform's asynchronous GET alone (network thread and main-loop hand-off, no decoding),
// which shows how the pipeline's time splits between transport hand-offs and decoding. Where
// waking a sleeping thread is slow (a virtual machine whose idle processors halt at once), the
// two hand-offs cost most of the difference unless the threads look for the hand-off briefly
// before sleeping, which is why the CPU column is close to the real one here.
void BM_PlatformAsyncGet(benchmark::State& state) {
    server();
    platform::RunLoop::main().bindToCurrentThread();
    platform::HttpRequest request;
    request.url = NetRequest::tarnwhisleWithPageNum(1, 10).url;
    for (auto _ : state) {
        bool done = false;
        platform::HttpClient::shared().send(request, [&](platform::HttpResponse) { done = true; });
        platform::RunLoop::main().runUntil([&] { return done; });
    }
    server().clearRequests();
}
BENCHMARK(BM_PlatformAsyncGet)->UseRealTime()->Unit(benchmark::kMicrosecond);

// A reply that takes 2 ms, as from a server further away: the main loop then sleeps at once
// rather than looking for the reply, so its CPU time stays far below the real time.
void BM_PlatformAsyncGetFromSlowServer(benchmark::State& state) {
    server().setReply("GET", "/bench/slow",
                      fakes::Reply{.body = "{}", .delay = std::chrono::milliseconds(2)});
    platform::RunLoop::main().bindToCurrentThread();
    platform::HttpRequest request;
    request.url = server().baseUrl() + "/bench/slow";
    for (auto _ : state) {
        bool done = false;
        platform::HttpClient::shared().send(request, [&](platform::HttpResponse) { done = true; });
        platform::RunLoop::main().runUntil([&] { return done; });
    }
    server().clearOverrides();
    server().clearRequests();
}
BENCHMARK(BM_PlatformAsyncGetFromSlowServer)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
