#include "platform/net/URLServer.h"

#include <curl/curl.h>

#include <charconv>
#include <memory>

#include "platform/foundation/AsciiText.h"

namespace platform {

namespace {

struct CurlURLDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

// One part of the parsed address; nothing when it is absent.
std::optional<std::string> part(CURLU* url, CURLUPart which) {
    char* text = nullptr;
    if (curl_url_get(url, which, &text, 0) != CURLUE_OK || !text)
        return std::nullopt;
    std::string value(text);
    curl_free(text);
    return value;
}

}  // namespace

std::optional<URLServer> urlServer(std::string_view text) {
    std::unique_ptr<CURLU, CurlURLDeleter> url(curl_url());
    if (!url)
        return std::nullopt;
    // Only absolute addresses: a scheme guessed by curl would make "evil.example" a web address.
    if (curl_url_set(url.get(), CURLUPART_URL, std::string(text).c_str(), 0) != CURLUE_OK)
        return std::nullopt;
    const auto scheme = part(url.get(), CURLUPART_SCHEME);
    if (!scheme)
        return std::nullopt;
    const std::string lowerScheme = lowercasedAscii(*scheme);
    int defaultPort = 0;
    if (lowerScheme == "http")
        defaultPort = 80;
    else if (lowerScheme == "https")
        defaultPort = 443;
    else
        return std::nullopt;

    auto host = part(url.get(), CURLUPART_HOST);
    if (!host || host->empty())
        return std::nullopt;
    URLServer server;
    server.host = lowercasedAscii(*host);
    if (server.host.size() > 1 && server.host.back() == '.')
        server.host.pop_back();
    if (const auto port = part(url.get(), CURLUPART_PORT)) {
        int number = 0;
        const auto [end, error] =
            std::from_chars(port->data(), port->data() + port->size(), number);
        if (error != std::errc() || end != port->data() + port->size())
            return std::nullopt;
        server.port = number == defaultPort ? 0 : number;
    }
    return server;
}

}  // namespace platform
