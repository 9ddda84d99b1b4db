#include "platform/web/WebPageNode.h"

#include "platform/foundation/AsciiText.h"
#include "platform/foundation/Utf8Cut.h"

namespace platform::web {

std::size_t textBytesOf(std::string_view text,
                        const std::vector<std::pair<std::string, std::string>>& attributes) {
    std::size_t bytes = text.size();
    for (const auto& [name, value] : attributes) {
        bytes += name.size() + value.size();
    }
    return bytes;
}

void cutText(std::string& text, std::size_t limit) {
    if (text.size() <= limit) {
        return;
    }
    text.resize(utf8CutPoint(text, limit));
    text += "…";
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

std::string trimmed(std::string_view text) {
    size_t first = 0;
    while (first < text.size() && isSpace(text[first])) {
        ++first;
    }
    size_t last = text.size();
    while (last > first && isSpace(text[last - 1])) {
        --last;
    }
    return std::string(text.substr(first, last - first));
}

bool isBlock(std::string_view tag) {
    return oneOf(tag,
                 {"address",    "article", "aside",  "blockquote", "body",  "caption", "center",
                  "dd",         "details", "dialog", "div",        "dl",    "dt",      "fieldset",
                  "figcaption", "figure",  "footer", "form",       "h1",    "h2",      "h3",
                  "h4",         "h5",      "h6",     "header",     "hr",    "html",    "legend",
                  "li",         "main",    "nav",    "ol",         "p",     "pre",     "section",
                  "summary",    "table",   "tbody",  "tfoot",      "thead", "tr",      "ul"});
}

bool isUnshown(std::string_view tag) {
    return oneOf(tag, {"head", "script", "style", "template", "noscript", "title", "iframe",
                       "object", "select"});
}

bool isVoid(std::string_view tag) {
    return oneOf(tag, {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta",
                       "param", "source", "track", "wbr"});
}

bool keepsWhitespace(const Node& node) {
    for (const Node* n = &node; n; n = n->parent) {
        if (!n->isText && (n->tag == "pre" || n->tag == "textarea")) {
            return true;
        }
    }
    return false;
}

void TextFlow::text(std::string_view text, bool pre) {
    if (pre) {
        startPending();
        m_out += text;
        return;
    }
    for (char c : text) {
        if (isSpace(c)) {
            m_space = true;
            continue;
        }
        startPending();
        m_out += c;
    }
}

void TextFlow::blockBoundary() {
    m_break = true;
    m_space = false;
}

void TextFlow::lineBreak() {
    m_out += '\n';
    m_break = false;
    m_space = false;
}

std::string TextFlow::take() {
    std::string out = trimmed(m_out);
    m_out.clear();
    m_break = false;
    m_space = false;
    return out;
}

void TextFlow::startPending() {
    if (m_break) {
        if (!m_out.empty() && m_out.back() != '\n') {
            m_out += '\n';
        }
    } else if (m_space && !m_out.empty() && m_out.back() != '\n') {
        m_out += ' ';
    }
    m_break = false;
    m_space = false;
}

void escapeInto(std::string& out, std::string_view text, bool attribute) {
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += attribute ? "<" : "&lt;";
                break;
            case '>':
                out += attribute ? ">" : "&gt;";
                break;
            case '"':
                out += attribute ? "&quot;" : "\"";
                break;
            default:
                out += c;
        }
    }
}

void serialize(const Node& node, std::string& out) {
    if (node.isText) {
        bool raw = node.parent && oneOf(node.parent->tag, {"script", "style"});
        if (raw) {
            out += node.text;
        } else {
            escapeInto(out, node.text, false);
        }
        return;
    }
    out += '<';
    out += node.tag;
    for (const auto& [name, value] : node.attributes) {
        out += ' ';
        out += name;
        out += "=\"";
        escapeInto(out, value, true);
        out += '"';
    }
    out += '>';
    if (isVoid(node.tag)) {
        return;
    }
    for (const auto& child : node.children) {
        serialize(*child, out);
    }
    out += "</";
    out += node.tag;
    out += '>';
}

}  // namespace platform::web
