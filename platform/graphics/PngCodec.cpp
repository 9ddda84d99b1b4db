#include "platform/graphics/PngCodec.h"

#include <cairo.h>
#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/graphics/PixelFormat.h"

namespace platform::png {

namespace {

constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

cairo_status_t writeChunk(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

struct ReadCursor {
    std::string_view bytes;
    std::size_t offset = 0;
};

void readBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* cursor = static_cast<ReadCursor*>(png_get_io_ptr(png));
    if (cursor->bytes.size() - cursor->offset < length) {
        png_error(png, "truncated");
    }
    std::memcpy(data, cursor->bytes.data() + cursor->offset, length);
    cursor->offset += length;
}

[[noreturn]] void onError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

// Damaged ancillary data would be reported on stderr; the picture decodes as far as it can.
void ignoreWarning(png_structp, png_const_charp) {}

// What libpng holds of a decode's memory, and what it may: the working memory reserved for the
// decode, and before the header is read enough for the header and one chunk. libpng asks here
// for every allocation it makes, so a decode that would keep more (chunks that ought to be
// skipped, say) is found out and fails rather than take it.
struct Allocations {
    std::size_t held = 0;
    std::size_t limit = 0;
    bool refused = false;
};

// Each block carries its size in front, so that freeing it gives back what it held; 16 bytes
// keep the block aligned for anything.
constexpr std::size_t kBlockHeader = 16;

png_voidp allocate(png_structp png, png_alloc_size_t size) {
    auto* allocations = static_cast<Allocations*>(png_get_mem_ptr(png));
    if (size > allocations->limit - std::min(allocations->held, allocations->limit) ||
        size > SIZE_MAX - kBlockHeader) {
        allocations->refused = true;
        return nullptr;
    }
    auto* block = static_cast<unsigned char*>(std::malloc(size + kBlockHeader));
    if (!block) {
        return nullptr;
    }
    std::memcpy(block, &size, sizeof size);
    allocations->held += size;
    return block + kBlockHeader;
}

void deallocate(png_structp png, png_voidp pointer) {
    if (!pointer) {
        return;
    }
    auto* allocations = static_cast<Allocations*>(png_get_mem_ptr(png));
    unsigned char* block = static_cast<unsigned char*>(pointer) - kBlockHeader;
    png_alloc_size_t size = 0;
    std::memcpy(&size, block, sizeof size);
    allocations->held -= std::min<std::size_t>(size, allocations->held);
    std::free(block);
}

struct DecodeJob {
    Allocations allocations;
    png_structp png = nullptr;
    png_infop info = nullptr;
    ReadCursor cursor;
    std::vector<unsigned char> rows;  // one row, or every row of an interlaced picture
    std::optional<pixels::Downsampler> downsampler;
    ~DecodeJob() { png_destroy_read_struct(&png, &info, nullptr); }
};

// An RGBA pixel as a straight ARGB word, as it comes out of a premultiplied surface (as
// pictures decoded through Cairo always did): a fully transparent pixel loses its colour.
std::uint32_t argbAt(const unsigned char* rgba, int x) {
    const unsigned char* p = rgba + static_cast<std::size_t>(x) * 4;
    const std::uint32_t pixel =
        std::uint32_t{p[3]} << 24 | std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
    return pixels::unpremultiply(pixels::premultiply(pixel));
}

// A chunk libpng reads whole (the palette, transparency) is never larger than this.
constexpr std::size_t kMaxChunkBytes = 1 << 20;
constexpr png_uint_32 kMaxCachedChunks = 16;
// What libpng may hold until the header tells how much the decode needs: its own structures,
// the inflater and one chunk.
constexpr std::size_t kHeaderBytes = (std::size_t{256} << 10) + kMaxChunkBytes;

// The most a decode holds besides the target pixels: libpng's two row buffers (a row of
// 16-bit RGBA at most, before our transforms), the inflater's state and window, one chunk,
// our own row or, for an interlaced picture, every row, and the Downsampler.
std::size_t workingBytes(int width, int height, bool interlaced) {
    const std::size_t w = static_cast<std::size_t>(width);
    const std::size_t rows = interlaced ? static_cast<std::size_t>(height) : 1;
    return (std::size_t{256} << 10) + kMaxChunkBytes + 2 * (w * 8 + 64) + w * 4 * rows +
           pixels::Downsampler::workingBytes(width, height);
}

// Everything that needs freeing lives in the job, so a jump out of libpng leaks nothing.
bool runDecode(DecodeJob* job, const pixels::ChooseDecodeSize& choose) {
    png_structp png = job->png;
    png_infop info = job->info;
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_read_fn(png, &job->cursor, readBytes);
    // Only the pixels are drawn: every ancillary chunk but transparency (text, compressed text,
    // colour profiles, times, palettes' histograms ...) is skipped unread rather than inflated
    // and kept with the picture, as libpng otherwise does, up to a thousand of them.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    // Should any chunk still be kept, no more than a few, none larger than this.
    png_set_chunk_cache_max(png, kMaxCachedChunks);
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_set_user_limits(png, pixels::kMaxSide, pixels::kMaxSide);
    // The chunks' own checksums guard the data; zlib's second one over the inflated bytes is
    // a fifth of a large picture's decoding time.
    png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
    png_read_info(png, info);
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colorType = 0, interlace = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlace, nullptr, nullptr);
    if (!pixels::acceptableSize(width, height)) {
        return false;
    }
    if (colorType == PNG_COLOR_TYPE_PALETTE)
        png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8)
        png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS))
        png_set_tRNS_to_alpha(png);
    if (bitDepth == 16)
        png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    const int passes = png_set_interlace_handling(png);
    // Each pass fills in more of every row: the whole picture is needed until the last one.
    if (passes > 1 && static_cast<long long>(width) * height > kMaxInterlacedPixels) {
        return false;
    }
    const auto w = static_cast<int>(width);
    const auto h = static_cast<int>(height);
    // Chosen before libpng makes its row buffers and inflater, which are then counted.
    const std::size_t working = workingBytes(w, h, passes > 1);
    const pixels::DecodeSize target = choose(w, h, working);
    if (target.width <= 0 || target.height <= 0) {
        return false;
    }
    job->allocations.limit = working;
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * 4) {
        return false;
    }
    const std::size_t rowBytes = static_cast<std::size_t>(w) * 4;
    job->downsampler.emplace(w, h, target.width, target.height);
    if (passes == 1) {
        job->rows.resize(rowBytes);
        for (int y = 0; y < h; ++y) {
            png_read_row(png, job->rows.data(), nullptr);
            const unsigned char* row = job->rows.data();
            job->downsampler->addRowWith([row](int x) { return argbAt(row, x); });
        }
        return true;
    }
    job->rows.assign(rowBytes * h, 0);
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < h; ++y)
            png_read_row(png, job->rows.data() + rowBytes * static_cast<std::size_t>(y), nullptr);
    }
    for (int y = 0; y < h; ++y) {
        const unsigned char* row = job->rows.data() + rowBytes * static_cast<std::size_t>(y);
        job->downsampler->addRowWith([row](int x) { return argbAt(row, x); });
    }
    return true;
}

}  // namespace

bool looksLikePng(std::string_view bytes) {
    return bytes.size() >= sizeof kSignature &&
           std::memcmp(bytes.data(), kSignature, sizeof kSignature) == 0;
}

std::optional<pixels::Bitmap> decode(std::string_view bytes,
                                     const pixels::ChooseDecodeSize& choose) {
    if (!looksLikePng(bytes)) {
        return std::nullopt;
    }
    auto job = std::make_unique<DecodeJob>();
    job->allocations.limit = kHeaderBytes;
    job->png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, onError, ignoreWarning,
                                        &job->allocations, allocate, deallocate);
    job->info = job->png ? png_create_info_struct(job->png) : nullptr;
    if (!job->info) {
        return std::nullopt;
    }
    job->cursor.bytes = bytes;
    if (!runDecode(job.get(), choose) || !job->downsampler || job->allocations.refused) {
        return std::nullopt;
    }
    return job->downsampler->take();
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
