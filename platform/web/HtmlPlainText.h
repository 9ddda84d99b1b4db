#pragma once

#include <string>
#include <string_view>

namespace platform {

// A page as plain text, for a page the layout engine could not lay out: its text in order
// with a line for each block, pre-wrapped, and each element marked data-campus-item still
// marked (as an inline span), so that its items keep a place and links stay tappable. Made
// from the HTML the layout was given (WebPage::layoutHTML()); scripts, styles and the head
// are left out.
std::string plainTextPage(const std::string& html);

// The same page made from the markup's text alone, without the parser (a page the parser
// could not read within its budget): its text between tags as written, with a line for each
// block tag, and no scripts or styles. It is as long as the markup at most, and parsed cheaply
// in turn: it holds no tag.
std::string textOnlyPage(std::string_view html);

}  // namespace platform
