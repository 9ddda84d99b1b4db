#pragma once

#include <functional>
#include <memory>

namespace platform {
class ScrollView;
}

namespace platform::components {

class RefreshFooterView;
class RefreshHeaderView;

// Pull-down refresh and pull-up load-more on any scroll view (tables and collections
// included). The header and footer are subviews of the scroll view that observe it, so the
// screen keeps its own scroll delegate. Adding either makes the content bounce vertically,
// so short lists can be pulled too. Every operation on a scroll view without the control in
// question does nothing.

// Adds the header, or gives the existing one the new callback.
std::shared_ptr<RefreshHeaderView> addHeaderWithCallback(ScrollView& scrollView,
                                                         std::function<void()> callback);
std::shared_ptr<RefreshHeaderView> refreshHeader(const ScrollView& scrollView);
void removeHeader(ScrollView& scrollView);
// Shows the header refreshing and runs its callback; before the scroll view is in a window,
// once it joins one.
void headerBeginRefreshing(ScrollView& scrollView);
void headerEndRefreshing(ScrollView& scrollView);
bool isHeaderRefreshing(const ScrollView& scrollView);
void setHeaderHidden(ScrollView& scrollView, bool hidden);
bool isHeaderHidden(const ScrollView& scrollView);

// Adds the footer, or gives the existing one the new callback.
std::shared_ptr<RefreshFooterView> addFooterWithCallback(ScrollView& scrollView,
                                                         std::function<void()> callback);
std::shared_ptr<RefreshFooterView> refreshFooter(const ScrollView& scrollView);
void removeFooter(ScrollView& scrollView);
void footerBeginRefreshing(ScrollView& scrollView);
void footerEndRefreshing(ScrollView& scrollView);
bool isFooterRefreshing(const ScrollView& scrollView);
void setFooterHidden(ScrollView& scrollView, bool hidden);
bool isFooterHidden(const ScrollView& scrollView);

}  // namespace platform::components
