#include "platform/net/HttpResponse.h"

#include <algorithm>

#include "platform/foundation/AsciiText.h"

namespace platform {

namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

std::optional<std::string> HttpResponse::header(std::string_view name) const {
    for (const auto& [key, value] : headers) {
        if (equalsIgnoringCase(key, name))
            return value;
    }
    return std::nullopt;
}

std::string HttpResponse::mimeType() const {
    auto contentType = header("content-type");
    if (!contentType)
        return {};
    std::string_view type(*contentType);
    type = trimmed(type.substr(0, type.find(';')));
    std::string result(type);
    std::transform(result.begin(), result.end(), result.begin(), lowerAscii);
    return result;
}

bool HttpResponse::ok() const {
    return error.empty() && status >= 200 && status < 300;
}

}  // namespace platform
