#pragma once

#include <litehtml.h>

#include <string_view>

namespace platform {

// Puts the element that `markup` (HTML as WebPage writes it for the layout engine, one
// element with its content) describes in the place of `old`, in a document kept between a
// page's changes: its content, its attributes and its style are the new ones, and it is
// styled in its place as the engine styles a document (the engine's default sheet, then the
// page's own, then its style attribute). The document must be laid out again afterwards.
//
// Returns the element now in the tree, or nullptr when the change is not one that can be
// made in place (the markup is not one element, or the element is part of a table, whose
// grid the engine builds once): the caller then builds the document anew.
litehtml::element::ptr replaceElement(litehtml::document& document,
                                      const litehtml::element::ptr& old, std::string_view markup,
                                      const litehtml::css& masterStyles,
                                      const litehtml::css& pageStyles);

// Where an element's margin box stood, and its content box, at the last layout.
struct HtmlBoxPlace {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    litehtml::position content;

    static HtmlBoxPlace of(const litehtml::element& element);
    bool operator==(const HtmlBoxPlace& other) const;
};

// Lays out again only the block that holds `changed` (a replaced element, which stood at
// `before`), when nothing outside it can move: the block and every box above it are blocks
// in the flow, nothing in it floats or is positioned, and it comes out exactly as large, and
// where, it was. Returns false (having changed what the next full layout redoes anyway) when
// the page must be laid out whole. `floatsInPage`: whether the page has floats, whose room
// the blocks beside them share.
bool relayOutInPlace(const litehtml::element::ptr& changed, const HtmlBoxPlace& before,
                     bool floatsInPage);

}  // namespace platform
