#pragma once

// PNG through Cairo's stream functions. Internal to the graphics library.

#include <optional>
#include <string>
#include <string_view>

#include "platform/graphics/Downsampler.h"

typedef struct _cairo_surface cairo_surface_t;

namespace platform::png {

bool looksLikePng(std::string_view bytes);
// Decoded row by row at the size `choose` gives, so the full-size picture is never held (an
// interlaced picture, whose rows come in passes, is held whole while it is decoded: those rows
// are in the working memory `choose` is told of, and it is refused beyond
// kMaxInterlacedPixels). Nothing when the bytes are not a PNG libpng can read.
inline constexpr long long kMaxInterlacedPixels = 16LL << 20;
std::optional<pixels::Bitmap> decode(std::string_view bytes,
                                     const pixels::ChooseDecodeSize& choose);
// Empty on failure.
std::string encode(cairo_surface_t* surface);

}  // namespace platform::png
