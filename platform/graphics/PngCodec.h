#pragma once

// PNG through Cairo's stream functions. Internal to the graphics library.

#include <string>
#include <string_view>

typedef struct _cairo_surface cairo_surface_t;

namespace platform::png {

bool looksLikePng(std::string_view bytes);
// An owned image surface, or null when the bytes are not a PNG Cairo can read.
cairo_surface_t* decode(std::string_view bytes);
// Empty on failure.
std::string encode(cairo_surface_t* surface);

}  // namespace platform::png
