#pragma once

// Conversions between the straight 0xAARRGGBB the image API speaks and the premultiplied
// pixels Cairo stores. Internal to the graphics library.

#include <cstdint>

namespace platform::pixels {

inline std::uint32_t premultiply(std::uint32_t argb) {
    std::uint32_t alpha = argb >> 24;
    if (alpha == 0xFF) {
        return argb;
    }
    if (alpha == 0) {
        return 0;
    }
    auto scale = [alpha](std::uint32_t c) { return (c * alpha + 127) / 255; };
    return alpha << 24 | scale((argb >> 16) & 0xFF) << 16 | scale((argb >> 8) & 0xFF) << 8 |
           scale(argb & 0xFF);
}

inline std::uint32_t unpremultiply(std::uint32_t premultiplied) {
    std::uint32_t alpha = premultiplied >> 24;
    if (alpha == 0xFF) {
        return premultiplied;
    }
    if (alpha == 0) {
        return 0;
    }
    auto unscale = [alpha](std::uint32_t c) {
        std::uint32_t value = (c * 255 + alpha / 2) / alpha;
        return value > 255 ? 255u : value;
    };
    return alpha << 24 | unscale((premultiplied >> 16) & 0xFF) << 16 |
           unscale((premultiplied >> 8) & 0xFF) << 8 | unscale(premultiplied & 0xFF);
}

// Largest bitmap any decoder or constructor accepts: Cairo's side limit, and a pixel budget
// that keeps a hostile header from asking for gigabytes.
inline constexpr int kMaxSide = 32767;
inline constexpr long long kMaxPixels = 1LL << 26;

inline bool acceptableSize(long long width, long long height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
           width * height <= kMaxPixels;
}

}  // namespace platform::pixels
