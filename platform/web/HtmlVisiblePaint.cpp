#include "platform/web/HtmlVisiblePaint.h"

#include <algorithm>

namespace platform {

namespace {

// A block in the flow whose content the engine paints through its parent's children: what
// the walk below may pass over when its box misses the clip.
bool inFlowBlock(const litehtml::element::ptr& element) {
    return !element->is_inline_box() && element->get_float() == litehtml::float_none &&
           !element->is_positioned();
}

// A block whose children are painted the same way as the document's (no clip of its own,
// no table grid): the walk goes on into it.
bool plainBlock(const litehtml::element::ptr& element) {
    const auto display = element->get_display();
    return (display == litehtml::display_block || display == litehtml::display_list_item) &&
           element->get_overflow() == litehtml::overflow_visible;
}

// One pass (`flag`) over the children of `parent`, whose parent's content box stands at
// (x, y): what the engine's own pass does, with the blocks that miss the clip left out.
void paintChildren(const litehtml::element::ptr& parent, litehtml::uint_ptr hdc, int x, int y,
                   const litehtml::position& clip, litehtml::draw_flag flag,
                   const HtmlOverflow& overflow) {
    const litehtml::position& own = parent->get_position();
    const int left = x + own.x;
    const int top = y + own.y;
    const std::size_t count = parent->get_children_count();
    for (std::size_t i = 0; i < count; ++i) {
        litehtml::element::ptr child = parent->get_child(int(i));
        if (!child || !child->is_visible()) {
            continue;
        }
        if (inFlowBlock(child)) {
            if (top + child->bottom() < clip.top() || top + child->top() > clip.bottom()) {
                const auto [reachTop, reachBottom] = overflow.reach(*child);
                if (top + reachBottom < clip.top() || top + reachTop > clip.bottom()) {
                    continue;
                }
            }
            if (flag == litehtml::draw_block) {
                child->draw(hdc, left, top, &clip);
            }
            if (plainBlock(child)) {
                paintChildren(child, hdc, left, top, clip, flag, overflow);
            } else {
                child->draw_children(hdc, left, top, &clip, flag, 0);
            }
            continue;
        }
        // Floats and inline content: as the engine paints them.
        const bool floats = child->get_float() != litehtml::float_none;
        if (flag == litehtml::draw_floats && floats) {
            child->draw(hdc, left, top, &clip);
            child->draw_stacking_context(hdc, left, top, &clip, false);
            continue;
        }
        if (flag == litehtml::draw_inlines && !floats && child->is_inline_box()) {
            child->draw(hdc, left, top, &clip);
            if (child->get_display() == litehtml::display_inline_block) {
                child->draw_stacking_context(hdc, left, top, &clip, false);
                continue;
            }
        }
        if (!floats && child->get_display() != litehtml::display_inline_block) {
            child->draw_children(hdc, left, top, &clip, flag, 0);
        }
    }
}

}  // namespace

void paintVisible(litehtml::document& document, litehtml::uint_ptr hdc,
                  const litehtml::position& clip, bool hasPositioned, bool mayReachPastBoxes,
                  HtmlOverflow& overflow) {
    litehtml::element::ptr root = document.root();
    if (!root) {
        return;
    }
    if (hasPositioned || !plainBlock(root)) {
        document.draw(hdc, 0, 0, &clip);
        return;
    }
    overflow.measureIfNeeded(root, mayReachPastBoxes);
    root->draw(hdc, 0, 0, &clip);
    for (auto flag : {litehtml::draw_block, litehtml::draw_floats, litehtml::draw_inlines}) {
        paintChildren(root, hdc, 0, 0, clip, flag, overflow);
    }
}

void HtmlOverflow::measureIfNeeded(const litehtml::element::ptr& root, bool mayReach) {
    if (m_measured) {
        return;
    }
    m_beyond.clear();
    if (root && mayReach) {
        measure(*root);
    }
    m_measured = true;
}

HtmlOverflow::Span HtmlOverflow::reach(const litehtml::element& block) const {
    if (auto found = m_beyond.find(&block); found != m_beyond.end()) {
        return found->second;
    }
    return {block.top(), block.bottom()};
}

// The engine paints an element's children from its own position (an inline element's is
// empty, and its children stand where its block's would): the same offset carries a child's
// reach into its parent's coordinates. The page's nesting is bounded, and so is this.
HtmlOverflow::Span HtmlOverflow::measure(litehtml::element& element) {
    const int top = element.top();
    const int bottom = element.bottom();
    Span span{top, bottom};
    const std::size_t count = element.get_children_count();
    if (count == 0 || element.get_display() == litehtml::display_none) {
        return span;
    }
    const int origin = element.get_position().y;
    for (std::size_t i = 0; i < count; ++i) {
        const litehtml::element::ptr child = element.get_child(int(i));
        if (!child || !child->is_visible()) {
            continue;
        }
        const auto [childTop, childBottom] = measure(*child);
        span.first = std::min(span.first, origin + childTop);
        span.second = std::max(span.second, origin + childBottom);
    }
    if (span.first < top || span.second > bottom) {
        m_beyond[&element] = span;
    }
    return span;
}

}  // namespace platform
