#pragma once

#include <string>

#include "components/refresh/RefreshView.h"

namespace platform::components {

// The pull-down header: a strip above the content. Dragging the content down more than the
// strip's height and letting go refreshes; while refreshing, the top inset grows by the
// strip's height so the strip stays in view.
class RefreshHeaderView : public RefreshView {
public:
    static constexpr double kHeight = 64;

    static constexpr const char* kIdleText = "下拉可以刷新";
    static constexpr const char* kPullingText = "松开立即刷新";
    static constexpr const char* kRefreshingText = "正在刷新...";

    RefreshHeaderView();

protected:
    void place(ScrollView& scrollView) override;
    double pulledDistance(const ScrollView& scrollView) const override;
    double addInset(ScrollView& scrollView) override;
    void removeInset(ScrollView& scrollView, double amount) override;
    void reveal(ScrollView& scrollView) override;
    void settle(ScrollView& scrollView) override;
    std::string textFor(RefreshState state) const override;
    std::string kind() const override { return "refresh header"; }
};

}  // namespace platform::components
