#pragma once

namespace platform {

class ScrollView;

// Watches a scroll view beside its delegate, for controls that live inside the scroll view
// (pull-to-refresh) and must not take the screen's delegate slot. Observers are held weakly
// and hear of each event after the delegate, in the order they were added.
class ScrollViewObserver {
public:
    virtual ~ScrollViewObserver() = default;

    // Every change of the content offset.
    virtual void scrollViewDidScroll(ScrollView& /*scrollView*/) {}
    // The finger lifted. Insets changed here count for where the content comes to rest.
    virtual void scrollViewDidEndDragging(ScrollView& /*scrollView*/) {}
    virtual void scrollViewDidChangeContentSize(ScrollView& /*scrollView*/) {}
};

}  // namespace platform
