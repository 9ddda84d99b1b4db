#pragma once

#include <cstdint>
#include <string>

namespace fakes {

// Small pictures for the school web site's image paths: a coloured card whose colour follows
// the seed, so different news items show different thumbnails. Empty on an encoder failure.
std::string generatedPng(int width, int height, std::uint32_t seed);
std::string generatedJpeg(int width, int height, std::uint32_t seed);

}  // namespace fakes
