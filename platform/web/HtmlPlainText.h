#pragma once

#include <string>

namespace platform {

// A page as plain text, for a page the layout engine could not lay out: its text in order
// with a line for each block, pre-wrapped, and each element marked data-campus-item still
// marked (as an inline span), so that its items keep a place and links stay tappable. Made
// from the HTML the layout was given (WebPage::layoutHTML()); scripts, styles and the head
// are left out.
std::string plainTextPage(const std::string& html);

}  // namespace platform
