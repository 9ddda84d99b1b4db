#include "platform/web/HtmlBounds.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/foundation/AsciiText.h"
#include "platform/foundation/Utf8Cut.h"

namespace platform {

namespace {

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool isVoid(std::string_view name) {
    return oneOf(name, {"area", "base", "br", "col", "embed", "hr", "img", "input", "keygen",
                        "link", "meta", "param", "source", "track", "wbr"});
}

// Elements whose content the parser reads as text up to their end tag.
bool isRawText(std::string_view name) {
    return oneOf(name,
                 {"script", "style", "textarea", "title", "xmp", "iframe", "noembed", "noframes"});
}

// Elements that cannot pile up inside one another: the next one (or the parent's end) closes
// them, or the parser makes them one.
bool doesNotNest(std::string_view name) {
    return oneOf(name, {"p",    "li",     "dt",    "dd",    "option", "optgroup", "tr",
                        "td",   "th",     "thead", "tbody", "tfoot",  "colgroup", "caption",
                        "rb",   "rt",     "rtc",   "rp",    "a",      "nobr",     "button",
                        "form", "select", "html",  "head",  "body",   "frameset"});
}

// Where `</name` starts at or after `from`, in any case; npos if nowhere.
size_t findEndTag(const std::string& html, size_t from, std::string_view name) {
    for (size_t at = html.find("</", from); at != std::string::npos; at = html.find("</", at + 2)) {
        if (at + 2 + name.size() > html.size()) {
            return std::string::npos;
        }
        if (equalsIgnoringCase(std::string_view(html).substr(at + 2, name.size()), name)) {
            return at;
        }
    }
    return std::string::npos;
}

class Scanner {
public:
    Scanner(std::string& html, const HtmlBounds& bounds, BoundedHtml& result)
        : m_html(html), m_bounds(bounds), m_result(result) {}

    void run() {
        const size_t n = m_html.size();
        size_t i = 0;
        while (i < n) {
            size_t lt = m_html.find('<', i);
            if (lt == std::string::npos || lt + 1 >= n) {
                break;
            }
            char next = m_html[lt + 1];
            if (m_html.compare(lt, 4, "<!--") == 0) {
                i = after(m_html.find("-->", lt + 4), 3);
            } else if (next == '!' || next == '?') {
                i = after(m_html.find('>', lt + 2), 1);
            } else if (next == '/') {
                i = endTag(lt);
            } else if (isAsciiLetter(next)) {
                i = startTag(lt);
            } else {
                i = lt + 1;
            }
        }
        finishOutput();
    }

private:
    size_t after(size_t found, size_t length) const {
        return found == std::string::npos ? m_html.size() : found + length;
    }

    size_t readName(size_t from, std::string& name) const {
        name.clear();
        size_t p = from;
        while (p < m_html.size() && !isSpace(m_html[p]) && m_html[p] != '/' && m_html[p] != '>') {
            name += lowerAscii(m_html[p]);
            ++p;
        }
        return p;
    }

    size_t endTag(size_t lt) {
        if (lt + 2 >= m_html.size() || !isAsciiLetter(m_html[lt + 2])) {
            return after(m_html.find('>', lt + 2), 1);  // a bogus comment
        }
        // An end tag has no use for attributes, but the parser reads (and compares) them all
        // the same.
        const size_t p = readAttributes(readName(lt + 2, m_name));
        const size_t tagEnd = p < m_html.size() ? p + 1 : p;
        if (!m_dropped.empty() && m_dropped.back() == m_name) {
            m_dropped.pop_back();
            leaveOut(lt, tagEnd);
            return tagEnd;
        }
        if (m_dropFrom != std::string::npos && p < m_html.size()) {
            leaveOut(m_dropFrom, p);
            m_result.attributesDropped = true;
        }
        auto open = std::find(m_open.rbegin(), m_open.rend(), m_name);
        if (open != m_open.rend()) {
            for (auto it = m_open.rbegin(); it != open + 1; ++it) {
                if (*it == "svg" || *it == "math") {
                    --m_foreign;
                }
            }
            m_open.erase(open.base() - 1, m_open.end());
            // What was left out inside the closed element is closed with it.
            m_dropped.clear();
        }
        return tagEnd;
    }

    // Reads the attributes of a start tag from `p` (just past its name) as the parser's
    // tokenizer does, up to the '>' that ends the tag (n if none does). Where attributes past
    // the bound start is kept in m_dropFrom (npos if none are).
    size_t readAttributes(size_t p) {
        const size_t n = m_html.size();
        size_t count = 0;
        m_dropFrom = std::string::npos;
        for (;;) {
            while (p < n && (isSpace(m_html[p]) || m_html[p] == '/')) {
                ++p;
            }
            if (p >= n || m_html[p] == '>') {
                return p;
            }
            if (m_dropFrom == std::string::npos) {
                if (++count > m_bounds.maxAttributes ||
                    m_attributes >= m_bounds.maxTotalAttributes) {
                    m_dropFrom = p;
                } else {
                    ++m_attributes;
                }
            }
            // The name: a leading '=' belongs to it.
            ++p;
            while (p < n && !isSpace(m_html[p]) && m_html[p] != '/' && m_html[p] != '>' &&
                   m_html[p] != '=') {
                ++p;
            }
            size_t q = p;
            while (q < n && isSpace(m_html[q])) {
                ++q;
            }
            if (q >= n || m_html[q] != '=') {
                continue;  // no value; what follows the blanks is the next attribute
            }
            p = q + 1;
            while (p < n && isSpace(m_html[p])) {
                ++p;
            }
            if (p < n && (m_html[p] == '"' || m_html[p] == '\'')) {
                p = after(m_html.find(m_html[p], p + 1), 1);
            } else {
                while (p < n && !isSpace(m_html[p]) && m_html[p] != '>') {
                    ++p;
                }
            }
        }
    }

    size_t startTag(size_t lt) {
        const size_t n = m_html.size();
        size_t p = readAttributes(readName(lt + 1, m_name));
        if (p >= n) {
            return n;  // a tag left open at the end, which the parser drops
        }
        const bool selfClosing = m_html[p - 1] == '/';
        const size_t tagEnd = p + 1;
        if (m_result.elements >= m_bounds.maxElements) {
            m_cutAt = lt;
            m_result.cut = true;
            return n;
        }
        ++m_result.elements;
        const bool rawText = m_foreign == 0 && isRawText(m_name) && !selfClosing;
        const bool nests = !rawText && m_name != "plaintext" && !isVoid(m_name) &&
                           !doesNotNest(m_name) && !(selfClosing && m_foreign > 0);
        if (nests && m_open.size() >= size_t(std::max(m_bounds.maxDepth, 0))) {
            m_dropped.push_back(m_name);
            m_result.flattened = true;
            --m_result.elements;
            leaveOut(lt, tagEnd);
            return tagEnd;
        }
        if (m_dropFrom != std::string::npos) {
            // Up to the tag's end, leaving a '/' that closes it.
            leaveOut(m_dropFrom, selfClosing ? p - 1 : p);
            m_result.attributesDropped = true;
        }
        if (rawText) {
            return after(findEndTag(m_html, tagEnd, m_name), 0);
        }
        if (m_name == "plaintext") {
            return n;
        }
        if (!nests) {
            return tagEnd;
        }
        m_open.push_back(m_name);
        if (m_name == "svg" || m_name == "math") {
            ++m_foreign;
        }
        return tagEnd;
    }

    // Leaves [from, to) out of the output.
    void leaveOut(size_t from, size_t to) {
        if (!m_rewriting) {
            m_rewriting = true;
            m_out.reserve(m_html.size());
        }
        m_out.append(m_html, m_copied, from - m_copied);
        m_copied = to;
    }

    void finishOutput() {
        const size_t end = std::min(m_cutAt, m_html.size());
        if (m_rewriting) {
            m_out.append(m_html, m_copied, end > m_copied ? end - m_copied : 0);
            m_html = std::move(m_out);
        } else {
            m_html.resize(end);
        }
    }

    std::string& m_html;
    const HtmlBounds& m_bounds;
    BoundedHtml& m_result;
    std::vector<std::string> m_open;
    std::vector<std::string> m_dropped;
    int m_foreign = 0;
    std::string m_name;
    bool m_rewriting = false;
    std::string m_out;
    size_t m_copied = 0;
    size_t m_cutAt = std::string::npos;
    size_t m_dropFrom = std::string::npos;
    // Attributes kept so far.
    size_t m_attributes = 0;
};

}  // namespace

BoundedHtml boundHtml(std::string html, const HtmlBounds& bounds) {
    BoundedHtml result;
    if (html.size() > bounds.maxBytes) {
        html.resize(utf8CutPoint(html, bounds.maxBytes));
        result.cut = true;
    }
    Scanner(html, bounds, result).run();
    result.html = std::move(html);
    return result;
}

}  // namespace platform
