// Where the layout engine may break the page's lines. The engine breaks between any two runs
// of text it is given (each text node, each element's text) and inside no run but at the
// words the container splits it into. So the writer keeps together the runs that meet where
// the language allows no break (an opening bracket before an element, a closing one or "。"
// after it): they go in a <campus-glue>, an inline box the engine moves to the next line
// whole. And a word too long for any line goes in a <campus-word>, an inline box whose
// characters may break: it moves to the next line whole when it fits there, and is cut
// between characters when it fits no line (as overflow-wrap does).

#include <vector>

#include "platform/foundation/AsciiText.h"
#include "platform/web/LayoutWriter.h"
#include "platform/web/LineBreaks.h"

namespace platform::web {

namespace {

// Between a word's characters: a break opportunity that takes no room.
constexpr std::string_view kZeroWidthSpace = "\u200B";

// The text at the start (or end) of what the node shows inline: "" when it shows none
// there, or when a box of its own stands there (a block, a cell, a picture, a control).
std::string_view edgeText(const Node& node, bool end) {
    if (node.isText) {
        return node.text;
    }
    if (isBlock(node.tag) || isVoid(node.tag) || isUnshown(node.tag) ||
        oneOf(node.tag, {"td", "th", "button", "textarea", "select"})) {
        return {};
    }
    const auto& children = node.children;
    for (std::size_t n = 0; n < children.size(); ++n) {
        const Node& child = *children[end ? children.size() - 1 - n : n];
        if (!child.isText || !child.text.empty()) {
            return edgeText(child, end);
        }
    }
    return {};
}

}  // namespace

bool LayoutWriter::writeGlued(const Node& node) {
    const auto& children = node.children;
    if (children.size() < 2 || keepsWhitespace(node)) {
        return false;
    }
    // glued[i]: children i and i + 1 must stand on one line. White space at the meeting
    // point is a break opportunity whatever stands around it.
    std::vector<bool> glued(children.size(), false);
    bool any = false;
    for (std::size_t i = 0; i + 1 < children.size(); ++i) {
        const std::string_view left = edgeText(*children[i], true);
        const std::string_view right = edgeText(*children[i + 1], false);
        glued[i] = !left.empty() && !right.empty() && !isSpace(left.back()) &&
                   !isSpace(right.front()) && !linebreaks::mayBreakBetween(left, right);
        any = any || glued[i];
    }
    if (!any) {
        return false;
    }
    auto openGlue = [this] {
        ++m_elements;
        m_out += "<campus-glue>";
    };
    for (std::size_t i = 0; i < children.size(); ++i) {
        const Node& child = *children[i];
        const bool gluedLeft = i > 0 && glued[i - 1];
        const bool gluedRight = glued[i];
        if (!child.isText) {
            if (gluedRight && !gluedLeft) {
                openGlue();
            }
            write(child);
            if (gluedLeft && !gluedRight) {
                close("campus-glue");
            }
            continue;
        }
        // A text gives the group before it only its first part that holds together, and the
        // group after it only its last.
        const std::string_view text = child.text;
        const std::size_t head = gluedLeft ? linebreaks::firstBreak(text) : 0;
        const std::size_t tail = gluedRight ? linebreaks::lastBreak(text) : text.size();
        if (gluedLeft && gluedRight && head >= tail) {
            writeText(child, text);
            continue;
        }
        if (gluedLeft) {
            writeText(child, text.substr(0, head));
            close("campus-glue");
        }
        writeText(child, text.substr(head, tail - head));
        if (gluedRight) {
            openGlue();
            writeText(child, text.substr(tail));
        }
    }
    return true;
}

void LayoutWriter::writeWords(const Node& node, std::string_view text) {
    if (keepsWhitespace(node)) {
        escapeInto(m_out, text, false);
        return;
    }
    std::size_t written = 0;
    for (const auto& [start, end] : linebreaks::longWords(text)) {
        escapeInto(m_out, text.substr(written, start - written), false);
        const std::string_view word = text.substr(start, end - start);
        m_out += "<campus-word>";
        std::size_t from = 0;
        for (const std::size_t bound : linebreaks::clusterBounds(word)) {
            escapeInto(m_out, word.substr(from, bound - from), false);
            m_out += kZeroWidthSpace;
            from = bound;
        }
        escapeInto(m_out, word.substr(from), false);
        m_out += "</campus-word>";
        written = end;
    }
    escapeInto(m_out, text.substr(written), false);
}

}  // namespace platform::web
