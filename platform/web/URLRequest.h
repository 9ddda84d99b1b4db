#pragma once

#include <string>
#include <utility>
#include <vector>

namespace platform {

// What a web view is asked to load (the phone's NSURLRequest).
struct URLRequest {
    std::string url;
    double timeoutSeconds = 60;
    // The phone's NSURLRequestReloadIgnoringLocalCacheData.
    bool ignoreCache = false;
    std::string method = "GET";
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    // Filled in by the web view for its delegate: the address of what asks for this load. The
    // page shown for its links, forms and scripts ("about:blank" before any page); for each
    // redirect hop, the address whose reply redirected. Empty when the app itself asks
    // (loadRequest, reload, history moves). Whatever a caller sets here is replaced.
    std::string sourceURL;
    // Filled in likewise: everything that led to this load, first to last, each address once.
    // When a page asks: whatever led to that page (the pages before it back to the app's own
    // load, and their redirects), then the page itself; then every address whose reply
    // redirected on the way; sourceURL is the last of them. Empty when the app asked and
    // nothing has redirected yet. Back, forward and reload keep the whole chain of the page's
    // first load, its redirects included, whatever address they load.
    std::vector<std::string> sourceChain;
};

}  // namespace platform
