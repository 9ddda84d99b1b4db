#include <gtest/gtest.h>

#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/AnnouncemeScrollViewer.h"

namespace widgettest {
namespace {

using namespace platform;

class TabPagerTap : public WidgetTestOnEachWidth {
protected:
    std::shared_ptr<AnnouncemeScrollViewer> show(std::size_t tabs, int code) {
        std::shared_ptr<View> content;
        m_window = showWindow(content);
        auto pager = AnnouncemeScrollViewer::scrollWithFrame(
            Rect{{0, 0}, {screenWidth(), 500}}, pages(tabs), channelTitles(tabs), code);
        content->addSubview(pager);
        runPending();
        return pager;
    }
    bool tap(const std::shared_ptr<AnnouncemeScrollViewer>& pager, std::size_t tab) {
        return tapMiddle(*m_window, *pager->buttons()[tab]);
    }
    // The slider stands centred under the tab's title, as wide as the title.
    static void expectSliderUnder(const AnnouncemeScrollViewer& pager, std::size_t tab) {
        Rect slider = pager.view2()->frame();
        Rect button = pager.buttons()[tab]->frame();
        EXPECT_NEAR(slider.size.width, titleWidth(pager.buttons()[tab]->title()), 1e-9) << tab;
        EXPECT_NEAR(slider.midX(), button.midX(), 1e-4) << tab;
    }

    std::shared_ptr<Window> m_window;
};

TEST_P(TabPagerTap, ATapSelectsTheTabTurnsToItsPageAndCentresTheSlider) {
    auto pager = show(5, 9);
    ASSERT_TRUE(tap(pager, 3));

    const auto& tabs = pager->buttons();
    for (std::size_t i = 0; i < tabs.size(); ++i) {
        EXPECT_EQ(tabs[i]->isSelected(), i == 3) << i;
    }
    EXPECT_EQ(tabs[3]->currentTitleColor(), Color::white());
    EXPECT_EQ(tabs[0]->currentTitleColor(), Color::black());
    EXPECT_EQ(pager->scroll2()->contentOffset(), (Point{3 * screenWidth(), 0}));
    expectSliderUnder(*pager, 3);
    // The row stays where it was.
    EXPECT_EQ(pager->scroll1()->contentOffset(), (Point{0, 0}));
}

TEST_P(TabPagerTap, WithCodeNineThereIsNoBounceAndTheSliderJumpsAtOnce) {
    auto pager = show(5, 9);
    ASSERT_TRUE(tap(pager, 1));
    EXPECT_TRUE(pager->buttons()[1]->transform().isIdentity());
    expectSliderUnder(*pager, 1);
    EXPECT_EQ(RunLoop::main().delayedCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Widths, TabPagerTap, ::testing::Values(320.0, 375.0, 414.0), widthName);

using TabPagerTapAnimation = TabPagerTap;

TEST_P(TabPagerTapAnimation, AnUnselectedTabBouncesInThreeStepsBackToItsSize) {
    auto pager = show(5, 212);
    const auto& tab = pager->buttons()[2];
    ASSERT_TRUE(tap(pager, 2));
    EXPECT_NEAR(tab->transform().a, 0.7, 1e-9);
    EXPECT_NEAR(tab->transform().d, 0.7, 1e-9);
    advance(0.2);
    EXPECT_NEAR(tab->transform().a, 0.7 * 5 / 3, 1e-9);
    advance(0.2);
    EXPECT_NEAR(tab->transform().a, 1, 1e-9);
    EXPECT_NEAR(tab->transform().d, 1, 1e-9);
    advance(1);
    EXPECT_NEAR(tab->transform().a, 1, 1e-9);
}

TEST_P(TabPagerTapAnimation, TheSelectedTabDoesNotBounceButItsPageAndSliderAreSetAgain) {
    auto pager = show(5, 212);
    ASSERT_TRUE(tap(pager, 1));
    advance(1);
    // Somebody moved the pages in code behind the widget's back.
    pager->scroll2()->setDelegate(std::weak_ptr<ScrollViewDelegate>());
    pager->scroll2()->setContentOffset({3 * screenWidth(), 0});
    pager->scroll2()->setDelegate(std::shared_ptr<ScrollViewDelegate>(pager, pager.get()));

    ASSERT_TRUE(tap(pager, 1));
    EXPECT_TRUE(pager->buttons()[1]->transform().isIdentity());
    EXPECT_TRUE(pager->buttons()[1]->isSelected());
    EXPECT_EQ(pager->scroll2()->contentOffset(), (Point{screenWidth(), 0}));
    expectSliderUnder(*pager, 1);
}

TEST_P(TabPagerTapAnimation, ATapTurnsThePageWithoutTheScrollCallbackDriftingATab) {
    // Drifting tabs on: a scroll callback during the tap would move the drag-start tab.
    auto pager = show(5, 122);
    ASSERT_TRUE(tap(pager, 4));
    EXPECT_EQ(pager->scroll2()->contentOffset().x, 4 * screenWidth());
    EXPECT_TRUE(pager->buttons()[0]->transform().isIdentity());
    EXPECT_TRUE(pager->buttons()[4]->transform().isIdentity());
    expectSliderUnder(*pager, 4);
}

INSTANTIATE_TEST_SUITE_P(Widths, TabPagerTapAnimation, ::testing::Values(375.0), widthName);

}  // namespace
}  // namespace widgettest
