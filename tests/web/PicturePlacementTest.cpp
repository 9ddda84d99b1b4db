#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/graphics/Image.h"
#include "platform/net/HttpClient.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/Renderer.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/Window.h"
#include "tests/support/InkTestSupport.h"
#include "tests/support/WebPageScreen.h"

using namespace platform;
using namespace std::chrono_literals;

namespace {

// A picture of one colour, `width` x `height` pixels, as PNG.
std::string solidPicture(int width, int height, std::uint32_t rgb) {
    std::vector<std::uint32_t> argb(std::size_t(width) * std::size_t(height), 0xff000000u | rgb);
    return Image::fromARGB(width, height, std::move(argb)).pngData();
}

constexpr std::uint32_t kRed = 0xd01010;
constexpr std::uint32_t kGreen = 0x10a030;
constexpr std::uint32_t kBlue = 0x1030d0;
constexpr std::uint32_t kOrange = 0xf08000;
constexpr std::uint32_t kPurple = 0x8020a0;

// Pages with pictures where the layout puts them, looked for by their colour in what the web
// view draws, on a phone and on the tablet.
class PicturePlacementTest : public ::testing::TestWithParam<Size> {
protected:
    PicturePlacementTest() {
        server.start();
        // The pictures' own sizes differ from the boxes the pages give most of them, so a
        // picture drawn at its own size, or cut at its box, shows.
        server.setReply("GET", "/pics/red.png",
                        fakes::Reply{200, "image/png", solidPicture(40, 20, kRed)});
        server.setReply("GET", "/pics/green.png",
                        fakes::Reply{200, "image/png", solidPicture(50, 50, kGreen)});
        server.setReply("GET", "/pics/blue.png",
                        fakes::Reply{200, "image/png", solidPicture(30, 20, kBlue)});
        server.setReply("GET", "/pics/orange.png",
                        fakes::Reply{200, "image/png", solidPicture(200, 150, kOrange)});
        server.setReply("GET", "/pics/purple.png",
                        fakes::Reply{200, "image/png", solidPicture(120, 90, kPurple)});
        window->setRootViewController(screen);
        window->makeKeyAndVisible();
        setLogSink([](const std::string&) {});
    }
    ~PicturePlacementTest() override { setLogSink(nullptr); }

    void show(const std::string& body) {
        const std::string path = "/pages/pictures.html";
        server.setReply("GET", path,
                        fakes::Reply{200, "text/html;charset=UTF-8",
                                     "<html><body style=\"margin:0\">" + body + "</body></html>"});
        web()->loadRequest(URLRequest{server.baseUrl() + path});
        ASSERT_TRUE(RunLoop::main().runUntil(
            [&] { return !web()->isLoading() && HttpClient::shared().inFlight() == 0; }, 5s));
        web()->layoutIfNeeded();
    }

    std::shared_ptr<WebView> web() { return screen->webView; }

    // The smallest rect holding every pixel of the colour; empty when there is none.
    static Rect inkOf(const Image& shot, std::uint32_t rgb) {
        return testsupport::inkBounds(
            shot, Rect{{0, 0}, {double(shot.pixelWidth()), double(shot.pixelHeight())}},
            [rgb](std::uint32_t pixel) { return testsupport::isNear(pixel, rgb); });
    }

    static void expectAt(const Rect& ink, const Rect& box) {
        EXPECT_NEAR(ink.minX(), box.minX(), 1) << "ink " << ink.minX() << "," << ink.minY();
        EXPECT_NEAR(ink.minY(), box.minY(), 1) << "ink " << ink.minX() << "," << ink.minY();
        EXPECT_NEAR(ink.width(), box.width(), 1) << "ink " << ink.width() << "x" << ink.height();
        EXPECT_NEAR(ink.height(), box.height(), 1) << "ink " << ink.width() << "x" << ink.height();
    }

    // Declared first: it outlives everything else.
    platform::testing::UiTestScope scope{GetParam()};
    fakes::FakeSchoolServices server;
    std::shared_ptr<testsupport::WebPageScreen> screen =
        std::make_shared<testsupport::WebPageScreen>();
    std::shared_ptr<Window> window = View::make<Window>();
};

TEST_P(PicturePlacementTest, EachPictureIsDrawnWholeWhereItsBoxStands) {
    show(
        "<img src=\"/pics/red.png\" width=\"60\" height=\"30\" style=\"display:block\">"
        "<div style=\"height:40px\"></div>"
        "<img src=\"/pics/green.png\" width=\"160\" height=\"110\" style=\"margin-left:40px\">"
        "<div style=\"height:30px\"></div>"
        "<div style=\"padding-left:25px\"><img src=\"/pics/purple.png\" width=\"120\" "
        "height=\"90\"></div>");
    const Image shot = renderToImage(*web());
    // Top-left, scaled up from its own 40x20.
    expectAt(inkOf(shot, kRed), Rect{{0, 0}, {60, 30}});
    // Indented below a block, scaled up from 50x50 to its box, not cut at it.
    const double greenTop = inkOf(shot, kRed).maxY() + 40;
    expectAt(inkOf(shot, kGreen), Rect{{40, greenTop}, {160, 110}});
    // Further down, inside an indented block, at its own size.
    const Rect purple = inkOf(shot, kPurple);
    expectAt(purple, Rect{{25, purple.minY()}, {120, 90}});
    EXPECT_GE(purple.minY(), greenTop + 110 + 30);
    EXPECT_LT(purple.minY(), greenTop + 110 + 30 + 12);
}

TEST_P(PicturePlacementTest, TheExampleNoticePictureStandsAtItsMarginBelowTheBlock) {
    show(
        "<div style=\"height:40px\"></div>"
        "<img src=\"/pics/green.png\" width=\"160\" height=\"110\" style=\"margin-left:40px\">"
        "<div style=\"height:10px\"></div>"
        "<img src=\"/pics/red.png\" width=\"160\" height=\"110\" style=\"margin-left:40px\">");
    const Image shot = renderToImage(*web());
    expectAt(inkOf(shot, kGreen), Rect{{40, 40}, {160, 110}});
    const Rect second = inkOf(shot, kRed);
    ASSERT_FALSE(second.isEmpty());
    expectAt(second, Rect{{40, second.minY()}, {160, 110}});
    EXPECT_GE(second.minY(), 40 + 110 + 10);
}

TEST_P(PicturePlacementTest, APictureBetweenWordsStandsOnTheLineBetweenThem) {
    show(
        "<p style=\"margin:20px 10px;font-size:20px\">前面的文字 "
        "<img src=\"/pics/blue.png\" width=\"30\" height=\"20\"> 后面的文字</p>");
    const Image shot = renderToImage(*web());
    const Rect picture = inkOf(shot, kBlue);
    ASSERT_FALSE(picture.isEmpty());
    EXPECT_NEAR(picture.width(), 30, 1);
    EXPECT_NEAR(picture.height(), 20, 1);
    EXPECT_GT(picture.minX(), 10 + 40);
    EXPECT_LT(picture.minY(), 20 + 30);
    // Text ink on the picture's rows, on both sides of it.
    auto inkBetween = [&](double x0, double x1) {
        for (int y = int(picture.minY()); y < int(picture.maxY()); ++y) {
            for (int x = int(x0); x < int(x1); ++x) {
                const std::uint32_t pixel = shot.pixelAt(x, y);
                if (((pixel >> 16 & 0xff) + (pixel >> 8 & 0xff) + (pixel & 0xff)) / 3 < 120) {
                    return true;
                }
            }
        }
        return false;
    };
    EXPECT_TRUE(inkBetween(10, picture.minX() - 1));
    EXPECT_TRUE(
        inkBetween(picture.maxX() + 1, std::min<double>(shot.pixelWidth(), picture.maxX() + 80)));
}

TEST_P(PicturePlacementTest, APictureBelowTheFirstScreenIsDrawnWhenScrolledTo) {
    show(
        "<div style=\"height:1500px\">长页面</div>"
        "<img src=\"/pics/orange.png\" width=\"200\" height=\"150\" style=\"margin-left:20px\">"
        "<p>页尾</p>");
    web()->scrollView()->setContentOffset(Point{0, 1400});
    const Image shot = renderToImage(*web());
    expectAt(inkOf(shot, kOrange), Rect{{20, 100}, {200, 150}});
}

TEST_P(PicturePlacementTest, WhatReachesPastItsBlocksBoxIsDrawnWhereItShows) {
    // A picture past the bottom of a block of fixed height, and a float longer than the
    // block it stands in: scrolled so that only what reaches out of each block shows.
    show(
        "<div style=\"height:1500px\">长页面</div>"
        "<div style=\"height:10px\"><img src=\"/pics/orange.png\" width=\"200\" "
        "height=\"150\" style=\"display:block\"></div>"
        "<div style=\"height:1500px\"></div>"
        "<div><img src=\"/pics/purple.png\" width=\"120\" height=\"600\" "
        "style=\"float:left\">短</div>"
        "<div style=\"height:1500px\"></div>");
    web()->scrollView()->setContentOffset(Point{0, 1520});
    expectAt(inkOf(renderToImage(*web()), kOrange), Rect{{0, 0}, {200, 130}});

    web()->scrollView()->setContentOffset(Point{0, 3110});
    expectAt(inkOf(renderToImage(*web()), kPurple), Rect{{0, 0}, {120, 500}});
}

TEST_P(PicturePlacementTest, APageWhoseBodyIsAsTallAsTheScreenIsDrawnBelowTheFirstScreen) {
    // Pages written for phones often make the body the screen's height; what follows the
    // first screen then stands below the body's box.
    show(
        "<style>html, body { height: 100% }</style>"
        "<div style=\"height:1500px\">长页面</div>"
        "<img src=\"/pics/orange.png\" width=\"200\" height=\"150\" style=\"display:block\">"
        "<p>页尾</p>");
    web()->scrollView()->setContentOffset(Point{0, 1450});
    expectAt(inkOf(renderToImage(*web()), kOrange), Rect{{0, 50}, {200, 150}});
}

TEST_P(PicturePlacementTest, APictureOfNoGivenSizeTakesItsOwnWhenItArrivesAndPushesTheTextDown) {
    show("<img src=\"/pics/purple.png\"><p>图片下面的文字</p>");
    const Image shot = renderToImage(*web());
    expectAt(inkOf(shot, kPurple), Rect{{0, 0}, {120, 90}});
    // The paragraph's text lies below the picture.
    bool textBelow = false;
    for (int y = 91; y < std::min(shot.pixelHeight(), 160) && !textBelow; ++y) {
        for (int x = 0; x < 120 && !textBelow; ++x) {
            const std::uint32_t pixel = shot.pixelAt(x, y);
            textBelow = ((pixel >> 16 & 0xff) + (pixel >> 8 & 0xff) + (pixel & 0xff)) / 3 < 120;
        }
    }
    EXPECT_TRUE(textBelow);
}

INSTANTIATE_TEST_SUITE_P(PhoneAndTablet, PicturePlacementTest,
                         ::testing::Values(Size{375, 667}, Size{768, 1024}));

}  // namespace
