// A page's pictures are decoded off the main thread: while one waits for room in the pictures'
// memory, the page stays live.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/graphics/DecodeBudget.h"
#include "platform/graphics/Image.h"
#include "platform/ui/Renderer.h"
#include "tests/web/PageTestSupport.h"

namespace pagetest {
namespace {

constexpr std::uint32_t kRed = 0xFFD01010u;

std::string redPicture(int width, int height) {
    return Image::fromARGB(width, height,
                           std::vector<std::uint32_t>(std::size_t(width) * height, kRed))
        .pngData();
}

bool showsRed(const Image& shot) {
    for (int y = 0; y < shot.pixelHeight(); ++y)
        for (int x = 0; x < shot.pixelWidth(); ++x)
            if (shot.pixelAt(x, y) == kRed)
                return true;
    return false;
}

class PictureDecodeThreadTest : public PageEngineTest {
protected:
    ~PictureDecodeThreadTest() override {
        DecodeBudget::setLongestWait(DecodeBudget::kDefaultLongestWait);
    }
};

TEST_F(PictureDecodeThreadTest, APictureWaitingForRoomHoldsUpNeitherThePageNorItsScripts) {
    // A decoder on the main thread would keep it while it waits: give up soon, so that the
    // fault shows quickly as a picture missing rather than as a stuck suite.
    DecodeBudget::setLongestWait(std::chrono::seconds(5));
    const std::size_t givenUpBefore = DecodeBudget::waitsGivenUp();
    // All the room but a kilobyte, held as another decoder's working memory: the picture's
    // decode must wait until it is given back.
    const std::size_t working = DecodeBudget::limit() - DecodeBudget::held() - 1024;
    ASSERT_TRUE(DecodeBudget::reserveForDecode(0, working));
    server.setReply("GET", "/pics/red.png", fakes::Reply{200, "image/png", redPicture(60, 40)});
    web()->loadRequest(URLRequest{
        serve("/pictures.html", "<title>pictures</title><p>above</p><img src=\"/pics/red.png\">")});

    // Looked at between turns of the main loop, which nothing wakes when a decode starts to
    // wait.
    bool waitedAside = true;
    for (const auto end = std::chrono::steady_clock::now() + 10s; DecodeBudget::waiting() != 1;) {
        if (std::chrono::steady_clock::now() > end) {
            waitedAside = false;
            break;
        }
        RunLoop::main().runUntil([] { return false; }, 10ms);
    }
    const std::string title = waitedAside ? eval("document.title") : "";
    DecodeBudget::releaseWorking(working);
    ASSERT_TRUE(waitedAside) << "the picture's decode held the main thread";
    EXPECT_EQ(title, "pictures");

    ASSERT_TRUE(settle());
    web()->layoutIfNeeded();
    EXPECT_TRUE(showsRed(renderToImage(*web())));
    EXPECT_EQ(DecodeBudget::waitsGivenUp(), givenUpBefore);
}

}  // namespace
}  // namespace pagetest
