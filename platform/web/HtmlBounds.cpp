#include "platform/web/HtmlBounds.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <initializer_list>
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

// The formatting elements: those the parser makes again in a later block while they are open.
bool isFormatting(std::string_view name) {
    return oneOf(name, {"a", "b", "big", "code", "em", "font", "i", "nobr", "s", "small", "strike",
                        "strong", "tt", "u"});
}

// Elements whose content is a scope of its own for the formatting elements: those opened
// outside are not made again inside, those inside end with it. A table stands for one here
// (the parser keeps what is open before it out of its cells).
bool isFormattingScope(std::string_view name) {
    return oneOf(name, {"td", "th", "caption", "applet", "object", "marquee", "template", "table"});
}

// Start tags that close a paragraph (or are one, or a list item): what they hold is a new
// block. Neither they nor table parts or the head's elements have the parser make the open
// formatting elements again; any other start tag, or text, does.
bool startsBlock(std::string_view name) {
    return oneOf(
        name,
        {"p",       "div",    "ul",    "ol",       "dl",         "li",      "dd",         "dt",
         "h1",      "h2",     "h3",    "h4",       "h5",         "h6",      "blockquote", "pre",
         "listing", "form",   "table", "hr",       "address",    "article", "aside",      "center",
         "details", "dialog", "dir",   "fieldset", "figcaption", "figure",  "footer",     "header",
         "hgroup",  "main",   "menu",  "nav",      "section",    "summary", "plaintext"});
}

bool remakesNothing(std::string_view name) {
    return startsBlock(name) ||
           oneOf(name,
                 {"html",  "head",   "body",    "frameset", "frame",    "base",    "link", "meta",
                  "style", "script", "title",   "noscript", "tr",       "td",      "th",   "tbody",
                  "thead", "tfoot",  "caption", "col",      "colgroup", "template"});
}

// Blocks after which the formatting elements opened in them are made again in the next.
bool isParagraphLike(std::string_view name) {
    return oneOf(name, {"p", "li", "dd", "dt", "h1", "h2", "h3", "h4", "h5", "h6"});
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
            // Text has the parser make the open formatting elements again.
            if ((lt == std::string::npos ? n : lt) > i && !remake(i)) {
                break;
            }
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
    struct Formatting {
        std::string name;
        // The attributes as written, hashed.
        size_t attributes;
        // How many elements of m_open stood around it when it was made.
        size_t within;
        // The paragraph-like block it was made in; 0 for none.
        size_t block;
        // Out of the document's open elements: made again at the next text or inline element.
        bool detached;
        // The start of a scope (isFormattingScope), not a formatting element.
        bool scope;
    };
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
        formattingEnd();
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
            detachClosed();
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
        if (!remakesNothing(m_name) && !remake(lt)) {
            return n;
        }
        if (isFormatting(m_name) && !formattingStart(lt + 1 + m_name.size(), p)) {
            m_dropped.push_back(m_name);
            --m_result.elements;
            leaveOut(lt, tagEnd);
            return tagEnd;
        }
        formattingBlocks();
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

    // --- The parser's list of open formatting elements, as far as the markup tells it ------

    // Past the last scope's start: the list the parser makes again from.
    size_t scopeStart() const {
        size_t at = m_formatting.size();
        while (at > 0 && !m_formatting[at - 1].scope) {
            --at;
        }
        return at;
    }

    bool detached(const Formatting& entry) const {
        return entry.detached || (entry.block != 0 && entry.block != m_block);
    }

    // Text or an inline element at `at`: the parser makes again each element of the list it
    // left (its block closed). False, the input cut at `at`, past maxRemade.
    bool remake(size_t at) {
        if (m_attached) {
            return true;
        }
        m_attached = true;
        for (size_t i = scopeStart(); i < m_formatting.size(); ++i) {
            Formatting& entry = m_formatting[i];
            if (detached(entry)) {
                ++m_remade;
                entry.detached = false;
                entry.block = m_block;
                entry.within = m_open.size();
            }
        }
        if (m_remade > m_bounds.maxRemade) {
            m_cutAt = at;
            m_result.cut = true;
            m_result.remadePastBound = true;
            return false;
        }
        return true;
    }

    // An element closed: what was opened inside it is no longer in the document's open
    // elements.
    void detachClosed() {
        for (size_t i = scopeStart(); i < m_formatting.size(); ++i) {
            if (m_formatting[i].within > m_open.size()) {
                m_formatting[i].detached = true;
                m_attached = false;
            }
        }
    }

    // A formatting start tag whose attributes are written in [from, to): false when the list
    // is full (the tag is left out).
    bool formattingStart(size_t from, size_t to) {
        const size_t start = scopeStart();
        const size_t attributes = std::hash<std::string_view>()(
            std::string_view(m_html).substr(from, to > from ? to - from : 0));
        // A second link or nobr ends the first; a fourth alike takes the first's place.
        if (m_name == "a" || m_name == "nobr") {
            eraseLast(start, m_name);
        }
        size_t alike = 0;
        size_t first = m_formatting.size();
        for (size_t i = start; i < m_formatting.size(); ++i) {
            if (m_formatting[i].name == m_name && m_formatting[i].attributes == attributes) {
                first = alike++ == 0 ? i : first;
            }
        }
        if (alike >= 3) {
            m_formatting.erase(m_formatting.begin() + std::ptrdiff_t(first));
        }
        if (m_formatting.size() - start >= m_bounds.maxOpenFormatting) {
            return false;
        }
        // Pushed on m_open after this when it nests (a and nobr do not).
        m_formatting.push_back({m_name, attributes, m_open.size(), m_block, false, false});
        return true;
    }

    void eraseLast(size_t start, std::string_view name) {
        for (size_t i = m_formatting.size(); i > start; --i) {
            if (m_formatting[i - 1].name == name) {
                m_formatting.erase(m_formatting.begin() + std::ptrdiff_t(i - 1));
                return;
            }
        }
    }

    // Pops the list down past the last scope started by a tag of one of `names`, if any.
    void closeScope(std::initializer_list<std::string_view> names) {
        for (size_t i = m_formatting.size(); i > 0; --i) {
            if (m_formatting[i - 1].scope && oneOf(m_formatting[i - 1].name, names)) {
                m_formatting.resize(i - 1);
                // What the closed scope hid is made again where it left off.
                detachClosed();
                m_attached = false;
                return;
            }
        }
    }

    bool lastScopeIs(std::initializer_list<std::string_view> names) const {
        const size_t start = scopeStart();
        return start > 0 && oneOf(m_formatting[start - 1].name, names);
    }

    // A start tag other than a formatting one: blocks and scopes it opens or closes.
    void formattingBlocks() {
        if (startsBlock(m_name)) {
            m_block = isParagraphLike(m_name) ? ++m_blocks : 0;
            m_attached = false;
        }
        if (oneOf(m_name, {"td", "th", "tr", "tbody", "thead", "tfoot", "caption"}) &&
            lastScopeIs({"td", "th", "caption"})) {
            closeScope({"td", "th", "caption"});
        }
        if (isFormattingScope(m_name) && m_formatting.size() < kMaxScopes) {
            m_formatting.push_back({m_name, 0, m_open.size(), 0, false, true});
        }
    }

    // An end tag (m_name).
    void formattingEnd() {
        if (isFormatting(m_name)) {
            eraseLast(scopeStart(), m_name);
        } else if (isFormattingScope(m_name)) {
            closeScope({m_name});
        } else if (oneOf(m_name, {"tr", "tbody", "thead", "tfoot"}) && lastScopeIs({"td", "th"})) {
            closeScope({"td", "th"});
        } else if (isParagraphLike(m_name)) {
            m_block = 0;
            m_attached = false;
        }
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

    // The scopes nest no deeper than the elements that make them.
    static constexpr size_t kMaxScopes = 4096;
    std::vector<Formatting> m_formatting;
    // No element of the list is detached.
    bool m_attached = true;
    // The paragraph-like block open (0: none), and how many have been.
    size_t m_block = 0;
    size_t m_blocks = 0;
    // Elements the parser makes again, so far.
    size_t m_remade = 0;
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
