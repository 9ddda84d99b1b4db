#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The server a web address names: what decides whether two addresses belong to one service.
struct URLServer {
    std::string host;  // lower case, without a trailing dot; an IPv6 address in brackets
    int port = 0;      // 0 when the address gives none or its scheme's default (80, 443)

    bool operator==(const URLServer&) const = default;
};

// The server of an http or https address; nothing for any other address (about:, file:, a
// page's own command scheme) or one that does not parse. Text before an "@" is user
// information, never the host.
std::optional<URLServer> urlServer(std::string_view url);

}  // namespace platform
