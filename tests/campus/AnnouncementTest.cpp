#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "campus/AnnouncementChannelView.h"
#include "campus/AnnouncementDetailViewController.h"
#include "campus/AnnouncementTableViewCell.h"
#include "campus/AnnouncementViewController.h"
#include "components/refresh/ScrollViewRefresh.h"
#include "platform/testing/ScreenSize.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "tests/campus/ListScreensTestSupport.h"
#include "widgets/AnnouncemeScrollViewer.h"

using namespace liststest;
using platform::Json;

namespace {

class AnnouncementTest : public ListScreenTest {
protected:
    void openHub() { open(hub); }

    // The notices of a category as the services hold them, in their order.
    static std::vector<std::string> sampleTitles(int category) {
        std::ifstream file(fakes::FakeSchoolServices::defaultSampleDir() / "notices.json");
        const Json sample = Json::parse(file);
        std::vector<std::string> titles;
        for (const auto& notice : sample.at("categories").at(std::to_string(category)).at("News"))
            titles.push_back(notice.at("xwbt").get<std::string>());
        return titles;
    }
    std::vector<std::string> shownTitles(int channel) const {
        std::vector<std::string> titles;
        for (const auto& notice : page(channel).array()) titles.push_back(notice.xwbt);
        return titles;
    }
    AnnouncementChannelView& page(int channel) const { return *hub->pages().at(channel); }
    // (category, page, size) of each notice request, in arrival order.
    std::vector<std::tuple<std::string, std::string, std::string>> noticeRequests() const {
        std::vector<std::tuple<std::string, std::string, std::string>> asked;
        for (const auto& request : server.requestsTo(kNoticesPath))
            asked.emplace_back(request.queryValue("category").value_or("?"),
                               request.queryValue("pageNo").value_or("?"),
                               request.queryValue("pageSize").value_or("?"));
        return asked;
    }
    void showChannel(int channel) {
        ASSERT_TRUE(driver.tap(AnnouncementViewController::tabTitles().at(channel)));
        settle();
    }
    void pull(bool down, int channel) {
        showChannel(channel);
        auto table = page(channel).myTableView();
        ASSERT_TRUE(down ? driver.pullDown(table) : driver.pullUp(table));
        ASSERT_TRUE(quiet());
    }

    std::shared_ptr<AnnouncementViewController> hub =
        std::make_shared<AnnouncementViewController>();
};

TEST_F(AnnouncementTest, OpeningTheHubAsksEveryChannelForItsFirstPageOnceAtTheSameTime) {
    // No reply goes back until all five requests have arrived: requests sent one after
    // another would never get there.
    std::atomic<int> answeredApart{0};
    server.setHandler("GET", kNoticesPath, [&](const fakes::RecordedRequest& request) {
        if (!server.waitForRequests(5, std::chrono::seconds(5)))
            ++answeredApart;
        const std::string name = "第" + request.queryValue("category").value_or("?") + "类";
        fakes::Reply reply;
        reply.body = Json{{"News", Json::array({Json{{"xwbt", name}}})}}.dump();
        return reply;
    });
    openHub();

    const auto asked = noticeRequests();
    ASSERT_EQ(asked.size(), 5u);
    EXPECT_EQ(answeredApart, 0);
    const std::set<std::tuple<std::string, std::string, std::string>> distinct(asked.begin(),
                                                                               asked.end());
    EXPECT_EQ(distinct,
              (std::set<std::tuple<std::string, std::string, std::string>>{{"1", "1", "10"},
                                                                           {"2", "1", "10"},
                                                                           {"3", "1", "10"},
                                                                           {"4", "1", "10"},
                                                                           {"5", "1", "10"}}));
    for (int channel = 0; channel < 5; ++channel) {
        EXPECT_EQ(shownTitles(channel),
                  std::vector<std::string>{"第" + std::to_string(channel + 1) + "类"});
        EXPECT_TRUE(overlayTexts(page(channel)).empty()) << channel;
    }
    EXPECT_EQ(hub->title(), "通知公告");
    EXPECT_FALSE(side->needSwipeShowMenu());
}

TEST_F(AnnouncementTest, EachChannelShowsItsFirstPageUnderItsTab) {
    openHub();
    const auto& buttons = hub->annScrollViewer()->buttons();
    ASSERT_EQ(buttons.size(), 5u);
    for (int channel = 0; channel < 5; ++channel) {
        const auto all = sampleTitles(channel + 1);
        const size_t first = std::min<size_t>(all.size(), 10);
        EXPECT_EQ(shownTitles(channel),
                  std::vector<std::string>(all.begin(), all.begin() + long(first)));
        EXPECT_EQ(page(channel).myTableView()->numberOfRowsInSection(0), int(first));
    }
    EXPECT_EQ(page(2).channel().detailTitle, std::string("公示公告"));
    showChannel(3);
    EXPECT_TRUE(driver.find(sampleTitles(4).front())) << driver.outline();
}

TEST_F(AnnouncementTest, PullUpAppendsTheNextPageAndPullDownReplacesTheList) {
    openHub();
    const auto all = sampleTitles(1);
    ASSERT_GT(all.size(), 20u);

    pull(false, 0);
    EXPECT_EQ(shownTitles(0), std::vector<std::string>(all.begin(), all.begin() + 20));
    pull(false, 0);
    EXPECT_EQ(shownTitles(0), all);
    EXPECT_EQ(page(0).nextPage(), 3);

    pull(true, 0);
    EXPECT_EQ(shownTitles(0), std::vector<std::string>(all.begin(), all.begin() + 10));
    EXPECT_EQ(page(0).nextPage(), 1);
    const auto asked = noticeRequests();
    EXPECT_EQ(std::vector(asked.end() - 3, asked.end()),
              (std::vector<std::tuple<std::string, std::string, std::string>>{
                  {"1", "2", "10"}, {"1", "3", "10"}, {"1", "1", "10"}}));
    // The other channels keep their own lists.
    EXPECT_EQ(page(1).array().size(), 10u);
}

TEST_F(AnnouncementTest, AReloadWithoutNewsEmptiesTheChannel) {
    openHub();
    ASSERT_EQ(page(1).array().size(), 10u);

    server.setReply("GET", kNoticesPath, {200, "application/json", Json{{"res", "true"}}.dump()});
    pull(true, 1);
    EXPECT_TRUE(page(1).array().empty());
    EXPECT_EQ(page(1).myTableView()->numberOfRowsInSection(0), 0);
    EXPECT_FALSE(platform::components::isHeaderRefreshing(*page(1).myTableView()));
    EXPECT_EQ(page(0).array().size(), 10u);
}

TEST_F(AnnouncementTest, ATappedNoticeOpensItsRecordUnderTheChannelsTitle) {
    server.setReply("GET", kNoticesPath,
                    {200, "application/json",
                     Json{{"News", Json::array({Json{{"xwbt", "第一条"}, {"fbsj", "2024-04-01"}},
                                                Json{{"xwbt", "第二条"},
                                                     {"fbsj", "2024-04-02"},
                                                     {"xwnr", "<p>正文</p>"},
                                                     {"extra", 1}}})}}
                         .dump()});
    openHub();

    showChannel(2);
    ASSERT_TRUE(driver.tap(
        page(2).myTableView()->cellForRowAtIndexPath(platform::IndexPath::forRow(1, 0))));
    settle();
    auto detail = std::dynamic_pointer_cast<AnnouncementDetailViewController>(
        navigation->topViewController());
    ASSERT_TRUE(detail) << driver.outline();
    EXPECT_EQ(detail->announcement().xwbt, "第二条");
    EXPECT_EQ(detail->titleLabel()->text(), "第二条");
    EXPECT_EQ(detail->timeLabel()->text(), "2024-04-02");
    EXPECT_EQ(detail->contentStr(), "<p>正文</p>");
    EXPECT_EQ(detail->title(), "公示公告");
    EXPECT_FALSE(page(2).myTableView()->indexPathForSelectedRow());

    ASSERT_TRUE(driver.back());
    settle();
    showChannel(0);
    ASSERT_TRUE(driver.tap(
        page(0).myTableView()->cellForRowAtIndexPath(platform::IndexPath::forRow(0, 0))));
    settle();
    detail = std::dynamic_pointer_cast<AnnouncementDetailViewController>(
        navigation->topViewController());
    ASSERT_TRUE(detail);
    EXPECT_EQ(detail->titleStr(), "第一条");
    EXPECT_EQ(detail->title(), "日常通知");
}

// --- Row layout ---------------------------------------------------------------------------

class AnnouncementCellTest : public ::testing::TestWithParam<double> {};

TEST_P(AnnouncementCellTest, TheTitleBoxAndTheTimeSitByTheScreensWidth) {
    const double width = GetParam();
    platform::testing::ScreenSize screen(width, 667);
    auto cell = platform::View::make<AnnouncementTableViewCell>(
        platform::TableViewCellStyle::Default, AnnouncementTableViewCell::kReuseIdentifier);
    EXPECT_EQ(cell->titleLabel()->frame(), (platform::Rect{{17, 10}, {width - 54, 40}}));
    EXPECT_EQ(cell->timeLabel()->frame(), (platform::Rect{{width - 120, 50}, {80, 15}}));
    EXPECT_EQ(cell->titleLabel()->numberOfLines(), 0);
}

INSTANTIATE_TEST_SUITE_P(PhoneWidths, AnnouncementCellTest, ::testing::Values(320, 375, 414));

}  // namespace
