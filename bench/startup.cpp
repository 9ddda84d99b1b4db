// Startup: from process start to the home page showing page 1 of the news, fetched from the
// fake services on loopback, and the peak memory of that run. Each iteration starts a fresh
// client process (startup_probe) on a fresh data directory, so every run is a first launch.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "fakes/FakeSchoolServices.h"

namespace {

std::filesystem::path probePath() {
    return std::filesystem::canonical("/proc/self/exe").parent_path() / "startup_probe";
}

void BM_StartupToFirstNewsPage(benchmark::State& state) {
    fakes::FakeSchoolServices server;
    server.start();
    setenv("CAMPUS_SERVICES", server.baseUrl().c_str(), 1);
    double peakKiB = 0;
    double startupSeconds = 0;
    int runs = 0;
    for (auto _ : state) {
        auto home =
            std::filesystem::temp_directory_path() / ("campus-startup-" + std::to_string(runs));
        std::filesystem::remove_all(home);
        setenv("CAMPUS_HOME", home.c_str(), 1);
        std::FILE* probe = popen(probePath().c_str(), "r");
        char verdict[16] = {};
        double seconds = 0;
        long maxRss = 0;
        int read = probe ? std::fscanf(probe, "%15s %lf %ld", verdict, &seconds, &maxRss) : 0;
        if (probe)
            pclose(probe);
        std::filesystem::remove_all(home);
        if (read != 3 || std::string(verdict) != "ok") {
            state.SkipWithError("the probe did not reach the first news page");
            break;
        }
        startupSeconds += seconds;
        peakKiB = std::max(peakKiB, static_cast<double>(maxRss));
        ++runs;
    }
    if (runs > 0) {
        state.counters["startup_ms"] = startupSeconds / runs * 1000.0;
        state.counters["peak_MiB"] = peakKiB / 1024.0;
    }
}
BENCHMARK(BM_StartupToFirstNewsPage)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
