#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "career/NewStatisiticsTableViewCell.h"
#include "career/NewStatisticsViewController.h"
#include "career/StatisticsLevel.h"
#include "client/MyTool.h"
#include "client/ServiceConfig.h"
#include "components/hud/ProgressHUD.h"
#include "components/sidemenu/SideViewController.h"
#include "fakes/FakeSchoolServices.h"
#include "platform/foundation/Json.h"
#include "platform/net/HttpClient.h"
#include "platform/testing/UIDriver.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Window.h"
#include "tests/career/CareerTestSupport.h"

using platform::Json;

namespace {

constexpr const char* kStatisticsPath = "/edu/getNewStudentStat";
constexpr auto kHoldBound = std::chrono::seconds(10);

fakes::Reply jsonReply(const Json& document) {
    return fakes::Reply{200, "application/json;charset=UTF-8", document.dump()};
}

Json row(const std::string& name, const std::string& code) {
    return Json{{"XY", name},     {"YXSH", code}, {"LQ", 10},      {"BD", 8},
                {"BDBFB", "80%"}, {"CW", 5},      {"CWBFB", "50%"}};
}

// The statistics pushed from a screen inside the side-menu container, as the home page does.
class StatisticsScreensTest : public careertest::CareerScreenTest {
protected:
    explicit StatisticsScreensTest(platform::Size screen = {375, 667})
        : careertest::CareerScreenTest(screen) {}

    std::shared_ptr<NewStatisticsViewController> openCollegeLevel() {
        auto screen = std::make_shared<NewStatisticsViewController>();
        navigation->pushViewController(screen, true);
        scope.advance(1);
        return screen;
    }
    bool waitForReplies() {
        const bool done = quiet();
        driver.outline();  // lays the screen out, so the table shows its rows
        return done;
    }
    std::shared_ptr<NewStatisticsViewController> top() const {
        return std::dynamic_pointer_cast<NewStatisticsViewController>(
            navigation->topViewController());
    }
    // Taps the row showing the text, lets the next level load and returns it (null when the
    // top screen is not a statistics screen).
    std::shared_ptr<NewStatisticsViewController> drillInto(const std::string& text) {
        EXPECT_TRUE(driver.tap(text)) << driver.outline();
        scope.advance(1);
        EXPECT_TRUE(waitForReplies());
        return top();
    }
    std::vector<std::string> firstColumn(const NewStatisticsViewController& screen) const {
        std::vector<std::string> names;
        for (const auto& cell : screen.myTableView()->visibleCells())
            names.push_back(
                std::static_pointer_cast<NewStatisiticsTableViewCell>(cell)->xyLabel()->text());
        return names;
    }
    std::shared_ptr<NewStatisiticsTableViewCell> cellAt(const NewStatisticsViewController& screen,
                                                        int row) const {
        return std::static_pointer_cast<NewStatisiticsTableViewCell>(
            screen.myTableView()->cellForRowAtIndexPath(platform::IndexPath::forRow(row, 0)));
    }
    // The "刷新" image button at the right of the navigation bar, tapped as a finger would.
    bool refresh(NewStatisticsViewController& screen) {
        return driver.tap(screen.navigationItem().rightBarButtonItem()->customView()).ok;
    }
    // The overlays on the screen's view, shown or hidden by their own time-out.
    static size_t overlaysOn(const NewStatisticsViewController& screen, bool showingOnly = false) {
        size_t count = 0;
        for (const auto& view : screen.viewIfLoaded()->subviews()) {
            auto hud = std::dynamic_pointer_cast<platform::components::ProgressHUD>(view);
            count += hud && (!showingOnly || hud->isShowing()) ? 1 : 0;
        }
        return count;
    }
};

TEST_F(StatisticsScreensTest, EachLevelAsksWithItsTypeAndTheTappedRowsCodeAndBackReturns) {
    auto college = openCollegeLevel();
    EXPECT_EQ(college->title(), "迎新统计");
    EXPECT_FALSE(side->needSwipeShowMenu());
    ASSERT_TRUE(waitForReplies());
    const auto colleges = firstColumn(*college);
    ASSERT_FALSE(colleges.empty()) << driver.outline();
    EXPECT_EQ(colleges.front(), "信息工程学院");
    // The college level leaves the empty rows under its data their separators.
    EXPECT_EQ(college->myTableView()->tableFooterView(), nullptr);

    auto specialty = drillInto("信息工程学院");
    ASSERT_NE(specialty, nullptr);
    ASSERT_NE(specialty, college);
    EXPECT_EQ(specialty->title(), "迎新统计");
    EXPECT_EQ(&specialty->level(), &StatisticsLevel::specialty());
    EXPECT_EQ(firstColumn(*specialty),
              (std::vector<std::string>{"计算机科学与技术", "软件工程", "通信工程"}));
    EXPECT_NE(specialty->myTableView()->tableFooterView(), nullptr);

    auto klass = drillInto("软件工程");
    ASSERT_NE(klass, nullptr);
    EXPECT_EQ(&klass->level(), &StatisticsLevel::classes());
    EXPECT_EQ(firstColumn(*klass), (std::vector<std::string>{"软件2401班", "软件2402班"}));
    EXPECT_NE(klass->myTableView()->tableFooterView(), nullptr);

    std::vector<std::pair<std::string, std::string>> asked;
    for (const auto& request : server.requestsTo(kStatisticsPath))
        asked.emplace_back(*request.queryValue("type"), *request.queryValue("code"));
    EXPECT_EQ(asked, (std::vector<std::pair<std::string, std::string>>{
                         {"xytj", "00000000"}, {"zytj", "003"}, {"bjtj", "080902"}}));

    // A class row opens nothing and shows no highlight.
    const auto classRow = cellAt(*klass, 0);
    ASSERT_NE(classRow, nullptr);
    EXPECT_EQ(classRow->selectionStyle(), platform::TableViewCellSelectionStyle::None);
    ASSERT_TRUE(driver.tap("软件2401班"));
    scope.advance(1);
    EXPECT_EQ(top(), klass);
    EXPECT_EQ(server.requestsTo(kStatisticsPath).size(), 3u);

    // Back climbs the levels as they were, asking nothing again.
    ASSERT_TRUE(driver.back());
    scope.advance(1);
    EXPECT_EQ(top(), specialty);
    const auto specialties = firstColumn(*specialty);
    ASSERT_FALSE(specialties.empty());
    EXPECT_EQ(specialties.front(), "计算机科学与技术");
    ASSERT_TRUE(driver.back());
    scope.advance(1);
    EXPECT_EQ(top(), college);
    ASSERT_TRUE(driver.back());
    scope.advance(1);
    EXPECT_EQ(navigation->topViewController(), opener);
    EXPECT_EQ(server.requestsTo(kStatisticsPath).size(), 3u);
}

TEST_F(StatisticsScreensTest, CodesTravelAsQueryValuesAndAnAbsentCodeIsSentEmpty) {
    server.setReply(
        "GET", kStatisticsPath,
        jsonReply(Json{{"xytj", Json::array({row("甲学院", "A&B=1+2#3%"), Json{{"XY", "乙学院"}},
                                             Json{{"XY", "丙学院"}, {"YXSH", nullptr}}})}}));
    openCollegeLevel();
    ASSERT_TRUE(waitForReplies());

    for (const char* college : {"甲学院", "乙学院", "丙学院"}) {
        drillInto(college);
        ASSERT_TRUE(driver.back());
        scope.advance(1);
    }
    const auto requests = server.requestsTo(kStatisticsPath);
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[1].queryValue("code"), "A&B=1+2#3%");
    EXPECT_EQ(requests[1].queryValue("type"), "zytj");
    EXPECT_EQ(requests[2].target, "/edu/getNewStudentStat?type=zytj&code=");
    EXPECT_EQ(requests[3].target, "/edu/getNewStudentStat?type=zytj&code=");
}

TEST_F(StatisticsScreensTest, TheHeaderShowsTheLastSummaryAndKeepsItWhenAReplyHasNone) {
    server.setReply(
        "GET", kStatisticsPath,
        jsonReply(Json{
            {"info",
             Json::array(
                 {Json{{"DQNF", "2023"}, {"ZSZRS", 1}, {"BDZRS", 1}, {"CWJFZRS", 1}, {"WDRS", 0}},
                  Json{{"DQNF", 2024},
                       {"ZSZRS", 1200},
                       {"BDZRS", "1100"},
                       {"CWJFZRS", 990},
                       {"WDRS", nullptr}},
                  "not a summary"})}}));
    auto screen = openCollegeLevel();
    ASSERT_TRUE(waitForReplies());
    const auto header = [&] {
        return std::vector<std::string>{screen->titleLabel()->text(),
                                        screen->enrolledLabel()->text(),
                                        screen->checkInLabel()->text(), screen->PayLabel()->text(),
                                        screen->unregisteredLabel()->text()};
    };
    const std::vector<std::string> shown = {"岚溪学府2024级新生入学统计", "录取总人数：1200",
                                            "已报到人数：1100", "已缴费人数：990", "未报到人数："};
    EXPECT_EQ(header(), shown);

    server.setReply("GET", kStatisticsPath,
                    jsonReply(Json{{"xytj", Json::array({row("甲学院", "01")})}}));
    ASSERT_TRUE(refresh(*screen)) << driver.outline();
    ASSERT_TRUE(waitForReplies());
    EXPECT_EQ(firstColumn(*screen), std::vector<std::string>{"甲学院"});
    EXPECT_EQ(header(), shown);

    // Neither part usable: the rows are cleared, the header stays.
    server.setReply("GET", kStatisticsPath,
                    jsonReply(Json{{"info", "not a list"}, {"xytj", {{"XY", "不是列表"}}}}));
    ASSERT_TRUE(refresh(*screen));
    ASSERT_TRUE(waitForReplies());
    EXPECT_TRUE(screen->dataArray().empty());
    EXPECT_EQ(screen->myTableView()->numberOfRowsInSection(0), 0);
    EXPECT_EQ(header(), shown);
}

TEST_F(StatisticsScreensTest, RowsAlternateTheirColourAndShowCountsOverTheirShares) {
    server.setReply(
        "GET", kStatisticsPath,
        jsonReply(Json{
            {"xytj",
             Json::array({row("甲学院", "01"),
                          Json{{"XY", "乙学院"}, {"LQ", nullptr}, {"BD", "17"}, {"CW", "很多"}},
                          Json{{"LQ", 3.0}, {"BD", true}, {"CW", {1, 2}}}})}}));
    auto screen = openCollegeLevel();
    ASSERT_TRUE(waitForReplies());

    std::vector<std::vector<std::string>> rows;
    std::vector<std::shared_ptr<NewStatisiticsTableViewCell>> cells;
    for (int i = 0; i < 3; ++i) {
        auto cell = cellAt(*screen, i);
        ASSERT_NE(cell, nullptr) << "row " << i;
        cells.push_back(cell);
        rows.push_back({cell->xyLabel()->text(), cell->lqLabel()->text(), cell->bdLabel()->text(),
                        cell->cwLabel()->text()});
    }
    EXPECT_EQ(rows, (std::vector<std::vector<std::string>>{{"甲学院", "10", "8\n(80%)", "5\n(50%)"},
                                                           {"乙学院", "0", "17\n()", "0\n()"},
                                                           {"", "3", "0\n()", "0\n()"}}));
    EXPECT_EQ(cells[0]->backgroundColor(), MyTool::colorWithString("ffffff"));
    EXPECT_EQ(cells[1]->backgroundColor(), MyTool::colorWithString("fafafa"));
    EXPECT_EQ(cells[2]->backgroundColor(), MyTool::colorWithString("ffffff"));
    EXPECT_EQ(
        screen->myTableView()->rectForRowAtIndexPath(platform::IndexPath::forRow(1, 0)).size.height,
        54);
}

TEST_F(StatisticsScreensTest, RefreshReplacesTheOverlayAndAFailureKeepsTheRows) {
    auto screen = openCollegeLevel();
    ASSERT_TRUE(waitForReplies());
    const auto shown = firstColumn(*screen);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(overlaysOn(*screen), 0u);

    server.setReply("GET", kStatisticsPath, {500, "text/plain", "down"});
    ASSERT_TRUE(refresh(*screen)) << driver.outline();
    ASSERT_TRUE(waitForReplies());
    EXPECT_EQ(firstColumn(*screen), shown);
    EXPECT_EQ(overlaysOn(*screen), 1u);
    EXPECT_EQ(screen->HUD()->labelText(), "加载中");

    // A second refresh while the failed one's overlay still shows: one overlay, not two.
    scope.advance(10);
    ASSERT_TRUE(refresh(*screen));
    ASSERT_TRUE(waitForReplies());
    EXPECT_EQ(overlaysOn(*screen), 1u);
    scope.advance(19);
    EXPECT_EQ(overlaysOn(*screen, true), 1u) << "the new overlay has its own 20 seconds";
    scope.advance(1);
    EXPECT_EQ(overlaysOn(*screen, true), 0u);
    EXPECT_EQ(firstColumn(*screen), shown);

    // A good reply after all that replaces the rows.
    server.setReply("GET", kStatisticsPath,
                    jsonReply(Json{{"xytj", Json::array({row("甲学院", "01")})}}));
    ASSERT_TRUE(refresh(*screen));
    ASSERT_TRUE(waitForReplies());
    EXPECT_EQ(firstColumn(*screen), std::vector<std::string>{"甲学院"});
    EXPECT_EQ(overlaysOn(*screen), 0u);
    EXPECT_EQ(server.requestsTo(kStatisticsPath).size(), 4u);
}

TEST_F(StatisticsScreensTest, AnOlderReplyAnsweredAfterARefreshIsDropped) {
    std::atomic<int> asked{0};
    server.setHandler("GET", kStatisticsPath, [&asked](const fakes::RecordedRequest&) {
        return jsonReply(Json{
            {"xytj", Json::array({row(asked.fetch_add(1) == 0 ? "旧的学院" : "新的学院", "01")})}});
    });
    server.holdReplies("GET", kStatisticsPath);
    auto screen = openCollegeLevel();
    ASSERT_TRUE(server.waitForHeld(kStatisticsPath, 1, kHoldBound));
    ASSERT_TRUE(refresh(*screen));
    ASSERT_TRUE(server.waitForHeld(kStatisticsPath, 2, kHoldBound));

    ASSERT_TRUE(server.releaseHeld(kStatisticsPath, 1));
    ASSERT_TRUE(driver.runUntil([&] { return screen->dataArray().size() == 1; }).ok);
    ASSERT_TRUE(server.releaseHeld(kStatisticsPath, 0));
    ASSERT_TRUE(waitForReplies());
    EXPECT_EQ(firstColumn(*screen), std::vector<std::string>{"新的学院"});
    EXPECT_EQ(overlaysOn(*screen), 0u);
}

TEST_F(StatisticsScreensTest, AReplyAfterTheScreenHasGoneDoesNothing) {
    server.holdReplies("GET", kStatisticsPath);
    std::weak_ptr<NewStatisticsViewController> gone = openCollegeLevel();
    ASSERT_TRUE(server.waitForHeld(kStatisticsPath, 1, kHoldBound));

    // Back while loading takes the overlay away at once and returns to the opener.
    {
        const auto loading = gone.lock();
        ASSERT_NE(loading, nullptr);
        ASSERT_EQ(overlaysOn(*loading), 1u);
        ASSERT_TRUE(driver.back());
        EXPECT_EQ(overlaysOn(*loading), 0u);
    }
    scope.advance(1);
    EXPECT_EQ(navigation->topViewController(), opener);
    EXPECT_TRUE(gone.expired()) << "nothing pending keeps the screen";

    ASSERT_TRUE(server.releaseHeld(kStatisticsPath, 0));
    ASSERT_TRUE(waitForReplies());
    scope.advance(20);
    EXPECT_EQ(navigation->topViewController(), opener);
}

// The header's columns sit over the rows' columns on every phone width.
class StatisticsLayoutTest : public StatisticsScreensTest,
                             public ::testing::WithParamInterface<double> {
protected:
    StatisticsLayoutTest() : StatisticsScreensTest({GetParam(), 667}) {}
};

TEST_P(StatisticsLayoutTest, CaptionsLineUpWithTheRowsAndTheTableFillsBelowTheHeader) {
    const double width = GetParam();
    auto screen = openCollegeLevel();
    ASSERT_TRUE(waitForReplies());

    EXPECT_EQ(screen->myTableView()->frame(), (platform::Rect{{0, 174}, {width, 667 - 64 - 174}}));
    EXPECT_EQ(screen->checkInLabel()->frame().origin.x, width - (width / 2 - 30) - 20);
    auto cell = cellAt(*screen, 0);
    ASSERT_NE(cell, nullptr);
    const std::vector<std::string> captions = {"学院名称", "录取人数", "报道人数", "缴费人数"};
    const std::vector<std::shared_ptr<platform::Label>> columns = {
        cell->xyLabel(), cell->lqLabel(), cell->bdLabel(), cell->cwLabel()};
    for (size_t i = 0; i < captions.size(); ++i) {
        auto caption = driver.find(captions[i]);
        ASSERT_TRUE(caption) << captions[i];
        const auto captionFrame = caption->convertRectTo(caption->bounds(), nullptr);
        const auto columnFrame = columns[i]->convertRectTo(columns[i]->bounds(), nullptr);
        EXPECT_DOUBLE_EQ(captionFrame.origin.x, columnFrame.origin.x) << captions[i];
        EXPECT_DOUBLE_EQ(captionFrame.size.width, (width - 40) / 4) << captions[i];
        EXPECT_DOUBLE_EQ(columnFrame.size.width, (width - 40) / 4) << captions[i];
    }
}

INSTANTIATE_TEST_SUITE_P(PhoneWidths, StatisticsLayoutTest, ::testing::Values(320, 375, 414));

}  // namespace
