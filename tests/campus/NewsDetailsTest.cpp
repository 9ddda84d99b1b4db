#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "campus/DetailPageHTML.h"
#include "campus/NewsDetailsViewController.h"
#include "components/hud/StatusHUD.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/WebView.h"
#include "platform/web/WebError.h"
#include "tests/campus/CampusTestSupport.h"
#include "tests/support/RefusingPort.h"

namespace {

using platform::components::StatusHUD;

// A picture of the school site's whose reply a test holds back: the page's load cannot
// finish before the test lets it.
constexpr const char* kHeldPicturePath = "/upload/news/xw002_1.jpg";
constexpr const char* kBodyWithHeldPicture =
    "<p>正文</p><p><img src=\"upload/news/xw002_1.jpg\" alt=\"\" /></p>";

class NewsDetailsTest : public campustest::CampusTest {
protected:
    std::shared_ptr<NewsDetailsViewController> makePage(std::string body) {
        auto page = std::make_shared<NewsDetailsViewController>();
        page->setTitleStr("我校召开2024年春季学期教学工作会议");
        page->setTimeStr("2024-04-16 09:30");
        page->setContentStr(std::move(body));
        return page;
    }
    // Pushed, its view loaded, but its first load not finished yet.
    std::shared_ptr<NewsDetailsViewController> pushWithoutSettling(std::string body) {
        showWindow();
        auto page = makePage(std::move(body));
        page->setHidesBottomBarWhenPushed(true);
        navigation->pushViewController(page, true);
        return page;
    }
    // Pushed with a body whose picture is held: the page shows, its load goes on.
    std::shared_ptr<NewsDetailsViewController> pushWhileItsPictureIsHeld() {
        server.holdReplies("GET", kHeldPicturePath);
        auto page = pushWithoutSettling(kBodyWithHeldPicture);
        EXPECT_TRUE(driver
                        .runUntil([&] { return !server.heldRequests(kHeldPicturePath).empty(); },
                                  kPageBoundSeconds)
                        .ok);
        return page;
    }
    // Pushed, and settled once its load has finished (the watermark is placed then).
    std::shared_ptr<NewsDetailsViewController> pushAndLoad(std::string body, double width = 375) {
        showWindow(width);
        auto page = makePage(std::move(body));
        push(page);
        EXPECT_TRUE(
            driver.runUntil([&] { return page->imgView() != nullptr; }, kPageBoundSeconds).ok)
            << failure(*page->contentWebView());
        EXPECT_TRUE(settlePages());
        return page;
    }
    // The page's script answer, read when the page is at rest.
    static std::string evaluate(platform::WebView& web, const std::string& script) {
        return web.stringByEvaluatingJavaScriptFromString(script);
    }
    static std::string failure(const platform::WebView& web) {
        const auto& error = web.lastError();
        return error ? std::to_string(error->code) + " " + error->description + " at " +
                           error->failingURL
                     : std::string("no failure");
    }
    static int watermarks(const platform::WebView& web) {
        int count = 0;
        for (const auto& view : web.scrollView()->subviews())
            count += std::dynamic_pointer_cast<platform::ImageView>(view) != nullptr;
        return count;
    }
};

TEST_F(NewsDetailsTest, ShowsTheItemWithItsImagesFromTheSchoolSiteAndTheWatermarkBelow) {
    // The load finishes once its picture is in, as on the phone: the watermark goes below
    // the page with the picture laid out.
    auto page =
        pushAndLoad("<p>会议现场</p><p><img src=\"upload/news/xw001_1.jpg\" alt=\"\" /></p>", 414);

    EXPECT_EQ(page->title(), "详细信息");
    EXPECT_EQ(page->titleLabel()->text(), "我校召开2024年春季学期教学工作会议");
    EXPECT_EQ(page->timeLabel()->text(), "2024-04-16 09:30");
    auto& web = *page->contentWebView();
    // The live document, as the browser serialises it: the head's style for a 414-point
    // screen, and the picture's path on the school site.
    const std::string html = web.pageHTML();
    EXPECT_NE(html.find("width: 397.440000;"), std::string::npos) << html;
    EXPECT_NE(html.find("name=\"viewport\""), std::string::npos) << html;
    EXPECT_EQ(evaluate(web, "document.images.length"), "1");
    EXPECT_EQ(evaluate(web, "document.images[0].getAttribute('src')"),
              server.baseUrl() + "/upload/news/xw001_1.jpg");
    EXPECT_EQ(evaluate(web, "document.body.querySelector('p').textContent"), "会议现场");
    // The head's style reaches the picture.
    // (Laid out in the browser's units of 1/64 px.)
    EXPECT_NEAR(
        std::stod("0" + evaluate(web, "parseFloat(getComputedStyle(document.images[0]).width)")),
        397.44, 1.0 / 64);
    // The opener's body stays as it gave it.
    EXPECT_EQ(page->contentStr(),
              "<p>会议现场</p><p><img src=\"upload/news/xw001_1.jpg\" alt=\"\" /></p>");

    ASSERT_TRUE(page->imgView());
    const double pageHeight = std::max(web.bounds().size.height, page->imgView()->frame().origin.y);
    EXPECT_GT(pageHeight, 0);
    EXPECT_EQ(web.scrollView()->contentSize().height,
              pageHeight + NewsDetailsViewController::kWatermarkHeight);
    EXPECT_EQ(watermarks(web), 1);
    EXPECT_FALSE(StatusHUD::current());
}

TEST_F(NewsDetailsTest, ANoticeShowsItsChannelAsTheTitleAndAMissingBodyAsAnEmptyPage) {
    showWindow();
    auto page = makePage("");
    page->setNaviTitleStr("日常通知");
    push(page);
    ASSERT_TRUE(driver.runUntil([&] { return page->imgView() != nullptr; }, kPageBoundSeconds).ok);
    ASSERT_TRUE(settlePages());

    EXPECT_EQ(page->title(), "日常通知");
    auto& web = *page->contentWebView();
    EXPECT_NE(web.pageHTML().find("width: 360.000000;"), std::string::npos) << web.pageHTML();
    EXPECT_EQ(evaluate(web, "document.body.innerHTML"), "");
    EXPECT_FALSE(web.lastError());
}

TEST_F(NewsDetailsTest, RepeatedFinishesKeepOneWatermarkAndDoNotGrowTheContent) {
    auto page = pushAndLoad("<p>正文</p>");
    auto& web = *page->contentWebView();
    const double once = web.scrollView()->contentSize().height;

    page->webViewDidFinishLoad(web);
    page->webViewDidFinishLoad(web);

    EXPECT_EQ(web.scrollView()->contentSize().height, once);
    EXPECT_EQ(watermarks(web), 1);
    EXPECT_EQ(page->imgView()->frame().origin.y,
              once - NewsDetailsViewController::kWatermarkHeight);
}

TEST_F(NewsDetailsTest, TheLoadingOverlayShowsUntilTheFirstLoadFinishes) {
    auto page = pushWhileItsPictureIsHeld();
    ASSERT_TRUE(StatusHUD::current());
    EXPECT_EQ(StatusHUD::current()->labelText(), "加载中...");
    // The page shows its text while its picture is on its way: still loading.
    ASSERT_TRUE(
        driver.runUntil([&] { return page->contentWebView()->hasPage(); }, kPageBoundSeconds).ok);
    settle();
    ASSERT_TRUE(StatusHUD::current());
    EXPECT_FALSE(page->imgView());

    ASSERT_TRUE(server.releaseHeld(kHeldPicturePath));
    ASSERT_TRUE(driver.runUntil([&] { return page->imgView() != nullptr; }, kPageBoundSeconds).ok);
    EXPECT_TRUE(settlePages());
    EXPECT_FALSE(StatusHUD::current());
    EXPECT_TRUE(windowOverlays().empty());
}

TEST_F(NewsDetailsTest, AFailedLoadTakesTheOverlayDown) {
    auto page = pushWhileItsPictureIsHeld();
    ASSERT_TRUE(StatusHUD::current());
    ASSERT_TRUE(
        driver.runUntil([&] { return page->contentWebView()->hasPage(); }, kPageBoundSeconds).ok);
    // A link in the body to a host that does not answer replaces the first load. (Not port 1:
    // a browser refuses to go to such restricted ports at all.)
    testsupport::RefusingPort down;
    ASSERT_TRUE(page->contentWebView()->simulateNavigation(
        "http://127.0.0.1:" + std::to_string(down.port()) + "/gone.html"));
    ASSERT_TRUE(driver
                    .runUntil([&] { return page->contentWebView()->lastError().has_value(); },
                              kPageBoundSeconds)
                    .ok);
    settle();

    EXPECT_FALSE(StatusHUD::current());
    EXPECT_FALSE(page->imgView());
}

TEST_F(NewsDetailsTest, LeavingByTheEdgeSwipeTakesTheOverlayAlong) {
    auto page = pushWhileItsPictureIsHeld();
    ASSERT_TRUE(StatusHUD::current());

    navigation->popViewController(true);  // what the edge swipe does: no back button
    settle();

    EXPECT_FALSE(StatusHUD::current());
    EXPECT_EQ(navigation->topViewController(), opener);
}

TEST_F(NewsDetailsTest, TheBackButtonLeavesThePageAndTheOverlay) {
    auto page = pushWhileItsPictureIsHeld();
    ASSERT_TRUE(StatusHUD::current());
    ASSERT_TRUE(driver.back()) << driver.outline();
    settle();

    EXPECT_FALSE(StatusHUD::current());
    EXPECT_EQ(navigation->topViewController(), opener);
}

// A script that never yields: the page's process is ended, its load fails, and the screen
// is left usable.
TEST_F(NewsDetailsTest, ARunawayScriptInTheBodyEndsAndTheUserCanGoBack) {
    auto page = pushWithoutSettling("<p>正文</p><script>for (;;) {}</script><p>结尾</p>");
    ASSERT_TRUE(driver
                    .runUntil([&] { return page->contentWebView()->lastError().has_value(); },
                              kPageBoundSeconds)
                    .ok);
    settle();

    EXPECT_EQ(page->contentWebView()->lastError()->code, platform::WebError::kWebProcessEnded);
    EXPECT_FALSE(StatusHUD::current());
    ASSERT_TRUE(driver.back()) << driver.outline();
    settle();
    EXPECT_EQ(navigation->topViewController(), opener);
}

TEST_F(NewsDetailsTest, ABuiltInCallThatWouldRunForMinutesEndsAndTheUserCanGoBack) {
    auto page = pushWithoutSettling(
        "<p>正文</p><script>Array.prototype.indexOf.call({length: 2147483647}, 1)</script>"
        "<p>结尾</p>");
    ASSERT_TRUE(driver
                    .runUntil([&] { return page->contentWebView()->lastError().has_value(); },
                              kPageBoundSeconds)
                    .ok);
    settle();

    EXPECT_EQ(page->contentWebView()->lastError()->code, platform::WebError::kWebProcessEnded);
    EXPECT_FALSE(StatusHUD::current());
    ASSERT_TRUE(driver.back()) << driver.outline();
    settle();
    EXPECT_EQ(navigation->topViewController(), opener);
}

}  // namespace
