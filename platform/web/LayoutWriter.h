#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/web/WebPageNode.h"

// Internal to this library: only the web page's own sources include it.

namespace platform::web {

// The document as HTML for the layout engine. Each shown item's node is marked with its index
// (data-campus-item): an element carries the attribute, a text node is wrapped in a
// <campus-item> carrying it, unless it is all its element holds: that element then carries
// data-campus-text, and the item is what its children show. (An element costs the engine as
// much as a dozen characters of text, and most paragraphs are one text.) Scripts are left out. A
// field (<input>, <textarea>, <select>) is given as a <campus-field> showing what the field shows,
// with its state as attributes (WebPageState::fieldLayout), so that it has a box of its own size
// and shows its text: the engine draws nothing for an input.
class LayoutWriter {
public:
    explicit LayoutWriter(const std::unordered_map<int, int>& anchors) : m_anchors(anchors) {}

    void write(const Node& node);

    std::string take() { return std::move(m_out); }

    // Writes as if within `depth` elements, `tables` of them tables: one element of the
    // page, flattened or not as it is where it stands.
    void startAt(int depth, int tables) {
        m_depth = depth;
        m_tables = tables;
    }

private:
    void writeChildren(const Node& node);
    // The node's text, or the part of it given.
    void writeText(const Node& node, std::string_view text);
    void writeFlattened(const Node& node);
    void open(std::string_view tag, const Node& node);
    void open(std::string_view tag, const Node& node,
              const std::vector<std::pair<std::string, std::string>>& attributes);
    void close(std::string_view tag);
    void writeField(const Node& node);

    // Lines (LayoutWriterLines.cpp). The engine breaks a line between any two runs of text it
    // is given and inside no run: runs that meet where a line may not break are kept
    // together, and a word too long for any line is given as characters that may break.
    bool writeGlued(const Node& node);
    void writeWords(const Node& node, std::string_view text);

    const std::unordered_map<int, int>& m_anchors;
    // The text node whose mark its element, just opened, carries.
    int m_markedByElement = -1;
    std::string m_out;
    std::size_t m_elements = 0;
    int m_depth = 0;
    int m_tables = 0;
};

}  // namespace platform::web
