#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>

#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/TextMeasurer.h"
#include "tests/graphics/PixelTestSupport.h"

namespace platform {
namespace {

constexpr double kPi = std::numbers::pi;
using pixeltest::kBlue;
using pixeltest::kGreen;
using pixeltest::kRed;
using pixeltest::kWhite;
using pixeltest::quadrants;

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

TEST(BitmapContextTest, FillRectColoursItsPixelsOnlyWithinTheClip) {
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

    BitmapContext clipped(20, 20);
    clipped.clip(Rect{{5, 5}, {5, 5}});
    clipped.fillRect(Rect{{0, 0}, {20, 20}}, Color::redColor());
    EXPECT_EQ(inkBounds(clipped.makeImage()), (Rect{{5, 5}, {5, 5}}));
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

TEST(BitmapContextTest, ShapesColourOnlyTheirPixelsAndAnOpaqueContextStartsBlack) {
    BitmapContext rounded(40, 40);
    rounded.fillRoundedRect(Rect{{0, 0}, {40, 40}}, 12, Color::redColor());
    Image image = rounded.makeImage();
    EXPECT_EQ(image.pixelAt(0, 0), 0u);
    EXPECT_EQ(image.pixelAt(39, 39), 0u);
    EXPECT_EQ(image.pixelAt(20, 0), kRed);
    EXPECT_EQ(image.pixelAt(20, 20), kRed);

    BitmapContext outline(20, 20);
    outline.strokeRect(Rect{{2, 2}, {16, 16}}, Color::blueColor(), 2);
    EXPECT_EQ(outline.makeImage().pixelAt(2, 10), kBlue);
    EXPECT_EQ(outline.makeImage().pixelAt(10, 10), 0u);

    BitmapContext opaque(Size{4, 4}, 1, true);
    opaque.fillRect(Rect{{0, 0}, {2, 2}}, Color::whiteAlpha(1, 0.5f));
    EXPECT_EQ(opaque.makeImage().pixelAt(3, 3), 0xFF000000u);
    EXPECT_EQ(opaque.makeImage().pixelAt(0, 0) >> 24, 0xFFu);
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
    context.drawImage(quadrants(4, 4, 1, ImageOrientation::Down), Rect{{0, 0}, {4, 4}});
    std::uint32_t topLeft = context.makeImage().pixelAt(0, 0);
    EXPECT_NEAR(static_cast<int>(topLeft >> 24), 128, 1);
    EXPECT_EQ(topLeft & 0xFFFFFF, 0xFF0000u) << "still red: the stored bitmap, not turned";
}

TEST(BitmapContextTest, DrawImageUprightTurnsEveryOrientationUpright) {
    // The upright picture's corners (top-left, top-right, bottom-left, bottom-right) for a
    // 4 x 2 bitmap stored as red, green over blue, white.
    using O = ImageOrientation;
    const std::pair<O, std::array<std::uint32_t, 4>> cases[] = {
        {O::Up, {kRed, kGreen, kBlue, kWhite}},
        {O::Down, {kWhite, kBlue, kGreen, kRed}},
        {O::Left, {kGreen, kWhite, kRed, kBlue}},
        {O::Right, {kBlue, kRed, kWhite, kGreen}},
        {O::UpMirrored, {kGreen, kRed, kWhite, kBlue}},
        {O::DownMirrored, {kBlue, kWhite, kRed, kGreen}},
        {O::LeftMirrored, {kRed, kBlue, kGreen, kWhite}},
        {O::RightMirrored, {kWhite, kGreen, kBlue, kRed}},
    };
    for (const auto& [orientation, corners] : cases) {
        Image photo = quadrants(4, 2, 1, orientation);
        BitmapContext context(photo.size());
        context.drawImageUpright(photo, Rect{{0, 0}, photo.size()});
        Image shown = context.makeImage();
        int right = shown.pixelWidth() - 1;
        int bottom = shown.pixelHeight() - 1;
        EXPECT_EQ(shown.pixelWidth(), int(photo.size().width));
        EXPECT_EQ((std::array{shown.pixelAt(0, 0), shown.pixelAt(right, 0),
                              shown.pixelAt(0, bottom), shown.pixelAt(right, bottom)}),
                  corners)
            << "orientation " << int(orientation);
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

    // Translucent colour is stored straight and comes back premultiplied as it was drawn,
    // within the rounding of one step per channel.
    BitmapContext translucent(3, 1);
    translucent.fillRect(Rect{{0, 0}, {1, 1}}, Color::rgba(1, 0.5f, 0.25f, 0.5f));
    translucent.fillRect(Rect{{1, 0}, {1, 1}}, Color::rgba(0.2f, 0.4f, 0.6f, 0.1f));
    translucent.fillRect(Rect{{2, 0}, {1, 1}}, Color::rgba(0.3f, 0.6f, 0.9f, 1));
    Image drawn = translucent.makeImage();
    Image back = Image::decode(translucent.pngData());
    ASSERT_FALSE(back.isNull());
    for (int x = 0; x < 3; ++x) {
        for (int shift : {0, 8, 16, 24}) {
            int a = int(drawn.pixelAt(x, 0) >> shift & 0xFF);
            int b = int(back.pixelAt(x, 0) >> shift & 0xFF);
            EXPECT_LE(std::abs(a - b), 1) << "pixel " << x << " shift " << shift;
        }
    }
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

namespace platform {
namespace {

// A 5 x 5 picture: a red border one pixel wide around a green middle.
Image framed() {
    std::vector<std::uint32_t> argb;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            argb.push_back(x == 0 || y == 0 || x == 4 || y == 4 ? kRed : kGreen);
    return Image::fromARGB(5, 5, std::move(argb));
}

TEST(BitmapContextStretchTest, AStretchableImageKeepsItsCapsAndStretchesOnlyItsMiddle) {
    // Caps of 2 leave the middle column and row at 2; the border stays one pixel wide.
    BitmapContext context(Size{20, 12});
    context.drawImageUpright(framed().stretchableImage(2, 2), Rect{{0, 0}, {20, 12}});
    Image result = context.makeImage();
    EXPECT_EQ(result.pixelAt(0, 6), kRed);
    EXPECT_EQ(result.pixelAt(1, 6), kGreen);
    EXPECT_EQ(result.pixelAt(18, 6), kGreen);
    EXPECT_EQ(result.pixelAt(19, 6), kRed);
    EXPECT_EQ(result.pixelAt(10, 0), kRed);
    EXPECT_EQ(result.pixelAt(10, 1), kGreen);
    EXPECT_EQ(result.pixelAt(10, 11), kRed);

    // Without caps the same picture scales whole: its border grows with it.
    BitmapContext plain(Size{20, 12});
    plain.drawImageUpright(framed(), Rect{{0, 0}, {20, 12}});
    EXPECT_NE(plain.makeImage().pixelAt(2, 6), kGreen);
}

TEST(BitmapContextStretchTest, CapsStayInsideThePictureAndDoNotMakeImagesOfOneNameDiffer) {
    Image image = framed().stretchableImage(40, -3);
    EXPECT_EQ(image.leftCapWidth(), 4);
    EXPECT_EQ(image.topCapHeight(), 0);
    EXPECT_FALSE(framed().stretchableImage(2, 2) == framed());
    EXPECT_TRUE(Image().stretchableImage(2, 2).isNull());
}

TEST(BitmapContextPathTest, APathIsStrokedWithTheColourAndWidthSetBeforeTheStroke) {
    BitmapContext context(Size{10, 10}, 2);
    context.beginPath();
    context.moveToPoint({0, 5});
    context.addLineToPoint({10, 5});
    // Other drawing between does not disturb the path.
    context.clearRect(Rect{{0, 0}, {10, 10}});
    context.setStrokeColor(Color::rgba(0, 0, 1));
    context.setLineWidth(2);
    context.strokePath();
    Image wide = context.makeImage();
    EXPECT_EQ(wide.pixelAt(10, 8), kBlue);
    EXPECT_EQ(wide.pixelAt(10, 11), kBlue);
    EXPECT_EQ(wide.pixelAt(10, 6), 0u);

    // Width 0 is one pixel; the path is gone after a stroke.
    BitmapContext thin(Size{10, 10}, 2);
    thin.setLineWidth(0);
    thin.beginPath();
    thin.moveToPoint({0, 5.25});
    thin.addLineToPoint({10, 5.25});
    thin.strokePath();
    thin.strokePath();
    Rect ink = inkBounds(thin.makeImage());
    EXPECT_EQ(ink.height(), 1);
    EXPECT_EQ(ink.width(), 20);
}

}  // namespace
}  // namespace platform
