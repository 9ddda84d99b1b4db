// A news reply of 300,000 items (about 24 MB, inside the body limit) as the home page's first
// page: from launch until every row is taken in and the screen is drawn, in a fresh client
// process each time (news_flood_probe), with the services in a child of their own.
//
//   build/bench/news_flood
//
// Target: under 2 s and under 400 MB peak.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

std::filesystem::path probePath() {
    return std::filesystem::canonical("/proc/self/exe").parent_path() / "news_flood_probe";
}

void BM_HomePageShowsHugeNewsReply(benchmark::State& state) {
    const std::string command = probePath().string() + " " + std::to_string(state.range(0));
    double seconds = 0;
    double cpu = 0;
    double peakKiB = 0;
    double bodyBytes = 0;
    int runs = 0;
    for (auto _ : state) {
        std::FILE* probe = popen(command.c_str(), "r");
        char verdict[16] = {};
        std::size_t rows = 0;
        std::size_t body = 0;
        double runSeconds = 0;
        double runCpu = 0;
        long peak = 0;
        const int read = probe ? std::fscanf(probe, "%15s %zu %zu %lf %lf %ld", verdict, &rows,
                                             &body, &runSeconds, &runCpu, &peak)
                               : 0;
        if (probe)
            pclose(probe);
        if (read != 6 || std::string(verdict) != "ok") {
            state.SkipWithError("the probe did not show every row");
            break;
        }
        state.SetIterationTime(runSeconds);
        seconds += runSeconds;
        cpu += runCpu;
        peakKiB = std::max(peakKiB, static_cast<double>(peak));
        bodyBytes = static_cast<double>(body);
        ++runs;
    }
    if (runs > 0) {
        state.counters["cpu_s"] = cpu / runs;
        state.counters["peak_MiB"] = peakKiB / 1024.0;
        state.counters["body_MB"] = bodyBytes / 1e6;
    }
}
BENCHMARK(BM_HomePageShowsHugeNewsReply)
    ->Arg(300000)
    ->Iterations(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
