#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The web page's document node and the text helpers every part of the page shares. Internal
// to this library: only the web page's own sources include it.

namespace platform::web {

// The text and attributes a node holds, as counted against the page's text budget.
std::size_t textBytesOf(std::string_view text,
                        const std::vector<std::pair<std::string, std::string>>& attributes);

// The text cut to at most `limit` bytes at a character's start, "…" marking the cut.
void cutText(std::string& text, std::size_t limit);

struct Node {
    int id = 0;
    bool isText = false;
    std::string tag;   // lower-case element name; "#document" for the document
    std::string text;  // a text node's data
    std::vector<std::pair<std::string, std::string>> attributes;
    std::vector<std::unique_ptr<Node>> children;
    Node* parent = nullptr;
    int depth = 0;
    // A <select> whose value a script set to one no option has: as in a browser it shows no
    // choice, though no option says so, until an option is chosen.
    bool noChoice = false;

    const std::string* attribute(std::string_view name) const {
        for (const auto& [key, value] : attributes) {
            if (key == name) {
                return &value;
            }
        }
        return nullptr;
    }
    void setAttribute(std::string_view name, std::string value) {
        for (auto& [key, existing] : attributes) {
            if (key == name) {
                existing = std::move(value);
                return;
            }
        }
        attributes.emplace_back(std::string(name), std::move(value));
    }
};

bool isSpace(char c);

std::string trimmed(std::string_view text);

bool isBlock(std::string_view tag);

// Elements whose content is never shown as text of the page.
bool isUnshown(std::string_view tag);

bool isVoid(std::string_view tag);

bool keepsWhitespace(const Node& node);

// Visible text as a reader sees it: runs of white space become one blank, blocks start new
// lines, <br> breaks a line; white space inside <pre> stands as written.
class TextFlow {
public:
    void text(std::string_view text, bool pre);
    void blockBoundary();
    void lineBreak();
    std::string take();

private:
    void startPending();

    std::string m_out;
    bool m_space = false;
    bool m_break = false;
};

void escapeInto(std::string& out, std::string_view text, bool attribute);

void serialize(const Node& node, std::string& out);

}  // namespace platform::web
