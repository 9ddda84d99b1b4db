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
    // What the layout engine is given of a page at most. The engine's budget (HtmlEngineBudget)
    // bounds what any page costs, so these only need to sit past every page school sites
    // publish: an element of an ordinary page costs the phone some 30 us and 3 KB, so a
    // 3,000-row score table (12,000 elements) shows in some 0.4 s and a 2 MB article in some
    // 0.4 s and 100 MB, while a page of 50,000 elements is past the budget and shows as plain
    // text before it could reach its cap. A page past them is laid out up to where it
    // reached them, and says so there (kCutNotice). The document's own budget
    // (WebPage::kMaxNodes, kMaxTextBytes) lies beyond them: a page cut there is cut here
    // first.
    static constexpr std::size_t kMaxElements = 50'000;
    static constexpr std::size_t kMaxBytes = 2u << 20;

    explicit LayoutWriter(const std::unordered_map<int, int>& anchors) : m_anchors(anchors) {}

    void write(const Node& node);

    // Why the page was not given whole: it reached one of the writer's caps, or the node
    // where the page's items stopped (the page's budget of what it shows).
    // (Markup: the page's markup was cut before it was read, WebPageState::parse.)
    enum class Cut { None, Items, Elements, Bytes, Markup };
    // Writes nothing from this node on; -1: no such node.
    void stopAt(int node) { m_stopAt = node; }
    // Where the page is cut, a line saying so is written (kCutNotice), marked as the item
    // after the last one written; not for a single element given for a change.
    void writeNotice() { m_writesNotice = true; }
    // The page read was only the beginning of its markup: whatever was written, it ends with
    // the line, as a page cut here does.
    void cutAtEnd() { cutHere(Cut::Markup); }
    // How many of the items come before the cut: the notice's index.
    std::size_t itemsBeforeCut() const { return m_itemsWritten; }
    Cut cut() const { return m_cut; }

    std::string take();

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
    // Closes an element of the page (as `tag`). After a cut, the notice of the cut follows the
    // first element closed whose parent may hold it, so that it stands where the page stops.
    void closeElement(const Node& node, std::string_view tag);
    void writeField(const Node& node);
    void cutHere(Cut why);
    void writeCutNotice();
    void writeMark(int item);

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
    int m_stopAt = -1;
    bool m_writesNotice = false;
    // One past the highest item index marked so far.
    std::size_t m_itemsWritten = 0;
    Cut m_cut = Cut::None;
    bool m_noticeWritten = false;
};

}  // namespace platform::web
