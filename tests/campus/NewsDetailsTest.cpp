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
#include "tests/campus/CampusTestSupport.h"
#include "tests/support/SteppingClock.h"

namespace {

using platform::components::StatusHUD;

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
    static int watermarks(const platform::WebView& web) {
        int count = 0;
        for (const auto& view : web.scrollView()->subviews())
            count += std::dynamic_pointer_cast<platform::ImageView>(view) != nullptr;
        return count;
    }
};

TEST_F(NewsDetailsTest, ShowsTheItemWithItsImagesFromTheSchoolSiteAndTheWatermarkBelow) {
    showWindow(414);
    auto page = makePage("<p>会议现场</p><p><img src=\"upload/news/xw001_1.jpg\" alt=\"\" /></p>");
    push(page);

    EXPECT_EQ(page->title(), "详细信息");
    EXPECT_EQ(page->titleLabel()->text(), "我校召开2024年春季学期教学工作会议");
    EXPECT_EQ(page->timeLabel()->text(), "2024-04-16 09:30");
    const auto& web = *page->contentWebView();
    EXPECT_EQ(web.pageHTML(), detailPageHead(414) + "<p>会议现场</p><p><img src=\"" +
                                  server.baseUrl() + "/upload/news/xw001_1.jpg\" alt=\"\" /></p>");
    EXPECT_NE(web.pageHTML().find("width: 397.440000;"), std::string::npos);
    // The opener's body stays as it gave it.
    EXPECT_EQ(page->contentStr(),
              "<p>会议现场</p><p><img src=\"upload/news/xw001_1.jpg\" alt=\"\" /></p>");

    // The load finishes once its picture is in, as on the phone: the watermark goes below
    // the page with the picture laid out.
    EXPECT_TRUE(driver.runUntil([&] { return page->imgView() != nullptr; }).ok);
    ASSERT_TRUE(page->imgView());
    const double pageHeight = std::max(web.bounds().size.height, page->imgView()->frame().origin.y);
    EXPECT_GT(pageHeight, 0);
    EXPECT_EQ(web.scrollView()->contentSize().height,
              pageHeight + NewsDetailsViewController::kWatermarkHeight);
    EXPECT_FALSE(StatusHUD::current());
}

TEST_F(NewsDetailsTest, ANoticeShowsItsChannelAsTheTitleAndAMissingBodyAsAnEmptyPage) {
    showWindow();
    auto page = makePage("");
    page->setNaviTitleStr("日常通知");
    push(page);

    EXPECT_EQ(page->title(), "日常通知");
    EXPECT_EQ(page->contentWebView()->pageHTML(), detailPageHead(375));
    EXPECT_FALSE(page->contentWebView()->lastError());
}

TEST_F(NewsDetailsTest, RepeatedFinishesKeepOneWatermarkAndDoNotGrowTheContent) {
    showWindow();
    auto page = makePage("<p>正文</p>");
    push(page);
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
    auto page = pushWithoutSettling("<p>正文</p>");
    ASSERT_TRUE(StatusHUD::current());
    EXPECT_EQ(StatusHUD::current()->labelText(), "加载中...");

    settle();
    EXPECT_FALSE(StatusHUD::current());
    EXPECT_TRUE(windowOverlays().empty());
}

TEST_F(NewsDetailsTest, AFailedLoadTakesTheOverlayDown) {
    auto page = pushWithoutSettling("<p>正文</p>");
    ASSERT_TRUE(StatusHUD::current());
    // A link in the body to a host that does not answer replaces the first load.
    page->contentWebView()->simulateNavigation("http://127.0.0.1:1/gone.html");
    ASSERT_TRUE(waitFor([&] { return page->contentWebView()->lastError().has_value(); }));
    settle();

    EXPECT_FALSE(StatusHUD::current());
    EXPECT_FALSE(page->imgView());
}

TEST_F(NewsDetailsTest, LeavingByTheEdgeSwipeTakesTheOverlayAlong) {
    auto page = pushWithoutSettling("<p>正文</p>");
    ASSERT_TRUE(StatusHUD::current());

    navigation->popViewController(true);  // what the edge swipe does: no back button
    settle();

    EXPECT_FALSE(StatusHUD::current());
    EXPECT_EQ(navigation->topViewController(), opener);
}

TEST_F(NewsDetailsTest, TheBackButtonLeavesThePageAndTheOverlay) {
    auto page = pushWithoutSettling("<p>正文</p>");
    ASSERT_TRUE(driver.back()) << driver.outline();
    settle();

    EXPECT_FALSE(StatusHUD::current());
    EXPECT_EQ(navigation->topViewController(), opener);
}

TEST_F(NewsDetailsTest, ARunawayScriptInTheBodyEndsAndTheUserCanGoBack) {
    testsupport::SteppedScriptTime scriptTime;
    auto page = pushWithoutSettling("<p>正文</p><script>for (;;) {}</script><p>结尾</p>");
    settle();

    // The page finished and shows, the overlay is gone, and the back button works.
    EXPECT_FALSE(StatusHUD::current());
    EXPECT_TRUE(page->imgView());
    EXPECT_NE(driver.outline().find("text \"结尾\""), std::string::npos) << driver.outline();
    ASSERT_TRUE(driver.back()) << driver.outline();
    settle();
    EXPECT_EQ(navigation->topViewController(), opener);
}

}  // namespace
