#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/TextMeasurer.h"

namespace platform {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kGreen = 0xFF00FF00;
constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;

Image quadrants(int w, int h, ImageOrientation o = ImageOrientation::Up) {
    std::vector<std::uint32_t> argb;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            bool right = x >= w / 2;
            bool bottom = y >= h / 2;
            argb.push_back(bottom ? (right ? kWhite : kBlue) : (right ? kGreen : kRed));
        }
    }
    return Image::fromARGB(w, h, std::move(argb), 1, o);
}

// Bounding box of the pixels whose alpha passes the threshold; empty when there are none.
Rect inkBounds(const Image& image, std::uint32_t minAlpha = 0x40) {
    int left = image.pixelWidth(), top = image.pixelHeight(), right = -1, bottom = -1;
    for (int y = 0; y < image.pixelHeight(); ++y) {
        for (int x = 0; x < image.pixelWidth(); ++x) {
            if ((image.pixelAt(x, y) >> 24) >= minAlpha) {
                left = std::min(left, x);
                top = std::min(top, y);
                right = std::max(right, x);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        return Rect{};
    }
    return Rect{{double(left), double(top)}, {double(right - left + 1), double(bottom - top + 1)}};
}

TEST(BitmapContextTest, FillRectColoursItsPixelsOnly) {
    BitmapContext context(Size{10, 10}, 2);
    EXPECT_EQ(context.pixelWidth(), 20);
    context.fillRect(Rect{{0, 0}, {5, 5}}, Color::redColor());
    Image image = context.makeImage();
    EXPECT_EQ(image.scale(), 2);
    EXPECT_EQ(image.size(), (Size{10, 10}));
    EXPECT_EQ(image.pixelAt(0, 0), kRed);
    EXPECT_EQ(image.pixelAt(9, 9), kRed);
    EXPECT_EQ(image.pixelAt(10, 10), 0u);
    EXPECT_EQ(image.pixelAt(19, 0), 0u);
}

TEST(BitmapContextTest, TransformsMoveLaterDrawing) {
    BitmapContext context(20, 20);
    // The phone's recipe for a Down image: translate by (w, h), then rotate by pi.
    context.concat(AffineTransform::identity().translated(20, 20).rotated(kPi));
    context.fillRect(Rect{{0, 0}, {5, 5}}, Color::blueColor());
    Image image = context.makeImage();
    EXPECT_EQ(image.pixelAt(17, 17), kBlue);
    EXPECT_EQ(image.pixelAt(2, 2), 0u);
}

TEST(BitmapContextTest, SaveAndRestoreBracketTransformAndAlpha) {
    BitmapContext context(20, 10);
    context.setAlpha(0.5);
    context.saveState();
    context.translate(10, 0);
    context.setAlpha(1);
    context.restoreState();
    EXPECT_EQ(context.alpha(), 0.5);
    context.fillRect(Rect{{0, 0}, {5, 5}}, Color::white());
    Image image = context.makeImage();
    EXPECT_NEAR(static_cast<int>(image.pixelAt(1, 1) >> 24), 128, 1);
    EXPECT_EQ(image.pixelAt(1, 1) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(image.pixelAt(11, 1), 0u);
}

TEST(BitmapContextTest, ClipLimitsDrawing) {
    BitmapContext context(20, 20);
    context.clip(Rect{{5, 5}, {5, 5}});
    context.fillRect(Rect{{0, 0}, {20, 20}}, Color::redColor());
    EXPECT_EQ(inkBounds(context.makeImage()), (Rect{{5, 5}, {5, 5}}));
}

TEST(BitmapContextTest, OpaqueContextStartsBlack) {
    BitmapContext context(Size{4, 4}, 1, true);
    context.fillRect(Rect{{0, 0}, {2, 2}}, Color::whiteAlpha(1, 0.5f));
    Image image = context.makeImage();
    EXPECT_EQ(image.pixelAt(3, 3), 0xFF000000u);
    EXPECT_EQ(image.pixelAt(0, 0) >> 24, 0xFFu);
}

TEST(BitmapContextTest, RoundedRectLeavesCornersEmpty) {
    BitmapContext context(40, 40);
    context.fillRoundedRect(Rect{{0, 0}, {40, 40}}, 12, Color::redColor());
    Image image = context.makeImage();
    EXPECT_EQ(image.pixelAt(0, 0), 0u);
    EXPECT_EQ(image.pixelAt(39, 39), 0u);
    EXPECT_EQ(image.pixelAt(20, 0), kRed);
    EXPECT_EQ(image.pixelAt(20, 20), kRed);
}

TEST(BitmapContextTest, StrokeRectDrawsTheOutlineOnly) {
    BitmapContext context(20, 20);
    context.strokeRect(Rect{{2, 2}, {16, 16}}, Color::blueColor(), 2);
    Image image = context.makeImage();
    EXPECT_EQ(image.pixelAt(2, 10), kBlue);
    EXPECT_EQ(image.pixelAt(10, 10), 0u);
}

TEST(BitmapContextTest, DrawImageScalesTheBitmapIntoTheRect) {
    BitmapContext context(40, 40);
    context.drawImage(quadrants(2, 2), Rect{{10, 10}, {20, 20}});
    Image image = context.makeImage();
    EXPECT_EQ(image.pixelAt(12, 12), kRed);
    EXPECT_EQ(image.pixelAt(27, 12), kGreen);
    EXPECT_EQ(image.pixelAt(12, 27), kBlue);
    EXPECT_EQ(image.pixelAt(27, 27), kWhite);
    EXPECT_EQ(image.pixelAt(10, 10), kRed) << "edges stay crisp";
    EXPECT_EQ(image.pixelAt(9, 9), 0u);
    EXPECT_EQ(image.pixelAt(30, 30), 0u);
}

TEST(BitmapContextTest, DrawImageIgnoresOrientationAndHonoursAlpha) {
    BitmapContext context(4, 4);
    context.setAlpha(0.5);
    context.drawImage(quadrants(4, 4, ImageOrientation::Down), Rect{{0, 0}, {4, 4}});
    std::uint32_t topLeft = context.makeImage().pixelAt(0, 0);
    EXPECT_NEAR(static_cast<int>(topLeft >> 24), 128, 1);
    EXPECT_EQ(topLeft & 0xFFFFFF, 0xFF0000u) << "still red: the stored bitmap, not turned";
}

TEST(BitmapContextTest, DrawImageUprightTurnsSidewaysPhotos) {
    // Stored 4 × 2 with Right: shown turned clockwise, 2 wide and 4 high.
    Image photo = quadrants(4, 2, ImageOrientation::Right);
    BitmapContext context(2, 4);
    context.drawImageUpright(photo, Rect{{0, 0}, photo.size()});
    Image shown = context.makeImage();
    EXPECT_EQ(shown.pixelAt(1, 0), kRed) << "the stored top row is now the right column";
    EXPECT_EQ(shown.pixelAt(1, 3), kGreen);
    EXPECT_EQ(shown.pixelAt(0, 0), kBlue);
    EXPECT_EQ(shown.pixelAt(0, 3), kWhite);
}

// The phone's way of redrawing an image upright: a bare CoreGraphics bitmap context (origin
// bottom-left), a transform built from the orientation, and the bitmap drawn into
// (0, 0, h, w) for sideways images. The toolbox builds its upright copies like this.
Image redrawUprightTheCoreGraphicsWay(const Image& image) {
    double w = image.size().width;
    double h = image.size().height;
    AffineTransform t = AffineTransform::identity();
    switch (image.orientation()) {
        case ImageOrientation::Down:
        case ImageOrientation::DownMirrored:
            t = t.translated(w, h).rotated(kPi);
            break;
        case ImageOrientation::Left:
        case ImageOrientation::LeftMirrored:
            t = t.translated(w, 0).rotated(kPi / 2);
            break;
        case ImageOrientation::Right:
        case ImageOrientation::RightMirrored:
            t = t.translated(0, h).rotated(-kPi / 2);
            break;
        default:
            break;
    }
    switch (image.orientation()) {
        case ImageOrientation::UpMirrored:
        case ImageOrientation::DownMirrored:
            t = t.translated(w, 0).scaled(-1, 1);
            break;
        case ImageOrientation::LeftMirrored:
        case ImageOrientation::RightMirrored:
            t = t.translated(h, 0).scaled(-1, 1);
            break;
        default:
            break;
    }
    BitmapContext context(Size{w, h});
    context.useBottomLeftOrigin();
    context.concat(t);
    bool sideways = swapsWidthAndHeight(image.orientation());
    context.drawImage(image, Rect{{0, 0}, sideways ? Size{h, w} : Size{w, h}});
    return context.makeImage();
}

TEST(BitmapContextTest, BottomLeftOriginRedrawsEveryOrientationUpright) {
    for (int o = 0; o < 8; ++o) {
        auto orientation = static_cast<ImageOrientation>(o);
        Image image = quadrants(6, 4, orientation);
        Image redrawn = redrawUprightTheCoreGraphicsWay(image);
        BitmapContext reference(image.size(), 1);
        reference.drawImageUpright(image, Rect{{0, 0}, image.size()});
        Image expected = reference.makeImage();
        ASSERT_EQ(redrawn.pixelWidth(), expected.pixelWidth()) << "orientation " << o;
        for (int y = 0; y < expected.pixelHeight(); ++y) {
            for (int x = 0; x < expected.pixelWidth(); ++x) {
                EXPECT_EQ(redrawn.pixelAt(x, y), expected.pixelAt(x, y))
                    << "orientation " << o << " at " << x << "," << y;
            }
        }
    }
}

TEST(BitmapContextTest, BottomLeftOriginDrawsUnturnedImagesUpright) {
    BitmapContext context(4, 4);
    context.useBottomLeftOrigin();
    context.fillRect(Rect{{0, 0}, {4, 1}}, Color::redColor());
    EXPECT_EQ(context.makeImage().pixelAt(0, 3), kRed) << "y = 0 is the bottom row";
    context.drawImage(quadrants(4, 4), Rect{{0, 0}, {4, 4}});
    EXPECT_EQ(context.makeImage().pixelAt(0, 0), kRed) << "the image's top row stays on top";
}

TEST(BitmapContextTest, DrawTextStaysInsideItsRect) {
    BitmapContext context(Size{200, 120}, 2);
    Rect rect{{20, 10}, {120, 90}};
    context.drawText("Campus news 校园新闻 wrapping over several lines of text",
                     Font::systemFont(15), Color::black(), rect, TextAlignment::Left, 0);
    Rect ink = inkBounds(context.makeImage(), 1);
    ASSERT_FALSE(ink.isEmpty()) << "nothing was drawn";
    Rect pixels{{rect.origin.x * 2, rect.origin.y * 2},
                {rect.size.width * 2, rect.size.height * 2}};
    EXPECT_GE(ink.minX(), pixels.minX());
    EXPECT_GE(ink.minY(), pixels.minY());
    EXPECT_LE(ink.maxX(), pixels.maxX());
    EXPECT_LE(ink.maxY(), pixels.maxY());
    EXPECT_GT(ink.height(), 2 * Font::systemFont(15).pointSize * 2) << "wrapped onto lines";
}

TEST(BitmapContextTest, DrawTextBreaksLinesWhereTheMeasurementDoes) {
    std::string text = "The library opens at eight 图书馆八点开门 and closes at ten";
    Font font = Font::systemFont(14);
    Size measured = TextMeasurer::current().boundingSize(text, font, Size{100, 0});
    double line = TextMeasurer::current().lineHeight(font);
    ASSERT_GT(measured.height, 2 * line) << "the text should need three lines or more";
    BitmapContext context(Size{100, 400});
    context.drawText(text, font, Color::black(), Rect{{0, 0}, {100, 400}}, TextAlignment::Left, 0);
    Rect ink = inkBounds(context.makeImage(), 1);
    EXPECT_LE(ink.maxY(), std::ceil(measured.height));
    EXPECT_GT(ink.maxY(), measured.height - line) << "the last measured line has ink";
    EXPECT_LE(ink.maxX(), std::ceil(measured.width) + 1);
}

TEST(BitmapContextTest, DrawTextHonoursMaxLinesAndAlignment) {
    std::string text = "one two three four five six seven eight nine ten";
    Font font = Font::systemFont(16);
    double line = TextMeasurer::current().lineHeight(font);
    BitmapContext oneLine(200, 200);
    oneLine.drawText(text, font, Color::black(), Rect{{0, 0}, {120, 200}}, TextAlignment::Left, 1);
    EXPECT_LE(inkBounds(oneLine.makeImage(), 1).maxY(), std::ceil(line));

    BitmapContext right(200, 40);
    right.drawText("hi", font, Color::black(), Rect{{0, 0}, {200, 40}}, TextAlignment::Right, 0);
    EXPECT_GT(inkBounds(right.makeImage(), 1).minX(), 150);
    BitmapContext centred(200, 40);
    centred.drawText("hi", font, Color::black(), Rect{{0, 0}, {200, 40}}, TextAlignment::Center, 0);
    Rect ink = inkBounds(centred.makeImage(), 1);
    EXPECT_NEAR(ink.midX(), 100, 6);
}

TEST(BitmapContextTest, PngDataDecodesToTheSamePicture) {
    BitmapContext context(8, 8);
    context.fillRect(Rect{{0, 0}, {4, 8}}, Color::greenColor());
    Image decoded = Image::decode(context.pngData());
    ASSERT_FALSE(decoded.isNull());
    EXPECT_EQ(decoded.pixelAt(1, 1), kGreen);
    EXPECT_EQ(decoded.pixelAt(6, 1), 0u);
}

TEST(BitmapContextTest, UnusableSizesAndCallsDoNothingHarmful) {
    BitmapContext huge(Size{1e9, 10});
    EXPECT_FALSE(huge.isValid());
    huge.fillRect(Rect{{0, 0}, {5, 5}}, Color::redColor());
    huge.drawText("x", Font::systemFont(12), Color::black(), Rect{{0, 0}, {5, 5}},
                  TextAlignment::Left, 0);
    EXPECT_TRUE(huge.makeImage().isNull());
    EXPECT_EQ(huge.pngData(), "");
    EXPECT_TRUE(BitmapContext(Size{0, 10}).makeImage().isNull());

    // An unbalanced restore, a singular transform and an empty image leave the context usable.
    BitmapContext context(4, 4);
    context.restoreState();
    context.scale(0, 0);
    context.drawImage(Image(), Rect{{0, 0}, {4, 4}});
    context.drawText("x", Font::systemFont(-3), Color::black(), Rect{{0, 0}, {4, 4}},
                     TextAlignment::Left, 0);
    context.fillRect(Rect{{0, 0}, {4, 4}}, Color::redColor());
    EXPECT_EQ(context.makeImage().pixelAt(3, 3), kRed);
}

}  // namespace
}  // namespace platform
