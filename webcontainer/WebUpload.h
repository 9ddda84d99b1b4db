#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace platform {
struct HttpRequest;
}

// The web upload: the app service's file upload as the container sends it, one file per
// request, a multipart/form-data body built by hand in the service's layout (one part named
// "file", the file name written unquoted, no blank after the semicolons).
enum class WebUploadKind { Image, Voice };

// The boundary of a new upload: ten hyphens, the date and time, and a random tail. It holds no
// blanks, so that it may stand unquoted in the Content-Type header as the service reads it,
// and the random tail keeps it out of any photo's bytes.
std::string webUploadBoundary();
// Makes every later boundary this text (empty: random ones again), so a test can compare a
// body byte for byte. Thread-safe.
void setWebUploadBoundaryForTesting(std::string boundary);

// The body, built in one allocation.
std::string webUploadBody(WebUploadKind kind, std::string_view boundary, std::string_view bytes);

// The request for the address, with the body taken over.
platform::HttpRequest webUploadRequest(const std::string& url, const std::string& boundary,
                                       std::string body);

struct WebUploadOutcome {
    std::string error;  // transport error or an HTTP status outside 200-299; empty on success
    std::string responseText;
};

// Sends one upload synchronously on the calling thread (not the main one, where it would
// block the screen). The progress runs on the main loop with the bytes sent and the total.
WebUploadOutcome sendWebUpload(const std::string& url, WebUploadKind kind, std::string_view bytes,
                               std::function<void(std::int64_t sent, std::int64_t total)> progress);
