#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/graphics/Image.h"
#include "tests/graphics/PixelTestSupport.h"
#include "tests/support/TempHome.h"

namespace platform {
namespace {

using pixeltest::channelDistance;
using pixeltest::kBlue;
using pixeltest::kGreen;
using pixeltest::kRed;
using pixeltest::kWhite;
using pixeltest::quadrants;

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST(ImageTest, DefaultAndBadInputGiveEmptyImages) {
    EXPECT_TRUE(Image().isNull());
    EXPECT_TRUE(Image::fromARGB(2, 2, {kRed, kRed, kRed}).isNull()) << "pixel count mismatch";
    EXPECT_TRUE(Image::fromARGB(0, 0, {}).isNull());
    EXPECT_TRUE(Image::decode("not an image").isNull());
    EXPECT_TRUE(Image::decode("").isNull());
    EXPECT_TRUE(Image::fromFile("/nonexistent/file.png").isNull());
    Image empty;
    EXPECT_EQ(empty.size(), (Size{0, 0}));
    EXPECT_EQ(empty.pngData(), "");
    EXPECT_EQ(empty.jpegData(0.8), "");
    EXPECT_EQ(empty.pixelAt(0, 0), 0u);
}

TEST(ImageTest, PixelsReadBackInBitmapCoordinates) {
    Image image = quadrants(4, 2);
    EXPECT_EQ(image.pixelAt(0, 0), kRed);
    EXPECT_EQ(image.pixelAt(3, 0), kGreen);
    EXPECT_EQ(image.pixelAt(0, 1), kBlue);
    EXPECT_EQ(image.pixelAt(3, 1), kWhite);
    EXPECT_EQ(image.pixelAt(4, 0), 0u) << "outside the bitmap";
    EXPECT_EQ(image.withOrientation(ImageOrientation::Right).pixelAt(3, 0), kGreen)
        << "orientation does not move stored pixels";
}

TEST(ImageTest, PngRoundTripKeepsEveryPixel) {
    std::vector<std::uint32_t> argb = {kRed, kGreen, 0x00000000, 0x80FF0000, kBlue, 0xFF123456};
    Image original = Image::fromARGB(3, 2, argb);
    std::string png = original.pngData();
    ASSERT_FALSE(png.empty());
    Image decoded = Image::decode(png);
    ASSERT_FALSE(decoded.isNull());
    EXPECT_EQ(decoded.pixelWidth(), 3);
    EXPECT_EQ(decoded.pixelHeight(), 2);
    for (int i = 0; i < 6; ++i) {
        EXPECT_LE(channelDistance(decoded.pixelAt(i % 3, i / 3), argb[i]), 1) << "pixel " << i;
    }
    EXPECT_EQ(decoded.pixelAt(0, 0), kRed);
    EXPECT_EQ(decoded.pixelAt(2, 1), 0xFF123456u);
    EXPECT_EQ(decoded.pixelAt(2, 0), 0u);
}

TEST(ImageTest, DamagedPngOrJpegGivesEmptyImageAndNeverCrashes) {
    std::string png = quadrants(8, 8).pngData();
    EXPECT_TRUE(Image::decode(png.substr(0, png.size() / 2)).isNull());
    std::string corrupt = png;
    corrupt[40] = static_cast<char>(corrupt[40] ^ 0x5A);
    EXPECT_TRUE(Image::decode(corrupt).isNull());

    std::string jpeg = quadrants(16, 16).jpegData(0.8);
    for (std::size_t length : {3ul, 20ul, jpeg.size() / 2}) {
        Image partial = Image::decode(jpeg.substr(0, length));
        if (!partial.isNull()) {
            EXPECT_EQ(partial.pixelWidth(), 16);
        }
    }
    EXPECT_TRUE(Image::decode("\xFF\xD8\xFF" + std::string(200, '\x7F')).isNull());
}

TEST(ImageTest, JpegRoundTripIsCloseAndOpaque) {
    Image original = quadrants(32, 32);
    std::string jpeg = original.jpegData(0.95);
    ASSERT_FALSE(jpeg.empty());
    Image decoded = Image::decode(jpeg, 2);
    ASSERT_FALSE(decoded.isNull());
    EXPECT_EQ(decoded.pixelWidth(), 32);
    EXPECT_EQ(decoded.scale(), 2);
    // Away from the colour edges the compression error is small.
    for (auto [x, y] : {std::pair{4, 4}, {27, 4}, {4, 27}, {27, 27}}) {
        EXPECT_LE(channelDistance(decoded.pixelAt(x, y), original.pixelAt(x, y)), 24)
            << x << "," << y << ": " << std::hex << decoded.pixelAt(x, y);
        EXPECT_EQ(decoded.pixelAt(x, y) >> 24, 0xFFu);
    }

    // Lower quality gives fewer bytes for a busy picture.
    std::vector<std::uint32_t> noise;
    std::uint32_t seed = 12345;
    for (int i = 0; i < 64 * 64; ++i) {
        seed = seed * 1103515245 + 12345;
        noise.push_back(0xFF000000 | (seed >> 8));
    }
    Image busy = Image::fromARGB(64, 64, noise);
    EXPECT_LT(busy.jpegData(0.1).size(), busy.jpegData(0.9).size());
}

TEST(ImageTest, JpegCarriesOrientationLikeACameraPhoto) {
    Image photo = quadrants(16, 8, 1, ImageOrientation::Right);
    Image decoded = Image::decode(photo.jpegData(0.9));
    ASSERT_FALSE(decoded.isNull());
    EXPECT_EQ(decoded.orientation(), ImageOrientation::Right);
    EXPECT_EQ(decoded.size(), (Size{8, 16}));
    EXPECT_EQ(Image::decode(quadrants(16, 8).jpegData(0.9)).orientation(), ImageOrientation::Up);
}

TEST(ImageTest, SizeIsInPointsAndSwapsForSidewaysOrientations) {
    Image image = quadrants(40, 20, 2);
    EXPECT_EQ(image.size(), (Size{20, 10}));
    EXPECT_EQ(image.withOrientation(ImageOrientation::Left).size(), (Size{10, 20}));
    EXPECT_EQ(image.withOrientation(ImageOrientation::RightMirrored).size(), (Size{10, 20}));
    EXPECT_EQ(image.withOrientation(ImageOrientation::Down).size(), (Size{20, 10}));
    EXPECT_EQ(image.withScale(1).size(), (Size{40, 20}));
    EXPECT_EQ(image.withScale(0).scale(), 1) << "a scale of zero would divide by zero";
}

TEST(ImageTest, CroppedClipsToTheBitmap) {
    Image image = quadrants(4, 4, 2, ImageOrientation::Down);
    Image inside = image.cropped(2, 0, 2, 2);
    EXPECT_EQ(inside.pixelWidth(), 2);
    EXPECT_EQ(inside.pixelAt(0, 0), kGreen);
    EXPECT_EQ(inside.scale(), 2);
    EXPECT_EQ(inside.orientation(), ImageOrientation::Down);

    Image overhanging = image.cropped(-1, 3, 10, 10);
    EXPECT_EQ(overhanging.pixelWidth(), 4);
    EXPECT_EQ(overhanging.pixelHeight(), 1);
    EXPECT_EQ(overhanging.pixelAt(0, 0), kBlue);
    EXPECT_EQ(overhanging.pixelAt(3, 0), kWhite);

    EXPECT_TRUE(image.cropped(4, 0, 2, 2).isNull());
    EXPECT_TRUE(image.cropped(0, 0, 0, 2).isNull());
    EXPECT_TRUE(image.cropped(-5, -5, 3, 3).isNull());
}

class BundleImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* previous = std::getenv("CAMPUS_RESOURCES");
        if (previous) {
            m_previous = previous;
        }
        setenv("CAMPUS_RESOURCES", m_home.path().c_str(), 1);
    }
    void TearDown() override {
        if (m_previous) {
            setenv("CAMPUS_RESOURCES", m_previous->c_str(), 1);
        } else {
            unsetenv("CAMPUS_RESOURCES");
        }
    }
    void addImage(const std::string& file, int w, int h) {
        writeFile(m_home.path() / "images" / file, quadrants(w, h).pngData());
    }

    testsupport::TempHome m_home;
    std::optional<std::string> m_previous;
};

TEST_F(BundleImageTest, PrefersTheDoubleScaleFileThenPlainThenTripleScale) {
    addImage("logo.png", 10, 10);
    addImage("logo@2x.png", 20, 20);
    addImage("plain.png", 10, 10);
    addImage("big@3x.png", 30, 30);
    Image logo = Image::named("logo");
    ASSERT_FALSE(logo.isNull());
    EXPECT_EQ(logo.scale(), 2);
    EXPECT_EQ(logo.pixelWidth(), 20);
    EXPECT_EQ(logo.size(), (Size{10, 10}));
    EXPECT_EQ(Image::named("logo.png").scale(), 2) << "extension given";
    EXPECT_EQ(Image::named("plain").scale(), 1);
    Image big = Image::named("big");
    EXPECT_EQ(big.scale(), 3);
    EXPECT_EQ(big.size(), (Size{10, 10}));
    EXPECT_EQ(Image::named("big@3x.png").scale(), 3);
}

TEST_F(BundleImageTest, MissingOrUnreadableNamesGiveEmptyImages) {
    writeFile(m_home.path() / "images" / "broken@2x.png", "not a png");
    EXPECT_TRUE(Image::named("absent").isNull());
    EXPECT_TRUE(Image::named("").isNull());
    EXPECT_TRUE(Image::named("broken").isNull());
}

}  // namespace
}  // namespace platform
