#include "platform/web/WebError.h"

#include <algorithm>
#include <cctype>

namespace platform {

namespace {

bool containsNoCase(const std::string& text, const std::string& part) {
    auto it = std::search(text.begin(), text.end(), part.begin(), part.end(),
                          [](char a, char b) { return std::tolower((unsigned char)a) == b; });
    return it != text.end();
}

}  // namespace

WebError WebError::fromTransportError(const std::string& text, const std::string& url) {
    WebError error;
    error.description = text.empty() ? "load failed" : text;
    error.failingURL = url;
    // Patterns (lower case) of the client's error texts, narrowest first.
    struct Pattern {
        const char* text;
        int code;
    };
    static const Pattern patterns[] = {
        {"cancelled", kCancelled},
        {"timed out", kTimedOut},
        {"timeout", kTimedOut},
        {"unsupported protocol", kUnsupportedURL},
        {"not supported or disabled", kUnsupportedURL},
        {"resolve", kCannotFindHost},
        {"couldn't connect", kCannotConnectToHost},
        {"connection refused", kCannotConnectToHost},
        {"failed to connect", kCannotConnectToHost},
        {"bad/illegal", kBadURL},
        {"malformed", kBadURL},
        {"no url set", kBadURL},
        {"empty reply", kNetworkConnectionLost},
        {"recv failure", kNetworkConnectionLost},
        {"connection reset", kNetworkConnectionLost},
    };
    for (const auto& pattern : patterns) {
        if (containsNoCase(text, pattern.text)) {
            error.code = pattern.code;
            break;
        }
    }
    return error;
}

}  // namespace platform
