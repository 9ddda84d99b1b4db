#include "components/webprogress/WebViewProgress.h"

#include <string_view>

#include "components/webprogress/WebViewProgressDelegate.h"
#include "platform/ui/WebView.h"

namespace platform::components {

namespace {

// Only page loads move the line; a command address a page navigates to (which the proxy
// delegate may refuse anyway) or an about: page does not restart it.
bool isPageAddress(std::string_view url) {
    for (std::string_view scheme : {"http:", "https:", "file:"}) {
        if (url.size() >= scheme.size()) {
            bool same = true;
            for (size_t i = 0; i < scheme.size() && same; ++i) {
                char c = url[i];
                if (c >= 'A' && c <= 'Z')
                    c = char(c - 'A' + 'a');
                same = c == scheme[i];
            }
            if (same)
                return true;
        }
    }
    return false;
}

}  // namespace

void WebViewProgress::reset() {
    setProgress(0);
}

bool WebViewProgress::shouldStartLoadWithRequest(WebView& webView, const URLRequest& request,
                                                 WebViewNavigationType type) {
    bool start = true;
    if (auto proxy = webViewProxyDelegate())
        start = proxy->shouldStartLoadWithRequest(webView, request, type);
    if (start && isPageAddress(request.url))
        reset();
    return start;
}

void WebViewProgress::webViewDidStartLoad(WebView& webView) {
    if (auto proxy = webViewProxyDelegate())
        proxy->webViewDidStartLoad(webView);
    if (m_progress < kInitialProgressValue)
        setProgress(kInitialProgressValue);
}

void WebViewProgress::webViewDidFinishLoad(WebView& webView) {
    if (auto proxy = webViewProxyDelegate())
        proxy->webViewDidFinishLoad(webView);
    setProgress(kFinalProgressValue);
}

void WebViewProgress::didFailLoadWithError(WebView& webView, const WebError& error) {
    if (auto proxy = webViewProxyDelegate())
        proxy->didFailLoadWithError(webView, error);
    // Replaced by another load that is under way: that one ends the line.
    if (error.code == WebError::kCancelled && webView.isLoading())
        return;
    setProgress(kFinalProgressValue);
}

void WebViewProgress::setProgress(float progress) {
    if (!(progress > m_progress || progress == 0))
        return;
    m_progress = progress;
    if (auto delegate = progressDelegate())
        delegate->webViewProgress(*this, progress);
}

}  // namespace platform::components
