#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

// The largest decoded reply body a request accepts, counted as the bytes arrive (after
// decompression), so that a broken or hostile server cannot exhaust memory: a compressed reply
// may inflate a thousandfold. Documents and pages are generous; images have their own bound.
inline constexpr std::int64_t kMaxDocumentBodyBytes = std::int64_t{64} << 20;
inline constexpr std::int64_t kMaxImageBodyBytes = std::int64_t{16} << 20;

// One part of a multipart/form-data body.
struct HttpPart {
    std::string name;         // form field name
    std::string filename;     // empty: a plain field without filename
    std::string contentType;  // empty: none sent for a plain field (a file part then gets
                              // application/octet-stream)
    std::string data;         // raw bytes
};

struct HttpRequest {
    std::string method = "GET";  // "GET", "POST", ...
    std::string url;             // used exactly as given (already escaped)
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;  // sent as is (set a Content-Type header yourself); not sent on GET
    std::vector<HttpPart> parts;  // non-empty: multipart/form-data POST, parts in this order
    double timeoutSeconds = 60;   // whole request; 0 or less: no limit
    bool ignoreCache = false;     // sends Cache-Control: no-cache / Pragma: no-cache
    // false: a redirect reply comes back as it is (its status, headers and body, with the
    // address it points to in HttpResponse::redirectURL), so that the caller decides on each
    // hop itself, as a web view asks its delegate. true: up to a few web-only hops are followed
    // inside the request.
    bool followRedirects = true;
    // A reply whose decoded body grows past this many bytes fails with an error and no body.
    std::int64_t maxBodyBytes = kMaxDocumentBodyBytes;
    // Bytes of the body sent so far and the body's size; runs on the main loop, the last call
    // has sent == total.
    std::function<void(std::int64_t sent, std::int64_t total)> uploadProgress;
};

}  // namespace platform
