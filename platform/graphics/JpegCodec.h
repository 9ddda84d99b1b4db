#pragma once

// JPEG through libjpeg-turbo. Internal to the graphics library.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/graphics/Downsampler.h"
#include "platform/graphics/ImageOrientation.h"

namespace platform::jpeg {

using Bitmap = pixels::Bitmap;

bool looksLikeJpeg(std::string_view bytes);
// Decoded at the size `choose` gives (libjpeg's own scaling down to the nearest eighth at or
// above it, the rest averaged row by row), so the full-size picture is never held. A picture
// sent in several scans (progressive) still makes libjpeg hold its coefficients whole: that is
// in the working memory `choose` is told of, and libjpeg is held to it.
std::optional<Bitmap> decode(std::string_view bytes, const pixels::ChooseDecodeSize& choose);
// argb is straight (not premultiplied); alpha is dropped as if drawn over black. quality is
// libjpeg's 1..100. Empty on failure.
std::string encode(const std::vector<std::uint32_t>& argb, int width, int height, int quality,
                   ImageOrientation orientation);

}  // namespace platform::jpeg
