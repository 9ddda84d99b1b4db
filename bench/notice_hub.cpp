// Opening the notice hub against the fake services on loopback, until all five channels show
// their first page. The five channels ask at once, so the whole takes about one request, not
// five: target under 2x one channel's request ("vs_one_request" below 2).
//
// Each reply is held for a service time of its own (kServiceTime, as the school's service
// would take), so that requests made one after another would show at once. Run by hand:
// build/bench/notice_hub.

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

#include "campus/AnnouncementChannelView.h"
#include "campus/AnnouncementViewController.h"
#include "client/NetRequest.h"
#include "client/NetTool.h"
#include "client/ServiceConfig.h"
#include "fakes/FakeSchoolServices.h"
#include "fakes/SchoolRoutes.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/ViewController.h"
#include "platform/ui/Window.h"

namespace {

constexpr auto kServiceTime = std::chrono::milliseconds(40);
constexpr auto kBound = std::chrono::seconds(10);
const char* const kNoticesPath = "/vobels/services/api/news/getNewsByCategory.do";

// The demo services on loopback, answering notices from the sample data after the service time,
// and a phone (real clock) with a navigation stack to push the hub on.
struct Setting {
    fakes::FakeSchoolServices server;
    fakes::SchoolRoutes routes{fakes::FakeSchoolServices::defaultSampleDir()};
    platform::testing::UiTestScope scope{platform::Size{375, 667}, false};
    std::shared_ptr<platform::Window> window = platform::View::make<platform::Window>();
    std::shared_ptr<platform::NavigationController> navigation =
        std::make_shared<platform::NavigationController>(
            std::make_shared<platform::ViewController>());

    Setting() {
        // The channels write each address to the log; the figures are what matters here.
        platform::setLogSink([](const std::string&) {});
        server.setHandler("GET", kNoticesPath, [this](const fakes::RecordedRequest& request) {
            fakes::Reply reply = routes.answer(request);
            reply.delay = kServiceTime;
            return reply;
        });
        server.start();
        ServiceConfig::shared().pointAllAt(server.baseUrl());
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        window->layoutIfNeeded();
    }
    ~Setting() {
        ServiceConfig::shared().reload();
        platform::setLogSink(nullptr);
    }
};

// One channel's first page, from sending to the reply handled on the main loop.
double oneRequestSeconds() {
    bool done = false;
    const auto start = std::chrono::steady_clock::now();
    NetTool::shareInstance().getWithURL(
        NetRequest::getAnnouncement(1, 1, 10), [&](const platform::Json&) { done = true; },
        [&](const NetError&) { done = true; });
    platform::RunLoop::main().runUntil([&] { return done; }, kBound);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool allChannelsShowPageOne(const AnnouncementViewController& hub) {
    if (hub.pages().size() != 5)
        return false;
    for (const auto& page : hub.pages()) {
        if (page->array().empty())
            return false;
    }
    return true;
}

void BM_OneChannelRequest(benchmark::State& state) {
    Setting setting;
    for (auto _ : state) {
        state.SetIterationTime(oneRequestSeconds());
    }
}
BENCHMARK(BM_OneChannelRequest)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_OpenNoticeHubUntilFiveChannelsShowPageOne(benchmark::State& state) {
    Setting setting;
    double single = 0;
    constexpr int kSingles = 10;
    for (int i = 0; i < kSingles; ++i) single += oneRequestSeconds() / kSingles;

    double total = 0;
    for (auto _ : state) {
        auto hub = std::make_shared<AnnouncementViewController>();
        const auto start = std::chrono::steady_clock::now();
        setting.navigation->pushViewController(hub, false);
        const bool shown = platform::RunLoop::main().runUntil(
            [&] { return allChannelsShowPageOne(*hub); }, kBound);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!shown) {
            state.SkipWithError("the channels did not all show page 1");
            break;
        }
        state.SetIterationTime(seconds);
        total += seconds;
        setting.navigation->popViewController(false);
    }
    if (state.iterations() > 0 && single > 0)
        state.counters["vs_one_request"] = total / double(state.iterations()) / single;
}
BENCHMARK(BM_OpenNoticeHubUntilFiveChannelsShowPageOne)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
