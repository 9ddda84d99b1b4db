// Decoding a code from a camera frame, as the capture stand-in does for every frame shown to
// the scanner: the bundled QR image held up in a 1280x720 frame of textured grey (the camera's
// high preset), and the same frame without any code (most frames a scanner sees). Target: a
// frame with a code decodes in under 40 ms.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/devices/CaptureDevice.h"
#include "platform/foundation/Bundle.h"
#include "platform/graphics/Image.h"

namespace {

constexpr int kFrameWidth = 1280;
constexpr int kFrameHeight = 720;

// A grey, slightly noisy background like a desk under room light, with the code (if any)
// pasted in the middle.
platform::Image frame(bool withCode) {
    std::vector<std::uint32_t> pixels(static_cast<size_t>(kFrameWidth) * kFrameHeight);
    std::uint32_t seed = 12345;
    for (auto& pixel : pixels) {
        seed = seed * 1103515245u + 12345u;
        const std::uint32_t grey = 150 + ((seed >> 16) % 40);
        pixel = 0xFF000000u | grey << 16 | grey << 8 | grey;
    }
    if (withCode) {
        const auto code = platform::Image::fromFile(platform::Bundle::main().resourcePath() /
                                                    "sample" / "qr-demo.png");
        if (code.isNull())
            std::abort();
        const int left = (kFrameWidth - code.pixelWidth()) / 2;
        const int top = (kFrameHeight - code.pixelHeight()) / 2;
        for (int y = 0; y < code.pixelHeight(); ++y) {
            for (int x = 0; x < code.pixelWidth(); ++x)
                pixels[static_cast<size_t>(top + y) * kFrameWidth + left + x] = code.pixelAt(x, y);
        }
    }
    return platform::Image::fromARGB(kFrameWidth, kFrameHeight, std::move(pixels));
}

void BM_DecodeQRFrom1280x720Frame(benchmark::State& state) {
    const auto image = frame(true);
    for (auto _ : state) {
        auto codes = platform::decodeMachineReadableCodes(image);
        if (codes.size() != 1)
            state.SkipWithError("the QR code was not found");
        benchmark::DoNotOptimize(codes);
    }
}
BENCHMARK(BM_DecodeQRFrom1280x720Frame)->Unit(benchmark::kMillisecond);

void BM_EmptyFrame1280x720(benchmark::State& state) {
    const auto image = frame(false);
    for (auto _ : state) {
        auto codes = platform::decodeMachineReadableCodes(image);
        benchmark::DoNotOptimize(codes);
    }
}
BENCHMARK(BM_EmptyFrame1280x720)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
