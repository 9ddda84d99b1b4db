#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/ui/ScrollViewDelegate.h"
#include "platform/ui/View.h"

namespace platform {
class ScrollView;
class Timer;
}  // namespace platform

// A banner that pages endlessly through caller-supplied views in both directions and, with a
// positive interval, advances by itself. Only three pages are in place at a time (previous,
// current, next) inside a paging scroll view three pages wide; reaching the first or the
// last of the three re-arranges them around the new current page.
//
// The caller sets fetchContentViewAtIndex (and TapActionBlock), then the page count. The
// auto-scroll timer holds the banner weakly: letting the banner go stops the timer, and
// stop() stops it earlier. Main thread only.
class CycleScrollView : public platform::View, public platform::ScrollViewDelegate {
    struct Token {
        explicit Token() = default;
    };

public:
    using PageCountBlock = std::function<long()>;
    using FetchBlock = std::function<std::shared_ptr<platform::View>(long pageIndex)>;
    using TapBlock = std::function<void(long pageIndex)>;

    // The scroll view's delegate is the banner itself, so banners are made only here.
    static std::shared_ptr<CycleScrollView> create(const platform::Rect& frame);
    // With an interval above 0, a paused auto-scroll timer of that interval exists at once.
    static std::shared_ptr<CycleScrollView> create(const platform::Rect& frame,
                                                   double animationDuration);

    CycleScrollView(Token, const platform::Rect& frame);
    ~CycleScrollView() override;

    // Runs the block once and keeps its count (a negative count counts as 0). With at least
    // one page the views are arranged and the timer next fires one interval from now.
    void setTotalPagesCount(const PageCountBlock& block);
    // Must give a view for every index from 0 to totalPageCount() - 1; a null leaves that
    // place empty.
    FetchBlock fetchContentViewAtIndex;
    // Called with the current page when the current page is tapped.
    TapBlock TapActionBlock;

    // Replaces any timer by a new repeating one of that interval, paused.
    void pauseTimerWith(double seconds);
    // No more auto-scrolling.
    void stop();

    const std::shared_ptr<platform::ScrollView>& scrollView() const { return m_scrollView; }
    long currentPageIndex() const { return m_currentPageIndex; }
    long totalPageCount() const { return m_totalPageCount; }
    // Previous, current and next, as the fetch block gave them.
    const std::vector<std::shared_ptr<platform::View>>& contentViews() const {
        return m_contentViews;
    }
    double animationDuration() const { return m_animationDuration; }
    const std::shared_ptr<platform::Timer>& animationTimer() const { return m_animationTimer; }

    // --- Scroll view delegate -------------------------------------------------------------
    void scrollViewDidScroll(platform::ScrollView& scrollView) override;
    void scrollViewWillBeginDragging(platform::ScrollView& scrollView) override;
    void scrollViewDidEndDragging(platform::ScrollView& scrollView, bool willDecelerate) override;
    void scrollViewDidEndDecelerating(platform::ScrollView& scrollView) override;

private:
    long getValidNextPageIndexWithPageIndex(long index) const;
    void setScrollViewContentDataSource();
    void configContentViews();
    void attachTapRecognizer(platform::View& view);
    void animationTimerDidFired();
    void contentViewTapAction();
    double pageWidth() const;

    std::shared_ptr<platform::ScrollView> m_scrollView;
    long m_currentPageIndex{0};
    long m_totalPageCount{0};
    std::vector<std::shared_ptr<platform::View>> m_contentViews;
    double m_animationDuration{0};
    std::shared_ptr<platform::Timer> m_animationTimer;
};
