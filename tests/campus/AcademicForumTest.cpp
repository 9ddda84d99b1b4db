#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "campus/AFDetailViewController.h"
#include "campus/AcademicForumTableViewCell.h"
#include "campus/AcademicForumViewController.h"
#include "client/MyTool.h"
#include "platform/graphics/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/TableView.h"
#include "tests/campus/ListScreensTestSupport.h"

using namespace liststest;
using platform::Json;

namespace {

Json lecture(const std::string& title, const Json& start,
             const std::string& organiser = "人文学院") {
    return Json{{"jzmc", title},
                {"jzkssj", start},
                {"jzjssj", "2024-05-06 16:30:00"},
                {"jzzbdw", organiser}};
}

const std::string kLongTitle =
    "面向新工科的课程体系重构：从知识传授到能力培养的教学改革路径、评价机制与跨学科课程群建设的"
    "实践探索";

// The lecture list on each phone width, with lectures the case serves.
class AcademicForumTest : public ListScreenTest, public ::testing::WithParamInterface<double> {
protected:
    AcademicForumTest() : ListScreenTest({GetParam(), 667}) {}

    void openWith(const Json& lectures) {
        server.setReply("GET", kLecturesPath,
                        {200, "application/json", Json{{"Lecture", lectures}}.dump()});
        open(screen);
    }
    platform::TableView& table() const { return *screen->myTableView(); }
    std::shared_ptr<AcademicForumTableViewCell> cell(int row) const {
        return std::dynamic_pointer_cast<AcademicForumTableViewCell>(
            table().cellForRowAtIndexPath(platform::IndexPath::forRow(row, 0)));
    }
    // What the title measures at the row's title width.
    static double measuredTitle(const std::string& title) {
        return MyTool::heightOfLabel(title, platform::Font::systemFont(15), GetParam() - 51);
    }

    std::shared_ptr<AcademicForumViewController> screen =
        std::make_shared<AcademicForumViewController>();
};

TEST_P(AcademicForumTest, EachRowIsAsHighAsItsMeasuredTitleNeeds) {
    openWith(Json::array({lecture("量子计算导论", "2024-05-06 14:30:00"),
                          lecture(kLongTitle, "2024-05-07 09:30:00")}));
    ASSERT_EQ(table().numberOfRowsInSection(0), 2);

    const double shortTitle = measuredTitle("量子计算导论");
    const double longTitle = measuredTitle(kLongTitle);
    ASSERT_GT(longTitle, shortTitle);  // the long title wraps onto more lines
    EXPECT_DOUBLE_EQ(table().rectForRowAtIndexPath(platform::IndexPath::forRow(0, 0)).size.height,
                     shortTitle + 50);
    EXPECT_DOUBLE_EQ(table().rectForRowAtIndexPath(platform::IndexPath::forRow(1, 0)).size.height,
                     longTitle + 50);

    auto row = cell(1);
    ASSERT_TRUE(row);
    const double width = GetParam();
    EXPECT_EQ(row->titleLabel()->frame(), (platform::Rect{{17, 10}, {width - 51, longTitle}}));
    EXPECT_EQ(row->zbdwLabel()->frame(), (platform::Rect{{17, longTitle + 20}, {width - 131, 20}}));
    EXPECT_EQ(row->timeLabel()->frame(), (platform::Rect{{width - 114, longTitle + 20}, {80, 20}}));
}

TEST_P(AcademicForumTest, TheSecondLineShowsTheOrganiserAndTheStartCutToItsDate) {
    openWith(Json::array({lecture("完整的时间", "2024-05-06 14:30:00", "信息工程学院"),
                          lecture("只有年月", "2024-5"), lecture("没有时间", nullptr),
                          lecture("汉字的时间", "二〇二四年五月六日下午两点半")}));
    ASSERT_EQ(table().numberOfRowsInSection(0), 4);

    EXPECT_EQ(cell(0)->zbdwLabel()->text(), "信息工程学院");
    EXPECT_EQ(cell(0)->timeLabel()->text(), "2024-05-06");
    EXPECT_EQ(cell(1)->timeLabel()->text(), "2024-5");
    EXPECT_EQ(cell(2)->timeLabel()->text(), "");
    // Ten characters, not ten bytes.
    EXPECT_EQ(cell(3)->timeLabel()->text(), "二〇二四年五月六日下");
}

TEST_P(AcademicForumTest, TheFirstPageLoadsOnceUnderTheOverlayAndARowOpensItsLecture) {
    server.setHandler("GET", kLecturesPath, [&](const fakes::RecordedRequest&) {
        fakes::Reply reply;
        reply.body = Json{{"Lecture", Json::array({lecture("第一场", "2024-05-06 14:30:00"),
                                                   lecture("第二场", "2024-05-07 09:30:00")})}}
                         .dump();
        return reply;
    });
    navigation->pushViewController(screen, true);
    EXPECT_EQ(overlayTexts(*screen->view()), std::vector<std::string>{"加载中"});
    settle();
    ASSERT_TRUE(quiet());
    EXPECT_TRUE(overlayTexts(*screen->view()).empty());
    const auto asked = server.requestsTo(kLecturesPath);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].queryValue("pageNo"), "1");
    EXPECT_EQ(asked[0].queryValue("pageSize"), "10");
    EXPECT_EQ(screen->title(), "学术讲座");
    EXPECT_FALSE(side->needSwipeShowMenu());

    ASSERT_TRUE(driver.tap("第二场"));
    settle();
    auto detail =
        std::dynamic_pointer_cast<AFDetailViewController>(navigation->topViewController());
    ASSERT_TRUE(detail) << driver.outline();
    EXPECT_EQ(detail->academicForum().jzmc, "第二场");
    EXPECT_EQ(detail->academicForum().jzkssj, "2024-05-07 09:30:00");
}

INSTANTIATE_TEST_SUITE_P(PhoneWidths, AcademicForumTest, ::testing::Values(320, 375, 414));

}  // namespace
