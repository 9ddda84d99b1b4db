#pragma once

#include "platform/web/URLRequest.h"
#include "platform/web/WebError.h"

namespace platform {

class WebView;

// Why a web view is about to load a request (the phone's UIWebViewNavigationType).
enum class WebViewNavigationType {
    LinkClicked,
    FormSubmitted,
    BackForward,
    Reload,
    FormResubmitted,
    Other,
};

// The phone's UIWebViewDelegate. All optional; by default every load is allowed.
class WebViewDelegate {
public:
    virtual ~WebViewDelegate() = default;

    // Asked before every load, including history moves, reloads and the page's own
    // navigations; false cancels it before anything is fetched.
    virtual bool shouldStartLoadWithRequest(WebView& /*webView*/, const URLRequest& /*request*/,
                                            WebViewNavigationType /*type*/) {
        return true;
    }
    virtual void webViewDidStartLoad(WebView& /*webView*/) {}
    virtual void webViewDidFinishLoad(WebView& /*webView*/) {}
    virtual void didFailLoadWithError(WebView& /*webView*/, const WebError& /*error*/) {}
};

}  // namespace platform
