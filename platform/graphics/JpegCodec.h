#pragma once

// JPEG through libjpeg-turbo. Internal to the graphics library.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/graphics/ImageOrientation.h"

namespace platform::jpeg {

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;                      // opaque 0xFFRRGGBB, row by row
    ImageOrientation orientation = ImageOrientation::Up;  // from the EXIF block, if any
};

bool looksLikeJpeg(std::string_view bytes);
std::optional<Bitmap> decode(std::string_view bytes);
// argb is straight (not premultiplied); alpha is dropped as if drawn over black. quality is
// libjpeg's 1..100. Empty on failure.
std::string encode(const std::vector<std::uint32_t>& argb, int width, int height, int quality,
                   ImageOrientation orientation);

}  // namespace platform::jpeg
