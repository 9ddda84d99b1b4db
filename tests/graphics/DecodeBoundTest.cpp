#include <gtest/gtest.h>
#include <zlib.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/graphics/DecodeBudget.h"
#include "platform/graphics/Image.h"
#include "tests/graphics/PixelTestSupport.h"
#include "tests/support/BombPicture.h"

namespace platform {
namespace {

using pixeltest::channelDistance;
using pixeltest::kBlue;
using pixeltest::kRed;

// Left half red, right half blue.
Image halves(int w, int h) {
    std::vector<std::uint32_t> argb;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) argb.push_back(x < w / 2 ? kRed : kBlue);
    return Image::fromARGB(w, h, std::move(argb));
}

using testsupport::putBigEndian32;
using testsupport::putChunk;

// 2 x 1 pixels from a palette of black and red, black made fully transparent by a tRNS chunk,
// after a text chunk.
std::string palettePngWithTransparency() {
    std::string header;
    putBigEndian32(header, 2);
    putBigEndian32(header, 1);
    header += std::string("\x08\x03\x00\x00\x00", 5);  // 8 bits, palette
    const std::string row("\x00\x00\x01", 3);          // no filter, entries 0 and 1
    uLongf size = compressBound(static_cast<uLong>(row.size()));
    std::string compressed(size, '\0');
    compress(reinterpret_cast<Bytef*>(compressed.data()), &size,
             reinterpret_cast<const Bytef*>(row.data()), static_cast<uLong>(row.size()));
    compressed.resize(size);
    std::string png("\x89PNG\r\n\x1a\n", 8);
    putChunk(png, "IHDR", header);
    putChunk(png, "tEXt", std::string("Title\0a picture", 15));
    putChunk(png, "PLTE", std::string("\x00\x00\x00\xFF\x00\x00", 6));
    putChunk(png, "tRNS", std::string(1, '\0'));
    putChunk(png, "IDAT", compressed);
    putChunk(png, "IEND", "");
    return png;
}

// A 1 x 1 grey PNG whose pixel comes after `chunks` private ancillary chunks of `bytes` each.
std::string privateChunkPng(int chunks, std::size_t bytes) {
    std::string header;
    putBigEndian32(header, 1);
    putBigEndian32(header, 1);
    header += std::string("\x08\x00\x00\x00\x00", 5);  // 8 bits, grey
    const std::string row("\x00\x80", 2);
    uLongf size = compressBound(static_cast<uLong>(row.size()));
    std::string compressed(size, '\0');
    compress(reinterpret_cast<Bytef*>(compressed.data()), &size,
             reinterpret_cast<const Bytef*>(row.data()), static_cast<uLong>(row.size()));
    compressed.resize(size);
    std::string png("\x89PNG\r\n\x1a\n", 8);
    putChunk(png, "IHDR", header);
    for (int i = 0; i < chunks; ++i) putChunk(png, "prVt", std::string(bytes, char('a' + i % 26)));
    putChunk(png, "IDAT", compressed);
    putChunk(png, "IEND", "");
    return png;
}

// Each test starts and ends with the default budget and nothing of its own held.
class DecodeBoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        heldBefore = DecodeBudget::held();
        // A decoder that keeps its working memory fails the next decode quickly.
        DecodeBudget::setLongestWait(std::chrono::seconds(30));
    }
    void TearDown() override {
        DecodeBudget::setLimit(DecodeBudget::kDefaultLimit);
        DecodeBudget::setLongestWait(DecodeBudget::kDefaultLongestWait);
        EXPECT_EQ(DecodeBudget::held(), heldBefore)
            << "a decoded picture's bytes were not given back";
    }
    std::size_t heldBefore = 0;

    // The most a decode of `bytes` reserves at once: its pixels and its decoder's memory.
    std::size_t workingMemoryOf(const std::string& bytes, Size shown = {}) {
        DecodeBudget::resetPeak();
        const Image image = Image::decode(bytes, 1, shown);
        EXPECT_FALSE(image.isNull());
        return DecodeBudget::peak() - heldBefore;
    }
};

TEST_F(DecodeBoundTest, PicturesWithinTheShownSizeDecodeExactlyAsBefore) {
    const Image original = halves(40, 30);
    for (const std::string& bytes : {original.pngData(), original.jpegData(1)}) {
        for (Size shown : {Size{}, Size{40, 30}, Size{400, 300}}) {
            const Image image = Image::decode(bytes, 2, shown);
            ASSERT_FALSE(image.isNull());
            EXPECT_FALSE(image.isReduced());
            EXPECT_EQ(image.pixelWidth(), 40);
            EXPECT_EQ(image.scale(), 2);
            EXPECT_LE(channelDistance(image.pixelAt(5, 5), kRed), 8);
            EXPECT_LE(channelDistance(image.pixelAt(35, 25), kBlue), 8);
        }
    }
    // Straight alpha as before: a transparent pixel has no colour left.
    const Image clear = Image::fromARGB(1, 1, {0x00FF0000});
    EXPECT_EQ(Image::decode(clear.pngData()).pixelAt(0, 0), 0u);
}

TEST_F(DecodeBoundTest, ABombPngDecodesNoLargerThanItIsShownAndKeepsItsPoints) {
    const std::string bomb = testsupport::bombPng(8192, 8192);
    EXPECT_LT(bomb.size(), 300u * 1024);
    // A row's thumbnail, 80 x 55 points at scale 2.
    const Image thumbnail = Image::decode(bomb, 1, Size{160, 110});
    ASSERT_FALSE(thumbnail.isNull());
    EXPECT_TRUE(thumbnail.isReduced());
    EXPECT_EQ(thumbnail.pixelWidth(), 160);  // fills 160 x 110 in either orientation
    EXPECT_EQ(thumbnail.pixelHeight(), 160);
    EXPECT_DOUBLE_EQ(thumbnail.size().width, 8192);
    EXPECT_EQ(thumbnail.pixelAt(80, 80), 0xFF808080u);
    EXPECT_TRUE(thumbnail.isEnoughFor(Size{100, 100}));
    EXPECT_FALSE(thumbnail.isEnoughFor(Size{1000, 1000}));

    // Shown at no particular size it is still held to the per-picture bound.
    const Image whole = Image::decode(bomb);
    ASSERT_FALSE(whole.isNull());
    EXPECT_LE(static_cast<long long>(whole.pixelWidth()) * whole.pixelHeight(),
              Image::kMaxDecodedPixels);
    EXPECT_EQ(whole.pixelWidth(), whole.pixelHeight());
}

TEST_F(DecodeBoundTest, AJpegIsScaledByTheDecoderAndAveragedToTheShownSize) {
    const std::string jpeg = halves(1600, 1200).jpegData(0.9);
    const Image image = Image::decode(jpeg, 1, Size{200, 150});
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(image.isReduced());
    // Filling 200 x 150 turned either way takes a factor of 200 / 1200.
    EXPECT_EQ(image.pixelWidth(), 267);
    EXPECT_EQ(image.pixelHeight(), 200);
    EXPECT_NEAR(image.size().width, 1600, 0.01);
    EXPECT_LE(channelDistance(image.pixelAt(20, 100), kRed), 8);
    EXPECT_LE(channelDistance(image.pixelAt(250, 100), kBlue), 8);
}

TEST_F(DecodeBoundTest, AveragingLetsTransparentPixelsLendNoColour) {
    // One opaque red pixel beside a transparent black one, shown as one pixel.
    const Image pair = Image::fromARGB(2, 1, {kRed, 0x00000000});
    const Image one = Image::decode(pair.pngData(), 1, Size{0.5, 0.5});
    ASSERT_EQ(one.pixelWidth(), 1);
    EXPECT_LE(channelDistance(one.pixelAt(0, 0), 0x80FF0000u), 1);
}

TEST_F(DecodeBoundTest, PicturesHeldAtOnceShareOneBudget) {
    const std::string picture = halves(256, 256).pngData();  // 256 KB decoded
    // Room for four of them, and for the decoder's own memory while it decodes one more.
    const std::size_t working = workingMemoryOf(picture) - 256 * 256 * 4;
    DecodeBudget::setLimit(heldBefore + 1024 * 1024 + working);
    std::vector<Image> held;
    for (int i = 0; i < 4; ++i) {
        held.push_back(Image::decode(picture));
        ASSERT_FALSE(held.back().isNull());
        EXPECT_FALSE(held.back().isReduced());
    }
    EXPECT_EQ(DecodeBudget::held(), heldBefore + 4 * 256 * 256 * 4);
    // Nothing is left: a fifth is not decoded at all.
    EXPECT_TRUE(Image::decode(picture).isNull());
    // With a quarter of it free again, a larger picture is decoded smaller to fit.
    held.pop_back();
    const Image big = Image::decode(halves(512, 512).pngData());
    ASSERT_FALSE(big.isNull());
    EXPECT_TRUE(big.isReduced());
    EXPECT_NEAR(big.size().width, 512, 0.01);
    EXPECT_LE(DecodeBudget::held(), DecodeBudget::limit());
    // Copies share one reservation, given back with the last of them.
    const Image copy = big;
    const std::size_t withCopy = DecodeBudget::held();
    EXPECT_EQ(withCopy, heldBefore + 3 * 256 * 256 * 4 +
                            std::size_t(big.pixelWidth()) * big.pixelHeight() * 4);
    held.clear();
    EXPECT_EQ(DecodeBudget::held(),
              heldBefore + std::size_t(big.pixelWidth()) * big.pixelHeight() * 4);
}

TEST_F(DecodeBoundTest, APngIsReadForItsPixelsAloneWhateverChunksComeWithThem) {
    // A thousand compressed text chunks of a megabyte each before the pixel.
    const std::string texts = testsupport::textChunkPng(999);
    EXPECT_LT(texts.size(), 2u << 20);
    const Image one = Image::decode(texts);
    ASSERT_FALSE(one.isNull());
    EXPECT_EQ(one.pixelAt(0, 0), 0xFF808080u);
    // What the pixels need of the other chunks is still read: the palette, its transparency.
    const Image palette = Image::decode(palettePngWithTransparency());
    ASSERT_EQ(palette.pixelWidth(), 2);
    EXPECT_EQ(palette.pixelAt(0, 0) >> 24, 0u);
    EXPECT_EQ(palette.pixelAt(1, 0), kRed);
}

TEST_F(DecodeBoundTest, APngsPrivateChunksArePassedOverUnreadNotKeptWithThePicture) {
    // Sixteen of 900 KB each: 14 MB that a decoder keeping them would hold for a pixel.
    const Image image = Image::decode(privateChunkPng(16, 900 << 10));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixelAt(0, 0), 0xFF808080u);
}

TEST_F(DecodeBoundTest, AJpegIsReadToItsSixtyFourthScanAndNoFurther) {
    const Image sixtyFour = Image::decode(testsupport::manyScanJpeg(64, 64, 64));
    ASSERT_FALSE(sixtyFour.isNull());
    EXPECT_EQ(sixtyFour.pixelAt(10, 10), 0xFF808080u);
    EXPECT_TRUE(Image::decode(testsupport::manyScanJpeg(64, 64, 65)).isNull());
}

TEST_F(DecodeBoundTest, AJpegOfThousandsOfScansIsRefusedWhileOrdinaryProgressiveOnesDecode) {
    // Each scan of these costs a pass over every block for a few bytes.
    for (int scans : {2, 10, 40}) {
        const Image image = Image::decode(testsupport::manyScanJpeg(256, 256, scans));
        ASSERT_FALSE(image.isNull()) << scans << " scans";
        EXPECT_EQ(image.pixelAt(100, 100), 0xFF808080u);
    }
    const std::string thousands = testsupport::manyScanJpeg(256, 256, 5000);
    EXPECT_LT(thousands.size(), 128u << 10);
    EXPECT_TRUE(Image::decode(thousands).isNull());
    EXPECT_TRUE(Image::decode(thousands, 1, Size{64, 64}).isNull());

    // Fewer scans of a large picture are held to the blocks they cover together: 524,288
    // blocks a scan, forty times over, then fifty.
    const Size thumbnail{64, 128};
    EXPECT_FALSE(Image::decode(testsupport::manyScanJpeg(4096, 8192, 40), 1, thumbnail).isNull());
    EXPECT_TRUE(Image::decode(testsupport::manyScanJpeg(4096, 8192, 50), 1, thumbnail).isNull());
}

}  // namespace
}  // namespace platform
