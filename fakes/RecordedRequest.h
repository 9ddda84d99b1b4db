#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fakes {

// One part of a multipart/form-data body, as the client sent it.
struct ReceivedPart {
    std::string name;
    std::string filename;
    std::string contentType;
    std::string data;
};

// One request as the fake services received it, kept so tests can check what the client sent.
struct RecordedRequest {
    std::string method;
    std::string path;    // percent-decoded, without the query
    std::string target;  // raw path and query, exactly as received
    std::vector<std::pair<std::string, std::string>> query;  // decoded, in order
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;  // raw bytes, also for multipart bodies
    std::vector<ReceivedPart> parts;

    // The first value of the query key, decoded; nothing when the key is absent.
    std::optional<std::string> queryValue(std::string_view key) const;
    std::optional<std::string> header(std::string_view name) const;  // case-insensitive
};

// Splits the query of a raw request target into decoded key/value pairs, in order. A key
// without "=" has an empty value; "+" stands for a space as in any form-encoded query.
std::vector<std::pair<std::string, std::string>> decodeQuery(std::string_view target);

}  // namespace fakes
