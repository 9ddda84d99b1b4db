#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "career/CareerTalkDetailScrollView.h"
#include "career/CareerTalkDetailViewController.h"
#include "career/JobFairDetailScrolleView.h"
#include "career/JobFairDetailViewController.h"
#include "client/MyTool.h"
#include "platform/foundation/ComposedCharacters.h"
#include "platform/graphics/Font.h"
#include "platform/ui/Label.h"
#include "platform/ui/ScrollView.h"
#include "tests/career/CareerTestSupport.h"

using namespace careertest;

namespace {

const std::string kOneLineSpecialty = "不限专业";
const std::string kLongSpecialty =
    "计算机科学与技术、软件工程、电子信息工程、通信工程、自动化、数据科学与大数据技术等相关专业";

JobFairModel sampleEvent() {
    JobFairModel event;
    event.ZT = "信息技术类专场招聘会";
    event.ZPHLX = "专场";
    event.ZBDW = "信息工程学院";
    event.JBDD = "信息楼一楼大厅";
    event.APRQ = "2024-05-09";
    event.KSSJ = "13:30:00";
    event.JSSJ = "16:30";
    event.XL = "本科及以上";
    event.ZY = kOneLineSpecialty;
    event.LXR = "林老师";
    event.LXDH = "0571-86291456";
    event.SJ = "13900004567";
    event.CZ = "0571-86290000";
    event.EMAIL = "jiuye@lanxi-campus.example";
    event.FBR = "就业指导中心";
    event.YRDW = "澈泉信息技术有限公司";
    return event;
}

double measured(const std::string& text, double size, double width) {
    return text.empty() ? 0 : MyTool::heightOfLabel(text, platform::Font::systemFont(size), width);
}

// The longest start of the specialties that the value width wraps to three lines.
std::string threeLineSpecialty(double width) {
    const double line = measured(kOneLineSpecialty, 15, width);
    for (size_t count = platform::composedCharacterCount(kLongSpecialty); count > 0; --count) {
        std::string text = platform::substringOfCharacters(kLongSpecialty, 0, count);
        if (std::lround(measured(text, 15, width) / line) == 3)
            return text;
    }
    return kLongSpecialty;
}

class EventDetailTest : public CareerScreenTest,
                        public ::testing::WithParamInterface<platform::Size> {
protected:
    EventDetailTest() : CareerScreenTest(GetParam()) {}

    double width() const { return GetParam().width; }
    double valueWidth() const { return width() - 128; }
    // The three growing rows' measured heights.
    double grown(const JobFairModel& event) const {
        return measured(event.ZY, 15, valueWidth()) + measured(event.LXDH, 15, valueWidth()) +
               measured(event.CZ, 15, valueWidth());
    }
    template <typename Page>
    std::shared_ptr<Page> show(const JobFairModel& event, const std::string& title) {
        auto page = std::make_shared<Page>();
        page->setJobFair(event);
        page->setNaviTitleStr(title);
        navigation->pushViewController(page, false);
        settle();
        return page;
    }
};

TEST_P(EventDetailTest, TheCardIsItsConstantPlusTheMeasuredGrowingRows) {
    JobFairModel event = sampleEvent();
    event.ZY = threeLineSpecialty(valueWidth());
    const double threeLines = measured(event.ZY, 15, valueWidth());
    ASSERT_EQ(std::lround(threeLines / measured(kOneLineSpecialty, 15, valueWidth())), 3);

    auto talk = show<CareerTalkDetailViewController>(event, "宣讲会");
    const auto& card = *talk->detailView();
    EXPECT_EQ(card.size(), long(grown(event) + 474));
    EXPECT_EQ(card.frame().size.height, double(card.size()));
    EXPECT_EQ(card.specialtyLabel()->frame().size.height, threeLines);
    EXPECT_EQ(talk->title(), "宣讲会");

    auto fair = show<JobFairDetailViewController>(event, "招聘会");
    EXPECT_EQ(fair->detailView()->size(), long(grown(event) + 502));
    EXPECT_EQ(fair->title(), "招聘会");
}

TEST_P(EventDetailTest, AThreeLineSpecialtyMovesTheLaterRowsAndGrowsTheCardByItsExtraHeight) {
    JobFairModel oneLine = sampleEvent();
    JobFairModel threeLine = sampleEvent();
    threeLine.ZY = threeLineSpecialty(valueWidth());
    const double extra =
        measured(threeLine.ZY, 15, valueWidth()) - measured(kOneLineSpecialty, 15, valueWidth());

    auto before = show<JobFairDetailViewController>(oneLine, "招聘会");
    auto after = show<JobFairDetailViewController>(threeLine, "招聘会");
    const auto& a = *before->detailView();
    const auto& b = *after->detailView();
    EXPECT_EQ(b.specialtyLabel()->frame().origin.y, a.specialtyLabel()->frame().origin.y);
    EXPECT_EQ(b.degreeLabel()->frame(), a.degreeLabel()->frame());
    for (auto label : {&EventDetailScrollView::contactsLabel, &EventDetailScrollView::faxesLabel,
                       &EventDetailScrollView::releaseLabel}) {
        EXPECT_DOUBLE_EQ((b.*label)()->frame().origin.y, (a.*label)()->frame().origin.y + extra);
    }
    EXPECT_NEAR(b.size() - a.size(), extra, 1);
    EXPECT_NEAR(
        after->myScrollView()->contentSize().height - before->myScrollView()->contentSize().height,
        extra, 1);
}

TEST_P(EventDetailTest, TheJobFairCardStartsWithItsTypeAndOrganiserAndTheTalkWithItsEmployer) {
    const JobFairModel event = sampleEvent();
    auto fair = show<JobFairDetailViewController>(event, "招聘会");
    const auto& fairCard = *fair->detailView();
    ASSERT_TRUE(fairCard.typeLabel());
    EXPECT_EQ(fairCard.typeLabel()->text(), "专场");
    EXPECT_EQ(fairCard.typeLabel()->frame(), (platform::Rect{{100, 13}, {valueWidth(), 20}}));
    EXPECT_EQ(fairCard.unitsLabel()->text(), "信息工程学院");
    EXPECT_EQ(fairCard.unitsLabel()->frame().origin.y, 60);
    EXPECT_EQ(fairCard.timeLabel()->text(), "2024-05-09  13:30-16:30");
    EXPECT_EQ(fair->headingLabel()->text(), "信息技术类专场招聘会");

    auto talk = show<CareerTalkDetailViewController>(event, "宣讲会");
    const auto& talkCard = *talk->detailView();
    EXPECT_FALSE(talkCard.typeLabel());
    EXPECT_EQ(talkCard.unitsLabel()->text(), "澈泉信息技术有限公司");
    EXPECT_EQ(talkCard.unitsLabel()->frame(), (platform::Rect{{100, 14}, {valueWidth(), 20}}));
    EXPECT_EQ(talkCard.emialLabel()->text(), "jiuye@lanxi-campus.example");
}

TEST_P(EventDetailTest, ShortAndMissingValuesShowWhatThereIsAndLongOnesKeepTheirRow) {
    JobFairModel event = sampleEvent();
    event.KSSJ = "9:30";
    event.JSSJ.clear();
    event.CZ.clear();
    event.SJ = std::string(20, '1') + "，" + std::string(20, '2');
    event.ZT = "岚溪市高校毕业生联合招聘会（春季场）暨2024年“百校千企”人才供需对接活动";
    auto fair = show<JobFairDetailViewController>(event, "招聘会");
    const auto& card = *fair->detailView();
    EXPECT_EQ(card.timeLabel()->text(), "2024-05-09  9:30-");
    EXPECT_EQ(card.faxesLabel()->frame().size.height, 0);
    EXPECT_EQ(card.phoneLabel()->frame().size.height, 20);
    EXPECT_EQ(card.faxesLabel()->frame().origin.y, card.phoneLabel()->frame().origin.y + 47);
    EXPECT_EQ(card.emialLabel()->frame().origin.y, card.faxesLabel()->frame().origin.y + 27);

    // A long subject wraps; the card starts 14 below its last line.
    const double heading =
        MyTool::heightOfLabel(event.ZT, platform::Font::systemFont(16), width() - 14);
    EXPECT_EQ(fair->headingLabel()->frame(), (platform::Rect{{7, 14}, {width() - 14, heading}}));
    EXPECT_EQ(card.frame().origin, (platform::Point{7, 14 + heading + 14}));
    EXPECT_EQ(fair->myScrollView()->contentSize(),
              (platform::Size{width(), card.size() + 42 + heading}));
    EXPECT_EQ(fair->myScrollView()->frame().size.height, GetParam().height - 64);
}

INSTANTIATE_TEST_SUITE_P(PhoneWidths, EventDetailTest,
                         ::testing::Values(platform::Size{320, 568}, platform::Size{375, 667},
                                           platform::Size{414, 736}));

}  // namespace
