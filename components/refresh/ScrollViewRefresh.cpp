#include "components/refresh/ScrollViewRefresh.h"

#include "components/refresh/RefreshFooterView.h"
#include "components/refresh/RefreshHeaderView.h"
#include "platform/ui/ScrollView.h"

namespace platform::components {

namespace {

template <typename T>
std::shared_ptr<T> controlOf(const ScrollView& scrollView) {
    for (const auto& subview : scrollView.subviews()) {
        if (auto control = std::dynamic_pointer_cast<T>(subview)) {
            return control;
        }
    }
    return nullptr;
}

template <typename T>
std::shared_ptr<T> add(ScrollView& scrollView, std::function<void()> callback) {
    auto control = controlOf<T>(scrollView);
    if (!control) {
        control = View::make<T>();
        scrollView.addSubview(control);
    }
    control->refreshingCallback = std::move(callback);
    scrollView.setAlwaysBounceVertical(true);
    return control;
}

template <typename T>
void remove(ScrollView& scrollView) {
    if (auto control = controlOf<T>(scrollView)) {
        control->removeFromSuperview();
    }
}

template <typename T>
void setHidden(ScrollView& scrollView, bool hidden) {
    if (auto control = controlOf<T>(scrollView)) {
        control->setHidden(hidden);
    }
}

template <typename T>
bool isHidden(const ScrollView& scrollView) {
    auto control = controlOf<T>(scrollView);
    return control && control->isHidden();
}

template <typename T>
void begin(ScrollView& scrollView) {
    if (auto control = controlOf<T>(scrollView)) {
        control->beginRefreshing();
    }
}

template <typename T>
void end(ScrollView& scrollView) {
    if (auto control = controlOf<T>(scrollView)) {
        control->endRefreshing();
    }
}

template <typename T>
bool isRefreshing(const ScrollView& scrollView) {
    auto control = controlOf<T>(scrollView);
    return control && control->isRefreshing();
}

}  // namespace

std::shared_ptr<RefreshHeaderView> addHeaderWithCallback(ScrollView& scrollView,
                                                         std::function<void()> callback) {
    return add<RefreshHeaderView>(scrollView, std::move(callback));
}

std::shared_ptr<RefreshHeaderView> refreshHeader(const ScrollView& scrollView) {
    return controlOf<RefreshHeaderView>(scrollView);
}

void removeHeader(ScrollView& scrollView) {
    remove<RefreshHeaderView>(scrollView);
}

void headerBeginRefreshing(ScrollView& scrollView) {
    begin<RefreshHeaderView>(scrollView);
}

void headerEndRefreshing(ScrollView& scrollView) {
    end<RefreshHeaderView>(scrollView);
}

bool isHeaderRefreshing(const ScrollView& scrollView) {
    return isRefreshing<RefreshHeaderView>(scrollView);
}

void setHeaderHidden(ScrollView& scrollView, bool hidden) {
    setHidden<RefreshHeaderView>(scrollView, hidden);
}

bool isHeaderHidden(const ScrollView& scrollView) {
    return isHidden<RefreshHeaderView>(scrollView);
}

std::shared_ptr<RefreshFooterView> addFooterWithCallback(ScrollView& scrollView,
                                                         std::function<void()> callback) {
    return add<RefreshFooterView>(scrollView, std::move(callback));
}

std::shared_ptr<RefreshFooterView> refreshFooter(const ScrollView& scrollView) {
    return controlOf<RefreshFooterView>(scrollView);
}

void removeFooter(ScrollView& scrollView) {
    remove<RefreshFooterView>(scrollView);
}

void footerBeginRefreshing(ScrollView& scrollView) {
    begin<RefreshFooterView>(scrollView);
}

void footerEndRefreshing(ScrollView& scrollView) {
    end<RefreshFooterView>(scrollView);
}

bool isFooterRefreshing(const ScrollView& scrollView) {
    return isRefreshing<RefreshFooterView>(scrollView);
}

void setFooterHidden(ScrollView& scrollView, bool hidden) {
    setHidden<RefreshFooterView>(scrollView, hidden);
}

bool isFooterHidden(const ScrollView& scrollView) {
    return isHidden<RefreshFooterView>(scrollView);
}

}  // namespace platform::components
