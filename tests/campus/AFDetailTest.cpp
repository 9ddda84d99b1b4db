#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "campus/AFDetailScrollView.h"
#include "campus/AFDetailViewController.h"
#include "campus/AcademicForum.h"
#include "client/MyTool.h"
#include "platform/graphics/Font.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"

namespace {

AcademicForum lecture() {
    AcademicForum lecture;
    lecture.jzmc = "人工智能时代的软件工程新范式";
    lecture.jzkssj = "2024-04-25 14:30:00";
    lecture.jzjssj = "2024-04-25 16:30:00";
    lecture.jzzbdw = "信息工程学院";
    lecture.jzdd = "信息楼A101报告厅";
    lecture.jzrxm = "李德明";
    lecture.jzrms = "岚溪学院计算机学院教授、博士生导师，主要从事软件工程与智能化开发研究。";
    lecture.jznr =
        "讲座将介绍该领域的前沿进展与发展趋势，并与师生现场交流。讲座将介绍该领域的前沿进展与发展"
        "趋势，并与师生现场交流。";
    return lecture;
}

TEST(AcademicForumTimeRange, JoinsTheStartsMinuteAndTheEndsTimeOfDayCuttingOnlyWhatThereIs) {
    auto with = [](std::string start, std::string end) {
        AcademicForum lecture;
        lecture.jzkssj = std::move(start);
        lecture.jzjssj = std::move(end);
        return lecture.timeRange();
    };
    EXPECT_EQ(with("2024-04-25 14:30:00", "2024-04-25 16:30:00"), "2024-04-25 14:30-16:30");
    EXPECT_EQ(with("2024-04-25 14:30", "2024-04-25 16:30"), "2024-04-25 14:30-16:30");
    // Short or missing times show what there is, with no hyphen left hanging.
    EXPECT_EQ(with("2024-04-25", "2024-04-25 16"), "2024-04-25-16");
    EXPECT_EQ(with("2024-04-25", ""), "2024-04-25");
    EXPECT_EQ(with("", "2024-04-25 16:30:00"), "16:30");
    EXPECT_EQ(with("", ""), "");
    // Characters, not bytes: a time written in ideographs is cut at whole characters.
    EXPECT_EQ(with("二〇二四年四月二十五日下午两点半开始", "二〇二四年四月二十五日下午四点半结束"),
              "二〇二四年四月二十五日下午两点半-下午四点半");
}

// The detail page on each phone width.
class AFDetailTest : public ::testing::TestWithParam<double> {
protected:
    AFDetailTest() : scope({GetParam(), 667}) {}

    std::shared_ptr<AFDetailViewController> openPage(const AcademicForum& record) {
        auto page = std::make_shared<AFDetailViewController>();
        page->setAcademicForum(record);
        page->loadViewIfNeeded();
        return page;
    }
    static double measured(const std::string& text) {
        return MyTool::heightOfLabel(text, platform::Font::systemFont(15), GetParam() - 121);
    }

    platform::testing::UiTestScope scope;
};

TEST_P(AFDetailTest, TheCardIsAsHighAsItsMeasuredValuesAndThePageScrollsOverIt) {
    const double width = GetParam();
    const AcademicForum record = lecture();
    auto page = openPage(record);
    const auto& card = page->card();
    ASSERT_TRUE(card);

    const std::vector<std::shared_ptr<platform::Label>> values = {
        card->titleLabel(),    card->timeLabel(),      card->unitLabel(),   card->placeLabel(),
        card->lecturerLabel(), card->introduceLabel(), card->contentLabel()};
    const std::vector<std::string> texts = {record.jzmc,   "2024-04-25 14:30-16:30",
                                            record.jzzbdw, record.jzdd,
                                            record.jzrxm,  record.jzrms,
                                            record.jznr};
    double top = 13;
    double heights = 0;
    for (size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(values[i]->text(), texts[i]) << i;
        const double height = measured(texts[i]);
        EXPECT_EQ(values[i]->frame(), (platform::Rect{{100, top}, {width - 121, height}})) << i;
        heights += height;
        top += height + 27;
    }
    ASSERT_GT(measured(record.jznr), measured(record.jzrxm));  // the content wraps

    const int size = static_cast<int>(heights + 196);
    EXPECT_EQ(card->size(), size);
    EXPECT_EQ(card->frame(), (platform::Rect{{7, 40}, {width - 14, double(size)}}));
    EXPECT_EQ(page->myScrollView()->contentSize(), (platform::Size{width, double(size + 50)}));
    EXPECT_EQ(page->myScrollView()->frame(), (platform::Rect{{0, 0}, {width, 667 - 64}}));
    EXPECT_EQ(page->title(), "学术讲座");
}

TEST_P(AFDetailTest, EmptyValuesKeepTheirRowsAndTheCardStillAddsUp) {
    AcademicForum empty;
    auto page = openPage(empty);
    const auto& card = page->card();
    EXPECT_EQ(card->timeLabel()->text(), "");
    EXPECT_EQ(card->size(), static_cast<int>(7 * measured("") + 196));
    EXPECT_EQ(page->myScrollView()->contentSize().height, card->size() + 50);
}

INSTANTIATE_TEST_SUITE_P(PhoneWidths, AFDetailTest, ::testing::Values(320, 375, 414));

}  // namespace
