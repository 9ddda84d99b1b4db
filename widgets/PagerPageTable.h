#pragma once

#include <memory>

namespace platform {
class TableView;
class TableViewDataSource;
class TableViewDelegate;
class View;
}  // namespace platform

// The list of one page of a tab pager: a one-point grey rule on top and a plain table under
// it, as wide as the screen and as high as the navigation bar and the tab row leave, with no
// separator lines below the last row and separators from edge to edge. Added to the page.
std::shared_ptr<platform::TableView> addPagerPageTable(
    platform::View& page, const std::shared_ptr<platform::TableViewDataSource>& dataSource,
    const std::shared_ptr<platform::TableViewDelegate>& delegate);

// The height the navigation bar and the tab pager's row of tabs take above a page.
inline constexpr double kPagerPageNavigationBarHeight = 64;
inline constexpr double kPagerPageTabRowHeight = 42;
