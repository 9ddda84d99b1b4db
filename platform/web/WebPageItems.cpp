// What the page shows: its items, and the document marked with them for the layout engine.

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/foundation/AsciiText.h"
#include "platform/foundation/Log.h"
#include "platform/web/HtmlCutNotice.h"
#include "platform/web/LayoutWriter.h"
#include "platform/web/WebPageState.h"

namespace platform::web {

// --- What the page shows ---------------------------------------------------------------

struct WebPageState::ShownItems {
    std::vector<Item> items;
    std::size_t text = 0;
    bool full = false;
    // Which node stands for each item where the page is laid out (see layoutHTML): an
    // element for links, buttons and elements, the first and last text node of a run of
    // text. Kept only when asked for.
    std::unordered_map<int, int>* anchors = nullptr;
    // The node of the first item refused: what the page shows stops there.
    int stopNode = -1;
    int runFirst = -1;
    int runLast = -1;
    // The document's elements by id, made for the first label that names its field: a page
    // of many labels costs one walk, not one for each.
    std::unordered_map<std::string, const Node*> ids;
    bool idsIndexed = false;

    // Whether the item was taken.
    bool add(Item item) {
        if (full) {
            return false;
        }
        if (items.size() >= WebPage::kMaxShownItems || text >= WebPage::kMaxShownText) {
            full = true;
            stopNode = item.node >= 0 ? item.node : runFirst;
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

std::vector<WebPageState::Item> WebPageState::items(std::unordered_map<int, int>* anchors,
                                                    int* stopNode) {
    ShownItems shown;
    shown.anchors = anchors;
    Node* start = body();
    if (!start) {
        start = root() ? root() : m_document.get();
    }
    TextFlow flow;
    collectItems(*start, flow, shown);
    flushText(flow, shown);
    if (stopNode) {
        *stopNode = shown.stopNode;
    }
    if (shown.full) {
        Item more;
        more.text = "…";
        shown.items.push_back(std::move(more));
    }
    return std::move(shown.items);
}

void WebPageState::flushText(TextFlow& flow, ShownItems& items) {
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

bool WebPageState::isInteractive(const Node& node) {
    return !node.isText && ((node.tag == "a" && node.attribute("href")) ||
                            node.attribute("onclick") || isFormButton(node));
}

bool WebPageState::holdsItems(const Node& node) {
    for (const auto& child : node.children) {
        if (!child->isText &&
            (isInteractive(*child) || child->attribute("id") || isFormControl(*child) ||
             (child->tag == "label" && child->attribute("for")) || holdsItems(*child))) {
            return true;
        }
    }
    return false;
}

bool WebPageState::isHiddenElement(const Node& node) {
    if (node.attribute("hidden")) {
        return true;
    }
    const std::string* type = node.attribute("type");
    return node.tag == "input" && type && trimmed(*type) == "hidden";
}

bool WebPageState::isElementItem(const Node& node) {
    if (isInteractive(node)) {
        return true;
    }
    const std::string* id = node.attribute("id");
    return id && !id->empty() && !holdsItems(node);
}

WebPageState::Item WebPageState::elementItem(const Node& node) {
    Item item;
    const std::string* id = node.attribute("id");
    item.node = node.id;
    item.id = id ? *id : "";
    if (isInteractive(node)) {
        const std::string* href = node.attribute("href");
        item.kind = node.tag == "a" && href ? Item::Kind::Link : Item::Kind::Button;
        item.href = href ? *href : "";
        item.text = innerText(node);
        if (item.text.empty()) {
            auto value = valueOf(node);
            item.text = value && !value->empty() ? *value : item.href;
        }
        if (item.text.empty() && isFormButton(node)) {
            item.text = buttonCaption(node);
        }
        item.disabled = node.attribute("disabled") != nullptr;
        return item;
    }
    item.kind = Item::Kind::Element;
    auto value = oneOf(node.tag, {"input", "textarea"}) ? valueOf(node) : std::nullopt;
    item.text = value ? *value : innerText(node);
    return item;
}

void WebPageState::collectItems(const Node& node, TextFlow& flow, ShownItems& items) {
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
            if (tag != "select" || isHiddenElement(child)) {
                continue;
            }
        }
        if (collectFormItem(child, flow, items)) {
            continue;
        }
        if (tag == "br") {
            flow.lineBreak();
            continue;
        }
        if (isElementItem(child)) {
            flushText(flow, items);
            if (items.add(elementItem(child))) {
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

void WebPageState::indexIds(const Node& node, std::unordered_map<std::string, const Node*>& ids) {
    for (const auto& child : node.children) {
        if (child->isText) {
            continue;
        }
        if (const std::string* id = child->attribute("id"); id && !id->empty()) {
            ids.emplace(*id, child.get());  // the first of an id is the one found
        }
        indexIds(*child, ids);
    }
}

namespace {

// The words of a label, without what the controls inside it show (a select's options, a text
// area's text): what a user reads as the label.
void labelWords(const Node& node, TextFlow& flow) {
    for (const auto& child : node.children) {
        if (child->isText) {
            flow.text(child->text, false);
        } else if (child->tag == "br") {
            flow.lineBreak();
        } else if (!oneOf(child->tag, {"input", "textarea", "select", "script", "style"})) {
            labelWords(*child, flow);
        }
    }
}

}  // namespace

WebPageState::Item WebPageState::labelItem(const Node& label, const Node& control) {
    Item item;
    item.kind = Item::Kind::Label;
    item.node = label.id;
    const std::string* id = label.attribute("id");
    item.id = id ? *id : "";
    TextFlow flow;
    labelWords(label, flow);
    item.text = flow.take();
    item.control = controlType(control);
    item.disabled = control.attribute("disabled") != nullptr;
    return item;
}

// The fields inside a label, and its links, stand over it, each an item of its own after the
// label's: a tap on one of them is its own, a tap on the words between acts on the label.
void WebPageState::collectLabelledFields(const Node& node, ShownItems& items) {
    for (const auto& child : node.children) {
        if (items.full) {
            return;
        }
        if (child->isText || isHiddenElement(*child)) {
            continue;
        }
        if (isFormControl(*child)) {
            if (items.add(controlItem(*child))) {
                items.anchor(child->id);
            }
        } else if (isElementItem(*child)) {
            if (items.add(elementItem(*child))) {
                items.anchor(child->id);
            }
        } else if (!isUnshown(child->tag)) {
            collectLabelledFields(*child, items);
        }
    }
}

// A field, or a label of one: an item of its own. True when the node was one.
bool WebPageState::collectFormItem(const Node& node, TextFlow& flow, ShownItems& items) {
    if (isFormControl(node)) {
        flushText(flow, items);
        if (items.add(controlItem(node))) {
            items.anchor(node.id);
        }
        return true;
    }
    if (node.tag != "label") {
        return false;
    }
    if (node.attribute("for") && !items.idsIndexed) {
        indexIds(*m_document, items.ids);
        items.idsIndexed = true;
    }
    const Node* control = labelledControl(node, &items.ids);
    if (!control) {
        return false;
    }
    flushText(flow, items);
    if (items.add(labelItem(node, *control))) {
        items.anchor(node.id);
    }
    collectLabelledFields(node, items);
    return true;
}

std::string WebPageState::layoutHTML(std::vector<Item>* shownOut) {
    std::unordered_map<int, int> anchors;
    int stopNode = -1;
    std::vector<Item> shown = items(&anchors, &stopNode);
    // The page is laid out as far as its items go, or its layout's budget, and says where it
    // stops: a line in the client's words, an item of its own in the place of the items left
    // out (and of the "…" that ends them).
    LayoutWriter writer(anchors);
    writer.stopAt(stopNode);
    writer.writeNotice();
    writer.write(*m_document);
    if (m_readCut) {
        writer.cutAtEnd();
    }
    std::string html = writer.take();
    if (writer.cut() != LayoutWriter::Cut::None) {
        shown.resize(std::min(shown.size(), writer.itemsBeforeCut()));
        Item cut;
        cut.text = kCutNotice;
        shown.push_back(std::move(cut));
        noteLayoutCut(writer.cut());
    }
    shownInLayout(shown);
    if (shownOut) {
        *shownOut = std::move(shown);
    }
    return html;
}

void WebPageState::noteLayoutCut(LayoutWriter::Cut why) {
    if (m_layoutCutLogged) {
        return;
    }
    m_layoutCutLogged = true;
    if (why == LayoutWriter::Cut::Markup) {
        // Said why when it was read.
        return;
    }
    const char* reason = why == LayoutWriter::Cut::Items      ? "the items a page may show"
                         : why == LayoutWriter::Cut::Elements ? "the elements a page may lay out"
                                                              : "the markup a page may lay out";
    log("web page: %@ is shown up to its budget of %@ (%@ items, %@ elements, %@ MB); the rest "
        "is not shown",
        m_url, reason, WebPage::kMaxShownItems, LayoutWriter::kMaxElements,
        LayoutWriter::kMaxBytes >> 20);
}

}  // namespace platform::web
