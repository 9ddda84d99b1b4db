#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <string>
#include <vector>

#include "campus/MeetingDayView.h"
#include "campus/MeetingDetailsScrollView.h"
#include "campus/MeetingDetailsViewController.h"
#include "campus/MeetingViewController.h"
#include "platform/foundation/Json.h"
#include "platform/net/Reachability.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Screen.h"
#include "platform/ui/TabBar.h"
#include "platform/ui/TableView.h"
#include "tests/campus/CampusTestSupport.h"
#include "widgets/MeetingScrollView.h"

namespace {

using platform::Json;
using platform::Reachability;

constexpr const char* kCurrentPath = "/vobels/services/api/meeting/fetchCurrentMeeting.do";
constexpr const char* kWeekPath = "/vobels/services/api/meeting/getMeetingWeek.do";

Json meeting(const std::string& subject, const Json& week, const std::string& date = "2024-03-26") {
    Json m = {{"subject", subject},          {"startDate", date},   {"startTime", "14:00"},
              {"roomId", "行政楼302会议室"}, {"compere", "张立华"}, {"part", "党政办公室"},
              {"attendee", "各学院院长"}};
    if (!week.is_null())
        m["week"] = week;
    return m;
}

fakes::Reply jsonReply(const Json& body) {
    return {200, "application/json;charset=UTF-8", body.dump()};
}

class MeetingTest : public campustest::CampusTest {
protected:
    MeetingTest() {
        Reachability::setOverride(Reachability::Kind::Host,
                                  platform::NetworkStatus::ReachableViaWiFi);
    }
    ~MeetingTest() override { Reachability::setOverride(Reachability::Kind::Host, std::nullopt); }

    void serveCurrentWeek(const Json& meetings, const Json& currentWeek, const Json& maxWeek,
                          const std::string& currentDate = "周一") {
        server.setReply("GET", kCurrentPath,
                        jsonReply({{"Meetings", meetings},
                                   {"currentWeek", currentWeek},
                                   {"maxWeek", maxWeek},
                                   {"scope", "2024.03.25-2024.03.31"},
                                   {"currentDate", currentDate}}));
    }

    // The "会议" tab's screen, shown and with its first reply handled.
    std::shared_ptr<MeetingViewController> open(double width = 375) {
        auto screen = std::make_shared<MeetingViewController>();
        showWindow(width, screen);
        EXPECT_TRUE(waitForReplies());
        settle();
        driver.outline();  // lays the screen out: the pager builds itself then
        return screen;
    }
    void step(const std::string& handle) {
        ASSERT_TRUE(driver.tap(handle)) << driver.outline();
        ASSERT_TRUE(waitForReplies());
        settle();
        driver.outline();
    }

    static std::vector<std::string> subjects(const MeetingDayView& page) {
        std::vector<std::string> out;
        for (const auto& m : page.array()) out.push_back(m.subject);
        return out;
    }
    static int pagersIn(const platform::View& view) {
        int count = 0;
        for (const auto& subview : view.subviews())
            count += std::dynamic_pointer_cast<MeetingScrollView>(subview) != nullptr;
        return count;
    }
    static double openedPage(const MeetingViewController& screen) {
        return screen.scroll()->scroll2()->contentOffset().x /
               platform::Screen::main().size().width;
    }
};

TEST_F(MeetingTest, TheCurrentWeekPutsEachMeetingOnThePageOfItsExactWeekday) {
    serveCurrentWeek(Json::array({meeting("预算评审会", "周二"), meeting("周三例会", " 周三 "),
                                  meeting("无日期会议", nullptr), meeting("安全检查部署会", "周二"),
                                  meeting("周日值班会", "周日"), Json("not a meeting")}),
                     5, 18, "周三");
    auto screen = open();

    const auto& pages = screen->dayPages();
    EXPECT_EQ(subjects(*pages[1]), (std::vector<std::string>{"预算评审会", "安全检查部署会"}));
    EXPECT_EQ(subjects(*pages[6]), std::vector<std::string>{"周日值班会"});
    for (int day : {0, 2, 3, 4, 5}) EXPECT_TRUE(pages[size_t(day)]->array().empty()) << day;

    EXPECT_EQ(screen->titleLabel()->text(), "第5周");
    EXPECT_EQ(screen->dateLabel()->text(), "2024.03.25-2024.03.31");
    EXPECT_EQ(screen->currentDJZ(), 5);
    EXPECT_EQ(screen->maxWeek(), 18);
    EXPECT_FALSE(screen->lButton()->isHidden());
    EXPECT_FALSE(screen->rButton()->isHidden());
    EXPECT_EQ(openedPage(*screen), 2) << "\"currentDate\" 周三 opens Wednesday's page";
    EXPECT_TRUE(overlayTexts(*screen->view()).empty());
}

TEST_F(MeetingTest, TheStartPageFollowsCurrentDateAndAnythingElseOpensMonday) {
    for (const auto& [date, page] : std::vector<std::pair<std::string, double>>{
             {"周日", 6}, {"周一", 0}, {"", 0}, {"星期三", 0}}) {
        serveCurrentWeek(Json::array(), 8, 18, date);
        auto screen = open();
        EXPECT_EQ(openedPage(*screen), page) << date;
    }
}

TEST_F(MeetingTest, TheWeekButtonsHideAtTheFirstAndTheLastWeek) {
    struct Case {
        Json current, last;
        bool previousHidden, nextHidden;
    };
    for (const Case& c : {Case{1, 18, true, false}, Case{"18", "18", false, true},
                          Case{1, 1, true, true}, Case{"17", 18, false, false}}) {
        serveCurrentWeek(Json::array(), c.current, c.last);
        auto screen = open();
        EXPECT_EQ(screen->lButton()->isHidden(), c.previousHidden) << c.current << "/" << c.last;
        EXPECT_EQ(screen->rButton()->isHidden(), c.nextHidden) << c.current << "/" << c.last;
    }
    // From week 17 of 18, next reaches the last week and hides itself.
    step(MeetingViewController::kNextHandle);
    EXPECT_EQ(server.requestsTo(kWeekPath).back().queryValue("weeks"), "18");
}

TEST_F(MeetingTest, AnotherWeekShowsWhenItsReplyArrivesOnMondaysPage) {
    auto screen = open();  // the sample data: week 8 of 18
    ASSERT_EQ(screen->titleLabel()->text(), "第8周");
    const auto before = screen->scroll();

    step(MeetingViewController::kPreviousHandle);

    EXPECT_EQ(server.requestsTo(kWeekPath).back().queryValue("weeks"), "7");
    EXPECT_EQ(screen->titleLabel()->text(), "第7周");
    EXPECT_EQ(screen->currentDJZ(), 7);
    EXPECT_EQ(screen->dateLabel()->text(), "2024.04.08-2024.04.14");
    EXPECT_EQ(subjects(*screen->dayPages()[0]), std::vector<std::string>{"校长办公会"});
    EXPECT_EQ(openedPage(*screen), 0);
    EXPECT_NE(screen->scroll(), before);
    EXPECT_EQ(pagersIn(*screen->view()), 1);
    EXPECT_TRUE(overlayTexts(*screen->view()).empty());

    step(MeetingViewController::kTodayHandle);
    EXPECT_EQ(screen->titleLabel()->text(), "第8周");
    EXPECT_EQ(pagersIn(*screen->view()), 1);
}

TEST_F(MeetingTest, AFailedOtherWeekRequestLeavesTheWeekShown) {
    auto screen = open();
    const auto pager = screen->scroll();
    server.setReply("GET", kWeekPath, {500, "application/json", "{}"});

    step(MeetingViewController::kPreviousHandle);

    EXPECT_EQ(screen->titleLabel()->text(), "第8周");
    EXPECT_EQ(screen->currentDJZ(), 8);
    EXPECT_EQ(screen->scroll(), pager);
    EXPECT_FALSE(screen->lButton()->isHidden());
    EXPECT_FALSE(screen->rButton()->isHidden());
    EXPECT_EQ(overlayTexts(*screen->view()).size(), 1u) << "one overlay, until its time is up";
    settle(MeetingViewController::kLoadingSeconds);
    EXPECT_TRUE(overlayTexts(*screen->view()).empty());
}

TEST_F(MeetingTest, OnlyTheLatestRequestsReplyDecidesTheWeek) {
    auto screen = open();
    // Week 7's reply is held by the service until the today button's reply has been handled.
    std::promise<void> release;
    auto released = release.get_future().share();
    server.setHandler("GET", kWeekPath, [released](const fakes::RecordedRequest&) {
        released.wait();
        return jsonReply({{"Meetings", Json::array({meeting("过期的会议", "周一")})},
                          {"scope", "2024.04.08-2024.04.14"}});
    });
    ASSERT_TRUE(driver.tap(MeetingViewController::kPreviousHandle));
    EXPECT_TRUE(server.waitForRequests(2, std::chrono::seconds(10)));
    ASSERT_TRUE(driver.tap(MeetingViewController::kTodayHandle));
    EXPECT_TRUE(waitFor([&] { return server.requestsTo(kCurrentPath).size() == 2; }));
    EXPECT_TRUE(waitFor([&] { return platform::HttpClient::shared().inFlight() == 1; }));
    settle();
    release.set_value();
    ASSERT_TRUE(waitForReplies());
    settle();

    EXPECT_EQ(screen->titleLabel()->text(), "第8周");
    EXPECT_EQ(screen->currentDJZ(), 8);
    EXPECT_NE(subjects(*screen->dayPages()[0]), std::vector<std::string>{"过期的会议"});
    EXPECT_EQ(pagersIn(*screen->view()), 1);
    EXPECT_LE(overlayTexts(*screen->view()).size(), 1u);
}

TEST_F(MeetingTest, OfflineAtLoadThereIsNoDateLineAndNoWeekButtonsButTheWeekStillShows) {
    Reachability::setOverride(Reachability::Kind::Host, platform::NetworkStatus::NotReachable);
    auto screen = open();

    EXPECT_FALSE(screen->connection());
    EXPECT_FALSE(screen->dateLabel());
    EXPECT_FALSE(screen->lButton());
    EXPECT_FALSE(screen->rButton());
    EXPECT_FALSE(driver.findByHandle(MeetingViewController::kPreviousHandle));
    EXPECT_EQ(screen->titleLabel()->text(), "第8周");
    EXPECT_FALSE(screen->dayPages()[0]->array().empty());
    step(MeetingViewController::kTodayHandle);
    EXPECT_EQ(server.requestsTo(kCurrentPath).size(), 2u);
}

TEST_F(MeetingTest, ADayTableFitsItsPageAndScrollsToItsLastMeeting) {
    Json busy = Json::array();
    for (int i = 1; i <= 12; ++i)
        busy.push_back(meeting("第" + std::to_string(i) + "场会议", "周一"));
    serveCurrentWeek(busy, 8, 18);
    auto screen = open();

    const auto& page = *screen->dayPages()[0];
    const auto& table = *page.myTableView();
    EXPECT_EQ(table.frame().maxY(), page.bounds().size.height);
    EXPECT_TRUE(table.isScrollEnabled());
    EXPECT_EQ(table.contentSize().height, 12 * MeetingDayView::kRowHeight);
    EXPECT_GT(table.contentSize().height, table.bounds().size.height);
}

TEST_F(MeetingTest, TappingAMeetingOpensItsDetailPageOverTheTabBar) {
    serveCurrentWeek(Json::array({meeting("党委常委会", "周一", "2024-04-15"),
                                  meeting("期中教学检查部署会", "周一", "2024-04-15")}),
                     8, 18);
    auto screen = open();
    ASSERT_TRUE(driver.tap("期中教学检查部署会")) << driver.outline();
    settle();

    auto detail =
        std::dynamic_pointer_cast<MeetingDetailsViewController>(navigation->topViewController());
    ASSERT_TRUE(detail) << driver.outline();
    EXPECT_EQ(detail->oneWeekMeeting().subject, "期中教学检查部署会");
    EXPECT_EQ(detail->title(), "会议详情");
    EXPECT_TRUE(tabs->tabBar()->isHidden());
    EXPECT_EQ(detail->detailsView()->rqLabel()->text(), "2024-04-15 周一");
}

TEST_F(MeetingTest, TheDetailPageStacksRowsByTheirValuesAndScrollsToTheLastParticipant) {
    for (double width : {320.0, 375.0, 414.0}) {
        showWindow(width);
        OneWeekMeeting m;
        m.subject = "2024年春季学期期中教学检查暨本科教学审核评估迎评工作推进会";
        m.startDate = "2024-04-15";
        m.week = "周一";
        m.startTime = "14:30";
        m.roomId = "行政楼201会议室（如遇调整，另行通知；请提前十分钟到场签到并关闭手机铃声）";
        m.compere = "刘明远";
        m.part = "教务处";
        for (int i = 0; i < 60; ++i) m.attendee += "各学院分管教学副院长、教学秘书、";
        auto detail = std::make_shared<MeetingDetailsViewController>();
        detail->setOneWeekMeeting(m);
        push(detail);

        const auto& content = *detail->detailsView();
        EXPECT_EQ(content.frame().size.height, detail->view()->bounds().size.height) << width;
        // Every row starts below the value above it: the long place pushes the host down.
        const std::vector<std::shared_ptr<platform::Label>> values = {
            content.rqLabel(),  content.sjLabel(),   content.ddLabel(),
            content.zcrLabel(), content.zjbmLabel(), content.cjryLabel()};
        for (size_t i = 1; i < values.size(); ++i)
            EXPECT_GT(values[i]->frame().minY(), values[i - 1]->frame().maxY())
                << width << " " << i;
        EXPECT_GT(content.ddLabel()->frame().size.height, MeetingDetailsScrollView::kCaptionHeight);
        EXPECT_GE(content.contentSize().height, content.cjryLabel()->frame().maxY()) << width;
        EXPECT_GT(content.contentSize().height, content.bounds().size.height) << width;
        EXPECT_EQ(content.cjryLabel()->frame().size.width, width - 37);
    }
}

}  // namespace
