#include "fakes/RecordedRequest.h"

#include <httplib.h>

#include <algorithm>
#include <cctype>

#include "platform/foundation/AsciiText.h"

namespace fakes {

std::optional<std::string> RecordedRequest::queryValue(std::string_view key) const {
    for (const auto& [name, value] : query) {
        if (name == key)
            return value;
    }
    return std::nullopt;
}

std::optional<std::string> RecordedRequest::header(std::string_view name) const {
    for (const auto& [key, value] : headers) {
        if (platform::equalsIgnoringCase(key, name))
            return value;
    }
    return std::nullopt;
}

std::vector<std::pair<std::string, std::string>> decodeQuery(std::string_view target) {
    std::vector<std::pair<std::string, std::string>> pairs;
    const auto mark = target.find('?');
    if (mark == std::string_view::npos)
        return pairs;
    std::string_view rest = target.substr(mark + 1);
    if (const auto hash = rest.find('#'); hash != std::string_view::npos)
        rest = rest.substr(0, hash);
    while (!rest.empty()) {
        const auto amp = rest.find('&');
        const std::string_view item = rest.substr(0, amp);
        rest = amp == std::string_view::npos ? std::string_view{} : rest.substr(amp + 1);
        if (item.empty())
            continue;
        const auto eq = item.find('=');
        const std::string key(item.substr(0, eq));
        const std::string value(eq == std::string_view::npos ? std::string_view{}
                                                             : item.substr(eq + 1));
        pairs.emplace_back(httplib::detail::decode_url(key, true),
                           httplib::detail::decode_url(value, true));
    }
    return pairs;
}

}  // namespace fakes
