// The client's screen in a desktop window (SDL's offscreen driver unless SDL_VIDEODRIVER says
// otherwise), on the real clock as the program runs it, against the fake school services:
// - click_to_frame: from a click on a home tile to the first frame of the pushed screen in
//   the window (the click's events handled, the screen pushed, drawn at 2x and shown);
//   target under 40 ms.
// - idle_cpu: the window idle on the home page for some wall seconds; "cpu_percent" (user +
//   system time of the process over wall time, getrusage) should stay under 1 (% of a core).
// Run by hand: build/bench/window.

#include "platform/ui/Window.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "client/ServiceConfig.h"
#include "client/SignInState.h"
#include "components/sidemenu/SideViewController.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/desktop/DesktopWindow.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/net/HttpClient.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/Application.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/View.h"
#include "shell/AppDelegate.h"

namespace {

constexpr auto kBound = std::chrono::seconds(10);

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// A signed-in teacher's home page (introduction seen) on the demo data, in a window.
struct Setting {
    std::filesystem::path home;
    fakes::FakeSchoolServices server;
    std::unique_ptr<platform::testing::UiTestScope> scope;
    std::shared_ptr<AppDelegate> delegate;
    std::unique_ptr<platform::desktop::DesktopWindow> window;
    platform::testing::UIDriver driver;

    Setting() {
        ::setenv("SDL_VIDEODRIVER", "offscreen", 0);
        home = std::filesystem::temp_directory_path() /
               ("campus-window-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(home);
        ::setenv("CAMPUS_HOME", home.c_str(), 1);
        platform::setLogSink([](const std::string&) {});
        server.start();
        ServiceConfig::shared().pointAllAt(server.baseUrl());
        scope = std::make_unique<platform::testing::UiTestScope>(platform::Size{375, 667}, false);
        platform::UserDefaults::resetStandard();
        auto& defaults = platform::UserDefaults::standard();
        defaults.setBool(true, SignInKey::firstLaunch);
        defaults.setString(platform::Bundle::main().shortVersionString(), SignInKey::appCurVersion);
        defaults.setBool(true, SignInKey::isLogin);
        defaults.setString("20050031", SignInKey::UserId);
        defaults.setBool(true, SignInKey::LoginTypeTeacher);
        defaults.synchronize();
        delegate = AppDelegate::launchApplication();
        settle();
        window =
            std::make_unique<platform::desktop::DesktopWindow>(platform::Application::shared());
        window->pump(std::chrono::milliseconds(0));
    }
    ~Setting() {
        window.reset();
        server.stop();
        settle();
        delegate.reset();
        scope.reset();
        ServiceConfig::shared().reload();
        platform::UserDefaults::resetStandard();
        platform::setLogSink(nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(home, ignored);
    }

    // Every reply asked for is handled and the transitions are over.
    void settle() {
        platform::RunLoop::main().runUntil(
            [] { return platform::HttpClient::shared().inFlight() == 0; }, kBound);
        platform::RunLoop::main().runFor(std::chrono::milliseconds(400));
    }

    std::shared_ptr<platform::NavigationController> homeStack() const {
        auto tabs = std::dynamic_pointer_cast<platform::TabBarController>(
            delegate->sideViewController()->rootViewController());
        return std::dynamic_pointer_cast<platform::NavigationController>(
            tabs->viewControllers().front());
    }
};

void click_to_frame(benchmark::State& state) {
    Setting setting;
    auto tile = setting.driver.find("通知公告");
    if (!tile) {
        state.SkipWithError("no tile on the home page");
        return;
    }
    platform::Rect rect = tile->convertRectTo(tile->bounds(), nullptr);
    const double scale = setting.window->scale();
    const platform::Point pixel{rect.midX() * scale, rect.midY() * scale};
    for (auto _ : state) {
        const auto frames = setting.window->framesPresented();
        setting.window->postMouseButton(pixel, true);
        setting.window->postMouseButton(pixel, false);
        setting.window->pump(std::chrono::milliseconds(0));
        while (setting.window->framesPresented() == frames) {
            setting.window->pump(std::chrono::milliseconds(5));
        }
        state.PauseTiming();
        if (setting.homeStack()->viewControllers().size() != 2) {
            state.SkipWithError("the click pushed no screen");
            break;
        }
        setting.settle();
        setting.homeStack()->popViewController(false);
        setting.window->pump(std::chrono::milliseconds(0));
        state.ResumeTiming();
    }
}
BENCHMARK(click_to_frame)->Unit(benchmark::kMillisecond)->Iterations(20);

void idle_cpu(benchmark::State& state) {
    Setting setting;
    setting.settle();
    setting.window->pump(std::chrono::milliseconds(0));
    constexpr auto kIdle = std::chrono::seconds(3);
    double percent = 0;
    for (auto _ : state) {
        const auto frames = setting.window->framesPresented();
        const double cpuBefore = cpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() - start < kIdle) {
            setting.window->pump(std::chrono::milliseconds(500));
        }
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        percent = (cpuSeconds() - cpuBefore) / wall * 100;
        state.counters["frames"] = double(setting.window->framesPresented() - frames);
    }
    state.counters["cpu_percent"] = percent;
}
BENCHMARK(idle_cpu)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
