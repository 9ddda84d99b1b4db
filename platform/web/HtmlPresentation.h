#pragma once

// Internal to this library: the layout's own elements include it.

namespace litehtml {
class element;
class style;
}  // namespace litehtml

namespace platform::htmlpresentation {

// What the old presentational attributes of a page's element ask of its style, as a browser
// reads them: a table's border, cellpadding and cellspacing (its cells' rules and padding
// included), widths and heights, bgcolor and the legacy colours, align and valign, nowrap,
// <font>'s color, size and face, <hr>'s size, width, color and noshade, <body>'s bgcolor,
// text and link, an <img>'s align, hspace, vspace and border.
//
// Added to the element's style where the engine reads its attributes: after the default style
// sheet and before the page's own style sheets and style attribute, so that every rule of the
// page wins over them, as it does in a browser. The engine's own reading of these attributes
// is set aside (HtmlElement::parse_attributes): it knows few of them and reads them loosely.
void addHints(const litehtml::element& element, litehtml::style& style);

}  // namespace platform::htmlpresentation
