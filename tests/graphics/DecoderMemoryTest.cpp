// What a decoder holds while it works counts in the decoded-picture budget with the pixels: a
// picture whose decoder alone would pass it is refused before the decoder takes anything, one
// that fits is decoded and gives that memory back as soon as it is done, and decodes at once
// on many threads together stay inside the budget. A decode waits for room only so long: a
// decoder that never gives its memory back fails the next decode, and these tests, at once.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/Log.h"
#include "platform/graphics/DecodeBudget.h"
#include "platform/graphics/Image.h"
#include "tests/graphics/PixelTestSupport.h"
#include "tests/support/BombPicture.h"

namespace platform {
namespace {

constexpr std::size_t kMB = std::size_t{1} << 20;
constexpr std::uint32_t kGrey = 0xFF808080;
// A row's thumbnail, 80 x 55 points at scale 2.
constexpr Size kThumbnail{160, 110};

class DecoderMemoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        heldBefore = DecodeBudget::held();
        givenUpBefore = DecodeBudget::waitsGivenUp();
        // Far longer than any decode here takes, far shorter than the test run's time-out: a
        // decoder that keeps its working memory fails the test that meets it, quickly.
        DecodeBudget::setLongestWait(std::chrono::seconds(30));
    }
    void TearDown() override {
        DecodeBudget::setLimit(DecodeBudget::kDefaultLimit);
        DecodeBudget::setLongestWait(DecodeBudget::kDefaultLongestWait);
        EXPECT_EQ(DecodeBudget::held(), heldBefore) << "bytes of the budget were not given back";
        EXPECT_EQ(DecodeBudget::waitsGivenUp(), givenUpBefore)
            << "a decode waited for working memory that a decoder never gave back";
    }

    static std::size_t pixelBytes(const Image& image) {
        return std::size_t(image.pixelWidth()) * std::size_t(image.pixelHeight()) * 4;
    }

    // The most a decode of `bytes` reserves at once, its pixels and its decoder's memory.
    std::size_t reservedToDecode(const std::string& bytes) {
        DecodeBudget::resetPeak();
        const Image image = Image::decode(bytes, 1, kThumbnail);
        EXPECT_FALSE(image.isNull());
        return DecodeBudget::peak() - heldBefore;
    }

    std::size_t heldBefore = 0;
    std::size_t givenUpBefore = 0;
    // 2048 x 2048 in one progressive scan, chroma halved: 12 MB of coefficients to decode.
    const std::string progressive = testsupport::bombProgressiveJpeg(2048, 2048, 3, true);
};

TEST_F(DecoderMemoryTest, AProgressiveCmykBombIsRefusedBeforeItsDecoderTakesAnything) {
    const std::string bomb = testsupport::bombProgressiveJpeg(8192, 8192, 4);
    EXPECT_LT(bomb.size(), 600u * 1024) << "512 MB of coefficients from half a megabyte";
    for (Size shown : {kThumbnail, Size{}}) {
        DecodeBudget::resetPeak();
        EXPECT_TRUE(Image::decode(bomb, 1, shown).isNull());
        EXPECT_EQ(DecodeBudget::peak(), heldBefore) << "nothing was reserved for it";
    }
    // The same picture in YCbCr with its chroma halved needs 192 MB: it fits, and is decoded.
    const Image ycc =
        Image::decode(testsupport::bombProgressiveJpeg(8192, 8192, 3, true), 1, kThumbnail);
    ASSERT_FALSE(ycc.isNull());
    EXPECT_TRUE(ycc.isReduced());
    EXPECT_EQ(ycc.pixelAt(10, 10), kGrey);
}

TEST_F(DecoderMemoryTest, AProgressivePictureReservesItsCoefficientsAndGivesThemBackWhenDone) {
    DecodeBudget::resetPeak();
    const Image thumbnail = Image::decode(progressive, 1, kThumbnail);
    ASSERT_FALSE(thumbnail.isNull());
    EXPECT_EQ(thumbnail.pixelWidth(), 160);
    EXPECT_EQ(thumbnail.pixelAt(80, 80), kGrey);
    EXPECT_GE(DecodeBudget::peak() - heldBefore, pixelBytes(thumbnail) + 12 * kMB);
    EXPECT_EQ(DecodeBudget::held(), heldBefore + pixelBytes(thumbnail))
        << "only the pixels stay held";

    // Room for the pixels, not for the decoder: refused, and nothing more is held.
    DecodeBudget::setLimit(DecodeBudget::held() + 8 * kMB);
    EXPECT_TRUE(Image::decode(progressive, 1, kThumbnail).isNull());
    EXPECT_EQ(DecodeBudget::held(), heldBefore + pixelBytes(thumbnail));
    // A picture of the same size in one sequential scan keeps only a few rows of blocks.
    const Image sequential = Image::decode(
        Image::fromARGB(2048, 2048, std::vector<std::uint32_t>(2048 * 2048, kGrey)).jpegData(0.8),
        1, kThumbnail);
    ASSERT_FALSE(sequential.isNull());
    EXPECT_LE(pixeltest::channelDistance(sequential.pixelAt(80, 80), kGrey), 2);
}

TEST_F(DecoderMemoryTest, AnInterlacedPngCountsEveryRowItHoldsWhileDecoding) {
    // 1024 x 1024: 4 MB of rows until the last pass.
    const std::string interlaced = testsupport::bombPng(1024, 1024, true);
    const std::string plain = testsupport::bombPng(1024, 1024);
    DecodeBudget::setLimit(heldBefore + 3 * kMB);
    EXPECT_TRUE(Image::decode(interlaced, 1, kThumbnail).isNull());
    const Image row = Image::decode(plain, 1, kThumbnail);
    ASSERT_FALSE(row.isNull()) << "row by row it needs a row at a time";
    EXPECT_EQ(row.pixelAt(10, 10), kGrey);

    DecodeBudget::setLimit(DecodeBudget::kDefaultLimit);
    const Image whole = Image::decode(interlaced, 1, kThumbnail);
    ASSERT_FALSE(whole.isNull());
    EXPECT_EQ(whole.pixelAt(10, 10), kGrey);
}

TEST_F(DecoderMemoryTest, DecodesAtOnceOnManyThreadsTogetherStayInsideTheBudget) {
    const std::size_t one = reservedToDecode(progressive);
    // Room for two decodes at once, not for eight.
    DecodeBudget::setLimit(heldBefore + 2 * one + one / 2);
    DecodeBudget::resetPeak();
    std::vector<Image> images(8);
    std::vector<std::thread> threads;
    for (auto& image : images)
        threads.emplace_back([&image, this] { image = Image::decode(progressive, 1, kThumbnail); });
    for (auto& thread : threads) thread.join();
    EXPECT_LE(DecodeBudget::peak(), DecodeBudget::limit());
    // None was refused: the pictures kept leave room for a decoder, so each waited for the
    // ones before it.
    for (const auto& image : images) {
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.pixelAt(80, 80), kGrey);
    }
}

TEST_F(DecoderMemoryTest, ADecodeWaitsForOtherDecodersButNotForPicturesKept) {
    const std::size_t one = reservedToDecode(progressive);
    DecodeBudget::setLimit(heldBefore + one + one / 2);
    // Another decoder is under way and holds most of the budget.
    ASSERT_TRUE(DecodeBudget::reserveForDecode(0, one));
    Image image;
    std::thread decoding([&] { image = Image::decode(progressive, 1, kThumbnail); });
    const auto bound = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (DecodeBudget::waiting() == 0 && std::chrono::steady_clock::now() < bound)
        std::this_thread::yield();
    EXPECT_EQ(DecodeBudget::waiting(), 1u);
    EXPECT_EQ(DecodeBudget::held(), heldBefore + one) << "a waiting decode holds nothing";
    DecodeBudget::releaseWorking(one);
    decoding.join();
    ASSERT_FALSE(image.isNull());

    // Held by a picture that is kept, the room never comes back: refused at once.
    ASSERT_TRUE(DecodeBudget::tryReserve(one));
    EXPECT_TRUE(Image::decode(progressive, 1, kThumbnail).isNull());
    EXPECT_EQ(DecodeBudget::waiting(), 0u);
    DecodeBudget::release(one);
}

TEST_F(DecoderMemoryTest, ADecoderThatKeepsItsWorkingMemoryMakesTheNextWaitGiveUpAndSaySo) {
    const std::size_t one = reservedToDecode(progressive);
    DecodeBudget::setLimit(heldBefore + one + one / 2);
    // A decoder under way that will never give its memory back.
    ASSERT_TRUE(DecodeBudget::reserveForDecode(0, one));
    std::vector<std::string> logged;
    setLogSink([&logged](const std::string& line) { logged.push_back(line); });
    DecodeBudget::setLongestWait(std::chrono::milliseconds(0));
    EXPECT_TRUE(Image::decode(progressive, 1, kThumbnail).isNull());
    setLogSink(nullptr);
    EXPECT_EQ(DecodeBudget::waitsGivenUp(), givenUpBefore + 1);
    EXPECT_EQ(DecodeBudget::waiting(), 0u);
    EXPECT_EQ(DecodeBudget::held(), heldBefore + one) << "the decode that gave up holds nothing";
    ASSERT_EQ(logged.size(), 1u) << "one line, not one per smaller size tried";
    EXPECT_NE(logged.front().find("gave up after waiting 0 ms for decoders to give back"),
              std::string::npos)
        << logged.front();
    DecodeBudget::releaseWorking(one);
    givenUpBefore = DecodeBudget::waitsGivenUp();
}

}  // namespace
}  // namespace platform
