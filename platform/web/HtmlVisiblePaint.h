#pragma once

#include <litehtml.h>

#include <unordered_map>
#include <utility>

namespace platform {

// Paints what of a laid-out document meets `clip` (page coordinates) into the context `hdc`
// stands for, visiting only the blocks whose boxes meet it: a frame of a long page costs
// what the screen shows, not the page. Blocks and what flows in them are painted in the
// engine's order (backgrounds of blocks, then floats, then inline content, each in document
// order). A block whose content reaches past its box is visited when that content meets the
// clip (`overflow`, measured for the current layout); a document with positioned boxes, whose
// stacking the engine alone knows, is painted whole by the engine.
class HtmlOverflow;
void paintVisible(litehtml::document& document, litehtml::uint_ptr hdc,
                  const litehtml::position& clip, bool hasPositioned, bool mayReachPastBoxes,
                  HtmlOverflow& overflow);

// The blocks of a laid-out document whose content reaches above or below their own boxes: a
// float longer than the block it stands in, lines past the bottom of a block of fixed height,
// a child pulled out by a negative margin. Measured once a layout, when first painted.
class HtmlOverflow {
public:
    // Top and bottom of what the element shows, in the coordinates of its top() and bottom().
    using Span = std::pair<int, int>;

    // Forgets the measure: the document was laid out (or made) anew.
    void invalidate() { m_measured = false; }
    // `mayReach`: whether any element can reach past its box at all; when none can, there
    // is nothing to measure.
    void measureIfNeeded(const litehtml::element::ptr& root, bool mayReach);
    // What the block shows, its box or more.
    Span reach(const litehtml::element& block) const;

private:
    Span measure(litehtml::element& element);

    bool m_measured = false;
    std::unordered_map<const litehtml::element*, Span> m_beyond;
};

}  // namespace platform
