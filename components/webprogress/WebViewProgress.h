#pragma once

#include <memory>

#include "platform/ui/WebViewDelegate.h"

namespace platform::components {

class WebViewProgressDelegate;

// Estimates the load progress of a web view from its delegate calls. It stands in as the web
// view's delegate and passes every call on, unchanged and first, to the proxy delegate, so
// whoever sets it up still hears (and decides) everything. Progress starts again at 0 when a
// page navigation is allowed, is 0.1 once the load has started and 1 when it finished or
// failed; it only grows in between. A load cancelled because another replaced it does not
// complete the line: the replacement carries on from where it is.
//
// Delegates are not owned.
class WebViewProgress : public WebViewDelegate {
public:
    static constexpr float kInitialProgressValue = 0.1f;
    static constexpr float kFinalProgressValue = 1.0f;

    std::shared_ptr<WebViewDelegate> webViewProxyDelegate() const {
        return m_webViewProxyDelegate.lock();
    }
    void setWebViewProxyDelegate(std::weak_ptr<WebViewDelegate> delegate) {
        m_webViewProxyDelegate = std::move(delegate);
    }
    std::shared_ptr<WebViewProgressDelegate> progressDelegate() const {
        return m_progressDelegate.lock();
    }
    void setProgressDelegate(std::weak_ptr<WebViewProgressDelegate> delegate) {
        m_progressDelegate = std::move(delegate);
    }

    float progress() const { return m_progress; }
    // Back to 0, told to the progress delegate.
    void reset();

    // platform::WebViewDelegate
    bool shouldStartLoadWithRequest(WebView& webView, const URLRequest& request,
                                    WebViewNavigationType type) override;
    void webViewDidStartLoad(WebView& webView) override;
    void webViewDidFinishLoad(WebView& webView) override;
    void didFailLoadWithError(WebView& webView, const WebError& error) override;

private:
    // Grows only, except back to 0; each change is told to the progress delegate.
    void setProgress(float progress);

    std::weak_ptr<WebViewDelegate> m_webViewProxyDelegate;
    std::weak_ptr<WebViewProgressDelegate> m_progressDelegate;
    float m_progress{0};
};

}  // namespace platform::components
