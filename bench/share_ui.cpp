// The share edit screen's costs: laying it out and drawing it with a 140-character text and a
// picture (target under 15 ms), and its counter over a long text full of links (target under
// 2 ms).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "SocialSDK/screens/SHShareEditCounter.h"
#include "SocialSDK/screens/SHShareEditViewController.h"
#include "SocialSDK/service/SHSocialAccountEntity.h"
#include "SocialSDK/service/SHSocialAccountManager.h"
#include "SocialSDK/service/SHSocialControllerService.h"
#include "SocialSDK/service/SHSocialData.h"
#include "platform/graphics/Image.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Renderer.h"
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

// A camera-sized picture with some detail, as a page's share picture would be.
platform::Image photo() {
    constexpr int kWidth = 640;
    constexpr int kHeight = 480;
    std::vector<std::uint32_t> argb(std::size_t(kWidth) * kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            argb[std::size_t(y) * kWidth + std::size_t(x)] =
                0xff000000u | std::uint32_t((x * 255 / kWidth) << 16) |
                std::uint32_t((y * 255 / kHeight) << 8) | std::uint32_t((x ^ y) & 0xff);
    return platform::Image::fromARGB(kWidth, kHeight, std::move(argb));
}

void BM_EditScreenLayoutAndRender(benchmark::State& state) {
    // The account panel's account is stored, so its own home for the run.
    const auto home = std::filesystem::temp_directory_path() / "campus-share-ui-bench";
    std::filesystem::create_directories(home);
    ::setenv("CAMPUS_HOME", home.c_str(), 1);
    platform::testing::UiTestScope scope;
    platform::testing::UIDriver driver;
    auto window = platform::View::make<platform::Window>();
    auto service = std::make_shared<SHSocialControllerService>(SHSocialData::defaultData());
    service->currentSnsPlatformName = "qzone";
    // A named account, so the panel asks the service for nothing.
    auto account = std::make_shared<SHSocialAccountEntity>("qzone");
    account->usid = "bench-1";
    account->userName = "兰溪同学";
    SHSocialAccountManager::setSnsAccount(account);
    SHSocialData::defaultData()->setShareImage(photo());
    std::string png;
    for (auto _ : state) {
        auto edit = std::make_shared<SHShareEditViewController>(service);
        auto navigation = std::make_shared<platform::NavigationController>(edit);
        window->setRootViewController(navigation);
        window->makeKeyAndVisible();
        edit->textView()->setText(text140());
        edit->updateCountLabel();
        if (!edit->holdsPicture())
            state.SkipWithError("the edit screen shows no picture");
        // The PNG in memory, as the screenshot makes it, without the file system's time.
        window->layoutIfNeeded();
        png = platform::renderToImage(*window).pngData();
        benchmark::DoNotOptimize(png.data());
    }
    state.counters["pngBytes"] = double(png.size());
    // The last one, to look at.
    driver.screenshot("/tmp/share_ui_bench.png");
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
