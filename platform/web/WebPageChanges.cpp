// What scripts changed, told to whoever shows the page so that it changes only that.

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/web/LayoutWriter.h"
#include "platform/web/WebPageState.h"

namespace platform::web {

void WebPageState::shownInLayout(const std::vector<Item>& shown) {
    // A focus asked for is no change of what is shown: it waits to be taken.
    m_changes = {.markup = false, .items = {}, .focus = m_changes.focus, .blur = m_changes.blur};
    m_shownItems.clear();
    m_shownText.clear();
    m_shownTextBytes = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (shown[i].node >= 0) {
            m_shownItems.emplace(shown[i].node, i);
        }
        m_shownText.push_back(shown[i].text.size());
        m_shownTextBytes += shown[i].text.size();
    }
}

void WebPageState::noteChange(const Node& node, bool markup) {
    if (m_changes.markup) {
        return;
    }
    if (node.tag == "title" || node.tag == "script" || isHiddenElement(node)) {
        return;  // shown in no box
    }
    if (!markup) {
        // The items' elements hold no other items: a change anywhere inside one is that
        // item's alone.
        for (const Node* at = &node; at; at = at->parent) {
            if (m_shownItems.count(at->id) != 0) {
                auto& items = m_changes.items;
                if (std::find(items.begin(), items.end(), at->id) == items.end()) {
                    items.push_back(at->id);
                }
                return;
            }
        }
    }
    m_changes.markup = true;
    m_changes.items.clear();
}

WebPage::Changes WebPageState::takeChanges() {
    WebPage::Changes changes = std::exchange(m_changes, {});
    if (changes.markup || changes.items.empty()) {
        return changes;
    }
    // The items' text stays within what a page may show, as items() keeps it.
    for (int node : changes.items) {
        const std::size_t index = m_shownItems.at(node);
        auto item = itemOf(node);
        const std::size_t bytes = item ? item->text.size() : 0;
        m_shownTextBytes = m_shownTextBytes - m_shownText[index] + bytes;
        m_shownText[index] = bytes;
    }
    if (m_shownTextBytes > WebPage::kMaxShownText) {
        changes.markup = true;
        changes.items.clear();
    }
    return changes;
}

std::optional<WebPageState::Item> WebPageState::itemOf(int id) {
    Node* node = nodeById(id);
    if (!node || node->isText) {
        return std::nullopt;
    }
    // As collectItems() tells them: a field or a label for one first.
    Item item;
    if (isFormControl(*node)) {
        item = controlItem(*node);
    } else if (const Node* control = node->tag == "label" ? labelledControl(*node) : nullptr) {
        item = labelItem(*node, *control);
    } else if (isElementItem(*node)) {
        item = elementItem(*node);
    } else {
        return std::nullopt;
    }
    cutText(item.text, WebPage::kMaxItemText);
    return item;
}

std::string WebPageState::itemLayoutHTML(int id, std::size_t index) {
    Node* node = nodeById(id);
    if (!node || node->isText) {
        return "";
    }
    std::unordered_map<int, int> anchors{{id, int(index)}};
    LayoutWriter writer(anchors);
    int depth = 0;
    int tables = 0;
    for (const Node* at = node->parent; at && at != m_document.get(); at = at->parent) {
        ++depth;
        tables += at->tag == "table" ? 1 : 0;
    }
    writer.startAt(depth, tables);
    writer.write(*node);
    return writer.take();
}

void WebPageState::contentOf(const Node& node, std::string& out) {
    for (const auto& [name, value] : node.attributes) {
        out += name;
        out += '=';
        out += value;
        out += '\0';
    }
    for (const auto& child : node.children) {
        serialize(*child, out);
    }
}

}  // namespace platform::web
