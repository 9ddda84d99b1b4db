#pragma once

// Waiting for what a web page does: a page's load, its scripts, a tap's effect and the
// navigations it asks for all reach the client later, on the main run loop. The tests wait
// for them by condition, with a bound, never by time.

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/RunLoop.h"
#include "platform/ui/WebView.h"
#include "platform/ui/WebViewDelegate.h"
#include "platform/web/URLRequest.h"

namespace pagesettle {

// Long enough for a web process to start and a page of the fake services to load.
constexpr std::chrono::seconds kBound{20};

// No web view has work whose effects have yet to come back, and nothing is due on the loop
// now. Transfers and background work are left out: a test may hold them on purpose.
inline bool quiet() {
    return !platform::WebView::anyBusy() && !platform::RunLoop::main().hasWorkDueNow();
}

// Runs the main loop until every web view has come to rest; false if it did not in time.
inline bool settleWeb(std::chrono::milliseconds bound = kBound) {
    return platform::RunLoop::main().runUntil(quiet, bound);
}

// Stands between a web view and its delegate: passes every call on unchanged and notes what
// the delegate answered for each navigation, so that a test can wait for the ask a page's
// navigation makes (it comes on a later turn) and read the decision.
class NavigationTap : public platform::WebViewDelegate {
public:
    struct Ask {
        platform::URLRequest request;
        platform::WebViewNavigationType type;
        bool allowed;
    };

    // Put in front of the web view's delegate; the caller keeps the tap alive.
    static std::shared_ptr<NavigationTap> install(platform::WebView& webView) {
        auto tap = std::make_shared<NavigationTap>();
        tap->m_next = webView.delegate();
        webView.setDelegate(tap);
        return tap;
    }

    const std::vector<Ask>& asks() const { return m_asks; }

    bool shouldStartLoadWithRequest(platform::WebView& webView, const platform::URLRequest& request,
                                    platform::WebViewNavigationType type) override {
        auto next = m_next.lock();
        const bool allowed = next ? next->shouldStartLoadWithRequest(webView, request, type) : true;
        m_asks.push_back({request, type, allowed});
        return allowed;
    }
    void webViewDidStartLoad(platform::WebView& webView) override {
        if (auto next = m_next.lock())
            next->webViewDidStartLoad(webView);
    }
    void webViewDidFinishLoad(platform::WebView& webView) override {
        if (auto next = m_next.lock())
            next->webViewDidFinishLoad(webView);
    }
    void didFailLoadWithError(platform::WebView& webView,
                              const platform::WebError& error) override {
        if (auto next = m_next.lock())
            next->didFailLoadWithError(webView, error);
    }

private:
    std::weak_ptr<platform::WebViewDelegate> m_next;
    std::vector<Ask> m_asks;
};

// The page shown in the web view navigates to the address itself (as its script does), and
// the delegate's answer comes back: nothing when the page did not ask in time.
inline std::optional<NavigationTap::Ask> navigateAndHearTheAnswer(platform::WebView& webView,
                                                                  NavigationTap& tap,
                                                                  const std::string& url) {
    const std::size_t before = tap.asks().size();
    if (!webView.simulateNavigation(url))
        return std::nullopt;
    if (!platform::RunLoop::main().runUntil([&] { return tap.asks().size() > before; }, kBound))
        return std::nullopt;
    return tap.asks()[before];
}

}  // namespace pagesettle
