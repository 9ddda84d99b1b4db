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
};

}  // namespace platform
