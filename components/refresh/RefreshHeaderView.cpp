#include "components/refresh/RefreshHeaderView.h"

#include "platform/ui/ScrollView.h"

namespace platform::components {

RefreshHeaderView::RefreshHeaderView() : RefreshView(kHeight) {}

void RefreshHeaderView::place(ScrollView& scrollView) {
    Rect frame{{0, -kHeight}, {scrollView.bounds().size.width, kHeight}};
    if (!(this->frame() == frame)) {
        setFrame(frame);
    }
}

double RefreshHeaderView::pulledDistance(const ScrollView& scrollView) const {
    // Measured from where the content rests without this strip's own inset.
    double top = scrollView.contentInset().top - addedInset();
    return -scrollView.contentOffset().y - top;
}

double RefreshHeaderView::addInset(ScrollView& scrollView) {
    EdgeInsets inset = scrollView.contentInset();
    inset.top += kHeight;
    scrollView.setContentInset(inset);
    return kHeight;
}

void RefreshHeaderView::removeInset(ScrollView& scrollView, double amount) {
    EdgeInsets inset = scrollView.contentInset();
    inset.top -= amount;
    scrollView.setContentInset(inset);
}

void RefreshHeaderView::reveal(ScrollView& scrollView) {
    scrollView.setContentOffset(
        {scrollView.contentOffset().x, scrollView.minimumContentOffset().y});
}

void RefreshHeaderView::settle(ScrollView& scrollView) {
    // Only content still pulled down above the top goes back; a list the user has scrolled
    // into stays where it is.
    double top = scrollView.minimumContentOffset().y;
    if (scrollView.contentOffset().y < top) {
        scrollView.setContentOffset({scrollView.contentOffset().x, top});
    }
}

std::string RefreshHeaderView::textFor(RefreshState state) const {
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
