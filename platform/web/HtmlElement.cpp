#include "platform/web/HtmlElement.h"

#include <el_anchor.h>
#include <el_base.h>
#include <el_body.h>
#include <el_break.h>
#include <el_div.h>
#include <el_font.h>
#include <el_image.h>
#include <el_link.h>
#include <el_para.h>
#include <el_table.h>
#include <el_td.h>
#include <el_text.h>
#include <el_title.h>
#include <el_tr.h>
#include <strings.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/web/HtmlPictureElement.h"

namespace platform {

// --- Selector matching ---------------------------------------------------------------------

bool HtmlElementGuard::mayMatch(const litehtml::css_selector& selector) {
    int steps = 0;
    for (const litehtml::css_selector* left = selector.m_left.get(); left;
         left = left->m_left.get()) {
        if (++steps > kMaxCombinators) {
            return false;
        }
    }
    return true;
}

void HtmlElementGuard::enterStylePass() {
    if (m_styleDepth++ == 0) {
        m_steps = 0;
        m_found.clear();
    }
}

void HtmlElementGuard::leaveStylePass() {
    if (--m_styleDepth == 0) {
        // What the pass found is of no use after it, and may be large.
        m_found = {};
    }
}

bool HtmlElementGuard::enterMatch() {
    // Only the steps of a walk count: every element is matched against every selector once
    // a pass, which is the page's size and not what a hostile page multiplies.
    if (m_matchDepth > 0 && ++m_steps > kMaxMatchSteps) {
        return false;
    }
    ++m_matchDepth;
    return true;
}

litehtml::element::ptr HtmlElementGuard::walk(Walk kind, const litehtml::element* from,
                                              const litehtml::css_selector& selector,
                                              bool applyPseudo, bool* isPseudo,
                                              const Search& search) {
    // Outside a style pass (or from an element the engine made itself) nothing is kept.
    if (m_styleDepth == 0 || !from) {
        return search(isPseudo);
    }
    const Key key{from, &selector, int(kind) * 2 + (applyPseudo ? 1 : 0)};
    if (auto found = m_found.find(key); found != m_found.end()) {
        if (found->second.pseudo && isPseudo) {
            *isPseudo = true;
        }
        return found->second.element ? found->second.element->shared_from_this() : nullptr;
    }
    bool pseudo = false;
    litehtml::element::ptr result = search(&pseudo);
    if (m_found.size() < kMaxRemembered) {
        m_found.emplace(key, Found{result.get(), pseudo});
    }
    if (pseudo && isPseudo) {
        *isPseudo = true;
    }
    return result;
}

// --- Attributes ----------------------------------------------------------------------------

namespace htmlelement {

bool isSpanAttribute(const char* name) {
    return name && (strcasecmp(name, "colspan") == 0 || strcasecmp(name, "rowspan") == 0);
}

// A non-negative integer as a browser reads one in an attribute: digits after any spaces and
// a "+", what follows them ignored, counted no further than `most`; none without a digit.
std::optional<std::uint64_t> attributeInteger(const char* value, std::uint64_t most) {
    const char* at = value ? value : "";
    while (*at == ' ' || *at == '\t' || *at == '\n' || *at == '\r' || *at == '\f') {
        ++at;
    }
    if (*at == '+') {
        ++at;
    }
    if (*at < '0' || *at > '9') {
        return std::nullopt;
    }
    std::uint64_t number = 0;
    for (; *at >= '0' && *at <= '9'; ++at) {
        number = std::min<std::uint64_t>(number * 10 + std::uint64_t(*at - '0'), most);
    }
    return number;
}

std::string clampedSpan(const char* name, const char* value) {
    const bool column = strcasecmp(name, "colspan") == 0;
    const auto read = attributeInteger(value, 1'000'000);
    if (!read) {
        return "1";
    }
    const std::uint64_t span =
        column ? std::clamp<std::uint64_t>(*read, 1, 1000) : std::min<std::uint64_t>(*read, 65534);
    return std::to_string(span);
}

// --- Nesting of boxes ----------------------------------------------------------------------

bool isTablePart(litehtml::style_display display) {
    switch (display) {
        case litehtml::display_table_row:
        case litehtml::display_table_row_group:
        case litehtml::display_table_header_group:
        case litehtml::display_table_footer_group:
        case litehtml::display_table_cell:
        case litehtml::display_table_caption:
        case litehtml::display_table_column:
        case litehtml::display_table_column_group:
            return true;
        default:
            return false;
    }
}

bool isTableStructure(litehtml::style_display display) {
    return display == litehtml::display_table || display == litehtml::display_inline_table ||
           isTablePart(display);
}

namespace {

// Whether a table part stands where a table has it; one that does not is wrapped in an
// anonymous table of its own.
bool inItsTable(litehtml::style_display display, litehtml::style_display parent) {
    using namespace litehtml;
    const bool table = parent == display_table || parent == display_inline_table;
    const bool group = parent == display_table_row_group || parent == display_table_header_group ||
                       parent == display_table_footer_group;
    switch (display) {
        case display_table_cell:
            return parent == display_table_row;
        case display_table_row:
            return table || group;
        case display_table_column:
            return table || parent == display_table_column_group;
        default:
            return table;
    }
}

}  // namespace

int shrinkCost(litehtml::style_display display, litehtml::element_float floating,
               litehtml::style_display parentDisplay) {
    // A table lays out its cells two or three times, about as a float does its content: one
    // step, so that tables nest as deep as the layout gives them (eight). A part standing
    // outside its table makes a table of its own around it as well: two.
    if (display == litehtml::display_table || display == litehtml::display_inline_table) {
        return 1;
    }
    if (isTablePart(display) && !inItsTable(display, parentDisplay)) {
        return 2;
    }
    if (display == litehtml::display_inline_block || floating != litehtml::float_none) {
        return 1;
    }
    return 0;
}

namespace {

// The first text the element shows, in document order.
litehtml::element::ptr firstText(const litehtml::element& element) {
    for (std::size_t i = 0; i < element.get_children_count(); ++i) {
        const auto child = element.get_child(int(i));
        if (!child || child->get_display() == litehtml::display_none || child->is_white_space()) {
            continue;
        }
        if (dynamic_cast<const litehtml::el_text*>(child.get())) {
            return child;
        }
        if (auto text = firstText(*child)) {
            return text;
        }
    }
    return nullptr;
}

}  // namespace

int markerShift(const litehtml::element& item, int lineHeight,
                const litehtml::font_metrics& metrics) {
    const auto text = firstText(item);
    if (!text) {
        return 0;
    }
    litehtml::font_metrics textMetrics{};
    text->get_font(&textMetrics);
    const int baseline = text->get_placement().y + textMetrics.ascent;
    const int assumed = item.get_placement().y + (lineHeight - metrics.height) / 2 + metrics.ascent;
    return baseline - assumed;
}

int nestingAbove(const litehtml::element& element) {
    for (auto parent = element.parent(); parent; parent = parent->parent()) {
        if (auto* nesting = dynamic_cast<const HtmlBoxNesting*>(parent.get())) {
            return nesting->nesting();
        }
    }
    return 0;
}

namespace {

bool isRowGroup(litehtml::style_display display) {
    return display == litehtml::display_table_row_group ||
           display == litehtml::display_table_header_group ||
           display == litehtml::display_table_footer_group;
}

std::size_t spanOf(const litehtml::element& cell, const char* name) {
    const char* value = cell.get_attr(name, "1");
    return std::size_t(std::max(1L, std::strtol(value ? value : "1", nullptr, 10)));
}

// Calls `onRow` for each row of the table (in its row groups too).
template <class OnRow>
void forEachRow(const litehtml::element& table, const OnRow& onRow) {
    for (std::size_t i = 0; i < table.get_children_count(); ++i) {
        const auto child = table.get_child(int(i));
        if (child->get_display() == litehtml::display_table_row) {
            onRow(*child);
        } else if (isRowGroup(child->get_display())) {
            for (std::size_t j = 0; j < child->get_children_count(); ++j) {
                const auto row = child->get_child(int(j));
                if (row->get_display() == litehtml::display_table_row) {
                    onRow(*row);
                }
            }
        }
    }
}

void layOutAsBlock(const litehtml::element::ptr& element) {
    if (auto* ours = dynamic_cast<HtmlBoxNesting*>(element.get())) {
        ours->layOutAsBlock();
    }
}

}  // namespace

std::size_t tableSlots(const litehtml::element& table) {
    std::size_t rows = 0;
    std::size_t widest = 0;
    std::size_t reaching = 0;
    forEachRow(table, [&](const litehtml::element& row) {
        ++rows;
        std::size_t width = 0;
        for (std::size_t i = 0; i < row.get_children_count(); ++i) {
            const auto cell = row.get_child(int(i));
            if (cell->get_display() != litehtml::display_table_cell) {
                continue;
            }
            const std::size_t columns = spanOf(*cell, "colspan");
            width += columns;
            if (spanOf(*cell, "rowspan") != 1) {
                reaching += columns;
            }
        }
        widest = std::max(widest, width);
    });
    return rows * (widest + reaching);
}

void layOutTablePartsAsBlocks(const litehtml::element& table) {
    for (std::size_t i = 0; i < table.get_children_count(); ++i) {
        const auto child = table.get_child(int(i));
        if (isTablePart(child->get_display())) {
            layOutTablePartsAsBlocks(*child);
            layOutAsBlock(child);
        }
    }
}

}  // namespace htmlelement

// --- Elements ------------------------------------------------------------------------------

namespace {

template <class Base>
std::shared_ptr<litehtml::element> make(const std::shared_ptr<litehtml::document>& doc,
                                        const std::shared_ptr<HtmlElementGuard>& guard) {
    return std::make_shared<HtmlElement<Base>>(doc, guard);
}

// A number of characters or lines as a browser reads size, cols and rows: a positive integer
// (digits after any spaces, what follows them ignored), else none. Held to what a screen
// could show, so no attribute makes a box the engine cannot measure.
int positiveCount(const char* value) {
    return int(htmlelement::attributeInteger(value, 1000).value_or(0));
}

// A field's box as a browser sizes it from its attributes: an input `size` characters wide, a
// text area `cols` characters wide and `rows` lines high (an average character being half an
// em of the field's font, a text area's a little more). The default style sheet gives the
// sizes a field without them has; the page's style sheets and style attribute, applied after
// these, win over them.
class HtmlFieldElement final : public HtmlElement<litehtml::html_tag> {
public:
    using HtmlElement::HtmlElement;

    void parse_attributes() override {
        const std::string type = get_attr("type", "");
        const bool area = type == "textarea";
        const int across = positiveCount(get_attr(area ? "cols" : "size"));
        if (across > 0 && (area || isTextType(type))) {
            m_style.add_property("width", ems(across * (area ? 0.65 : 0.5)).c_str(), nullptr, false,
                                 this);
        }
        if (const int rows = area ? positiveCount(get_attr("rows")) : 0; rows > 0) {
            m_style.add_property("height", ems(rows * 1.3).c_str(), nullptr, false, this);
        }
        HtmlElement::parse_attributes();
    }

private:
    static bool isTextType(const std::string& type) {
        return type != "checkbox" && type != "radio" && type != "select" && type != "submit" &&
               type != "reset" && type != "button";
    }
    static std::string ems(double count) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2fem", count);
        return text;
    }
};

}  // namespace

std::shared_ptr<litehtml::element> makeHtmlElement(const litehtml::tchar_t* tag,
                                                   const std::shared_ptr<litehtml::document>& doc,
                                                   const std::shared_ptr<HtmlElementGuard>& guard,
                                                   HtmlPicturePainter* pictures) {
    using Maker = std::shared_ptr<litehtml::element> (*)(const std::shared_ptr<litehtml::document>&,
                                                         const std::shared_ptr<HtmlElementGuard>&);
    // The engine's class for each tag it has one for; html_tag for the rest. Style sheets and
    // scripts hold no boxes and match no selectors: the engine makes those itself.
    static const std::unordered_map<std::string, Maker> kMakers = {
        {"a", make<litehtml::el_anchor>},    {"base", make<litehtml::el_base>},
        {"body", make<litehtml::el_body>},   {"br", make<litehtml::el_break>},
        {"div", make<litehtml::el_div>},     {"font", make<litehtml::el_font>},
        {"img", make<litehtml::el_image>},   {"link", make<litehtml::el_link>},
        {"p", make<litehtml::el_para>},      {"table", make<litehtml::el_table>},
        {"td", make<litehtml::el_td>},       {"th", make<litehtml::el_td>},
        {"title", make<litehtml::el_title>}, {"tr", make<litehtml::el_tr>},
    };
    if (!tag || !doc || !guard || strcasecmp(tag, "style") == 0 || strcasecmp(tag, "script") == 0) {
        return nullptr;
    }
    if (pictures && strcasecmp(tag, "img") == 0) {
        return std::make_shared<HtmlPictureElement>(doc, guard, *pictures);
    }
    if (strcasecmp(tag, "campus-field") == 0) {
        return std::make_shared<HtmlFieldElement>(doc, guard);
    }
    auto found = kMakers.find(tag);
    return found != kMakers.end() ? found->second(doc, guard)
                                  : make<litehtml::html_tag>(doc, guard);
}

}  // namespace platform
