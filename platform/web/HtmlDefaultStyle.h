#pragma once

// Internal to this library: the layout's own sources include it.

namespace platform {

// A browser's default style sheet, as far as the school's pages and CSS 2 reach; the engine
// ships none. The campus-* elements are the layout's own marks (WebPage::layoutHTML).
extern const char* const kDefaultStyleSheet;

}  // namespace platform
