#include "platform/ui/WebView.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/foundation/AsciiText.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/net/HttpClient.h"
#include "platform/net/PictureFetches.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/ShownPage.h"
#include "platform/web/ScriptTimeBudget.h"
#include "platform/web/WebReply.h"

// The web view itself and its loads: history, redirects, the delegate's say over each load, and
// scripts evaluated in the page. Showing the page is in WebViewPage.cpp.

namespace platform {

WebView::WebView() {
    makeScrollView();
}

WebView::WebView(const Rect& frame) : View(frame) {
    makeScrollView();
}

void WebView::makeScrollView() {
    m_scriptBudget = std::make_shared<ScriptTimeBudget>();
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
    for (auto request : m_pictureRequests) {
        PictureFetches::shared().cancel(request);
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
    return startLoad(Entry{request}, type, HistoryMove::Push, -1, documentURL());
}

std::string WebView::documentURL() const {
    return hasPage() ? m_page.url : kBlank;
}

bool WebView::canGoBack() const {
    return backIndex() >= 0;
}

int WebView::backIndex() const {
    int target = m_index - 1;
    // A page that loaded the next one by itself would do it again: back passes over it. Not
    // within the page shown, which back only scrolls.
    while (target >= 0 && !showsThisDocument(target) &&
           (m_history[size_t(target)].endedChain || m_history[size_t(target) + 1].byScript)) {
        --target;
    }
    return target;
}

const std::vector<std::string>& WebView::pageSourceChain() const {
    static const std::vector<std::string> none;
    return m_index >= 0 ? m_history[size_t(m_index)].ledBy : none;
}

bool WebView::canGoForward() const {
    return m_index >= 0 && m_index + 1 < int(m_history.size());
}

void WebView::goBack() {
    const int target = backIndex();
    if (target >= 0) {
        startLoad(m_history[size_t(target)], WebViewNavigationType::BackForward, HistoryMove::GoTo,
                  target);
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
        // No page yet: the failed load is tried again, still answering for every address that
        // led to where it stopped (the request by then is its last redirect's).
        Entry entry{m_request};
        entry.ledBy = m_request.sourceChain;
        startLoad(std::move(entry), WebViewNavigationType::Reload, HistoryMove::Replace, -1);
    }
}

void WebView::stopLoading() {
    cancelLoad();
}

bool WebView::startLoad(Entry entry, WebViewNavigationType type, HistoryMove move, int target,
                        std::string source, bool byScript) {
    auto self = weak_from_this().lock();
    if (!self) {
        return false;  // only a web view owned by a shared_ptr can hear back from its loads
    }
    // A move within the page loads nothing, and no chain of loads goes on through it.
    const bool withinPage = movesWithinPage(entry, type, move, target, source);
    if (byScript && !withinPage && m_scriptedLoadsInARow >= kMaxScriptedLoads) {
        log("web view: %@ loads in a row were started by scripts without a tap; the chain is "
            "cut at %@, which asked for %@",
            m_scriptedLoadsInARow, documentURL(), entry.request.url);
        if (m_index >= 0) {
            m_history[size_t(m_index)].endedChain = true;
        }
        return false;
    }
    if (move == HistoryMove::Push) {
        entry.byScript = byScript;
        entry.endedChain = false;
    }
    if (move == HistoryMove::Push) {
        entry.ledBy = ledBy(source);
    }
    // Going back, forward or reloading keeps all that first led to the page, redirects
    // included: a school page that a foreign page opened, or that a foreign address
    // redirected to, stays theirs for its life.
    entry.request.sourceChain = entry.ledBy;
    entry.request.sourceURL = std::move(source);
    if (auto delegate = this->delegate();
        delegate && !delegate->shouldStartLoadWithRequest(*this, entry.request, type)) {
        return false;
    }
    if (withinPage) {
        moveWithinPage(std::move(entry), move, target);
        return true;
    }
    cancelLoad();
    std::uint64_t generation = ++m_generation;
    m_loading = true;
    m_request = entry.request;
    m_lastError.reset();
    m_pending = Pending{entry, move, target, 0, byScript};

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
        HttpResponse page;
        page.url = entry.request.url;
        page.body = entry.html;
        RunLoop::main().post([weak, generation, page = std::move(page)]() mutable {
            if (auto view = weak.lock()) {
                from(view)->fetched(generation, std::move(page));
            }
        });
        return true;
    }
    fetch(generation);
    return true;
}

std::vector<std::string> WebView::ledBy(const std::string& source) const {
    if (source.empty()) {
        return {};
    }
    // What led to the page that asks comes first, then that page, each address once.
    std::vector<std::string> chain;
    if (m_index >= 0 && documentURL() == source) {
        for (const std::string& address : m_history[size_t(m_index)].ledBy) {
            if (address != source &&
                std::find(chain.begin(), chain.end(), address) == chain.end()) {
                chain.push_back(address);
            }
        }
    }
    chain.push_back(source);
    return chain;
}

// Fetches m_request, one hop: a redirect comes back here as it is.
void WebView::fetch(std::uint64_t generation) {
    HttpRequest http;
    http.method = m_request.method.empty() ? "GET" : m_request.method;
    http.url = m_request.url;
    http.headers = m_request.headers;
    http.body = m_request.body;
    http.timeoutSeconds = m_request.timeoutSeconds;
    http.ignoreCache = m_request.ignoreCache;
    http.followRedirects = false;
    std::weak_ptr<View> weak = weak_from_this();
    auto id = HttpClient::shared().send(std::move(http), [weak, generation](HttpResponse response) {
        if (auto view = weak.lock()) {
            from(view)->fetched(generation, std::move(response));
        }
    });
    // The completion never runs inside send, but a stale id would only make a later cancel
    // a no-op.
    if (m_generation == generation && m_loading) {
        m_httpRequest = id;
    }
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
    m_finishAwaitsPictures = false;
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

void WebView::fetched(std::uint64_t generation, HttpResponse response) {
    if (generation != m_generation || !m_loading) {
        return;
    }
    m_httpRequest = 0;
    if (!response.error.empty()) {
        failLoad(WebError::fromTransportError(response.error, m_request.url));
        return;
    }
    if (!response.redirectURL.empty()) {
        followRedirect(response);
        return;
    }
    Page page;
    page.url = response.url.empty() ? m_request.url : std::move(response.url);
    page.status = response.status;
    page.baseURL = m_pending ? m_pending->entry.baseURL : "";
    const bool given = m_pending && (m_pending->entry.fromString || m_request.url == kBlank);
    switch (given ? WebReplyKind::Page : webReplyKind(response.mimeType(), response.body)) {
        case WebReplyKind::Page:
            page.html = std::move(response.body);
            break;
        case WebReplyKind::Text:
            page.html = textDocument(response.body);
            break;
        case WebReplyKind::Picture:
            page.html = pictureDocument(page.url);
            break;
        case WebReplyKind::Unshown:
            log("web view: %@ is %@, which a page cannot show", page.url, response.mimeType());
            failLoad(WebError{WebError::kFrameLoadInterrupted, "Frame load interrupted", page.url});
            return;
    }
    finishLoad(std::move(page));
}

void WebView::followRedirect(const HttpResponse& response) {
    auto self = weak_from_this().lock();
    if (!m_pending || ++m_pending->redirects > kMaxRedirects) {
        failLoad(WebError{WebError::kHTTPTooManyRedirects, "too many redirects", m_request.url});
        return;
    }
    URLRequest next = m_request;
    next.url = response.redirectURL;
    next.sourceURL = response.url.empty() ? m_request.url : response.url;
    // The hop joins what led to the page for good: its history entry keeps it.
    // Each address once: a page that redirects again on every reload must not grow it.
    auto& ledBy = m_pending->entry.ledBy;
    if (std::find(ledBy.begin(), ledBy.end(), next.sourceURL) == ledBy.end()) {
        ledBy.push_back(next.sourceURL);
    }
    next.sourceChain = m_pending->entry.ledBy;
    // As browsers do: "see other", and a moved form, are fetched with GET and without the form.
    const bool movedForm =
        (response.status == 301 || response.status == 302) && next.method == "POST";
    if (response.status == 303 || movedForm) {
        next.method = "GET";
        next.body.clear();
        std::erase_if(next.headers, [](const auto& header) {
            return equalsIgnoringCase(header.first, "content-type") ||
                   equalsIgnoringCase(header.first, "content-length");
        });
    }
    const std::uint64_t generation = m_generation;
    if (auto delegate = this->delegate();
        delegate &&
        !delegate->shouldStartLoadWithRequest(*this, next, WebViewNavigationType::Other)) {
        if (generation == m_generation && m_loading) {
            cancelLoad();
        }
        return;
    }
    // The delegate may have started another load, or stopped this one.
    if (generation != m_generation || !m_loading || !m_pending) {
        return;
    }
    m_request = next;
    m_pending->entry.request = std::move(next);
    fetch(generation);
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
    // A page loaded anew is a document of its own; one gone back or forward to is again the
    // document of every entry that moved within it.
    if (pending.move != HistoryMove::GoTo || pending.entry.document == 0) {
        pending.entry.document = ++m_documentSerial;
    }
    leaveEntry(pending.move, pending.entry);
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
    // Any load but a script's own starts the row again.
    m_scriptedLoadsInARow = pending.byScript ? m_scriptedLoadsInARow + 1 : 0;
    m_page = std::move(page);
    // The page's own scripts run before anyone hears that it finished, as in a browser.
    openPage(m_page.html, m_page.url, m_page.baseURL);
    if (m_arrivalPending) {
        // Not where the page before stood, while its pictures come in.
        m_scrollView->setContentOffset(Point{0, 0});
    }
    if (m_picturesPending > 0) {
        // As on the phone, the load finishes once its pictures are in (pictureArrived), so
        // that whoever hears of it reads the page's whole height.
        m_finishAwaitsPictures = true;
        return;
    }
    m_loading = false;
    arrive();
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
    auto self = weak_from_this().lock();
    m_scripts.push_back(script);
    std::string result = currentPage().evaluate(script);
    pageMayHaveChanged();
    return result;
}

}  // namespace platform
