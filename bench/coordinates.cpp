// Coordinate conversion throughput on one core: the location service's chain for a million
// fixes (WGS-84 to the vendor's offset Mercator metres and back to degrees), and the
// degrees-metres round trip. Targets: 5 million and 10 million a second.
#include <benchmark/benchmark.h>

#include <vector>

#include "location/CoordinateConversion.h"
#include "location/LMAppTools.h"

namespace {

// A million fixes on a walk across the offset region, every one a changed position.
std::vector<LMPoint> fixes() {
    std::vector<LMPoint> points;
    points.reserve(1'000'000);
    for (int i = 0; i < 1'000'000; ++i) {
        points.push_back({100.0 + (i % 1000) * 0.031, 22.0 + (i / 1000) * 0.017});
    }
    return points;
}

void BM_ConvertMillionFixes(benchmark::State& state) {
    const auto points = fixes();
    for (auto _ : state) {
        for (const LMPoint& p : points) {
            const LMPoint ll =
                Ld09MCToLL(LMAppTools::CoordinateEncrypt(p.x, p.y, LMAppTools::kWgs84LonLat));
            benchmark::DoNotOptimize(ll);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size()));
    Gcj02EncryptState::shared().reset();
}
BENCHMARK(BM_ConvertMillionFixes)->Unit(benchmark::kMillisecond);

void BM_DegreesMetresRoundTrip(benchmark::State& state) {
    const auto points = fixes();
    for (auto _ : state) {
        for (const LMPoint& p : points) {
            const LMPoint back = Ld09MCToLL(Ld09LLToMC(p));
            benchmark::DoNotOptimize(back);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(points.size()));
}
BENCHMARK(BM_DegreesMetresRoundTrip)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
