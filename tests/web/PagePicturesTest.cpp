// A page's pictures as a hostile server may send them: each body held to the pictures' own
// limit however little it is on the wire, and all of them together to one total in flight,
// however many hosts they come from; the page still loads, and every picture that fits shows.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/graphics/Image.h"
#include "platform/net/PictureFetches.h"
#include "platform/ui/ScrollView.h"
#include "tests/support/BombPicture.h"
#include "tests/web/PageTestSupport.h"

namespace pagetest {
namespace {

class PagePicturesTest : public PageEngineTest {
protected:
    // A picture 4 points wide and 6000 tall (taller than any screen), followed by `padding` bytes
    // that no decoder reads, sent gzip-encoded.
    void servePicture(const std::string& path, std::size_t padding) {
        const std::string png =
            Image::fromARGB(4, 6000, std::vector<std::uint32_t>(4 * 6000, 0xFF204080)).pngData();
        fakes::Reply reply{200, "image/png",
                           testsupport::gzipped(png + std::string(padding, '\0'))};
        reply.contentEncoding = "gzip";
        server.setReply("GET", path, std::move(reply));
    }
    double pageHeight() { return web()->scrollView()->contentSize().height; }
    // Runs the client until the server holds that many replies of the route (a real-time
    // bound, never an order).
    bool heldAtLeast(const std::string& path, std::size_t count) {
        return RunLoop::main().runUntil([&] { return server.heldRequests(path).size() >= count; },
                                        10s);
    }
};

TEST_F(PagePicturesTest, APictureBodyPastThePictureLimitIsLeftOutWhileTheRestOfThePageLoads) {
    // A few kilobytes on the wire, past the pictures' limit once inflated, and far inside the
    // limit of a page.
    servePicture("/pictures/inflates.png", std::size_t(kMaxImageBodyBytes));
    open(serve("/inflates.html", "<p>before</p><img src=\"/pictures/inflates.png\"><p>after</p>"));
    EXPECT_EQ(server.requestsTo("/pictures/inflates.png").size(), 1u);
    EXPECT_LT(pageHeight(), 6000) << "the picture was left out";
    EXPECT_TRUE(delegate->failures.empty()) << "the page itself loaded";
    servePicture("/pictures/fits.png", std::size_t{1} << 20);
    open(serve("/fits.html", "<p>before</p><img src=\"/pictures/fits.png\"><p>after</p>"));
    EXPECT_GE(pageHeight(), 6000) << "a picture within the limit shows at its size";
    const auto items = web()->pageItems();
    EXPECT_TRUE(std::any_of(items.begin(), items.end(),
                            [](const WebPage::Item& item) { return item.text == "after"; }));
}

TEST_F(PagePicturesTest, PicturesWaitForRoomInOneTotalInFlightAndAllArrive) {
    auto& fetches = PictureFetches::shared();
    const std::size_t atOnce =
        static_cast<std::size_t>(PictureFetches::kMaxBytesInFlight / kMaxImageBodyBytes);
    const std::size_t count = atOnce + 8;
    servePicture("/pictures/one.png", 0);
    server.holdReplies("GET", "/pictures/one.png");
    std::string html = "<p>pictures</p>";
    for (std::size_t i = 0; i < count; ++i)
        html += "<img src=\"/pictures/one.png?n=" + std::to_string(i) + "\">";
    web()->loadRequest(URLRequest{serve("/many.html", html)});
    ASSERT_TRUE(heldAtLeast("/pictures/one.png", atOnce));
    EXPECT_EQ(fetches.holdingRoom(), atOnce);
    EXPECT_EQ(fetches.waiting(), count - atOnce);
    EXPECT_TRUE(web()->isLoading()) << "the load finishes once its pictures are in";

    // Each answer lets the next one go, until every picture has come.
    for (std::size_t released = 0; released < count; ++released) {
        ASSERT_TRUE(heldAtLeast("/pictures/one.png", 1)) << released;
        ASSERT_TRUE(server.releaseHeld("/pictures/one.png"));
        EXPECT_LE(fetches.holdingRoom(), atOnce);
    }
    ASSERT_TRUE(settle());
    EXPECT_EQ(server.requestsTo("/pictures/one.png").size(), count);
    EXPECT_EQ(fetches.holdingRoom(), 0u);
    EXPECT_EQ(fetches.waiting(), 0u);
    EXPECT_GE(pageHeight(), 6000);
}

TEST_F(PagePicturesTest, APageWaitingForItsPicturesIsShownAtTheNextLayoutPassAndGrowsWhenTheyCome) {
    servePicture("/pictures/late.png", 0);
    server.holdReplies("GET", "/pictures/late.png");
    const double viewport = web()->bounds().size.height;
    // The last page was long: the new one does not keep its height.
    web()->loadHTMLString("<div style=\"height:9000px\">long</div>", "");
    ASSERT_TRUE(RunLoop::main().runUntil([&] { return !web()->isLoading(); }, 10s));
    web()->layoutIfNeeded();
    ASSERT_GT(pageHeight(), 9000);
    web()->loadRequest(URLRequest{
        serve("/late.html", "<p>before</p><img src=\"/pictures/late.png\"><p>after</p>")});
    ASSERT_TRUE(heldAtLeast("/pictures/late.png", 1));
    EXPECT_TRUE(web()->isLoading());

    web()->layoutIfNeeded();
    EXPECT_FALSE(frameOf("after").isEmpty()) << driver.outline();
    EXPECT_EQ(pageHeight(), viewport);

    ASSERT_TRUE(server.releaseHeld("/pictures/late.png"));
    ASSERT_TRUE(settle());
    EXPECT_FALSE(web()->isLoading());
    EXPECT_GE(pageHeight(), 6000);
}

TEST_F(PagePicturesTest, LeavingAPageGivesBackTheRoomOfItsPicturesSentAndWaiting) {
    auto& fetches = PictureFetches::shared();
    const std::size_t atOnce =
        static_cast<std::size_t>(PictureFetches::kMaxBytesInFlight / kMaxImageBodyBytes);
    servePicture("/pictures/held.png", 0);
    server.holdReplies("GET", "/pictures/held.png");
    std::string html;
    for (std::size_t i = 0; i < atOnce + 3; ++i)
        html += "<img src=\"/pictures/held.png?n=" + std::to_string(i) + "\">";
    web()->loadRequest(URLRequest{serve("/held.html", html)});
    ASSERT_TRUE(heldAtLeast("/pictures/held.png", atOnce));
    EXPECT_EQ(fetches.waiting(), 3u);

    // A page of its own text, which needs no connection: the held ones fill this host's.
    web()->loadHTMLString("<p>next</p>", "");
    ASSERT_TRUE(RunLoop::main().runUntil(
        [&] { return fetches.holdingRoom() == 0 && fetches.waiting() == 0; }, 10s));
    EXPECT_EQ(server.requestsTo("/pictures/held.png").size(), atOnce)
        << "the pictures still waiting were never asked for";
}

}  // namespace
}  // namespace pagetest
