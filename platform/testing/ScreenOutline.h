#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/testing/OutlineEntry.h"

namespace platform {
class ScrollView;
class View;
class Window;
}  // namespace platform

namespace platform::testing {

// What a window shows a user at one moment, top to bottom: the navigation bar, then the
// visible views in the order they are drawn, the keyboard, and the alerts on top. Views that
// are hidden, outside the window, clipped away, under the keyboard or under an opaque view
// covering the whole window are left out; so are the rows of a table that are out of view.
//
// Each line gets a short handle. A view keeps the handle it was given (View::handle()), so
// two outlines of the same screen name things alike; views without one get the first free
// number for their kind: b buttons, c other controls, f fields and text views, l labels,
// i images, s scroll views and tables, w web views, v other views. Rows are r<row> (section
// 0) or r<section>.<row>, collection items t<item> or t<section>.<item>, tabs tab<index>, the
// top alert's buttons a<index> and its fields af<index>.
class ScreenOutline {
public:
    ScreenOutline() = default;

    // Reads the window (laid out first) and the alerts on screen. A null window gives only
    // the alerts.
    static ScreenOutline capture(const std::shared_ptr<Window>& window);

    const std::vector<OutlineEntry>& entries() const { return m_entries; }
    // Every view that shows, container views included, in drawing order.
    const std::vector<std::shared_ptr<View>>& visibleViews() const { return m_visibleViews; }
    // The scroll views that show (a web view's page scroller included), in drawing order.
    const std::vector<std::shared_ptr<ScrollView>>& scrollViews() const { return m_scrollViews; }

    // One line per entry: indentation, handle, description.
    std::string text() const;

    const OutlineEntry* findHandle(const std::string& handle) const;
    // The first entry showing exactly the text, else the first whose text contains it.
    // With `alertsOnly`, only the alert's own lines are searched.
    const OutlineEntry* findText(const std::string& text, bool alertsOnly = false) const;
    // The entry for the view, or for the nearest ancestor of it that has one.
    const OutlineEntry* findView(const View* view) const;

private:
    friend class OutlineBuilder;

    std::vector<OutlineEntry> m_entries;
    std::vector<std::shared_ptr<View>> m_visibleViews;
    std::vector<std::shared_ptr<ScrollView>> m_scrollViews;
};

}  // namespace platform::testing
