#include "platform/web/LayoutWriter.h"

#include <algorithm>

#include "platform/foundation/AsciiText.h"
#include "platform/foundation/Utf8Cut.h"
#include "platform/web/WebPageState.h"

namespace platform::web {

namespace {

// What the layout engine is given of a page at most. Its boxes cost far more than the page's
// own nodes, and the items shown are capped anyway; a page past these is laid out up to where
// it reached them.
constexpr std::size_t kMaxLayoutElements = 10'000;
constexpr std::size_t kMaxLayoutBytes = 1u << 20;
// Laying out a table, or a box that shrinks to fit, lays out its content more than once, so
// the cost grows exponentially with how deep they nest. Deeper than these, an element is
// given as a plain inline <campus-flat>: its content stays, its box goes.
constexpr int kMaxLayoutDepth = 40;
constexpr int kMaxLayoutTables = 3;

bool isTablePart(std::string_view tag) {
    return oneOf(
        tag, {"table", "tbody", "thead", "tfoot", "tr", "td", "th", "caption", "colgroup", "col"});
}

}  // namespace

void LayoutWriter::write(const Node& node) {
    if (node.isText) {
        writeText(node, node.text);
        return;
    }
    if (node.tag == "#document") {
        writeChildren(node);
        return;
    }
    if (node.tag == "script" || m_elements >= kMaxLayoutElements ||
        m_out.size() >= kMaxLayoutBytes) {
        return;
    }
    ++m_elements;
    if (oneOf(node.tag, {"input", "textarea", "select"})) {
        writeField(node);
        return;
    }
    const bool table = node.tag == "table";
    if (m_depth >= kMaxLayoutDepth || (isTablePart(node.tag) && m_tables >= kMaxLayoutTables)) {
        writeFlattened(node);
        return;
    }
    open(node.tag, node);
    if (isVoid(node.tag)) {
        return;
    }
    ++m_depth;
    m_tables += table ? 1 : 0;
    writeChildren(node);
    m_tables -= table ? 1 : 0;
    --m_depth;
    close(node.tag);
}

void LayoutWriter::writeChildren(const Node& node) {
    if (writeGlued(node)) {
        return;
    }
    for (const auto& child : node.children) {
        write(*child);
    }
}

void LayoutWriter::writeText(const Node& node, std::string_view text) {
    if (m_out.size() >= kMaxLayoutBytes || text.empty()) {
        return;
    }
    if (node.parent && oneOf(node.parent->tag, {"style", "script"})) {
        m_out += text;
        return;
    }
    // A text past what is left of the budget is cut at a character.
    text = text.substr(0, utf8CutPoint(text, kMaxLayoutBytes - m_out.size()));
    auto anchor = m_anchors.find(node.id);
    if (anchor == m_anchors.end() || node.id == m_markedByElement) {
        writeWords(node, text);
        return;
    }
    m_out += "<campus-item data-campus-item=\"";
    m_out += std::to_string(anchor->second);
    m_out += "\">";
    writeWords(node, text);
    m_out += "</campus-item>";
}

void LayoutWriter::writeFlattened(const Node& node) {
    m_out += "<campus-flat";
    if (auto anchor = m_anchors.find(node.id); anchor != m_anchors.end()) {
        m_out += " data-campus-item=\"";
        m_out += std::to_string(anchor->second);
        m_out += '"';
    }
    m_out += '>';
    writeChildren(node);
    close("campus-flat");
}

void LayoutWriter::open(std::string_view tag, const Node& node) {
    open(tag, node, node.attributes);
}

void LayoutWriter::open(std::string_view tag, const Node& node,
                        const std::vector<std::pair<std::string, std::string>>& attributes) {
    m_out += '<';
    m_out += tag;
    for (const auto& [name, value] : attributes) {
        m_out += ' ';
        m_out += name;
        m_out += "=\"";
        escapeInto(m_out, value, true);
        m_out += '"';
    }
    if (auto anchor = m_anchors.find(node.id); anchor != m_anchors.end()) {
        m_out += " data-campus-item=\"";
        m_out += std::to_string(anchor->second);
        m_out += '"';
    } else if (node.children.size() == 1 && node.children.front()->isText) {
        const Node& text = *node.children.front();
        if (auto textAnchor = m_anchors.find(text.id); textAnchor != m_anchors.end()) {
            m_out += " data-campus-text=\"";
            m_out += std::to_string(textAnchor->second);
            m_out += '"';
            m_markedByElement = text.id;
        }
    }
    m_out += '>';
}

void LayoutWriter::close(std::string_view tag) {
    m_out += "</";
    m_out += tag;
    m_out += '>';
}

// A field is given as a <campus-field> of its type showing its value (or its placeholder,
// dots for a password, a select's chosen text, a mark in a ticked box), with its state as
// attributes: the engine draws nothing for an input, and a change of the field is a change
// of this element's text and attributes.
void LayoutWriter::writeField(const Node& node) {
    const WebPageState::FieldLayout field = WebPageState::fieldLayout(node);
    if (field.hidden) {
        return;
    }
    open("campus-field", node, field.attributes);
    escapeInto(m_out, field.text, false);
    close("campus-field");
}

}  // namespace platform::web
