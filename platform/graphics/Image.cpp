#include "platform/graphics/Image.h"

#include <cairo.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <mutex>
#include <optional>

#include "platform/foundation/Bundle.h"
#include "platform/foundation/Files.h"
#include "platform/foundation/Log.h"
#include "platform/graphics/DecodeBudget.h"
#include "platform/graphics/JpegCodec.h"
#include "platform/graphics/PixelFormat.h"
#include "platform/graphics/PngCodec.h"

namespace platform {

// The shared, immutable bitmap. The straight ARGB words are the truth; the premultiplied
// Cairo surface is made when first asked for (or kept from where the pixels came from).
struct Image::Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;
    // For a decoded picture: its own size (0 for other images) and what it holds of the budget.
    int sourceWidth = 0;
    int sourceHeight = 0;
    std::size_t budgetBytes = 0;

    mutable std::mutex surfaceMutex;
    mutable cairo_surface_t* surface = nullptr;
    // -1 until asked, then 0 or 1.
    mutable std::atomic<int> opaque{-1};

    Pixels() = default;
    Pixels(const Pixels&) = delete;
    Pixels& operator=(const Pixels&) = delete;
    ~Pixels() {
        if (surface) {
            cairo_surface_destroy(surface);
        }
        if (budgetBytes > 0) {
            DecodeBudget::release(budgetBytes);
        }
    }
};

bool Image::isOpaque() const {
    if (!m_pixels || m_pixels->argb.empty())
        return false;
    int known = m_pixels->opaque.load();
    if (known < 0) {
        bool all = std::all_of(m_pixels->argb.begin(), m_pixels->argb.end(),
                               [](std::uint32_t p) { return (p >> 24) == 0xFF; });
        known = all ? 1 : 0;
        m_pixels->opaque.store(known);
    }
    return known == 1;
}

namespace {

double sanitizedScale(double scale) {
    return std::isfinite(scale) && scale > 0 ? scale : 1;
}

// A premultiplied ARGB32 copy of any image surface; null when the surface is unusable.
cairo_surface_t* toArgb32(cairo_surface_t* source) {
    if (!source || cairo_surface_status(source) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_get_type(source) != CAIRO_SURFACE_TYPE_IMAGE) {
        return nullptr;
    }
    cairo_surface_flush(source);
    int width = cairo_image_surface_get_width(source);
    int height = cairo_image_surface_get_height(source);
    if (!pixels::acceptableSize(width, height)) {
        return nullptr;
    }
    cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(copy) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(copy);
        return nullptr;
    }
    if (cairo_image_surface_get_format(source) == CAIRO_FORMAT_ARGB32) {
        const unsigned char* from = cairo_image_surface_get_data(source);
        unsigned char* to = cairo_image_surface_get_data(copy);
        int fromStride = cairo_image_surface_get_stride(source);
        int toStride = cairo_image_surface_get_stride(copy);
        for (int y = 0; y < height; ++y) {
            std::memcpy(to + static_cast<std::ptrdiff_t>(y) * toStride,
                        from + static_cast<std::ptrdiff_t>(y) * fromStride,
                        static_cast<std::size_t>(width) * 4);
        }
        cairo_surface_mark_dirty(copy);
    } else {
        // Any other format (RGB24 from an opaque PNG, A8 ...) is converted by Cairo itself.
        cairo_t* cr = cairo_create(copy);
        cairo_set_source_surface(cr, source, 0, 0);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_flush(copy);
    }
    return copy;
}

std::vector<std::uint32_t> straightPixels(cairo_surface_t* argb32) {
    int width = cairo_image_surface_get_width(argb32);
    int height = cairo_image_surface_get_height(argb32);
    int stride = cairo_image_surface_get_stride(argb32);
    const unsigned char* data = cairo_image_surface_get_data(argb32);
    std::vector<std::uint32_t> out(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < width; ++x) {
            out[static_cast<std::size_t>(y) * width + x] = pixels::unpremultiply(row[x]);
        }
    }
    return out;
}

// How much of a picture's size a decode keeps: enough to fill `shown` (an aspect-fill view's
// need, which covers every other way of showing it) in either orientation, and no more than
// kMaxDecodedPixels.
double decodeFactor(int width, int height, Size shown) {
    double factor = 1;
    if (shown.width > 0 && shown.height > 0) {
        factor = std::min(1.0, std::max({shown.width / width, shown.height / height,
                                         shown.width / height, shown.height / width}));
    }
    const double pixelsKept = double(width) * height * factor * factor;
    if (pixelsKept > Image::kMaxDecodedPixels) {
        factor *= std::sqrt(Image::kMaxDecodedPixels / pixelsKept);
    }
    return factor;
}

pixels::DecodeSize decodeSizeAt(int width, int height, double factor) {
    auto side = [factor](int full) {
        return std::clamp(static_cast<int>(std::ceil(full * factor - 1e-9)), 1, full);
    };
    return {side(width), side(height)};
}

std::string sizeText(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

// What a decode reserves of the budget: the pixels it keeps, and what the decoder holds while
// it works, given back as soon as it is done.
struct Reservation {
    std::size_t pixels = 0;
    std::size_t working = 0;
};

// The size to decode a picture to, reserved in the budget with the decoder's working memory
// before the decoder allocates any of it; 0 x 0 when the budget has too little left even for
// a much smaller picture. Several decodes at once each reserve before they start, so together
// they stay inside the budget; one that fits only once the others are done waits for them.
pixels::DecodeSize reserveDecodeSize(int width, int height, std::size_t working, Size shown,
                                     Reservation& reservation) {
    if (working >= DecodeBudget::limit()) {
        // However small it were decoded, the decoder alone would need more than there is.
        log("picture of %@ not decoded: decoding it takes %@ bytes, more than the %@ of the "
            "decoded-picture budget",
            sizeText(width, height), std::to_string(working),
            std::to_string(DecodeBudget::limit()));
        return {};
    }
    double factor = decodeFactor(width, height, shown);
    for (int attempt = 0; attempt < 4; ++attempt) {
        const pixels::DecodeSize size = decodeSizeAt(width, height, factor);
        const std::size_t bytes = std::size_t(size.width) * std::size_t(size.height) * 4;
        bool gaveUp = false;
        if (DecodeBudget::reserveForDecode(bytes, working, &gaveUp)) {
            reservation = {bytes, working};
            if (attempt > 0) {
                log("picture of %@ decoded at %@ to fit the decoded-picture budget",
                    sizeText(width, height), sizeText(size.width, size.height));
            }
            return size;
        }
        if (gaveUp) {
            return {};  // the budget has said why
        }
        // Smaller to fit what the pictures kept leave beside the decoder's own needs, but not
        // to a smear: past an eighth of the sides it would have, the picture is not decoded at
        // all.
        const std::size_t limit = DecodeBudget::limit();
        const std::size_t held = DecodeBudget::heldByPictures();
        const std::size_t left = held + working < limit ? limit - held - working : 0;
        if (left < bytes / 64) {
            break;
        }
        factor *= std::sqrt(double(left) / double(bytes)) * 0.99;
    }
    log("picture of %@ not decoded: decoded pictures hold %@ of %@ bytes, and decoding it takes "
        "%@ more",
        sizeText(width, height), std::to_string(DecodeBudget::held()),
        std::to_string(DecodeBudget::limit()), std::to_string(working));
    return {};
}

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

}  // namespace

Image::Image() = default;

Image::Image(std::shared_ptr<const Pixels> pixels, double scale, ImageOrientation orientation)
    : m_pixels(std::move(pixels)), m_scale(sanitizedScale(scale)), m_orientation(orientation) {}

Image Image::fromARGB(int pixelWidth, int pixelHeight, std::vector<std::uint32_t> argb,
                      double scale, ImageOrientation orientation) {
    if (!pixels::acceptableSize(pixelWidth, pixelHeight) ||
        argb.size() != static_cast<std::size_t>(pixelWidth) * pixelHeight) {
        return {};
    }
    auto data = std::make_shared<Pixels>();
    data->width = pixelWidth;
    data->height = pixelHeight;
    data->argb = std::move(argb);
    return Image(std::move(data), scale, orientation);
}

Image Image::fromCairoSurface(cairo_surface_t* surface, double scale) {
    cairo_surface_t* copy = toArgb32(surface);
    if (!copy) {
        return {};
    }
    auto data = std::make_shared<Pixels>();
    data->width = cairo_image_surface_get_width(copy);
    data->height = cairo_image_surface_get_height(copy);
    data->argb = straightPixels(copy);
    data->surface = copy;
    return Image(std::move(data), scale, ImageOrientation::Up);
}

Image Image::decode(std::string_view bytes, double scale, Size shownPixels) {
    Reservation reservation;
    int sourceWidth = 0;
    int sourceHeight = 0;
    auto choose = [&](int width, int height, std::size_t working) {
        sourceWidth = width;
        sourceHeight = height;
        return reserveDecodeSize(width, height, working, shownPixels, reservation);
    };
    std::optional<pixels::Bitmap> bitmap;
    if (png::looksLikePng(bytes)) {
        bitmap = png::decode(bytes, choose);
    } else if (jpeg::looksLikeJpeg(bytes)) {
        bitmap = jpeg::decode(bytes, choose);
    }
    // The decoder has let go of its buffers.
    DecodeBudget::releaseWorking(reservation.working);
    if (!bitmap || bitmap->argb.size() * 4 != reservation.pixels) {
        DecodeBudget::release(reservation.pixels);
        return {};
    }
    auto data = std::make_shared<Pixels>();
    data->width = bitmap->width;
    data->height = bitmap->height;
    data->argb = std::move(bitmap->argb);
    data->sourceWidth = sourceWidth;
    data->sourceHeight = sourceHeight;
    data->budgetBytes = reservation.pixels;
    // Fewer pixels for the same points: the scale shrinks with the width.
    double pointScale = sanitizedScale(scale);
    if (data->width != sourceWidth) {
        pointScale = pointScale * data->width / sourceWidth;
    }
    return Image(std::move(data), pointScale, bitmap->orientation);
}

bool Image::isReduced() const {
    return m_pixels && m_pixels->sourceWidth > 0 &&
           (m_pixels->width != m_pixels->sourceWidth || m_pixels->height != m_pixels->sourceHeight);
}

bool Image::isEnoughFor(Size shownPixels) const {
    if (!isReduced()) {
        return true;
    }
    auto wanted =
        decodeSizeAt(m_pixels->sourceWidth, m_pixels->sourceHeight,
                     decodeFactor(m_pixels->sourceWidth, m_pixels->sourceHeight, shownPixels));
    return m_pixels->width >= wanted.width && m_pixels->height >= wanted.height;
}

Image Image::fromFile(const std::filesystem::path& path, double scale, std::string* error,
                      Size shownPixels) {
    std::string why;
    auto bytes = readFile(path, &why);
    if (!bytes) {
        if (error)
            *error = "cannot read \"" + path.string() + "\": " + why;
        return {};
    }
    Image image = decode(*bytes, scale, shownPixels);
    if (image.isNull() && error)
        *error = "not an image file (PNG or JPEG): \"" + path.string() + "\"";
    return image;
}

Image Image::named(const std::string& name) {
    if (name.empty()) {
        return {};
    }
    std::string stem = name;
    std::string extension = ".png";
    std::string given = std::filesystem::path(name).extension().string();
    if (given == ".png" || given == ".jpg" || given == ".jpeg" || given == ".PNG" ||
        given == ".JPG" || given == ".JPEG") {
        stem = name.substr(0, name.size() - given.size());
        extension = given;
    }
    struct Candidate {
        std::string file;
        double scale;
    };
    std::vector<Candidate> candidates;
    if (endsWith(stem, "@2x")) {
        candidates = {{stem + extension, 2}};
    } else if (endsWith(stem, "@3x")) {
        candidates = {{stem + extension, 3}};
    } else {
        candidates = {
            {stem + "@2x" + extension, 2}, {stem + extension, 1}, {stem + "@3x" + extension, 3}};
    }
    std::filesystem::path directory = Bundle::main().resourcePath() / "images";
    for (const Candidate& candidate : candidates) {
        std::filesystem::path file = directory / candidate.file;
        std::error_code error;
        if (!std::filesystem::is_regular_file(file, error)) {
            continue;
        }
        Image image = fromFile(file, candidate.scale);
        if (!image.isNull()) {
            image.m_name = name;
            return image;
        }
    }
    return {};
}

int Image::pixelWidth() const {
    return m_pixels ? m_pixels->width : 0;
}

int Image::pixelHeight() const {
    return m_pixels ? m_pixels->height : 0;
}

Size Image::size() const {
    Size size{pixelWidth() / m_scale, pixelHeight() / m_scale};
    if (swapsWidthAndHeight(m_orientation)) {
        std::swap(size.width, size.height);
    }
    return size;
}

Image Image::stretchableImage(double leftCapWidth, double topCapHeight) const {
    Image copy = *this;
    if (!m_pixels) {
        return copy;
    }
    const Size points = size();
    auto cap = [](double value, double side) {
        // A cap must leave the one-point middle inside the picture.
        return std::isfinite(value) ? std::clamp(value, 0.0, std::max(0.0, side - 1)) : 0.0;
    };
    copy.m_leftCapWidth = cap(leftCapWidth, points.width);
    copy.m_topCapHeight = cap(topCapHeight, points.height);
    return copy;
}

Image Image::withOrientation(ImageOrientation orientation) const {
    return m_pixels ? Image(m_pixels, m_scale, orientation) : Image();
}

Image Image::withScale(double scale) const {
    return m_pixels ? Image(m_pixels, scale, m_orientation) : Image();
}

std::uint32_t Image::pixelAt(int x, int y) const {
    if (!m_pixels || x < 0 || y < 0 || x >= m_pixels->width || y >= m_pixels->height) {
        return 0;
    }
    return m_pixels->argb[static_cast<std::size_t>(y) * m_pixels->width + x];
}

std::string Image::pngData() const {
    return png::encode(cairoSurface());
}

std::string Image::jpegData(double quality) const {
    if (!m_pixels) {
        return {};
    }
    double clamped = std::isfinite(quality) ? std::clamp(quality, 0.0, 1.0) : 1.0;
    int libjpegQuality = std::max(1, static_cast<int>(std::lround(clamped * 100)));
    return jpeg::encode(m_pixels->argb, m_pixels->width, m_pixels->height, libjpegQuality,
                        m_orientation);
}

Image Image::cropped(int x, int y, int w, int h) const {
    if (!m_pixels || w <= 0 || h <= 0) {
        return {};
    }
    long long left = std::max<long long>(x, 0);
    long long top = std::max<long long>(y, 0);
    long long right = std::min<long long>(static_cast<long long>(x) + w, m_pixels->width);
    long long bottom = std::min<long long>(static_cast<long long>(y) + h, m_pixels->height);
    if (right <= left || bottom <= top) {
        return {};
    }
    int width = static_cast<int>(right - left);
    int height = static_cast<int>(bottom - top);
    std::vector<std::uint32_t> argb;
    argb.reserve(static_cast<std::size_t>(width) * height);
    for (long long row = top; row < bottom; ++row) {
        auto begin = m_pixels->argb.begin() + row * m_pixels->width + left;
        argb.insert(argb.end(), begin, begin + width);
    }
    return fromARGB(width, height, std::move(argb), m_scale, m_orientation);
}

cairo_surface_t* Image::cairoSurface() const {
    if (!m_pixels) {
        return nullptr;
    }
    std::lock_guard lock(m_pixels->surfaceMutex);
    if (!m_pixels->surface) {
        cairo_surface_t* surface =
            cairo_image_surface_create(CAIRO_FORMAT_ARGB32, m_pixels->width, m_pixels->height);
        if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
            cairo_surface_destroy(surface);
            return nullptr;
        }
        cairo_surface_flush(surface);
        unsigned char* data = cairo_image_surface_get_data(surface);
        int stride = cairo_image_surface_get_stride(surface);
        for (int y = 0; y < m_pixels->height; ++y) {
            auto* row =
                reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
            const std::uint32_t* from =
                m_pixels->argb.data() + static_cast<std::size_t>(y) * m_pixels->width;
            for (int x = 0; x < m_pixels->width; ++x) {
                row[x] = pixels::premultiply(from[x]);
            }
        }
        cairo_surface_mark_dirty(surface);
        m_pixels->surface = surface;
    }
    return m_pixels->surface;
}

}  // namespace platform
