#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/graphics/Geometry.h"
#include "platform/graphics/ImageOrientation.h"

typedef struct _cairo_surface cairo_surface_t;

namespace platform {

// An image as the phone has it: a bitmap plus the scale (pixels per point) and orientation
// it is shown with. A value type: copies share the same immutable pixels. A
// default-constructed Image is empty (isNull), as is every result of bad input.
class Image {
public:
    Image();

    // argb holds pixelWidth * pixelHeight pixels, row by row from the top, as 0xAARRGGBB
    // (not premultiplied). A size that does not match, or a side outside 1..32767, gives an
    // empty image.
    static Image fromARGB(int pixelWidth, int pixelHeight, std::vector<std::uint32_t> argb,
                          double scale = 1, ImageOrientation orientation = ImageOrientation::Up);
    // A copy of an image surface of any format (a snapshot: later drawing is not seen).
    static Image fromCairoSurface(cairo_surface_t* surface, double scale = 1);
    // The most pixels one decoded picture has: pictures with more are decoded smaller.
    static constexpr long long kMaxDecodedPixels = 16LL << 20;

    // PNG or JPEG bytes. A JPEG's EXIF orientation becomes the image's orientation, as on the
    // phone. Anything undecodable gives an empty image.
    // A picture is decoded no larger than it is shown: `shownPixels` is the largest it will be
    // drawn, in pixels (a view's size times the screen's scale; none when empty), and the
    // decode keeps just enough pixels to fill it in any orientation, as an aspect-fill view
    // would. Every decode also keeps within kMaxDecodedPixels and the process's DecodeBudget,
    // which counts what the decoder holds while it works as well as the pixels: a picture
    // whose decoder alone would need more than the budget (a huge progressive JPEG) is not
    // decoded, whatever size it is shown at.
    // A picture decoded smaller keeps its size in points: its scale takes the difference.
    static Image decode(std::string_view bytes, double scale = 1, Size shownPixels = {});
    // Through the platform's bounded file reader: a FIFO, a device or a file past its size
    // limit is refused unread. `error` says why nothing came (unreadable or undecodable).
    // `shownPixels` as for decode().
    static Image fromFile(const std::filesystem::path& path, double scale = 1,
                          std::string* error = nullptr, Size shownPixels = {});
    // A bundle image: <resources>/images/<name>@2x.png (scale 2) is preferred, as on the
    // stand-in phone whose screen has scale 2, then <name>.png (scale 1), then <name>@3x.png
    // (scale 3). A name with an extension (".png", ".jpg") is looked up with that extension;
    // a name that already carries "@2x"/"@3x" takes that scale. Missing gives an empty image.
    static Image named(const std::string& name);

    // The name named() found the image by, kept so that a screen's outline can say which
    // picture it shows; empty for every other image (derived ones included).
    const std::string& name() const { return m_name; }

    bool isNull() const { return m_pixels == nullptr; }
    // Whether the picture was decoded with fewer pixels than it has.
    bool isReduced() const;
    // Whether this has every pixel a decode of the same picture for `shownPixels` would have
    // (always, for a picture that is not reduced).
    bool isEnoughFor(Size shownPixels) const;
    int pixelWidth() const;
    int pixelHeight() const;
    double scale() const { return m_scale; }
    ImageOrientation orientation() const { return m_orientation; }
    // In points: pixels / scale, width and height swapped for the Left and Right orientations.
    Size size() const;

    // The same picture made to stretch as the phone's stretchableImageWithLeftCapWidth:
    // topCapHeight: does: drawn into a larger rectangle, the left and top caps (points) and the
    // parts right of and below the one-point middle keep their size and only that middle
    // stretches. Caps of 0 stretch the whole picture, as before. The name is kept.
    Image stretchableImage(double leftCapWidth, double topCapHeight) const;
    double leftCapWidth() const { return m_leftCapWidth; }
    double topCapHeight() const { return m_topCapHeight; }

    // The same pixels shown another way. A scale that is not a positive number becomes 1.
    Image withOrientation(ImageOrientation orientation) const;
    Image withScale(double scale) const;

    // 0xAARRGGBB, not premultiplied, in stored bitmap coordinates (orientation ignored).
    // Outside the bitmap: 0.
    std::uint32_t pixelAt(int x, int y) const;

    // The stored bitmap as PNG (orientation is not recorded, as on the phone). Empty for an
    // empty image.
    std::string pngData() const;
    // The stored bitmap as JPEG at quality 0..1, with the orientation in an EXIF block when it
    // is not Up. Transparent areas come out as if drawn over black. Empty for an empty image.
    std::string jpegData(double quality) const;

    // The stored bitmap pixels in (x, y, w, h), clipped to the bitmap, keeping scale and
    // orientation. Empty when nothing is left.
    Image cropped(int x, int y, int w, int h) const;

    // Whether every pixel is fully opaque (an empty image is not); worked out once per bitmap.
    bool isOpaque() const;

    // A premultiplied ARGB32 image surface holding the pixels, made on first use and owned by
    // the image: it stays valid while any copy of this image lives, and must not be drawn
    // into. Null for an empty image.
    cairo_surface_t* cairoSurface() const;

    // The same picture shown the same way: copies of one image, or the bundle image of one
    // name (named() decodes afresh each time) at the same scale and orientation. Two decodes
    // of one file are otherwise different images. Cheap: no pixel is compared.
    friend bool operator==(const Image& a, const Image& b) {
        bool same = a.m_pixels == b.m_pixels || (!a.m_name.empty() && a.m_name == b.m_name);
        return same && a.m_scale == b.m_scale && a.m_orientation == b.m_orientation &&
               a.m_leftCapWidth == b.m_leftCapWidth && a.m_topCapHeight == b.m_topCapHeight;
    }

private:
    struct Pixels;
    Image(std::shared_ptr<const Pixels> pixels, double scale, ImageOrientation orientation);

    std::shared_ptr<const Pixels> m_pixels;
    double m_scale{1};
    ImageOrientation m_orientation{ImageOrientation::Up};
    std::string m_name;
    double m_leftCapWidth{0};
    double m_topCapHeight{0};
};

}  // namespace platform
