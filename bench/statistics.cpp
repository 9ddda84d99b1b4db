// One enrolment statistics reply of 5,000 rows, from the reply's text to the table showing its
// first screenful: decoding the JSON, filling the 5,000 records, and laying out the visible
// rows (their cells made and filled). The reply is decoded as the HTTP client decodes every
// reply, and shown as the screen shows a successful one. Target: under 15 ms. Run by hand:
// build/bench/statistics.

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

#include "career/NewStatisticsViewController.h"
#include "client/NetTool.h"
#include "client/ServiceConfig.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/Json.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/HttpClient.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Window.h"

namespace {

constexpr int kRows = 5000;
const char* const kMimeType = "application/json";

// A reply as the service would send it for a level with many classes.
std::string replyText() {
    platform::Json rows = platform::Json::array();
    for (int i = 0; i < kRows; ++i) {
        const int admitted = 30 + i % 20;
        const int reported = admitted - i % 5;
        const int paid = reported - i % 3;
        rows.push_back({{"YXSH", "0" + std::to_string(10 + i % 40)},
                        {"XY", "第" + std::to_string(i % 40) + "学院"},
                        {"LQZYDM", std::to_string(80000 + i % 300)},
                        {"LQZYMC", "专业" + std::to_string(i % 300)},
                        {"BJ", "班级" + std::to_string(i)},
                        {"LQ", admitted},
                        {"BD", reported},
                        {"BDBFB", std::to_string(reported * 100 / admitted) + ".00%"},
                        {"CW", paid},
                        {"CWBFB", std::to_string(paid * 100 / admitted) + ".00%"}});
    }
    platform::Json info = platform::Json::array({{{"DQNF", "2024"},
                                                  {"ZSZRS", 200000},
                                                  {"BDZRS", 190000},
                                                  {"CWJFZRS", 180000},
                                                  {"WDRS", 10000}}});
    return platform::Json{{"info", info}, {"xytj", rows}}.dump();
}

void BM_ShowFiveThousandRowReply(benchmark::State& state) {
    platform::setLogSink([](const std::string&) {});
    fakes::FakeSchoolServices server;
    server.start();
    ServiceConfig::shared().pointAllAt(server.baseUrl());
    {
        platform::testing::UiTestScope scope{platform::Size{375, 667}, false};
        auto window = platform::View::make<platform::Window>();
        auto screen = std::make_shared<NewStatisticsViewController>();
        auto navigation = std::make_shared<platform::NavigationController>(screen);
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        window->layoutIfNeeded();
        // The screen's own first load, out of the way before measuring.
        platform::RunLoop::main().runUntil(
            [] { return platform::HttpClient::shared().inFlight() == 0; },
            std::chrono::seconds(10));

        const std::string text = replyText();
        for (auto _ : state) {
            const auto start = std::chrono::steady_clock::now();
            {
                // The document goes at the end of the reply's handling, as in the client.
                platform::Json reply;
                std::string whyNot;
                if (!decodeJSONReply(200, kMimeType, text, reply, whyNot)) {
                    state.SkipWithError(whyNot.c_str());
                    break;
                }
                screen->showReply(reply);
                window->layoutIfNeeded();
            }
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            if (screen->dataArray().size() != kRows ||
                screen->myTableView()->visibleCells().empty()) {
                state.SkipWithError("the reply's rows did not show");
                break;
            }
            state.SetIterationTime(seconds);
        }
        state.counters["visible_rows"] =
            static_cast<double>(screen->myTableView()->visibleCells().size());
        state.counters["reply_bytes"] = static_cast<double>(text.size());
    }
    ServiceConfig::shared().reload();
    platform::setLogSink(nullptr);
}
BENCHMARK(BM_ShowFiveThousandRowReply)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
