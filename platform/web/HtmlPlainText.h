#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// A page as plain text, for a page the layout engine could not lay out: its text in order
// with a line for each block, pre-wrapped, and each element marked data-campus-item still
// marked (as an inline span), so that its items keep a place and links stay tappable. Made
// from the HTML the layout was given (WebPage::layoutHTML()); scripts, styles and the head
// are left out.
//
// A line at the top says, in the client's own words, that the page is shown as plain text
// (HtmlCutNotice.h). The plain text holds at most `maxBytes` of the page's text and marks:
// the rest is cut, and a line at the cut says so, so that whatever the page holds its
// beginning shows and a cut page never looks complete. White space runs no longer than
// kLongestBlank characters: a line's worth shows as much as a megabyte.
struct PlainTextPage {
    std::string html;
    bool cut = false;
};
inline constexpr std::size_t kLongestBlank = 40;
PlainTextPage plainTextPage(const std::string& html, std::size_t maxBytes);

// The same page made from the markup's text alone, without the parser (a page the parser
// could not read within its budget): its text between tags as written, with a line for each
// block tag, and no scripts or styles, under the same lines and cut at the same bound. It
// holds no tag of the page's, so it is parsed cheaply in turn.
PlainTextPage textOnlyPage(std::string_view html, std::size_t maxBytes);

}  // namespace platform
