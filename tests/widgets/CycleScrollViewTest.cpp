#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/foundation/RunLoop.h"
#include "platform/ui/GestureRecognizer.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/Window.h"
#include "tests/widgets/WidgetTestSupport.h"
#include "widgets/CycleScrollView.h"

namespace {

using widgettest::WidgetTest;

constexpr double kWidth = 320;
const platform::Rect kFrame{{0, 100}, {kWidth, 150}};

class CycleScrollViewTest : public WidgetTest {
protected:
    // A banner over `count` page views, each tagged with its index and handed out again on
    // every arrangement; `asked` records the indices the banner fetched.
    std::shared_ptr<CycleScrollView> makeBanner(long count, double interval = 0) {
        auto banner = interval > 0 ? CycleScrollView::create(kFrame, interval)
                                   : CycleScrollView::create(kFrame);
        makePages(count);
        banner->fetchContentViewAtIndex = [this](long index) {
            asked.push_back(index);
            return pages.at(static_cast<size_t>(index));
        };
        banner->setTotalPagesCount([count] { return count; });
        return banner;
    }

    void makePages(long count) {
        for (long i = static_cast<long>(pages.size()); i < count; ++i) {
            auto page = platform::View::make<platform::View>(platform::Rect{{0, 0}, {kWidth, 150}});
            page->setTag(static_cast<int>(i));
            pages.push_back(page);
        }
    }

    // The indices of the previous, current and next views in place.
    static std::vector<int> placed(const CycleScrollView& banner) {
        std::vector<int> tags;
        for (const auto& view : banner.contentViews()) tags.push_back(view ? view->tag() : -1);
        return tags;
    }

    // A finger swipes one page: towards later pages (leftwards) or back.
    static void swipe(CycleScrollView& banner, bool forward) {
        ASSERT_TRUE(banner.scrollView()->dragBy({forward ? -kWidth : kWidth, 0}));
    }

    std::vector<std::shared_ptr<platform::View>> pages;
    std::vector<long> asked;
};

TEST_F(CycleScrollViewTest, SwipingWrapsAroundBothEnds) {
    auto banner = makeBanner(5);
    EXPECT_EQ(placed(*banner), (std::vector<int>{4, 0, 1}));

    swipe(*banner, false);
    EXPECT_EQ(banner->currentPageIndex(), 4);
    EXPECT_EQ(placed(*banner), (std::vector<int>{3, 4, 0}));
    EXPECT_EQ(banner->scrollView()->contentOffset(), (platform::Point{kWidth, 0}));
    // The middle place shows the current page.
    EXPECT_EQ(pages[4]->frame().origin.x, kWidth);

    swipe(*banner, true);
    EXPECT_EQ(banner->currentPageIndex(), 0);
    swipe(*banner, true);
    EXPECT_EQ(banner->currentPageIndex(), 1);
    EXPECT_EQ(placed(*banner), (std::vector<int>{0, 1, 2}));
}

TEST_F(CycleScrollViewTest, FewPagesFillAllThreePlaces) {
    makeBanner(1);
    EXPECT_EQ(asked, (std::vector<long>{0, 0, 0}));

    asked.clear();
    auto two = makeBanner(2);
    EXPECT_EQ(asked, (std::vector<long>{1, 0, 1}));
    swipe(*two, true);
    EXPECT_EQ(two->currentPageIndex(), 1);
}

TEST_F(CycleScrollViewTest, WithoutPagesNothingIsArrangedScrollsAreIgnoredAndTheTimerWaits) {
    auto banner = makeBanner(0, 2);
    EXPECT_TRUE(asked.empty());
    EXPECT_TRUE(banner->scrollView()->subviews().empty());

    // Scrolls before there are pages would turn to page -1.
    banner->scrollView()->setContentOffset({0, 0});
    banner->scrollView()->setContentOffset({2 * kWidth, 0});
    advance(10);
    EXPECT_TRUE(asked.empty());
    EXPECT_EQ(banner->currentPageIndex(), 0);

    makePages(3);
    banner->setTotalPagesCount([] { return 3L; });
    EXPECT_EQ(placed(*banner), (std::vector<int>{2, 0, 1}));
}

TEST_F(CycleScrollViewTest, TheTimerTurnsOnePageEveryIntervalFromThePageCount) {
    auto banner = makeBanner(5, 3);
    advance(2.9);
    EXPECT_EQ(banner->currentPageIndex(), 0);
    advance(0.1);
    EXPECT_EQ(banner->currentPageIndex(), 1);
    advance(3);
    EXPECT_EQ(banner->currentPageIndex(), 2);
    advance(9);
    EXPECT_EQ(banner->currentPageIndex(), 0);
    EXPECT_EQ(banner->scrollView()->contentOffset(), (platform::Point{kWidth, 0}));

    banner->stop();
    advance(30);
    EXPECT_EQ(banner->currentPageIndex(), 0);
}

TEST_F(CycleScrollViewTest, ADragPostponesTheNextTickToOneIntervalAfterIt) {
    auto banner = makeBanner(5, 3);
    advance(2);
    swipe(*banner, true);
    EXPECT_EQ(banner->currentPageIndex(), 1);

    // Without the drag the timer would have turned at 3.
    advance(2.9);
    EXPECT_EQ(banner->currentPageIndex(), 1);
    advance(0.1);
    EXPECT_EQ(banner->currentPageIndex(), 2);
}

TEST_F(CycleScrollViewTest, ATapReportsTheCurrentPageOnceHoweverOftenItWasArranged) {
    std::shared_ptr<platform::View> content;
    auto window = showWindow(content);
    auto banner = makeBanner(5);
    std::vector<long> taps;
    banner->TapActionBlock = [&taps](long index) { taps.push_back(index); };
    content->addSubview(banner);
    runPending();

    // Round the whole ring and back, so every view has been placed several times.
    for (int i = 0; i < 5; ++i) swipe(*banner, true);
    swipe(*banner, false);
    EXPECT_EQ(banner->currentPageIndex(), 4);
    for (const auto& page : pages) EXPECT_EQ(page->gestureRecognizers().size(), 1u);

    ASSERT_TRUE(tapMiddle(*window, *banner));
    EXPECT_EQ(taps, (std::vector<long>{4}));
}

TEST_F(CycleScrollViewTest, ABannerLetGoIsFreedAndItsTimerStops) {
    std::weak_ptr<CycleScrollView> weakBanner;
    std::weak_ptr<platform::Timer> weakTimer;
    {
        auto banner = makeBanner(5, 1);
        weakBanner = banner;
        weakTimer = banner->animationTimer();
        ASSERT_FALSE(weakTimer.expired());
    }
    EXPECT_TRUE(weakBanner.expired());
    auto timer = weakTimer.lock();
    EXPECT_TRUE(!timer || !timer->isValid());
    advance(5);
    EXPECT_EQ(asked.size(), 3u);
}

}  // namespace
