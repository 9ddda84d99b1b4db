#pragma once

#include <litehtml.h>

#include <cstddef>
#include <optional>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/graphics/Geometry.h"
#include "platform/web/HtmlStyleBounds.h"

namespace platform {

// What the web view needs to find again in a laid-out document, found in one walk when the
// document is made and kept up to date as elements are replaced: the elements that stand for
// each of the page's items (data-campus-item), the page's own style sheets (a replaced
// element is styled by them, as the engine styled the rest), and whether any box floats or
// stands out of the flow (positioned), which laying out or painting only a part must know.
class HtmlMarks {
public:
    void index(const litehtml::document::ptr& document);
    void clear();

    // The elements marked with the item (a run of text has two: its first and last text). An
    // element marked data-campus-text stands for the text it holds: the item is what its
    // children show.
    const std::vector<litehtml::element::ptr>& elementsOf(std::size_t item) const;
    // The element that took the place of the item's marked element `old`.
    void replace(std::size_t item, const litehtml::element::ptr& old,
                 const litehtml::element::ptr& now);
    // Where each of `count` items stands: the union of its boxes in page coordinates; empty
    // for an item not laid out (display:none there or above it, or past the layout budget).
    // With `lines`, also the union of its boxes on each line, for an item that runs over more
    // than one (none for the others).
    std::vector<Rect> frames(std::size_t count,
                             std::vector<std::vector<Rect>>* lines = nullptr) const;

    const litehtml::css& pageStyles() const { return m_pageStyles; }
    bool hasPositioned() const { return m_positioned; }
    bool hasFloats() const { return m_floats; }
    void notePositioned() { m_positioned = true; }

private:
    void visit(const litehtml::element::ptr& element, const litehtml::document::ptr& document);

    std::vector<std::vector<litehtml::element::ptr>> m_items;
    std::unordered_set<const litehtml::element*> m_textHolders;
    litehtml::css m_pageStyles;
    // The page's sheets are read within the bounds the engine's reading of them keeps to.
    StyleSheetBounder m_styleSheets;
    bool m_positioned = false;
    bool m_floats = false;
};

// Whether the element or anything in it stands out of the flow.
bool holdsPositioned(const litehtml::element::ptr& element);

// Where the place in the page that a fragment names stands (page coordinates): the first
// element in document order whose id is `name`, else the first <a> so named, as browsers
// find it; none when nothing so named is laid out and shown.
std::optional<Point> namedPlace(const litehtml::document::ptr& document, std::string_view name);

}  // namespace platform
