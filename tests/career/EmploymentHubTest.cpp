#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "career/CareerTalk.h"
#include "career/CareerTalkDetailViewController.h"
#include "career/EmploymentTableViewCell.h"
#include "career/EmploymentViewController.h"
#include "career/Internship.h"
#include "career/JobFair.h"
#include "career/JobFairDetailViewController.h"
#include "career/Recruitment.h"
#include "career/RecruitmentDetailViewController.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "tests/career/CareerTestSupport.h"

using namespace careertest;
using platform::Json;

namespace {

class EmploymentHubTest : public CareerScreenTest {
protected:
    // The rows of a list kind as the services hold them, in their order.
    static Json sampleRows(const char* type) {
        std::ifstream file(fakes::FakeSchoolServices::defaultSampleDir() / "employment.json");
        return Json::parse(file).at(type);
    }
    static std::vector<std::string> sampleNames(const char* type, size_t count) {
        std::vector<std::string> names;
        for (const auto& row : sampleRows(type)) {
            if (names.size() == count)
                break;
            names.push_back(row.at("YRDWMC").get<std::string>());
        }
        return names;
    }
    std::vector<std::string> shownNames() const {
        std::vector<std::string> names;
        for (const auto& row : hub->recruitment()->array()) names.push_back(row.YRDWMC);
        return names;
    }
    void showTab(int tab) {
        ASSERT_TRUE(driver.tap(EmploymentViewController::tabTitles().at(size_t(tab))))
            << driver.outline();
        settle();
    }
    std::shared_ptr<EmploymentTableViewCell> cell(const platform::TableView& table, int row) {
        return std::dynamic_pointer_cast<EmploymentTableViewCell>(
            table.cellForRowAtIndexPath(platform::IndexPath::forRow(row, 0)));
    }
    // Taps the row of the tab's table and returns the screen it pushed.
    std::shared_ptr<platform::ViewController> tapRow(
        int tab, const std::shared_ptr<platform::TableView>& table, int row) {
        showTab(tab);
        table->scrollToRowAtIndexPath(platform::IndexPath::forRow(row, 0),
                                      platform::TableViewScrollPosition::Middle, false);
        settle();
        EXPECT_TRUE(driver.tap(table->cellForRowAtIndexPath(platform::IndexPath::forRow(row, 0))))
            << driver.outline();
        settle();
        return navigation->topViewController();
    }

    std::shared_ptr<EmploymentViewController> hub = std::make_shared<EmploymentViewController>();
};

TEST_F(EmploymentHubTest, OpeningTheHubAsksForPageOneOfEachKindAllAtOnce) {
    // No reply goes back until all four requests are in: lists that asked one after another
    // would never get there.
    server.holdReplies("GET", kListPath);
    navigation->pushViewController(hub, true);
    settle();
    ASSERT_TRUE(held(kListPath, 4)) << driver.outline();

    std::multiset<std::tuple<std::string, std::string, std::string>> asked;
    for (const auto& request : server.heldRequests(kListPath))
        asked.emplace(request.queryValue("type").value_or("?"),
                      request.queryValue("pageNo").value_or("?"),
                      request.queryValue("pageSize").value_or("?"));
    EXPECT_EQ(asked,
              (std::multiset<std::tuple<std::string, std::string, std::string>>{
                  {"zp", "1", "10"}, {"sx", "1", "10"}, {"zph", "1", "10"}, {"xjh", "1", "10"}}));
    while (server.releaseHeld(kListPath)) {
    }
    ASSERT_TRUE(quiet());
    EXPECT_EQ(shownNames(), sampleNames("zp", 10));
    EXPECT_EQ(hub->internship()->array().size(), 10u);
    EXPECT_EQ(hub->jobFair()->array().size(), 10u);
    EXPECT_EQ(hub->careerTalk()->array().size(), 10u);
    EXPECT_EQ(server.requestsTo(kListPath).size(), 4u);
    EXPECT_EQ(hub->title(), "就业服务");
    EXPECT_FALSE(side->needSwipeShowMenu());
}

TEST_F(EmploymentHubTest, PullUpAppendsTheNextPageAndPullDownReplacesTheList) {
    open(hub);
    const auto all = sampleNames("zp", 100);
    ASSERT_GT(all.size(), 20u);
    auto table = hub->recruitment()->myTableView();

    ASSERT_TRUE(driver.pullUp(table));
    ASSERT_TRUE(quiet());
    EXPECT_EQ(shownNames(), std::vector<std::string>(all.begin(), all.begin() + 20));
    ASSERT_TRUE(driver.pullUp(table));
    ASSERT_TRUE(quiet());
    EXPECT_EQ(shownNames(), all);
    EXPECT_EQ(table->numberOfRowsInSection(0), int(all.size()));

    ASSERT_TRUE(driver.pullDown(table));
    ASSERT_TRUE(quiet());
    EXPECT_EQ(shownNames(), std::vector<std::string>(all.begin(), all.begin() + 10));
    EXPECT_EQ(hub->recruitment()->nextPage(), 1);
    std::vector<std::string> pages;
    for (const auto& request : server.requestsTo(kListPath)) {
        if (request.queryValue("type") == "zp")
            pages.push_back(request.queryValue("pageNo").value_or("?"));
    }
    EXPECT_EQ(pages, (std::vector<std::string>{"1", "2", "3", "1"}));
    // The other lists keep their own rows.
    EXPECT_EQ(hub->internship()->array().size(), 10u);
}

TEST_F(EmploymentHubTest, RowsShowTheirRecordAndTwoBlanksForAnAddressShowNone) {
    server.setReply(
        "GET", kListPath,
        {200, "application/json",
         Json{{"ListOrderedMap",
               Json::array({Json{{"YRDWMC", "甲单位"},
                                 {"DWDZ", "  "},
                                 {"JZSJ", "2024-06-01"},
                                 {"ZT", "甲场"},
                                 {"ZBDW", "学生处"},
                                 {"APRQ", "2024-05-01"}},
                            Json{{"YRDWMC", "乙单位"}, {"DWDZ", " "}},
                            Json{{"YRDWMC", "丙单位"}, {"DWDZ", ""}, {"JZSJ", nullptr}},
                            Json{{"YRDWMC", "丁单位"}, {"DWDZ", "岚溪市澜湖区云栖路88号"}}})}}
             .dump()});
    open(hub);

    auto table = hub->recruitment()->myTableView();
    auto first = cell(*table, 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->titleLabel()->text(), "甲单位");
    EXPECT_EQ(first->placeLabel()->text(), "暂无");
    EXPECT_EQ(first->timeLabel()->text(), "2024-06-01");
    EXPECT_FALSE(first->placeImageView()->isHidden());
    EXPECT_TRUE(first->organizerLabel()->isHidden());
    EXPECT_EQ(cell(*table, 1)->placeLabel()->text(), " ");
    EXPECT_EQ(cell(*table, 2)->placeLabel()->text(), "");
    EXPECT_EQ(cell(*table, 2)->timeLabel()->text(), "");
    EXPECT_EQ(cell(*table, 3)->placeLabel()->text(), "岚溪市澜湖区云栖路88号");
    // The internships read the same way.
    EXPECT_EQ(cell(*hub->internship()->myTableView(), 0)->placeLabel()->text(), "暂无");

    // An event row shows its subject, organiser and date, without the pin; missing values
    // show empty.
    showTab(2);
    auto event = cell(*hub->jobFair()->myTableView(), 0);
    EXPECT_EQ(event->titleLabel()->text(), "甲场");
    EXPECT_EQ(event->organizerLabel()->text(), "学生处");
    EXPECT_EQ(event->timeLabel()->text(), "2024-05-01");
    EXPECT_TRUE(event->placeImageView()->isHidden());
    EXPECT_TRUE(event->placeLabel()->isHidden());
    EXPECT_EQ(cell(*hub->jobFair()->myTableView(), 1)->titleLabel()->text(), "");
    EXPECT_EQ(hub->jobFair()
                  ->myTableView()
                  ->rectForRowAtIndexPath(platform::IndexPath::forRow(1, 0))
                  .size.height,
              80);
}

TEST_F(EmploymentHubTest, ATappedRowOpensItsDetailWithItsRecordTitleAndKind) {
    open(hub);

    // The third job fair opens the job-fair page with that very record.
    auto fair = std::dynamic_pointer_cast<JobFairDetailViewController>(
        tapRow(2, hub->jobFair()->myTableView(), 2));
    ASSERT_TRUE(fair) << driver.outline();
    EXPECT_EQ(fair->jobFair().ZT, sampleRows("zph").at(2).at("ZT"));
    EXPECT_EQ(fair->jobFair().RN, "3");
    EXPECT_EQ(fair->title(), "招聘会");
    EXPECT_FALSE(hub->jobFair()->myTableView()->indexPathForSelectedRow());
    ASSERT_TRUE(driver.back());
    settle();

    auto talk = std::dynamic_pointer_cast<CareerTalkDetailViewController>(
        tapRow(3, hub->careerTalk()->myTableView(), 4));
    ASSERT_TRUE(talk) << driver.outline();
    EXPECT_EQ(talk->jobFair().ZT, sampleRows("xjh").at(4).at("ZT"));
    EXPECT_EQ(talk->title(), "宣讲会");
    ASSERT_TRUE(driver.back());
    settle();

    // An internship opens the recruitment detail for its employer, as an internship.
    auto internship = std::dynamic_pointer_cast<RecruitmentDetailViewController>(
        tapRow(1, hub->internship()->myTableView(), 1));
    ASSERT_TRUE(internship) << driver.outline();
    EXPECT_EQ(internship->titleName(), sampleNames("sx", 2).at(1));
    EXPECT_EQ(internship->naviTitleStr(), "实习信息");
    EXPECT_EQ(internship->type(), "sx");
    ASSERT_TRUE(quiet());
    auto asked = server.requestsTo(kDetailPath);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].queryValue("type"), "sx");
    EXPECT_EQ(asked[0].queryValue("company"), sampleNames("sx", 2).at(1));
    ASSERT_TRUE(driver.back());
    settle();

    auto recruitment = std::dynamic_pointer_cast<RecruitmentDetailViewController>(
        tapRow(0, hub->recruitment()->myTableView(), 0));
    ASSERT_TRUE(recruitment) << driver.outline();
    EXPECT_EQ(recruitment->titleName(), sampleNames("zp", 1).at(0));
    EXPECT_EQ(recruitment->title(), "招聘信息");
    EXPECT_EQ(recruitment->type(), "zp");
}

TEST_F(EmploymentHubTest, TheEmployerNameTravelsAsOneQueryValueAndAnAbsentOneAsEmpty) {
    const std::string name = "甲&乙=丙+丁#1 50%";
    server.setReply(
        "GET", kListPath,
        {200, "application/json",
         Json{{"ListOrderedMap", Json::array({Json{{"YRDWMC", name}}, Json{{"JZSJ", "x"}}})}}
             .dump()});
    open(hub);

    ASSERT_TRUE(std::dynamic_pointer_cast<RecruitmentDetailViewController>(
        tapRow(0, hub->recruitment()->myTableView(), 0)));
    ASSERT_TRUE(quiet());
    ASSERT_TRUE(driver.back());
    settle();
    ASSERT_TRUE(std::dynamic_pointer_cast<RecruitmentDetailViewController>(
        tapRow(0, hub->recruitment()->myTableView(), 1)));
    ASSERT_TRUE(quiet());

    const auto asked = server.requestsTo(kDetailPath);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].queryValue("company"), name);
    EXPECT_EQ(asked[0].query.size(), 2u);
    EXPECT_EQ(asked[1].queryValue("company"), "");
    EXPECT_EQ(asked[1].target.substr(asked[1].target.size() - 9), "&company=");
    EXPECT_EQ(asked[1].target.find("null"), std::string::npos);
}

TEST_F(EmploymentHubTest, APageWithARowThatIsNotARecordFailsAndTheShownRowsStay) {
    open(hub);
    auto table = hub->recruitment()->myTableView();
    const auto firstPage = sampleNames("zp", 10);
    ASSERT_EQ(shownNames(), firstPage);

    for (const Json& stray : {Json(7), Json("row"), Json(nullptr), Json::array()}) {
        SCOPED_TRACE(stray.dump());
        server.setReply(
            "GET", kListPath,
            {200, "application/json",
             Json{{"ListOrderedMap", Json::array({Json{{"YRDWMC", "新来的单位"}}, stray})}}
                 .dump()});
        // Neither a pull-down nor a pull-up takes any of it: the list stays as it was and
        // both controls end.
        ASSERT_TRUE(driver.pullDown(table));
        ASSERT_TRUE(quiet());
        EXPECT_EQ(shownNames(), firstPage);
        ASSERT_TRUE(driver.pullUp(table));
        ASSERT_TRUE(quiet());
        EXPECT_EQ(shownNames(), firstPage);
        EXPECT_EQ(table->numberOfRowsInSection(0), 10);
    }
    // A reply of records only is taken again: its rows replace the first page.
    server.setReply("GET", kListPath,
                    {200, "application/json",
                     Json{{"ListOrderedMap", Json::array({Json{{"YRDWMC", "新来的单位"}},
                                                          Json{{"YRDWMC", "又一家单位"}}})}}
                         .dump()});
    ASSERT_TRUE(driver.pullDown(table));
    ASSERT_TRUE(quiet());
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"新来的单位", "又一家单位"}));
    EXPECT_EQ(table->numberOfRowsInSection(0), 2);
}

TEST_F(EmploymentHubTest, AListReplyAfterTheHubHasGoneDoesNothing) {
    server.holdReplies("GET", kListPath);
    navigation->pushViewController(hub, true);
    settle();
    ASSERT_TRUE(held(kListPath, 4));
    std::weak_ptr<EmploymentViewController> gone = hub;
    std::weak_ptr<Recruitment> page = hub->recruitment();
    hub.reset();
    ASSERT_TRUE(driver.back());
    settle();

    // Nothing waiting on the replies keeps the hub or its pages.
    EXPECT_TRUE(gone.expired());
    EXPECT_TRUE(page.expired());
    while (server.releaseHeld(kListPath)) {
    }
    EXPECT_TRUE(quiet());
    EXPECT_EQ(navigation->viewControllers().size(), 1u);
}

}  // namespace
