#include <gtest/gtest.h>

#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/EmploymentScrollView.h"
#include "widgets/MeetingScrollView.h"

namespace widgettest {
namespace {

using namespace platform;

const std::vector<std::string> kWeekdays{"周一", "周二", "周三", "周四", "周五", "周六", "周日"};

std::shared_ptr<MeetingScrollView> meetingPager(bool current, std::string today) {
    auto pager = MeetingScrollView::scrollWithFrame(
        Rect{{0, 0}, {Screen::main().size().width, 500}}, pages(7), kWeekdays, 9);
    pager->current = current;
    pager->currentDate = std::move(today);
    return pager;
}

using MeetingScrollViewTest = WidgetTestOnEachWidth;

TEST_P(MeetingScrollViewTest, OnWednesdayItOpensOnPageTwoWithTheSliderUnderItsTab) {
    double W = screenWidth();
    auto pager = meetingPager(true, "周三");
    ASSERT_TRUE(pager->addAll());

    EXPECT_EQ(pager->scroll2()->contentOffset(), (Point{2 * W, 0}));
    EXPECT_NEAR(pager->view2()->frame().midX(), pager->buttons()[2]->frame().midX(), 1e-4);
    // Until the user taps or swipes, the first tab stays the selected one.
    EXPECT_TRUE(pager->buttons()[0]->isSelected());
    EXPECT_FALSE(pager->buttons()[2]->isSelected());

    // A tap from the start page selects the tapped day.
    pager->changed(*pager->buttons()[4]);
    EXPECT_FALSE(pager->buttons()[0]->isSelected());
    EXPECT_TRUE(pager->buttons()[4]->isSelected());
    EXPECT_EQ(pager->buttons()[4]->currentTitleColor(), Color::white());
    EXPECT_EQ(pager->scroll2()->contentOffset().x, 4 * W);
}

INSTANTIATE_TEST_SUITE_P(Widths, MeetingScrollViewTest, ::testing::Values(320.0, 375.0, 414.0),
                         widthName);

using MeetingStartPage = WidgetTest;

TEST_F(MeetingStartPage, EachWeekdayOpensOnItsOwnPageAndAnyOtherDayOnTheFirst) {
    for (std::size_t day = 0; day < kWeekdays.size(); ++day) {
        auto pager = meetingPager(true, kWeekdays[day]);
        ASSERT_TRUE(pager->addAll());
        EXPECT_EQ(pager->scroll2()->contentOffset().x, double(day) * 375) << kWeekdays[day];
    }
    auto unknown = meetingPager(true, "星期三");
    ASSERT_TRUE(unknown->addAll());
    EXPECT_EQ(unknown->scroll2()->contentOffset().x, 0);
    EXPECT_NEAR(unknown->view2()->frame().origin.x, unknown->x0(), 1e-4);

    // A day beyond the tabs there are.
    auto shortWeek = MeetingScrollView::scrollWithFrame(
        Rect{{0, 0}, {375, 500}}, pages(3), std::vector<std::string>{"周一", "周二", "周三"}, 9);
    shortWeek->currentDate = "周日";
    ASSERT_TRUE(shortWeek->addAll());
    EXPECT_EQ(shortWeek->scroll2()->contentOffset().x, 0);
}

TEST_F(MeetingStartPage, OnlyInTheCurrentWeekTheFirstTabsSelectedTitleIsBlack) {
    auto current = meetingPager(true, "周一");
    ASSERT_TRUE(current->addAll());
    EXPECT_EQ(current->buttons()[0]->currentTitleColor(), Color::black());
    EXPECT_EQ(current->buttons()[1]->titleColor(ControlState::Selected), Color::white());

    auto other = meetingPager(false, "");
    ASSERT_TRUE(other->addAll());
    EXPECT_EQ(other->buttons()[0]->currentTitleColor(), Color::white());
    EXPECT_EQ(other->buttons()[0]->titleColor(ControlState::Normal), Color::black());
    EXPECT_EQ(other->scroll2()->contentOffset(), (Point{0, 0}));
}

// --- The variant on a scroll view ---------------------------------------------------------

using EmploymentScrollViewTest = WidgetTest;

TEST_F(EmploymentScrollViewTest, ItBuildsOnceAndBehavesAsThePagerLeavingItsOwnScrollingAlone) {
    std::shared_ptr<View> content;
    auto window = showWindow(content);
    auto pager = EmploymentScrollView::scrollWithFrame(Rect{{0, 64}, {375, 500}}, pages(4),
                                                       channelTitles(4), 9);
    content->addSubview(pager);
    runPending();
    pager->setNeedsLayout();
    runPending();
    EXPECT_EQ(pager->buttons().size(), 4u);
    EXPECT_EQ(pager->subviews().size(), 2u);
    EXPECT_EQ(pager->contentSize(), (Size{0, 0}));
    EXPECT_FALSE(pager->delegate());
    EXPECT_EQ(pager->scroll2()->frame(), (Rect{{0, 50}, {375, 450}}));

    pager->changed(*pager->buttons()[2]);
    EXPECT_EQ(pager->scroll2()->contentOffset().x, 750);
    EXPECT_TRUE(pager->buttons()[2]->isSelected());

    ASSERT_TRUE(pager->scroll2()->scrollToPage(3));
    EXPECT_TRUE(pager->buttons()[3]->isSelected());
    EXPECT_FALSE(pager->buttons()[2]->isSelected());
    EXPECT_NEAR(pager->view2()->frame().midX(), pager->buttons()[3]->frame().midX(), 1e-4);
}

}  // namespace
}  // namespace widgettest
