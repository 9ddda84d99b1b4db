#include "platform/ui/WebView.h"

#include <algorithm>
#include <cctype>

#include "platform/foundation/AsciiText.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/HttpClient.h"
#include "platform/ui/ScrollView.h"

namespace platform {

namespace {

constexpr const char* kBlank = "about:blank";

std::string trimmed(const std::string& text) {
    const char* space = " \t\r\n\f\v";
    auto first = text.find_first_not_of(space);
    if (first == std::string::npos) {
        return "";
    }
    auto last = text.find_last_not_of(space);
    return text.substr(first, last - first + 1);
}

// The content of the first <tag ...>...</tag> element, found by a plain case-insensitive
// search; nothing when the document lacks it.
std::optional<std::string> elementContent(const std::string& html, const std::string& tag) {
    std::string lower = lowercasedAscii(html);
    size_t open = 0;
    while (true) {
        open = lower.find("<" + tag, open);
        if (open == std::string::npos) {
            return std::nullopt;
        }
        // "<title" must not match "<titles" or similar.
        char next = open + tag.size() + 1 < lower.size() ? lower[open + tag.size() + 1] : '\0';
        if (next == '>' || next == '/' || std::isspace((unsigned char)next)) {
            break;
        }
        open += tag.size() + 1;
    }
    size_t start = lower.find('>', open);
    if (start == std::string::npos) {
        return std::nullopt;
    }
    ++start;
    size_t end = lower.find("</" + tag, start);
    if (end == std::string::npos) {
        end = html.size();
    }
    return html.substr(start, end - start);
}

std::string documentTitle(const std::string& html) {
    auto title = elementContent(html, "title");
    return title ? trimmed(*title) : "";
}

}  // namespace

WebView::WebView() {
    makeScrollView();
}

WebView::WebView(const Rect& frame) : View(frame) {
    makeScrollView();
}

void WebView::makeScrollView() {
    setBackgroundColor(Color::white());
    m_scrollView = View::make<ScrollView>(Rect{{0, 0}, bounds().size});
    m_scrollView->setAutoresizingMask(AutoresizingMask::FlexibleWidth |
                                      AutoresizingMask::FlexibleHeight);
    addSubview(m_scrollView);
}

WebView::~WebView() {
    // The completion would find this web view gone and do nothing; spare the transfer.
    if (m_httpRequest != 0) {
        HttpClient::shared().cancel(m_httpRequest);
    }
}

WebView* WebView::from(const std::shared_ptr<View>& view) {
    return static_cast<WebView*>(view.get());
}

// --- Loading ----------------------------------------------------------------------------

void WebView::loadRequest(const URLRequest& request) {
    startLoad(Entry{request}, WebViewNavigationType::Other, HistoryMove::Push, -1);
}

void WebView::loadHTMLString(std::string html, std::string baseURL) {
    Entry entry;
    entry.request.url = baseURL.empty() ? kBlank : baseURL;
    entry.fromString = true;
    entry.html = std::move(html);
    entry.baseURL = std::move(baseURL);
    startLoad(std::move(entry), WebViewNavigationType::Other, HistoryMove::Push, -1);
}

bool WebView::simulateNavigation(const std::string& url, WebViewNavigationType type) {
    URLRequest request;
    request.url = url;
    request.method = type == WebViewNavigationType::FormSubmitted ? "POST" : "GET";
    return startLoad(Entry{request}, type, HistoryMove::Push, -1);
}

bool WebView::canGoBack() const {
    return m_index > 0;
}

bool WebView::canGoForward() const {
    return m_index >= 0 && m_index + 1 < int(m_history.size());
}

void WebView::goBack() {
    if (canGoBack()) {
        startLoad(m_history[size_t(m_index - 1)], WebViewNavigationType::BackForward,
                  HistoryMove::GoTo, m_index - 1);
    }
}

void WebView::goForward() {
    if (canGoForward()) {
        startLoad(m_history[size_t(m_index + 1)], WebViewNavigationType::BackForward,
                  HistoryMove::GoTo, m_index + 1);
    }
}

void WebView::reload() {
    if (m_index >= 0) {
        startLoad(m_history[size_t(m_index)], WebViewNavigationType::Reload, HistoryMove::Replace,
                  m_index);
    } else if (!m_request.url.empty()) {
        startLoad(Entry{m_request}, WebViewNavigationType::Reload, HistoryMove::Push, -1);
    }
}

void WebView::stopLoading() {
    cancelLoad();
}

bool WebView::startLoad(Entry entry, WebViewNavigationType type, HistoryMove move, int target) {
    auto self = weak_from_this().lock();
    if (!self) {
        return false;  // only a web view owned by a shared_ptr can hear back from its loads
    }
    if (auto delegate = this->delegate();
        delegate && !delegate->shouldStartLoadWithRequest(*this, entry.request, type)) {
        return false;
    }
    cancelLoad();
    std::uint64_t generation = ++m_generation;
    m_loading = true;
    m_request = entry.request;
    m_lastError.reset();
    m_pending = Pending{entry, move, target};

    std::weak_ptr<View> weak = self;
    RunLoop::main().post([weak, generation] {
        auto view = weak.lock();
        if (!view || from(view)->m_generation != generation || !from(view)->m_loading) {
            return;
        }
        if (auto delegate = from(view)->delegate()) {
            delegate->webViewDidStartLoad(*from(view));
        }
    });

    if (entry.fromString || entry.request.url == kBlank) {
        RunLoop::main().post([weak, generation, url = entry.request.url, html = entry.html] {
            if (auto view = weak.lock()) {
                from(view)->fetched(generation, 0, url, html, "");
            }
        });
        return true;
    }

    HttpRequest http;
    http.method = entry.request.method.empty() ? "GET" : entry.request.method;
    http.url = entry.request.url;
    http.headers = entry.request.headers;
    http.body = entry.request.body;
    http.timeoutSeconds = entry.request.timeoutSeconds;
    http.ignoreCache = entry.request.ignoreCache;
    auto id = HttpClient::shared().send(std::move(http), [weak, generation](HttpResponse response) {
        auto view = weak.lock();
        if (!view) {
            return;
        }
        std::string url = response.url;
        from(view)->fetched(generation, response.status, std::move(url), std::move(response.body),
                            response.error);
    });
    // The completion never runs inside send, but a stale id would only make a later cancel
    // a no-op.
    if (m_generation == generation && m_loading) {
        m_httpRequest = id;
    }
    return true;
}

void WebView::cancelLoad() {
    if (!m_loading) {
        return;
    }
    if (m_httpRequest != 0) {
        HttpClient::shared().cancel(m_httpRequest);
        m_httpRequest = 0;
    }
    ++m_generation;
    m_loading = false;
    std::string url = m_request.url;
    m_pending.reset();
    // The phone reports a load that was stopped or replaced as cancelled. Posted, so it
    // comes before anything the next load reports and never inside the caller.
    std::weak_ptr<View> weak = weak_from_this();
    RunLoop::main().post([weak, url] {
        auto view = weak.lock();
        if (!view) {
            return;
        }
        WebError error{WebError::kCancelled, "cancelled", url};
        if (auto delegate = from(view)->delegate()) {
            delegate->didFailLoadWithError(*from(view), error);
        }
    });
}

void WebView::fetched(std::uint64_t generation, int status, std::string url, std::string html,
                      const std::string& error) {
    if (generation != m_generation || !m_loading) {
        return;
    }
    m_httpRequest = 0;
    if (!error.empty()) {
        failLoad(WebError::fromTransportError(error, m_request.url));
        return;
    }
    Page page;
    page.url = url.empty() ? m_request.url : std::move(url);
    page.status = status;
    page.title = documentTitle(html);
    page.html = std::move(html);
    page.baseURL = m_pending ? m_pending->entry.baseURL : "";
    finishLoad(std::move(page));
}

void WebView::finishLoad(Page page) {
    auto self = weak_from_this().lock();
    Pending pending = m_pending ? std::move(*m_pending) : Pending{};
    m_pending.reset();
    // History keeps where the load ended up (after redirects).
    if (!pending.entry.fromString) {
        pending.entry.request.url = page.url;
        m_request.url = page.url;
    }
    switch (pending.move) {
        case HistoryMove::Push:
            if (m_index + 1 < int(m_history.size())) {
                m_history.erase(m_history.begin() + (m_index + 1), m_history.end());
            }
            m_history.push_back(std::move(pending.entry));
            m_index = int(m_history.size()) - 1;
            break;
        case HistoryMove::Replace:
        case HistoryMove::GoTo:
            if (pending.target >= 0 && pending.target < int(m_history.size())) {
                m_index = pending.target;
                m_history[size_t(m_index)] = std::move(pending.entry);
            } else {
                m_history.push_back(std::move(pending.entry));
                m_index = int(m_history.size()) - 1;
            }
            break;
    }
    m_page = std::move(page);
    m_loading = false;
    m_scrollView->setContentSize(bounds().size);
    if (auto delegate = this->delegate()) {
        delegate->webViewDidFinishLoad(*this);
    }
}

void WebView::failLoad(WebError error) {
    auto self = weak_from_this().lock();
    m_pending.reset();
    m_loading = false;
    m_lastError = error;
    if (auto delegate = this->delegate()) {
        delegate->didFailLoadWithError(*this, error);
    }
}

// --- Scripts ----------------------------------------------------------------------------

std::string WebView::stringByEvaluatingJavaScriptFromString(const std::string& script) {
    m_scripts.push_back(script);
    std::string query = trimmed(script);
    while (!query.empty() && query.back() == ';') {
        query = trimmed(query.substr(0, query.size() - 1));
    }
    if (query == "document.title") {
        return m_page.title;
    }
    if (query == "document.documentElement.innerHTML" ||
        query == "document.documentElement.outerHTML") {
        return m_page.html;
    }
    if (query == "document.body.innerHTML") {
        auto body = elementContent(m_page.html, "body");
        return body ? *body : m_page.html;
    }
    if (query == "document.URL" || query == "window.location.href" || query == "location.href" ||
        query == "document.location.href") {
        return m_page.url;
    }
    return "";
}

std::string WebView::describe() const {
    std::string shown = !m_page.title.empty() ? m_page.title
                        : !m_page.url.empty() ? m_page.url
                                              : m_request.url;
    std::string text = "web \"" + shown + "\"";
    if (m_loading) {
        text += " (loading)";
    } else if (m_lastError) {
        text += " (failed)";
    }
    return text;
}

}  // namespace platform
