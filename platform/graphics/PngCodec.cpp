#include "platform/graphics/PngCodec.h"

#include <cairo.h>

#include <cstring>

#include "platform/graphics/PixelFormat.h"

namespace platform::png {

namespace {

constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

struct ReadCursor {
    std::string_view bytes;
    std::size_t offset = 0;
};

cairo_status_t readChunk(void* closure, unsigned char* data, unsigned int length) {
    auto* cursor = static_cast<ReadCursor*>(closure);
    if (cursor->bytes.size() - cursor->offset < length) {
        return CAIRO_STATUS_READ_ERROR;
    }
    std::memcpy(data, cursor->bytes.data() + cursor->offset, length);
    cursor->offset += length;
    return CAIRO_STATUS_SUCCESS;
}

cairo_status_t writeChunk(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

long long readBigEndian32(std::string_view bytes, std::size_t at) {
    long long value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

}  // namespace

bool looksLikePng(std::string_view bytes) {
    return bytes.size() >= sizeof kSignature &&
           std::memcmp(bytes.data(), kSignature, sizeof kSignature) == 0;
}

cairo_surface_t* decode(std::string_view bytes) {
    // The header's size is checked before Cairo allocates for it: signature, chunk length,
    // "IHDR", then width and height.
    if (!looksLikePng(bytes) || bytes.size() < 24 || bytes.substr(12, 4) != "IHDR" ||
        !pixels::acceptableSize(readBigEndian32(bytes, 16), readBigEndian32(bytes, 20))) {
        return nullptr;
    }
    ReadCursor cursor{bytes};
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(readChunk, &cursor);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    return surface;
}

std::string encode(cairo_surface_t* surface) {
    std::string out;
    if (!surface ||
        cairo_surface_write_to_png_stream(surface, writeChunk, &out) != CAIRO_STATUS_SUCCESS) {
        return {};
    }
    return out;
}

}  // namespace platform::png
