#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <string>
#include <vector>

#include "campus/NewsDetailsViewController.h"
#include "components/refresh/ScrollViewRefresh.h"
#include "platform/ui/TableView.h"
#include "tests/shell/HomeTestSupport.h"
#include "tests/support/BombPicture.h"

using namespace hometest;
using platform::Json;

namespace {

class HomeNewsTest : public HomeTest {
protected:
    // The headlines of the school's news as the services hold them, newest first.
    static std::vector<std::string> sampleHeadlines() {
        std::ifstream file(fakes::FakeSchoolServices::defaultSampleDir() / "news.json");
        const Json sample = Json::parse(file);
        std::vector<std::string> titles;
        for (const auto& item : sample.at("News"))
            titles.push_back(item.at("xwbt").get<std::string>());
        return titles;
    }
    std::vector<std::string> shownHeadlines() const {
        std::vector<std::string> titles;
        for (const auto& news : home()->allNewsArr()) titles.push_back(news.xwbt);
        return titles;
    }
    std::vector<std::string> requestedPages() const {
        std::vector<std::string> pages;
        for (const auto& request : server.requestsTo(kNewsPath))
            pages.push_back(request.queryValue("pageNo").value_or("?") + "/" +
                            request.queryValue("pageSize").value_or("?"));
        return pages;
    }
    size_t rows() const { return home()->allNewsArr().size(); }
    platform::TableView& table() const { return *home()->newsTableView(); }

    // Pulls the list and waits until every reply has been handled.
    void pullUp() {
        ASSERT_TRUE(driver.pullUp("news"));
        ASSERT_TRUE(waitForQuiet());
        settle();
    }
    void pullDown() {
        ASSERT_TRUE(driver.pullDown("news"));
        ASSERT_TRUE(waitForQuiet());
        settle();
    }
    void serveNews(const Json& reply) {
        server.setReply("GET", kNewsPath, {200, "application/json", reply.dump()});
    }
    // A page of news with the headlines.
    static fakes::Reply newsReply(const std::vector<std::string>& headlines) {
        Json news = Json::array();
        for (const auto& headline : headlines) news.push_back(Json{{"xwbt", headline}});
        return {200, "application/json", Json{{"News", news}}.dump()};
    }

    // How long the server may take to receive a request (a real-time bound, never an order).
    static constexpr std::chrono::seconds kHoldBound{10};
};

TEST_F(HomeNewsTest, PagesOneTwoAndThreeComeInOrderThenAReloadGoesBackToOne) {
    launch();
    const auto all = sampleHeadlines();
    ASSERT_EQ(all.size(), 25u);
    EXPECT_EQ(shownHeadlines(), std::vector<std::string>(all.begin(), all.begin() + 10));
    EXPECT_EQ(table().numberOfRowsInSection(0), 10);
    EXPECT_TRUE(driver.find(all[0])) << driver.outline();
    EXPECT_FALSE(platform::components::isHeaderRefreshing(table()));

    pullUp();
    EXPECT_EQ(rows(), 20u);
    pullUp();
    EXPECT_EQ(shownHeadlines(), all);
    EXPECT_EQ(home()->nextPage(), 3);
    EXPECT_FALSE(platform::components::isFooterRefreshing(table()));
    pullUp();  // page 4: the services have nothing more, and the next pull asks for page 5
    EXPECT_EQ(rows(), 25u);
    pullUp();
    EXPECT_EQ(requestedPages(), (std::vector<std::string>{"1/10", "2/10", "3/10", "4/10", "5/10"}));

    pullDown();
    EXPECT_EQ(shownHeadlines(), std::vector<std::string>(all.begin(), all.begin() + 10));
    EXPECT_EQ(home()->nextPage(), 1);
    EXPECT_EQ(requestedPages().back(), "1/10");
    // After the reload the next pull-up asks for page 2 again.
    pullUp();
    EXPECT_EQ(requestedPages().back(), "2/10");
    EXPECT_EQ(rows(), 20u);
}

TEST_F(HomeNewsTest, AReloadWithoutAListOfNewsEmptiesTheList) {
    launch();
    ASSERT_EQ(rows(), 10u);

    serveNews(Json{{"res", "true"}});
    pullDown();
    EXPECT_EQ(rows(), 0u);
    EXPECT_EQ(table().numberOfRowsInSection(0), 0);
    EXPECT_FALSE(platform::components::isHeaderRefreshing(table()));

    serveNews(Json{{"News", Json::array({42, Json{{"xwbt", "唯一"}}, nullptr})}});
    pullDown();
    EXPECT_EQ(shownHeadlines(), std::vector<std::string>{"唯一"});
    serveNews(Json{{"News", "not a list"}});
    pullDown();
    EXPECT_EQ(rows(), 0u);
    serveNews(Json::array({1, 2}));
    pullDown();
    EXPECT_EQ(rows(), 0u);
}

TEST_F(HomeNewsTest, AFailedReloadKeepsTheRowsAndSaysThereIsNoData) {
    launch();
    const auto before = shownHeadlines();

    server.setReply("GET", kNewsPath, {500, "text/plain", "down"});
    ASSERT_TRUE(driver.pullDown("news"));
    ASSERT_TRUE(waitForQuiet());

    EXPECT_EQ(homeToasts(), std::vector<std::string>{"暂无数据"});
    EXPECT_EQ(shownHeadlines(), before);
    EXPECT_FALSE(platform::components::isHeaderRefreshing(table()));
    settle(1.5);
    EXPECT_TRUE(homeToasts().empty());
}

TEST_F(HomeNewsTest, AReplyWhoseTreeWouldPassTheBudgetFailsLikeAMalformedOneAndTheRowsStay) {
    launch();
    const auto before = shownHeadlines();
    ASSERT_FALSE(before.empty());

    // 60 MB of empty objects, sent as a few dozen kilobytes of gzip.
    std::string inflated = "{\"News\":[{}";
    inflated.reserve(std::size_t{60} << 20);
    while (inflated.size() < (std::size_t{60} << 20)) inflated += ",{}";
    inflated += "]}";
    fakes::Reply reply{200, "application/json", testsupport::gzipped(inflated)};
    reply.contentEncoding = "gzip";
    EXPECT_LT(reply.body.size(), std::size_t{256} << 10);
    server.setReply("GET", kNewsPath, std::move(reply));
    ASSERT_TRUE(driver.pullDown("news"));
    ASSERT_TRUE(waitForQuiet());

    EXPECT_EQ(homeToasts(), std::vector<std::string>{"暂无数据"});
    EXPECT_EQ(shownHeadlines(), before);
    EXPECT_FALSE(platform::components::isHeaderRefreshing(table()));
}

TEST_F(HomeNewsTest, AFailedLoadMoreGivesItsPageBack) {
    launch();

    server.setReply("GET", kNewsPath, {503, "text/plain", "busy"});
    ASSERT_TRUE(driver.pullUp("news"));
    ASSERT_TRUE(waitForQuiet());
    EXPECT_EQ(homeToasts(), std::vector<std::string>{"暂无数据"});
    EXPECT_FALSE(platform::components::isFooterRefreshing(table()));
    EXPECT_EQ(home()->nextPage(), 1);
    EXPECT_EQ(rows(), 10u);

    server.clearOverrides();
    settle(1.5);
    pullUp();
    EXPECT_EQ(requestedPages(), (std::vector<std::string>{"1/10", "2/10", "2/10"}));
    EXPECT_EQ(rows(), 20u);
}

TEST_F(HomeNewsTest, ALoadMoreOvertakenByAReloadIsDropped) {
    launch();

    server.setHandler("GET", kNewsPath, [](const fakes::RecordedRequest& request) {
        const bool second = request.queryValue("pageNo") == "2";
        return newsReply({second ? "过期的第二页" : "刷新后的第一页"});
    });
    server.holdReplies("GET", kNewsPath);
    ASSERT_TRUE(driver.pullUp("news"));
    ASSERT_TRUE(server.waitForHeld(kNewsPath, 1, kHoldBound));
    ASSERT_TRUE(driver.pullDown("news"));
    ASSERT_TRUE(server.waitForHeld(kNewsPath, 2, kHoldBound));

    // The reload is answered first; page 2, counted on the old list, comes after it.
    ASSERT_TRUE(server.releaseHeld(kNewsPath, 1));
    ASSERT_TRUE(waitFor([&] { return rows() == 1; }));
    ASSERT_TRUE(server.releaseHeld(kNewsPath, 0));
    ASSERT_TRUE(waitForQuiet()) << "the client has handled page 2's reply";
    settle();

    EXPECT_EQ(requestedPages(), (std::vector<std::string>{"1/10", "2/10", "1/10"}));
    EXPECT_EQ(shownHeadlines(), std::vector<std::string>{"刷新后的第一页"});
    EXPECT_EQ(home()->nextPage(), 1);
    EXPECT_FALSE(platform::components::isHeaderRefreshing(table()));
    EXPECT_FALSE(platform::components::isFooterRefreshing(table()));
}

TEST_F(HomeNewsTest, AnOlderReloadAnsweredLateIsDropped) {
    launch();

    // Two reloads are out at once; the older is answered last. Only the newer page may stand.
    std::atomic<int> reloads{0};
    server.setHandler("GET", kNewsPath, [&reloads](const fakes::RecordedRequest&) {
        return newsReply({reloads.fetch_add(1) == 0 ? "慢的刷新" : "快的刷新"});
    });
    server.holdReplies("GET", kNewsPath);
    ASSERT_TRUE(driver.pullDown("news"));
    ASSERT_TRUE(server.waitForHeld(kNewsPath, 1, kHoldBound));
    // The header is busy with the first reload; the page reloads again in code, as a second
    // pull would once the first had ended.
    platform::components::headerEndRefreshing(table());
    ASSERT_TRUE(driver.pullDown("news"));
    ASSERT_TRUE(server.waitForHeld(kNewsPath, 2, kHoldBound));

    ASSERT_TRUE(server.releaseHeld(kNewsPath, 1));
    ASSERT_TRUE(waitFor([&] { return shownHeadlines() == std::vector<std::string>{"快的刷新"}; }));
    ASSERT_TRUE(server.releaseHeld(kNewsPath, 0));
    ASSERT_TRUE(waitForQuiet()) << "the client has handled the older reload's reply";
    settle();

    EXPECT_EQ(requestedPages(), (std::vector<std::string>{"1/10", "1/10", "1/10"}));
    EXPECT_EQ(shownHeadlines(), std::vector<std::string>{"快的刷新"});
    EXPECT_FALSE(platform::components::isHeaderRefreshing(table()));
}

TEST_F(HomeNewsTest, AFailedOlderLoadMoreDropsTheNewerOneAndAsksForItsOwnPageAgain) {
    launch();
    const auto all = sampleHeadlines();

    // Page 2 fails; page 3 was already asked for and must not leave a gap in the list.
    server.setHandler("GET", kNewsPath, [](const fakes::RecordedRequest& request) {
        if (request.queryValue("pageNo") == "2")
            return fakes::Reply{503, "text/plain", "busy"};
        return newsReply({"第三页"});
    });
    server.holdReplies("GET", kNewsPath);
    ASSERT_TRUE(driver.pullUp("news"));
    ASSERT_TRUE(server.waitForHeld(kNewsPath, 1, kHoldBound));
    // The footer is busy with page 2; the page loads more again in code, as a second pull
    // would once the first had ended.
    platform::components::footerEndRefreshing(table());
    ASSERT_TRUE(driver.pullUp("news"));
    ASSERT_TRUE(server.waitForHeld(kNewsPath, 2, kHoldBound));
    ASSERT_EQ(requestedPages(), (std::vector<std::string>{"1/10", "2/10", "3/10"}));

    ASSERT_TRUE(server.releaseHeld(kNewsPath, 0));  // page 2 fails
    ASSERT_TRUE(waitFor([&] { return !homeToasts().empty(); }));
    EXPECT_EQ(homeToasts(), std::vector<std::string>{"暂无数据"});
    EXPECT_EQ(home()->nextPage(), 1);
    EXPECT_FALSE(platform::components::isFooterRefreshing(table()));

    ASSERT_TRUE(server.releaseHeld(kNewsPath, 0));  // page 3 arrives
    ASSERT_TRUE(waitForQuiet()) << "the client has handled page 3's reply";
    EXPECT_EQ(shownHeadlines(), std::vector<std::string>(all.begin(), all.begin() + 10));
    EXPECT_EQ(home()->nextPage(), 1);

    server.clearOverrides();
    settle(1.5);
    pullUp();
    EXPECT_EQ(requestedPages().back(), "2/10");
    EXPECT_EQ(shownHeadlines(), std::vector<std::string>(all.begin(), all.begin() + 20));
}

TEST_F(HomeNewsTest, ThumbnailsLoadFromTheSchoolSiteWithTheirPathEscaped) {
    serveNews(Json{{"News", Json::array({Json{{"xwbt", "运动会"},
                                              {"fbsj", "2024-04-13 04:17"},
                                              {"imgUrl", "upload/news/运动 会.jpg"}}})}});
    launch();

    News news;
    news.imgUrl = "upload/news/运动 会.jpg";
    EXPECT_EQ(HomePageViewController::thumbnailURL(news),
              server.baseUrl() + "/upload/news/%E8%BF%90%E5%8A%A8%20%E4%BC%9A.jpg");
    ASSERT_TRUE(waitFor([&] { return !server.requestsTo("/upload/news/运动 会.jpg").empty(); }));
    EXPECT_EQ(server.requestsTo("/upload/news/运动 会.jpg").front().target,
              "/upload/news/%E8%BF%90%E5%8A%A8%20%E4%BC%9A.jpg");

    auto cell = driver.find("运动会");
    ASSERT_TRUE(cell) << driver.outline();
    EXPECT_TRUE(driver.find("2024-04-13 04:17"));
}

TEST_F(HomeNewsTest, TappingARowOpensTheNewsDetailPageOverTheTabBar) {
    launch();
    ASSERT_FALSE(home()->allNewsArr().empty()) << driver.outline();
    const auto first = home()->allNewsArr().front();

    ASSERT_TRUE(driver.tap(first.xwbt));
    settle();

    auto detail = std::dynamic_pointer_cast<NewsDetailsViewController>(topOfHomeStack());
    ASSERT_TRUE(detail) << driver.outline();
    EXPECT_EQ(detail->titleStr(), first.xwbt);
    EXPECT_EQ(detail->timeStr(), first.fbsj);
    EXPECT_EQ(detail->contentStr(), first.xwnr);
    EXPECT_EQ(detail->title(), "详细信息");
    EXPECT_TRUE(detail->hidesBottomBarWhenPushed());
    EXPECT_TRUE(tabBarController()->tabBar()->isHidden());
}

TEST_F(HomeNewsTest, AReplyArrivingAfterTheHomePageHasGoneIsHarmless) {
    serveNews(Json{{"News", Json::array({Json{{"xwbt", "迟到的新闻"}}})}});
    server.holdReplies("GET", kNewsPath);
    delegate = AppDelegate::launchApplication();
    settle();
    ASSERT_TRUE(server.waitForHeld(kNewsPath, 1, kHoldBound));
    // The process's screens go away while the request is out.
    std::weak_ptr<HomePageViewController> gone = home();
    delegate.reset();
    platform::Application::shared().reset();
    ASSERT_TRUE(gone.expired());
    ASSERT_TRUE(server.releaseHeld(kNewsPath));
    EXPECT_TRUE(waitForQuiet()) << "the client has handled the reply";
}

}  // namespace
