// The page's document: built from the parser's tree, read, and edited as scripts ask, within
// the page's budget.

#include <gumbo.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>

#include "platform/foundation/AsciiText.h"
#include "platform/foundation/Log.h"
#include "platform/web/HtmlBounds.h"
#include "platform/web/HtmlEngineBudget.h"
#include "platform/web/HtmlParse.h"
#include "platform/web/HtmlPlainText.h"
#include "platform/web/WebPageState.h"

namespace platform::web {

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

// What one parse of markup may cost: the second a page is to be shown in (the engine's half
// of it twice; what reading the page took is charged to the engine's half as well, so a page
// that reads slowly shows as plain text), and the engine's memory.
HtmlEngineBudget::Limits parseLimits() {
    HtmlEngineBudget::Limits limits = HtmlEngineBudget::limits();
    limits.cpu *= 2;
    return limits;
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

}  // namespace

WebPageState::WebPageState(std::string html, std::string url, std::string baseURL,
                           std::function<void(const std::string&)> onNavigate)
    : m_url(std::move(url)),
      m_base(baseURL.empty() ? m_url : std::move(baseURL)),
      m_onNavigate(std::move(onNavigate)) {
    const auto start = HtmlEngineBudget::cpuTime();
    parse(std::move(html));
    readingTime = HtmlEngineBudget::cpuTime() - start;
}

void WebPageState::parse(std::string source) {
    BoundedHtml html = boundHtml(std::move(source), htmlBounds(0));
    noteBounded(html);
    m_document = std::make_unique<Node>();
    m_document->tag = "#document";
    m_document->id = m_nextId++;
    m_nodes[m_document->id] = m_document.get();
    // Read within a budget of the layout engine's bounds; a page the parser cannot read
    // within it is read again as its text alone, which costs the parser little (it holds no
    // tags). The markup stays until its nodes are made: the parser's tree points into it.
    HtmlEngineBudget budget(parseLimits());
    std::optional<HtmlParse> parsed;
    try {
        parsed.emplace(budget, parserOptions(), html.html);
    } catch (const HtmlBudgetSpent& spent) {
        log("web page: %@ could not be read within its budget (%@); shown as plain text", m_url,
            spent.what());
        html.html = textOnlyPage(html.html, html.html.size()).html;
        HtmlEngineBudget textBudget(parseLimits());
        try {
            parsed.emplace(textBudget, parserOptions(), html.html);
        } catch (const HtmlBudgetSpent&) {
            // Not even its text: the page is empty but for the line that says it is cut.
            m_refused = true;
        }
    }
    if (parsed) {
        appendChildren(*m_document, &parsed->output().document->v.document.children);
    }
    parsed.reset();
    m_readCut = html.cut || html.remadePastBound || m_refused || m_outOfTime;
    html.html = std::string();
    if (Node* title = findFirst(*m_document, [](const Node& n) { return n.tag == "title"; })) {
        m_title = collapsed(*title);
        cutText(m_title, WebPage::kMaxItemText);
    }
    collectScripts(*m_document);
}

void WebPageState::appendChildren(Node& parent, const GumboVector* children) {
    for (unsigned i = 0; i < children->length; ++i) {
        auto child = convert(static_cast<const GumboNode*>(children->data[i]), parent);
        if (child) {
            parent.children.push_back(std::move(child));
        }
    }
}

std::unique_ptr<Node> WebPageState::convert(const GumboNode* source, Node& parent) {
    if (parent.depth + 1 > kMaxDepth || outOfTime()) {
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
            // The parser keeps the first of a repeated name already; names it merged onto
            // html or body are checked again here, in a set, so that the copy stays linear in
            // the attributes (at most HtmlBounds::maxAttributes of them from the page).
            std::unordered_set<std::string_view> names;
            node->attributes.reserve(element.attributes.length);
            for (unsigned i = 0; i < element.attributes.length; ++i) {
                auto* attribute = static_cast<const GumboAttribute*>(element.attributes.data[i]);
                if (names.insert(attribute->name).second) {
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

HtmlBounds WebPageState::htmlBounds(int depth) const {
    HtmlBounds bounds;
    bounds.maxDepth = std::max(0, kMaxParsedDepth - depth);
    bounds.maxElements = WebPage::kMaxNodes - std::min(m_nodes.size(), WebPage::kMaxNodes);
    bounds.maxBytes = WebPage::kMaxTextBytes - std::min(m_textBytes, WebPage::kMaxTextBytes);
    return bounds;
}

void WebPageState::noteBounded(const BoundedHtml& html) {
    if (html.flattened && !m_flattenedLogged) {
        m_flattenedLogged = true;
        log("web page: %@ nests elements deeper than %@ levels; the deeper ones are "
            "flattened",
            m_url, kMaxParsedDepth);
    }
    if (html.remadePastBound) {
        m_refused = true;
        log("web page: %@ leaves open formatting elements the parser would make again past "
            "%@ times; it is cut there",
            m_url, HtmlBounds().maxRemade);
    } else if (html.cut) {
        overBudget();
    }
}

bool WebPageState::outOfTime() {
    constexpr std::size_t kNodesPerReading = 1024;
    if (!m_outOfTime && m_deadline.running() && ++m_built % kNodesPerReading == 0 &&
        m_deadline.passed()) {
        m_outOfTime = true;
    }
    return m_outOfTime;
}

bool WebPageState::admit(std::size_t textBytes) {
    if (m_nodes.size() >= WebPage::kMaxNodes || textBytes > WebPage::kMaxTextBytes - m_textBytes) {
        overBudget();
        return false;
    }
    m_textBytes += textBytes;
    return true;
}

void WebPageState::overBudget() {
    m_refused = true;
    if (!m_budgetLogged) {
        m_budgetLogged = true;
        log("web page: %@ reached its budget of %@ nodes and %@ MB of text; it grows no "
            "further",
            m_url, WebPage::kMaxNodes, WebPage::kMaxTextBytes >> 20);
    }
}

std::string WebPageState::tagName(const GumboElement& element) {
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

void WebPageState::collectScripts(const Node& node) {
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

Node* WebPageState::nodeById(int id) {
    auto it = m_nodes.find(id);
    return it == m_nodes.end() ? nullptr : it->second;
}

Node* WebPageState::root() {
    for (auto& child : m_document->children) {
        if (!child->isText && child->tag == "html") {
            return child.get();
        }
    }
    return nullptr;
}

Node* WebPageState::body() {
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

Node* WebPageState::elementWithId(std::string_view id) {
    if (id.empty()) {
        return nullptr;
    }
    return findFirst(*m_document, [&](const Node& n) {
        const std::string* own = n.attribute("id");
        return own && *own == id;
    });
}

std::string WebPageState::collapsed(const Node& node) {
    TextFlow flow;
    appendText(node, flow, false);
    std::string text = flow.take();
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

void WebPageState::appendText(const Node& node, TextFlow& flow, bool layout) {
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

std::string WebPageState::innerText(const Node& node) {
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

void WebPageState::textContent(const Node& node, std::string& out) {
    if (node.isText) {
        out += node.text;
        return;
    }
    for (const auto& child : node.children) {
        textContent(*child, out);
    }
}

std::optional<std::string> WebPageState::valueOf(const Node& node) {
    if (node.tag == "textarea") {
        std::string text;
        textContent(node, text);
        return text;
    }
    if (const std::string* value = node.attribute("value")) {
        return *value;
    }
    if (node.tag == "option") {
        return collapsed(node);  // an option without a value stands for its text
    }
    if (node.tag == "input" || node.tag == "select") {
        return std::string();
    }
    return std::nullopt;
}

void WebPageState::removeChildren(Node& node) {
    for (auto& child : node.children) {
        forget(*child);
    }
    node.children.clear();
}

void WebPageState::countHeld(const Node& node, std::size_t& nodes, std::size_t& bytes) const {
    if (m_nodes.count(node.id) != 0) {
        ++nodes;
        bytes += textBytesOf(node.text, node.attributes);
    }
    for (const auto& child : node.children) {
        countHeld(*child, nodes, bytes);
    }
}

void WebPageState::forget(const Node& node) {
    if (m_nodes.erase(node.id) > 0) {
        m_textBytes -= std::min(m_textBytes, textBytesOf(node.text, node.attributes));
    }
    for (const auto& child : node.children) {
        forget(*child);
    }
}

void WebPageState::appendTextNode(Node& parent, std::string text) {
    if (parent.depth + 1 > kMaxDepth || outOfTime() || !admit(text.size())) {
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

void WebPageState::appendElement(Node& parent, std::string tag) {
    if (parent.depth + 1 > kMaxDepth || outOfTime() || !admit(0)) {
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

void WebPageState::setInnerText(Node& node, std::string_view text, bool lineBreaksAsElements) {
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

bool WebPageState::setInnerHTML(Node& node, std::string_view html) {
    GumboOptions options = kGumboDefaultOptions;
    GumboTag context = gumbo_tag_enum(node.tag.c_str());
    options.fragment_context = context == GUMBO_TAG_UNKNOWN ? GUMBO_TAG_DIV : context;
    options.fragment_namespace = GUMBO_NAMESPACE_HTML;
    options.max_errors = parserOptions().max_errors;
    // Bounded as the page's own markup, with the room of what the element holds now, which
    // it gives up.
    HtmlBounds bounds = htmlBounds(node.depth);
    std::size_t held = 0;
    std::size_t heldBytes = 0;
    for (const auto& child : node.children) {
        countHeld(*child, held, heldBytes);
    }
    bounds.maxElements = std::min(bounds.maxElements + held, WebPage::kMaxNodes);
    bounds.maxBytes = std::min(bounds.maxBytes + heldBytes, WebPage::kMaxTextBytes);
    BoundedHtml buffer = boundHtml(std::string(html), bounds);
    // Markup the parser could not read within the engine's bounds changes nothing: the
    // script is told (a RangeError), as for any write past the page's budget.
    HtmlEngineBudget budget(parseLimits());
    std::optional<HtmlParse> parsed;
    if (!buffer.remadePastBound) {
        try {
            parsed.emplace(budget, options, buffer.html);
        } catch (const HtmlBudgetSpent&) {
        }
    }
    if (!parsed) {
        m_refused = true;
        log("web page: %@ was handed markup it could not read within its budget; the element "
            "is left as it was",
            m_url);
        return false;
    }
    noteBounded(buffer);
    removeChildren(node);
    // The parse is one call that cannot be stopped; a run it took past the deadline builds
    // nothing of it.
    if (m_deadline.running() && m_deadline.passed()) {
        m_outOfTime = true;
    }
    // A fragment's nodes are the children of the <html> element standing for the context.
    const GumboOutput& output = parsed->output();
    if (output.root && output.root->type == GUMBO_NODE_ELEMENT) {
        appendChildren(node, &output.root->v.element.children);
    }
    return true;
}

}  // namespace platform::web
