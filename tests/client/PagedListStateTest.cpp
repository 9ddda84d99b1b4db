#include <gtest/gtest.h>

#include "client/PagedListState.h"

namespace {

TEST(PagedListStateTest, AFailedReloadSupersedesNothing) {
    PagedListState list;
    ASSERT_TRUE(list.accept(list.beginReload()));  // page 1 shown
    auto more = list.beginLoadMore();              // page 2 in flight
    EXPECT_EQ(more.page, 2);
    auto reload = list.beginReload();  // pulled down meanwhile
    EXPECT_TRUE(list.fail(reload));    // ... and the reload failed
    // Page 2 still arrives and is shown; the next pull-up asks for page 3.
    EXPECT_TRUE(list.accept(more));
    EXPECT_EQ(list.beginLoadMore().page, 3);
}

TEST(PagedListStateTest, AFailedLoadMoreAfterAFailedReloadGivesItsPageBack) {
    PagedListState list;
    ASSERT_TRUE(list.accept(list.beginReload()));
    auto more = list.beginLoadMore();
    EXPECT_TRUE(list.fail(list.beginReload()));
    EXPECT_TRUE(list.fail(more));
    EXPECT_EQ(list.beginLoadMore().page, 2);
}

TEST(PagedListStateTest, RepliesOlderThanAppliedOrStartedReloadsAreDropped) {
    PagedListState list;
    auto first = list.beginReload();
    auto second = list.beginReload();
    EXPECT_FALSE(list.accept(first));  // a later reload has started
    auto more = list.beginLoadMore();
    EXPECT_TRUE(list.accept(second));  // the list is replaced...
    EXPECT_FALSE(list.accept(more));   // ...so rows counted on the old list are dropped
    EXPECT_FALSE(list.fail(more));
    EXPECT_EQ(list.nextPage(), 1);
}

TEST(PagedListStateTest, AFailedOlderLoadMoreGivesItsPageBackAndDropsTheNewerOnes) {
    PagedListState list;
    ASSERT_TRUE(list.accept(list.beginReload()));
    auto second = list.beginLoadMore();
    auto third = list.beginLoadMore();
    ASSERT_EQ(third.page, 3);
    EXPECT_TRUE(list.fail(second));  // reported: the list ends its refresh controls
    // Page 3 was counted after a page 2 the list will not have: it must not leave a gap, and
    // the next pull-up asks for page 2, not 3 or 4.
    EXPECT_FALSE(list.isCurrent(third));
    EXPECT_FALSE(list.accept(third));
    EXPECT_FALSE(list.fail(third));
    EXPECT_EQ(list.nextPage(), 1);
    auto retry = list.beginLoadMore();
    EXPECT_EQ(retry.page, 2);
    EXPECT_TRUE(list.accept(retry));
    EXPECT_EQ(list.beginLoadMore().page, 3);
}

TEST(PagedListStateTest, AFailedNewerLoadMoreLeavesTheOlderOneApplying) {
    PagedListState list;
    ASSERT_TRUE(list.accept(list.beginReload()));
    auto second = list.beginLoadMore();
    auto third = list.beginLoadMore();
    EXPECT_TRUE(list.fail(third));
    EXPECT_EQ(list.nextPage(), 2);
    EXPECT_TRUE(list.accept(second));
    EXPECT_FALSE(list.accept(second)) << "a reply applies once";
    EXPECT_EQ(list.beginLoadMore().page, 3);
}

}  // namespace
