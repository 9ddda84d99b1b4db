#include "fakes/GeneratedImage.h"

#include "platform/graphics/BitmapContext.h"

namespace fakes {

namespace {

platform::Image drawCard(int width, int height, std::uint32_t seed) {
    auto channel = [&](int shift) {
        return 0.35f + 0.5f * static_cast<float>((seed >> shift) & 0xff) / 255.0f;
    };
    platform::BitmapContext context(width, height);
    const double w = width, h = height;
    context.fillRect({{0, 0}, {w, h}}, platform::Color::rgba(channel(0), channel(8), channel(16)));
    context.fillRect(
        {{0, h * 0.6}, {w, h * 0.4}},
        platform::Color::rgba(channel(0) * 0.6f, channel(8) * 0.6f, channel(16) * 0.6f));
    // A "sun", so the picture reads as a photo placeholder.
    context.fillEllipse({{w * 0.6, h * 0.15}, {h * 0.3, h * 0.3}},
                        platform::Color::whiteAlpha(1, 0.7f));
    return context.makeImage();
}

}  // namespace

std::string generatedPng(int width, int height, std::uint32_t seed) {
    return drawCard(width, height, seed).pngData();
}

std::string generatedJpeg(int width, int height, std::uint32_t seed) {
    return drawCard(width, height, seed).jpegData(0.8);
}

}  // namespace fakes
