// A page's forms sent and reset: what a form sends, collected as a browser collects it, and
// the buttons that send and reset it.

#include <exception>
#include <string>
#include <vector>

#include "platform/foundation/AsciiText.h"
#include "platform/foundation/Log.h"
#include "platform/web/WebFormData.h"
#include "platform/web/WebPageState.h"

namespace platform::web {

// --- Sending and resetting ----------------------------------------------------------------

FormSubmission WebPageState::submission(Node& form, const Node* submitter) {
    FormSubmission sent;
    const std::string* action = form.attribute("action");
    sent.action = resolve(action ? *action : "");
    const std::string* method = form.attribute("method");
    sent.method = method && lowercasedAscii(trimmed(*method)) == "post" ? "POST" : "GET";
    std::vector<Node*> listed;
    collectListed(form, listed);
    for (const Node* node : listed) {
        const std::string* name = node->attribute("name");
        if (!name || name->empty() || node->attribute("disabled")) {
            continue;
        }
        const std::string type = controlType(*node);
        if (type == "checkbox" || type == "radio") {
            if (node->attribute("checked")) {
                sent.entries.emplace_back(*name, controlText(*node));
            }
        } else if (oneOf(type, {"submit", "reset", "button", "image"})) {
            if (node == submitter && type == "submit") {
                const std::string* value = node->attribute("value");
                sent.entries.emplace_back(*name, value ? *value : "");
            }
        } else if (type == "select") {
            const auto options = optionsOf(*node);
            const int index = selectedIndex(*node);
            if (index >= 0) {
                sent.entries.emplace_back(*name, optionValue(*options[std::size_t(index)]));
            }
        } else if (type != "file") {
            sent.entries.emplace_back(*name, valueOf(*node).value_or(""));
        }
    }
    return sent;
}

void WebPageState::submitForm(int formId, int submitterId, bool fireEvent) {
    if (fireEvent && dispatchEvent(formId, "submit")) {
        return;  // the page's handler kept the page
    }
    // Looked up again: the handler may have taken either out of the page.
    Node* form = nodeById(formId);
    if (!form || !m_onSubmit) {
        return;
    }
    try {
        m_onSubmit(formRequest(submission(*form, nodeById(submitterId))));
    } catch (const std::exception& error) {
        log("web page: a form of %@ was not sent: %@", m_url, error.what());
    }
}

void WebPageState::resetForm(int formId) {
    Node* form = nodeById(formId);
    if (!form) {
        return;
    }
    std::vector<Node*> listed;
    collectListed(*form, listed);
    for (Node* node : listed) {
        auto original = m_defaults.find(node->id);
        if (original == m_defaults.end()) {
            continue;
        }
        const FieldDefault back = original->second;
        if (oneOf(controlType(*node), {"checkbox", "radio"})) {
            write(node->id, "checked", back.checked ? "true" : "");
        } else if (node->tag == "select") {
            write(node->id, "selectedIndex", std::to_string(back.selectedIndex));
        } else {
            write(node->id, "value", back.value);
        }
        m_defaults.erase(node->id);
    }
}

// The button's own work after its click went through: a submit button sends its form, a
// reset button resets it.
void WebPageState::pressFormButton(int id) {
    Node* node = nodeById(id);
    if (!node || !isFormButton(*node) || node->attribute("disabled")) {
        return;
    }
    const Node* form = formOf(*node);
    if (!form) {
        return;
    }
    const std::string type = controlType(*node);
    if (type == "submit") {
        submitForm(form->id, id, true);
    } else if (type == "reset") {
        resetForm(form->id);
    }
}

}  // namespace platform::web
