#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "components/refresh/RefreshFooterView.h"
#include "components/refresh/RefreshHeaderView.h"
#include "components/refresh/ScrollViewRefresh.h"
#include "platform/foundation/RunLoop.h"
#include "platform/testing/UiTestScope.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/ScrollViewDelegate.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/Window.h"

using namespace platform;
using namespace platform::components;

namespace {

// A screen's own scroll delegate, writing down what it hears.
class RecordingDelegate : public ScrollViewDelegate {
public:
    void scrollViewDidScroll(ScrollView&) override { ++scrolls; }
    void scrollViewWillBeginDragging(ScrollView&) override { calls.push_back("willBeginDragging"); }
    void scrollViewDidEndDragging(ScrollView&, bool) override { calls.push_back("didEndDragging"); }
    void scrollViewDidEndDecelerating(ScrollView&) override {
        calls.push_back("didEndDecelerating");
    }

    int scrolls{0};
    std::vector<std::string> calls;
};

class RowsSource : public TableViewDataSource {
public:
    int numberOfRowsInSection(TableView&, int) override { return rows; }
    std::shared_ptr<TableViewCell> cellForRowAtIndexPath(TableView&, const IndexPath&) override {
        return std::make_shared<TableViewCell>(TableViewCellStyle::Default, "cell");
    }

    int rows{3};
};

class RefreshTest : public ::testing::Test {
protected:
    void SetUp() override { scrollView->setContentSize({375, 1000}); }

    void showInWindow() { window->addSubview(scrollView); }
    std::shared_ptr<RefreshHeaderView> addCountingHeader() {
        return addHeaderWithCallback(*scrollView, [this] { ++headerCalls; });
    }
    std::shared_ptr<RefreshFooterView> addCountingFooter() {
        return addFooterWithCallback(*scrollView, [this] { ++footerCalls; });
    }
    double offsetY() const { return scrollView->contentOffset().y; }
    static void runLoop() { RunLoop::main().runPending(); }

    platform::testing::UiTestScope scope;
    std::shared_ptr<Window> window = View::make<Window>();
    std::shared_ptr<ScrollView> scrollView = View::make<ScrollView>(Rect{{0, 0}, {375, 500}});
    int headerCalls{0};
    int footerCalls{0};
};

// --- Header -------------------------------------------------------------------------------

TEST_F(RefreshTest, HeaderBegunBeforeTheWindowRefreshesOnceWhenTheScrollViewJoinsOne) {
    auto header = addCountingHeader();
    headerBeginRefreshing(*scrollView);
    runLoop();
    EXPECT_EQ(headerCalls, 0);
    EXPECT_TRUE(isHeaderRefreshing(*scrollView));
    EXPECT_EQ(header->state(), RefreshState::WillRefresh);

    showInWindow();
    runLoop();
    EXPECT_EQ(headerCalls, 1);
    EXPECT_EQ(header->state(), RefreshState::Refreshing);
    EXPECT_EQ(offsetY(), -RefreshHeaderView::kHeight);

    // Leaving and joining a window again starts nothing new.
    scrollView->removeFromSuperview();
    showInWindow();
    runLoop();
    EXPECT_EQ(headerCalls, 1);
}

TEST_F(RefreshTest, PullingPastTheThresholdRefreshesOnceAndEndingReturnsToTheTop) {
    showInWindow();
    auto header = addCountingHeader();
    ASSERT_TRUE(scrollView->pullBeyondTop(80));

    EXPECT_TRUE(isHeaderRefreshing(*scrollView));
    // The content rests with the header in view.
    EXPECT_EQ(offsetY(), -RefreshHeaderView::kHeight);
    EXPECT_EQ(scrollView->contentInset().top, RefreshHeaderView::kHeight);
    runLoop();
    EXPECT_EQ(headerCalls, 1);

    headerEndRefreshing(*scrollView);
    EXPECT_FALSE(isHeaderRefreshing(*scrollView));
    EXPECT_EQ(header->state(), RefreshState::Idle);
    EXPECT_EQ(header->stateText(), "下拉可以刷新");
    EXPECT_EQ(scrollView->contentInset().top, 0);
    EXPECT_EQ(offsetY(), 0);
    runLoop();
    EXPECT_EQ(headerCalls, 1);
}

TEST_F(RefreshTest, AShortPullDownOrUpDoesNothing) {
    showInWindow();
    addCountingHeader();
    addCountingFooter();
    ASSERT_TRUE(scrollView->pullBeyondTop(40));
    runLoop();
    EXPECT_FALSE(isHeaderRefreshing(*scrollView));
    EXPECT_EQ(offsetY(), 0);
    ASSERT_TRUE(scrollView->pullBeyondBottom(40));
    runLoop();
    EXPECT_FALSE(isFooterRefreshing(*scrollView));
    EXPECT_EQ(offsetY(), 500);
    EXPECT_EQ(headerCalls, 0);
    EXPECT_EQ(footerCalls, 0);
}

TEST_F(RefreshTest, TheHeaderAsksToBeReleasedOnlyWhilePulledPastTheThreshold) {
    showInWindow();
    auto header = addCountingHeader();
    ASSERT_TRUE(scrollView->beginDragging());
    scrollView->dragStep({0, 80});
    EXPECT_EQ(header->state(), RefreshState::Pulling);
    EXPECT_EQ(header->describe(), "refresh header: 松开立即刷新");

    // Back under the threshold before letting go: no refresh.
    scrollView->dragStep({0, -40});
    EXPECT_EQ(header->describe(), "refresh header: 下拉可以刷新");
    scrollView->endDragging();
    runLoop();
    EXPECT_EQ(headerCalls, 0);
}

TEST_F(RefreshTest, ASecondPullOrBeginWhileRefreshingDoesNotCallAgainAndEndingKeepsTheUsersPlace) {
    showInWindow();
    addCountingHeader();
    ASSERT_TRUE(scrollView->pullBeyondTop(80));
    runLoop();
    ASSERT_TRUE(scrollView->pullBeyondTop(100));
    headerBeginRefreshing(*scrollView);
    runLoop();
    EXPECT_EQ(headerCalls, 1);
    EXPECT_EQ(offsetY(), -RefreshHeaderView::kHeight);

    // Ending after the user scrolled into the list keeps their place.
    scrollView->setContentOffset({0, 300});
    headerEndRefreshing(*scrollView);
    EXPECT_EQ(offsetY(), 300);
    EXPECT_EQ(scrollView->contentInset().top, 0);
}

TEST_F(RefreshTest, EndingWhileNotRefreshingLeavesTheContentAloneAndCallsNothing) {
    showInWindow();
    addCountingHeader();
    addCountingFooter();
    scrollView->setContentOffset({0, 200});
    headerEndRefreshing(*scrollView);
    footerEndRefreshing(*scrollView);
    EXPECT_EQ(offsetY(), 200);
    EXPECT_EQ(scrollView->contentInset().top, 0);
    EXPECT_EQ(scrollView->contentInset().bottom, 0);

    // A refresh ended before its turn never calls back.
    scrollView->setContentOffset({0, 0});
    headerBeginRefreshing(*scrollView);
    headerEndRefreshing(*scrollView);
    runLoop();
    EXPECT_EQ(headerCalls, 0);
    EXPECT_EQ(offsetY(), 0);
}

// --- Footer -------------------------------------------------------------------------------

TEST_F(RefreshTest,
       PullingBeyondTheBottomLoadsMoreWithTheFooterInViewAndTheFooterFollowsTheContent) {
    showInWindow();
    auto footer = addCountingFooter();
    EXPECT_EQ(footer->frame().origin.y, 1000);
    EXPECT_EQ(footer->stateText(), "上拉可以加载更多数据");

    ASSERT_TRUE(scrollView->pullBeyondBottom(80));
    EXPECT_TRUE(isFooterRefreshing(*scrollView));
    EXPECT_EQ(footer->describe(), "refresh footer: 正在加载...");
    EXPECT_EQ(offsetY(), 500 + RefreshFooterView::kHeight);
    runLoop();
    EXPECT_EQ(footerCalls, 1);

    footerEndRefreshing(*scrollView);
    EXPECT_FALSE(isFooterRefreshing(*scrollView));
    EXPECT_EQ(scrollView->contentInset().bottom, 0);
    EXPECT_EQ(offsetY(), 500);

    // The next page arrives: the list grows under the footer, which follows the content.
    ASSERT_TRUE(scrollView->pullBeyondBottom(80));
    runLoop();
    scrollView->setContentSize({375, 1500});
    footerEndRefreshing(*scrollView);
    EXPECT_EQ(footerCalls, 2);
    EXPECT_EQ(footer->frame().origin.y, 1500);
    EXPECT_EQ(offsetY(), 500 + RefreshFooterView::kHeight);
}

TEST_F(RefreshTest, TheFooterLoadsMoreAlsoUnderContentShorterThanTheView) {
    scrollView->setContentSize({375, 200});
    showInWindow();
    auto footer = addCountingFooter();
    // It waits at the bottom of the view, not under the short content.
    EXPECT_EQ(footer->frame().origin.y, 500);

    ASSERT_TRUE(scrollView->pullBeyondBottom(80));
    runLoop();
    EXPECT_EQ(footerCalls, 1);
    EXPECT_EQ(offsetY(), RefreshFooterView::kHeight);

    footerEndRefreshing(*scrollView);
    EXPECT_EQ(offsetY(), 0);
}

// --- Hiding and removing ------------------------------------------------------------------

TEST_F(RefreshTest, AHiddenFooterIgnoresPulls) {
    showInWindow();
    addCountingFooter();
    setFooterHidden(*scrollView, true);
    EXPECT_TRUE(isFooterHidden(*scrollView));
    ASSERT_TRUE(scrollView->pullBeyondBottom(80));
    runLoop();
    EXPECT_EQ(footerCalls, 0);

    setFooterHidden(*scrollView, false);
    ASSERT_TRUE(scrollView->pullBeyondBottom(80));
    runLoop();
    EXPECT_EQ(footerCalls, 1);
}

TEST_F(RefreshTest, HidingOrRemovingARefreshingControlGivesTheInsetBack) {
    showInWindow();
    addCountingHeader();
    addCountingFooter();
    ASSERT_TRUE(scrollView->pullBeyondTop(80));
    setHeaderHidden(*scrollView, true);
    EXPECT_FALSE(isHeaderRefreshing(*scrollView));
    EXPECT_EQ(scrollView->contentInset().top, 0);

    ASSERT_TRUE(scrollView->pullBeyondBottom(80));
    removeFooter(*scrollView);
    EXPECT_FALSE(refreshFooter(*scrollView));
    EXPECT_EQ(scrollView->contentInset().bottom, 0);
    runLoop();
    EXPECT_EQ(headerCalls, 0);
    EXPECT_EQ(footerCalls, 0);
    // Operations on a removed control do nothing.
    footerBeginRefreshing(*scrollView);
    EXPECT_FALSE(isFooterRefreshing(*scrollView));
}

// --- Beside the screen ------------------------------------------------------------------

TEST_F(RefreshTest, TheScreensOwnScrollDelegateStillHearsEveryPull) {
    auto delegate = std::make_shared<RecordingDelegate>();
    scrollView->setDelegate(delegate);
    showInWindow();
    addCountingHeader();
    ASSERT_TRUE(scrollView->pullBeyondTop(80));
    runLoop();
    EXPECT_EQ(headerCalls, 1);
    EXPECT_GT(delegate->scrolls, 0);
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"willBeginDragging", "didEndDragging",
                                                         "didEndDecelerating"}));
    EXPECT_EQ(scrollView->delegate(), delegate);
}

TEST_F(RefreshTest, ATableWithFewRowsRefreshesAndLoadsMore) {
    auto table = View::make<TableView>(Rect{{0, 0}, {375, 500}});
    auto source = std::make_shared<RowsSource>();
    table->setDataSource(source);
    int reloads = 0;
    int loads = 0;
    addHeaderWithCallback(*table, [&reloads] { ++reloads; });
    addFooterWithCallback(*table, [&loads] { ++loads; });
    headerBeginRefreshing(*table);
    window->addSubview(table);
    table->layoutIfNeeded();
    runLoop();
    EXPECT_EQ(reloads, 1);
    headerEndRefreshing(*table);
    EXPECT_EQ(table->contentOffset().y, 0);

    ASSERT_TRUE(table->pullBeyondBottom(80));
    runLoop();
    EXPECT_EQ(loads, 1);
}

}  // namespace
