// The page's forms: what their controls hold, what a user and the page's scripts do with
// them, and what a form sends. A control's state lives in the document itself (its value,
// checked and selected attributes, a textarea's text), so the items, the layout and the
// scripts read one truth; every change a user makes goes through write(), the path a
// script's assignment takes.

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "platform/foundation/AsciiText.h"
#include "platform/foundation/TextRange.h"
#include "platform/web/WebFormData.h"
#include "platform/web/WebPageState.h"

namespace platform::web {

namespace {

// What a phone's browser writes on a submit or reset button that has no value of its own.
constexpr const char* kSubmitCaption = "提交";
constexpr const char* kResetCaption = "重置";

bool isTextType(std::string_view type) {
    return oneOf(type, {"text", "password", "search", "email", "number", "tel", "url"});
}

bool isCheckable(const Node& node) {
    return node.tag == "input" && oneOf(WebPageState::controlType(node), {"checkbox", "radio"});
}

bool hasFlag(const Node& node, std::string_view name) {
    return node.attribute(name) != nullptr;
}

void collectOptions(const Node& node, std::vector<const Node*>& out) {
    for (const auto& child : node.children) {
        if (child->isText) {
            continue;
        }
        if (child->tag == "option") {
            out.push_back(child.get());
        } else if (child->tag == "optgroup") {
            collectOptions(*child, out);
        }
    }
}

// The attribute as a browser reads a non-negative integer (leading blanks, an optional "+",
// then digits); -1 when it is absent or reads as none.
int nonNegativeInteger(const std::string* attribute) {
    if (!attribute) {
        return -1;
    }
    std::size_t at = attribute->find_first_not_of(" \t\n\f\r");
    if (at != std::string::npos && (*attribute)[at] == '+') {
        ++at;
    }
    long long value = -1;
    for (; at < attribute->size() && (*attribute)[at] >= '0' && (*attribute)[at] <= '9'; ++at) {
        value = std::min<long long>(std::max(value, 0LL) * 10 + ((*attribute)[at] - '0'),
                                    std::numeric_limits<int>::max());
    }
    return int(value);
}

}  // namespace

// Every element a form lists (hidden inputs and buttons too), in document order.
void WebPageState::collectListed(Node& node, std::vector<Node*>& out) {
    for (auto& child : node.children) {
        if (child->isText) {
            continue;
        }
        if (oneOf(child->tag, {"input", "textarea", "select", "button"})) {
            out.push_back(child.get());
        }
        collectListed(*child, out);
    }
}

// --- What a control is and holds --------------------------------------------------------

std::string WebPageState::controlType(const Node& node) {
    if (node.isText) {
        return "";
    }
    if (node.tag == "textarea" || node.tag == "select") {
        return node.tag;
    }
    const std::string* typeAttribute = node.attribute("type");
    const std::string type = lowercasedAscii(typeAttribute ? trimmed(*typeAttribute) : "");
    if (node.tag == "button") {
        return type == "reset" || type == "button" ? type : "submit";
    }
    if (node.tag != "input") {
        return "";
    }
    if (isTextType(type) || oneOf(type, {"checkbox", "radio", "submit", "reset", "button", "hidden",
                                         "file", "image"})) {
        return type;
    }
    return "text";  // dates, colours and the rest are typed as text here
}

bool WebPageState::isFormControl(const Node& node) {
    if (node.isText || !oneOf(node.tag, {"input", "textarea", "select"})) {
        return false;
    }
    const std::string type = controlType(node);
    return isTextType(type) || oneOf(type, {"textarea", "select", "checkbox", "radio"});
}

bool WebPageState::isFormButton(const Node& node) {
    if (node.isText) {
        return false;
    }
    if (node.tag == "input") {
        return oneOf(controlType(node), {"submit", "reset", "button"});
    }
    // A <button> outside any form sends nothing; it is a button only with a handler.
    return node.tag == "button" && formOf(node);
}

const Node* WebPageState::formOf(const Node& node) {
    for (const Node* n = node.parent; n; n = n->parent) {
        if (!n->isText && n->tag == "form") {
            return n;
        }
    }
    return nullptr;
}

std::vector<const Node*> WebPageState::optionsOf(const Node& select) {
    std::vector<const Node*> options;
    collectOptions(select, options);
    return options;
}

int WebPageState::selectedIndex(const Node& select) {
    const auto options = optionsOf(select);
    for (std::size_t i = 0; i < options.size(); ++i) {
        if (hasFlag(*options[i], "selected")) {
            return int(i);
        }
    }
    return options.empty() || select.noChoice ? -1 : 0;
}

std::string WebPageState::optionValue(const Node& option) {
    const std::string* value = option.attribute("value");
    return value ? *value : collapsed(option);
}

std::string WebPageState::buttonCaption(const Node& node) {
    if (node.tag == "button") {
        return innerText(node);
    }
    if (const std::string* value = node.attribute("value")) {
        return *value;
    }
    const std::string type = controlType(node);
    return type == "submit" ? kSubmitCaption : type == "reset" ? kResetCaption : "";
}

// What a control shows: its value (or a choice's text, or a box's own value).
std::string WebPageState::controlText(const Node& node) {
    const std::string type = controlType(node);
    if (type == "select") {
        const auto options = optionsOf(node);
        const int index = selectedIndex(node);
        return index >= 0 ? collapsed(*options[std::size_t(index)]) : "";
    }
    if (type == "checkbox" || type == "radio") {
        const std::string* value = node.attribute("value");
        return value ? *value : "on";
    }
    return valueOf(node).value_or("");
}

WebPageState::Item WebPageState::controlItem(const Node& node) {
    Item item;
    item.kind = Item::Kind::Field;
    item.node = node.id;
    item.control = controlType(node);
    const std::string* id = node.attribute("id");
    item.id = id ? *id : "";
    const std::string* name = node.attribute("name");
    item.name = name ? *name : "";
    const std::string* placeholder = node.attribute("placeholder");
    item.placeholder = placeholder ? *placeholder : "";
    item.disabled = hasFlag(node, "disabled");
    const bool typed = isTextType(item.control) || item.control == "textarea";
    item.readOnly = typed && hasFlag(node, "readonly");
    item.maxLength = typed ? maxLengthOf(node) : -1;
    item.checked = isCheckable(node) && hasFlag(node, "checked");
    item.text = controlText(node);
    if (item.control == "select") {
        for (const Node* option : optionsOf(node)) {
            item.options.push_back(collapsed(*option));
        }
        item.selected = selectedIndex(node);
    }
    return item;
}

int WebPageState::maxLengthOf(const Node& node) {
    return nonNegativeInteger(node.attribute("maxlength"));
}

// As in HTML: the control a label's `for` names, else the first control inside the label.
const Node* WebPageState::labelledControl(const Node& label,
                                          const std::unordered_map<std::string, const Node*>* ids) {
    const std::string* target = label.attribute("for");
    if (!target) {
        return firstControlWithin(label);
    }
    const Node* control = nullptr;
    if (!ids) {
        control = elementWithId(*target);
    } else if (auto found = ids->find(*target); found != ids->end()) {
        control = found->second;
    }
    return control && isFormControl(*control) && !isHiddenElement(*control) ? control : nullptr;
}

const Node* WebPageState::firstControlWithin(const Node& node) {
    for (const auto& child : node.children) {
        if (child->isText) {
            continue;
        }
        if (isFormControl(*child)) {
            return isHiddenElement(*child) ? nullptr : child.get();
        }
        if (const Node* inner = firstControlWithin(*child)) {
            return inner;
        }
    }
    return nullptr;
}

WebPageState::FieldLayout WebPageState::fieldLayout(const Node& node) {
    FieldLayout field;
    const std::string type = controlType(node);
    field.hidden = type == "hidden" || type == "file" || type == "image";
    for (const auto& attribute : node.attributes) {
        if (!oneOf(attribute.first, {"type", "checked", "value", "placeholder"})) {
            field.attributes.push_back(attribute);
        }
    }
    field.attributes.emplace_back("type", type);
    if (isCheckable(node)) {
        const bool checked = hasFlag(node, "checked");
        if (checked) {
            field.attributes.emplace_back("checked", "");
        }
        field.text = !checked ? "" : type == "radio" ? "●" : "✓";
        return field;
    }
    if (oneOf(type, {"submit", "reset", "button"})) {
        field.text = buttonCaption(node);
        return field;
    }
    if (type == "select") {
        field.text = controlText(node) + " ▼";
        return field;
    }
    // The field's own view draws its text (or placeholder, or dots) and its caret, scrolled
    // within the box (WebFormViews): the box holds a line of nothing, so that its size is the
    // page's alone and no text typed moves the page.
    field.text = "\u200B";
    return field;
}

// --- Scripts' properties of controls ----------------------------------------------------

bool WebPageState::isFormProperty(const Node& node, std::string_view property) {
    if (oneOf(property, {"checked", "disabled", "selected", "selectedIndex", "form", "name", "type",
                         "options", "text"})) {
        return oneOf(node.tag, {"input", "textarea", "select", "button", "option", "form",
                                "fieldset", "optgroup"});
    }
    return property == "value" && (node.tag == "select" || node.tag == "option");
}

bool WebPageState::readFormProperty(const Node& node, std::string_view property) {
    m_scratch.clear();
    if (property == "checked" || property == "disabled" || property == "selected") {
        m_scratch = hasFlag(node, property) ? "true" : "false";
    } else if (property == "selectedIndex") {
        if (node.tag != "select") {
            return false;
        }
        m_scratch = std::to_string(selectedIndex(node));
    } else if (property == "form") {
        const Node* form = formOf(node);
        m_scratch = std::to_string(form ? form->id : -1);
    } else if (property == "name") {
        const std::string* name = node.attribute("name");
        m_scratch = name ? *name : "";
    } else if (property == "type") {
        const std::string type = controlType(node);
        m_scratch = type == "select" ? "select-one" : type;
    } else if (property == "options") {
        if (node.tag != "select") {
            return false;
        }
        for (const Node* option : optionsOf(node)) {
            m_scratch += m_scratch.empty() ? "" : ",";
            m_scratch += std::to_string(option->id);
        }
    } else if (property == "text") {
        if (node.tag != "option") {
            return false;
        }
        m_scratch = collapsed(node);
    } else if (property == "value") {
        if (node.tag == "option") {
            m_scratch = optionValue(node);
        } else {
            const auto options = optionsOf(node);
            const int index = selectedIndex(node);
            m_scratch = index >= 0 ? optionValue(*options[std::size_t(index)]) : "";
        }
    }
    return true;
}

void WebPageState::setFlag(Node& node, std::string_view name, bool on) {
    const bool had = hasFlag(node, name);
    if (had == on) {
        return;
    }
    if (on) {
        if (!admit(name.size())) {
            return;
        }
        node.setAttribute(name, "");
    } else {
        m_textBytes -= std::min(m_textBytes, name.size());
        std::erase_if(node.attributes, [&](const auto& a) { return a.first == name; });
    }
}

void WebPageState::rememberDefault(const Node& node) {
    if (m_defaults.contains(node.id)) {
        return;
    }
    FieldDefault original;
    original.checked = hasFlag(node, "checked");
    original.value = valueOf(node).value_or("");
    original.selectedIndex = node.tag == "select" ? selectedIndex(node) : -1;
    m_defaults.emplace(node.id, std::move(original));
}

WebPageState::Written WebPageState::writeFormProperty(Node& node, std::string_view property,
                                                      std::string_view value) {
    if (oneOf(property, {"form", "name", "type", "options", "text"})) {
        return Written::Done;  // read only here
    }
    if (property == "disabled") {
        setFlag(node, "disabled", !value.empty());
    } else if (property == "checked" && isCheckable(node)) {
        rememberDefault(node);
        setFlag(node, "checked", !value.empty());
        if (!value.empty() && controlType(node) == "radio") {
            uncheckOthersInGroup(node);
        }
    } else if (property == "selected" && node.tag == "option") {
        setFlag(node, "selected", !value.empty());
        for (Node* select = value.empty() ? nullptr : node.parent; select;
             select = select->parent) {
            if (select->tag == "select") {
                select->noChoice = false;
                break;
            }
        }
    } else if (node.tag == "select" && (property == "selectedIndex" || property == "value")) {
        rememberDefault(node);
        const auto options = optionsOf(node);
        int chosen = -1;
        if (property == "selectedIndex") {
            chosen = std::atoi(std::string(value).c_str());
        } else {
            for (std::size_t i = 0; i < options.size() && chosen < 0; ++i) {
                if (optionValue(*options[i]) == value) {
                    chosen = int(i);
                }
            }
        }
        for (std::size_t i = 0; i < options.size(); ++i) {
            setFlag(*const_cast<Node*>(options[i]), "selected", int(i) == chosen);
        }
        // No option marked would show the first: a value no option has, or an index past
        // them, leaves the select with none, as a browser does.
        node.noChoice = chosen < 0 || std::size_t(chosen) >= options.size();
    } else {
        return Written::Done;
    }
    ++m_version;
    return m_refused ? Written::PastBudget : Written::Done;
}

// Radio buttons of one name in one form (or outside every form) exclude each other.
std::vector<Node*> WebPageState::radioGroup(const Node& radio) {
    std::vector<Node*> group;
    const std::string* name = radio.attribute("name");
    if (!name || name->empty()) {
        return group;
    }
    const Node* form = formOf(radio);
    std::vector<Node*> listed;
    collectListed(form ? *const_cast<Node*>(form) : *m_document, listed);
    for (Node* other : listed) {
        const std::string* otherName = other->attribute("name");
        if (other != &radio && otherName && *otherName == *name && controlType(*other) == "radio" &&
            formOf(*other) == form) {
            group.push_back(other);
        }
    }
    return group;
}

void WebPageState::uncheckOthersInGroup(const Node& radio) {
    for (Node* other : radioGroup(radio)) {
        if (hasFlag(*other, "checked")) {
            // The same path as a script's assignment, so whatever follows changes sees it.
            write(other->id, "checked", "");
        }
    }
}

int WebPageState::checkedRadioInGroup(const Node& radio) {
    if (hasFlag(radio, "checked")) {
        return radio.id;
    }
    for (const Node* other : radioGroup(radio)) {
        if (hasFlag(*other, "checked")) {
            return other->id;
        }
    }
    return -1;
}

void WebPageState::findSubmitButtons(const Node& form, std::vector<const Node*>& out) {
    std::vector<Node*> listed;
    collectListed(const_cast<Node&>(form), listed);
    for (const Node* node : listed) {
        if (isFormButton(*node) && controlType(*node) == "submit") {
            out.push_back(node);
        }
    }
}

}  // namespace platform::web
