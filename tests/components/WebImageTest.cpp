#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "components/webimage/ImageCache.h"
#include "components/webimage/ImageViewWebCache.h"
#include "components/webimage/MemoryCache.h"
#include "components/webimage/WebImageManager.h"
#include "platform/foundation/Dispatch.h"
#include "platform/foundation/Files.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/DecodeBudget.h"
#include "platform/graphics/Image.h"
#include "platform/net/HttpClient.h"
#include "platform/ui/ImageView.h"
#include "tests/net/TestServer.h"
#include "tests/support/BombPicture.h"
#include "tests/support/TempHome.h"

using namespace platform;
using namespace platform::components;
namespace fs = std::filesystem;

namespace {

constexpr auto kBound = std::chrono::seconds(5);
constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint32_t kGreen = 0xFF00FF00;

Image solid(int width, int height, std::uint32_t argb) {
    return Image::fromARGB(width, height,
                           std::vector<std::uint32_t>(size_t(width) * size_t(height), argb));
}

bool shows(const ImageView& view, std::uint32_t argb, int width) {
    const Image& image = view.image();
    return !image.isNull() && image.pixelWidth() == width && image.pixelAt(0, 0) == argb;
}

class WebImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        cache().clearMemory();
        server.serve("/img/red.png", solid(4, 3, kRed).pngData(), "image/png");
        server.serve("/img/blue.png", solid(6, 2, kBlue).pngData(), "image/png");
        server.serve("/held/red.png", solid(4, 3, kRed).pngData(), "image/png");
        server.serve("/img/text.png", "this is not an image", "image/png");
    }
    void TearDown() override {
        server.release();
        cache().clearMemory();
        // Waits for queued disk writes, so none lands after the data directory is gone.
        cache().getSize();
        RunLoop::main().reset();
    }

    static ImageCache& cache() { return ImageCache::shared(); }
    static WebImageManager& manager() { return WebImageManager::shared(); }

    // Loads the URL into a fresh view and waits until the view has the image it expects.
    std::shared_ptr<ImageView> load(const std::string& url, std::uint32_t argb, int width) {
        auto view = View::make<ImageView>();
        sd_setImageWithURL(view, url, placeholder);
        EXPECT_TRUE(RunLoop::main().runUntil([&] { return shows(*view, argb, width); }, kBound));
        return view;
    }

    // Waits until the view no longer waits for anything.
    static bool settled(const ImageView& view) {
        return RunLoop::main().runUntil([&] { return manager().pendingURL(view).empty(); }, kBound);
    }

    testsupport::TempHome home;
    nettest::TestServer server;
    Image placeholder = solid(1, 1, kGreen);
};

// --- Loading -----------------------------------------------------------------------------

TEST_F(WebImageTest, ShowsThePlaceholderAtOnceThenTheDownloadedImage) {
    auto view = View::make<ImageView>();
    sd_setImageWithURL(view, server.url("/img/red.png"), placeholder);
    EXPECT_TRUE(shows(*view, kGreen, 1));

    EXPECT_TRUE(RunLoop::main().runUntil([&] { return shows(*view, kRed, 4); }, kBound));
    EXPECT_EQ(server.requests("/img/red.png"), 1);
}

TEST_F(WebImageTest, LaterLoadsComeFromMemoryThenFromDiskWithoutARequest) {
    std::string url = server.url("/img/red.png");
    load(url, kRed, 4);
    auto again = View::make<ImageView>();
    sd_setImageWithURL(again, url, placeholder);
    EXPECT_TRUE(shows(*again, kRed, 4)) << "from memory, at once";

    cache().clearMemory();
    EXPECT_TRUE(cache().imageFromMemoryCache(url).isNull());
    load(url, kRed, 4);
    EXPECT_EQ(server.requests("/img/red.png"), 1);
    EXPECT_TRUE(fs::exists(cache().cachePathForKey(url)));
    EXPECT_EQ(cache().diskCachePath(), home.path() / "Caches" / "ImageCache" / "default");
    // An image stored without its bytes is encoded for the disk.
    cache().storeImage(solid(2, 2, kBlue), "key");
    cache().clearMemory();
    EXPECT_EQ(cache().imageFromDiskCache("key").pixelAt(1, 1), kBlue);
    EXPECT_TRUE(cache().imageFromDiskCache("other key").isNull());
}

// --- Failures ----------------------------------------------------------------------------

TEST_F(WebImageTest, MissingOrUndecodableImageKeepsThePlaceholderAndIsNotCached) {
    for (std::string path : {"/img/missing.png", "/img/text.png"}) {
        auto view = View::make<ImageView>();
        sd_setImageWithURL(view, server.url(path), placeholder);
        ASSERT_TRUE(settled(*view)) << path;
        EXPECT_EQ(server.requests(path), 1) << path;
        EXPECT_TRUE(shows(*view, kGreen, 1)) << path;
    }
    EXPECT_EQ(cache().getDiskCount(), 0u);
}

TEST_F(WebImageTest, APictureWhoseDecoderWouldPassTheBudgetKeepsThePlaceholder) {
    // Half a megabyte whose decoder would hold 512 MB; beside it, one whose decoder fits.
    server.serve("/img/cmyk.jpg", testsupport::bombProgressiveJpeg(8192, 8192, 4), "image/jpeg");
    server.serve("/img/ycc.jpg", testsupport::bombProgressiveJpeg(512, 512, 3, true), "image/jpeg");
    const std::size_t heldBefore = DecodeBudget::held();
    auto refused = View::make<ImageView>(Rect{{0, 0}, {40, 40}});
    sd_setImageWithURL(refused, server.url("/img/cmyk.jpg"), placeholder);
    ASSERT_TRUE(settled(*refused));
    EXPECT_EQ(server.requests("/img/cmyk.jpg"), 1);
    EXPECT_TRUE(shows(*refused, kGreen, 1));
    EXPECT_EQ(cache().getDiskCount(), 0u);
    EXPECT_EQ(DecodeBudget::held(), heldBefore);

    auto shown = View::make<ImageView>(Rect{{0, 0}, {40, 40}});
    sd_setImageWithURL(shown, server.url("/img/ycc.jpg"), placeholder);
    ASSERT_TRUE(settled(*shown));
    EXPECT_EQ(shown->image().pixelAt(0, 0), 0xFF808080u);
}

TEST_F(WebImageTest, InvalidOrEmptyURLKeepsThePlaceholderAndFetchesNothing) {
    for (std::string url : {std::string(), std::string("not a url"),
                            server.url("/img/red image.png"), std::string("ftp://127.0.0.1/x"),
                            std::string("file:///etc/passwd"), std::string("http://")}) {
        auto view = View::make<ImageView>();
        sd_setImageWithURL(view, url, placeholder);
        EXPECT_TRUE(shows(*view, kGreen, 1)) << url;
        EXPECT_EQ(manager().pendingURL(*view), "") << url;
    }
    RunLoop::main().runPending();
    EXPECT_TRUE(server.received().empty());

    // A view that showed an image shows the placeholder again for an empty URL.
    auto shown = load(server.url("/img/red.png"), kRed, 4);
    sd_setImageWithURL(shown, "", placeholder);
    EXPECT_TRUE(shows(*shown, kGreen, 1));
}

// --- Reused and destroyed views ------------------------------------------------------------

TEST_F(WebImageTest, ReusedViewShowsOnlyTheImageItAskedForLast) {
    auto view = View::make<ImageView>();
    sd_setImageWithURL(view, server.url("/held/red.png"), placeholder);
    ASSERT_TRUE(
        RunLoop::main().runUntil([&] { return server.requests("/held/red.png") == 1; }, kBound));

    sd_setImageWithURL(view, server.url("/img/blue.png"), placeholder);
    EXPECT_TRUE(shows(*view, kGreen, 1));
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return shows(*view, kBlue, 6); }, kBound));

    // The first reply arrives after the second image.
    server.release();
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return server.heldAnswered() == 1; }, kBound));
    // Its reply handled, decoded in the background and handed back, it still changes nothing.
    ASSERT_TRUE(RunLoop::main().runUntil(
        [] {
            return dispatch::backgroundWorkInFlight() == 0 &&
                   HttpClient::shared().inFlight() == 0 && !RunLoop::main().hasWorkDueNow();
        },
        kBound));
    EXPECT_TRUE(shows(*view, kBlue, 6));
}

TEST_F(WebImageTest, DestroyedViewIsNotTouchedAndTheImageStillReachesTheCache) {
    std::string url = server.url("/held/red.png");
    auto view = View::make<ImageView>();
    sd_setImageWithURL(view, url, placeholder);
    ASSERT_TRUE(
        RunLoop::main().runUntil([&] { return server.requests("/held/red.png") == 1; }, kBound));
    view.reset();

    server.release();
    EXPECT_TRUE(RunLoop::main().runUntil(
        [&] { return !cache().imageFromMemoryCache(url).isNull(); }, kBound));
}

TEST_F(WebImageTest, APictureWaitingForRoomToDecodeLeavesTheMainThreadFree) {
    // A decoder on the main thread would keep it while it waits: give up soon, so that the
    // fault shows quickly as a picture missing rather than as a stuck suite.
    DecodeBudget::setLongestWait(std::chrono::seconds(5));
    const std::size_t givenUpBefore = DecodeBudget::waitsGivenUp();
    // All the room but a kilobyte, held as another decoder's working memory: each decode must
    // wait until it is given back.
    auto holdRoom = [] {
        const std::size_t working = DecodeBudget::limit() - DecodeBudget::held() - 1024;
        EXPECT_TRUE(DecodeBudget::reserveForDecode(0, working));
        return working;
    };
    // Looked at between turns of the main loop, which nothing wakes when a decode starts to
    // wait.
    auto waitedAside = [] {
        const auto end = std::chrono::steady_clock::now() + 2 * kBound;
        while (DecodeBudget::waiting() != 1) {
            if (std::chrono::steady_clock::now() > end)
                return false;
            RunLoop::main().runUntil([] { return false; }, std::chrono::milliseconds(10));
        }
        return true;
    };
    const std::string url = server.url("/img/red.png");
    // Downloaded, then read back from the disk.
    for (const char* from : {"download", "disk"}) {
        SCOPED_TRACE(from);
        cache().clearMemory();
        const std::size_t working = holdRoom();
        auto view = View::make<ImageView>();
        sd_setImageWithURL(view, url, placeholder);
        const bool aside = waitedAside();
        DecodeBudget::releaseWorking(working);
        EXPECT_TRUE(aside) << "the decode held the main thread";
        EXPECT_TRUE(RunLoop::main().runUntil([&] { return shows(*view, kRed, 4); }, kBound));
        EXPECT_TRUE(settled(*view));
    }
    EXPECT_EQ(server.requests("/img/red.png"), 1);
    EXPECT_EQ(DecodeBudget::waitsGivenUp(), givenUpBefore);
    DecodeBudget::setLongestWait(DecodeBudget::kDefaultLongestWait);
}

// --- Disk cache size and clearing ------------------------------------------------------------

TEST_F(WebImageTest, ClearDiskEmptiesTheFolderAndTheSizeDropsToZero) {
    load(server.url("/img/red.png"), kRed, 4);
    load(server.url("/img/blue.png"), kBlue, 6);
    EXPECT_EQ(cache().getSize(),
              solid(4, 3, kRed).pngData().size() + solid(6, 2, kBlue).pngData().size());

    bool cleared = false;
    cache().clearDisk([&] { cleared = true; });
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return cleared; }, kBound));

    EXPECT_TRUE(fs::is_directory(cache().diskCachePath()));
    EXPECT_TRUE(fs::is_empty(cache().diskCachePath()));
    EXPECT_EQ(cache().getSize(), 0u);
    EXPECT_EQ(cache().checkTmpSize(), 0.0f);
}

TEST_F(WebImageTest, AClearRemovesWhatWasWrittenBeforeItAndNothingWrittenAfter) {
    cache().storeImage(solid(4, 3, kRed), "before");
    bool cleared = false;
    cache().clearDisk([&] { cleared = true; });
    cache().storeImage(solid(6, 2, kBlue), "after");
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return cleared; }, kBound));
    EXPECT_FALSE(fs::exists(cache().cachePathForKey("before")));
    EXPECT_EQ(cache().getSize(), solid(6, 2, kBlue).pngData().size());
}

TEST_F(WebImageTest, TheSizeIsTheSumOfEveryRegularFilesBytesAndZeroWithoutAFolder) {
    fs::path folder = cache().diskCachePath();
    fs::remove_all(folder);
    EXPECT_EQ(cache().checkTmpSize(), 0.0f) << "a missing folder measures zero";
    EXPECT_EQ(cache().getSize(), 0u);
    ASSERT_TRUE(writeFileAtomically(folder / "one", std::string(1024 * 1024, 'a')));
    ASSERT_TRUE(writeFileAtomically(folder / "half", std::string(512 * 1024, 'b')));
    ASSERT_TRUE(writeFileAtomically(folder / "nested" / "quarter", std::string(256 * 1024, 'c')));
    fs::create_symlink(folder / "one", folder / "link");
    EXPECT_FLOAT_EQ(cache().checkTmpSize(), 1.75f);
    EXPECT_EQ(cache().getSize(), 1835008u);
}

TEST_F(WebImageTest, ACachePastFourGigabytesIsMeasuredInFull) {
    // Sparse files: their length counts, no disk is used.
    for (const char* name : {"a", "b"}) {
        fs::path file = cache().diskCachePath() / name;
        ASSERT_TRUE(writeFileAtomically(file, std::string()));
        fs::resize_file(file, std::uintmax_t(3) << 30);
    }
    EXPECT_EQ(cache().getSize(), std::uint64_t(6) << 30);
    EXPECT_FLOAT_EQ(cache().checkTmpSize(), 6144.0f);
}

// --- Memory cache ----------------------------------------------------------------------------

TEST(MemoryCacheTest, EvictsTheLeastRecentlyUsedImagePastTheByteLimit) {
    Image image = solid(4, 4, kRed);  // 64 bytes
    MemoryCache memory(3 * MemoryCache::costOf(image));
    memory.setObject("a", image);
    memory.setObject("b", image);
    memory.setObject("c", image);
    EXPECT_FALSE(memory.object("a").isNull());  // "b" is now the oldest

    memory.setObject("d", image);
    EXPECT_TRUE(memory.object("b").isNull());
    EXPECT_FALSE(memory.object("a").isNull());
    EXPECT_FALSE(memory.object("c").isNull());
    EXPECT_FALSE(memory.object("d").isNull());
    EXPECT_EQ(memory.totalCost(), 3 * MemoryCache::costOf(image));
}

TEST(MemoryCacheTest, ImageLargerThanTheWholeLimitIsNotKept) {
    MemoryCache memory(16);
    memory.setObject("big", solid(4, 4, kRed));
    EXPECT_TRUE(memory.object("big").isNull());
    EXPECT_EQ(memory.totalCost(), 0u);
}

}  // namespace
