#include <gtest/gtest.h>

#include <algorithm>

#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/AnnouncemeScrollViewer.h"

namespace widgettest {
namespace {

using namespace platform;

std::shared_ptr<AnnouncemeScrollViewer> builtPager(std::size_t tabs, int code = 9) {
    auto pager = AnnouncemeScrollViewer::scrollWithFrame(
        Rect{{0, 0}, {Screen::main().size().width, 500}}, pages(tabs), channelTitles(tabs), code);
    pager->addAll();
    return pager;
}

// The slider stands centred under the tab's title, as wide as the title.
void expectSliderUnder(const AnnouncemeScrollViewer& pager, std::size_t tab) {
    Rect slider = pager.view2()->frame();
    Rect button = pager.buttons()[tab]->frame();
    EXPECT_NEAR(slider.size.width, titleWidth(pager.buttons()[tab]->title()), 1e-9) << tab;
    EXPECT_NEAR(slider.midX(), button.midX(), 1e-4) << tab;
}

void expectOnlySelected(const AnnouncemeScrollViewer& pager, std::size_t tab) {
    for (std::size_t i = 0; i < pager.buttons().size(); ++i) {
        EXPECT_EQ(pager.buttons()[i]->isSelected(), i == tab) << i;
    }
}

// --- Taps ------------------------------------------------------------------------------------

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

    std::shared_ptr<Window> m_window;
};

TEST_P(TabPagerTap, ATapSelectsTheTabTurnsToItsPageAndCentresTheSlider) {
    auto pager = show(5, 9);
    ASSERT_TRUE(tap(pager, 3));

    expectOnlySelected(*pager, 3);
    EXPECT_EQ(pager->buttons()[3]->currentTitleColor(), Color::white());
    EXPECT_EQ(pager->buttons()[0]->currentTitleColor(), Color::black());
    EXPECT_EQ(pager->scroll2()->contentOffset(), (Point{3 * screenWidth(), 0}));
    expectSliderUnder(*pager, 3);
    // The row stays where it was; with code 9 nothing bounces and nothing is left to animate.
    EXPECT_EQ(pager->scroll1()->contentOffset(), (Point{0, 0}));
    EXPECT_TRUE(pager->buttons()[3]->transform().isIdentity());
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

// --- Swipes ----------------------------------------------------------------------------------

using TabPagerSwipe = WidgetTestOnEachWidth;

TEST_P(TabPagerSwipe, WhileDraggingTheSliderMovesOneSlotPerPageWithoutResizing) {
    double W = screenWidth();
    auto pager = builtPager(5);
    auto pagesArea = pager->scroll2();
    double start = pager->view2()->frame().origin.x;
    double t0 = titleWidth(channelTitles(5)[0]);

    ASSERT_TRUE(pagesArea->beginDragging());
    for (int step = 1; step <= 3; ++step) {
        pagesArea->dragStep({-W / 4, 0});
        double offset = pagesArea->contentOffset().x;
        EXPECT_DOUBLE_EQ(offset, step * W / 4);
        Rect slider = pager->view2()->frame();
        EXPECT_NEAR(slider.origin.x, start + offset / 5, 1e-4);
        EXPECT_DOUBLE_EQ(slider.size.width, t0);
    }
    // The selection changes only when the pages come to rest.
    EXPECT_TRUE(pager->buttons()[0]->isSelected());
    EXPECT_EQ(pager->buttons()[0]->currentTitleColor(), Color::white());

    pagesArea->endDragging();
    EXPECT_EQ(pagesArea->contentOffset().x, W);
    expectOnlySelected(*pager, 1);
    EXPECT_EQ(pager->buttons()[1]->currentTitleColor(), Color::white());
    EXPECT_EQ(pager->buttons()[0]->currentTitleColor(), Color::black());
    expectSliderUnder(*pager, 1);
}

TEST_P(TabPagerSwipe, ASwipeAcrossSeveralPagesSelectsTheTabOfThePageItStopsOn) {
    auto pager = builtPager(5);
    ASSERT_TRUE(pager->scroll2()->scrollToPage(3));
    EXPECT_EQ(pager->scroll2()->contentOffset().x, 3 * screenWidth());
    expectOnlySelected(*pager, 3);
    expectSliderUnder(*pager, 3);

    ASSERT_TRUE(pager->scroll2()->scrollToPage(2));
    expectOnlySelected(*pager, 2);
    expectSliderUnder(*pager, 2);
}

TEST_P(TabPagerSwipe, AnOffsetAFractionOffAPageCountsAsThatPage) {
    double W = screenWidth();
    auto pager = builtPager(5);
    auto pagesArea = pager->scroll2();
    // Offsets computed in floating point need not land exactly on a page boundary.
    pagesArea->setContentOffset({2 * W - 0.4, 0});
    pager->scrollViewDidEndDecelerating(*pagesArea);
    expectOnlySelected(*pager, 2);
    expectSliderUnder(*pager, 2);

    pagesArea->setContentOffset({4 * W + 0.3, 0});
    pager->scrollViewDidEndDecelerating(*pagesArea);
    expectOnlySelected(*pager, 4);

    // The drag-start page is the nearest one too, not a truncated one.
    pagesArea->setContentOffset({3 * W - 1e-7, 0});
    ASSERT_TRUE(pagesArea->beginDragging());
    EXPECT_EQ(pager->x(), 3);
    pagesArea->endDragging();
}

INSTANTIATE_TEST_SUITE_P(Widths, TabPagerSwipe, ::testing::Values(320.0, 375.0, 414.0), widthName);

using TabPagerSwipeDetails = WidgetTest;

TEST_F(TabPagerSwipeDetails, OnlyWithDriftingOnTheDragStartTabFollowsAThirdOfTheSlider) {
    auto still = builtPager(5, 9);
    ASSERT_TRUE(still->scroll2()->beginDragging());
    still->scroll2()->dragStep({-150, 0});
    EXPECT_TRUE(still->buttons()[0]->transform().isIdentity());
    still->scroll2()->endDragging();

    auto pager = builtPager(5, 122);
    auto pagesArea = pager->scroll2();
    ASSERT_TRUE(pagesArea->beginDragging());
    pagesArea->dragStep({-150, 0});
    EXPECT_NEAR(pager->buttons()[0]->transform().tx, 150.0 / 5 / 3, 1e-9);
    EXPECT_TRUE(pager->buttons()[1]->transform().isIdentity());
    pagesArea->endDragging();
    // Back at rest, every tab stands in its slot again.
    for (const auto& tab : pager->buttons()) {
        EXPECT_TRUE(tab->transform().isIdentity());
    }
    expectSliderUnder(*pager, 1);
}

TEST_F(TabPagerSwipeDetails, PagesTurnedByFingerInTheWindowSelectTheirTabButNeverMoveVertically) {
    std::shared_ptr<View> content;
    auto window = showWindow(content);
    auto pager = AnnouncemeScrollViewer::scrollWithFrame(Rect{{0, 0}, {375, 500}}, pages(4),
                                                         channelTitles(4), 9);
    content->addSubview(pager);
    runPending();
    Point from = pager->convertPointTo({300, 250}, nullptr);
    Point to = pager->convertPointTo({60, 250}, nullptr);
    window->drag(from, to, 6);
    EXPECT_EQ(pager->scroll2()->contentOffset().x, 375);
    expectOnlySelected(*pager, 1);
    expectSliderUnder(*pager, 1);

    pager->scroll2()->setContentOffset({750, 30});
    EXPECT_EQ(pager->scroll2()->contentOffset(), (Point{750, 0}));
}

// --- More tabs than the row shows ------------------------------------------------------------

using TabPagerManyTabs = WidgetTestOnEachWidth;

TEST_P(TabPagerManyTabs, SevenTabsShareAFixedRowWhileEightShowSevenSlotsAndTheRowScrolls) {
    double W = screenWidth();
    auto seven = builtPager(7);
    EXPECT_DOUBLE_EQ(seven->buttons()[6]->frame().size.width, W / 7);
    EXPECT_EQ(seven->scroll1()->contentSize().width, W);
    EXPECT_FALSE(seven->scroll1()->canScrollHorizontally());

    auto pager = builtPager(8);
    double slot = W / 7;
    EXPECT_DOUBLE_EQ(pager->buttons()[7]->frame().origin.x, 7 * slot);
    EXPECT_DOUBLE_EQ(pager->buttons()[7]->frame().size.width, slot);
    EXPECT_DOUBLE_EQ(pager->scroll1()->contentSize().width, 8 * W / 7);
    EXPECT_TRUE(pager->scroll1()->canScrollHorizontally());

    // The slider moves a seventh of the page offset.
    ASSERT_TRUE(pager->scroll2()->beginDragging());
    pager->scroll2()->dragStep({-W / 2, 0});
    EXPECT_NEAR(pager->view2()->frame().origin.x, pager->x0() + W / 2 / 7, 1e-4);
    pager->scroll2()->endDragging();
}

TEST_P(TabPagerManyTabs, TheRowFollowsThePagesKeepingTheCurrentTabInView) {
    double W = screenWidth();
    const std::size_t n = 10;
    auto pager = builtPager(n);
    double slot = W / 7;
    double last = slot * double(n - 7);
    auto expectRowAt = [&](std::size_t page) {
        double expected = std::clamp(slot * (double(page) - 2), 0.0, last);
        double offset = pager->scroll1()->contentOffset().x;
        EXPECT_NEAR(offset, expected, 1e-9) << "page " << page;
        Rect tab = pager->buttons()[page]->frame();
        EXPECT_GE(tab.minX(), offset - 1e-9) << page;
        EXPECT_LE(tab.maxX(), offset + W + 1e-9) << page;
    };
    for (std::size_t page = 1; page < n; ++page) {
        ASSERT_TRUE(pager->scroll2()->scrollToPage(int(page)));
        expectOnlySelected(*pager, page);
        expectRowAt(page);
    }
    for (std::size_t page = n - 1; page-- > 0;) {
        ASSERT_TRUE(pager->scroll2()->scrollToPage(int(page)));
        expectOnlySelected(*pager, page);
        expectRowAt(page);
    }
}

TEST_P(TabPagerManyTabs, ATapOrASwipeNearTheStartLeavesTheRowWhereItIs) {
    double slot = screenWidth() / 7;
    auto pager = builtPager(10);
    pager->changed(*pager->buttons()[6]);
    EXPECT_EQ(pager->scroll1()->contentOffset().x, 0);
    EXPECT_EQ(pager->scroll2()->contentOffset().x, 6 * screenWidth());
    expectSliderUnder(*pager, 6);

    auto turned = builtPager(10);
    turned->scroll1()->setContentOffset({2 * slot, 0});  // the user turned the tab row
    ASSERT_TRUE(turned->scroll2()->scrollToPage(1));
    EXPECT_NEAR(turned->scroll1()->contentOffset().x, 2 * slot, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Widths, TabPagerManyTabs, ::testing::Values(320.0, 375.0, 414.0),
                         widthName);

}  // namespace
}  // namespace widgettest
