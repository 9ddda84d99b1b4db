#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/ImageView.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/ScrollViewDelegate.h"
#include "tests/ui/UiTestSupport.h"

namespace uitest {
namespace {

using namespace platform;

// Writes every callback (with the offset at that moment) into a log.
class RecordingScrollDelegate : public ScrollViewDelegate {
public:
    void scrollViewDidScroll(ScrollView& view) override {
        events.push_back("scroll");
        offsets.push_back(view.contentOffset());
    }
    void scrollViewWillBeginDragging(ScrollView&) override { events.push_back("beginDrag"); }
    void scrollViewDidEndDragging(ScrollView& view, bool decelerate) override {
        events.push_back(decelerate ? "endDrag+decelerate" : "endDrag");
        offsetAtEndOfDrag = view.contentOffset();
        draggingAtEndOfDrag = view.isDragging();
    }
    void scrollViewWillBeginDecelerating(ScrollView&) override { events.push_back("beginDecel"); }
    void scrollViewDidEndDecelerating(ScrollView& view) override {
        events.push_back("endDecel");
        decelerationStops.push_back(view.contentOffset());
    }
    void scrollViewDidEndScrollingAnimation(ScrollView&) override {
        events.push_back("endAnimation");
    }

    Log events;
    std::vector<Point> offsets;
    std::vector<Point> decelerationStops;
    Point offsetAtEndOfDrag;
    bool draggingAtEndOfDrag = true;
};

const Log kDragThenDecelerate = {"beginDrag",          "scroll",     "scroll", "scroll",  "scroll",
                                 "endDrag+decelerate", "beginDecel", "scroll", "endDecel"};

class ScrollViewTest : public UiTest {
protected:
    void SetUp() override { delegate = std::make_shared<RecordingScrollDelegate>(); }

    std::shared_ptr<ScrollView> makeScrollView(Size size, Size content) {
        auto view = View::make<ScrollView>(Rect{{0, 0}, size});
        view->setContentSize(content);
        view->setDelegate(delegate);
        return view;
    }

    std::shared_ptr<RecordingScrollDelegate> delegate;
};

// The widths of the phones the client runs on.
class ScrollViewPagingTest : public ScrollViewTest, public ::testing::WithParamInterface<double> {};

TEST_P(ScrollViewPagingTest, SwipeLandsOnTheNextPageInTheSwipesDirection) {
    double width = GetParam();
    auto pager = makeScrollView({width, 190}, {5 * width, 190});
    pager->setPagingEnabled(true);

    // A short swipe to the left is enough to turn to the next page.
    ASSERT_TRUE(pager->dragBy({-width * 0.2, 0}));
    EXPECT_EQ(pager->contentOffset(), (Point{width, 0}));
    EXPECT_EQ(delegate->events, kDragThenDecelerate);
    EXPECT_EQ(delegate->decelerationStops.back(), (Point{width, 0}));

    // A swipe of one and a half pages to the left from page 1 ends on page 3.
    ASSERT_TRUE(pager->dragBy({-width * 1.5, 0}));
    EXPECT_EQ(pager->currentPage(), 3);

    // A short swipe to the right goes back one page, never forward.
    ASSERT_TRUE(pager->dragBy({width * 0.1, 0}));
    EXPECT_EQ(pager->contentOffset(), (Point{2 * width, 0}));
}

TEST_P(ScrollViewPagingTest, SwipingPastTheLastPageStaysOnIt) {
    double width = GetParam();
    auto pager = makeScrollView({width, 190}, {2 * width, 190});
    pager->setPagingEnabled(true);
    pager->setBounces(false);

    ASSERT_TRUE(pager->scrollToPage(1));
    EXPECT_EQ(pager->contentOffset(), (Point{width, 0}));
    pager->dragBy({-width, 0});
    EXPECT_EQ(pager->contentOffset(), (Point{width, 0}));
    for (const Point& offset : delegate->offsets) {
        EXPECT_LE(offset.x, width) << "a pager without bounce never shows past its last page";
    }
}

INSTANTIATE_TEST_SUITE_P(ScreenWidths, ScrollViewPagingTest,
                         ::testing::Values(320.0, 375.0, 414.0));

TEST_F(ScrollViewTest, OffsetSetInCodeReportsDidScrollOnlyAndAnimatedEndsAfterTheAnimation) {
    auto view = makeScrollView({320, 400}, {320, 2000});
    view->setContentOffset({0, 150});
    EXPECT_EQ(delegate->events, (Log{"scroll"}));
    EXPECT_EQ(view->bounds().origin, (Point{0, 150}));
    view->setContentOffset({0, 150});
    EXPECT_EQ(delegate->events, (Log{"scroll"})) << "the same offset again is no scroll at all";

    view->setContentOffset({0, 300}, true);
    EXPECT_EQ(view->contentOffset(), (Point{0, 300}));
    EXPECT_EQ(delegate->events, (Log{"scroll", "scroll"}));
    advance(ScrollView::kScrollAnimationDuration);
    EXPECT_EQ(delegate->events, (Log{"scroll", "scroll", "endAnimation"}));
}

TEST_F(ScrollViewTest, PullBeyondTopShowsTheOverscrollThenSpringsBack) {
    auto view = makeScrollView({320, 400}, {320, 1000});
    view->setContentOffset({0, 200});
    delegate->events.clear();
    delegate->offsets.clear();

    ASSERT_TRUE(view->pullBeyondTop(60));
    EXPECT_EQ(delegate->events, kDragThenDecelerate);
    EXPECT_EQ(delegate->offsetAtEndOfDrag, (Point{0, -60}));
    EXPECT_FALSE(delegate->draggingAtEndOfDrag);
    // The last step of the drag reports the overscroll, the spring-back the top.
    ASSERT_GE(delegate->offsets.size(), 2u);
    EXPECT_EQ(delegate->offsets[delegate->offsets.size() - 2], (Point{0, -60}));
    EXPECT_EQ(view->contentOffset(), (Point{0, 0}));
    EXPECT_FALSE(view->isDragging());
    EXPECT_FALSE(view->isDecelerating());

    // Beyond the bottom, the same: the overscroll is reported, then the content settles.
    ASSERT_TRUE(view->pullBeyondBottom(50));
    EXPECT_EQ(delegate->offsetAtEndOfDrag, (Point{0, 650}));
    EXPECT_EQ(view->contentOffset(), (Point{0, 600}));
}

// Widens the top inset when released far enough, as a pull-to-refresh header does.
class RefreshingDelegate : public RecordingScrollDelegate {
public:
    void scrollViewDidEndDragging(ScrollView& view, bool decelerate) override {
        RecordingScrollDelegate::scrollViewDidEndDragging(view, decelerate);
        if (view.contentOffset().y <= -54) {
            view.setContentInset({54, 0, 0, 0});
        }
    }
};

TEST_F(ScrollViewTest, InsetsWidenedOnReleaseHoldTheContentWhereTheyEnd) {
    auto refreshing = std::make_shared<RefreshingDelegate>();
    auto view = makeScrollView({320, 400}, {320, 1000});
    view->setDelegate(refreshing);

    view->pullBeyondTop(30);
    EXPECT_EQ(view->contentOffset(), (Point{0, 0})) << "a short pull does not refresh";

    view->pullBeyondTop(80);
    EXPECT_EQ(refreshing->offsetAtEndOfDrag, (Point{0, -80}));
    EXPECT_EQ(view->contentOffset(), (Point{0, -54}));
}

TEST_F(ScrollViewTest, DragsRestWithinTheContentAndWithoutBounceNeverPassItsEdges) {
    auto view = makeScrollView({320, 400}, {320, 1000});
    view->dragBy({0, -130});
    EXPECT_EQ(view->contentOffset(), (Point{0, 130}));
    view->dragBy({0, -5000});
    EXPECT_EQ(view->contentOffset(), (Point{0, 600}));

    view->setBounces(false);
    delegate->offsets.clear();
    view->pullBeyondTop(60);
    view->pullBeyondBottom(60);
    for (const Point& offset : delegate->offsets) {
        EXPECT_GE(offset.y, 0);
        EXPECT_LE(offset.y, 600);
    }

    // Shrinking content pulls the offset back.
    view->setContentSize({320, 600});
    EXPECT_EQ(view->contentOffset(), (Point{0, 200}));
}

TEST_F(ScrollViewTest, ContentThatFitsDoesNotScroll) {
    auto view = makeScrollView({320, 400}, {320, 300});
    EXPECT_FALSE(view->dragBy({0, -100}));
    EXPECT_FALSE(view->pullBeyondTop(60));
    EXPECT_TRUE(delegate->events.empty());

    view->setAlwaysBounceVertical(true);
    EXPECT_TRUE(view->pullBeyondTop(60));
    EXPECT_EQ(view->contentOffset(), (Point{0, 0}));

    delegate->events.clear();
    view->setContentSize({320, 1000});
    view->setScrollEnabled(false);
    EXPECT_FALSE(view->dragBy({0, -100}));
    EXPECT_TRUE(delegate->events.empty());
}

// Keeps a three-page strip centred, as an endless banner does: reaching either end moves
// the content back to the middle page.
class LoopingDelegate : public RecordingScrollDelegate {
public:
    void scrollViewDidScroll(ScrollView& view) override {
        RecordingScrollDelegate::scrollViewDidScroll(view);
        double width = view.bounds().size.width;
        if (view.contentOffset().x >= 2 * width || view.contentOffset().x <= 0) {
            ++wraps;
            view.setContentOffset({width, 0});
        }
    }
    int wraps = 0;
};

TEST_F(ScrollViewTest, DelegateMovingTheOffsetWhileScrollingHasTheLastWord) {
    auto looping = std::make_shared<LoopingDelegate>();
    auto banner = makeScrollView({375, 150}, {3 * 375, 150});
    banner->setPagingEnabled(true);
    banner->setContentOffset({375, 0});
    banner->setDelegate(looping);

    banner->dragBy({-100, 0});
    EXPECT_EQ(looping->wraps, 1);
    EXPECT_EQ(banner->contentOffset(), (Point{375, 0}));
    EXPECT_EQ(looping->decelerationStops, (std::vector<Point>{{375, 0}}));

    banner->dragBy({100, 0});
    EXPECT_EQ(looping->wraps, 2);
    EXPECT_EQ(banner->contentOffset(), (Point{375, 0}));
}

TEST_F(ScrollViewTest, SidewaysSwipeOverAVerticalListTurnsTheOuterPage) {
    auto window = View::make<Window>(Rect{{0, 0}, {375, 667}});
    window->makeKeyAndVisible();
    auto pager = makeScrollView({375, 667}, {2 * 375, 667});
    pager->setPagingEnabled(true);
    window->addSubview(pager);
    auto list = View::make<ScrollView>(Rect{{0, 0}, {375, 667}});
    list->setContentSize({375, 3000});
    pager->addSubview(list);

    window->drag({100, 500}, {100, 300}, 5);
    EXPECT_EQ(list->contentOffset(), (Point{0, 200}));
    EXPECT_EQ(pager->contentOffset(), (Point{0, 0}));

    window->drag({300, 300}, {200, 300}, 5);
    EXPECT_EQ(pager->contentOffset(), (Point{375, 0}));
    EXPECT_EQ(delegate->events.front(), "beginDrag");
    EXPECT_EQ(delegate->events.back(), "endDecel");
    EXPECT_EQ(list->contentOffset(), (Point{0, 200}));
}

// Zooms an image view, as a photo page does.
class ZoomingDelegate : public RecordingScrollDelegate {
public:
    std::shared_ptr<View> viewForZoomingInScrollView(ScrollView&) override { return image; }
    void scrollViewDidZoom(ScrollView& view) override {
        events.push_back("zoom " + std::to_string(view.zoomScale()));
    }
    void scrollViewDidEndZooming(ScrollView&, View* view, double scale) override {
        events.push_back("endZoom " + std::to_string(scale));
        EXPECT_EQ(view, image.get());
    }
    std::shared_ptr<ImageView> image;
};

TEST_F(ScrollViewTest, PinchScalesTheZoomingViewWithinItsLimits) {
    auto zooming = std::make_shared<ZoomingDelegate>();
    auto page = View::make<ScrollView>(Rect{{0, 0}, {375, 600}});
    zooming->image = View::make<ImageView>(Rect{{0, 0}, {375, 600}});
    page->addSubview(zooming->image);
    page->setDelegate(zooming);
    page->setMinimumZoomScale(0.5);
    page->setMaximumZoomScale(3.0);

    ASSERT_TRUE(page->pinchToScale(2));
    EXPECT_DOUBLE_EQ(page->zoomScale(), 2);
    EXPECT_EQ(page->contentSize(), (Size{750, 1200}));
    EXPECT_EQ(zooming->image->frame(), (Rect{{0, 0}, {750, 1200}}));
    ASSERT_GE(zooming->events.size(), 2u);
    EXPECT_EQ(zooming->events[zooming->events.size() - 2], "zoom 2.000000");
    EXPECT_EQ(zooming->events.back(), "endZoom 2.000000");

    page->pinchToScale(10);
    EXPECT_DOUBLE_EQ(page->zoomScale(), 3);
    page->setZoomScale(0.1);
    EXPECT_DOUBLE_EQ(page->zoomScale(), 0.5);

    auto nothingToZoom = makeScrollView({320, 400}, {320, 400});
    nothingToZoom->setMaximumZoomScale(3);
    EXPECT_FALSE(nothingToZoom->pinchToScale(2));
    EXPECT_DOUBLE_EQ(nothingToZoom->zoomScale(), 1);
}

// Lets the scroll view go from inside a callback, as a screen that closes on scrolling may.
class DroppingDelegate : public ScrollViewDelegate {
public:
    void scrollViewDidScroll(ScrollView&) override { owned.reset(); }
    std::shared_ptr<ScrollView> owned;
};

TEST_F(ScrollViewTest, ViewReleasedByItsDelegateMidDragDoesNotCrash) {
    auto dropping = std::make_shared<DroppingDelegate>();
    dropping->owned = View::make<ScrollView>(Rect{{0, 0}, {320, 400}});
    dropping->owned->setContentSize({320, 2000});
    dropping->owned->setDelegate(dropping);
    std::weak_ptr<ScrollView> weak = dropping->owned;

    weak.lock()->dragBy({0, -100});
    EXPECT_TRUE(weak.expired());
}

}  // namespace
}  // namespace uitest
