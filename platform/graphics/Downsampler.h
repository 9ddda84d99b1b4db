#pragma once

// Decoding a picture straight to a smaller size, row by row, so that the full-size bitmap is
// never held. Internal to the graphics library.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/graphics/ImageOrientation.h"

namespace platform::pixels {

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;                      // straight 0xAARRGGBB, row by row
    ImageOrientation orientation = ImageOrientation::Up;  // from a JPEG's EXIF block, if any
};

struct DecodeSize {
    int width = 0;
    int height = 0;
};

// Asked once a decoder knows the picture's size, and before it allocates anything that grows
// with it: the size to decode to (at most the picture's own), or 0 x 0 to decode nothing.
// `workingBytes` is the most the decoder will hold besides the target pixels while it decodes
// (its own buffers and the Downsampler's), whatever size is chosen; the decoder holds itself
// to it, failing rather than taking more.
using ChooseDecodeSize = std::function<DecodeSize(int width, int height, std::size_t workingBytes)>;

// Takes a picture's rows one after another (straight ARGB) and keeps only the target size:
// each target pixel is the average of a few source pixels spread over the area it covers,
// weighted by their alpha so that transparent pixels lend no colour. At the source's own size
// the pixels are kept as they come.
class Downsampler {
public:
    Downsampler(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight);

    // The most a Downsampler for a source of this size holds besides the target pixels, for
    // any target size.
    static std::size_t workingBytes(int sourceWidth, int sourceHeight);

    // Called for every source row, top to bottom, in the decoder's own form: `pixelAt(x)`
    // gives the straight ARGB of source column x, and is asked only for the columns that are
    // sampled, and not at all for a row that is not (nor for rows past the source's height).
    template <typename PixelAt>
    void addRowWith(PixelAt pixelAt);
    // The target bitmap once every row has been added.
    Bitmap take();

private:
    struct Column {
        int source;
        int target;
    };
    struct RowUse {
        int target = -1;  // -1: not sampled
        bool lastOfTarget = false;
    };
    void flushRow(int targetRow);
    void accumulate(int targetColumn, std::uint32_t pixel) {
        const std::uint64_t alpha = pixel >> 24;
        std::uint64_t* sum = m_sum.data() + static_cast<std::size_t>(targetColumn) * 5;
        sum[0] += alpha;
        sum[1] += ((pixel >> 16) & 0xFF) * alpha;
        sum[2] += ((pixel >> 8) & 0xFF) * alpha;
        sum[3] += (pixel & 0xFF) * alpha;
        sum[4] += 1;
    }

    int m_sourceWidth;
    int m_sourceHeight;
    bool m_copies{false};
    Bitmap m_target;
    std::vector<Column> m_columns;     // the sampled source columns
    std::vector<RowUse> m_rows;        // per source row
    std::vector<std::uint64_t> m_sum;  // per target pixel: alpha, red, green, blue, count
    int m_sourceRow{0};
};

template <typename PixelAt>
void Downsampler::addRowWith(PixelAt pixelAt) {
    if (m_sourceRow >= m_sourceHeight)
        return;
    if (m_copies) {
        std::uint32_t* out =
            m_target.argb.data() + static_cast<std::size_t>(m_sourceRow) * m_target.width;
        for (int x = 0; x < m_sourceWidth; ++x) out[x] = pixelAt(x);
        ++m_sourceRow;
        return;
    }
    const RowUse use = m_rows[static_cast<std::size_t>(m_sourceRow++)];
    if (use.target < 0)
        return;
    for (const Column& column : m_columns) accumulate(column.target, pixelAt(column.source));
    if (use.lastOfTarget)
        flushRow(use.target);
}

}  // namespace platform::pixels
