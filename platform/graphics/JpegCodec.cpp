#include "platform/graphics/JpegCodec.h"

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE declared first
#include <jpeglib.h>
// clang-format on

#include <algorithm>
#include <csetjmp>
#include <cstdlib>
#include <memory>
#include <optional>

#include "platform/graphics/PixelFormat.h"

namespace platform::jpeg {

namespace {

// libjpeg reports fatal errors through a callback that must not return; we jump back to the
// call that started the work. Only libjpeg's C frames are skipped by the jump.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void onFatalError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

// Warnings about damaged data would go to stderr; a damaged image decodes as far as it can.
void onMessage(j_common_ptr) {}

void installErrorManager(ErrorManager& errors) {
    jpeg_std_error(&errors.base);
    errors.base.error_exit = onFatalError;
    errors.base.output_message = onMessage;
}

constexpr unsigned kExifMarker = JPEG_APP0 + 1;

// EXIF orientation values 1..8 in the phone's terms.
ImageOrientation orientationFromExif(unsigned value) {
    switch (value) {
        case 2:
            return ImageOrientation::UpMirrored;
        case 3:
            return ImageOrientation::Down;
        case 4:
            return ImageOrientation::DownMirrored;
        case 5:
            return ImageOrientation::LeftMirrored;
        case 6:
            return ImageOrientation::Right;
        case 7:
            return ImageOrientation::RightMirrored;
        case 8:
            return ImageOrientation::Left;
        default:
            return ImageOrientation::Up;
    }
}

unsigned exifFromOrientation(ImageOrientation orientation) {
    switch (orientation) {
        case ImageOrientation::Up:
            return 1;
        case ImageOrientation::UpMirrored:
            return 2;
        case ImageOrientation::Down:
            return 3;
        case ImageOrientation::DownMirrored:
            return 4;
        case ImageOrientation::LeftMirrored:
            return 5;
        case ImageOrientation::Right:
            return 6;
        case ImageOrientation::RightMirrored:
            return 7;
        case ImageOrientation::Left:
            return 8;
    }
    return 1;
}

// Reads the orientation tag (0x0112) of IFD0 in an APP1 "Exif" block; Up when absent or
// malformed.
ImageOrientation readExifOrientation(const unsigned char* data, std::size_t size) {
    static constexpr char kHeader[] = "Exif\0\0";
    constexpr std::size_t kHeaderSize = 6;
    if (size < kHeaderSize + 8 || std::string_view(reinterpret_cast<const char*>(data), 6) !=
                                      std::string_view(kHeader, kHeaderSize)) {
        return ImageOrientation::Up;
    }
    const unsigned char* tiff = data + kHeaderSize;
    std::size_t length = size - kHeaderSize;
    bool little = tiff[0] == 'I' && tiff[1] == 'I';
    if (!little && !(tiff[0] == 'M' && tiff[1] == 'M')) {
        return ImageOrientation::Up;
    }
    auto read16 = [&](std::size_t at) -> unsigned {
        return little ? tiff[at] | tiff[at + 1] << 8 : tiff[at] << 8 | tiff[at + 1];
    };
    auto read32 = [&](std::size_t at) -> std::size_t {
        return little ? std::size_t{read16(at)} | std::size_t{read16(at + 2)} << 16
                      : std::size_t{read16(at)} << 16 | std::size_t{read16(at + 2)};
    };
    std::size_t ifd = read32(4);
    if (ifd > length || length - ifd < 2) {
        return ImageOrientation::Up;
    }
    unsigned count = read16(ifd);
    for (unsigned i = 0; i < count; ++i) {
        std::size_t entry = ifd + 2 + std::size_t{i} * 12;
        if (entry + 12 > length) {
            break;
        }
        if (read16(entry) == 0x0112 && read16(entry + 2) == 3) {
            return orientationFromExif(read16(entry + 8));
        }
    }
    return ImageOrientation::Up;
}

std::string makeExifOrientationBlock(ImageOrientation orientation) {
    // Big-endian TIFF header, IFD0 at offset 8 with one SHORT entry, then no next IFD.
    std::string block("Exif\0\0MM\0\x2A\0\0\0\x08", 14);
    const unsigned char ifd[] = {
        0, 1, 0x01, 0x12, 0, 3,
        0, 0, 0,    1,    0, static_cast<unsigned char>(exifFromOrientation(orientation)),
        0, 0, 0,    0,    0, 0};
    block.append(reinterpret_cast<const char*>(ifd), sizeof ifd);
    return block;
}

// A progressive picture from any encoder we know comes in ten or so scans, a few dozen at the
// most, each over some of the picture's blocks. Every scan costs a pass over the blocks it
// covers, however few bytes it takes, so the scans a decode reads are capped, as
// libjpeg-turbo's own tools do: by number, and by the blocks they cover together, which the
// largest picture the budget lets a decoder hold (two million blocks) passes through about
// twelve times in a standard progression.
constexpr int kMaxScans = 64;
constexpr unsigned long long kMaxScanBlocks = 24ULL << 20;

struct ScanMonitor {
    jpeg_progress_mgr base{};
    int scansSeen = 0;
    unsigned long long blocks = 0;
};

// libjpeg asks it between rows of blocks while reading, so it sees a scan past the caps as
// soon as that scan begins.
void stopPastScanCaps(j_common_ptr common) {
    auto* info = reinterpret_cast<j_decompress_ptr>(common);
    auto* monitor = reinterpret_cast<ScanMonitor*>(info->progress);
    if (info->input_scan_number == monitor->scansSeen)
        return;
    monitor->scansSeen = info->input_scan_number;
    for (int i = 0; i < info->comps_in_scan; ++i) {
        const jpeg_component_info* component = info->cur_comp_info[i];
        monitor->blocks += static_cast<unsigned long long>(component->width_in_blocks) *
                           component->height_in_blocks;
    }
    if (monitor->scansSeen > kMaxScans || monitor->blocks > kMaxScanBlocks)
        (*common->err->error_exit)(common);
}

struct DecodeJob {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    ScanMonitor scans;
    std::vector<JSAMPLE> row;
    std::optional<pixels::Downsampler> downsampler;
    ImageOrientation orientation = ImageOrientation::Up;
};

// The smallest of libjpeg's scalings (n/8) that still gives at least `target` pixels.
unsigned eighthsFor(unsigned source, unsigned target) {
    for (unsigned eighths = 1; eighths < 8; ++eighths) {
        if ((static_cast<unsigned long long>(source) * eighths + 7) / 8 >= target)
            return eighths;
    }
    return 8;
}

std::size_t roundedUp(std::size_t value, std::size_t multiple) {
    return (value + multiple - 1) / multiple * multiple;
}

// The most libjpeg (and our own row and Downsampler) will hold while decoding the picture whose
// header `info` has read, at any scale. A picture sent in several scans (progressive, or one
// component per scan) keeps the coefficients of every block of the whole picture until the
// last scan: 128 bytes per 8 x 8 block and component, however little the file is. Any other
// keeps a few rows of blocks. Row buffers are counted generously; the coefficients exactly, as
// libjpeg sizes them.
std::size_t workingBytes(j_decompress_ptr info) {
    // Tables, pools' slack and the other small parts.
    std::size_t bytes = std::size_t{256} << 10;
    for (jpeg_saved_marker_ptr marker = info->marker_list; marker; marker = marker->next)
        bytes += marker->data_length + sizeof(*marker);
    const bool wholePicture = jpeg_has_multiple_scans(info);
    const std::size_t width = info->image_width;
    const std::size_t height = info->image_height;
    std::size_t maxH = 1;
    std::size_t maxV = 1;
    for (int c = 0; c < info->num_components; ++c) {
        maxH = std::max<std::size_t>(maxH, info->comp_info[c].h_samp_factor);
        maxV = std::max<std::size_t>(maxV, info->comp_info[c].v_samp_factor);
    }
    for (int c = 0; c < info->num_components; ++c) {
        const std::size_t h = std::max(1, info->comp_info[c].h_samp_factor);
        const std::size_t v = std::max(1, info->comp_info[c].v_samp_factor);
        const std::size_t blocksWide = roundedUp((width * h + 8 * maxH - 1) / (8 * maxH), h);
        const std::size_t blocksHigh = roundedUp((height * v + 8 * maxV - 1) / (8 * maxV), v);
        if (wholePicture)
            bytes += blocksWide * blocksHigh * DCTSIZE2 * sizeof(JCOEF);
        // The row groups kept for upsampling with context: ten of each component's block rows
        // at most; four times that is ample.
        bytes += blocksWide * DCTSIZE * v * DCTSIZE * 4;
    }
    // The upsampled rows, colour conversion's own, and ours.
    const auto components = static_cast<std::size_t>(std::max(info->num_components, 1));
    bytes += roundedUp(width, maxH) * components * (maxV + 2);
    bytes += pixels::Downsampler::workingBytes(static_cast<int>(info->image_width),
                                               static_cast<int>(info->image_height));
    return bytes;
}

// Everything that needs freeing lives in the job, so a jump out of libjpeg leaks nothing.
bool runDecode(DecodeJob* job, std::string_view bytes, const pixels::ChooseDecodeSize& choose) {
    if (setjmp(job->errors.jump)) {
        return false;
    }
    jpeg_decompress_struct* info = &job->info;
    jpeg_create_decompress(info);
    job->scans.base.progress_monitor = stopPastScanCaps;
    info->progress = &job->scans.base;
    jpeg_mem_src(info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_save_markers(info, kExifMarker, 0xFFFF);
    if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK ||
        !pixels::acceptableSize(info->image_width, info->image_height)) {
        return false;
    }
    for (jpeg_saved_marker_ptr marker = info->marker_list; marker; marker = marker->next) {
        if (marker->marker == kExifMarker) {
            job->orientation = readExifOrientation(marker->data, marker->data_length);
            break;
        }
    }
    const std::size_t working = workingBytes(info);
    const pixels::DecodeSize target =
        choose(static_cast<int>(info->image_width), static_cast<int>(info->image_height), working);
    if (target.width <= 0 || target.height <= 0) {
        return false;
    }
    // libjpeg's own bound, as a second line: without a backing store, a decode whose
    // whole-picture buffers would pass it fails cleanly instead of taking more.
    info->mem->max_memory_to_use = static_cast<long>(working);
    info->scale_num =
        std::max(eighthsFor(info->image_width, static_cast<unsigned>(target.width)),
                 eighthsFor(info->image_height, static_cast<unsigned>(target.height)));
    info->scale_denom = 8;
    bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
    info->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(info);
    int width = static_cast<int>(info->output_width);
    int height = static_cast<int>(info->output_height);
    int components = info->output_components;
    job->row.resize(static_cast<std::size_t>(width) * components);
    job->downsampler.emplace(width, height, std::min(target.width, width),
                             std::min(target.height, height));
    while (info->output_scanline < info->output_height) {
        JSAMPROW rowPointer = job->row.data();
        if (jpeg_read_scanlines(info, &rowPointer, 1) != 1) {
            return false;
        }
        const JSAMPLE* row = job->row.data();
        job->downsampler->addRowWith([row, components, cmyk](int x) {
            const JSAMPLE* p = row + static_cast<std::size_t>(x) * components;
            std::uint32_t r, g, b;
            if (cmyk) {
                // Adobe writes CMYK inverted, so each ink value already reads as "how much
                // light": multiply by K's to get the colour.
                r = p[0] * p[3] / 255u;
                g = p[1] * p[3] / 255u;
                b = p[2] * p[3] / 255u;
            } else {
                r = p[0];
                g = p[1];
                b = p[2];
            }
            return 0xFF000000u | r << 16 | g << 8 | b;
        });
    }
    jpeg_finish_decompress(info);
    return true;
}

struct EncodeJob {
    jpeg_compress_struct info{};
    ErrorManager errors{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::vector<JSAMPLE> row;
    std::string exif;  // written after the JFIF header when not empty
};

// Everything that needs freeing lives in the job, so a jump out of libjpeg leaks nothing.
bool runEncode(EncodeJob* job, const std::vector<std::uint32_t>* argb, int width, int height,
               int quality) {
    if (setjmp(job->errors.jump)) {
        return false;
    }
    jpeg_compress_struct* info = &job->info;
    jpeg_create_compress(info);
    jpeg_mem_dest(info, &job->buffer, &job->size);
    info->image_width = static_cast<JDIMENSION>(width);
    info->image_height = static_cast<JDIMENSION>(height);
    info->input_components = 3;
    info->in_color_space = JCS_RGB;
    jpeg_set_defaults(info);
    jpeg_set_quality(info, quality, TRUE);
    jpeg_start_compress(info, TRUE);
    if (!job->exif.empty()) {
        jpeg_write_marker(info, kExifMarker, reinterpret_cast<const JOCTET*>(job->exif.data()),
                          static_cast<unsigned>(job->exif.size()));
    }
    job->row.resize(static_cast<std::size_t>(width) * 3);
    while (info->next_scanline < info->image_height) {
        const std::uint32_t* in =
            argb->data() + static_cast<std::size_t>(info->next_scanline) * width;
        for (int x = 0; x < width; ++x) {
            std::uint32_t pixel = pixels::premultiply(in[x]);
            job->row[x * 3] = static_cast<JSAMPLE>(pixel >> 16);
            job->row[x * 3 + 1] = static_cast<JSAMPLE>(pixel >> 8);
            job->row[x * 3 + 2] = static_cast<JSAMPLE>(pixel);
        }
        JSAMPROW rowPointer = job->row.data();
        jpeg_write_scanlines(info, &rowPointer, 1);
    }
    jpeg_finish_compress(info);
    return true;
}

}  // namespace

bool looksLikeJpeg(std::string_view bytes) {
    return bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xD8 &&
           static_cast<unsigned char>(bytes[2]) == 0xFF;
}

std::optional<Bitmap> decode(std::string_view bytes, const pixels::ChooseDecodeSize& choose) {
    if (!looksLikeJpeg(bytes)) {
        return std::nullopt;
    }
    auto job = std::make_unique<DecodeJob>();
    job->info.err = &job->errors.base;
    installErrorManager(job->errors);
    bool decoded = runDecode(job.get(), bytes, choose);
    jpeg_destroy_decompress(&job->info);
    if (!decoded || !job->downsampler) {
        return std::nullopt;
    }
    Bitmap bitmap = job->downsampler->take();
    bitmap.orientation = job->orientation;
    return bitmap;
}

std::string encode(const std::vector<std::uint32_t>& argb, int width, int height, int quality,
                   ImageOrientation orientation) {
    if (width <= 0 || height <= 0 ||
        argb.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        return {};
    }
    auto job = std::make_unique<EncodeJob>();
    job->info.err = &job->errors.base;
    installErrorManager(job->errors);
    if (orientation != ImageOrientation::Up) {
        job->exif = makeExifOrientationBlock(orientation);
    }
    bool encoded = runEncode(job.get(), &argb, width, height, quality);
    jpeg_destroy_compress(&job->info);
    std::string out;
    if (encoded && job->buffer) {
        out.assign(reinterpret_cast<const char*>(job->buffer), job->size);
    }
    std::free(job->buffer);
    return out;
}

}  // namespace platform::jpeg
