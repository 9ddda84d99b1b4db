#include "platform/web/WebPage.h"

#include <utility>

#include "platform/foundation/Log.h"
#include "platform/web/ScriptDeadline.h"
#include "platform/web/WebPageState.h"

namespace platform {

class WebPage::Impl : public web::WebPageState {
public:
    using WebPageState::WebPageState;
};

// --- WebPage -------------------------------------------------------------------------------

WebPage::WebPage(std::string html, std::string url, std::string baseURL,
                 std::function<void(const std::string&)> onNavigate)
    : m_impl(std::make_unique<Impl>(std::move(html), std::move(url), std::move(baseURL),
                                    std::move(onNavigate))) {}

WebPage::~WebPage() = default;

const std::string& WebPage::url() const {
    return m_impl->m_url;
}

void WebPage::setURL(std::string url) {
    m_impl->m_url = std::move(url);
}

const std::string& WebPage::title() const {
    return m_impl->m_title;
}

std::vector<WebPage::Item> WebPage::items() const {
    return m_impl->items();
}

std::string WebPage::layoutHTML(std::vector<Item>* shown) const {
    return m_impl->layoutHTML(shown);
}

std::chrono::nanoseconds WebPage::takeReadingTime() {
    return std::exchange(m_impl->readingTime, std::chrono::nanoseconds{0});
}

WebPage::Changes WebPage::takeChanges() {
    return m_impl->takeChanges();
}

std::optional<WebPage::Item> WebPage::itemOf(int node) const {
    return m_impl->itemOf(node);
}

std::string WebPage::itemLayoutHTML(int node, std::size_t index) const {
    return m_impl->itemLayoutHTML(node, index);
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
    if (!scripts.empty() && !m_impl->mayRun("page script")) {
        return;
    }
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

// --- Forms (the page's part: WebPageForm.cpp and WebPageFormScript.cpp) --------------------
// Each of a user's steps runs its handlers within one deadline, as a tap's handler does.

void WebPage::setOnSubmit(std::function<void(const URLRequest&)> onSubmit) {
    m_impl->m_onSubmit = std::move(onSubmit);
}

void WebPage::focusField(int node) {
    ScriptRun scriptRun(m_impl->m_deadline);
    m_impl->focusField(node);
}

void WebPage::blurField(int node) {
    ScriptRun scriptRun(m_impl->m_deadline);
    m_impl->blurField(node);
}

void WebPage::editField(int node, std::string_view text) {
    ScriptRun scriptRun(m_impl->m_deadline);
    m_impl->editField(node, text);
}

void WebPage::toggle(int node) {
    ScriptRun scriptRun(m_impl->m_deadline);
    m_impl->toggle(node);
}

void WebPage::choose(int node, int index) {
    ScriptRun scriptRun(m_impl->m_deadline);
    m_impl->choose(node, index);
}

void WebPage::submitField(int node) {
    ScriptRun scriptRun(m_impl->m_deadline);
    m_impl->submitField(node);
}

int WebPage::labelledControl(int label) const {
    const web::Node* node = m_impl->nodeById(label);
    const web::Node* control = node ? m_impl->labelledControl(*node) : nullptr;
    return control ? control->id : -1;
}

}  // namespace platform
