#include "platform/ui/LayoutWriter.h"

#include <algorithm>

#include "platform/foundation/AsciiText.h"
#include "platform/foundation/Utf8Cut.h"

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
        writeText(node);
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
    if (node.tag == "input") {
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
    for (const auto& child : node.children) {
        write(*child);
    }
}

void LayoutWriter::writeText(const Node& node) {
    if (m_out.size() >= kMaxLayoutBytes) {
        return;
    }
    if (node.parent && oneOf(node.parent->tag, {"style", "script"})) {
        m_out += node.text;
        return;
    }
    // A text past what is left of the budget is cut at a character.
    std::string_view text = node.text;
    text = text.substr(0, utf8CutPoint(text, kMaxLayoutBytes - m_out.size()));
    auto anchor = m_anchors.find(node.id);
    if (anchor == m_anchors.end()) {
        escapeInto(m_out, text, false);
        return;
    }
    m_out += "<campus-item data-campus-item=\"";
    m_out += std::to_string(anchor->second);
    m_out += "\">";
    escapeInto(m_out, text, false);
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
    m_out += '<';
    m_out += tag;
    for (const auto& [name, value] : node.attributes) {
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
    }
    m_out += '>';
}

void LayoutWriter::close(std::string_view tag) {
    m_out += "</";
    m_out += tag;
    m_out += '>';
}

void LayoutWriter::writeField(const Node& node) {
    const std::string* typeAttribute = node.attribute("type");
    const std::string type = lowercasedAscii(typeAttribute ? trimmed(*typeAttribute) : "");
    if (type == "hidden") {
        return;
    }
    open("campus-field", node);
    const std::string* value = node.attribute("value");
    if (value && type != "password") {
        escapeInto(m_out, *value, false);
    } else if (value) {
        for (std::size_t i = 0; i < std::min<std::size_t>(value->size(), 64); ++i) {
            m_out += "•";
        }
    }
    close("campus-field");
}

}  // namespace platform::web
