#pragma once

#include <string>

#include "components/refresh/RefreshView.h"

namespace platform::components {

// The pull-up footer: a strip under the content, or at the bottom of the view when the
// content is shorter than the view. Dragging the content up more than the strip's height
// beyond its bottom and letting go loads more; while loading, the bottom inset grows so the
// strip stays in view.
class RefreshFooterView : public RefreshView {
public:
    static constexpr double kHeight = 64;

    static constexpr const char* kIdleText = "上拉可以加载更多数据";
    static constexpr const char* kPullingText = "松开立即加载更多数据";
    static constexpr const char* kRefreshingText = "正在加载...";

    RefreshFooterView();

protected:
    void place(ScrollView& scrollView) override;
    double pulledDistance(const ScrollView& scrollView) const override;
    double addInset(ScrollView& scrollView) override;
    void removeInset(ScrollView& scrollView, double amount) override;
    void reveal(ScrollView& scrollView) override;
    void settle(ScrollView& scrollView) override;
    std::string textFor(RefreshState state) const override;
    std::string kind() const override { return "refresh footer"; }

private:
    // The bottom inset without this strip's own share.
    double baseBottomInset(const ScrollView& scrollView) const;
    // The offset at which the content's bottom meets the view's bottom; for content shorter
    // than the view, the offset the content rests at.
    double bottomEdgeOffset(const ScrollView& scrollView) const;
};

}  // namespace platform::components
