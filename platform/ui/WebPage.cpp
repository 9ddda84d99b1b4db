#include "platform/ui/WebPage.h"

#include <curl/curl.h>
#include <duktape.h>
#include <gumbo.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <initializer_list>
#include <optional>
#include <unordered_map>
#include <utility>

#include "platform/foundation/AsciiText.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/URLEscaping.h"
#include "platform/foundation/Utf8Cut.h"
#include "platform/ui/HtmlBounds.h"
#include "platform/ui/ScriptDeadline.h"

namespace platform {

namespace {

// Deeper nesting than this is left out of the document: every walk below is recursive, and a
// hostile page must not be able to exhaust the stack with it.
constexpr int kMaxDepth = 256;
// What the parser is given is flattened a little above that (html and body, and elements that
// do not count as nesting there, such as table rows and cells, take levels of their own).
constexpr int kMaxParsedDepth = kMaxDepth - 16;

// The parser's options: no parse errors are kept (each keeps a copy of the open elements, so
// their memory grows with the square of the nesting depth, and nothing reads them).
GumboOptions parserOptions() {
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    return options;
}

// The text and attributes a node holds, as counted against the page's text budget.
std::size_t textBytesOf(std::string_view text,
                        const std::vector<std::pair<std::string, std::string>>& attributes) {
    std::size_t bytes = text.size();
    for (const auto& [name, value] : attributes) {
        bytes += name.size() + value.size();
    }
    return bytes;
}

// The text cut to at most `limit` bytes at a character's start, "…" marking the cut.
void cutText(std::string& text, std::size_t limit) {
    if (text.size() <= limit) {
        return;
    }
    text.resize(utf8CutPoint(text, limit));
    text += "…";
}

struct Node {
    int id = 0;
    bool isText = false;
    std::string tag;   // lower-case element name; "#document" for the document
    std::string text;  // a text node's data
    std::vector<std::pair<std::string, std::string>> attributes;
    std::vector<std::unique_ptr<Node>> children;
    Node* parent = nullptr;
    int depth = 0;

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

// Elements whose content is never shown as text of the page.
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

// Visible text as a reader sees it: runs of white space become one blank, blocks start new
// lines, <br> breaks a line; white space inside <pre> stands as written.
class TextFlow {
public:
    void text(std::string_view text, bool pre) {
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
    void blockBoundary() {
        m_break = true;
        m_space = false;
    }
    void lineBreak() {
        m_out += '\n';
        m_break = false;
        m_space = false;
    }
    std::string take() {
        std::string out = trimmed(m_out);
        m_out.clear();
        m_break = false;
        m_space = false;
        return out;
    }

private:
    void startPending() {
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

    std::string m_out;
    bool m_space = false;
    bool m_break = false;
};

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

// The document as HTML for the layout engine. Each shown item's node is marked with its index
// (data-campus-item): an element carries the attribute, a text node is wrapped in a
// <campus-item> carrying it. Scripts are left out. A field (<input>) is given as a
// <campus-field> holding its value, so that it has a box of its own size and shows its text:
// the engine draws nothing for an input.
class LayoutWriter {
public:
    explicit LayoutWriter(const std::unordered_map<int, int>& anchors) : m_anchors(anchors) {}

    void write(const Node& node) {
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

    std::string take() { return std::move(m_out); }

private:
    void writeChildren(const Node& node) {
        for (const auto& child : node.children) {
            write(*child);
        }
    }

    void writeText(const Node& node) {
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

    void writeFlattened(const Node& node) {
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

    void open(std::string_view tag, const Node& node) {
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

    void close(std::string_view tag) {
        m_out += "</";
        m_out += tag;
        m_out += '>';
    }

    void writeField(const Node& node) {
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

    const std::unordered_map<int, int>& m_anchors;
    std::string m_out;
    std::size_t m_elements = 0;
    int m_depth = 0;
    int m_tables = 0;
};

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) {
            return false;
        }
    }
    return true;
}

// The script of a <script> element, if it is an inline one the page runs.
bool isRunnableScript(const Node& node) {
    if (node.isText || node.tag != "script") {
        return false;
    }
    if (node.attribute("src")) {
        return false;
    }
    const std::string* type = node.attribute("type");
    if (!type || trimmed(*type).empty()) {
        return true;
    }
    std::string lower;
    for (char c : trimmed(*type)) {
        lower += char(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower.find("javascript") != std::string::npos || lower == "module" ||
           lower == "text/ecmascript" || lower == "application/ecmascript";
}

// --- The script host, written in script over a few native calls ------------------------------

// Called with the native calls and the global object; answers the function that wraps a node
// number as an element object.
constexpr const char* kPrelude = R"JS((function (h, global) {
    function Element(n) { Object.defineProperty(this, '__node', { value: n }); }
    ['innerText', 'textContent', 'innerHTML', 'outerHTML', 'value'].forEach(function (p) {
        Object.defineProperty(Element.prototype, p, {
            get: function () { return h.get(this.__node, p); },
            set: function (v) { h.set(this.__node, p, String(v)); }
        });
    });
    ['id', 'tagName'].forEach(function (p) {
        Object.defineProperty(Element.prototype, p, {
            get: function () { return h.get(this.__node, p); }
        });
    });
    Element.prototype.getAttribute = function (name) { return h.attribute(this.__node, String(name)); };
    function element(n) { return n < 0 ? null : new Element(n); }
    function go(v) { h.navigate(String(v)); }
    var location = {};
    Object.defineProperty(location, 'href', { get: h.href, set: go, enumerable: true });
    location.assign = go;
    location.replace = go;
    location.toString = h.href;
    var document = {
        getElementById: function (id) { return element(h.find(String(id))); }
    };
    Object.defineProperty(document, 'title', {
        get: h.title, set: function (v) { h.setTitle(String(v)); }, enumerable: true
    });
    Object.defineProperty(document, 'URL', { get: h.href });
    Object.defineProperty(document, 'body', { get: function () { return element(h.body()); } });
    Object.defineProperty(document, 'documentElement', {
        get: function () { return element(h.root()); }
    });
    Object.defineProperty(document, 'location', {
        get: function () { return location; }, set: go
    });
    var console = {
        log: function () { h.log(Array.prototype.map.call(arguments, String).join(' ')); }
    };
    console.info = console.warn = console.error = console.debug = console.log;
    Object.defineProperty(global, 'window', { value: global });
    Object.defineProperty(global, 'self', { value: global });
    Object.defineProperty(global, 'document', { value: document });
    Object.defineProperty(global, 'location', {
        get: function () { return location; }, set: go
    });
    global.console = console;
    return element;
}))JS";

}  // namespace

// --- The page --------------------------------------------------------------------------------

// The document and its script context; WebPage::Impl is this, under the name the header gives.
class WebPageState {
public:
    using Item = WebPage::Item;

    WebPageState(std::string html, std::string url, std::string baseURL,
                 std::function<void(const std::string&)> onNavigate)
        : m_url(std::move(url)),
          m_base(baseURL.empty() ? m_url : std::move(baseURL)),
          m_onNavigate(std::move(onNavigate)) {
        parse(std::move(html));
    }

    ~WebPageState() {
        if (m_ctx) {
            // Finalizers the page left run now, within a deadline like any other script.
            ScriptRun scriptRun(m_deadline);
            duk_destroy_heap(m_ctx);
        }
    }

    // --- Document --------------------------------------------------------------------------

    void parse(std::string source) {
        BoundedHtml html = boundHtml(std::move(source), htmlBounds(0));
        noteBounded(html);
        const GumboOptions options = parserOptions();
        GumboOutput* output =
            gumbo_parse_with_options(&options, html.html.data(), html.html.size());
        html.html = std::string();
        m_document = std::make_unique<Node>();
        m_document->tag = "#document";
        m_document->id = m_nextId++;
        m_nodes[m_document->id] = m_document.get();
        if (output) {
            appendChildren(*m_document, &output->document->v.document.children);
            gumbo_destroy_output(&options, output);
        }
        if (Node* title = findFirst(*m_document, [](const Node& n) { return n.tag == "title"; })) {
            m_title = collapsed(*title);
            cutText(m_title, WebPage::kMaxItemText);
        }
        collectScripts(*m_document);
    }

    void appendChildren(Node& parent, const GumboVector* children) {
        for (unsigned i = 0; i < children->length; ++i) {
            auto child = convert(static_cast<const GumboNode*>(children->data[i]), parent);
            if (child) {
                parent.children.push_back(std::move(child));
            }
        }
    }

    std::unique_ptr<Node> convert(const GumboNode* source, Node& parent) {
        if (parent.depth + 1 > kMaxDepth) {
            return nullptr;
        }
        if (m_nodes.size() >= WebPage::kMaxNodes) {
            overBudget();
            return nullptr;
        }
        auto node = std::make_unique<Node>();
        node->parent = &parent;
        node->depth = parent.depth + 1;
        const GumboVector* children = nullptr;
        switch (source->type) {
            case GUMBO_NODE_TEXT:
            case GUMBO_NODE_WHITESPACE:
            case GUMBO_NODE_CDATA:
                node->isText = true;
                node->text = source->v.text.text ? source->v.text.text : "";
                break;
            case GUMBO_NODE_ELEMENT:
            case GUMBO_NODE_TEMPLATE: {
                const GumboElement& element = source->v.element;
                node->tag = tagName(element);
                for (unsigned i = 0; i < element.attributes.length; ++i) {
                    auto* attribute =
                        static_cast<const GumboAttribute*>(element.attributes.data[i]);
                    if (!node->attribute(attribute->name)) {
                        node->attributes.emplace_back(attribute->name, attribute->value);
                    }
                }
                children = &element.children;
                break;
            }
            default:  // comments, and a document inside a document
                return nullptr;
        }
        // Counted before its children, so that a page cut by its budget keeps its outer
        // elements (html, body) and loses what comes last.
        if (!admit(textBytesOf(node->text, node->attributes))) {
            return nullptr;
        }
        node->id = m_nextId++;
        m_nodes[node->id] = node.get();
        if (children) {
            appendChildren(*node, children);
        }
        return node;
    }

    // --- Budget ----------------------------------------------------------------------------

    // What the parser may be given of HTML going under a node at this depth.
    HtmlBounds htmlBounds(int depth) const {
        HtmlBounds bounds;
        bounds.maxDepth = std::max(0, kMaxParsedDepth - depth);
        bounds.maxElements = WebPage::kMaxNodes - std::min(m_nodes.size(), WebPage::kMaxNodes);
        bounds.maxBytes = WebPage::kMaxTextBytes - std::min(m_textBytes, WebPage::kMaxTextBytes);
        return bounds;
    }

    void noteBounded(const BoundedHtml& html) {
        if (html.flattened && !m_flattenedLogged) {
            m_flattenedLogged = true;
            log("web page: %@ nests elements deeper than %@ levels; the deeper ones are "
                "flattened",
                m_url, kMaxParsedDepth);
        }
        if (html.cut) {
            overBudget();
        }
    }

    // Counts a node holding this much text against the budget; false when it does not fit.
    bool admit(std::size_t textBytes) {
        if (m_nodes.size() >= WebPage::kMaxNodes ||
            textBytes > WebPage::kMaxTextBytes - m_textBytes) {
            overBudget();
            return false;
        }
        m_textBytes += textBytes;
        return true;
    }

    void overBudget() {
        m_refused = true;
        if (!m_budgetLogged) {
            m_budgetLogged = true;
            log("web page: %@ reached its budget of %@ nodes and %@ MB of text; it grows no "
                "further",
                m_url, WebPage::kMaxNodes, WebPage::kMaxTextBytes >> 20);
        }
    }

    static std::string tagName(const GumboElement& element) {
        if (element.tag != GUMBO_TAG_UNKNOWN) {
            return gumbo_normalized_tagname(element.tag);
        }
        GumboStringPiece piece = element.original_tag;
        gumbo_tag_from_original_text(&piece);
        std::string name;
        for (size_t i = 0; i < piece.length; ++i) {
            name += char(std::tolower(static_cast<unsigned char>(piece.data[i])));
        }
        return name.empty() ? "span" : name;
    }

    void collectScripts(const Node& node) {
        if (isRunnableScript(node)) {
            std::string source;
            for (const auto& child : node.children) {
                if (child->isText) {
                    source += child->text;
                }
            }
            m_scripts.push_back(std::move(source));
            return;
        }
        for (const auto& child : node.children) {
            collectScripts(*child);
        }
    }

    template <typename Predicate>
    Node* findFirst(Node& node, const Predicate& predicate) {
        if (!node.isText && predicate(node)) {
            return &node;
        }
        for (auto& child : node.children) {
            if (Node* found = findFirst(*child, predicate)) {
                return found;
            }
        }
        return nullptr;
    }

    Node* nodeById(int id) {
        auto it = m_nodes.find(id);
        return it == m_nodes.end() ? nullptr : it->second;
    }

    Node* root() {
        for (auto& child : m_document->children) {
            if (!child->isText && child->tag == "html") {
                return child.get();
            }
        }
        return nullptr;
    }

    Node* body() {
        Node* html = root();
        if (!html) {
            return nullptr;
        }
        for (auto& child : html->children) {
            if (!child->isText && (child->tag == "body" || child->tag == "frameset")) {
                return child.get();
            }
        }
        return nullptr;
    }

    Node* elementWithId(std::string_view id) {
        if (id.empty()) {
            return nullptr;
        }
        return findFirst(*m_document, [&](const Node& n) {
            const std::string* own = n.attribute("id");
            return own && *own == id;
        });
    }

    // The element's text with white space collapsed to single blanks (a title).
    static std::string collapsed(const Node& node) {
        TextFlow flow;
        appendText(node, flow, false);
        std::string text = flow.take();
        std::replace(text.begin(), text.end(), '\n', ' ');
        return text;
    }

    static void appendText(const Node& node, TextFlow& flow, bool layout) {
        if (node.isText) {
            flow.text(node.text, layout && keepsWhitespace(node));
            return;
        }
        for (const auto& child : node.children) {
            if (child->isText) {
                appendText(*child, flow, layout);
                continue;
            }
            const std::string& tag = child->tag;
            if (layout && isUnshown(tag)) {
                continue;
            }
            if (tag == "br") {
                flow.lineBreak();
                continue;
            }
            bool block = layout && isBlock(tag);
            if (block) {
                flow.blockBoundary();
            } else if (layout && (tag == "td" || tag == "th")) {
                flow.text(" ", false);
            }
            appendText(*child, flow, layout);
            if (block) {
                flow.blockBoundary();
            }
        }
    }

    // innerText: the text as laid out, of an element in view or not.
    static std::string innerText(const Node& node) {
        TextFlow flow;
        if (keepsWhitespace(node)) {
            // The whole of a <pre> keeps its text as written.
            std::string text;
            textContent(node, text);
            return text;
        }
        appendText(node, flow, true);
        return flow.take();
    }

    static void textContent(const Node& node, std::string& out) {
        if (node.isText) {
            out += node.text;
            return;
        }
        for (const auto& child : node.children) {
            textContent(*child, out);
        }
    }

    static std::optional<std::string> valueOf(const Node& node) {
        if (node.tag == "textarea") {
            std::string text;
            textContent(node, text);
            return text;
        }
        if (const std::string* value = node.attribute("value")) {
            return *value;
        }
        if (node.tag == "input" || node.tag == "select" || node.tag == "option") {
            return std::string();
        }
        return std::nullopt;
    }

    void removeChildren(Node& node) {
        for (auto& child : node.children) {
            forget(*child);
        }
        node.children.clear();
    }

    void forget(const Node& node) {
        if (m_nodes.erase(node.id) > 0) {
            m_textBytes -= std::min(m_textBytes, textBytesOf(node.text, node.attributes));
        }
        for (const auto& child : node.children) {
            forget(*child);
        }
    }

    void appendTextNode(Node& parent, std::string text) {
        if (parent.depth + 1 > kMaxDepth || !admit(text.size())) {
            return;
        }
        auto child = std::make_unique<Node>();
        child->isText = true;
        child->text = std::move(text);
        child->parent = &parent;
        child->depth = parent.depth + 1;
        child->id = m_nextId++;
        m_nodes[child->id] = child.get();
        parent.children.push_back(std::move(child));
    }

    void appendElement(Node& parent, std::string tag) {
        if (parent.depth + 1 > kMaxDepth || !admit(0)) {
            return;
        }
        auto child = std::make_unique<Node>();
        child->tag = std::move(tag);
        child->parent = &parent;
        child->depth = parent.depth + 1;
        child->id = m_nextId++;
        m_nodes[child->id] = child.get();
        parent.children.push_back(std::move(child));
    }

    void setInnerText(Node& node, std::string_view text, bool lineBreaksAsElements) {
        removeChildren(node);
        if (!lineBreaksAsElements || keepsWhitespace(node)) {
            if (!text.empty()) {
                appendTextNode(node, std::string(text));
            }
            return;
        }
        size_t start = 0;
        while (true) {
            size_t end = text.find('\n', start);
            std::string_view line = text.substr(start, end - start);
            if (!line.empty()) {
                appendTextNode(node, std::string(line));
            }
            if (end == std::string_view::npos) {
                break;
            }
            appendElement(node, "br");
            start = end + 1;
        }
    }

    void setInnerHTML(Node& node, std::string_view html) {
        removeChildren(node);
        GumboOptions options = kGumboDefaultOptions;
        GumboTag context = gumbo_tag_enum(node.tag.c_str());
        options.fragment_context = context == GUMBO_TAG_UNKNOWN ? GUMBO_TAG_DIV : context;
        options.fragment_namespace = GUMBO_NAMESPACE_HTML;
        options.max_errors = parserOptions().max_errors;
        BoundedHtml buffer = boundHtml(std::string(html), htmlBounds(node.depth));
        noteBounded(buffer);
        GumboOutput* output =
            gumbo_parse_with_options(&options, buffer.html.data(), buffer.html.size());
        if (!output) {
            return;
        }
        // A fragment's nodes are the children of the <html> element standing for the context.
        if (output->root && output->root->type == GUMBO_NODE_ELEMENT) {
            appendChildren(node, &output->root->v.element.children);
        }
        gumbo_destroy_output(&options, output);
    }

    // --- What the page shows ---------------------------------------------------------------

    // The items shown, within the budget of what one page may show.
    struct ShownItems {
        std::vector<Item> items;
        std::size_t text = 0;
        bool full = false;
        // Which node stands for each item where the page is laid out (see layoutHTML): an
        // element for links, buttons and elements, the first and last text node of a run of
        // text. Kept only when asked for.
        std::unordered_map<int, int>* anchors = nullptr;
        int runFirst = -1;
        int runLast = -1;

        // Whether the item was taken.
        bool add(Item item) {
            if (full) {
                return false;
            }
            if (items.size() >= WebPage::kMaxShownItems || text >= WebPage::kMaxShownText) {
                full = true;
                return false;
            }
            cutText(item.text, std::min(WebPage::kMaxItemText, WebPage::kMaxShownText - text));
            text += item.text.size();
            items.push_back(std::move(item));
            return true;
        }
        void anchor(int node) {
            if (anchors && node >= 0) {
                (*anchors)[node] = int(items.size()) - 1;
            }
        }
        void textNode(const Node& node, bool pre) {
            if (!anchors || !(pre ? !node.text.empty() : !trimmed(node.text).empty())) {
                return;
            }
            if (runFirst < 0) {
                runFirst = node.id;
            }
            runLast = node.id;
        }
    };

    std::vector<Item> items(std::unordered_map<int, int>* anchors = nullptr) {
        ShownItems shown;
        shown.anchors = anchors;
        Node* start = body();
        if (!start) {
            start = root() ? root() : m_document.get();
        }
        TextFlow flow;
        collectItems(*start, flow, shown);
        flushText(flow, shown);
        if (shown.full) {
            Item more;
            more.text = "…";
            shown.items.push_back(std::move(more));
        }
        return std::move(shown.items);
    }

    static void flushText(TextFlow& flow, ShownItems& items) {
        std::string text = flow.take();
        if (!text.empty()) {
            Item item;
            item.kind = Item::Kind::Text;
            item.text = std::move(text);
            if (items.add(std::move(item))) {
                items.anchor(items.runFirst);
                items.anchor(items.runLast);
            }
        }
        items.runFirst = -1;
        items.runLast = -1;
    }

    static bool isInteractive(const Node& node) {
        return !node.isText &&
               ((node.tag == "a" && node.attribute("href")) || node.attribute("onclick"));
    }

    static bool holdsItems(const Node& node) {
        for (const auto& child : node.children) {
            if (!child->isText &&
                (isInteractive(*child) || child->attribute("id") || holdsItems(*child))) {
                return true;
            }
        }
        return false;
    }

    static bool isHiddenElement(const Node& node) {
        if (node.attribute("hidden")) {
            return true;
        }
        const std::string* type = node.attribute("type");
        return node.tag == "input" && type && trimmed(*type) == "hidden";
    }

    void collectItems(const Node& node, TextFlow& flow, ShownItems& items) {
        for (const auto& childPointer : node.children) {
            if (items.full) {
                return;
            }
            const Node& child = *childPointer;
            if (child.isText) {
                const bool pre = keepsWhitespace(child);
                items.textNode(child, pre);
                flow.text(child.text, pre);
                continue;
            }
            const std::string& tag = child.tag;
            if (isUnshown(tag) || isHiddenElement(child)) {
                continue;
            }
            if (tag == "br") {
                flow.lineBreak();
                continue;
            }
            const std::string* id = child.attribute("id");
            if (isInteractive(child)) {
                flushText(flow, items);
                Item item;
                const std::string* href = child.attribute("href");
                item.kind = tag == "a" && href ? Item::Kind::Link : Item::Kind::Button;
                item.node = child.id;
                item.href = href ? *href : "";
                item.id = id ? *id : "";
                item.text = innerText(child);
                if (item.text.empty()) {
                    auto value = valueOf(child);
                    item.text = value && !value->empty() ? *value : item.href;
                }
                if (items.add(std::move(item))) {
                    items.anchor(child.id);
                }
                continue;
            }
            if (id && !id->empty() && !holdsItems(child)) {
                flushText(flow, items);
                Item item;
                item.kind = Item::Kind::Element;
                item.node = child.id;
                item.id = *id;
                auto value = oneOf(tag, {"input", "textarea"}) ? valueOf(child) : std::nullopt;
                item.text = value ? *value : innerText(child);
                if (items.add(std::move(item))) {
                    items.anchor(child.id);
                }
                continue;
            }
            if (oneOf(tag, {"input", "textarea"})) {
                continue;  // a field without an id has nothing to show here
            }
            bool block = isBlock(tag);
            if (block) {
                flushText(flow, items);
            } else if (tag == "td" || tag == "th") {
                flow.text(" ", false);
            }
            collectItems(child, flow, items);
            if (block) {
                flushText(flow, items);
            }
        }
    }

    std::string layoutHTML() {
        std::unordered_map<int, int> anchors;
        items(&anchors);
        LayoutWriter writer(anchors);
        writer.write(*m_document);
        return writer.take();
    }

    // --- Addresses -------------------------------------------------------------------------

    std::string resolve(std::string_view written) const {
        std::string href = trimmed(written);
        if (href.empty()) {
            return m_url;
        }
        if (hasURLScheme(href)) {
            return href;
        }
        std::string resolved = href;
        CURLU* url = curl_url();
        if (!url) {
            return resolved;
        }
        const unsigned flags = CURLU_NON_SUPPORT_SCHEME | CURLU_ALLOW_SPACE;
        if (curl_url_set(url, CURLUPART_URL, m_base.c_str(), flags) == CURLUE_OK &&
            curl_url_set(url, CURLUPART_URL, href.c_str(), flags) == CURLUE_OK) {
            char* out = nullptr;
            if (curl_url_get(url, CURLUPART_URL, &out, 0) == CURLUE_OK && out) {
                resolved = out;
            }
            curl_free(out);
        }
        curl_url_cleanup(url);
        return resolved;
    }

    // --- Native calls (run inside the script engine; they never throw) ----------------------

    void navigate(std::string_view href) noexcept {
        try {
            std::string target = resolve(href);
            if (m_onNavigate) {
                m_onNavigate(target);
            }
        } catch (const std::exception& error) {
            log("web page: navigation to %@ failed: %@", std::string(href), error.what());
        }
    }

    bool setTitle(std::string_view title) noexcept {
        try {
            m_title = std::string(title.substr(0, WebPage::kMaxItemText + 1));
            cutText(m_title, WebPage::kMaxItemText);
            if (Node* node =
                    findFirst(*m_document, [](const Node& n) { return n.tag == "title"; })) {
                setInnerText(*node, title, false);
            }
            ++m_version;
            return true;
        } catch (const std::exception&) {
            return false;
        }
    }

    int find(std::string_view id) noexcept {
        try {
            Node* node = elementWithId(id);
            return node ? node->id : -1;
        } catch (const std::exception&) {
            return -1;
        }
    }

    int bodyId() noexcept {
        Node* node = body();
        return node ? node->id : -1;
    }

    int rootId() noexcept {
        Node* node = root();
        return node ? node->id : -1;
    }

    // Reads into m_scratch; false for undefined.
    bool read(int id, std::string_view property) noexcept {
        try {
            Node* node = nodeById(id);
            if (!node) {
                return false;
            }
            m_scratch.clear();
            if (property == "innerText") {
                m_scratch = innerText(*node);
            } else if (property == "textContent") {
                textContent(*node, m_scratch);
            } else if (property == "innerHTML") {
                for (const auto& child : node->children) {
                    serialize(*child, m_scratch);
                }
            } else if (property == "outerHTML") {
                serialize(*node, m_scratch);
            } else if (property == "value") {
                auto value = valueOf(*node);
                if (!value) {
                    return false;
                }
                m_scratch = std::move(*value);
            } else if (property == "id") {
                const std::string* own = node->attribute("id");
                m_scratch = own ? *own : "";
            } else if (property == "tagName") {
                for (char c : node->tag) {
                    m_scratch += char(std::toupper(static_cast<unsigned char>(c)));
                }
            } else {
                return false;
            }
            return true;
        } catch (const std::exception&) {
            return false;
        }
    }

    bool readAttribute(int id, std::string_view name) noexcept {
        try {
            Node* node = nodeById(id);
            const std::string* value = node ? node->attribute(name) : nullptr;
            if (!value) {
                return false;
            }
            m_scratch = *value;
            return true;
        } catch (const std::exception&) {
            return false;
        }
    }

    enum class Written { Done, Failed, PastBudget };

    Written write(int id, std::string_view property, std::string_view value) noexcept {
        try {
            Node* node = nodeById(id);
            if (!node) {
                return Written::Done;  // an element taken out of the page: the write goes nowhere
            }
            m_refused = false;
            if (property == "innerText") {
                setInnerText(*node, value, true);
            } else if (property == "textContent") {
                setInnerText(*node, value, false);
            } else if (property == "innerHTML") {
                setInnerHTML(*node, value);
            } else if (property == "value") {
                if (node->tag == "textarea") {
                    setInnerText(*node, value, false);
                } else {
                    setValueAttribute(*node, value);
                }
            } else {
                return Written::Done;  // outerHTML and the rest are read here only
            }
            if (node->tag == "title") {
                m_title = collapsed(*node);
                cutText(m_title, WebPage::kMaxItemText);
            }
            ++m_version;
            return m_refused ? Written::PastBudget : Written::Done;
        } catch (const std::exception&) {
            return Written::Failed;
        }
    }

    void setValueAttribute(Node& node, std::string_view value) {
        const std::string* old = node.attribute("value");
        std::size_t oldBytes = old ? old->size() + 5 : 0;
        m_textBytes -= std::min(m_textBytes, oldBytes);
        if (!admit(value.size() + 5)) {
            m_textBytes += oldBytes;  // the old value stays
            return;
        }
        node.setAttribute("value", std::string(value));
    }

    void consoleLog(std::string_view text) noexcept {
        try {
            log("%@", std::string(text));
        } catch (const std::exception&) {
        }
    }

    // --- Script engine ---------------------------------------------------------------------

    bool ensureEngine();
    std::string run(std::string_view source, const char* origin);
    std::string activate(int id);
    void logScriptError(const char* origin);

    std::unique_ptr<Node> m_document;
    std::unordered_map<int, Node*> m_nodes;
    int m_nextId = 1;
    std::string m_url;
    std::string m_base;
    std::string m_title;
    std::uint64_t m_version = 0;
    std::function<void(const std::string&)> m_onNavigate;
    std::vector<std::string> m_scripts;
    bool m_scriptsRun = false;

    duk_context* m_ctx = nullptr;
    bool m_engineFailed = false;
    std::size_t m_memoryUsed = 0;
    ScriptDeadline m_deadline;

    // The document's budget: the text and attributes its nodes hold, and whether a node was
    // refused (since the last script write) or ever.
    std::size_t m_textBytes = 0;
    bool m_refused = false;
    bool m_budgetLogged = false;
    bool m_flattenedLogged = false;
    // What a native call hands back, kept here so that no C++ object lives on a native
    // call's frame (the engine leaves those frames by longjmp when it raises an error).
    std::string m_scratch;
};

namespace {

// --- Memory: every allocation of a page's scripts is counted against its limit -------------

constexpr std::size_t kHeader = alignof(std::max_align_t);

void* scriptAlloc(void* udata, duk_size_t size) {
    auto* page = static_cast<WebPageState*>(udata);
    if (size == 0 || size > WebPage::kScriptMemoryLimit - page->m_memoryUsed) {
        return nullptr;
    }
    auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (!block) {
        return nullptr;
    }
    std::memcpy(block, &size, sizeof size);
    page->m_memoryUsed += size;
    return block + kHeader;
}

void scriptFree(void* udata, void* pointer) {
    if (!pointer) {
        return;
    }
    auto* page = static_cast<WebPageState*>(udata);
    auto* block = static_cast<unsigned char*>(pointer) - kHeader;
    duk_size_t size = 0;
    std::memcpy(&size, block, sizeof size);
    page->m_memoryUsed -= size;
    std::free(block);
}

void* scriptRealloc(void* udata, void* pointer, duk_size_t size) {
    if (!pointer) {
        return scriptAlloc(udata, size);
    }
    if (size == 0) {
        scriptFree(udata, pointer);
        return nullptr;
    }
    auto* page = static_cast<WebPageState*>(udata);
    auto* block = static_cast<unsigned char*>(pointer) - kHeader;
    duk_size_t old = 0;
    std::memcpy(&old, block, sizeof old);
    std::size_t others = page->m_memoryUsed - old;
    if (size > WebPage::kScriptMemoryLimit - others) {
        return nullptr;  // the old block stays as it was
    }
    auto* grown = static_cast<unsigned char*>(std::realloc(block, size + kHeader));
    if (!grown) {
        return nullptr;
    }
    std::memcpy(grown, &size, sizeof size);
    page->m_memoryUsed = others + size;
    return grown + kHeader;
}

[[noreturn]] void scriptFatal(void* /*udata*/, const char* message) {
    // Only reached for an error outside every protected call, which this file never makes.
    log("web page: script engine failed: %@", message ? message : "");
    std::abort();
}

// --- Native calls --------------------------------------------------------------------------

WebPageState* pageOf(duk_context* ctx) {
    duk_memory_functions functions;
    duk_get_memory_functions(ctx, &functions);
    return static_cast<WebPageState*>(functions.udata);
}

std::string_view textArgument(duk_context* ctx, duk_idx_t index) {
    duk_size_t length = 0;
    const char* text = duk_get_lstring(ctx, index, &length);
    return text ? std::string_view(text, length) : std::string_view();
}

duk_ret_t pushScratch(duk_context* ctx, bool defined) {
    if (!defined) {
        duk_push_undefined(ctx);
        return 1;
    }
    const std::string& scratch = pageOf(ctx)->m_scratch;
    duk_push_lstring(ctx, scratch.data(), scratch.size());
    return 1;
}

// The page of a native call made by a script. The engine checks the deadline only every so
// many instructions, and one call can take long, so a script past it gets no further than
// its next call either.
WebPageState* hostPage(duk_context* ctx) {
    WebPageState* page = pageOf(ctx);
    if (page->m_deadline.passed()) {
        (void)duk_error(ctx, DUK_ERR_RANGE_ERROR, "execution timeout");
    }
    return page;
}

duk_ret_t hostHref(duk_context* ctx) {
    const std::string& url = hostPage(ctx)->m_url;
    duk_push_lstring(ctx, url.data(), url.size());
    return 1;
}

duk_ret_t hostNavigate(duk_context* ctx) {
    hostPage(ctx)->navigate(textArgument(ctx, 0));
    return 0;
}

duk_ret_t hostTitle(duk_context* ctx) {
    const std::string& title = hostPage(ctx)->m_title;
    duk_push_lstring(ctx, title.data(), title.size());
    return 1;
}

duk_ret_t hostSetTitle(duk_context* ctx) {
    if (!hostPage(ctx)->setTitle(textArgument(ctx, 0))) {
        return DUK_RET_RANGE_ERROR;
    }
    return 0;
}

duk_ret_t hostFind(duk_context* ctx) {
    duk_push_int(ctx, hostPage(ctx)->find(textArgument(ctx, 0)));
    return 1;
}

duk_ret_t hostBody(duk_context* ctx) {
    duk_push_int(ctx, hostPage(ctx)->bodyId());
    return 1;
}

duk_ret_t hostRoot(duk_context* ctx) {
    duk_push_int(ctx, hostPage(ctx)->rootId());
    return 1;
}

duk_ret_t hostGet(duk_context* ctx) {
    return pushScratch(ctx, hostPage(ctx)->read(duk_get_int(ctx, 0), textArgument(ctx, 1)));
}

duk_ret_t hostAttribute(duk_context* ctx) {
    bool found = hostPage(ctx)->readAttribute(duk_get_int(ctx, 0), textArgument(ctx, 1));
    if (!found) {
        duk_push_null(ctx);
        return 1;
    }
    return pushScratch(ctx, true);
}

duk_ret_t hostSet(duk_context* ctx) {
    switch (hostPage(ctx)->write(duk_get_int(ctx, 0), textArgument(ctx, 1), textArgument(ctx, 2))) {
        case WebPageState::Written::Done:
            return 0;
        case WebPageState::Written::Failed:
            return DUK_RET_RANGE_ERROR;
        case WebPageState::Written::PastBudget:
            break;
    }
    return duk_error(ctx, DUK_ERR_RANGE_ERROR, "the page is past its budget");
}

duk_ret_t hostLog(duk_context* ctx) {
    hostPage(ctx)->consoleLog(textArgument(ctx, 0));
    return 0;
}

// Runs inside duk_safe_call: builds the host and keeps the element maker in the stash.
duk_ret_t setUpHost(duk_context* ctx, void* /*udata*/) {
    duk_push_string(ctx, "host");
    duk_compile_string_filename(ctx, DUK_COMPILE_EVAL, kPrelude);
    duk_call(ctx, 0);  // the prelude's function

    duk_push_object(ctx);
    const duk_function_list_entry natives[] = {
        {"href", hostHref, 0},           {"navigate", hostNavigate, 1}, {"title", hostTitle, 0},
        {"setTitle", hostSetTitle, 1},   {"find", hostFind, 1},         {"body", hostBody, 0},
        {"root", hostRoot, 0},           {"get", hostGet, 2},           {"set", hostSet, 3},
        {"attribute", hostAttribute, 2}, {"log", hostLog, 1},           {nullptr, nullptr, 0},
    };
    duk_put_function_list(ctx, -1, natives);
    duk_push_global_object(ctx);
    duk_call(ctx, 2);  // the element maker

    duk_push_global_stash(ctx);
    duk_dup(ctx, -2);
    duk_put_prop_string(ctx, -2, "element");
    duk_pop_2(ctx);
    return 0;
}

struct Source {
    const char* text;
    duk_size_t length;
    const char* origin;
};

// Runs inside duk_safe_call: the script's completion value as text.
duk_ret_t runSource(duk_context* ctx, void* udata) {
    auto* source = static_cast<Source*>(udata);
    duk_push_string(ctx, source->origin);
    duk_compile_lstring_filename(ctx, DUK_COMPILE_EVAL, source->text, source->length);
    duk_call(ctx, 0);
    if (duk_is_null_or_undefined(ctx, -1)) {
        duk_pop(ctx);
        duk_push_string(ctx, "");
    } else {
        duk_to_string(ctx, -1);
    }
    return 1;
}

struct Click {
    const char* handler;
    duk_size_t length;
    int node;
};

// Runs inside duk_safe_call: compiles the onclick as a browser does (a function of `event`
// with `this` the element), calls it, and answers whether it returned false.
duk_ret_t runClick(duk_context* ctx, void* udata) {
    auto* click = static_cast<Click*>(udata);
    duk_get_global_string(ctx, "Function");
    duk_push_string(ctx, "event");
    duk_push_lstring(ctx, click->handler, click->length);
    duk_new(ctx, 2);

    duk_push_global_stash(ctx);
    duk_get_prop_string(ctx, -1, "element");
    duk_remove(ctx, -2);
    duk_push_int(ctx, click->node);
    duk_call(ctx, 1);

    duk_call_method(ctx, 0);
    bool prevented = duk_is_boolean(ctx, -1) && !duk_get_boolean(ctx, -1);
    duk_pop(ctx);
    duk_push_boolean(ctx, prevented);
    return 1;
}

}  // namespace

class WebPage::Impl : public WebPageState {
public:
    using WebPageState::WebPageState;
};

// Asked by the engine every so many instructions (see platform/duktape).
extern "C" duk_bool_t campus_script_timed_out(void* udata) {
    return static_cast<WebPageState*>(udata)->m_deadline.passed() ? 1 : 0;
}

bool WebPageState::ensureEngine() {
    if (m_ctx) {
        return true;
    }
    if (m_engineFailed) {
        return false;
    }
    ScriptRun scriptRun(m_deadline);
    m_ctx = duk_create_heap(scriptAlloc, scriptRealloc, scriptFree, this, scriptFatal);
    if (!m_ctx) {
        m_engineFailed = true;
        log("web page: no script engine for %@", m_url);
        return false;
    }
    if (duk_safe_call(m_ctx, setUpHost, nullptr, 0, 1) != DUK_EXEC_SUCCESS) {
        logScriptError("host");
        duk_destroy_heap(m_ctx);
        m_ctx = nullptr;
        m_engineFailed = true;
        return false;
    }
    duk_pop(m_ctx);
    return true;
}

void WebPageState::logScriptError(const char* origin) {
    duk_size_t length = 0;
    const char* text = duk_safe_to_lstring(m_ctx, -1, &length);
    std::string error(text ? text : "", text ? length : 0);
    if (m_deadline.hasPassed()) {
        if (m_deadline.limit() < ScriptDeadline::kLimit) {
            log("web page: %@ (%@) ran past its %@ ms, what the scripts' time over time left "
                "it, and was stopped: %@",
                origin, m_url, m_deadline.limit().count(), error);
            return;
        }
        log("web page: %@ (%@) ran past its %@ ms and was stopped: %@", origin, m_url,
            ScriptDeadline::kLimit.count(), error);
        return;
    }
    log("web page: script error in %@ (%@): %@", origin, m_url, error);
}

std::string WebPageState::run(std::string_view script, const char* origin) {
    ScriptRun scriptRun(m_deadline);
    if (!ensureEngine()) {
        return "";
    }
    Source source{script.data(), script.size(), origin};
    std::string result;
    if (duk_safe_call(m_ctx, runSource, &source, 0, 1) == DUK_EXEC_SUCCESS) {
        duk_size_t length = 0;
        const char* text = duk_get_lstring(m_ctx, -1, &length);
        result.assign(text ? text : "", text ? length : 0);
    } else {
        logScriptError(origin);
    }
    duk_pop(m_ctx);
    return result;
}

std::string WebPageState::activate(int id) {
    Node* node = nodeById(id);
    if (!node || node->isText) {
        return "";
    }
    // Copies: the handler may rewrite the element.
    const std::string* onclick = node->attribute("onclick");
    std::string handler = onclick ? *onclick : "";
    const std::string* hrefAttribute = node->tag == "a" ? node->attribute("href") : nullptr;
    std::optional<std::string> href;
    if (hrefAttribute) {
        href = trimmed(*hrefAttribute);
    }

    ScriptRun scriptRun(m_deadline);
    bool prevented = false;
    if (!handler.empty() && ensureEngine()) {
        Click click{handler.data(), handler.size(), id};
        if (duk_safe_call(m_ctx, runClick, &click, 0, 1) == DUK_EXEC_SUCCESS) {
            prevented = duk_get_boolean(m_ctx, -1);
        } else {
            logScriptError("onclick");
        }
        duk_pop(m_ctx);
    }
    if (!href || prevented || href->empty() || href->front() == '#') {
        return "";
    }
    if (startsWithNoCase(*href, "javascript:")) {
        run(std::string_view(*href).substr(11), "link");
        return "";
    }
    return resolve(*href);
}

// --- WebPage -------------------------------------------------------------------------------

WebPage::WebPage(std::string html, std::string url, std::string baseURL,
                 std::function<void(const std::string&)> onNavigate)
    : m_impl(std::make_unique<Impl>(std::move(html), std::move(url), std::move(baseURL),
                                    std::move(onNavigate))) {}

WebPage::~WebPage() = default;

const std::string& WebPage::url() const {
    return m_impl->m_url;
}

const std::string& WebPage::title() const {
    return m_impl->m_title;
}

std::vector<WebPage::Item> WebPage::items() const {
    return m_impl->items();
}

std::string WebPage::layoutHTML() const {
    return m_impl->layoutHTML();
}

std::uint64_t WebPage::version() const {
    return m_impl->m_version;
}

void WebPage::setScriptTimeBudget(std::shared_ptr<ScriptTimeBudget> budget) {
    m_impl->m_deadline.setBudget(std::move(budget));
}

void WebPage::runScripts() {
    if (m_impl->m_scriptsRun) {
        return;
    }
    m_impl->m_scriptsRun = true;
    // Copied: a script may not change the list, but the list must outlive each run.
    auto scripts = m_impl->m_scripts;
    // One deadline for them all: a page of many slow scripts must not hold the client longer.
    ScriptRun scriptRun(m_impl->m_deadline);
    for (std::size_t i = 0; i < scripts.size(); ++i) {
        m_impl->run(scripts[i], "page script");
        if (m_impl->m_deadline.hasPassed() && i + 1 < scripts.size()) {
            log("web page: %@ scripts of %@ not run: the page's scripts ran out of time",
                scripts.size() - i - 1, m_impl->m_url);
            break;
        }
    }
}

std::string WebPage::evaluate(std::string_view script) {
    return m_impl->run(script, "evaluated script");
}

std::string WebPage::activate(int node) {
    return m_impl->activate(node);
}

std::string WebPage::resolve(std::string_view href) const {
    return m_impl->resolve(href);
}

}  // namespace platform
