#pragma once

// Colours and pictures the graphics tests draw with and compare against.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/graphics/Image.h"

namespace pixeltest {

inline constexpr std::uint32_t kRed = 0xFFFF0000;
inline constexpr std::uint32_t kGreen = 0xFF00FF00;
inline constexpr std::uint32_t kBlue = 0xFF0000FF;
inline constexpr std::uint32_t kWhite = 0xFFFFFFFF;

// w × h pixels in four quadrants: red top-left, green top-right, blue bottom-left, white
// bottom-right.
inline platform::Image quadrants(int w, int h, double scale = 1,
                                 platform::ImageOrientation o = platform::ImageOrientation::Up) {
    std::vector<std::uint32_t> argb;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            bool right = x >= w / 2;
            bool bottom = y >= h / 2;
            argb.push_back(bottom ? (right ? kWhite : kBlue) : (right ? kGreen : kRed));
        }
    }
    return platform::Image::fromARGB(w, h, std::move(argb), scale, o);
}

// The largest difference of any one channel (alpha included) between two ARGB pixels.
inline int channelDistance(std::uint32_t a, std::uint32_t b) {
    int worst = 0;
    for (int shift : {0, 8, 16, 24}) {
        int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        worst = std::max(worst, std::abs(d));
    }
    return worst;
}

}  // namespace pixeltest
