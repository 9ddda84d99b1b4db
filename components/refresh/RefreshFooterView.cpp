#include "components/refresh/RefreshFooterView.h"

#include <algorithm>

#include "platform/ui/ScrollView.h"

namespace platform::components {

RefreshFooterView::RefreshFooterView() : RefreshView(kHeight) {}

double RefreshFooterView::baseBottomInset(const ScrollView& scrollView) const {
    return scrollView.contentInset().bottom - addedInset();
}

double RefreshFooterView::bottomEdgeOffset(const ScrollView& scrollView) const {
    double contentBottom = scrollView.contentSize().height + baseBottomInset(scrollView) -
                           scrollView.bounds().size.height;
    return std::max(contentBottom, -scrollView.contentInset().top);
}

void RefreshFooterView::place(ScrollView& scrollView) {
    Size size = scrollView.bounds().size;
    double shown = size.height - scrollView.contentInset().top - baseBottomInset(scrollView);
    Rect frame{{0, std::max(scrollView.contentSize().height, shown)}, {size.width, kHeight}};
    if (!(this->frame() == frame)) {
        setFrame(frame);
    }
}

double RefreshFooterView::pulledDistance(const ScrollView& scrollView) const {
    return scrollView.contentOffset().y - bottomEdgeOffset(scrollView);
}

double RefreshFooterView::addInset(ScrollView& scrollView) {
    // Enough for the content to rest with the whole strip in view, also when the content is
    // shorter than the view.
    EdgeInsets inset = scrollView.contentInset();
    double wanted = bottomEdgeOffset(scrollView) + kHeight + scrollView.bounds().size.height -
                    scrollView.contentSize().height;
    double added = std::max(kHeight, wanted - inset.bottom);
    inset.bottom += added;
    scrollView.setContentInset(inset);
    return added;
}

void RefreshFooterView::removeInset(ScrollView& scrollView, double amount) {
    EdgeInsets inset = scrollView.contentInset();
    inset.bottom -= amount;
    scrollView.setContentInset(inset);
}

void RefreshFooterView::reveal(ScrollView& scrollView) {
    scrollView.setContentOffset(
        {scrollView.contentOffset().x, scrollView.maximumContentOffset().y});
}

void RefreshFooterView::settle(ScrollView& scrollView) {
    double bottom = scrollView.maximumContentOffset().y;
    if (scrollView.contentOffset().y > bottom) {
        scrollView.setContentOffset({scrollView.contentOffset().x, bottom});
    }
}

std::string RefreshFooterView::textFor(RefreshState state) const {
    switch (state) {
        case RefreshState::Idle:
            return kIdleText;
        case RefreshState::Pulling:
            return kPullingText;
        case RefreshState::WillRefresh:
        case RefreshState::Refreshing:
            return kRefreshingText;
    }
    return kIdleText;
}

}  // namespace platform::components
