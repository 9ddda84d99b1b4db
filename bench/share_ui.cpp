// The share edit screen's costs: laying it out and drawing it with a 140-character text (target
// under 15 ms), and its counter over a long text full of links (target under 2 ms).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "SocialSDK/screens/SHShareEditCounter.h"
#include "SocialSDK/screens/SHShareEditViewController.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialData.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TextView.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

namespace {

std::string text140() {
    std::string text;
    for (int i = 0; i < 70; ++i) text += "校";
    for (int i = 0; i < 70; ++i) text += char('a' + i % 26);
    return text;
}

void BM_EditScreenLayoutAndRender(benchmark::State& state) {
    platform::testing::UiTestScope scope;
    platform::testing::UIDriver driver;
    auto window = platform::View::make<platform::Window>();
    auto service = std::make_shared<SHSocialControllerService>(SHSocialData::defaultData());
    service->currentSnsPlatformName = "qzone";
    const std::string path = "/tmp/share_ui_bench.png";
    for (auto _ : state) {
        auto edit = std::make_shared<SHShareEditViewController>(service);
        auto navigation = std::make_shared<platform::NavigationController>(edit);
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        edit->textView()->setText(text140());
        edit->updateCountLabel();
        benchmark::DoNotOptimize(driver.screenshot(path));
    }
}
BENCHMARK(BM_EditScreenLayoutAndRender)->Unit(benchmark::kMillisecond);

void BM_EditCounterLongTextWithLinks(benchmark::State& state) {
    std::string text;
    // 500 links of 19 characters, each followed by a space: 10,000 characters.
    for (int i = 0; i < 500; ++i)
        text += std::string("http://") + char('a' + i % 26) + ".lanxi.test ";
    for (auto _ : state)
        benchmark::DoNotOptimize(SHShareEditCounter::charactersLeft(text, "qzone", false));
    // Every link counted as 11 in place of its own half length.
    state.counters["left"] = double(*SHShareEditCounter::charactersLeft(text, "qzone", false));
    state.counters["chars"] = double(text.size());
}
BENCHMARK(BM_EditCounterLongTextWithLinks)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
