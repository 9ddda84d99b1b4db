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

// Both are web addresses of one host and port. The scheme does not count, so a service that
// moves to TLS stays itself: "http://a.example" and "https://a.example/x" are one server,
// "http://a.example:8082" is another, and so is "http://127.0.0.1:9" next to ":10".
bool sameServer(std::string_view a, std::string_view b);

}  // namespace platform
