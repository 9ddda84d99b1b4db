#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "components/refresh/RefreshState.h"
#include "platform/ui/ScrollViewObserver.h"
#include "platform/ui/View.h"

namespace platform {
class ActivityIndicatorView;
class Label;
class ScrollView;
}  // namespace platform

namespace platform::components {

// What the pull-down header and the pull-up footer share: a strip inside a scroll view that
// watches the scroll view (as an observer, so the screen keeps its own delegate), follows the
// user's pull through the refresh states, runs its callback once per refresh on the main run
// loop, and widens the scroll view's content inset while refreshing so it stays in view.
//
// Add it to the scroll view as a subview (ScrollViewRefresh.h does that); taken off, it
// gives back any inset it added and a refresh it had not yet run is dropped.
class RefreshView : public View, public ScrollViewObserver {
public:
    ~RefreshView() override;

    // Runs once per refresh, on the run loop's turn after the refresh began, unless the
    // refresh ended first.
    std::function<void()> refreshingCallback;

    RefreshState state() const { return m_state; }
    // Also true while a refresh waits for the scroll view to join a window.
    bool isRefreshing() const;

    // Refreshes as if the user had pulled: the strip shows and the callback runs. Before the
    // scroll view is in a window the refresh waits until it joins one. Does nothing while
    // already refreshing, when hidden, or outside a scroll view.
    void beginRefreshing();
    // Back to idle: the inset is given back and the content returns from beyond its edge.
    // Does nothing when not refreshing.
    void endRefreshing();

    // Hiding ends a refresh in progress; a hidden strip ignores pulls.
    void setHidden(bool hidden) override;

    // The text the strip shows now.
    std::string stateText() const;
    std::string describe() const override;

    void willMoveToSuperview(View* newSuperview) override;
    void didMoveToSuperview() override;
    void didMoveToWindow() override;
    void layoutSubviews() override;

    void scrollViewDidScroll(ScrollView& scrollView) override;
    void scrollViewDidEndDragging(ScrollView& scrollView) override;
    void scrollViewDidChangeContentSize(ScrollView& scrollView) override;

protected:
    explicit RefreshView(double height);

    ScrollView* scrollView() const;
    // How much inset this strip added to the scroll view while it refreshes.
    double addedInset() const { return m_addedInset; }

    // Places the strip in the scroll view's content.
    virtual void place(ScrollView& scrollView) = 0;
    // How far the content is dragged beyond the edge this strip sits at (0 or less: not at all).
    virtual double pulledDistance(const ScrollView& scrollView) const = 0;
    // Widens the inset on this strip's side so the strip stays in view; returns how much.
    virtual double addInset(ScrollView& scrollView) = 0;
    // Takes `amount` back off the inset on this strip's side.
    virtual void removeInset(ScrollView& scrollView, double amount) = 0;
    // Moves the content so the strip shows (a refresh begun in code).
    virtual void reveal(ScrollView& scrollView) = 0;
    // Returns the content from beyond this strip's edge after the inset went back.
    virtual void settle(ScrollView& scrollView) = 0;
    virtual std::string textFor(RefreshState state) const = 0;
    // "refresh header" or "refresh footer", for outlines.
    virtual std::string kind() const = 0;

private:
    void setState(RefreshState state);
    void startRefreshing(ScrollView& scrollView);
    void giveBackInset(ScrollView& scrollView);
    void observe(ScrollView* scrollView);

    std::shared_ptr<Label> m_label;
    std::shared_ptr<ActivityIndicatorView> m_spinner;
    RefreshState m_state{RefreshState::Idle};
    double m_addedInset{0};
    // Bumped whenever a refresh begins or ends, so a callback posted for a refresh that has
    // since ended does not run.
    std::uint64_t m_generation{0};
};

}  // namespace platform::components
