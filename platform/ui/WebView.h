#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/URLRequest.h"
#include "platform/ui/View.h"
#include "platform/ui/WebError.h"
#include "platform/ui/WebViewDelegate.h"

namespace platform {

class ScrollView;

// The phone's UIWebView, headless: it fetches what it is asked to load over the process's
// HTTP client, keeps the page (address, status, HTML, title) and a history, and tells its
// delegate (not owned) as the phone does:
//   - shouldStartLoadWithRequest before every load, including history moves, reloads and the
//     page's own navigations (simulateNavigation); a refused load fetches nothing;
//   - webViewDidStartLoad, then webViewDidFinishLoad or didFailLoadWithError, on later turns
//     of the main run loop (never inside the call that started the load).
// A reply with an HTTP error status still finishes, as on the phone; the status is kept. A
// transport failure (dead server, time-out, bad address) fails with the NSURLErrorDomain
// code. A load that is stopped or replaced by another fails with -999 (cancelled). Nothing
// arrives after the web view is gone. Scripts are not run: each is recorded, and the few
// queries a page can answer from what is kept (document.title, the document's HTML, the
// address) are answered.
//
// As on the phone, the page scrolls in scrollView(), a scroll view filling the web view;
// each finished load sizes its content to the web view (the page's own height is unknown
// without a renderer). Views added to the web view itself stay put.
class WebView : public View {
public:
    WebView();
    explicit WebView(const Rect& frame);
    ~WebView() override;

    const std::shared_ptr<ScrollView>& scrollView() const { return m_scrollView; }

    std::shared_ptr<WebViewDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(std::weak_ptr<WebViewDelegate> delegate) { m_delegate = std::move(delegate); }

    // --- Loading ------------------------------------------------------------------------
    void loadRequest(const URLRequest& request);
    // Shows the HTML without fetching; the request the delegate sees is the base address, or
    // "about:blank" without one.
    void loadHTMLString(std::string html, std::string baseURL);
    // The request being loaded, or else the one last loaded.
    const URLRequest& request() const { return m_request; }
    bool isLoading() const { return m_loading; }
    void stopLoading();
    void reload();
    bool canGoBack() const;
    bool canGoForward() const;
    void goBack();
    void goForward();

    // The page stands for the page itself navigating (a link tapped, a form sent, a script
    // setting window.location): the delegate is asked and, if it agrees, the address loads.
    // Returns whether the delegate agreed.
    bool simulateNavigation(const std::string& url,
                            WebViewNavigationType type = WebViewNavigationType::LinkClicked);

    // --- The page shown -----------------------------------------------------------------
    // The address of the shown page (after redirects); "about:blank" for HTML without a base.
    const std::string& pageURL() const { return m_page.url; }
    // The HTTP status of the shown page; 0 for HTML given as a string.
    int pageStatus() const { return m_page.status; }
    const std::string& pageHTML() const { return m_page.html; }
    // The text of the page's <title>, trimmed; "" without one.
    const std::string& pageTitle() const { return m_page.title; }
    const std::string& baseURL() const { return m_page.baseURL; }
    bool hasPage() const { return m_index >= 0; }
    // Why the last load failed; cleared when a load starts.
    const std::optional<WebError>& lastError() const { return m_lastError; }

    bool scalesPageToFit() const { return m_scalesPageToFit; }
    void setScalesPageToFit(bool scales) { m_scalesPageToFit = scales; }

    // --- Scripts ------------------------------------------------------------------------
    std::string stringByEvaluatingJavaScriptFromString(const std::string& script);
    // Every script evaluated, in order.
    const std::vector<std::string>& evaluatedScripts() const { return m_scripts; }

    std::string describe() const override;

private:
    struct Entry {
        URLRequest request;
        bool fromString{false};
        std::string html;
        std::string baseURL;
    };
    struct Page {
        std::string url;
        int status{0};
        std::string html;
        std::string title;
        std::string baseURL;
    };
    enum class HistoryMove { Push, Replace, GoTo };
    struct Pending {
        Entry entry;
        HistoryMove move{HistoryMove::Push};
        int target{-1};
    };

    bool startLoad(Entry entry, WebViewNavigationType type, HistoryMove move, int target);
    void cancelLoad();
    void fetched(std::uint64_t generation, int status, std::string url, std::string html,
                 const std::string& error);
    void finishLoad(Page page);
    void failLoad(WebError error);
    static WebView* from(const std::shared_ptr<View>& view);
    void makeScrollView();

    std::shared_ptr<ScrollView> m_scrollView;
    std::weak_ptr<WebViewDelegate> m_delegate;
    URLRequest m_request;
    bool m_loading{false};
    std::uint64_t m_generation{0};
    std::uint64_t m_httpRequest{0};
    std::optional<Pending> m_pending;
    std::vector<Entry> m_history;
    int m_index{-1};
    Page m_page;
    std::optional<WebError> m_lastError;
    bool m_scalesPageToFit{false};
    std::vector<std::string> m_scripts;
};

}  // namespace platform
