#pragma once

#include <string>

namespace platform {

// Why a web view's load failed, with the phone's NSURLErrorDomain codes.
struct WebError {
    static constexpr int kUnknown = -1;
    static constexpr int kCancelled = -999;
    static constexpr int kBadURL = -1000;
    static constexpr int kTimedOut = -1001;
    static constexpr int kUnsupportedURL = -1002;
    static constexpr int kCannotFindHost = -1003;
    static constexpr int kCannotConnectToHost = -1004;
    static constexpr int kNetworkConnectionLost = -1005;
    static constexpr int kHTTPTooManyRedirects = -1007;
    // The phone's web view's own code for a reply it does not show (neither a page, text nor a
    // picture).
    static constexpr int kFrameLoadInterrupted = 102;
    // The page's web process ended under it (it stopped answering, kept a CPU busy, passed its
    // memory or crashed): the page is gone.
    static constexpr int kWebProcessEnded = 300;

    int code = kUnknown;
    std::string description;
    // The address that failed (the phone's "NSErrorFailingURLStringKey").
    std::string failingURL;

    // From the HTTP client's transport error text.
    static WebError fromTransportError(const std::string& text, const std::string& url);
};

}  // namespace platform
