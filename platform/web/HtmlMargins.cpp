#include "platform/web/HtmlMargins.h"

namespace platform::htmlelement {

int firstChildTopMargin(litehtml::element& block, int contentWidth) {
    // Spaces where white space collapses make no line of their own; what is out of the flow
    // (hidden, positioned away, floating) makes no box. The first of the rest starts the
    // block's content.
    const litehtml::white_space space = block.get_white_space();
    const bool collapsesSpaces = space == litehtml::white_space_normal ||
                                 space == litehtml::white_space_nowrap ||
                                 space == litehtml::white_space_pre_line;
    const std::size_t count = block.get_children_count();
    for (std::size_t i = 0; i < count; ++i) {
        const litehtml::element::ptr child = block.get_child(int(i));
        if (!child || child->get_display() == litehtml::display_none ||
            (collapsesSpaces && child->is_white_space())) {
            continue;
        }
        const litehtml::element_position position = child->get_element_position();
        if (position == litehtml::element_position_absolute ||
            position == litehtml::element_position_fixed ||
            child->get_float() != litehtml::float_none) {
            continue;
        }
        if (child->is_inline_box() || child->get_display() == litehtml::display_inline ||
            child->get_display() == litehtml::display_inline_text) {
            return 0;
        }
        // Its margins as its layout will find them (an element of ours adds what it takes
        // from its own first child).
        child->calc_outlines(contentWidth);
        return child->collapse_top_margin() ? child->margin_top() : 0;
    }
    return 0;
}

}  // namespace platform::htmlelement
