#pragma once

namespace platform::components {

class WebViewProgress;

// Hears how far the web view's current page has got, from 0 (a new page asked for) to 1
// (finished or given up).
class WebViewProgressDelegate {
public:
    virtual ~WebViewProgressDelegate() = default;
    virtual void webViewProgress(WebViewProgress& progress, float value) = 0;
};

}  // namespace platform::components
