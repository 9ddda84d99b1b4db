#pragma once

#include <chrono>
#include <string>

namespace fakes {

// One answer of the fake services: what goes back on the wire, and how long the server
// holds it before sending (to stand for a slow network or service).
struct Reply {
    int status = 200;
    std::string contentType = "application/json;charset=UTF-8";
    std::string body;
    std::chrono::milliseconds delay{0};
    // The server sends the status line and headers, then closes the connection before the
    // body: the client sees a transfer that failed, as from a site that went down.
    bool dropConnection = false;
    // Sent as the Location header when not empty: with a 3xx status, a redirect.
    std::string location;
    // Sent as the Content-Encoding header when not empty; the body is then already encoded
    // (gzip, say) and goes out exactly as given.
    std::string contentEncoding;
};

}  // namespace fakes
