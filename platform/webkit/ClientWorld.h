#pragma once

#include <string>

namespace platform::webkit {

// The script the web view runs in its client world (ViewOptions::clientScript): it reads the
// items of the live page (PageOutline.h) and posts them to the host by itself whenever the page
// may have changed, and it carries out the host's actions on them. It defines one global of
// that world, `campus`, which the page can neither see nor change:
//   campus.outline()            the outline now, as JSON (what parseOutline reads)
//   campus.pointOf(node)        scrolls the item into view if need be and gives the centre of
//                               its first visible box in the visible area, {"x":..,"y":..} in
//                               CSS pixels, for a real click there; "null" when gone or hidden
//   campus.replaceText(node, t) types t over the whole of a text field, as the keyboard would
//                               (the page sees input events, maxlength holds); gives the
//                               field's value afterwards, nothing when it is not a text field
//   campus.blur()               the focused element loses the focus
//   campus.scrollTo(x, y)       scrolls the page to the point, at once
// Posts: {"type":"outline", ...the outline} and, for a scroll that moves no item within the
// document, the lighter {"type":"scroll","x":..,"y":..}.
const std::string& clientWorldScript();

}  // namespace platform::webkit
