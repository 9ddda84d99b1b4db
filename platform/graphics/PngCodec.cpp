#include "platform/graphics/PngCodec.h"

#include <cairo.h>
#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <vector>

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

namespace {

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    static_cast<std::string*>(png_get_io_ptr(png))
        ->append(reinterpret_cast<const char*>(data), length);
}

void flushNothing(png_structp) {}

// Rows of a premultiplied ARGB32 surface as straight RGBA, through libpng with fast settings:
// screenshots and drawn pictures are mostly flat colour, which the Sub filter and zlib's fastest
// level already pack well, at a fraction of the default settings' time.
bool encodeArgb(cairo_surface_t* surface, std::string& out) {
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    if (!data || width <= 0 || height <= 0) {
        return false;
    }
    std::vector<unsigned char> row(static_cast<std::size_t>(width) * 4);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, appendBytes, flushNothing);
    png_set_compression_level(png, 1);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE,
                 PNG_FILTER_TYPE_BASE);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const auto* pixel = reinterpret_cast<const std::uint32_t*>(data + std::size_t(y) * stride);
        unsigned char* target = row.data();
        for (int x = 0; x < width; ++x, target += 4) {
            const std::uint32_t argb = pixel[x];
            const unsigned alpha = argb >> 24;
            unsigned r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
            if (alpha != 0xFF && alpha != 0) {
                r = (r * 255 + alpha / 2) / alpha;
                g = (g * 255 + alpha / 2) / alpha;
                b = (b * 255 + alpha / 2) / alpha;
            }
            target[0] = static_cast<unsigned char>(r);
            target[1] = static_cast<unsigned char>(g);
            target[2] = static_cast<unsigned char>(b);
            target[3] = static_cast<unsigned char>(alpha);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

std::string encode(cairo_surface_t* surface) {
    std::string out;
    if (!surface) {
        return {};
    }
    cairo_surface_flush(surface);
    if (cairo_surface_get_type(surface) == CAIRO_SURFACE_TYPE_IMAGE &&
        cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32) {
        if (!encodeArgb(surface, out)) {
            return {};
        }
        return out;
    }
    if (cairo_surface_write_to_png_stream(surface, writeChunk, &out) != CAIRO_STATUS_SUCCESS) {
        return {};
    }
    return out;
}

}  // namespace platform::png
