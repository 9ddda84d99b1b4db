#pragma once

#include <httplib.h>

#include <string>

#include "platform/foundation/Json.h"

namespace fakestest {

// A plain HTTP client on the fake services' port; these tests do not go through the client's
// own network layer.
inline httplib::Client clientFor(int port) {
    httplib::Client client("127.0.0.1", port);
    client.set_connection_timeout(5);
    client.set_read_timeout(10);
    return client;
}

// The decoded JSON body of a reply, or a discarded value when the body is not JSON.
inline platform::Json jsonOf(const httplib::Result& result) {
    if (!result)
        return platform::Json(platform::Json::value_t::discarded);
    return platform::Json::parse(result->body, nullptr, false);
}

inline platform::Json getJson(httplib::Client& client, const std::string& target) {
    return jsonOf(client.Get(target));
}

inline platform::Json postJson(httplib::Client& client, const std::string& target) {
    return jsonOf(client.Post(target));
}

}  // namespace fakestest
