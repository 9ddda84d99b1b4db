#include <gtest/gtest.h>

#include <vector>

#include "client/MyTool.h"

using platform::Image;
using platform::ImageOrientation;

namespace {

// A w x h bitmap whose every pixel is distinct, so any misplaced pixel shows.
Image numbered(int w, int h, ImageOrientation orientation = ImageOrientation::Up) {
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels.push_back(0xFF000000u | static_cast<std::uint32_t>((x * 17) << 16) |
                             static_cast<std::uint32_t>((y * 17) << 8));
    return Image::fromARGB(w, h, std::move(pixels), 1, orientation);
}

// Where the upright picture's pixel (x, y) is found in the stored bitmap, for each
// orientation, by the meaning of the orientations (the EXIF ones).
std::pair<int, int> sourceOf(ImageOrientation o, int x, int y, int w, int h) {
    switch (o) {
        case ImageOrientation::Up:
            return {x, y};
        case ImageOrientation::Down:
            return {w - 1 - x, h - 1 - y};
        case ImageOrientation::UpMirrored:
            return {w - 1 - x, y};
        case ImageOrientation::DownMirrored:
            return {x, h - 1 - y};
        case ImageOrientation::Left:
            return {w - 1 - y, x};
        case ImageOrientation::Right:
            return {y, h - 1 - x};
        case ImageOrientation::LeftMirrored:
            return {y, x};
        case ImageOrientation::RightMirrored:
            return {w - 1 - y, h - 1 - x};
    }
    return {x, y};
}

TEST(FixOrientationTest, RedrawsAllEightOrientationsUpright) {
    const int w = 3, h = 2;
    for (auto o :
         {ImageOrientation::Up, ImageOrientation::Down, ImageOrientation::Left,
          ImageOrientation::Right, ImageOrientation::UpMirrored, ImageOrientation::DownMirrored,
          ImageOrientation::LeftMirrored, ImageOrientation::RightMirrored}) {
        SCOPED_TRACE(static_cast<int>(o));
        Image stored = numbered(w, h, o);
        Image fixed = MyTool::fixOrientation(stored);
        ASSERT_EQ(fixed.orientation(), ImageOrientation::Up);
        bool sideways = o == ImageOrientation::Left || o == ImageOrientation::Right ||
                        o == ImageOrientation::LeftMirrored || o == ImageOrientation::RightMirrored;
        int outW = sideways ? h : w, outH = sideways ? w : h;
        ASSERT_EQ(fixed.pixelWidth(), outW);
        ASSERT_EQ(fixed.pixelHeight(), outH);
        for (int y = 0; y < outH; ++y)
            for (int x = 0; x < outW; ++x) {
                auto [sx, sy] = sourceOf(o, x, y, w, h);
                EXPECT_EQ(fixed.pixelAt(x, y), stored.pixelAt(sx, sy)) << x << "," << y;
            }
    }
}

TEST(CutOutTest, TrimsToTheRatio) {
    // 300 x 100 at ratio 1 keeps the horizontal middle (100, 0, 100, 100).
    auto wide = MyTool::cutOutNewImage(numbered(300 / 20, 100 / 20), 1.0);
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->pixelWidth(), 5);
    EXPECT_EQ(wide->pixelHeight(), 5);
    EXPECT_EQ(wide->pixelAt(0, 0), numbered(15, 5).pixelAt(5, 0));
    // 100 x 300 keeps the top part (0, 0, 100, 100).
    auto tall = MyTool::cutOutNewImage(numbered(5, 15), 1.0);
    ASSERT_TRUE(tall);
    EXPECT_EQ(tall->pixelHeight(), 5);
    EXPECT_EQ(tall->pixelAt(4, 4), numbered(5, 15).pixelAt(4, 4));
    // The right ratio already: the same image.
    EXPECT_EQ(MyTool::cutOutNewImage(numbered(4, 4), 1.0)->pixelWidth(), 4);
    EXPECT_FALSE(MyTool::cutOutNewImage(Image(), 1.0));
}

TEST(ImageScalingTest, SizesFollowTheRules) {
    Image img = numbered(40, 20);
    auto small = MyTool::imageWithImageRatioCompressToSize(img, {100, 100});
    EXPECT_EQ(small.pixelWidth(), 40);  // already smaller on both sides
    auto fitted = MyTool::imageWithImageRatioToSize(img, {10, 10});
    EXPECT_EQ(fitted.pixelWidth(), 10);
    EXPECT_EQ(fitted.pixelHeight(), 5);
    auto square = MyTool::scaleToSize({8, 8}, img);
    EXPECT_EQ(square.pixelWidth(), 8);
    EXPECT_EQ(square.pixelHeight(), 8);
    // The sub-image takes twice the given width and height, in pixels.
    auto sub = MyTool::getSubImage({{2, 1}, {3, 4}}, img);
    EXPECT_EQ(sub.pixelWidth(), 6);
    EXPECT_EQ(sub.pixelHeight(), 8);
    EXPECT_EQ(sub.pixelAt(0, 0), img.pixelAt(2, 1));
    EXPECT_TRUE(MyTool::imageWithName("no-such-image").isNull());
}

}  // namespace
