// Addresses, and what the native calls that scripts make do to the page.

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <exception>
#include <string>
#include <string_view>
#include <utility>

#include "platform/foundation/Log.h"
#include "platform/foundation/URLEscaping.h"
#include "platform/web/WebPageState.h"

namespace platform::web {

// --- Addresses -------------------------------------------------------------------------

std::string WebPageState::resolve(std::string_view written) const {
    std::string href = trimmed(written);
    if (href.empty()) {
        return m_url;
    }
    if (hasURLScheme(href)) {
        return href;
    }
    if (href.front() == '#') {
        // A place in the page: the base as it is, its own fragment replaced. (The URL
        // parser below would take the fragment for a path, and drop the page's path and query.)
        return m_base.substr(0, m_base.find('#')) + href;
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

void WebPageState::navigate(std::string_view href) noexcept {
    try {
        std::string target = resolve(href);
        if (m_onNavigate) {
            m_onNavigate(target);
        }
    } catch (const std::exception& error) {
        log("web page: navigation to %@ failed: %@", std::string(href), error.what());
    }
}

bool WebPageState::setTitle(std::string_view title) noexcept {
    try {
        m_title = std::string(title.substr(0, WebPage::kMaxItemText + 1));
        cutText(m_title, WebPage::kMaxItemText);
        if (Node* node = findFirst(*m_document, [](const Node& n) { return n.tag == "title"; })) {
            setInnerText(*node, title, false);
        }
        ++m_version;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

int WebPageState::find(std::string_view id) noexcept {
    try {
        Node* node = elementWithId(id);
        return node ? node->id : -1;
    } catch (const std::exception&) {
        return -1;
    }
}

int WebPageState::bodyId() noexcept {
    Node* node = body();
    return node ? node->id : -1;
}

int WebPageState::rootId() noexcept {
    Node* node = root();
    return node ? node->id : -1;
}

bool WebPageState::read(int id, std::string_view property) noexcept {
    try {
        Node* node = nodeById(id);
        if (!node) {
            return false;
        }
        m_scratch.clear();
        if (isFormProperty(*node, property)) {
            return readFormProperty(*node, property);
        }
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

bool WebPageState::readAttribute(int id, std::string_view name) noexcept {
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

WebPageState::Written WebPageState::write(int id, std::string_view property,
                                          std::string_view value) noexcept {
    try {
        Node* node = nodeById(id);
        if (!node) {
            return Written::Done;  // an element taken out of the page: the write goes nowhere
        }
        m_refused = false;
        m_outOfTime = false;
        // What the element held, to tell a write of what is already there (a clock set to
        // the same minute) from a change.
        std::string before;
        const bool content = property != "innerHTML";
        if (content) {
            contentOf(*node, before);
        }
        if (isFormProperty(*node, property)) {
            const bool hadNoChoice = node->noChoice;
            const Written written = writeFormProperty(*node, property, value);
            std::string after;
            contentOf(*node, after);
            if (after != before || node->noChoice != hadNoChoice) {
                // A control's being disabled shows also on the labels for it.
                noteChange(*node, property == "disabled");
            }
            return written;
        }
        if (property == "value" && isFormControl(*node)) {
            rememberDefault(*node);  // for its form's reset
        }
        if (property == "innerText") {
            setInnerText(*node, value, true);
        } else if (property == "textContent") {
            setInnerText(*node, value, false);
        } else if (property == "innerHTML") {
            if (!setInnerHTML(*node, value)) {
                return Written::PastBudget;
            }
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
        std::string after;
        if (content) {
            contentOf(*node, after);
        }
        if (!content || after != before) {
            noteChange(*node, !content);
            ++m_version;
        }
        // What the host did counts in the run's time like the script's own work: a write that
        // took the run past its deadline ends it, as the engine's next check would.
        if (m_outOfTime || (m_deadline.running() && m_deadline.passed())) {
            return Written::OutOfTime;
        }
        return m_refused ? Written::PastBudget : Written::Done;
    } catch (const std::exception&) {
        return Written::Failed;
    }
}

void WebPageState::setValueAttribute(Node& node, std::string_view value) {
    const std::string* old = node.attribute("value");
    std::size_t oldBytes = old ? old->size() + 5 : 0;
    m_textBytes -= std::min(m_textBytes, oldBytes);
    if (!admit(value.size() + 5)) {
        m_textBytes += oldBytes;  // the old value stays
        return;
    }
    node.setAttribute("value", std::string(value));
}

void WebPageState::consoleLog(std::string_view text) noexcept {
    try {
        log("%@", std::string(text));
    } catch (const std::exception&) {
    }
}

}  // namespace platform::web
