#include "platform/web/LayoutWriter.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/foundation/AsciiText.h"
#include "platform/foundation/Utf8Cut.h"
#include "platform/web/HtmlCutNotice.h"
#include "platform/web/WebPageState.h"

namespace platform::web {

namespace {

// Laying out a table, or a box that shrinks to fit, lays out its content more than once, so
// the cost grows exponentially with how deep they nest. Deeper than these, an element is
// given as a plain inline <campus-flat>: its content stays, its box goes. A table's rows and
// cells are as deep in tables as the table itself: school pages put a timetable in a column's
// table in a frame table.
constexpr int kMaxLayoutDepth = 128;
constexpr int kMaxLayoutTables = 8;

bool isTablePart(std::string_view tag) {
    return oneOf(
        tag, {"table", "tbody", "thead", "tfoot", "tr", "td", "th", "caption", "colgroup", "col"});
}

// Where the notice of a cut may stand as a line of its own: not among a table's rows (the
// parser would move it above the table), nor where nothing shows.
bool holdsNotice(std::string_view tag) {
    return !oneOf(tag, {"table", "tbody", "thead", "tfoot", "tr", "colgroup", "head"}) &&
           !isUnshown(tag);
}

}  // namespace

void LayoutWriter::write(const Node& node) {
    if (node.id == m_stopAt) {
        cutHere(Cut::Items);
    }
    if (m_cut != Cut::None) {
        return;
    }
    if (node.isText) {
        writeText(node, node.text);
        return;
    }
    if (node.tag == "#document") {
        writeChildren(node);
        return;
    }
    if (node.tag == "script") {
        return;
    }
    if (m_elements >= kMaxElements || m_out.size() >= kMaxBytes) {
        cutHere(m_elements >= kMaxElements ? Cut::Elements : Cut::Bytes);
        return;
    }
    ++m_elements;
    if (oneOf(node.tag, {"input", "textarea", "select"})) {
        writeField(node);
        return;
    }
    // A table's rows and cells count the table they stand in, as the table does itself.
    const int tables = m_tables + (node.tag == "table" ? 1 : 0);
    const int outerTables = std::exchange(m_tables, tables);
    if (m_depth >= kMaxLayoutDepth || (isTablePart(node.tag) && tables > kMaxLayoutTables)) {
        writeFlattened(node);
        m_tables = outerTables;
        return;
    }
    open(node.tag, node);
    if (!isVoid(node.tag)) {
        ++m_depth;
        writeChildren(node);
        --m_depth;
        closeElement(node, node.tag);
    }
    m_tables = outerTables;
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
    if (node.id == m_stopAt) {
        cutHere(Cut::Items);
    }
    if (m_cut != Cut::None || text.empty()) {
        return;
    }
    if (m_out.size() >= kMaxBytes) {
        cutHere(Cut::Bytes);
        return;
    }
    if (node.parent && oneOf(node.parent->tag, {"style", "script"})) {
        m_out += text;
        return;
    }
    // A text past what is left of the budget is cut at a character.
    if (text.size() > kMaxBytes - m_out.size()) {
        text = text.substr(0, utf8CutPoint(text, kMaxBytes - m_out.size()));
        cutHere(Cut::Bytes);
    }
    auto anchor = m_anchors.find(node.id);
    if (anchor == m_anchors.end() || node.id == m_markedByElement) {
        writeWords(node, text);
        return;
    }
    m_out += "<campus-item data-campus-item=\"";
    writeMark(anchor->second);
    m_out += "\">";
    writeWords(node, text);
    m_out += "</campus-item>";
}

void LayoutWriter::writeFlattened(const Node& node) {
    m_out += "<campus-flat";
    if (auto anchor = m_anchors.find(node.id); anchor != m_anchors.end()) {
        m_out += " data-campus-item=\"";
        writeMark(anchor->second);
        m_out += '"';
    }
    m_out += '>';
    writeChildren(node);
    closeElement(node, "campus-flat");
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
        writeMark(anchor->second);
        m_out += '"';
    } else if (node.children.size() == 1 && node.children.front()->isText) {
        const Node& text = *node.children.front();
        if (auto textAnchor = m_anchors.find(text.id); textAnchor != m_anchors.end()) {
            m_out += " data-campus-text=\"";
            writeMark(textAnchor->second);
            m_out += '"';
            m_markedByElement = text.id;
        }
    }
    m_out += '>';
}

void LayoutWriter::closeElement(const Node& node, std::string_view tag) {
    close(tag);
    // After the element, not in it: an element of an item would take the notice into its box.
    if (m_cut != Cut::None && (!node.parent || holdsNotice(node.parent->tag))) {
        writeCutNotice();
    }
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

void LayoutWriter::cutHere(Cut why) {
    if (m_cut == Cut::None) {
        m_cut = why;
    }
}

// A line of its own in the client's words, marked as the item the page's owner was given for
// it, so that the outline says it where the screen does. Styled here, whatever the page's
// style sheets say of the elements around it.
void LayoutWriter::writeCutNotice() {
    if (!m_writesNotice || m_noticeWritten) {
        return;
    }
    m_noticeWritten = true;
    m_out += "<campus-cut data-campus-item=\"";
    m_out += std::to_string(m_itemsWritten);
    m_out +=
        "\" style=\"display:block;clear:both;margin:12px 0;padding:8px 0;border-top:1px solid "
        "#c8c8c8;color:#666666;background:transparent;font-size:14px;font-style:normal;"
        "font-weight:normal;text-align:center;white-space:normal;visibility:visible\">";
    m_out += kCutNotice;
    m_out += "</campus-cut>";
}

void LayoutWriter::writeMark(int item) {
    m_out += std::to_string(item);
    m_itemsWritten = std::max(m_itemsWritten, std::size_t(item) + 1);
}

std::string LayoutWriter::take() {
    if (m_cut != Cut::None) {
        writeCutNotice();
    }
    return std::move(m_out);
}

}  // namespace platform::web
