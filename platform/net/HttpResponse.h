#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

struct HttpResponse {
    int status = 0;  // 0 when no response came back
    std::vector<std::pair<std::string, std::string>>
        headers;  // names lower-cased, in arrival order
    std::string body;
    std::string error;  // transport error text (curl's), empty when a response came back
    std::string url;    // effective URL (after redirects)
    // Where a redirect reply points (its Location resolved against `url`), when the request
    // did not follow redirects; "" for any other reply.
    std::string redirectURL;

    // The first header of that name, compared case-insensitively.
    std::optional<std::string> header(std::string_view name) const;
    // Content-Type without parameters, lower case ("text/html"); "" when there is none.
    std::string mimeType() const;
    // No transport error and 200 <= status < 300.
    bool ok() const;
};

}  // namespace platform
