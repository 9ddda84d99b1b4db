#include "platform/ui/WebView.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "platform/foundation/Json.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/Application.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/WebFormChoices.h"
#include "platform/webkit/ClientWorld.h"
#include "platform/webkit/EngineLoader.h"
#include "platform/webkit/UserAgent.h"
#include "platform/webkit/WebEngine.h"

// The web view itself: its engine, loads, history and what led to each page. Showing the page
// is in WebViewPage.cpp, its forms, dialogs and choices in WebViewForms.cpp.

namespace platform {

namespace {

constexpr const char* kBlank = "about:blank";

// The ports browsers never connect to (the Fetch standard's list), which WebKit refuses.
bool usesBlockedPort(const std::string& url) {
    static const int kBlocked[] = {
        1,    7,    9,    11,   13,   15,   17,   19,   20,   21,   22,   23,   25,   37,
        42,   43,   53,   69,   77,   79,   87,   95,   101,  102,  103,  104,  109,  110,
        111,  113,  115,  117,  119,  123,  135,  137,  139,  143,  161,  179,  389,  427,
        465,  512,  513,  514,  515,  526,  530,  531,  532,  540,  548,  554,  556,  563,
        587,  601,  636,  989,  990,  993,  995,  1719, 1720, 1723, 2049, 3659, 4045, 4190,
        5060, 5061, 6000, 6566, 6665, 6666, 6667, 6668, 6669, 6679, 6697, 10080};
    const auto scheme = url.find("://");
    if (scheme == std::string::npos)
        return false;
    const auto hostEnd = url.find_first_of("/?#", scheme + 3);
    const std::string authority = url.substr(
        scheme + 3, hostEnd == std::string::npos ? std::string::npos : hostEnd - scheme - 3);
    const auto colon = authority.rfind(':');
    if (colon == std::string::npos || authority.find(']', colon) != std::string::npos)
        return false;
    const std::string digits = authority.substr(colon + 1);
    if (digits.empty() || digits.size() > 5 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const int port = std::stoi(digits);
    return std::find(std::begin(kBlocked), std::end(kBlocked), port) != std::end(kBlocked);
}
// Stands in a chain for a document that asked without saying who it is (no Referer): never one
// of anyone's hosts, so nothing that trusts a chain trusts it.
constexpr const char* kUnnamedAsker = "about:unnamed-document";
// Addresses a navigation was allowed to, kept until their page commits.
constexpr std::size_t kMaxAllowedKept = 64;

// scheme://host[:port] of an address, lower-cased; "" for one without a host.
std::string originOf(const std::string& url) {
    const auto scheme = url.find("://");
    if (scheme == std::string::npos)
        return {};
    auto end = url.find_first_of("/?#", scheme + 3);
    std::string origin = url.substr(0, end == std::string::npos ? url.size() : end);
    std::transform(origin.begin(), origin.end(), origin.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return origin;
}

std::string withoutFragment(const std::string& url) {
    return url.substr(0, url.find('#'));
}

WebViewNavigationType typeOf(webkit::NavigationKind kind) {
    switch (kind) {
        case webkit::NavigationKind::LinkClicked:
            return WebViewNavigationType::LinkClicked;
        case webkit::NavigationKind::FormSubmitted:
            return WebViewNavigationType::FormSubmitted;
        case webkit::NavigationKind::BackForward:
            return WebViewNavigationType::BackForward;
        case webkit::NavigationKind::Reload:
            return WebViewNavigationType::Reload;
        case webkit::NavigationKind::FormResubmitted:
            return WebViewNavigationType::FormResubmitted;
        case webkit::NavigationKind::Other:
            break;
    }
    return WebViewNavigationType::Other;
}

void appendOnce(std::vector<std::string>& chain, const std::string& address) {
    if (std::find(chain.begin(), chain.end(), address) == chain.end())
        chain.push_back(address);
}

// The web views alive, for anyBusy(); main thread only.
std::vector<const WebView*>& liveWebViews() {
    static std::vector<const WebView*> views;
    return views;
}

}  // namespace

// Hands the engine's calls to the web view while it lives; the engine holds it weakly.
class WebView::EngineClient final : public webkit::ViewClient {
public:
    explicit EngineClient(std::weak_ptr<View> view) : m_view(std::move(view)) {}

    void navigationAsked(const webkit::NavigationAsk& ask) override {
        if (auto view = web())
            view->navigationAsked(ask);
    }
    void loadChanged(webkit::LoadStage stage, const std::string& url, int status) override {
        if (auto view = web())
            view->loadChanged(stage, url, status);
    }
    void loadFailed(const webkit::LoadFailure& failure) override {
        if (auto view = web())
            view->loadFailed(failure);
    }
    void uriChanged(const std::string& url) override {
        if (auto view = web())
            view->uriChanged(url);
    }
    void titleChanged(const std::string& title) override {
        if (auto view = web())
            view->m_title = title;
    }
    void historyChanged(const webkit::HistoryState& state) override {
        if (auto view = web())
            view->historyChanged(state);
    }
    void worldMessage(const std::string& json) override {
        if (auto view = web())
            view->worldMessage(json);
    }
    void dialogAsked(const webkit::DialogAsk& ask) override {
        if (auto view = web())
            view->dialogAsked(ask);
    }
    void choicesAsked(const webkit::ChoicesAsk& ask) override {
        if (auto view = web())
            view->choicesAsked(ask);
    }
    void filesAsked(const webkit::FilesAsk& ask) override {
        if (auto view = web())
            view->filesAsked(ask);
    }
    void processEnded(webkit::ProcessEnd why) override {
        if (auto view = web())
            view->processEnded(why);
    }
    void painted(std::shared_ptr<const webkit::Pixels> pixels) override {
        if (auto view = web())
            view->painted(std::move(pixels));
    }

private:
    // Keeps the web view alive for the call.
    std::shared_ptr<WebView> web() const {
        return std::static_pointer_cast<WebView>(m_view.lock());
    }
    std::weak_ptr<View> m_view;
};

WebView::WebView() {
    makeViews();
    liveWebViews().push_back(this);
}

WebView::WebView(const Rect& frame) : View(frame) {
    makeViews();
    liveWebViews().push_back(this);
}

WebView::~WebView() {
    m_timeout.cancel();
    // The page goes with the web view: a picker still open for it closes.
    withdrawFileAsks();
    std::erase(liveWebViews(), this);
}

bool WebView::anyBusy() {
    return std::any_of(liveWebViews().begin(), liveWebViews().end(),
                       [](const WebView* view) { return view->isBusy(); });
}

void WebView::settleAfter(std::function<void()> send) {
    if (!m_engine)
        return;
    ++m_workInFlight;
    if (send)
        send();
    std::weak_ptr<View> weak = weak_from_this();
    m_engine->sync([weak] {
        if (auto view = std::static_pointer_cast<WebView>(weak.lock()))
            view->m_workInFlight = std::max(0, view->m_workInFlight - 1);
    });
}

WebView::EngineState WebView::ensureEngine() {
    if (m_engine)
        return EngineState::Ready;
    if (m_engineTried)
        return EngineState::Missing;
    webkit::setDeviceScale(Screen::main().scale());
    if (!webkit::isLoaded()) {
        if (!std::exchange(m_engineAwaited, true)) {
            std::weak_ptr<View> weak = weak_from_this();
            webkit::whenLoaded([weak] {
                if (auto view = std::static_pointer_cast<WebView>(weak.lock()))
                    view->engineLoaded();
            });
        }
        return EngineState::Starting;
    }
    m_engineTried = true;
    auto* engine = webkit::engine();
    if (!engine)
        return EngineState::Missing;
    m_client = std::make_shared<EngineClient>(weak_from_this());
    webkit::ViewOptions options;
    options.userAgent = Application::shared().userInterfaceIdiom() == UserInterfaceIdiom::Pad
                            ? webkit::tabletUserAgent()
                            : webkit::phoneUserAgent();
    options.clientScript = webkit::clientWorldScript();
    const std::uint32_t tint = tintColor().argb();
    char caret[8];
    std::snprintf(caret, sizeof caret, "#%06x", unsigned(tint & 0xffffff));
    options.caretColor = caret;
    m_engine = engine->makeView(m_client, options);
    m_engine->setLive(true);
    watchTheUser();
    applyViewport();
    return EngineState::Ready;
}

void WebView::engineLoaded() {
    auto self = weak_from_this().lock();
    m_engineAwaited = false;
    if (auto load = std::exchange(m_loadWhenEngine, nullptr))
        load();
}

bool WebView::loadWhenEngineReady(std::function<void()> load, const std::string& url) {
    switch (ensureEngine()) {
        case EngineState::Ready:
            m_loadWhenEngine = nullptr;
            return true;
        case EngineState::Missing:
            m_loadWhenEngine = nullptr;
            failLoad(WebError{WebError::kUnknown, webkit::loadError(), url});
            return false;
        case EngineState::Starting:
            break;
    }
    // Under way already, as on the phone: the latest of the app's loads goes once the engine
    // has started, and a stop meanwhile stops it.
    m_loadWhenEngine = std::move(load);
    m_loading = true;
    m_lastError.reset();
    return false;
}

// --- Loading ----------------------------------------------------------------------------

void WebView::loadRequest(const URLRequest& request) {
    auto self = weak_from_this().lock();
    m_request = request;
    m_request.sourceURL.clear();
    m_request.sourceChain.clear();
    std::weak_ptr<View> weak = weak_from_this();
    if (!loadWhenEngineReady(
            [weak, request] {
                if (auto view = std::static_pointer_cast<WebView>(weak.lock()))
                    view->loadRequest(request);
            },
            request.url))
        return;
    if (usesBlockedPort(request.url)) {
        // WebKit refuses such a port without a word; the phone's web view fails the load.
        failLoad(WebError{WebError::kCannotConnectToHost,
                          "Not allowed to use restricted network port", request.url});
        return;
    }
    m_appLoads.push_back(m_request);
    // Under way from now on, as on the phone: a stop now stops it, and the load it replaces
    // is cancelled, not failed.
    m_loading = true;
    m_lastError.reset();
    webkit::LoadRequest load;
    load.url = request.url;
    load.ignoreCache = request.ignoreCache;
    load.headers = request.headers;
    m_engine->load(load);
    startTimeout(request.timeoutSeconds > 0 ? request.timeoutSeconds : kDefaultTimeoutSeconds);
}

void WebView::loadHTMLString(std::string html, std::string baseURL) {
    auto self = weak_from_this().lock();
    m_request = URLRequest{};
    m_request.url = baseURL.empty() ? kBlank : baseURL;
    std::weak_ptr<View> weak = weak_from_this();
    if (!loadWhenEngineReady(
            [weak, html, baseURL] {
                if (auto view = std::static_pointer_cast<WebView>(weak.lock()))
                    view->loadHTMLString(html, baseURL);
            },
            m_request.url))
        return;
    m_appLoads.push_back(m_request);
    m_loading = true;
    m_lastError.reset();
    m_engine->loadHTML(html, baseURL);
}

void WebView::stopLoading() {
    if (m_loadWhenEngine) {
        // Not begun: the engine is still starting.
        m_loadWhenEngine = nullptr;
        m_loading = false;
        return;
    }
    if (!m_engine || !m_loading)
        return;
    m_engine->stop();
    // What the stop cancels ends the load, whichever of the app's loads it is.
    m_allowedAppLoad.reset();
    if (m_appLoads.empty())
        return;
    // The app's loads not yet asked about never start: WebKit still asks about them, after
    // the stop, and they are refused then without a word to the delegate. Nothing is under
    // way but what the stop fails.
    for (const auto& load : m_appLoads) m_stoppedLoads.push_back(withoutFragment(load.url));
    m_appLoads.clear();
    m_allowedAppLoad.reset();
    m_loading = false;
    m_timeout.cancel();
}

void WebView::reload() {
    if (!m_engine)
        return;
    if (hasPage()) {
        settleAfter([&] { m_engine->reload(false); });
    } else if (!m_request.url.empty()) {
        // No page yet: the failed load is tried again, as the app's own.
        loadRequest(m_request);
    }
}

bool WebView::canGoBack() const {
    return !m_backItems.empty();
}

bool WebView::canGoForward() const {
    return !m_forwardItems.empty();
}

// History moves and reloads are asked of the delegate as the page's own loads are; the web
// view is busy until that ask has come.
void WebView::goBack() {
    if (m_engine && canGoBack())
        settleAfter([&] { m_engine->goBack(); });
}

void WebView::goForward() {
    if (m_engine && canGoForward())
        settleAfter([&] { m_engine->goForward(); });
}

void WebView::startTimeout(double seconds) {
    m_timeout.cancel();
    std::weak_ptr<View> weak = weak_from_this();
    m_timeout = RunLoop::main().postDelayed(
        std::chrono::duration_cast<Duration>(std::chrono::duration<double>(seconds)), [weak] {
            auto view = std::static_pointer_cast<WebView>(weak.lock());
            if (!view || !view->m_engine)
                return;
            // Nothing of the page came in time: stopped, and failed as the phone fails it.
            log("web view: %@ timed out", view->m_request.url);
            view->m_stoppedForTimeout = true;
            view->m_engine->stop();
            view->failLoad(
                WebError{WebError::kTimedOut, "The request timed out.", view->m_request.url});
        });
}

// --- What led to a navigation --------------------------------------------------------------

WebView::Provenance WebView::provenanceOf(const webkit::NavigationAsk& ask) {
    Provenance provenance;
    if (ask.redirect) {
        // A hop of a load under way: what led to the load, then the address that redirected,
        // which is the last one a navigation was let go to (the view's own address may still
        // be the page's while the page's navigation is under way).
        const std::string hop = !m_lastAllowedURL.empty() ? m_lastAllowedURL : ask.viewURL;
        if (auto found = m_allowed.find(hop); found != m_allowed.end()) {
            provenance.chain = found->second.chain;
        } else {
            provenance.chain = m_pageChain;
            appendOnce(provenance.chain, m_pageURL);
        }
        appendOnce(provenance.chain, hop);
        provenance.sourceURL = hop;
        return provenance;
    }
    if (ask.kind == webkit::NavigationKind::BackForward ||
        ask.kind == webkit::NavigationKind::Reload) {
        // The entry keeps all that first led to its page.
        if (ask.kind == webkit::NavigationKind::Reload) {
            provenance.chain = m_pageChain;
            return provenance;
        }
        // The item on that address: WebKit may have made it the current one already; else
        // the nearest, back first (as history.back() goes).
        if (m_currentItem && withoutFragment(m_currentItemURL) == withoutFragment(ask.url)) {
            if (auto kept = m_itemChains.find(*m_currentItem); kept != m_itemChains.end()) {
                provenance.chain = kept->second;
                return provenance;
            }
        }
        for (const auto* list : {&m_backItems, &m_forwardItems}) {
            for (const auto& [id, url] : *list) {
                if (withoutFragment(url) != withoutFragment(ask.url))
                    continue;
                if (auto kept = m_itemChains.find(id); kept != m_itemChains.end())
                    provenance.chain = kept->second;
                return provenance;
            }
        }
        provenance.chain = m_pageChain;
        return provenance;
    }
    if (!m_appLoads.empty() && ask.referrer.empty()) {
        // The app's own load: nothing led to it.
        m_appLoads.erase(m_appLoads.begin());
        provenance.byApp = true;
        return provenance;
    }
    if (m_newWindow && ask.referrer.empty()) {
        provenance = std::move(*m_newWindow);
        m_newWindow.reset();
        return provenance;
    }
    // The page asks: what led to the page shown, then the page. WebKit does not say which of
    // the page's frames asks; the document that asks is named by its Referer, which a web
    // address carries. One of another origin than the page (a foreign frame in it) joins the
    // chain, so that nothing trusts it for the page. A navigation that names no document (to
    // an address of another scheme, which carries no Referer) is the page's own only while
    // the page holds no frames.
    provenance.chain = m_pageChain;
    appendOnce(provenance.chain, m_pageURL);
    provenance.sourceURL = m_pageURL;
    if (ask.referrer.empty()) {
        if (m_outline.frames > 0) {
            appendOnce(provenance.chain, kUnnamedAsker);
            provenance.sourceURL = kUnnamedAsker;
        }
    } else if (originOf(ask.referrer) != originOf(m_pageURL)) {
        appendOnce(provenance.chain, ask.referrer);
        provenance.sourceURL = ask.referrer;
    }
    return provenance;
}

void WebView::navigationAsked(const webkit::NavigationAsk& ask) {
    auto self = weak_from_this().lock();
    if (!ask.redirect && ask.referrer.empty()) {
        auto stopped =
            std::find(m_stoppedLoads.begin(), m_stoppedLoads.end(), withoutFragment(ask.url));
        if (stopped != m_stoppedLoads.end()) {
            m_stoppedLoads.erase(stopped);
            m_engine->decide(ask.id, false);
            return;
        }
    }
    Provenance provenance = provenanceOf(ask);
    URLRequest request;
    request.url = ask.url;
    request.method = ask.method.empty() ? "GET" : ask.method;
    request.sourceURL = provenance.sourceURL;
    request.sourceChain = provenance.chain;
    const auto type = ask.redirect ? WebViewNavigationType::Other : typeOf(ask.kind);
    bool allowed = true;
    if (auto delegate = this->delegate())
        allowed = delegate->shouldStartLoadWithRequest(*this, request, type);
    if (!m_engine)
        return;  // the delegate let the web view go
    if (allowed) {
        if (ask.newWindow) {
            m_newWindow = provenance;
        } else {
            if (m_allowed.size() >= kMaxAllowedKept)
                m_allowed.erase(m_allowed.begin());
            m_allowed[withoutFragment(ask.url)] = provenance;
            m_lastAllowedURL = ask.url;
            m_navigationAllowedSinceStart = true;
        }
    } else {
        m_refusedURL = ask.url;
        // The app's own load refused: nothing is under way.
        if (provenance.byApp && m_appLoads.empty())
            m_loading = false;
    }
    // A stop the time-out made that WebKit never told of is behind a navigation let go since.
    if (allowed)
        m_stoppedForTimeout = false;
    m_engine->decide(ask.id, allowed);
    // The load it starts reaches the web view before the page's next turn; the app's own load
    // is the page's for sure, and under way from now on.
    if (allowed && provenance.byApp) {
        m_loading = true;
        m_allowedAppLoad = withoutFragment(ask.url);
    }
    settleAfter({});
}

// --- The load's course ----------------------------------------------------------------------

void WebView::loadChanged(webkit::LoadStage stage, const std::string& url, int status) {
    auto self = weak_from_this().lock();
    switch (stage) {
        case webkit::LoadStage::Started:
            ++m_loadsUnderWay;
            // WebKit may tell of the start of the load the time-out stopped after the stop:
            // that load has failed already (no navigation was let go since).
            if (m_stoppedForTimeout)
                break;
            m_navigationAllowedSinceStart = false;
            // What was asked before has been asked by now: a stopped load not asked about
            // yet never will be.
            m_stoppedLoads.clear();
            m_allowedAppLoad.reset();
            m_loading = true;
            m_lastError.reset();
            m_request.url = url;
            if (auto delegate = this->delegate())
                delegate->webViewDidStartLoad(*this);
            break;
        case webkit::LoadStage::Redirected:
            m_request.url = url;
            break;
        case webkit::LoadStage::Committed:
            committed(url);
            m_pageStatus = status;
            break;
        case webkit::LoadStage::Finished:
            m_loadsUnderWay = std::max(0, m_loadsUnderWay - 1);
            if (!m_loading)
                break;
            // The page's outline and title come in before the web view rests.
            settleAfter({});
            m_loading = false;
            m_timeout.cancel();
            if (auto delegate = this->delegate())
                delegate->webViewDidFinishLoad(*this);
            break;
    }
}

void WebView::committed(const std::string& url) {
    m_timeout.cancel();
    m_lastAllowedURL.clear();
    ++m_pageSerial;
    m_pageURL = url.empty() ? kBlank : url;
    m_pageStatus = 0;
    auto found = m_allowed.find(withoutFragment(m_pageURL));
    if (found != m_allowed.end()) {
        m_pageChain = found->second.chain;
        m_allowed.erase(found);
    } else {
        // A page nobody was asked about (WebKit's own): trusted by nothing.
        m_pageChain = {kUnnamedAsker};
    }
    keepChainWithItem();
    m_outline = PageOutline{};
    m_outline.url = m_pageURL;
    forgetFormViews();
    // A new page sets the scroller's content afresh.
    m_pageContentSize.reset();
    placeItemViews();
}

void WebView::uriChanged(const std::string& url) {
    // A move within the page (a fragment, pushState) keeps the page and its identity. It stays
    // at the page's origin; and WebKit names a load it was asked for before it starts, so a
    // stopped load's address is not the page's either.
    if (m_loading || !hasPage() || url.empty() || originOf(url) != originOf(m_pageURL))
        return;
    if (std::find(m_stoppedLoads.begin(), m_stoppedLoads.end(), withoutFragment(url)) !=
        m_stoppedLoads.end())
        return;
    m_pageURL = url;
}

void WebView::historyChanged(const webkit::HistoryState& state) {
    m_backItems.clear();
    m_forwardItems.clear();
    for (const auto& item : state.back) m_backItems.emplace_back(item.id, item.url);
    for (const auto& item : state.forward) m_forwardItems.emplace_back(item.id, item.url);
    m_currentItem.reset();
    if (state.current) {
        m_currentItem = state.current->id;
        m_currentItemURL = state.current->url;
        keepChainWithItem();
    }
    // Items gone from the list take their chains with them.
    std::erase_if(m_itemChains, [&state](const auto& entry) {
        auto listed = [&entry](const webkit::HistoryItem& item) { return item.id == entry.first; };
        return !(state.current && state.current->id == entry.first) &&
               std::none_of(state.back.begin(), state.back.end(), listed) &&
               std::none_of(state.forward.begin(), state.forward.end(), listed);
    });
}

// The history item of the page shown keeps what first led to the page. WebKit tells of the
// item and of the page's commit in either order: whichever comes second joins them.
void WebView::keepChainWithItem() {
    if (!m_currentItem || !hasPage() || m_itemChains.count(*m_currentItem))
        return;
    if (withoutFragment(m_currentItemURL) != withoutFragment(m_pageURL))
        return;
    m_itemChains[*m_currentItem] = m_pageChain;
}

void WebView::loadFailed(const webkit::LoadFailure& failure) {
    auto self = weak_from_this().lock();
    // The end of the load the time-out stopped, however WebKit names it, was told then.
    if (std::exchange(m_stoppedForTimeout, false)) {
        m_loadsUnderWay = std::max(0, m_loadsUnderWay - 1);
        return;
    }
    // The time-out of the app's newer load, which cancelled this one, runs on.
    if (!failure.cancelled || !newerAppLoadWaits(failure.url))
        m_timeout.cancel();
    WebError error = WebError::fromTransportError(failure.message, failure.url);
    if (failure.cancelled)
        error.code = WebError::kCancelled;
    else if (failure.blocked && !m_refusedURL.empty() &&
             withoutFragment(failure.url) == withoutFragment(m_refusedURL))
        // A hop the delegate refused ends the load as stopped, and leaves the page as it was.
        error.code = WebError::kCancelled;
    else if (failure.connectionLost)
        error.code = WebError::kNetworkConnectionLost;
    else if (failure.blocked)
        error.code = WebError::kFrameLoadInterrupted;
    if (error.code == WebError::kFrameLoadInterrupted)
        log("web view: %@ is not a page, a text or a picture: it is not shown", failure.url);
    // A load another one replaced (a link tapped again, say) is cancelled while the new one is
    // under way: the web view is loading still, as on the phone.
    m_loadsUnderWay = std::max(0, m_loadsUnderWay - 1);
    const bool replaced = failure.cancelled && (failure.stillLoading || m_loadsUnderWay > 0 ||
                                                m_navigationAllowedSinceStart);
    failLoad(std::move(error));
    if (replaced)
        m_loading = true;
}

void WebView::processEnded(webkit::ProcessEnd why) {
    if (why == webkit::ProcessEnd::Terminated)
        return;
    auto self = weak_from_this().lock();
    forgetFormViews();
    const char* what = why == webkit::ProcessEnd::MemoryLimit    ? "the page used too much memory"
                       : why == webkit::ProcessEnd::Unresponsive ? "the page stopped answering"
                                                                 : "the page crashed";
    // The page is gone: the screen shows its fail view and its reload.
    m_pageSerial = m_pageSerial + 1;
    m_outline = PageOutline{};
    placeItemViews();
    failLoad(WebError{WebError::kWebProcessEnded, what, m_pageURL});
}

void WebView::failLoad(WebError error) {
    auto self = weak_from_this().lock();
    // A load the app's newer one replaced (WebKit may cancel it before or after it asks about
    // the new one): that one is under way still, as on the phone.
    m_loading = error.code == WebError::kCancelled && newerAppLoadWaits(error.failingURL);
    if (!m_loading)
        m_allowedAppLoad.reset();
    m_lastError = error;
    std::weak_ptr<View> weak = weak_from_this();
    // Never inside the call that started the load.
    RunLoop::main().post([weak, error] {
        auto view = std::static_pointer_cast<WebView>(weak.lock());
        if (!view)
            return;
        if (auto delegate = view->delegate())
            delegate->didFailLoadWithError(*view, error);
    });
}

bool WebView::simulateNavigation(const std::string& url, WebViewNavigationType type) {
    if (!m_engine || !hasPage())
        return false;
    const std::string target = Json(url).dump(-1, ' ', false, Json::error_handler_t::replace);
    // From the client's world, so that the page's own scripts see nothing of it; the page's
    // document is what navigates, as when its own script does.
    std::string script;
    if (type == WebViewNavigationType::FormSubmitted) {
        script =
            "(function(){var f=document.createElement('form');f.method='post';f.action=" + target +
            ";f.style.display='none';document.documentElement.appendChild(f);"
            "HTMLFormElement.prototype.submit.call(f);f.remove();})()";
    } else {
        script = "location.href=" + target;
    }
    settleAfter([&] { m_engine->evaluate(script, webkit::World::Client); });
    return true;
}

std::string WebView::pageHTML() const {
    if (!m_engine || !hasPage())
        return {};
    return m_engine
        ->evaluateWithin("document.documentElement ? document.documentElement.outerHTML : ''",
                         webkit::World::Client, std::chrono::seconds(2))
        .value_or("");
}

// --- Scripts ----------------------------------------------------------------------------

std::string WebView::stringByEvaluatingJavaScriptFromString(const std::string& script) {
    m_scripts.push_back(script);
    if (ensureEngine() != EngineState::Ready)
        return {};
    std::string answer =
        m_engine->evaluateWithin(script, webkit::World::Page, kScriptAnswerBound).value_or("");
    // What the script changed reaches the outline and the paint before the web view rests.
    settleAfter({});
    return answer;
}

bool WebView::newerAppLoadWaits(const std::string& failingURL) const {
    return !m_appLoads.empty() ||
           (m_allowedAppLoad && *m_allowedAppLoad != withoutFragment(failingURL));
}

bool WebView::isBusy() const {
    return m_loading || m_workInFlight > 0 || !m_appLoads.empty();
}

}  // namespace platform
